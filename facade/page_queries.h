// The reads behind the shell's in-app pages: a stock, an industry or a sector on a day, a stock's
// price history, a stock beside its groups, and the series of several stocks or groups at once.
// The result fields are those of the pages' calls (facade_protocol.h); each read is one
// statement, and every symbol, code and day is bound as a parameter.
//
// A page names several stocks or groups in one text; they are resolved once, then travel as their
// ids, which a statement reads from one bound text of comma-separated numbers:
//
//     PageQueries pages(database);
//     std::vector<PageCode> codes = pages.Resolve(PageKind::Stocks, {"ABC", "XYZ"});
//     ResultTable series = pages.ChartSeries(PageKind::Stocks, codes, {first, last}, false);
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "facade/daily_metrics.h"
#include "facade/result_table.h"

namespace qv::facade {

class SqlDatabase;

enum class PageKind { Stocks, Industries, Sectors };

// A stock, industry or sector a caller named: m_sKey as given, m_llId the stock id or the group
// code (0 when nothing matched the key), m_sCode the symbol or code as shown and m_sName its name.
struct PageCode {
    std::string m_sKey;
    int64_t m_llId = 0;
    std::string m_sCode;
    std::string m_sName;
};

// Trading days, both included.
struct DayRange {
    int32_t m_lFirst = 0;
    int32_t m_lLast = 0;
};

// The ids of codes as one text, as the statements bind it: "12,7,40".
std::string IdList(const std::vector<PageCode>& p_aCodes);

// The tables and columns of a kind's daily values, for the statements that read stocks and groups
// alike. A stock's value is its adjusted close; a group's its equal-weight index.
struct SeriesSource {
    const char* m_sTable;
    const char* m_sKey;
    const char* m_sValue;
    const char* m_sVolume;
    // The day key of day 0 of the row of ids k.
    const char* m_sBase;
};
const SeriesSource& SourceOf(PageKind p_eKind);

// The recursive common table "ids (pos, id, rest)" over the text bound as ?1: one row per id
// (pos from 1), and the row pos 0 that starts it.
extern const char* const kIdListCte;

// The common table "market (day, value)": the equal-weight market, every stock with a bar on the
// first day bought in equal amounts at that day's adjusted close, as 100 on the first day. The
// arguments are the parameters holding the first and the last day ("?2").
std::string EqualWeightMarketCte(const char* p_sFirst, const char* p_sLast);

class PageQueries {
  public:
    explicit PageQueries(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    // The first and last trading day of the store; 0 and 0 when it holds no prices.
    DayRange TradingSpan();
    // The first trading day on or after p_lDay; 0 when there is none.
    int32_t TradingDayOnOrAfter(int32_t p_lDay);
    int32_t TradingDayOnOrBefore(int32_t p_lDay);
    // The trading day p_lDays trading days before p_lDay, or the first one.
    int32_t TradingDaysBack(int32_t p_lDay, int32_t p_lDays);

    // The stock of a symbol (any letter case).
    std::optional<int64_t> StockId(const std::string& p_sSymbol);
    // The name of an industry or a sector.
    std::optional<std::string> GroupName(PageKind p_eKind, int64_t p_llCode);
    // The keys in order; a stock key is a symbol, or failing that a Stock_ID.
    std::vector<PageCode> Resolve(PageKind p_eKind, const std::vector<std::string>& p_aKeys);

    // A stock's last p_lCount bars up to the day, oldest first (dates and adjusted closes).
    std::vector<DailyBar> RecentBars(int64_t p_llStockId, int32_t p_lDay, int32_t p_lCount);

    // No rows when the stock has no bar that day.
    ResultTable StockDetail(int64_t p_llStockId, int32_t p_lDay, double p_dStrength);
    ResultTable PriceHistory(int64_t p_llStockId, DayRange p_oDays);
    // An industry or sector (not stocks); no rows when it has no figures that day.
    ResultTable GroupDetail(PageKind p_eKind, int64_t p_llCode, int32_t p_lDay);
    ResultTable GroupMembers(PageKind p_eKind, int64_t p_llCode, int32_t p_lDay);
    // No rows when the stock has no bar that day.
    ResultTable StockAnalysis(int64_t p_llStockId, int32_t p_lDay);
    // Known codes only (m_llId > 0).
    ResultTable ChartSeries(PageKind p_eKind, const std::vector<PageCode>& p_aCodes,
                            DayRange p_oDays, bool p_bAdvanced);

  private:
    int32_t DayQuery(const char* p_sSql, int32_t p_lDay, int32_t p_lSecond = 0);

    SqlDatabase& m_oDatabase;
};

}  // namespace qv::facade
