// The lists the facade components answer with, built on MarketQueries: the stocks, industry
// groups and sectors of a day within a scope (an industry, a sector, an owner's watch list or
// portfolio), each with the rows of the grid shown below it; a portfolio's holdings; and the
// name lists of the search dialog.
//
// Every list carries the key fields of its rows besides the fields asked for, because the
// viewer filters, selects and links rows by them: stocks "Symbol", "IndCode", "SectorCode";
// industry groups "IndCode", "IndName", "SectorCode"; sectors "SectorCode", "SectorName".
//
// A watch list or portfolio is a scope only for its owner: one of another owner (or of no one)
// lists no rows, exactly as one that does not exist.
//
// The grid below a list shows, for a watch list or a portfolio, one summary row of its stocks
// named after it (an equal-weight view: the average percent change and ranking, the members,
// advancing members, volume and sales); for a list limited to one sector, that sector's row; and
// otherwise every industry group (below stocks) or sector (below industry groups) of the day,
// which the viewer filters to the current row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "facade/field_catalogue.h"
#include "facade/result_table.h"
#include "facade/watch_list_store.h"

namespace qv::facade {

class SqlDatabase;

struct ListLimits {
    int32_t m_lMaxRows = 0;
    bool m_bReturnAll = false;  // every row, whatever m_lMaxRows says
};

struct ListScope {
    int32_t m_lIndCode = 0;
    int32_t m_lSectorCode = 0;
    int32_t m_lWatchListId = 0;
    int32_t m_lPortfolioId = 0;
};

// What a server search looks for: the keys of rows (symbols or codes), or, when there are none,
// the start of a name. A search without either finds nothing.
struct ListSearch {
    std::vector<std::string> m_aKeys;
    std::string m_sNameStart;
};

struct ListQuery {
    int32_t m_lOwnerId = 0;
    int32_t m_lDate = 0;  // day serial; 0 for the latest trading day
    std::vector<std::string> m_aFields;
    std::string m_sSort;  // an ADO sort clause over catalogue fields
    ListLimits m_oLimits;
    ListScope m_oScope;
    std::optional<ListSearch> m_oSearch;
    // Fields of the rows of the grid below the list; none for a list without one.
    std::vector<std::string> m_aSecondaryFields;
    // Below a stock list: the sector whose row a sector grid shows; 0 for the industry grid.
    int32_t m_lSectorGridCode = 0;
};

struct ListAnswer {
    ResultTable m_oRows;
    ResultTable m_oSecondary;
    int32_t m_lTradingDay = 0;  // the day the rows belong to; 0 when there is no data
    std::string m_sWatchListName;
};

// The key fields of stock, industry and sector rows.
const std::vector<std::string>& KeyFields(RowKind p_eRows);

// The fields with the key fields p_aKeys appended where missing.
std::vector<std::string> WithKeys(std::vector<std::string> p_aFields,
                                  const std::vector<std::string>& p_aKeys);

// A table with the columns a query for p_aFields would give (catalogue names and kinds) and no
// rows.
ResultTable EmptyTable(const std::vector<std::string>& p_aFields);

class MarketLists {
  public:
    explicit MarketLists(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    // The row limit of a list call: p_bReturnAll asks for every row; a p_lMaxRows of 1 or more
    // is the limit; -1 (and any other value below 1) asks for the owner's default.
    ListLimits ResolveLimits(int32_t p_lOwnerId, int32_t p_lMaxRows, bool p_bReturnAll);

    ListAnswer Stocks(const ListQuery& p_oQuery);
    ListAnswer Industries(const ListQuery& p_oQuery);
    ListAnswer Sectors(const ListQuery& p_oQuery);

    // The row of one sector on a day, with the key fields.
    ResultTable SectorRow(int32_t p_lDate, int32_t p_lSectorCode,
                          const std::vector<std::string>& p_aFields);

    // The trades of the owner's portfolio opened by the day, valued at that day's closes; no
    // rows for a portfolio of another owner.
    ListAnswer Holdings(int32_t p_lOwnerId, int32_t p_lPortfolioId, int32_t p_lDate,
                        const std::vector<std::string>& p_aFields, const std::string& p_sSort);

    // The name lists of the search dialog, by name: "CompanyName" and "Symbol" of the stocks
    // whose company name starts with p_sText; "IndName" and "IndCode"; "SectorName" and
    // "SectorCode". A watch list id limits the stocks or industries to that list when it is
    // p_lOwnerId's; a list of another owner (or of no one) gives no rows.
    ResultTable CompanyNames(const std::string& p_sText, const ListScope& p_oScope, int32_t p_lDate,
                             int32_t p_lOwnerId);
    ResultTable IndustryNames(const std::string& p_sText, const ListScope& p_oScope,
                              int32_t p_lDate, int32_t p_lOwnerId);
    ResultTable SectorNames(const std::string& p_sText, int32_t p_lDate);

    // The owner's watch list of the type, or nullopt (also for a folder).
    std::optional<WatchListEntry> OwnedWatchList(int32_t p_lOwnerId, int32_t p_lWatchListId,
                                                 int32_t p_lListType);
    // The name of the owner's portfolio, or nullopt.
    std::optional<std::string> OwnedPortfolio(int32_t p_lOwnerId, int32_t p_lPortfolioId);

  private:
    // One row named p_sName over the member stocks of the query's scope (p_bOfIndustries: the
    // stocks of the industry groups of its watch list), shaped as an industry or sector row.
    ResultTable Summary(const ListQuery& p_oQuery, const std::string& p_sName, bool p_bOfIndustries,
                        bool p_bSectorShape);

    SqlDatabase& m_oDatabase;
};

}  // namespace qv::facade
