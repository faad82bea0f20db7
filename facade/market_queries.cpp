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
constexpr const char* kHoldingSource =
    " FROM trades t JOIN portfolios p ON p.portfolio_id = t.portfolio_id"
    " JOIN stocks s ON s.stock_id = t.stock_id JOIN industries i ON i.ind_code = s.ind_code"
    " JOIN sectors c ON c.sector_code = i.sector_code"
    " LEFT JOIN stock_days d ON d.day_key ="
    " (SELECT max(x.day_key) FROM stock_days x"
    " WHERE x.day_key BETWEEN s.stock_id * 4194304 AND s.stock_id * 4194304 + ?)"
    " LEFT JOIN fundamentals f ON f.stock_id = s.stock_id WHERE t.portfolio_id = ?"
    " AND t.buy_date <= ?";
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

    SqliteStatement Prepare(SqliteDatabase& p_oDatabase) const {
        SqliteStatement oStatement = p_oDatabase.Prepare(m_sSql);
        for (size_t i = 0; i < m_aValues.size(); ++i) {
            const int lIndex = static_cast<int>(i) + 1;
            if (const auto* llValue = std::get_if<int64_t>(&m_aValues[i])) {
                oStatement.BindInt64(lIndex, *llValue);
            } else {
                oStatement.BindText(lIndex, std::get<std::string>(m_aValues[i]));
            }
        }
        return oStatement;
    }

  private:
    std::string m_sSql;
    std::vector<std::variant<int64_t, std::string>> m_aValues;
};

struct SelectedField {
    std::string m_sName;
    FieldKind m_eKind;
    std::string m_sSql;
};

std::vector<SelectedField> SelectFields(const std::vector<std::string>& p_aNames, RowKind p_eRows) {
    std::vector<SelectedField> aFields;
    for (const std::string& sRequested : p_aNames) {
        const std::string sName(TrimWhitespace(sRequested));
        const bool bSeen = std::any_of(aFields.begin(), aFields.end(), [&](const auto& oField) {
            return EqualsIgnoreCase(oField.m_sName, sName);
        });
        if (sName.empty() || bSeen) {
            continue;
        }
        const FieldDefinition* oField = FindFieldByName(sName);
        const char* sSql = oField != nullptr ? oField->SqlFor(p_eRows) : nullptr;
        aFields.push_back({oField != nullptr ? oField->m_sColumnName : sName,
                           oField != nullptr ? oField->m_eKind : FieldKind::Text,
                           sSql != nullptr ? sSql : "NULL"});
    }
    return aFields;
}

QueryText SelectClause(const std::vector<SelectedField>& p_aFields) {
    QueryText oQuery;
    oQuery.Add("SELECT ");
    if (p_aFields.empty()) {
        oQuery.Add("NULL");
    }
    for (size_t i = 0; i < p_aFields.size(); ++i) {
        oQuery.Add(i == 0 ? "" : ", ").Add(p_aFields[i].m_sSql);
    }
    return oQuery;
}

// " ORDER BY ..." from an ADO sort clause, then p_sTieBreak so that equal keys keep a fixed order.
std::string OrderBy(const std::string& p_sSort, RowKind p_eRows, const std::string& p_sTieBreak) {
    std::string sOrder;
    std::string_view sRest = p_sSort;
    while (!sRest.empty()) {
        const size_t lComma = sRest.find(',');
        std::string_view sClause = TrimWhitespace(sRest.substr(0, lComma));
        sRest = lComma == std::string_view::npos ? std::string_view() : sRest.substr(lComma + 1);
        bool bDescending = false;
        const size_t lSpace = sClause.find_last_of(" \t");
        if (lSpace != std::string_view::npos) {
            const std::string_view sWord = TrimWhitespace(sClause.substr(lSpace + 1));
            if (EqualsIgnoreCase(sWord, "DESC") || EqualsIgnoreCase(sWord, "ASC")) {
                bDescending = EqualsIgnoreCase(sWord, "DESC");
                sClause = TrimWhitespace(sClause.substr(0, lSpace));
            }
        }
        if (sClause.size() >= 2 && sClause.front() == '[' && sClause.back() == ']') {
            sClause = TrimWhitespace(sClause.substr(1, sClause.size() - 2));
        }
        const FieldDefinition* oField = FindFieldByName(sClause);
        const char* sSql = oField != nullptr ? oField->SqlFor(p_eRows) : nullptr;
        if (sSql == nullptr) {
            continue;
        }
        sOrder += sOrder.empty() ? " ORDER BY " : ", ";
        sOrder += std::string("(") + sSql + (bDescending ? ") DESC" : ") ASC");
    }
    sOrder += sOrder.empty() ? " ORDER BY " : ", ";
    return sOrder + p_sTieBreak;
}

FieldValue ReadValue(const SqliteStatement& p_oRow, int p_lColumn, FieldKind p_eKind) {
    if (p_oRow.ColumnIsNull(p_lColumn)) {
        return std::monostate();
    }
    switch (p_eKind) {
        case FieldKind::Integer:
        case FieldKind::Boolean:
            return p_oRow.ColumnInt64(p_lColumn);
        case FieldKind::Double:
        case FieldKind::Date:
            return p_oRow.ColumnDouble(p_lColumn);
        case FieldKind::Text:
            return p_oRow.ColumnText(p_lColumn);
    }
    return std::monostate();
}

ResultTable RunSelect(SqliteDatabase& p_oDatabase, const std::vector<SelectedField>& p_aFields,
                      const QueryText& p_oQuery) {
    ResultTable oTable;
    for (const SelectedField& oField : p_aFields) {
        oTable.m_aColumns.push_back({oField.m_sName, oField.m_eKind});
    }
    SqliteStatement oRows = p_oQuery.Prepare(p_oDatabase);
    while (oRows.Step()) {
        std::vector<FieldValue> aRow;
        aRow.reserve(p_aFields.size());
        for (size_t i = 0; i < p_aFields.size(); ++i) {
            aRow.push_back(ReadValue(oRows, static_cast<int>(i), p_aFields[i].m_eKind));
        }
        oTable.m_aRows.push_back(std::move(aRow));
    }
    return oTable;
}

// A LIKE pattern matching texts that start with p_sText, with its wildcards taken literally.
std::string StartsWithPattern(std::string_view p_sText) {
    std::string sPattern;
    for (const char cChar : p_sText) {
        if (cChar == '%' || cChar == '_' || cChar == '\\') {
            sPattern.push_back('\\');
        }
        sPattern.push_back(cChar);
    }
    return sPattern + "%";
}

std::vector<int64_t> NumericKeys(const std::vector<std::string>& p_aKeys) {
    std::vector<int64_t> aCodes;
    for (const std::string& sKey : p_aKeys) {
        if (const std::optional<int64_t> llCode = WholeNumberIn(sKey)) {
            aCodes.push_back(*llCode);
        }
    }
    return aCodes;
}

std::vector<std::string> TrimmedKeys(const std::vector<std::string>& p_aKeys) {
    std::vector<std::string> aTrimmed;
    for (const std::string& sKey : p_aKeys) {
        aTrimmed.emplace_back(TrimWhitespace(sKey));
    }
    return aTrimmed;
}

void AddNameFilter(QueryText& p_oQuery, const char* p_sColumn, const std::string& p_sStart) {
    if (!p_sStart.empty()) {
        p_oQuery.Add(" AND ")
            .Add(p_sColumn)
            .Add(" LIKE ? ESCAPE '\\'")
            .Value(StartsWithPattern(p_sStart));
    }
}

ListResult FinishList(SqliteDatabase& p_oDatabase, const std::vector<SelectedField>& p_aFields,
                      QueryText& p_oQuery, const ListRequest& p_oRequest, RowKind p_eRows,
                      const char* p_sTieBreak, int32_t p_lDay) {
    p_oQuery.Add(OrderBy(p_oRequest.m_sSort, p_eRows, p_sTieBreak));
    if (p_oRequest.m_lMaxRows > 0) {
        p_oQuery.Add(" LIMIT ?").Value(int64_t{p_oRequest.m_lMaxRows} + 1);
    }
    ListResult oResult{RunSelect(p_oDatabase, p_aFields, p_oQuery), p_lDay, false};
    if (p_oRequest.m_lMaxRows > 0 &&
        oResult.m_oTable.m_aRows.size() > static_cast<size_t>(p_oRequest.m_lMaxRows)) {
        oResult.m_oTable.m_aRows.resize(static_cast<size_t>(p_oRequest.m_lMaxRows));
        oResult.m_bMoreRows = true;
    }
    return oResult;
}

using KeyValue = std::variant<int64_t, std::string>;

ResultTable History(SqliteDatabase& p_oDatabase, RowKind p_eRows, const char* p_sSource,
                    const char* p_sDateColumn, const KeyValue& p_vKey,
                    const HistoryRequest& p_oRequest) {
    const std::vector<SelectedField> aFields = SelectFields(p_oRequest.m_aFields, p_eRows);
    QueryText oQuery = SelectClause(aFields);
    oQuery.Add(p_sSource);
    std::visit([&](const auto& p_vValue) { oQuery.Value(p_vValue); }, p_vKey);
    // Days stay within one stock's day keys.
    const auto Clamp = [](int32_t p_lDay, int64_t p_llOpen) {
        return p_lDay == 0 ? p_llOpen : std::clamp<int64_t>(p_lDay, 0, kDayKeyStride - 1);
    };
    int64_t llFirst = Clamp(p_oRequest.m_lFirstDate, 0);
    int64_t llLast = Clamp(p_oRequest.m_lLastDate, kDayKeyStride - 1);
    if (llFirst > llLast) {
        std::swap(llFirst, llLast);
    }
    oQuery.Value(llFirst).Value(llLast);
    oQuery.Add(OrderBy(p_oRequest.m_sSort, p_eRows, std::string(p_sDateColumn) + " DESC"));
    if (p_oRequest.m_lMaxRows > 0) {
        oQuery.Add(" LIMIT ?").Value(int64_t{p_oRequest.m_lMaxRows});
    }
    return RunSelect(p_oDatabase, aFields, oQuery);
}

}  // namespace

int32_t MarketQueries::TradingDayOnOrBefore(int32_t p_lDate) {
    SqliteStatement oQuery =
        m_oDatabase.Prepare("SELECT max(trade_date) FROM trading_days WHERE trade_date <= ?1");
    oQuery.BindInt64(1, p_lDate > 0 ? p_lDate : kOpenEnd);
    return oQuery.Step() && !oQuery.ColumnIsNull(0) ? static_cast<int32_t>(oQuery.ColumnInt64(0))
                                                    : 0;
}

ListResult MarketQueries::Stocks(const ListRequest& p_oRequest) {
    const int32_t lDay = TradingDayOnOrBefore(p_oRequest.m_lDate);
    const std::vector<SelectedField> aFields = SelectFields(p_oRequest.m_aFields, RowKind::Stock);
    QueryText oQuery = SelectClause(aFields);
    oQuery.Add(kStockSource).Value(int64_t{lDay});
    if (p_oRequest.m_lIndCode > 0) {
        oQuery.Add(" AND s.ind_code = ?").Value(int64_t{p_oRequest.m_lIndCode});
    }
    if (p_oRequest.m_lSectorCode > 0) {
        oQuery.Add(" AND i.sector_code = ?").Value(int64_t{p_oRequest.m_lSectorCode});
    }
    if (p_oRequest.m_lWatchListId > 0) {
        oQuery
            .Add(
                " AND s.stock_id IN (SELECT item_code FROM watch_list_items WHERE "
                "watch_list_id = ?)")
            .Value(int64_t{p_oRequest.m_lWatchListId});
    }
    if (p_oRequest.m_lPortfolioId > 0) {
        oQuery.Add(" AND s.stock_id IN (SELECT stock_id FROM trades WHERE portfolio_id = ?)")
            .Value(int64_t{p_oRequest.m_lPortfolioId});
    }
    if (!p_oRequest.m_aKeys.empty()) {
        oQuery.AddIn("s.symbol", TrimmedKeys(p_oRequest.m_aKeys));
    }
    AddNameFilter(oQuery, "s.company_name", p_oRequest.m_sNameStart);
    return FinishList(m_oDatabase, aFields, oQuery, p_oRequest, RowKind::Stock, "s.symbol", lDay);
}

ListResult MarketQueries::Industries(const ListRequest& p_oRequest) {
    const int32_t lDay = TradingDayOnOrBefore(p_oRequest.m_lDate);
    const std::vector<SelectedField> aFields =
        SelectFields(p_oRequest.m_aFields, RowKind::Industry);
    QueryText oQuery = SelectClause(aFields);
    oQuery.Add(kIndustrySource).Value(int64_t{lDay});
    if (p_oRequest.m_lSectorCode > 0) {
        oQuery.Add(" AND i.sector_code = ?").Value(int64_t{p_oRequest.m_lSectorCode});
    }
    if (p_oRequest.m_lWatchListId > 0) {
        oQuery
            .Add(
                " AND i.ind_code IN (SELECT item_code FROM watch_list_items WHERE "
                "watch_list_id = ?)")
            .Value(int64_t{p_oRequest.m_lWatchListId});
    }
    if (!p_oRequest.m_aKeys.empty()) {
        oQuery.AddIn("i.ind_code", NumericKeys(p_oRequest.m_aKeys));
    }
    AddNameFilter(oQuery, "i.name", p_oRequest.m_sNameStart);
    return FinishList(m_oDatabase, aFields, oQuery, p_oRequest, RowKind::Industry, "i.name", lDay);
}

ListResult MarketQueries::Sectors(const ListRequest& p_oRequest) {
    const int32_t lDay = TradingDayOnOrBefore(p_oRequest.m_lDate);
    const std::vector<SelectedField> aFields = SelectFields(p_oRequest.m_aFields, RowKind::Sector);
    QueryText oQuery = SelectClause(aFields);
    oQuery.Add(kSectorSource).Value(int64_t{lDay});
    if (!p_oRequest.m_aKeys.empty()) {
        oQuery.AddIn("c.sector_code", NumericKeys(p_oRequest.m_aKeys));
    }
    AddNameFilter(oQuery, "c.name", p_oRequest.m_sNameStart);
    return FinishList(m_oDatabase, aFields, oQuery, p_oRequest, RowKind::Sector, "c.name", lDay);
}

ListResult MarketQueries::Holdings(const ListRequest& p_oRequest) {
    const int32_t lDay = TradingDayOnOrBefore(p_oRequest.m_lDate);
    const std::vector<SelectedField> aFields = SelectFields(p_oRequest.m_aFields, RowKind::Holding);
    QueryText oQuery = SelectClause(aFields);
    oQuery.Add(kHoldingSource)
        .Value(int64_t{lDay})
        .Value(int64_t{p_oRequest.m_lPortfolioId})
        .Value(int64_t{lDay});
    if (!p_oRequest.m_aKeys.empty()) {
        oQuery.AddIn("s.symbol", TrimmedKeys(p_oRequest.m_aKeys));
    }
    return FinishList(m_oDatabase, aFields, oQuery, p_oRequest, RowKind::Holding, "t.trade_id",
                      lDay);
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
    ResultTable oTable;
    oTable.m_aColumns = {{"Parameter_ID", FieldKind::Integer}, {"Column_Name", FieldKind::Text},
                         {"Caption", FieldKind::Text},         {"DataType_ID", FieldKind::Integer},
                         {"Table_Mask", FieldKind::Integer},   {"Group", FieldKind::Integer},
                         {"Column_Format", FieldKind::Text},   {"Description", FieldKind::Text}};
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT parameter_id, column_name, caption, data_type_id, table_mask, group_id, "
        "column_format, meaning FROM field_catalogue ORDER BY sort_order, parameter_id");
    while (oQuery.Step()) {
        std::vector<FieldValue> aRow;
        for (int i = 0; i < static_cast<int>(oTable.m_aColumns.size()); ++i) {
            aRow.push_back(ReadValue(oQuery, i, oTable.m_aColumns[static_cast<size_t>(i)].m_eKind));
        }
        oTable.m_aRows.push_back(std::move(aRow));
    }
    return oTable;
}

}  // namespace qv::facade
