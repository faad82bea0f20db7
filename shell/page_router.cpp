#include "shell/page_router.h"

#include "columns/viewer_type.h"
#include "outside/platform_context.h"
#include "outside/shared_services.h"
#include "shell/page_area.h"
#include "shell/page_views.h"

#include <QString>

namespace qv {

namespace {

constexpr std::string_view kServerSection = "Settings";
constexpr std::string_view kWebServerKey = "WebServer";

PageTemplates TemplatesInForce() {
    const SharedServices services;
    return PageTemplates{services.GetValue("NewsURL"), services.GetValue("DividendUrl")};
}

int32_t FirstCode(const PageRequest& p_oPage) {
    return std::stoi(p_oPage.m_codes.front());
}

}  // namespace

std::optional<ViewerRequest> ListOfPage(const PageRequest& p_oPage, const ViewerRequest& p_oShown) {
    ViewerRequest list = p_oShown;
    list.m_lIndCode = 0;
    list.m_lSectorCode = 0;
    list.m_lWatchListId = 0;
    list.m_lPortfolioId = 0;
    list.m_sSymbol.clear();
    if (p_oPage.m_lDate != 0) {
        list.m_lDate = p_oPage.m_lDate;
    }
    switch (p_oPage.m_eKind) {
        case PageKind::StocksInIndustry:
            list.m_lViewerType = vt_Stocks;
            list.m_lIndCode = FirstCode(p_oPage);
            return list;
        case PageKind::StocksInSector:
            list.m_lViewerType = vt_Stocks;
            list.m_lSectorCode = FirstCode(p_oPage);
            return list;
        case PageKind::IndustriesInSector:
            list.m_lViewerType = vt_Industries;
            list.m_lSectorCode = FirstCode(p_oPage);
            return list;
        case PageKind::StockHistory:
            list.m_lViewerType = vt_StockHistory;
            list.m_sSymbol = p_oPage.m_codes.front();
            return list;
        case PageKind::IndustryHistory:
            list.m_lViewerType = vt_IndustryHistory;
            list.m_lIndCode = FirstCode(p_oPage);
            return list;
        case PageKind::SectorHistory:
            list.m_lViewerType = vt_SectorHistory;
            list.m_lSectorCode = FirstCode(p_oPage);
            return list;
        default:
            return std::nullopt;
    }
}

PageRouter::PageRouter(PageArea& p_oArea, ListFn p_fnShowList)
    : m_oArea(p_oArea), m_fnShowList(std::move(p_fnShowList)) {
    m_oArea.SetOnBack([this] { Back(); });
    m_oArea.SetOnForward([this] { Forward(); });
}

void PageRouter::Open(const std::string& p_sAddress) {
    const PageParse parsed = ParsePageAddress(p_sAddress, TemplatesInForce());
    if (parsed.m_oRequest && ListOfPage(*parsed.m_oRequest, ViewerRequest{})) {
        m_fnShowList(*parsed.m_oRequest);
        return;
    }
    if (!m_history.empty()) {
        m_history.resize(m_lCurrent + 1);
    }
    m_history.push_back(p_sAddress);
    m_lCurrent = m_history.size() - 1;
    ShowCurrent();
}

void PageRouter::Back() {
    if (CanGoBack()) {
        --m_lCurrent;
        ShowCurrent();
    }
}

void PageRouter::Forward() {
    if (CanGoForward()) {
        ++m_lCurrent;
        ShowCurrent();
    }
}

void PageRouter::ShowCurrent() {
    const std::string& address = m_history[m_lCurrent];
    const PageParse parsed = ParsePageAddress(address, TemplatesInForce());
    const std::string server = GetSetting("", kServerSection, kWebServerKey);
    m_oArea.ShowPage(NewPageFor(address, parsed), QString::fromStdString(address),
                     QString::fromStdString(AbsolutePageAddress(server, address)));
    m_oArea.SetHistory(CanGoBack(), CanGoForward());
    if (m_fnShown) {
        m_fnShown();
    }
}

QWidget* PageRouter::NewPageFor(const std::string& p_sAddress, const PageParse& p_oParsed) const {
    if (!p_oParsed.m_oRequest) {
        return NewErrorPage(QString::fromStdString(p_sAddress),
                            QString::fromStdString(p_oParsed.m_sError));
    }
    const PageRequest& page = *p_oParsed.m_oRequest;
    if (page.m_eKind == PageKind::News) {
        return NewNewsPage(page, QString::fromStdString(p_sAddress));
    }
    if (m_fnBuild) {
        if (QWidget* built = m_fnBuild(page)) {
            return built;
        }
    }
    return NewPendingPage(page);
}

}  // namespace qv
