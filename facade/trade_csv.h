// Trades to and from CSV text, the form people keep them in outside the viewer.
//
// The columns are named in a header row, in any order and any letter case: Symbol, BuyDate,
// Shares and Price always, and any of Commission, Short, InitialReq, MaintenancePercent, SellDate
// and SellPrice. Dates are YYYY-MM-DD or M/D/YYYY; numbers have "." as the decimal point and no
// thousands separators (a "1,234.50" is refused rather than read as 1.2345 or 1234.5 by a guess);
// Short is true/false, yes/no or 1/0. A UTF-8 byte-order mark is fine; other encodings are not.
//
// Each data row gets a status: "ok", "error" with the column and the reason, or "duplicate" when
// it repeats a trade already in the portfolio or an earlier row. An import writes the "ok" rows
// in one transaction, and only when no row is an "error": a file is taken whole or not at all.
//
//     TradeImport answer = ImportTradeCsv(database, portfolioId, text, /*commit=*/false);
//     if (!answer.m_sFault.empty()) ... the text is not a trade file at all ...
//     for (const TradeImportRow& row : answer.m_aRows) ... row.m_sStatus, row.m_sReason ...
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "facade/portfolio_store.h"

namespace qv::facade {

class SqlDatabase;

namespace trade_status {
constexpr const char* kOk = "ok";
constexpr const char* kError = "error";
constexpr const char* kDuplicate = "duplicate";
}  // namespace trade_status

struct TradeImportRow {
    int64_t m_llRow = 0;  // 1-based, the header not counted
    std::string m_sSymbol;
    std::string m_sStatus;
    std::string m_sReason;
};

struct TradeImport {
    // Why the text as a whole cannot be read (no header, a column missing or unknown); then
    // there are no rows.
    std::string m_sFault;
    std::vector<TradeImportRow> m_aRows;
    // The trades of the "ok" rows, in the file's order.
    std::vector<TradeRecord> m_aTrades;
    bool m_bWritten = false;

    bool HasErrors() const;
};

// Reads p_sCsv as trades for the portfolio p_lPortfolioId and, with p_bCommit and no row in error,
// adds its "ok" trades in one transaction. Text that is not CSV at all (a NUL byte: UTF-16, or a
// binary file) is a FacadeError naming the input as p_sName.
TradeImport ImportTradeCsv(SqlDatabase& p_oDatabase, int32_t p_lPortfolioId,
                           const std::string& p_sCsv, bool p_bCommit,
                           const std::string& p_sName = "the CSV text");

// The trades in the import's columns, which ImportTradeCsv reads back to the same trades.
std::string WriteTradeCsv(const std::vector<TradeRecord>& p_aTrades);

}  // namespace qv::facade
