#include "facade/pages_component.h"

#include <cmath>
#include <string>
#include <vector>

#include "facade/daily_metrics.h"
#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/market_lists.h"
#include "facade/market_store.h"
#include "facade/page_dividends.h"
#include "facade/page_investment.h"
#include "facade/page_option_price.h"
#include "facade/page_queries.h"
#include "facade/page_quick_test.h"
#include "facade/portfolio_store.h"
#include "facade/read_snapshot.h"
#include "facade/recordset_conversion.h"
#include "facade/watch_list_store.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

namespace qv::facade {

namespace {

namespace protocol = facade_protocol;
namespace detail = facade_protocol::stock_detail;
namespace history = facade_protocol::price_history;
namespace group = facade_protocol::group_detail;
namespace chart = facade_protocol::chart_series;
namespace analysis = facade_protocol::stock_analysis;
namespace quick = facade_protocol::quick_test;
namespace dividends = facade_protocol::dividends;
namespace members = facade_protocol::watch_list_members;
namespace option = facade_protocol::option_price;
namespace investment = facade_protocol::investment_details;
namespace summary = facade_protocol::market_summary;
using Argument = facade_protocol::Argument;

const char* KindName(PageKind p_eKind) {
    switch (p_eKind) {
        case PageKind::Stocks:
            return "stock";
        case PageKind::Industries:
            return "industry";
        case PageKind::Sectors:
            return "sector";
    }
    return "stock";
}

PageKind KindOf(const FacadeArguments& p_oArgs, const Argument& p_oKind) {
    const int32_t kind = p_oArgs.Long(p_oKind);
    switch (kind) {
        case protocol::page_kind::kStocks:
            return PageKind::Stocks;
        case protocol::page_kind::kIndustries:
            return PageKind::Industries;
        case protocol::page_kind::kSectors:
            return PageKind::Sectors;
        default:
            p_oArgs.Fail(p_oKind, "kind " + std::to_string(kind) +
                                      " is none of 0 (stocks), 1 (industries) and 2 (sectors)");
    }
}

// A day a caller sent must lie within the store's trading days.
void CheckInData(const FacadeArguments& p_oArgs, const Argument& p_oDay, int32_t p_lDay,
                 DayRange p_oSpan) {
    if (p_lDay >= p_oSpan.m_lFirst && p_lDay <= p_oSpan.m_lLast) {
        return;
    }
    p_oArgs.Fail(p_oDay, IsoDateText(p_lDay) + " is outside the trading days of the store (" +
                             IsoDateText(p_oSpan.m_lFirst) + " to " + IsoDateText(p_oSpan.m_lLast) +
                             ")");
}

DayRange SpanOf(const FacadeArguments& p_oArgs, PageQueries& p_oPages) {
    const DayRange span = p_oPages.TradingSpan();
    if (span.m_lLast == 0) {
        RaiseFacadeError(p_oArgs.Method(), "the store holds no prices");
    }
    return span;
}

// The trading day of a day argument: the latest for Empty, else the one on or before it.
int32_t DayOf(const FacadeArguments& p_oArgs, PageQueries& p_oPages, const Argument& p_oDay) {
    const DayRange span = SpanOf(p_oArgs, p_oPages);
    const int32_t day = p_oArgs.Day(p_oDay);
    if (day == 0) {
        return span.m_lLast;
    }
    CheckInData(p_oArgs, p_oDay, day, span);
    return p_oPages.TradingDayOnOrBefore(day);
}

// The trading days from the first on or after p_oFirst (the first of all for Empty) to the last
// on or before p_oLast (the latest for Empty).
DayRange RangeOf(const FacadeArguments& p_oArgs, PageQueries& p_oPages, const Argument& p_oFirst,
                 const Argument& p_oLast) {
    const DayRange span = SpanOf(p_oArgs, p_oPages);
    int32_t first = p_oArgs.Day(p_oFirst);
    int32_t last = p_oArgs.Day(p_oLast);
    if (first != 0) {
        CheckInData(p_oArgs, p_oFirst, first, span);
    }
    if (last != 0) {
        CheckInData(p_oArgs, p_oLast, last, span);
    }
    const DayRange days{first == 0 ? span.m_lFirst : p_oPages.TradingDayOnOrAfter(first),
                        last == 0 ? span.m_lLast : p_oPages.TradingDayOnOrBefore(last)};
    if (days.m_lFirst > days.m_lLast) {
        p_oArgs.Fail(p_oFirst, "no trading day from " +
                                   IsoDateText(first == 0 ? days.m_lFirst : first) + " to " +
                                   IsoDateText(last == 0 ? days.m_lLast : last));
    }
    return days;
}

int64_t StockOf(const FacadeArguments& p_oArgs, PageQueries& p_oPages, const Argument& p_oSymbol,
                std::string& p_sSymbol) {
    p_sSymbol = std::string(TrimWhitespace(p_oArgs.Text(p_oSymbol)));
    if (p_sSymbol.empty()) {
        p_oArgs.Fail(p_oSymbol, "no symbol");
    }
    const std::optional<int64_t> id = p_oPages.StockId(p_sSymbol);
    if (!id) {
        p_oArgs.Fail(p_oSymbol, "unknown symbol " + Excerpt(p_sSymbol));
    }
    return *id;
}

[[noreturn]] void FailNoBar(const FacadeArguments& p_oArgs, const Argument& p_oDay,
                            const std::string& p_sWhat, int32_t p_lDay) {
    p_oArgs.Fail(p_oDay, p_sWhat + " has no prices on " + IsoDateText(p_lDay));
}

// The codes of a page, resolved; each known, and at least one.
std::vector<PageCode> CodesOf(const FacadeArguments& p_oArgs, PageQueries& p_oPages,
                              PageKind p_eKind, const Argument& p_oCodes) {
    std::vector<std::string> keys = SplitList(p_oArgs.Text(p_oCodes));
    if (keys.empty()) {
        p_oArgs.Fail(p_oCodes, "no codes");
    }
    if (p_eKind != PageKind::Stocks) {
        for (std::string& key : keys) {
            key = std::to_string(p_oArgs.WholeNumber(p_oCodes, key));
        }
    }
    std::vector<PageCode> codes = p_oPages.Resolve(p_eKind, keys);
    std::string unknown;
    for (const PageCode& code : codes) {
        if (code.m_llId == 0) {
            unknown += (unknown.empty() ? "" : ", ") + Excerpt(code.m_sKey);
        }
    }
    if (!unknown.empty()) {
        p_oArgs.Fail(p_oCodes, std::string("unknown ") + KindName(p_eKind) +
                                   (p_eKind == PageKind::Stocks ? " symbols: " : " codes: ") +
                                   unknown);
    }
    return codes;
}

Variant Figure(double p_dValue) {
    return std::isnan(p_dValue) ? Variant::Null() : Variant(p_dValue);
}

}  // namespace

Variant PagesComponent::StockDetail(DispatchArgs p_args) {
    FacadeArguments args(detail::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    PageQueries pages(Backend().Database());
    std::string symbol;
    const int64_t stockId = StockOf(args, pages, detail::kSymbol, symbol);
    const int32_t day = DayOf(args, pages, detail::kDate);
    const std::vector<double> scores =
        StrengthScores(pages.RecentBars(stockId, day, kYearBars + 1));
    ResultTable row = pages.StockDetail(stockId, day, scores.empty() ? kNoValue : scores.back());
    if (row.Empty()) {
        FailNoBar(args, detail::kDate, symbol, day);
    }
    return RecordsetValue(std::move(row));
}

Variant PagesComponent::PriceHistory(DispatchArgs p_args) {
    FacadeArguments args(history::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    PageQueries pages(Backend().Database());
    std::string symbol;
    const int64_t stockId = StockOf(args, pages, history::kSymbol, symbol);
    const DayRange days = RangeOf(args, pages, history::kFirstDate, history::kLastDate);
    return RecordsetValue(pages.PriceHistory(stockId, days));
}

Variant PagesComponent::GroupDetail(std::string_view p_sMethod, DispatchArgs p_args) {
    FacadeArguments args(p_sMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    PageQueries pages(Backend().Database());
    const PageKind kind =
        p_sMethod == group::kIndustryMethod ? PageKind::Industries : PageKind::Sectors;
    const int32_t code = args.Long(group::kCode);
    const std::string what = std::string(KindName(kind)) + " " + std::to_string(code);
    if (!pages.GroupName(kind, code)) {
        args.Fail(group::kCode, "unknown " + what);
    }
    const int32_t day = DayOf(args, pages, group::kDate);
    ResultTable row = pages.GroupDetail(kind, code, day);
    if (row.Empty()) {
        FailNoBar(args, group::kDate, what, day);
    }
    args.Out(group::kMembers) = RecordsetValue(pages.GroupMembers(kind, code, day));
    return RecordsetValue(std::move(row));
}

Variant PagesComponent::ChartSeries(DispatchArgs p_args) {
    FacadeArguments args(chart::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    PageQueries pages(Backend().Database());
    const PageKind kind = KindOf(args, chart::kKind);
    const std::vector<PageCode> codes = CodesOf(args, pages, kind, chart::kCodes);
    const DayRange days = RangeOf(args, pages, chart::kFirstDate, chart::kLastDate);
    return RecordsetValue(pages.ChartSeries(kind, codes, days, args.Boolean(chart::kAdvanced)));
}

Variant PagesComponent::StockAnalysis(DispatchArgs p_args) {
    FacadeArguments args(analysis::kMethod, p_args);
    ReadSnapshot snapshot(Backend().Database());
    PageQueries pages(Backend().Database());
    std::string symbol;
    const int64_t stockId = StockOf(args, pages, analysis::kSymbol, symbol);
    const int32_t day = DayOf(args, pages, analysis::kDate);
    ResultTable rows = pages.StockAnalysis(stockId, day);
    if (rows.Empty()) {
        FailNoBar(args, analysis::kDate, symbol, day);
    }
    return RecordsetValue(std::move(rows));
}

Variant PagesComponent::QuickTest(DispatchArgs p_args) {
    FacadeArguments args(quick::kMethod, p_args);
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    PageQueries pages(database);
    const PageKind kind = KindOf(args, quick::kKind);
    const std::vector<PageCode> codes = CodesOf(args, pages, kind, quick::kCodes);
    const DayRange days = RangeOf(args, pages, quick::kStartDate, quick::kEndDate);
    QuickTestResult result = RunQuickTest(database, kind, codes, days);
    if (result.m_oLines.Empty()) {
        args.Fail(quick::kCodes, std::string("no ") + KindName(kind) +
                                     " of the codes has a price on " + IsoDateText(days.m_lFirst));
    }
    const QuickTestSummary& summary = result.m_oSummary;
    args.Out(quick::kMembers) = RecordsetValue(std::move(result.m_oMembers));
    args.Out(quick::kTotalReturn) = Figure(summary.m_dTotalReturn);
    args.Out(quick::kAnnualReturn) = Figure(summary.m_dAnnualReturn);
    args.Out(quick::kMaxDrawdown) = Figure(summary.m_dMaxDrawdown);
    args.Out(quick::kVolatility) = Figure(summary.m_dVolatility);
    args.Out(quick::kBestCode) = result.m_sBestCode;
    args.Out(quick::kWorstCode) = result.m_sWorstCode;
    return RecordsetValue(std::move(result.m_oLines));
}

Variant PagesComponent::Dividends(DispatchArgs p_args) {
    FacadeArguments args(dividends::kMethod, p_args);
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    PageQueries pages(database);
    return RecordsetValue(
        DividendRows(database, CodesOf(args, pages, PageKind::Stocks, dividends::kSymbols)));
}

Variant PagesComponent::WatchListMembers(DispatchArgs p_args) {
    FacadeArguments args(members::kMethod, p_args);
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    const int32_t ownerId = Owner(args, members::kOwnerId, OwnerAccess::Read);
    const int32_t listId = args.Long(members::kWatchListId);
    MarketLists lists(database);
    std::optional<WatchListEntry> list =
        lists.OwnedWatchList(ownerId, listId, watch_list_type::kStocks);
    if (!list) {
        list = lists.OwnedWatchList(ownerId, listId, watch_list_type::kIndustries);
    }
    if (!list) {
        args.Out(members::kName) = std::string();
        args.Out(members::kKind) = -1;
        return std::string();
    }
    const bool industries = list->m_lListType == watch_list_type::kIndustries;
    std::vector<std::string> keys;
    for (const int64_t code : WatchListStore(database).ItemCodes(listId)) {
        keys.push_back(std::to_string(code));
    }
    std::string codes;
    for (const PageCode& code : PageQueries(database).Resolve(
             industries ? PageKind::Industries : PageKind::Stocks, keys)) {
        codes += (codes.empty() ? "" : ",") + code.m_sCode;
    }
    args.Out(members::kName) = list->m_sName;
    args.Out(members::kKind) =
        industries ? protocol::page_kind::kIndustries : protocol::page_kind::kStocks;
    return codes;
}

namespace {

struct Bounds {
    double m_dLow;
    double m_dHigh;
};

double NumberWithin(const FacadeArguments& p_oArgs, const Argument& p_oArg, double p_dValue,
                    Bounds p_oBounds, const char* p_sUnit) {
    if (!(p_dValue >= p_oBounds.m_dLow && p_dValue <= p_oBounds.m_dHigh)) {
        p_oArgs.Fail(p_oArg, Variant(p_dValue).ToString() + " is outside " +
                                 Variant(p_oBounds.m_dLow).ToString() + " to " +
                                 Variant(p_oBounds.m_dHigh).ToString() + p_sUnit);
    }
    return p_dValue;
}

}  // namespace

Variant PagesComponent::OptionPrice(DispatchArgs p_args) {
    FacadeArguments args(option::kMethod, p_args);
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    PageQueries pages(database);
    std::string symbol;
    const int64_t stockId = StockOf(args, pages, option::kSymbol, symbol);
    const int32_t day = DayOf(args, pages, option::kDate);
    const std::vector<DailyBar> bars = pages.RecentBars(stockId, day, kYearBars + 1);
    if (bars.empty() || bars.back().m_lDate != day) {
        FailNoBar(args, option::kDate, symbol, day);
    }
    const double close = bars.back().m_dClose;
    const double history = HistoricalVolatility(bars);
    const std::optional<double> given = args.Number(option::kVolatility);
    if (!given && std::isnan(history)) {
        args.Fail(option::kVolatility,
                  "none given, and " + symbol + " has too few prices for a historical one");
    }
    const double volatility =
        NumberWithin(args, option::kVolatility, given.value_or(history), {0.1, 500}, " percent");
    const double strike = NumberWithin(
        args, option::kStrike, args.Number(option::kStrike).value_or(close), {0.01, 1e7}, "");
    const int32_t days = static_cast<int32_t>(
        NumberWithin(args, option::kDays, args.Long(option::kDays), {1, 3650}, " days"));
    const double rate = NumberWithin(args, option::kRate, args.Number(option::kRate).value_or(0),
                                     {-5, 50}, " percent");
    const OptionFigures figures =
        PriceOption({close, strike, days / 365.0, rate / 100, volatility / 100});
    ResultTable row({{"Symbol", FieldKind::Text},
                     {"TradeDate", FieldKind::Date},
                     {"Close", FieldKind::Double},
                     {"HistVolatility", FieldKind::Double},
                     {"Strike", FieldKind::Double},
                     {"Days", FieldKind::Integer},
                     {"Rate", FieldKind::Double},
                     {"Volatility", FieldKind::Double},
                     {"CallPrice", FieldKind::Double},
                     {"PutPrice", FieldKind::Double},
                     {"CallDelta", FieldKind::Double},
                     {"PutDelta", FieldKind::Double},
                     {"Gamma", FieldKind::Double},
                     {"Vega", FieldKind::Double},
                     {"CallTheta", FieldKind::Double},
                     {"PutTheta", FieldKind::Double}});
    const auto figure = [](double p_dValue) {
        return std::isnan(p_dValue) ? FieldValue() : FieldValue(p_dValue);
    };
    row.AppendRow({symbol, int64_t{day}, close, figure(history), strike, int64_t{days}, rate,
                   volatility, figures.m_dCall, figures.m_dPut, figures.m_dCallDelta,
                   figures.m_dPutDelta, figures.m_dGamma, figures.m_dVega, figures.m_dCallTheta,
                   figures.m_dPutTheta});
    return RecordsetValue(std::move(row));
}

Variant PagesComponent::InvestmentDetails(DispatchArgs p_args) {
    FacadeArguments args(investment::kMethod, p_args);
    const int32_t ownerId = Owner(args, investment::kOwnerId, OwnerAccess::Read);
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    PageQueries pages(database);
    std::string symbol;
    const int64_t stockId = StockOf(args, pages, investment::kSymbol, symbol);
    const int32_t day = DayOf(args, pages, investment::kDate);
    // Another owner's portfolio holds nothing for this owner, as the holdings list answers.
    const int32_t portfolioId = args.Long(investment::kPortfolioId);
    const bool owned = PortfolioStore(database).IsOwners(ownerId, portfolioId);
    InvestmentResult result = ReadInvestment(database, owned ? portfolioId : 0, stockId, day);
    args.Out(investment::kLines) = RecordsetValue(std::move(result.m_oLines));
    return RecordsetValue(std::move(result.m_oTrades));
}

namespace {

// A day the store does not have is Empty, as the caller's "none".
Variant DayValue(int32_t p_lDay) {
    return p_lDay == 0 ? Variant() : Variant::Date(static_cast<double>(p_lDay));
}

}  // namespace

Variant PagesComponent::MarketSummary(DispatchArgs p_args) {
    FacadeArguments args(summary::kMethod, p_args);
    SqlDatabase& database = Backend().Database();
    ReadSnapshot snapshot(database);
    PageQueries pages(database);
    const DayRange span = pages.TradingSpan();
    const int32_t day = args.Day(summary::kDay);
    const MarketOrigin origin = ReadMarketOrigin(database);
    args.Out(summary::kFirstDay) = DayValue(span.m_lFirst);
    args.Out(summary::kLastDay) = DayValue(span.m_lLast);
    args.Out(summary::kTradingDay) =
        DayValue(day == 0 ? span.m_lLast : pages.TradingDayOnOrBefore(day));
    args.Out(summary::kOrigin) = MarketOriginText(origin);
    args.Out(summary::kIsSample) = origin.m_eKind == MarketOrigin::Kind::Sample;
    return true;
}

const DispatchTable& PagesComponent::Table() const {
    using Self = PagesComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method(detail::kMethod, detail::kCount, detail::kCount,
                    [](Self& self, DispatchArgs args) { return self.StockDetail(args); })
            .Method(history::kMethod, history::kCount, history::kCount,
                    [](Self& self, DispatchArgs args) { return self.PriceHistory(args); })
            .Method(group::kIndustryMethod, group::kCount, group::kCount,
                    [](Self& self, DispatchArgs args) {
                        return self.GroupDetail(group::kIndustryMethod, args);
                    })
            .Method(group::kSectorMethod, group::kCount, group::kCount,
                    [](Self& self, DispatchArgs args) {
                        return self.GroupDetail(group::kSectorMethod, args);
                    })
            .Method(chart::kMethod, chart::kCount, chart::kCount,
                    [](Self& self, DispatchArgs args) { return self.ChartSeries(args); })
            .Method(analysis::kMethod, analysis::kCount, analysis::kCount,
                    [](Self& self, DispatchArgs args) { return self.StockAnalysis(args); })
            .Method(quick::kMethod, quick::kCount, quick::kCount,
                    [](Self& self, DispatchArgs args) { return self.QuickTest(args); })
            .Method(dividends::kMethod, dividends::kCount, dividends::kCount,
                    [](Self& self, DispatchArgs args) { return self.Dividends(args); })
            .Method(members::kMethod, members::kCount, members::kCount,
                    [](Self& self, DispatchArgs args) { return self.WatchListMembers(args); })
            .Method(option::kMethod, option::kCount, option::kCount,
                    [](Self& self, DispatchArgs args) { return self.OptionPrice(args); })
            .Method(investment::kMethod, investment::kCount, investment::kCount,
                    [](Self& self, DispatchArgs args) { return self.InvestmentDetails(args); })
            .Method(summary::kMethod, summary::kCount, summary::kCount,
                    [](Self& self, DispatchArgs args) { return self.MarketSummary(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
