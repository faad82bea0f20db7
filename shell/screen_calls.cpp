#include "shell/screen_calls.h"

#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "outside/variant.h"

#include <array>

namespace qv {

namespace {

namespace protocol = facade_protocol;

std::shared_ptr<DispatchObject> ScreensComponent() {
    return CreateObject(protocol::prog_id::kScreens);
}

StockScreen ScreenOfRow(const Recordset& p_oRows) {
    StockScreen screen;
    screen.m_lScreenId = p_oRows.Value("Screen_ID").ToLong();
    screen.m_lOwnerId = p_oRows.Value("Owner_ID").ToLong();
    screen.m_sName = p_oRows.Value("Name").ToString();
    screen.m_lResultType = p_oRows.Value("ResultType").ToLong();
    screen.m_sCriteria = p_oRows.Value("Criteria").ToString();
    const Variant description = p_oRows.Value("Description");
    screen.m_sDescription = description.IsNull() ? std::string() : description.ToString();
    return screen;
}

}  // namespace

std::vector<StockScreen> ReadScreens(int32_t p_lOwnerId) {
    namespace call = protocol::get_screens;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId)};
    const std::shared_ptr<Recordset> rows =
        RecordsetOf(CallMethod(*ScreensComponent(), call::kMethod, args));
    std::vector<StockScreen> screens;
    if (!rows || rows->RecordCount() == 0) {
        return screens;
    }
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        screens.push_back(ScreenOfRow(*rows));
    }
    return screens;
}

const StockScreen* FindScreen(const std::vector<StockScreen>& p_aScreens,
                              const std::string& p_sName) {
    const StockScreen* found = nullptr;
    for (const StockScreen& screen : p_aScreens) {
        if (EqualsIgnoreCase(screen.m_sName, p_sName) &&
            (found == nullptr || !screen.IsShipped())) {
            found = &screen;
        }
    }
    return found;
}

std::string ScreenNames(const std::vector<StockScreen>& p_aScreens) {
    std::string names;
    for (const StockScreen& screen : p_aScreens) {
        names += (names.empty() ? "" : ", ") + screen.m_sName;
    }
    return names;
}

void SaveScreen(int32_t p_lOwnerId, StockScreen& p_oScreen) {
    namespace call = protocol::save_screen;
    std::array<Variant, call::kCount> args{
        Variant(p_lOwnerId), Variant(p_oScreen.m_lScreenId), Variant(p_oScreen.m_sName),
        Variant(p_oScreen.m_lResultType), Variant(p_oScreen.m_sCriteria)};
    CallMethod(*ScreensComponent(), call::kMethod, args);
    p_oScreen.m_lScreenId = args[call::kScreenId.Position].ToLong();
    p_oScreen.m_lOwnerId = p_lOwnerId;
}

void DeleteScreen(int32_t p_lOwnerId, int32_t p_lScreenId) {
    namespace call = protocol::delete_screen;
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_lScreenId)};
    CallMethod(*ScreensComponent(), call::kMethod, args);
}

ScreenCheck CheckScreen(int32_t p_lOwnerId, int32_t p_lResultType, const std::string& p_sCriteria,
                        int32_t p_lDate) {
    namespace call = protocol::check_screen;
    std::array<Variant, call::kCount> args{
        Variant(p_lOwnerId), Variant(p_lResultType), Variant(p_sCriteria),
        Variant::Date(static_cast<double>(p_lDate)), Variant(std::string())};
    ScreenCheck check;
    check.m_lCount = CallMethod(*ScreensComponent(), call::kMethod, args).ToLong();
    check.m_sDescription = args[call::kDescription.Position].ToString();
    return check;
}

std::string ScreenRowsText(int32_t p_lResultType) {
    switch (p_lResultType) {
        case srIndustries:
            return "industry groups";
        case srSectors:
            return "sectors";
        default:
            return "stocks";
    }
}

}  // namespace qv
