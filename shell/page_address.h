// The page addresses the viewer raises, read back into what they ask for.
//
// The control and the control master hand the host relative page addresses: the service's page
// controller with a numbered page type
// ("pagecontroller.aspx?pagetype=37&symbol=QA&date=12/4/2026"), the quick test
// ("QuickTest.asp?symbols=1,2&title=...&date=...&enddate=..."), the news and dividend pages made
// from the shared services' templates ("NewsURL", "DividendUrl"), and the portfolio's
// "InvestmentDetails". The window opens each of them inside itself, so it needs to know which page
// an address names and with what:
//
//     const PageParse parsed = ParsePageAddress("pagecontroller.aspx?PageType=4&indcode=12");
//     parsed.m_oRequest->m_eKind    // PageKind::StocksInIndustry
//     parsed.m_oRequest->m_codes    // {"12"}
//
// Keys compare without regard to letter case ("PageType", "Date" and "Sectorcode" all occur) and
// values are URL-decoded; a list value ("symbol=QA,QB") becomes its parts. An address that names
// no page, or lacks what its page needs, gives an error text that says what is wrong instead of a
// request, so that the window can show that rather than nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {

enum class PageKind {
    StocksInIndustry,    // page type 4
    StocksInSector,      // 5
    IndustriesInSector,  // 6
    StockHistory,        // 7
    IndustryHistory,     // 8
    SectorHistory,       // 9
    StockGraph,          // 10
    IndustryGraph,       // 11
    SectorGraph,         // 12
    WatchListGraph,      // 17
    OptionPrice,         // 26
    StockDetails,        // 37
    StockAnalysis,       // 40
    IndustryDetails,     // 49
    SectorDetails,       // 52
    QuickTest,
    Dividends,
    News,
    InvestmentDetails,
};

struct PageRequest {
    PageKind m_eKind = PageKind::StockDetails;
    // The page controller's page type; 0 for the pages outside it.
    int32_t m_lPageType = 0;
    // The key that names the rows the page is about, in lower case ("symbol", "indcode",
    // "sectorcode", "symbols", "indcodes", "sectorcodes", "stockids"), and its values; industry
    // and sector codes and stock ids are whole numbers.
    std::string m_sCodeKey;
    std::vector<std::string> m_codes;
    // Day serials; 0 where the address names no day (the latest trading day).
    int32_t m_lDate = 0;
    int32_t m_lEndDate = 0;
    // A graph of the advanced edition ("iwp=1").
    bool m_bAdvanced = false;
    int32_t m_lWatchListId = 0;
    int32_t m_lTimeId = 0;
    // The quick test's report title.
    std::string m_sTitle;
    // Every key and its decoded value, in the address's order.
    std::vector<std::pair<std::string, std::string>> m_parameters;
};

// Exactly one of the two is set.
struct PageParse {
    std::optional<PageRequest> m_oRequest;
    std::string m_sError;
};

// The shared services' address templates, with "***SYMBOL***" and "***StockIds***" where the
// symbol and the stock ids go. An address a template makes is that template's page, whatever
// else it looks like.
struct PageTemplates {
    std::string m_sNews;
    std::string m_sDividends;
};

// The templates as shared services has them when the settings name none.
PageTemplates DefaultPageTemplates();

PageParse ParsePageAddress(std::string_view p_sAddress, const PageTemplates& p_templates);
PageParse ParsePageAddress(std::string_view p_sAddress);

// The page's name for a person: "Stock details", "Stocks in industry group", ...
std::string PageKindName(PageKind p_eKind);

// True for an address with its own scheme ("https://..."), which names its server itself.
bool IsAbsoluteAddress(std::string_view p_sAddress);

// The address a browser opens: p_sAddress itself when it is absolute, otherwise resolved against
// p_sWebServer ("www.example.com" or "https://www.example.com/app"; http is assumed without a
// scheme); "" when it is relative and no web server is named.
std::string AbsolutePageAddress(std::string_view p_sWebServer, std::string_view p_sAddress);

}  // namespace qv
