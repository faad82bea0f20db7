#include "facade/market_queries.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "facade/facade_arguments.h"
#include "facade/market_schema.h"
#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

// Row sources by kind. Aliases as the catalogue's expressions expect them (field_catalogue.cpp).
constexpr const char* kStockSource =
    " FROM stocks s JOIN industries i ON i.ind_code = s.ind_code"
    " JOIN sectors c ON c.sector_code = i.sector_code"
    " JOIN stock_days d ON d.day_key = s.stock_id * 4194304 + ?"
    " LEFT JOIN fundamentals f ON f.stock_id = s.stock_id WHERE 1 = 1";
constexpr const char* kIndustrySource =
    " FROM industries i JOIN sectors c ON c.sector_code = i.sector_code"
    " JOIN group_days g ON g.group_key = (1048576 + i.ind_code) * 4194304 + ?"
    " WHERE 1 = 1";
constexpr const char* kSectorSource =
    " FROM sectors c"
    " JOIN group_days g ON g.group_key = (2 * 1048576 + c.sector_code) * 4194304 + ?"
    " WHERE 1 = 1";
// A holding is a trade bought on or before the day and not sold by then. Its shares and price are
// as traded on the buy date; a split since then changes how many shares it is and what each cost,
// not what it is worth, so they are put on the day's share basis (t below) and valued at the
// day's close as traded. The split between two bars is the ratio of their share factors (shares
// now per share then, daily_metrics.h). A stock's bar of a day is its last on or before the day,
// found by one step back from the day's key. The portfolio, industry and sector always exist:
// joined as LEFT JOINs, SQLite leaves out those no field reads. Binds the day, the portfolio and
// the day twice.
constexpr const char* kHoldingSource =
    " FROM (SELECT y.trade_id, y.portfolio_id, y.stock_id, y.buy_date, y.commission, y.is_short,"
    " y.initial_req, y.maintenance_pct, y.realized_gain,"
    " y.shares * coalesce(b.share_factor / n.share_factor, 1) AS shares,"
    " y.initial_price / coalesce(b.share_factor / n.share_factor, 1) AS initial_price,"
    " n.day_key AS day_key"
    " FROM trades y LEFT JOIN stock_bars b ON b.day_key = (SELECT z.day_key FROM stock_bars z"
    " WHERE z.day_key BETWEEN y.stock_id * 4194304 AND y.stock_id * 4194304 + y.buy_date"
    " ORDER BY z.day_key DESC LIMIT 1)"
    " LEFT JOIN stock_bars n ON n.day_key = (SELECT z.day_key FROM stock_bars z"
    " WHERE z.day_key BETWEEN y.stock_id * 4194304 AND y.stock_id * 4194304 + ?"
    " ORDER BY z.day_key DESC LIMIT 1)"
    " WHERE y.portfolio_id = ? AND y.buy_date <= ? AND (y.sell_date IS NULL OR y.sell_date > ?)) t"
    " LEFT JOIN portfolios p ON p.portfolio_id = t.portfolio_id"
    " JOIN stocks s ON s.stock_id = t.stock_id LEFT JOIN industries i ON i.ind_code = s.ind_code"
    " LEFT JOIN sectors c ON c.sector_code = i.sector_code"
    " LEFT JOIN stock_days_traded d ON d.day_key = t.day_key"
    " LEFT JOIN fundamentals f ON f.stock_id = s.stock_id WHERE 1 = 1";

// Histories bind ?1 the key (symbol or code), ?2 and ?3 the first and last day.
constexpr const char* kStockHistorySource =
    " FROM stocks s JOIN industries i ON i.ind_code = s.ind_code"
    " JOIN sectors c ON c.sector_code = i.sector_code"
    " JOIN stock_days d"
    " ON d.day_key BETWEEN s.stock_id * 4194304 + ?2 AND s.stock_id * 4194304 + ?3"
    " LEFT JOIN fundamentals f ON f.stock_id = s.stock_id"
    " WHERE s.symbol = ?1";
constexpr const char* kIndustryHistorySource =
    " FROM industries i JOIN sectors c ON c.sector_code = i.sector_code"
    " JOIN group_days g ON g.group_key BETWEEN (1048576 + i.ind_code) * 4194304 + ?2"
    " AND (1048576 + i.ind_code) * 4194304 + ?3"
    " WHERE i.ind_code = ?1";
constexpr const char* kSectorHistorySource =
    " FROM sectors c JOIN group_days g"
    " ON g.group_key BETWEEN (2 * 1048576 + c.sector_code) * 4194304 + ?2"
    " AND (2 * 1048576 + c.sector_code) * 4194304 + ?3"
    " WHERE c.sector_code = ?1";

constexpr int32_t kOpenEnd = 2147483647;

// SQL text of the facade's own with the caller's values kept apart as bindings.
class QueryText {
  public:
    QueryText& Add(std::string_view p_sSql) {
        m_sSql += p_sSql;
        return *this;
    }
    QueryText& Add(const QueryText& p_oPart) {
        m_sSql += p_oPart.m_sSql;
        m_aValues.insert(m_aValues.end(), p_oPart.m_aValues.begin(), p_oPart.m_aValues.end());
        return *this;
    }
    QueryText& Value(int64_t p_llValue) {
        m_aValues.emplace_back(p_llValue);
        return *this;
    }
    QueryText& Value(std::string p_sValue) {
        m_aValues.emplace_back(std::move(p_sValue));
        return *this;
    }
    // " AND <column> IN (?, ?, ...)" with one binding per value; no value matches no row.
    template <typename T>
    void AddIn(std::string_view p_sColumn, const std::vector<T>& p_aValues) {
        if (p_aValues.empty()) {
            Add(" AND 0 = 1");
            return;
        }
        Add(" AND ").Add(p_sColumn).Add(" IN (");
        for (size_t i = 0; i < p_aValues.size(); ++i) {
            Add(i == 0 ? "?" : ", ?").Value(p_aValues[i]);
        }
        Add(")");
    }
    // " AND (<condition>)" with its values; nothing for a screen without a condition.
    void AddScreen(const ScreenSql& p_oScreen) {
        if (p_oScreen.m_sWhere.empty()) {
            return;
        }
        Add(" AND (").Add(p_oScreen.m_sWhere).Add(")");
        m_aValues.insert(m_aValues.end(), p_oScreen.m_aValues.begin(), p_oScreen.m_aValues.end());
    }

    SqlStatement Prepare(SqlDatabase& p_oDatabase) const {
        SqlStatement statement = p_oDatabase.Prepare(m_sSql);
        for (size_t i = 0; i < m_aValues.size(); ++i) {
            const int index = static_cast<int>(i) + 1;
            if (const auto* whole = std::get_if<int64_t>(&m_aValues[i])) {
                statement.BindInt64(index, *whole);
            } else if (const auto* number = std::get_if<double>(&m_aValues[i])) {
                statement.BindDouble(index, *number);
            } else {
                statement.BindText(index, std::get<std::string>(m_aValues[i]));
            }
        }
        return statement;
    }

  private:
    std::string m_sSql;
    std::vector<ScreenValue> m_aValues;
};

struct SelectedField {
    std::string m_sName;
    FieldKind m_eKind;
    std::string m_sSql;
};

std::vector<SelectedField> SelectFields(const std::vector<std::string>& p_aNames, RowKind p_eRows) {
    std::vector<SelectedField> fields;
    for (const std::string& requested : p_aNames) {
        const std::string name(TrimWhitespace(requested));
        const bool seen = std::any_of(fields.begin(), fields.end(), [&](const auto& field) {
            return EqualsIgnoreCase(field.m_sName, name);
        });
        if (name.empty() || seen) {
            continue;
        }
        const FieldDefinition* field = FindFieldByName(name);
        const char* sql = field != nullptr ? field->SqlFor(p_eRows) : nullptr;
        fields.push_back({field != nullptr ? field->m_sColumnName : name,
                          field != nullptr ? field->m_eKind : FieldKind::Text,
                          sql != nullptr ? sql : "NULL"});
    }
    return fields;
}

QueryText SelectClause(const std::vector<SelectedField>& p_aFields) {
    QueryText query;
    query.Add("SELECT ");
    if (p_aFields.empty()) {
        query.Add("NULL");
    }
    for (size_t i = 0; i < p_aFields.size(); ++i) {
        query.Add(i == 0 ? "" : ", ").Add(p_aFields[i].m_sSql);
    }
    return query;
}

// What a list is ordered by for a field's expression. SQLite orders a symbol (NOCASE) by its bytes
// with the ASCII letters folded; PostgreSQL's case-insensitive collation would order it by ICU's
// rules, punctuation elsewhere and each comparison many times slower, so there the symbol is
// ordered by its folded bytes, which is SQLite's order.
std::string SortKey(std::string_view p_sSql, SqlDialect p_eDialect) {
    if (p_eDialect == SqlDialect::Postgres && p_sSql == "s.symbol") {
        return "lower(s.symbol COLLATE \"C\")";
    }
    return std::string(p_sSql);
}

// " ORDER BY ..." from an ADO sort clause, then p_sTieBreak so that equal keys keep a fixed order.
std::string OrderBy(const std::string& p_sSort, RowKind p_eRows, const std::string& p_sTieBreak,
                    SqlDialect p_eDialect) {
    std::string order;
    std::string_view rest = p_sSort;
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        std::string_view clause = TrimWhitespace(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        bool descending = false;
        const size_t space = clause.find_last_of(" \t");
        if (space != std::string_view::npos) {
            const std::string_view word = TrimWhitespace(clause.substr(space + 1));
            if (EqualsIgnoreCase(word, "DESC") || EqualsIgnoreCase(word, "ASC")) {
                descending = EqualsIgnoreCase(word, "DESC");
                clause = TrimWhitespace(clause.substr(0, space));
            }
        }
        if (clause.size() >= 2 && clause.front() == '[' && clause.back() == ']') {
            clause = TrimWhitespace(clause.substr(1, clause.size() - 2));
        }
        const FieldDefinition* field = FindFieldByName(clause);
        const char* sql = field != nullptr ? field->SqlFor(p_eRows) : nullptr;
        if (sql == nullptr) {
            continue;
        }
        order += order.empty() ? " ORDER BY " : ", ";
        order += '(';
        order += SortKey(sql, p_eDialect);
        order += descending ? ") DESC" : ") ASC";
    }
    order += order.empty() ? " ORDER BY " : ", ";
    return order + SortKey(p_sTieBreak, p_eDialect);
}

ResultTable RunSelect(SqlDatabase& p_oDatabase, const std::vector<SelectedField>& p_aFields,
                      const QueryText& p_oQuery) {
    std::vector<ResultColumn> columns;
    for (const SelectedField& field : p_aFields) {
        columns.push_back({field.m_sName, field.m_eKind});
    }
    ResultTable table(std::move(columns));
    SqlStatement rows = p_oQuery.Prepare(p_oDatabase);
    while (rows.Step()) {
        AppendStatementRow(rows, table);
    }
    return table;
}

// A LIKE pattern matching texts that start with p_sText, with its wildcards taken literally.
std::string StartsWithPattern(std::string_view p_sText) {
    std::string pattern;
    for (const char ch : p_sText) {
        if (ch == '%' || ch == '_' || ch == '\\') {
            pattern.push_back('\\');
        }
        pattern.push_back(ch);
    }
    return pattern + "%";
}

std::vector<int64_t> NumericKeys(const std::vector<std::string>& p_aKeys) {
    std::vector<int64_t> codes;
    for (const std::string& key : p_aKeys) {
        if (const std::optional<int64_t> code = WholeNumberIn(key)) {
            codes.push_back(*code);
        }
    }
    return codes;
}

std::vector<std::string> TrimmedKeys(const std::vector<std::string>& p_aKeys) {
    std::vector<std::string> trimmed;
    for (const std::string& key : p_aKeys) {
        trimmed.emplace_back(TrimWhitespace(key));
    }
    return trimmed;
}

void AddNameFilter(QueryText& p_oQuery, const char* p_sColumn, const std::string& p_sStart) {
    if (!p_sStart.empty()) {
        // Names match without regard to case, which only SQLite's LIKE does by itself.
        p_oQuery.Add(" AND lower(")
            .Add(p_sColumn)
            .Add(") LIKE lower(?) ESCAPE '\\'")
            .Value(StartsWithPattern(p_sStart));
    }
}

ListResult FinishList(SqlDatabase& p_oDatabase, const std::vector<SelectedField>& p_aFields,
                      QueryText& p_oQuery, const ListRequest& p_oRequest, RowKind p_eRows,
                      const char* p_sTieBreak, int32_t p_lDay) {
    p_oQuery.Add(OrderBy(p_oRequest.m_sSort, p_eRows, p_sTieBreak, p_oDatabase.Dialect()));
    if (p_oRequest.m_lMaxRows > 0) {
        p_oQuery.Add(" LIMIT ?").Value(int64_t{p_oRequest.m_lMaxRows} + 1);
    }
    ListResult result{RunSelect(p_oDatabase, p_aFields, p_oQuery), p_lDay, false};
    if (p_oRequest.m_lMaxRows > 0 &&
        result.m_oTable.RowCount() > static_cast<size_t>(p_oRequest.m_lMaxRows)) {
        result.m_oTable.Truncate(static_cast<size_t>(p_oRequest.m_lMaxRows));
        result.m_bMoreRows = true;
    }
    return result;
}

using KeyValue = std::variant<int64_t, std::string>;

ResultTable History(SqlDatabase& p_oDatabase, RowKind p_eRows, const char* p_sSource,
                    const char* p_sDateColumn, const KeyValue& p_vKey,
                    const HistoryRequest& p_oRequest) {
    const std::vector<SelectedField> fields = SelectFields(p_oRequest.m_aFields, p_eRows);
    QueryText query = SelectClause(fields);
    query.Add(p_sSource);
    std::visit([&](const auto& p_vValue) { query.Value(p_vValue); }, p_vKey);
    // Days stay within one stock's day keys.
    const auto Clamp = [](int32_t p_lDay, int64_t p_llOpen) {
        return p_lDay == 0 ? p_llOpen : std::clamp<int64_t>(p_lDay, 0, kDayKeyStride - 1);
    };
    int64_t first = Clamp(p_oRequest.m_lFirstDate, 0);
    int64_t last = Clamp(p_oRequest.m_lLastDate, kDayKeyStride - 1);
    if (first > last) {
        std::swap(first, last);
    }
    query.Value(first).Value(last);
    query.Add(OrderBy(p_oRequest.m_sSort, p_eRows, std::string(p_sDateColumn) + " DESC",
                      p_oDatabase.Dialect()));
    if (p_oRequest.m_lMaxRows > 0) {
        query.Add(" LIMIT ?").Value(int64_t{p_oRequest.m_lMaxRows});
    }
    return RunSelect(p_oDatabase, fields, query);
}

// FROM and WHERE of a list: the rows of the kind on the day, narrowed as the request asks.
QueryText StockRows(const ListRequest& p_oRequest, int32_t p_lDay) {
    QueryText query;
    query.Add(kStockSource).Value(int64_t{p_lDay});
    if (p_oRequest.m_lIndCode > 0) {
        query.Add(" AND s.ind_code = ?").Value(int64_t{p_oRequest.m_lIndCode});
    }
    if (p_oRequest.m_lSectorCode > 0) {
        query.Add(" AND i.sector_code = ?").Value(int64_t{p_oRequest.m_lSectorCode});
    }
    if (p_oRequest.m_lWatchListId > 0) {
        query
            .Add(
                " AND s.stock_id IN (SELECT item_code FROM watch_list_items WHERE "
                "watch_list_id = ?)")
            .Value(int64_t{p_oRequest.m_lWatchListId});
    }
    if (p_oRequest.m_lPortfolioId > 0) {
        query.Add(" AND s.stock_id IN (SELECT stock_id FROM trades WHERE portfolio_id = ?)")
            .Value(int64_t{p_oRequest.m_lPortfolioId});
    }
    if (!p_oRequest.m_aKeys.empty()) {
        query.AddIn("s.symbol", TrimmedKeys(p_oRequest.m_aKeys));
    }
    AddNameFilter(query, "s.company_name", p_oRequest.m_sNameStart);
    return query;
}

QueryText IndustryRows(const ListRequest& p_oRequest, int32_t p_lDay) {
    QueryText query;
    query.Add(kIndustrySource).Value(int64_t{p_lDay});
    if (p_oRequest.m_lSectorCode > 0) {
        query.Add(" AND i.sector_code = ?").Value(int64_t{p_oRequest.m_lSectorCode});
    }
    if (p_oRequest.m_lWatchListId > 0) {
        query
            .Add(
                " AND i.ind_code IN (SELECT item_code FROM watch_list_items WHERE "
                "watch_list_id = ?)")
            .Value(int64_t{p_oRequest.m_lWatchListId});
    }
    if (!p_oRequest.m_aKeys.empty()) {
        query.AddIn("i.ind_code", NumericKeys(p_oRequest.m_aKeys));
    }
    AddNameFilter(query, "i.name", p_oRequest.m_sNameStart);
    return query;
}

QueryText SectorRows(const ListRequest& p_oRequest, int32_t p_lDay) {
    QueryText query;
    query.Add(kSectorSource).Value(int64_t{p_lDay});
    if (!p_oRequest.m_aKeys.empty()) {
        query.AddIn("c.sector_code", NumericKeys(p_oRequest.m_aKeys));
    }
    AddNameFilter(query, "c.name", p_oRequest.m_sNameStart);
    return query;
}

QueryText HoldingRows(const ListRequest& p_oRequest, int32_t p_lDay) {
    QueryText query;
    query.Add(kHoldingSource)
        .Value(int64_t{p_lDay})
        .Value(int64_t{p_oRequest.m_lPortfolioId})
        .Value(int64_t{p_lDay})
        .Value(int64_t{p_lDay});
    if (!p_oRequest.m_aKeys.empty()) {
        query.AddIn("s.symbol", TrimmedKeys(p_oRequest.m_aKeys));
    }
    return query;
}

QueryText Rows(RowKind p_eRows, const ListRequest& p_oRequest, int32_t p_lDay) {
    QueryText query;
    switch (p_eRows) {
        case RowKind::Stock:
            query = StockRows(p_oRequest, p_lDay);
            break;
        case RowKind::Industry:
            query = IndustryRows(p_oRequest, p_lDay);
            break;
        case RowKind::Sector:
            query = SectorRows(p_oRequest, p_lDay);
            break;
        case RowKind::Holding:
            query = HoldingRows(p_oRequest, p_lDay);
            break;
    }
    query.AddScreen(p_oRequest.m_oScreen);
    return query;
}

// Rows with equal sort keys keep a fixed order.
const char* TieBreak(RowKind p_eRows) {
    switch (p_eRows) {
        case RowKind::Industry:
            return "i.name";
        case RowKind::Sector:
            return "c.name";
        case RowKind::Holding:
            return "t.trade_id";
        default:
            return "s.symbol";
    }
}

}  // namespace

int32_t MarketQueries::TradingDayOnOrBefore(int32_t p_lDate) {
    SqlStatement query =
        m_oDatabase.Prepare("SELECT max(trade_date) FROM trading_days WHERE trade_date <= ?1");
    query.BindInt64(1, p_lDate > 0 ? p_lDate : kOpenEnd);
    return query.Step() && !query.ColumnIsNull(0) ? static_cast<int32_t>(query.ColumnInt64(0)) : 0;
}

ListResult MarketQueries::Stocks(const ListRequest& p_oRequest) {
    return List(RowKind::Stock, p_oRequest);
}

ListResult MarketQueries::Industries(const ListRequest& p_oRequest) {
    return List(RowKind::Industry, p_oRequest);
}

ListResult MarketQueries::Sectors(const ListRequest& p_oRequest) {
    return List(RowKind::Sector, p_oRequest);
}

ListResult MarketQueries::Holdings(const ListRequest& p_oRequest) {
    return List(RowKind::Holding, p_oRequest);
}

ListResult MarketQueries::List(RowKind p_eRows, const ListRequest& p_oRequest) {
    const int32_t day = TradingDayOnOrBefore(p_oRequest.m_lDate);
    const std::vector<SelectedField> fields = SelectFields(p_oRequest.m_aFields, p_eRows);
    QueryText query = SelectClause(fields);
    query.Add(Rows(p_eRows, p_oRequest, day));
    return FinishList(m_oDatabase, fields, query, p_oRequest, p_eRows, TieBreak(p_eRows), day);
}

int64_t MarketQueries::Count(RowKind p_eRows, const ListRequest& p_oRequest) {
    const int32_t day = TradingDayOnOrBefore(p_oRequest.m_lDate);
    QueryText query;
    query.Add("SELECT count(*)").Add(Rows(p_eRows, p_oRequest, day));
    SqlStatement count = query.Prepare(m_oDatabase);
    return count.Step() ? count.ColumnInt64(0) : 0;
}

ResultTable MarketQueries::StockHistory(const std::string& p_sSymbol,
                                        const HistoryRequest& p_oRequest) {
    return History(m_oDatabase, RowKind::Stock, kStockHistorySource, "d.trade_date",
                   std::string(TrimWhitespace(p_sSymbol)), p_oRequest);
}

ResultTable MarketQueries::IndustryHistory(int32_t p_lIndCode, const HistoryRequest& p_oRequest) {
    return History(m_oDatabase, RowKind::Industry, kIndustryHistorySource, "g.trade_date",
                   int64_t{p_lIndCode}, p_oRequest);
}

ResultTable MarketQueries::SectorHistory(int32_t p_lSectorCode, const HistoryRequest& p_oRequest) {
    return History(m_oDatabase, RowKind::Sector, kSectorHistorySource, "g.trade_date",
                   int64_t{p_lSectorCode}, p_oRequest);
}

ResultTable MarketQueries::FieldCatalogue() {
    ResultTable table({{"Parameter_ID", FieldKind::Integer},
                       {"Column_Name", FieldKind::Text},
                       {"Caption", FieldKind::Text},
                       {"DataType_ID", FieldKind::Integer},
                       {"Table_Mask", FieldKind::Integer},
                       {"Group", FieldKind::Integer},
                       {"Column_Format", FieldKind::Text},
                       {"Description", FieldKind::Text}});
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT parameter_id, column_name, caption, data_type_id, table_mask, group_id, "
        "column_format, meaning FROM field_catalogue ORDER BY sort_order, parameter_id");
    while (query.Step()) {
        AppendStatementRow(query, table);
    }
    return table;
}

}  // namespace qv::facade
