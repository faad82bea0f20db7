// The reads the facade components make: the lists of stocks, industry groups, sectors and
// portfolio holdings of a day, the histories of one stock, industry or sector, and the field
// catalogue. A caller names the fields it wants by their catalogue "Column_Name"; each comes back
// as a column of that name, computed by the catalogue's expression for the kind of row, or as a
// column of no values when the field has no value for that kind (or is not in the catalogue), so
// a recordset built from the result always has every field a layout asks for.
//
// Every value a caller sends (dates, codes, symbols, name texts) is bound as a parameter; field
// names and sort texts only select among the catalogue's own expressions.
//
//     MarketQueries queries(store.Database());
//     ListRequest request;
//     request.m_aFields = {"Symbol", "CompanyName", "Price", "PctChange", "REC"};
//     request.m_lSectorCode = 3;
//     request.m_sSort = "PctChange DESC";
//     ListResult stocks = queries.Stocks(request);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "facade/result_table.h"
#include "facade/screen_criteria.h"

namespace qv::facade {

class SqlDatabase;

struct ListRequest {
    std::vector<std::string> m_aFields;
    // Rows of the last trading day on or before this day serial; 0 for the last trading day.
    int32_t m_lDate = 0;
    int32_t m_lIndCode = 0;      // stocks of one industry group
    int32_t m_lSectorCode = 0;   // stocks or industry groups of one sector
    int32_t m_lWatchListId = 0;  // stocks or industry groups of a watch list
    int32_t m_lPortfolioId = 0;  // stocks held in a portfolio; for holdings, the portfolio
    // Only these symbols (stocks, any letter case), industry codes or sector codes (read with
    // WholeNumberIn; a key that is not a code matches nothing).
    std::vector<std::string> m_aKeys;
    // Only rows whose company, industry or sector name starts with this text (any letter case).
    std::string m_sNameStart;
    // Only rows meeting a screen (CompileScreenCriteria); every row while its m_sWhere is empty.
    ScreenSql m_oScreen;
    // An ADO sort clause: "[PctChange] DESC, Symbol ASC"; fields not in the catalogue are ignored.
    std::string m_sSort;
    int32_t m_lMaxRows = -1;  // 0 or less: all rows
};

struct ListResult {
    ResultTable m_oTable;
    int32_t m_lTradingDay = 0;  // the day the rows belong to; 0 when there is no data
    bool m_bMoreRows = false;   // the row limit left rows out
};

struct HistoryRequest {
    std::vector<std::string> m_aFields;
    int32_t m_lFirstDate = 0;  // day serials, inclusive; 0 leaves that end open
    int32_t m_lLastDate = 0;
    std::string m_sSort;  // default: newest day first
    int32_t m_lMaxRows = -1;
};

class MarketQueries {
  public:
    explicit MarketQueries(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    // The last trading day on or before p_lDate (the last one for 0); 0 when there is none.
    int32_t TradingDayOnOrBefore(int32_t p_lDate);

    ListResult Stocks(const ListRequest& p_oRequest);
    ListResult Industries(const ListRequest& p_oRequest);
    ListResult Sectors(const ListRequest& p_oRequest);
    // The trades of m_lPortfolioId opened on or before the day, valued at the stock's last close
    // on or before it.
    ListResult Holdings(const ListRequest& p_oRequest);
    // One of the four above by the kind of rows.
    ListResult List(RowKind p_eRows, const ListRequest& p_oRequest);
    // How many rows the list of that kind would hold without its row limit.
    int64_t Count(RowKind p_eRows, const ListRequest& p_oRequest);

    ResultTable StockHistory(const std::string& p_sSymbol, const HistoryRequest& p_oRequest);
    ResultTable IndustryHistory(int32_t p_lIndCode, const HistoryRequest& p_oRequest);
    ResultTable SectorHistory(int32_t p_lSectorCode, const HistoryRequest& p_oRequest);

    // The catalogue as stored: "Parameter_ID", "Column_Name", "Caption", "DataType_ID",
    // "Table_Mask", "Group", "Column_Format" and "Description", in catalogue order.
    ResultTable FieldCatalogue();

  private:
    SqlDatabase& m_oDatabase;
};

}  // namespace qv::facade
