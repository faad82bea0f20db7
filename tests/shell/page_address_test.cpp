// Reading the page addresses back: every address the grid's menu, its navigate types and double
// click, the control master's navigation, the quick test and the two shared-services templates
// build, and the addresses that cannot be opened.
#include "shell/page_address.h"

#include "columns/viewer_type.h"
#include "outside/quick_test_component.h"
#include "outside/shared_services.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"
#include "shell/page_router.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv::test {
namespace {

const int32_t kDay = DaySerialFromCivil(2026, 12, 4);
const int32_t kEndDay = DaySerialFromCivil(2026, 12, 31);
const std::vector<std::string> kSymbol = {"QA"};
const std::vector<std::string> kIndustry = {"12"};
const std::vector<std::string> kSector = {"3"};

std::string QuickTestOf(QuickTestKind p_eKind, std::vector<std::string> p_ids) {
    QuickTestRequest request;
    request.ReportTitle = "Sector Viewer - Quick Test Report";
    request.Kind = p_eKind;
    request.Ids = std::move(p_ids);
    request.CurrentDate = kDay;
    request.EndDate = kEndDay;
    request.FinderResultsType = p_eKind == QuickTestKind::Stocks ? std::optional(1) : std::nullopt;
    return QuickTestPageAddress(request);
}

constexpr int32_t kPage = -1;

struct AddressCase {
    std::string m_sAddress = {};
    PageKind m_eKind = PageKind::StockDetails;
    // The list the window shows for it; kPage where it opens a page.
    int32_t m_lListType = kPage;
    std::string m_sCodeKey = {};
    std::vector<std::string> m_codes = {};
    int32_t m_lDate = 0;
    bool m_bAdvanced = false;
    int32_t m_lEndDate = 0;
    int32_t m_lWatchListId = 0;
    int32_t m_lTimeId = 0;
    std::string m_sTitle = {};
};

TEST(PageAddress, EveryAddressTheViewerBuildsReadsAsItsPageWithItsKeys) {
    const std::string news = ReplaceAll(SharedServices::kDefaultNewsUrl, "***SYMBOL***", "QA");
    const std::string dividends =
        ReplaceAll(SharedServices::kDefaultDividendUrl, "***StockIds***", "101,102");
    const std::string title = "Sector Viewer - Quick Test Report";
    const std::vector<AddressCase> cases = {
        // The menu of stock, portfolio, industry and sector rows.
        {"pagecontroller.aspx?pagetype=37&symbol=QA&date=12/4/2026", PageKind::StockDetails, kPage,
         "symbol", kSymbol, kDay},
        {"pagecontroller.aspx?pagetype=40&date=12/4/2026&symbol=QA", PageKind::StockAnalysis, kPage,
         "symbol", kSymbol, kDay},
        {"pagecontroller.aspx?pagetype=49&indcode=12&date=12/4/2026", PageKind::IndustryDetails,
         kPage, "indcode", kIndustry, kDay},
        {"pagecontroller.aspx?pagetype=52&sectorcode=3&Date=12/4/2026", PageKind::SectorDetails,
         kPage, "sectorcode", kSector, kDay},
        {"pagecontroller.aspx?pagetype=7&symbol=QA", PageKind::StockHistory, vt_StockHistory,
         "symbol", kSymbol},
        {"pagecontroller.aspx?pagetype=8&indcode=12", PageKind::IndustryHistory, vt_IndustryHistory,
         "indcode", kIndustry},
        {"pagecontroller.aspx?pagetype=9&sectorcode=3", PageKind::SectorHistory, vt_SectorHistory,
         "sectorcode", kSector},
        {"pagecontroller.aspx?PageType=4&indcode=12&date=12/4/2026", PageKind::StocksInIndustry,
         vt_Stocks, "indcode", kIndustry, kDay},
        {"pagecontroller.aspx?pagetype=4&indcode=12", PageKind::StocksInIndustry, vt_Stocks,
         "indcode", kIndustry},
        {"pagecontroller.aspx?pagetype=6&sectorcode=3&date=12/4/2026", PageKind::IndustriesInSector,
         vt_Industries, "sectorcode", kSector, kDay},
        {"pagecontroller.aspx?pagetype=5&sectorcode=3&date=12/4/2026", PageKind::StocksInSector,
         vt_Stocks, "sectorcode", kSector, kDay},
        {"pagecontroller.aspx?pagetype=26&symbol=QA&date=12/4/2026", PageKind::OptionPrice, kPage,
         "symbol", kSymbol, kDay},
        {"QuickTest.asp?symbols=101,102", PageKind::QuickTest, kPage, "symbols", {"101", "102"}},
        {"InvestmentDetails", PageKind::InvestmentDetails},
        // The navigate types, several rows joined by ",", and the watch list's average graph.
        {"pagecontroller.aspx?pagetype=10&iwp=0&symbol=QA,QB",
         PageKind::StockGraph,
         kPage,
         "symbol",
         {"QA", "QB"}},
        {"pagecontroller.aspx?pagetype=11&iwp=0&indcode=12", PageKind::IndustryGraph, kPage,
         "indcode", kIndustry},
        {"pagecontroller.aspx?pagetype=12&iwp=0&sectorcode=3,4",
         PageKind::SectorGraph,
         kPage,
         "sectorcode",
         {"3", "4"}},
        {"pagecontroller.aspx?pagetype=10&iwp=1&symbol=QA", PageKind::StockGraph, kPage, "symbol",
         kSymbol, 0, true},
        {"pagecontroller.aspx?pagetype=11&iwp=1&indcode=12,14",
         PageKind::IndustryGraph,
         kPage,
         "indcode",
         {"12", "14"},
         0,
         true},
        {"pagecontroller.aspx?pagetype=12&iwp=1&sectorcode=3", PageKind::SectorGraph, kPage,
         "sectorcode", kSector, 0, true},
        {"pagecontroller.aspx?pagetype=40&symbol=QA", PageKind::StockAnalysis, kPage, "symbol",
         kSymbol},
        {"pagecontroller.aspx?pagetype=17&wlid=5&timeID=812",
         PageKind::WatchListGraph,
         kPage,
         "",
         {},
         0,
         false,
         0,
         5,
         812},
        // The double click of a stock row, and a host that set no day.
        {"pagecontroller.aspx?PageType=4&indcode=12&startdate=12/4/2026",
         PageKind::StocksInIndustry, vt_Stocks, "indcode", kIndustry, kDay},
        {"pagecontroller.aspx?pagetype=37&symbol=QA&date=12:00:00 AM", PageKind::StockDetails,
         kPage, "symbol", kSymbol},
        // The quick-test component's pages, with the title and days encoded.
        {QuickTestOf(QuickTestKind::Sectors, {"10", "20"}),
         PageKind::QuickTest,
         kPage,
         "sectorcodes",
         {"10", "20"},
         kDay,
         false,
         kEndDay,
         0,
         0,
         title},
        {QuickTestOf(QuickTestKind::Stocks, {"101"}),
         PageKind::QuickTest,
         kPage,
         "symbols",
         {"101"},
         kDay,
         false,
         kEndDay,
         0,
         0,
         title},
        {QuickTestOf(QuickTestKind::Industries, {"12"}), PageKind::QuickTest, kPage, "indcodes",
         kIndustry, kDay, false, kEndDay, 0, 0, title},
        // The shared services' templates.
        {news, PageKind::News, kPage, "symbol", kSymbol},
        {dividends, PageKind::Dividends, kPage, "stockids", {"101", "102"}},
    };
    ViewerRequest shown;
    shown.m_lWatchListId = 9;
    shown.m_sSymbol = "QZ";
    for (const AddressCase& entry : cases) {
        SCOPED_TRACE(entry.m_sAddress);
        const PageParse parsed = ParsePageAddress(entry.m_sAddress);
        ASSERT_TRUE(parsed.m_oRequest) << parsed.m_sError;
        const PageRequest& page = *parsed.m_oRequest;
        EXPECT_EQ(page.m_eKind, entry.m_eKind);
        EXPECT_EQ(page.m_sCodeKey, entry.m_sCodeKey);
        EXPECT_EQ(page.m_codes, entry.m_codes);
        EXPECT_EQ(page.m_lDate, entry.m_lDate);
        EXPECT_EQ(page.m_bAdvanced, entry.m_bAdvanced);
        EXPECT_EQ(page.m_lEndDate, entry.m_lEndDate);
        EXPECT_EQ(page.m_lWatchListId, entry.m_lWatchListId);
        EXPECT_EQ(page.m_lTimeId, entry.m_lTimeId);
        EXPECT_EQ(page.m_sTitle, entry.m_sTitle);
        const auto list = ListOfPage(page, shown);
        EXPECT_EQ(list ? list->m_lViewerType : kPage, entry.m_lListType);
        if (list) {
            // The list of the page's subject alone, not of the watch list shown before.
            EXPECT_EQ(list->m_lWatchListId, 0);
            EXPECT_EQ(list->m_sSymbol + std::to_string(list->m_lIndCode + list->m_lSectorCode),
                      page.m_sCodeKey == "symbol" ? "QA0" : page.m_codes.front());
        }
    }
}

TEST(PageAddress, ATemplateTheSettingsNameIsItsPageWhateverItLooksLike) {
    const PageTemplates templates{"https://news.example.com/q?s=***SYMBOL***&lang=en",
                                  "pagecontroller.aspx?pagetype=60&ids=***StockIds***"};
    const PageParse news =
        ParsePageAddress("HTTPS://news.example.com/q?s=Q%26A&lang=en", templates);
    ASSERT_TRUE(news.m_oRequest) << news.m_sError;
    EXPECT_EQ(news.m_oRequest->m_eKind, PageKind::News);
    EXPECT_EQ(news.m_oRequest->m_codes, std::vector<std::string>{"Q&A"});
    const PageParse dividends =
        ParsePageAddress("pagecontroller.aspx?pagetype=60&ids=7", templates);
    ASSERT_TRUE(dividends.m_oRequest) << dividends.m_sError;
    EXPECT_EQ(dividends.m_oRequest->m_eKind, PageKind::Dividends);
    // The default news page is no news page once the settings name another.
    EXPECT_FALSE(ParsePageAddress("news.aspx?symbol=QA", templates).m_oRequest);
}

TEST(PageAddress, AnAddressThatCannotBeOpenedSaysWhatIsWrong) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "The address is empty"},
        {"  ", "The address is empty"},
        {"default.aspx?pagetype=37", "No page of the viewer answers to 'default.aspx'"},
        {"pagecontroller.aspx", "The address names no \"pagetype\""},
        {"pagecontroller.aspx?pagetype=abc&symbol=QA",
         "\"pagetype\" must be a whole number, not 'abc'"},
        {"pagecontroller.aspx?pagetype=99&symbol=QA", "There is no page of type 99"},
        {"pagecontroller.aspx?pagetype=37&date=12/4/2026",
         "Stock details: the address names no \"symbol\""},
        {"pagecontroller.aspx?pagetype=7&symbol=",
         "Stock history: the address names no \"symbol\""},
        {"pagecontroller.aspx?pagetype=8&indcode=abc",
         "Industry group history: \"indcode\" must hold codes (whole numbers from 1), not 'abc'"},
        {"pagecontroller.aspx?pagetype=11&iwp=0&indcode=12,0",
         "Industry group graph: \"indcode\" must hold codes (whole numbers from 1), not '0'"},
        {"pagecontroller.aspx?pagetype=10&symbol=QA", "Stock graph: the address names no \"iwp\""},
        {"pagecontroller.aspx?pagetype=10&iwp=2&symbol=QA",
         "Stock graph: \"iwp\" must be 0 or 1, not '2'"},
        {"pagecontroller.aspx?pagetype=17&wlid=5",
         "Watch list average graph: the address names no \"timeID\""},
        {"pagecontroller.aspx?pagetype=17&wlid=x&timeID=1",
         "Watch list average graph: \"wlid\" must be a whole number, not 'x'"},
        {"pagecontroller.aspx?pagetype=37&symbol=QA&date=13/45/2026",
         "Stock details: \"date\" is not a date: '13/45/2026'"},
        {"pagecontroller.aspx?pagetype=37&symbol=Q%2", "The address has a broken escape: '%2'"},
        {"QuickTest.asp?title=Mine",
         "Quick test: the address names no \"symbols\", \"indcodes\" or \"sectorcodes\""},
        {"QuickTest.asp?symbols=1&enddate=soon", "Quick test: \"enddate\" is not a date: 'soon'"},
        {"dividends.aspx?stockids=", "Upcoming dividend dates: the address names no \"stockids\""},
        {"dividends.aspx?stockids=1,QA",
         "Upcoming dividend dates: \"stockids\" must hold codes (whole numbers from 1), not 'QA'"},
    };
    for (const auto& [address, error] : cases) {
        SCOPED_TRACE(address);
        const PageParse parsed = ParsePageAddress(address);
        EXPECT_FALSE(parsed.m_oRequest);
        EXPECT_EQ(parsed.m_sError, error);
    }
}

TEST(PageAddress, ABrowserOpensARelativeAddressOnlyOnTheWebServer) {
    const std::vector<std::vector<std::string>> cases = {
        // web server, address, what a browser opens
        {"", "pagecontroller.aspx?pagetype=37&symbol=QA", ""},
        {"www.example.com", "pagecontroller.aspx?pagetype=37&symbol=QA",
         "http://www.example.com/pagecontroller.aspx?pagetype=37&symbol=QA"},
        {" https://example.com/app/ ", "/QuickTest.asp?symbols=1",
         "https://example.com/app/QuickTest.asp?symbols=1"},
        {"", "https://news.example.com/q?s=QA", "https://news.example.com/q?s=QA"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry[1]);
        EXPECT_EQ(AbsolutePageAddress(entry[0], entry[1]), entry[2]);
    }
}

}  // namespace
}  // namespace qv::test
