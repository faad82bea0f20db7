#include "facade/trade_csv.h"

#include <array>
#include <charconv>
#include <map>
#include <optional>
#include <tuple>

#include "facade/csv_reader.h"
#include "facade/sqlite_database.h"
#include "facade/trade_rules.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

namespace qv::facade {

namespace {

enum Column : size_t {
    kSymbol,
    kBuyDate,
    kShares,
    kPrice,
    kCommission,
    kShort,
    kInitialReq,
    kMaintenancePercent,
    kSellDate,
    kSellPrice,
    kColumnCount
};

// In the order an export writes them; the first four every file needs.
constexpr std::array<const char*, kColumnCount> kColumnNames = {
    "Symbol",     "BuyDate",  "Shares",     "Price",
    "Commission", "Short",    "InitialReq", "MaintenancePercent",
    "SellDate",   "SellPrice"};
constexpr size_t kRequiredColumns = 4;

const char* ColumnOf(TradeField p_eField) {
    switch (p_eField) {
        case TradeField::Symbol:
            return kColumnNames[kSymbol];
        case TradeField::BuyDate:
            return kColumnNames[kBuyDate];
        case TradeField::Shares:
            return kColumnNames[kShares];
        case TradeField::Price:
            return kColumnNames[kPrice];
        case TradeField::Commission:
            return kColumnNames[kCommission];
        case TradeField::InitialReq:
            return kColumnNames[kInitialReq];
        case TradeField::MaintenancePercent:
            return kColumnNames[kMaintenancePercent];
        case TradeField::SellDate:
            return kColumnNames[kSellDate];
        case TradeField::SellPrice:
            return kColumnNames[kSellPrice];
    }
    return "";
}

std::string ColumnList() {
    std::string list;
    for (const char* name : kColumnNames) {
        list += list.empty() ? name : std::string(", ") + name;
    }
    return list;
}

// Where each column stands in a record, or none.
using ColumnPlaces = std::array<std::optional<size_t>, kColumnCount>;

std::string ReadHeader(const std::vector<std::string_view>& p_aFields, ColumnPlaces& p_aPlaces) {
    for (size_t i = 0; i < p_aFields.size(); ++i) {
        const std::string_view name = TrimWhitespace(p_aFields[i]);
        size_t column = 0;
        while (column < kColumnCount && !EqualsIgnoreCase(name, kColumnNames[column])) {
            ++column;
        }
        if (column == kColumnCount) {
            return "the header names an unknown column " + Excerpt(name) + "; the columns are " +
                   ColumnList();
        }
        if (p_aPlaces[column]) {
            return std::string("the header names the column ") + kColumnNames[column] + " twice";
        }
        p_aPlaces[column] = i;
    }
    for (size_t column = 0; column < kRequiredColumns; ++column) {
        if (!p_aPlaces[column]) {
            return std::string("the header has no ") + kColumnNames[column] +
                   " column; a trade file names at least Symbol, BuyDate, Shares and Price";
        }
    }
    return {};
}

// A failure to read one field: the reason, naming its column.
struct FieldError {
    std::string m_sReason;
};

class RowReader {
  public:
    RowReader(const std::vector<std::string_view>& p_aFields, const ColumnPlaces& p_aPlaces)
        : m_aFields(p_aFields), m_aPlaces(p_aPlaces) {}

    std::string_view Text(Column p_eColumn) const {
        return m_aPlaces[p_eColumn] ? TrimWhitespace(m_aFields[*m_aPlaces[p_eColumn]])
                                    : std::string_view();
    }

    std::optional<double> Number(Column p_eColumn) const {
        const std::string_view text = Text(p_eColumn);
        if (text.empty()) {
            return std::nullopt;
        }
        if (text.find(',') != std::string_view::npos) {
            throw Fault(p_eColumn,
                        Excerpt(text) + " has a thousands separator; write numbers without them");
        }
        const std::optional<double> value = ReadCsvNumber(text);
        if (!value) {
            throw Fault(p_eColumn, Excerpt(text) + " is not a number");
        }
        return value;
    }

    int32_t Day(Column p_eColumn) const {
        const std::string_view text = Text(p_eColumn);
        int32_t day = 0;
        if (!text.empty() && !ParseDayText(text, day)) {
            throw Fault(p_eColumn, Excerpt(text) + " is not a date (YYYY-MM-DD or M/D/YYYY)");
        }
        return day;
    }

    bool Flag(Column p_eColumn) const {
        const std::string_view text = Text(p_eColumn);
        for (const char* yes : {"true", "yes", "1"}) {
            if (EqualsIgnoreCase(text, yes)) {
                return true;
            }
        }
        for (const char* no : {"false", "no", "0", ""}) {
            if (EqualsIgnoreCase(text, no)) {
                return false;
            }
        }
        throw Fault(p_eColumn, Excerpt(text) + " is not true/false, yes/no or 1/0");
    }

    TradeTerms Terms() const {
        TradeTerms terms;
        terms.m_sSymbol = std::string(Text(kSymbol));
        terms.m_lBuyDate = Day(kBuyDate);
        terms.m_dShares = Number(kShares);
        terms.m_dPrice = Number(kPrice);
        terms.m_dCommission = Number(kCommission);
        terms.m_bShort = Flag(kShort);
        terms.m_dInitialReq = Number(kInitialReq);
        terms.m_dMaintenancePct = Number(kMaintenancePercent);
        terms.m_lSellDate = Day(kSellDate);
        terms.m_dSellPrice = Number(kSellPrice);
        return terms;
    }

  private:
    static FieldError Fault(Column p_eColumn, const std::string& p_sWhy) {
        return {std::string(kColumnNames[p_eColumn]) + ": " + p_sWhy};
    }

    const std::vector<std::string_view>& m_aFields;
    const ColumnPlaces& m_aPlaces;
};

// Two trades are the same when every term is; the id, version and realised gain do not count.
using TradeKey =
    std::tuple<int64_t, int32_t, double, double, double, bool, double, double, int32_t, double>;

TradeKey KeyOf(const TradeRecord& p_oTrade) {
    return {p_oTrade.m_llStockId,     p_oTrade.m_lBuyDate,        p_oTrade.m_dShares,
            p_oTrade.m_dInitialPrice, p_oTrade.m_dCommission,     p_oTrade.m_bShort,
            p_oTrade.m_dInitialReq,   p_oTrade.m_dMaintenancePct, p_oTrade.m_lSellDate,
            p_oTrade.m_dSellPrice};
}

class TradeFileReader {
  public:
    TradeFileReader(SqlDatabase& p_oDatabase, const std::vector<TradeRecord>& p_aHeld)
        : m_oRules(p_oDatabase) {
        for (const TradeRecord& trade : p_aHeld) {
            m_aSeen.emplace(KeyOf(trade), "the same as trade " + std::to_string(trade.m_llTradeId) +
                                              " of the portfolio");
        }
    }

    TradeImport Read(const std::string& p_sCsv, const std::string& p_sName) {
        TradeImport answer;
        StringSource source(p_sCsv);
        CsvReader reader(source, p_sName);
        std::vector<std::string_view> fields;
        ColumnPlaces places;
        if (!reader.ReadRecord(fields)) {
            answer.m_sFault = "the text has no header row; the columns are " + ColumnList();
            return answer;
        }
        answer.m_sFault = ReadHeader(fields, places);
        if (!answer.m_sFault.empty()) {
            return answer;
        }
        const size_t width = fields.size();
        while (reader.ReadRecord(fields)) {
            TradeImportRow& row = answer.m_aRows.emplace_back();
            row.m_llRow = static_cast<int64_t>(answer.m_aRows.size());
            ReadRow(fields, width, places, row, answer);
        }
        return answer;
    }

  private:
    void ReadRow(const std::vector<std::string_view>& p_aFields, size_t p_lWidth,
                 const ColumnPlaces& p_aPlaces, TradeImportRow& p_oRow, TradeImport& p_oAnswer) {
        p_oRow.m_sStatus = trade_status::kError;
        for (const std::string_view field : p_aFields) {
            if (!IsUtf8(field)) {
                p_oRow.m_sReason = "not UTF-8: save the file as UTF-8";
                return;
            }
        }
        const RowReader reader(p_aFields, p_aPlaces);
        p_oRow.m_sSymbol = std::string(reader.Text(kSymbol));
        if (p_aFields.size() != p_lWidth) {
            p_oRow.m_sReason = "has " + std::to_string(p_aFields.size()) +
                               " fields where the header has " + std::to_string(p_lWidth);
            return;
        }
        TradeRecord trade;
        try {
            if (std::optional<TradeFault> fault = m_oRules.Check(reader.Terms(), trade)) {
                p_oRow.m_sReason = std::string(ColumnOf(fault->m_eField)) + ": " + fault->m_sReason;
                return;
            }
        } catch (const FieldError& error) {
            p_oRow.m_sReason = error.m_sReason;
            return;
        }
        p_oRow.m_sSymbol = trade.m_sSymbol;
        const auto [seen, added] =
            m_aSeen.emplace(KeyOf(trade), "the same as row " + std::to_string(p_oRow.m_llRow));
        if (!added) {
            p_oRow.m_sStatus = trade_status::kDuplicate;
            p_oRow.m_sReason = seen->second;
            return;
        }
        p_oRow.m_sStatus = trade_status::kOk;
        p_oAnswer.m_aTrades.push_back(std::move(trade));
    }

    TradeRules m_oRules;
    std::map<TradeKey, std::string> m_aSeen;
};

std::string NumberText(double p_dValue) {
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), p_dValue);
    return std::string(buffer.data(), end);
}

std::string CsvField(std::string_view p_sText) {
    if (p_sText.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(p_sText);
    }
    return '"' + ReplaceAll(p_sText, "\"", "\"\"") + '"';
}

}  // namespace

bool TradeImport::HasErrors() const {
    for (const TradeImportRow& row : m_aRows) {
        if (row.m_sStatus == trade_status::kError) {
            return true;
        }
    }
    return !m_sFault.empty();
}

TradeImport ImportTradeCsv(SqlDatabase& p_oDatabase, int32_t p_lPortfolioId,
                           const std::string& p_sCsv, bool p_bCommit, const std::string& p_sName) {
    // The trades compared against are the ones the write goes beside: nothing comes between.
    std::optional<SqlTransaction> work;
    if (p_bCommit) {
        work.emplace(p_oDatabase);
    }
    PortfolioStore portfolios(p_oDatabase);
    TradeImport answer =
        TradeFileReader(p_oDatabase, portfolios.Trades(p_lPortfolioId)).Read(p_sCsv, p_sName);
    if (p_bCommit && !answer.HasErrors()) {
        portfolios.AddTrades(p_lPortfolioId, answer.m_aTrades);
        work->Commit();
        answer.m_bWritten = true;
    }
    return answer;
}

std::string WriteTradeCsv(const std::vector<TradeRecord>& p_aTrades) {
    std::string text;
    for (size_t column = 0; column < kColumnCount; ++column) {
        text += column == 0 ? "" : ",";
        text += kColumnNames[column];
    }
    text += "\r\n";
    for (const TradeRecord& trade : p_aTrades) {
        const bool sold = trade.m_lSellDate > 0;
        text += CsvField(trade.m_sSymbol) + "," + IsoDateText(trade.m_lBuyDate) + "," +
                NumberText(trade.m_dShares) + "," + NumberText(trade.m_dInitialPrice) + "," +
                NumberText(trade.m_dCommission) + "," + (trade.m_bShort ? "true" : "false") + "," +
                NumberText(trade.m_dInitialReq) + "," + NumberText(trade.m_dMaintenancePct) + "," +
                (sold ? IsoDateText(trade.m_lSellDate) : "") + "," +
                (sold ? NumberText(trade.m_dSellPrice) : "") + "\r\n";
    }
    return text;
}

}  // namespace qv::facade
