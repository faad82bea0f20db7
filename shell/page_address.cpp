#include "shell/page_address.h"

#include "outside/shared_services.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

#include <array>
#include <charconv>
#include <cmath>

namespace qv {

namespace {

using Parameters = std::vector<std::pair<std::string, std::string>>;

constexpr std::string_view kController = "pagecontroller.aspx";
constexpr std::string_view kQuickTest = "QuickTest.asp";
constexpr std::string_view kInvestmentDetails = "InvestmentDetails";
constexpr std::string_view kSymbolMark = "***SYMBOL***";
constexpr std::string_view kStockIdsMark = "***StockIds***";

enum class Codes { None, Text, Numbers };

// What each page of the controller needs besides its type.
struct ControllerPage {
    int32_t m_lType;
    PageKind m_eKind;
    std::string_view m_sCodeKey;
    Codes m_eCodes;
    bool m_bGraph;
};

constexpr std::array<ControllerPage, 15> kControllerPages = {{
    {4, PageKind::StocksInIndustry, "indcode", Codes::Numbers, false},
    {5, PageKind::StocksInSector, "sectorcode", Codes::Numbers, false},
    {6, PageKind::IndustriesInSector, "sectorcode", Codes::Numbers, false},
    {7, PageKind::StockHistory, "symbol", Codes::Text, false},
    {8, PageKind::IndustryHistory, "indcode", Codes::Numbers, false},
    {9, PageKind::SectorHistory, "sectorcode", Codes::Numbers, false},
    {10, PageKind::StockGraph, "symbol", Codes::Text, true},
    {11, PageKind::IndustryGraph, "indcode", Codes::Numbers, true},
    {12, PageKind::SectorGraph, "sectorcode", Codes::Numbers, true},
    {17, PageKind::WatchListGraph, "", Codes::None, false},
    {26, PageKind::OptionPrice, "symbol", Codes::Text, false},
    {37, PageKind::StockDetails, "symbol", Codes::Text, false},
    {40, PageKind::StockAnalysis, "symbol", Codes::Text, false},
    {49, PageKind::IndustryDetails, "indcode", Codes::Numbers, false},
    {52, PageKind::SectorDetails, "sectorcode", Codes::Numbers, false},
}};

constexpr std::array<std::pair<std::string_view, Codes>, 3> kQuickTestKeys = {{
    {"symbols", Codes::Text},
    {"indcodes", Codes::Numbers},
    {"sectorcodes", Codes::Numbers},
}};

std::string Quoted(std::string_view p_sName) {
    return "\"" + std::string(p_sName) + "\"";
}

int HexDigit(char p_c) {
    if (p_c >= '0' && p_c <= '9') {
        return p_c - '0';
    }
    const char lower = ToLowerAscii(p_c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// p_sText with its %HH escapes decoded; false at an escape that is not one.
bool Decode(std::string_view p_sText, std::string& p_sDecoded, std::string& p_sError) {
    p_sDecoded.clear();
    p_sDecoded.reserve(p_sText.size());
    for (size_t i = 0; i < p_sText.size(); ++i) {
        if (p_sText[i] != '%') {
            p_sDecoded += p_sText[i];
            continue;
        }
        const int high = i + 2 < p_sText.size() ? HexDigit(p_sText[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(p_sText[i + 2]) : -1;
        if (low < 0) {
            p_sError = "the address has a broken escape: " + Excerpt(p_sText.substr(i, 3));
            return false;
        }
        p_sDecoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

bool SplitQuery(std::string_view p_sQuery, Parameters& p_parameters, std::string& p_sError) {
    for (const std::string& part : SplitText(p_sQuery, '&')) {
        if (part.empty()) {
            continue;
        }
        const size_t equals = part.find('=');
        std::string key;
        std::string value;
        if (!Decode(std::string_view(part).substr(0, equals), key, p_sError) ||
            (equals != std::string::npos &&
             !Decode(std::string_view(part).substr(equals + 1), value, p_sError))) {
            return false;
        }
        p_parameters.emplace_back(std::move(key), std::move(value));
    }
    return true;
}

// The value of the first p_sKey; nullptr when the address has none.
const std::string* Find(const Parameters& p_parameters, std::string_view p_sKey) {
    for (const auto& [key, value] : p_parameters) {
        if (EqualsIgnoreCase(key, p_sKey)) {
            return &value;
        }
    }
    return nullptr;
}

bool WholeNumber(std::string_view p_sText, int32_t& p_lValue) {
    const char* const end = p_sText.data() + p_sText.size();
    const auto [last, error] = std::from_chars(p_sText.data(), end, p_lValue);
    return !p_sText.empty() && error == std::errc() && last == end;
}

// A code or an id: a whole number from 1.
bool Code(std::string_view p_sText) {
    int32_t value = 0;
    return WholeNumber(p_sText, value) && value >= 1;
}

bool ReadNumber(const Parameters& p_parameters, std::string_view p_sKey, int32_t& p_lValue,
                std::string& p_sError) {
    const std::string* text = Find(p_parameters, p_sKey);
    if (text == nullptr || text->empty()) {
        p_sError = "the address names no " + Quoted(p_sKey);
        return false;
    }
    if (!WholeNumber(*text, p_lValue)) {
        p_sError = Quoted(p_sKey) + " must be a whole number, not " + Excerpt(*text);
        return false;
    }
    return true;
}

bool SplitCodes(std::string_view p_sKey, const std::string& p_sValue, Codes p_eCodes,
                PageRequest& p_oRequest, std::string& p_sError) {
    p_oRequest.m_sCodeKey = ToLowerAscii(p_sKey);
    p_oRequest.m_codes.clear();
    for (const std::string& part : SplitText(p_sValue, ',')) {
        const std::string_view code = TrimWhitespace(part);
        if (code.empty()) {
            continue;
        }
        if (p_eCodes == Codes::Numbers && !Code(code)) {
            p_sError =
                Quoted(p_sKey) + " must hold codes (whole numbers from 1), not " + Excerpt(code);
            return false;
        }
        p_oRequest.m_codes.emplace_back(code);
    }
    if (p_oRequest.m_codes.empty()) {
        p_sError = "the address names no " + Quoted(p_sKey);
        return false;
    }
    return true;
}

bool ReadCodes(const Parameters& p_parameters, std::string_view p_sKey, Codes p_eCodes,
               PageRequest& p_oRequest, std::string& p_sError) {
    const std::string* value = Find(p_parameters, p_sKey);
    if (value == nullptr) {
        p_sError = "the address names no " + Quoted(p_sKey);
        return false;
    }
    return SplitCodes(p_sKey, *value, p_eCodes, p_oRequest, p_sError);
}

// An absent day, or the zero date a host that set no day gives, is no day.
bool ReadDay(const Parameters& p_parameters, std::string_view p_sKey, int32_t& p_lDay,
             std::string& p_sError) {
    const std::string* text = Find(p_parameters, p_sKey);
    if (text == nullptr || TrimWhitespace(*text).empty()) {
        return true;
    }
    double serial = 0;
    if (!ParseDateText(*text, serial)) {
        p_sError = Quoted(p_sKey) + " is not a date: " + Excerpt(*text);
        return false;
    }
    const double day = std::floor(serial);
    p_lDay = day >= 1 ? static_cast<int32_t>(day) : 0;
    return true;
}

// A message for a person: it starts with a capital.
PageParse Failed(std::string p_sError) {
    if (!p_sError.empty()) {
        p_sError[0] = ToUpperAscii(p_sError[0]);
    }
    return PageParse{std::nullopt, std::move(p_sError)};
}

PageParse Parsed(PageRequest p_oRequest) {
    return PageParse{std::move(p_oRequest), std::string()};
}

const ControllerPage* ControllerPageOfType(int32_t p_lType) {
    for (const ControllerPage& page : kControllerPages) {
        if (page.m_lType == p_lType) {
            return &page;
        }
    }
    return nullptr;
}

bool ReadGraphEdition(const Parameters& p_parameters, PageRequest& p_oRequest,
                      std::string& p_sError) {
    int32_t edition = 0;
    if (!ReadNumber(p_parameters, "iwp", edition, p_sError)) {
        return false;
    }
    if (edition != 0 && edition != 1) {
        p_sError = Quoted("iwp") + " must be 0 or 1, not " + Excerpt(std::to_string(edition));
        return false;
    }
    p_oRequest.m_bAdvanced = edition == 1;
    return true;
}

PageParse ParseControllerPage(Parameters p_parameters) {
    std::string error;
    int32_t type = 0;
    if (!ReadNumber(p_parameters, "pagetype", type, error)) {
        return Failed(error);
    }
    const ControllerPage* page = ControllerPageOfType(type);
    if (page == nullptr) {
        return Failed("There is no page of type " + std::to_string(type));
    }
    PageRequest request;
    request.m_eKind = page->m_eKind;
    request.m_lPageType = type;
    const bool read =
        (page->m_eCodes == Codes::None ||
         ReadCodes(p_parameters, page->m_sCodeKey, page->m_eCodes, request, error)) &&
        (!page->m_bGraph || ReadGraphEdition(p_parameters, request, error)) &&
        ReadDay(p_parameters, "date", request.m_lDate, error) &&
        (request.m_lDate != 0 || ReadDay(p_parameters, "startdate", request.m_lDate, error));
    if (!read) {
        return Failed(PageKindName(page->m_eKind) + ": " + error);
    }
    if (page->m_eKind == PageKind::WatchListGraph &&
        (!ReadNumber(p_parameters, "wlid", request.m_lWatchListId, error) ||
         !ReadNumber(p_parameters, "timeID", request.m_lTimeId, error))) {
        return Failed(PageKindName(page->m_eKind) + ": " + error);
    }
    request.m_parameters = std::move(p_parameters);
    return Parsed(std::move(request));
}

PageParse ParseQuickTest(Parameters p_parameters) {
    PageRequest request;
    request.m_eKind = PageKind::QuickTest;
    std::string error = "the address names no " + Quoted("symbols") + ", " + Quoted("indcodes") +
                        " or " + Quoted("sectorcodes");
    bool coded = false;
    for (const auto& [key, codes] : kQuickTestKeys) {
        if (const std::string* value = Find(p_parameters, key)) {
            coded = SplitCodes(key, *value, codes, request, error);
            break;
        }
    }
    const bool read = coded && ReadDay(p_parameters, "date", request.m_lDate, error) &&
                      ReadDay(p_parameters, "enddate", request.m_lEndDate, error);
    if (!read) {
        return Failed(PageKindName(PageKind::QuickTest) + ": " + error);
    }
    if (const std::string* title = Find(p_parameters, "title")) {
        request.m_sTitle = *title;
    }
    request.m_parameters = std::move(p_parameters);
    return Parsed(std::move(request));
}

// The text p_sAddress holds where p_sTemplate has p_sMark, when p_sTemplate made it.
std::optional<std::string_view> TemplateValue(std::string_view p_sAddress,
                                              std::string_view p_sTemplate,
                                              std::string_view p_sMark) {
    const size_t mark = p_sTemplate.find(p_sMark);
    if (p_sTemplate.empty() || mark == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view before = p_sTemplate.substr(0, mark);
    const std::string_view after = p_sTemplate.substr(mark + p_sMark.size());
    if (p_sAddress.size() < before.size() + after.size() ||
        !EqualsIgnoreCase(p_sAddress.substr(0, before.size()), before) ||
        !EqualsIgnoreCase(p_sAddress.substr(p_sAddress.size() - after.size()), after)) {
        return std::nullopt;
    }
    return p_sAddress.substr(before.size(), p_sAddress.size() - before.size() - after.size());
}

std::optional<PageParse> ParseTemplatePage(std::string_view p_sAddress, PageKind p_eKind,
                                           std::string_view p_sTemplate, std::string_view p_sMark,
                                           std::string_view p_sKey, Codes p_eCodes) {
    const std::optional<std::string_view> encoded = TemplateValue(p_sAddress, p_sTemplate, p_sMark);
    if (!encoded) {
        return std::nullopt;
    }
    std::string value;
    std::string error;
    PageRequest request;
    request.m_eKind = p_eKind;
    if (!Decode(*encoded, value, error) || !SplitCodes(p_sKey, value, p_eCodes, request, error)) {
        return Failed(PageKindName(p_eKind) + ": " + error);
    }
    request.m_parameters = {{std::string(p_sKey), value}};
    return Parsed(std::move(request));
}

}  // namespace

PageTemplates DefaultPageTemplates() {
    return PageTemplates{std::string(SharedServices::kDefaultNewsUrl),
                         std::string(SharedServices::kDefaultDividendUrl)};
}

PageParse ParsePageAddress(std::string_view p_sAddress) {
    static const PageTemplates s_defaults = DefaultPageTemplates();
    return ParsePageAddress(p_sAddress, s_defaults);
}

PageParse ParsePageAddress(std::string_view p_sAddress, const PageTemplates& p_templates) {
    const std::string_view address = TrimWhitespace(p_sAddress);
    if (address.empty()) {
        return Failed("The address is empty");
    }
    if (auto news = ParseTemplatePage(address, PageKind::News, p_templates.m_sNews, kSymbolMark,
                                      "symbol", Codes::Text)) {
        return *std::move(news);
    }
    if (auto dividends = ParseTemplatePage(address, PageKind::Dividends, p_templates.m_sDividends,
                                           kStockIdsMark, "stockids", Codes::Numbers)) {
        return *std::move(dividends);
    }
    if (EqualsIgnoreCase(address, kInvestmentDetails)) {
        PageRequest request;
        request.m_eKind = PageKind::InvestmentDetails;
        return Parsed(std::move(request));
    }
    const size_t question = address.find('?');
    const std::string_view page = address.substr(0, question);
    Parameters parameters;
    std::string error;
    if (question != std::string_view::npos &&
        !SplitQuery(address.substr(question + 1), parameters, error)) {
        return Failed(error);
    }
    if (EqualsIgnoreCase(page, kController)) {
        return ParseControllerPage(std::move(parameters));
    }
    if (EqualsIgnoreCase(page, kQuickTest)) {
        return ParseQuickTest(std::move(parameters));
    }
    return Failed("No page of the viewer answers to " + Excerpt(page));
}

std::string PageKindName(PageKind p_eKind) {
    switch (p_eKind) {
        case PageKind::StocksInIndustry:
            return "Stocks in industry group";
        case PageKind::StocksInSector:
            return "Stocks in business sector";
        case PageKind::IndustriesInSector:
            return "Industry groups in business sector";
        case PageKind::StockHistory:
            return "Stock history";
        case PageKind::IndustryHistory:
            return "Industry group history";
        case PageKind::SectorHistory:
            return "Business sector history";
        case PageKind::StockGraph:
            return "Stock graph";
        case PageKind::IndustryGraph:
            return "Industry group graph";
        case PageKind::SectorGraph:
            return "Business sector graph";
        case PageKind::WatchListGraph:
            return "Watch list average graph";
        case PageKind::OptionPrice:
            return "Option price";
        case PageKind::StockDetails:
            return "Stock details";
        case PageKind::StockAnalysis:
            return "Stock analysis";
        case PageKind::IndustryDetails:
            return "Industry group details";
        case PageKind::SectorDetails:
            return "Business sector details";
        case PageKind::QuickTest:
            return "Quick test";
        case PageKind::Dividends:
            return "Upcoming dividend dates";
        case PageKind::News:
            return "Stock news";
        case PageKind::InvestmentDetails:
            return "Investment details";
    }
    return "Page";
}

bool IsAbsoluteAddress(std::string_view p_sAddress) {
    const size_t colon = p_sAddress.find("://");
    if (colon == std::string_view::npos || colon == 0) {
        return false;
    }
    for (const char c : p_sAddress.substr(0, colon)) {
        const char lower = ToLowerAscii(c);
        const bool schemeChar = (lower >= 'a' && lower <= 'z') || (c >= '0' && c <= '9') ||
                                c == '+' || c == '-' || c == '.';
        if (!schemeChar) {
            return false;
        }
    }
    return true;
}

std::string AbsolutePageAddress(std::string_view p_sWebServer, std::string_view p_sAddress) {
    const std::string_view address = TrimWhitespace(p_sAddress);
    if (IsAbsoluteAddress(address)) {
        return std::string(address);
    }
    std::string_view server = TrimWhitespace(p_sWebServer);
    while (!server.empty() && server.back() == '/') {
        server.remove_suffix(1);
    }
    if (server.empty()) {
        return std::string();
    }
    std::string_view page = address;
    while (!page.empty() && page.front() == '/') {
        page.remove_prefix(1);
    }
    const std::string scheme = IsAbsoluteAddress(server) ? "" : "http://";
    return scheme + std::string(server) + "/" + std::string(page);
}

}  // namespace qv
