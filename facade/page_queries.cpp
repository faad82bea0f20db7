#include "facade/page_queries.h"

#include <algorithm>

#include "facade/field_catalogue.h"
#include "facade/market_queries.h"
#include "facade/sqlite_database.h"

namespace qv::facade {

namespace {

const SeriesSource kStockSource{"stock_days", "day_key", "adj_close", "volume", "k.id * 4194304"};
const SeriesSource kIndustrySource{"group_days", "group_key", "index_value", "total_volume",
                                   "(1048576 + k.id) * 4194304"};
const SeriesSource kSectorSource{"group_days", "group_key", "index_value", "total_volume",
                                 "(2097152 + k.id) * 4194304"};

// The stock, or the group, each key names, in the keys' order. The keys come as one text (?1)
// split as the ids are; the resolved keys hold no commas, since a comma is what separates them.
constexpr const char* kKeyListCte =
    "keys (pos, key, rest) AS (SELECT 0, NULL, ?1 || ',' UNION ALL SELECT pos + 1,"
    " substr(rest, 1, instr(rest, ',') - 1), substr(rest, instr(rest, ',') + 1)"
    " FROM keys WHERE rest <> '')";
// A symbol first; a key of digits only that is no symbol is a Stock_ID.
constexpr const char* kResolveStocks =
    " SELECT k.key, s.stock_id, s.symbol, s.company_name FROM keys k LEFT JOIN stocks s"
    " ON s.stock_id = coalesce((SELECT x.stock_id FROM stocks x WHERE x.symbol = k.key),"
    " CASE WHEN k.key <> '' AND k.key NOT GLOB '*[^0-9]*' THEN CAST(k.key AS INTEGER) END)"
    " WHERE k.pos > 0 ORDER BY k.pos";
constexpr const char* kResolveIndustries =
    " SELECT k.key, i.ind_code, i.ind_code, i.name FROM keys k LEFT JOIN industries i"
    " ON i.ind_code = CAST(k.key AS INTEGER) WHERE k.pos > 0 ORDER BY k.pos";
constexpr const char* kResolveSectors =
    " SELECT k.key, c.sector_code, c.sector_code, c.name FROM keys k LEFT JOIN sectors c"
    " ON c.sector_code = CAST(k.key AS INTEGER) WHERE k.pos > 0 ORDER BY k.pos";

constexpr const char* kStockDetailSql =
    "SELECT s.symbol, s.company_name, i.ind_code, i.name, c.sector_code, c.name, d.trade_date,"
    " d.open, d.high, d.low, d.close, d.volume, d.high_52w, d.low_52w, d.ma_50, d.ma_200, ?3,"
    " d.rs_rank, ";
constexpr const char* kStockDetailSource =
    " FROM stocks s JOIN industries i ON i.ind_code = s.ind_code"
    " JOIN sectors c ON c.sector_code = i.sector_code"
    " JOIN stock_days d ON d.day_key = s.stock_id * 4194304 + ?2 WHERE s.stock_id = ?1";

constexpr const char* kPriceHistorySql =
    "SELECT trade_date, open, high, low, close, volume, adj_close, adj_close / close"
    " FROM stock_days_traded WHERE day_key BETWEEN ?1 * 4194304 + ?2 AND ?1 * 4194304 + ?3"
    " ORDER BY day_key DESC";

// A group's place among the groups of its kind that day, by the members' average ranking.
constexpr const char* kIndustryDetailSql =
    "SELECT i.ind_code, i.name, c.sector_code, c.name, g.trade_date, g.index_value,"
    " g.avg_pct_change, g.advancing, g.declining, g.member_count, g.total_volume, g.avg_rank,"
    " CASE WHEN g.avg_rank IS NOT NULL THEN (SELECT count(*) + 1 FROM industries o"
    " JOIN group_days x ON x.group_key = (1048576 + o.ind_code) * 4194304 + ?2"
    " WHERE x.avg_rank > g.avg_rank) END"
    " FROM industries i JOIN sectors c ON c.sector_code = i.sector_code"
    " JOIN group_days g ON g.group_key = (1048576 + i.ind_code) * 4194304 + ?2"
    " WHERE i.ind_code = ?1";
constexpr const char* kSectorDetailSql =
    "SELECT c.sector_code, c.name, c.sector_code, c.name, g.trade_date, g.index_value,"
    " g.avg_pct_change, g.advancing, g.declining, g.member_count, g.total_volume, g.avg_rank,"
    " CASE WHEN g.avg_rank IS NOT NULL THEN (SELECT count(*) + 1 FROM sectors o"
    " JOIN group_days x ON x.group_key = (2097152 + o.sector_code) * 4194304 + ?2"
    " WHERE x.avg_rank > g.avg_rank) END"
    " FROM sectors c JOIN group_days g ON g.group_key = (2097152 + c.sector_code) * 4194304 + ?2"
    " WHERE c.sector_code = ?1";

constexpr const char* kIndustryMembersSql =
    "SELECT s.symbol, s.company_name, d.close, d.pct_change, d.volume, d.rs_rank, ";
constexpr const char* kIndustryMembersSource =
    ", NULL, NULL FROM stocks s JOIN stock_days d ON d.day_key = s.stock_id * 4194304 + ?2"
    " WHERE s.ind_code = ?1 ORDER BY s.symbol";
constexpr const char* kSectorMembersSql =
    "SELECT i.ind_code, i.name, g.index_value, g.avg_pct_change, g.total_volume, g.avg_rank,"
    " NULL, g.advancing, g.member_count FROM industries i"
    " JOIN group_days g ON g.group_key = (1048576 + i.ind_code) * 4194304 + ?2"
    " WHERE i.sector_code = ?1 ORDER BY i.name";

// The stock's row, then its industry's and its sector's, with the counts of their members by
// recommendation (members without a ranking that day are in none).
constexpr const char* kAnalysisCte =
    "WITH stock AS (SELECT s.stock_id, s.symbol, s.company_name, s.ind_code,"
    " i.name AS ind_name, i.sector_code, c.name AS sector_name FROM stocks s"
    " JOIN industries i ON i.ind_code = s.ind_code"
    " JOIN sectors c ON c.sector_code = i.sector_code WHERE s.stock_id = ?1),"
    " counts AS (SELECT m.ind_code, coalesce(sum(CASE WHEN d.rs_rank >= 70 THEN 1 ELSE 0 END), 0)"
    " AS buy, coalesce(sum(CASE WHEN d.rs_rank > 30 AND d.rs_rank < 70 THEN 1 ELSE 0 END), 0)"
    " AS hold, coalesce(sum(CASE WHEN d.rs_rank <= 30 THEN 1 ELSE 0 END), 0) AS sell FROM stocks m"
    " JOIN industries i ON i.ind_code = m.ind_code"
    " JOIN stock_days d ON d.day_key = m.stock_id * 4194304 + ?2"
    " WHERE i.sector_code = (SELECT sector_code FROM stock) GROUP BY m.ind_code)"
    " SELECT 'Stock', x.symbol, x.company_name, d.trade_date, d.close, d.pct_change,"
    " d.high_52w, d.low_52w, d.rs_rank, ";
constexpr const char* kAnalysisGroups =
    ", NULL, NULL, NULL, NULL FROM stock x"
    " JOIN stock_days d ON d.day_key = x.stock_id * 4194304 + ?2"
    " UNION ALL SELECT 'Industry', CAST(x.ind_code AS TEXT), x.ind_name, g.trade_date,"
    " g.index_value, g.avg_pct_change, NULL, NULL, g.avg_rank, NULL,"
    " coalesce(n.buy, 0), coalesce(n.hold, 0), coalesce(n.sell, 0), g.member_count FROM stock x"
    " JOIN group_days g ON g.group_key = (1048576 + x.ind_code) * 4194304 + ?2"
    " LEFT JOIN counts n ON n.ind_code = x.ind_code"
    " UNION ALL SELECT 'Sector', CAST(x.sector_code AS TEXT), x.sector_name, g.trade_date,"
    " g.index_value, g.avg_pct_change, NULL, NULL, g.avg_rank, NULL,"
    " (SELECT coalesce(sum(CAST(buy AS REAL)), 0.0) FROM counts),"
    " (SELECT coalesce(sum(CAST(hold AS REAL)), 0.0) FROM counts),"
    " (SELECT coalesce(sum(CAST(sell AS REAL)), 0.0) FROM counts), g.member_count FROM stock x"
    " JOIN group_days g ON g.group_key = (2097152 + x.sector_code) * 4194304 + ?2";

constexpr int32_t kShortBars = 50;
constexpr int32_t kLongBars = 200;

std::string RecommendationSql() {
    return FindFieldByName("REC")->SqlFor(RowKind::Stock);
}

ResultTable Run(SqlStatement& p_oQuery, std::vector<ResultColumn> p_aColumns) {
    ResultTable table(std::move(p_aColumns));
    AppendStatementRows(p_oQuery, table);
    return table;
}

FieldKind CodeKind(PageKind p_eKind) {
    return p_eKind == PageKind::Stocks ? FieldKind::Text : FieldKind::Integer;
}

// A row's code: the stock's symbol, or the group's code.
std::string CodeSql(PageKind p_eKind) {
    return p_eKind == PageKind::Stocks ? "(SELECT symbol FROM stocks WHERE stock_id = k.id)"
                                       : "k.id";
}

// The series of the codes from the first day on, with the averages over bars before it too
// (?3, the first bar they read) and the strength against the market.
std::string AdvancedSeriesSql(PageKind p_eKind) {
    const SeriesSource& source = SourceOf(p_eKind);
    const std::string value = std::string("d.") + source.m_sValue;
    const std::string window = std::string(" PARTITION BY k.pos ORDER BY d.") + source.m_sKey;
    return std::string("WITH RECURSIVE ") + kIdListCte + ", bars AS (SELECT k.pos AS pos, " +
           CodeSql(p_eKind) + " AS code, d.trade_date AS day, " + value + " AS value, d." +
           source.m_sVolume + " AS volume, avg(" + value + ") OVER w50 AS ma50," +
           " count(*) OVER w50 AS n50, avg(" + value + ") OVER w200 AS ma200," +
           " count(*) OVER w200 AS n200 FROM ids k JOIN " + source.m_sTable + " d ON d." +
           source.m_sKey + " BETWEEN " + source.m_sBase + " + ?3 AND " + source.m_sBase +
           " + ?4 WHERE k.pos > 0 WINDOW w50 AS (" + window + " ROWS 49 PRECEDING), w200 AS (" +
           window + " ROWS 199 PRECEDING)), " + EqualWeightMarketCte("?2", "?4") +
           " SELECT b.day, b.code, b.value, b.volume, CASE WHEN b.n50 = " +
           std::to_string(kShortBars) +
           " THEN b.ma50 END, CASE WHEN b.n200 = " + std::to_string(kLongBars) +
           " THEN b.ma200 END," +
           " 100.0 * b.value / first_value(b.value) OVER (PARTITION BY b.pos ORDER BY b.day)" +
           " / (m.value / 100.0) FROM bars b LEFT JOIN market m ON m.day = b.day" +
           " WHERE b.day >= ?2 ORDER BY b.pos, b.day";
}

std::string PlainSeriesSql(PageKind p_eKind) {
    const SeriesSource& source = SourceOf(p_eKind);
    return std::string("WITH RECURSIVE ") + kIdListCte + " SELECT d.trade_date, " +
           CodeSql(p_eKind) + ", d." + source.m_sValue + ", d." + source.m_sVolume + " FROM ids k" +
           " JOIN " + source.m_sTable + " d ON d." + source.m_sKey + " BETWEEN " + source.m_sBase +
           " + ?2 AND " + source.m_sBase + " + ?4 WHERE k.pos > 0" + " ORDER BY k.pos, d." +
           source.m_sKey;
}

}  // namespace

const char* const kIdListCte =
    "ids (pos, id, rest) AS (SELECT 0, NULL, ?1 || ',' UNION ALL SELECT pos + 1,"
    " CAST(substr(rest, 1, instr(rest, ',') - 1) AS INTEGER), substr(rest, instr(rest, ',') + 1)"
    " FROM ids WHERE rest <> '')";

std::string EqualWeightMarketCte(const char* p_sFirst, const char* p_sLast) {
    return std::string("market (day, value) AS (SELECT d.trade_date, 100.0 * avg(d.adj_close /") +
           " b.adj_close) FROM stocks s JOIN stock_days b ON b.day_key = s.stock_id * 4194304 + " +
           p_sFirst + " JOIN stock_days d ON d.day_key BETWEEN b.day_key AND s.stock_id *" +
           " 4194304 + " + p_sLast + " GROUP BY d.trade_date)";
}

const SeriesSource& SourceOf(PageKind p_eKind) {
    switch (p_eKind) {
        case PageKind::Stocks:
            return kStockSource;
        case PageKind::Industries:
            return kIndustrySource;
        case PageKind::Sectors:
            return kSectorSource;
    }
    return kStockSource;
}

std::string IdList(const std::vector<PageCode>& p_aCodes) {
    std::string ids;
    for (const PageCode& code : p_aCodes) {
        ids += (ids.empty() ? "" : ",") + std::to_string(code.m_llId);
    }
    return ids;
}

DayRange PageQueries::TradingSpan() {
    SqlStatement query =
        m_oDatabase.Prepare("SELECT min(trade_date), max(trade_date) FROM trading_days");
    if (!query.Step() || query.ColumnIsNull(0)) {
        return {};
    }
    return {static_cast<int32_t>(query.ColumnInt64(0)), static_cast<int32_t>(query.ColumnInt64(1))};
}

int32_t PageQueries::DayQuery(const char* p_sSql, int32_t p_lDay, int32_t p_lSecond) {
    SqlStatement query = m_oDatabase.Prepare(p_sSql);
    query.BindInt64(1, p_lDay);
    if (p_lSecond > 0) {
        query.BindInt64(2, p_lSecond);
    }
    return query.Step() && !query.ColumnIsNull(0) ? static_cast<int32_t>(query.ColumnInt64(0)) : 0;
}

int32_t PageQueries::TradingDayOnOrAfter(int32_t p_lDay) {
    return DayQuery("SELECT min(trade_date) FROM trading_days WHERE trade_date >= ?1", p_lDay);
}

int32_t PageQueries::TradingDayOnOrBefore(int32_t p_lDay) {
    return MarketQueries(m_oDatabase).TradingDayOnOrBefore(p_lDay);
}

int32_t PageQueries::TradingDaysBack(int32_t p_lDay, int32_t p_lDays) {
    const int32_t back = DayQuery(
        "SELECT trade_date FROM trading_days WHERE trade_date <= ?1 ORDER BY trade_date DESC"
        " LIMIT 1 OFFSET ?2",
        p_lDay, p_lDays);
    return back > 0 ? back : TradingSpan().m_lFirst;
}

std::optional<int64_t> PageQueries::StockId(const std::string& p_sSymbol) {
    SqlStatement query = m_oDatabase.Prepare("SELECT stock_id FROM stocks WHERE symbol = ?1");
    query.BindText(1, p_sSymbol);
    return query.Step() ? std::optional(query.ColumnInt64(0)) : std::nullopt;
}

std::optional<std::string> PageQueries::GroupName(PageKind p_eKind, int64_t p_llCode) {
    SqlStatement query = m_oDatabase.Prepare(
        p_eKind == PageKind::Industries ? "SELECT name FROM industries WHERE ind_code = ?1"
                                        : "SELECT name FROM sectors WHERE sector_code = ?1");
    query.BindInt64(1, p_llCode);
    return query.Step() ? std::optional(query.ColumnText(0)) : std::nullopt;
}

std::vector<PageCode> PageQueries::Resolve(PageKind p_eKind,
                                           const std::vector<std::string>& p_aKeys) {
    std::string keys;
    for (const std::string& key : p_aKeys) {
        keys += (keys.empty() ? "" : ",") + key;
    }
    const char* select = p_eKind == PageKind::Stocks       ? kResolveStocks
                         : p_eKind == PageKind::Industries ? kResolveIndustries
                                                           : kResolveSectors;
    SqlStatement query = m_oDatabase.Prepare(std::string("WITH RECURSIVE ") + kKeyListCte + select);
    query.BindText(1, keys);
    std::vector<PageCode> codes;
    while (query.Step()) {
        PageCode code;
        code.m_sKey = query.ColumnText(0);
        if (!query.ColumnIsNull(1)) {
            code.m_llId = query.ColumnInt64(1);
            code.m_sCode = query.ColumnText(2);
            code.m_sName = query.ColumnText(3);
        }
        codes.push_back(std::move(code));
    }
    return codes;
}

std::vector<DailyBar> PageQueries::RecentBars(int64_t p_llStockId, int32_t p_lDay,
                                              int32_t p_lCount) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT trade_date, close, adj_close FROM stock_days"
        " WHERE day_key BETWEEN ?1 * 4194304 AND ?1 * 4194304 + ?2 ORDER BY day_key DESC"
        " LIMIT ?3");
    query.BindInt64(1, p_llStockId);
    query.BindInt64(2, p_lDay);
    query.BindInt64(3, p_lCount);
    std::vector<DailyBar> bars;
    while (query.Step()) {
        DailyBar bar;
        bar.m_lDate = static_cast<int32_t>(query.ColumnInt64(0));
        bar.m_dClose = query.ColumnDouble(1);
        bar.m_dAdjClose = query.ColumnDouble(2);
        bars.push_back(bar);
    }
    std::reverse(bars.begin(), bars.end());
    return bars;
}

ResultTable PageQueries::StockDetail(int64_t p_llStockId, int32_t p_lDay, double p_dStrength) {
    SqlStatement query = m_oDatabase.Prepare(std::string(kStockDetailSql) + RecommendationSql() +
                                             kStockDetailSource);
    query.BindInt64(1, p_llStockId);
    query.BindInt64(2, p_lDay);
    query.BindOptionalDouble(3, p_dStrength);
    return Run(query, {{"Symbol", FieldKind::Text},
                       {"CompanyName", FieldKind::Text},
                       {"IndCode", FieldKind::Integer},
                       {"IndName", FieldKind::Text},
                       {"SectorCode", FieldKind::Integer},
                       {"SectorName", FieldKind::Text},
                       {"TradeDate", FieldKind::Date},
                       {"Open", FieldKind::Double},
                       {"High", FieldKind::Double},
                       {"Low", FieldKind::Double},
                       {"Close", FieldKind::Double},
                       {"Volume", FieldKind::Integer},
                       {"High52", FieldKind::Double},
                       {"Low52", FieldKind::Double},
                       {"MA50", FieldKind::Double},
                       {"MA200", FieldKind::Double},
                       {"RelStrength", FieldKind::Double},
                       {"RSRank", FieldKind::Integer},
                       {"REC", FieldKind::Text}});
}

ResultTable PageQueries::PriceHistory(int64_t p_llStockId, DayRange p_oDays) {
    SqlStatement query = m_oDatabase.Prepare(kPriceHistorySql);
    query.BindInt64(1, p_llStockId);
    query.BindInt64(2, p_oDays.m_lFirst);
    query.BindInt64(3, p_oDays.m_lLast);
    return Run(query, {{"TradeDate", FieldKind::Date},
                       {"Open", FieldKind::Double},
                       {"High", FieldKind::Double},
                       {"Low", FieldKind::Double},
                       {"Close", FieldKind::Double},
                       {"Volume", FieldKind::Integer},
                       {"AdjClose", FieldKind::Double},
                       {"AdjFactor", FieldKind::Double}});
}

ResultTable PageQueries::GroupDetail(PageKind p_eKind, int64_t p_llCode, int32_t p_lDay) {
    SqlStatement query = m_oDatabase.Prepare(p_eKind == PageKind::Industries ? kIndustryDetailSql
                                                                             : kSectorDetailSql);
    query.BindInt64(1, p_llCode);
    query.BindInt64(2, p_lDay);
    return Run(query, {{"Code", FieldKind::Integer},
                       {"Name", FieldKind::Text},
                       {"SectorCode", FieldKind::Integer},
                       {"SectorName", FieldKind::Text},
                       {"TradeDate", FieldKind::Date},
                       {"IndexValue", FieldKind::Double},
                       {"PctChange", FieldKind::Double},
                       {"Advancing", FieldKind::Integer},
                       {"Declining", FieldKind::Integer},
                       {"MemberCount", FieldKind::Integer},
                       {"Volume", FieldKind::Integer},
                       {"RSRank", FieldKind::Double},
                       {"Rank", FieldKind::Integer}});
}

ResultTable PageQueries::GroupMembers(PageKind p_eKind, int64_t p_llCode, int32_t p_lDay) {
    const bool stocks = p_eKind == PageKind::Industries;
    SqlStatement query = m_oDatabase.Prepare(
        stocks ? std::string(kIndustryMembersSql) + RecommendationSql() + kIndustryMembersSource
               : std::string(kSectorMembersSql));
    query.BindInt64(1, p_llCode);
    query.BindInt64(2, p_lDay);
    return Run(query, {{"Code", stocks ? FieldKind::Text : FieldKind::Integer},
                       {"Name", FieldKind::Text},
                       {"Value", FieldKind::Double},
                       {"PctChange", FieldKind::Double},
                       {"Volume", FieldKind::Integer},
                       {"RSRank", FieldKind::Double},
                       {"REC", FieldKind::Text},
                       {"Advancing", FieldKind::Integer},
                       {"MemberCount", FieldKind::Integer}});
}

ResultTable PageQueries::StockAnalysis(int64_t p_llStockId, int32_t p_lDay) {
    SqlStatement query =
        m_oDatabase.Prepare(std::string(kAnalysisCte) + RecommendationSql() + kAnalysisGroups);
    query.BindInt64(1, p_llStockId);
    query.BindInt64(2, p_lDay);
    ResultTable rows = Run(query, {{"Level", FieldKind::Text},
                                   {"Code", FieldKind::Text},
                                   {"Name", FieldKind::Text},
                                   {"TradeDate", FieldKind::Date},
                                   {"Value", FieldKind::Double},
                                   {"PctChange", FieldKind::Double},
                                   {"High52", FieldKind::Double},
                                   {"Low52", FieldKind::Double},
                                   {"RSRank", FieldKind::Double},
                                   {"REC", FieldKind::Text},
                                   {"Buy", FieldKind::Integer},
                                   {"Hold", FieldKind::Integer},
                                   {"Sell", FieldKind::Integer},
                                   {"MemberCount", FieldKind::Integer}});
    // The groups have figures on every day a member has a bar; without the stock's row there is
    // nothing to set them against.
    if (rows.Empty() || !std::holds_alternative<std::string>(rows.Value(0, "Level")) ||
        std::get<std::string>(rows.Value(0, "Level")) != "Stock") {
        return ResultTable(rows.Columns());
    }
    return rows;
}

ResultTable PageQueries::ChartSeries(PageKind p_eKind, const std::vector<PageCode>& p_aCodes,
                                     DayRange p_oDays, bool p_bAdvanced) {
    SqlStatement query =
        m_oDatabase.Prepare(p_bAdvanced ? AdvancedSeriesSql(p_eKind) : PlainSeriesSql(p_eKind));
    query.BindText(1, IdList(p_aCodes));
    query.BindInt64(2, p_oDays.m_lFirst);
    query.BindInt64(
        3, p_bAdvanced ? TradingDaysBack(p_oDays.m_lFirst, kLongBars - 1) : p_oDays.m_lFirst);
    query.BindInt64(4, p_oDays.m_lLast);
    std::vector<ResultColumn> columns{{"TradeDate", FieldKind::Date},
                                      {"Code", CodeKind(p_eKind)},
                                      {"Value", FieldKind::Double},
                                      {"Volume", FieldKind::Integer}};
    if (p_bAdvanced) {
        columns.insert(columns.end(), {{"MA50", FieldKind::Double},
                                       {"MA200", FieldKind::Double},
                                       {"RelStrength", FieldKind::Double}});
    }
    return Run(query, std::move(columns));
}

}  // namespace qv::facade
