#include "shell/page_router.h"

#include "columns/viewer_type.h"
#include "outside/platform_context.h"
#include "outside/shared_services.h"
#include "shell/page_area.h"
#include "shell/page_views.h"

#include <QString>

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr std::string_view kServerSection = "Settings";
constexpr std::string_view kWebServerKey = "WebServer";

PageTemplates TemplatesInForce() {
    const SharedServices services;
    return PageTemplates{services.GetValue("NewsURL"), services.GetValue("DividendUrl")};
}

enum class Subject { Industry, Sector, Stock };

// The list each list page shows, and what in the list its first code names.
struct ListPage {
    PageKind m_eKind;
    int32_t m_lViewerType;
    Subject m_eSubject;
};

constexpr std::array<ListPage, 6> kListPages = {{
    {PageKind::StocksInIndustry, vt_Stocks, Subject::Industry},
    {PageKind::StocksInSector, vt_Stocks, Subject::Sector},
    {PageKind::IndustriesInSector, vt_Industries, Subject::Sector},
    {PageKind::StockHistory, vt_StockHistory, Subject::Stock},
    {PageKind::IndustryHistory, vt_IndustryHistory, Subject::Industry},
    {PageKind::SectorHistory, vt_SectorHistory, Subject::Sector},
}};

}  // namespace

std::optional<ViewerRequest> ListOfPage(const PageRequest& p_oPage, const ViewerRequest& p_oShown) {
    const auto page =
        std::find_if(kListPages.begin(), kListPages.end(),
                     [&](const ListPage& p_oList) { return p_oList.m_eKind == p_oPage.m_eKind; });
    if (page == kListPages.end()) {
        return std::nullopt;
    }
    ViewerRequest list = p_oShown;
    list.m_lViewerType = page->m_lViewerType;
    list.m_lWatchListId = 0;
    list.m_lPortfolioId = 0;
    list.m_sSymbol = page->m_eSubject == Subject::Stock ? p_oPage.m_codes.front() : std::string();
    // The parser let only whole numbers through as codes.
    const int32_t code =
        page->m_eSubject == Subject::Stock ? 0 : std::stoi(p_oPage.m_codes.front());
    list.m_lIndCode = page->m_eSubject == Subject::Industry ? code : 0;
    list.m_lSectorCode = page->m_eSubject == Subject::Sector ? code : 0;
    if (p_oPage.m_lDate != 0) {
        list.m_lDate = p_oPage.m_lDate;
    }
    return list;
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
