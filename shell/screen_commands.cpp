#include "shell/screen_commands.h"

#include "outside/vb_date.h"
#include "shell/market_session.h"
#include "shell/screen_calls.h"
#include "shell/shell_options.h"
#include "shell/viewer_host.h"

#include <ostream>

namespace qv {

namespace {

// The owner's own screen of that name; a shipped one is no answer, as no owner changes it.
const StockScreen* OwnScreen(const std::vector<StockScreen>& p_aScreens,
                             const std::string& p_sName) {
    const StockScreen* screen = FindScreen(p_aScreens, p_sName);
    return screen != nullptr && !screen->IsShipped() ? screen : nullptr;
}

void ListScreens(const MarketSession& p_oSession, std::ostream& p_out) {
    for (const StockScreen& screen : ReadScreens(p_oSession.OwnerId())) {
        p_out << screen.m_sName << (screen.IsShipped() ? " (shipped)" : "") << ": "
              << ScreenRowsText(screen.m_lResultType) << " where " << screen.m_sCriteria << "\n";
    }
}

void SaveNamedScreen(const ViewerRequest& p_oRequest, const MarketSession& p_oSession,
                     std::ostream& p_out) {
    const std::vector<StockScreen> screens = ReadScreens(p_oSession.OwnerId());
    StockScreen screen;
    if (const StockScreen* own = OwnScreen(screens, p_oRequest.m_sScreenName)) {
        screen = *own;
    }
    screen.m_sName = p_oRequest.m_sScreenName;
    screen.m_sCriteria = p_oRequest.m_sScreenCriteria;
    screen.m_lResultType = p_oRequest.m_lScreenRows;
    SaveScreen(p_oSession.OwnerId(), screen);
    const int32_t day = p_oRequest.m_lDate == 0 ? p_oSession.LastDay() : p_oRequest.m_lDate;
    const ScreenCheck check =
        CheckScreen(p_oSession.OwnerId(), screen.m_lResultType, screen.m_sCriteria, day);
    p_out << "Saved the screen " << screen.m_sName << ": " << check.m_sDescription << " ("
          << check.m_lCount << " " << ScreenRowsText(screen.m_lResultType) << " on "
          << DefaultDateText(day) << ")\n";
}

void DeleteNamedScreen(const std::string& p_sName, const MarketSession& p_oSession,
                       std::ostream& p_out) {
    const std::vector<StockScreen> screens = ReadScreens(p_oSession.OwnerId());
    const StockScreen* screen = OwnScreen(screens, p_sName);
    if (screen == nullptr) {
        throw RequestError("the owner has no screen named '" + p_sName +
                           "' to delete (a shipped screen is never deleted)");
    }
    DeleteScreen(p_oSession.OwnerId(), screen->m_lScreenId);
    p_out << "Deleted the screen " << screen->m_sName << "\n";
}

}  // namespace

void RunScreenCommand(const ShellOptions& p_oOptions, const MarketSession& p_oSession,
                      std::ostream& p_out) {
    switch (p_oOptions.m_eMode) {
        case ShellMode::ListScreens:
            ListScreens(p_oSession, p_out);
            return;
        case ShellMode::SaveScreen:
            SaveNamedScreen(p_oOptions.m_oRequest, p_oSession, p_out);
            return;
        case ShellMode::DeleteScreen:
            DeleteNamedScreen(p_oOptions.m_oRequest.m_sScreenName, p_oSession, p_out);
            return;
        default:
            return;
    }
}

}  // namespace qv
