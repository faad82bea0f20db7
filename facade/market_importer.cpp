#include "facade/market_importer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "facade/market_rebuild.h"
#include "facade/market_schema.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "outside/numeric_text.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

namespace qv::facade {

namespace {

namespace fs = std::filesystem;

constexpr int64_t kProgressRows = 20000;

int FindColumn(const std::vector<std::string_view>& p_aHeader, std::string_view p_sName) {
    for (size_t i = 0; i < p_aHeader.size(); ++i) {
        if (EqualsIgnoreCase(TrimWhitespace(p_aHeader[i]), p_sName)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

enum class InputKind { Constituents, Prices };

struct Columns {
    int m_lSymbol = -1;
    int m_lName = -1;
    int m_lSector = -1;
    int m_lIndustry = -1;
    int m_lDate = -1;
    int m_lOpen = -1;
    int m_lHigh = -1;
    int m_lLow = -1;
    int m_lClose = -1;
    int m_lAdjClose = -1;
    int m_lVolume = -1;
    size_t m_lRequired = 0;  // fields a row must have: one past the last required column
};

struct OpenInput {
    std::string m_sName;
    std::unique_ptr<ByteSource> m_oSource;
    std::unique_ptr<CsvReader> m_oReader;
    InputKind m_eKind = InputKind::Prices;
    Columns m_oColumns;
};

OpenInput Recognise(ImportInput&& p_oInput) {
    OpenInput oOpen{
        std::move(p_oInput.m_sName), std::move(p_oInput.m_oSource), nullptr, InputKind::Prices, {}};
    oOpen.m_oReader = std::make_unique<CsvReader>(*oOpen.m_oSource, oOpen.m_sName);
    std::vector<std::string_view> aHeader;
    oOpen.m_oReader->ReadRecord(aHeader);
    Columns& oColumns = oOpen.m_oColumns;
    oColumns.m_lSymbol = FindColumn(aHeader, "Symbol");
    oColumns.m_lName = FindColumn(aHeader, "Name");
    oColumns.m_lSector = FindColumn(aHeader, "Sector");
    oColumns.m_lIndustry = FindColumn(aHeader, "Industry");
    oColumns.m_lDate = FindColumn(aHeader, "Date");
    oColumns.m_lOpen = FindColumn(aHeader, "Open");
    oColumns.m_lHigh = FindColumn(aHeader, "High");
    oColumns.m_lLow = FindColumn(aHeader, "Low");
    oColumns.m_lClose = FindColumn(aHeader, "Close");
    oColumns.m_lAdjClose = FindColumn(aHeader, "AdjClose");
    oColumns.m_lVolume = FindColumn(aHeader, "Volume");
    const auto Required = [&](std::initializer_list<int> p_aIndexes) {
        const int lLast = std::max(p_aIndexes);
        const bool bAll = std::all_of(p_aIndexes.begin(), p_aIndexes.end(),
                                      [](int p_lIndex) { return p_lIndex >= 0; });
        oColumns.m_lRequired = static_cast<size_t>(lLast + 1);
        return bAll;
    };
    if (Required(
            {oColumns.m_lSymbol, oColumns.m_lName, oColumns.m_lSector, oColumns.m_lIndustry})) {
        oOpen.m_eKind = InputKind::Constituents;
        return oOpen;
    }
    if (Required({oColumns.m_lSymbol, oColumns.m_lDate, oColumns.m_lClose})) {
        oOpen.m_eKind = InputKind::Prices;
        return oOpen;
    }
    throw FacadeError(oOpen.m_sName, 0,
                      "neither a constituents file (a header with Symbol, Name, Sector and "
                      "Industry) nor a price file (Symbol, Date and Close); nothing was imported");
}

// Plain decimals such as "68.07" or "-3" are read digit by digit: with at most 15 digits the
// digits form an exact integer, and one division by an exact power of ten rounds once, giving the
// same double as a full conversion at a fraction of the cost. A price file has millions of them.
std::optional<double> ReadPlainDecimal(std::string_view p_sText) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool bNegative = !p_sText.empty() && p_sText.front() == '-';
    uint64_t llDigits = 0;
    int lCount = 0;
    int lFraction = -1;
    for (size_t i = bNegative ? 1 : 0; i < p_sText.size(); ++i) {
        const char cChar = p_sText[i];
        if (cChar == '.' && lFraction < 0) {
            lFraction = 0;
            continue;
        }
        if (cChar < '0' || cChar > '9' || ++lCount > 15) {
            return std::nullopt;
        }
        llDigits = llDigits * 10 + static_cast<uint64_t>(cChar - '0');
        lFraction += lFraction >= 0 ? 1 : 0;
    }
    if (lCount == 0) {
        return std::nullopt;
    }
    const double dValue = static_cast<double>(llDigits) / kPowersOfTen[std::max(lFraction, 0)];
    return bNegative ? -dValue : dValue;
}

std::optional<double> ReadNumber(std::string_view p_sText) {
    p_sText = TrimWhitespace(p_sText);
    if (const std::optional<double> dPlain = ReadPlainDecimal(p_sText)) {
        return dPlain;
    }
    double dValue = 0;
    const auto [sEnd, eError] =
        std::from_chars(p_sText.data(), p_sText.data() + p_sText.size(), dValue);
    if (eError != std::errc() || sEnd != p_sText.data() + p_sText.size() ||
        !std::isfinite(dValue)) {
        return std::nullopt;
    }
    return dValue;
}

// A count of shares: whole, or a decimal rounded to the nearest share ("1.5e6" is written by
// some sources).
std::optional<int64_t> ReadVolume(std::string_view p_sText) {
    p_sText = TrimWhitespace(p_sText);
    int64_t llValue = 0;
    const auto [sEnd, eError] =
        std::from_chars(p_sText.data(), p_sText.data() + p_sText.size(), llValue);
    if (eError == std::errc() && sEnd == p_sText.data() + p_sText.size()) {
        return llValue;
    }
    const std::optional<double> dValue = ReadNumber(p_sText);
    return dValue ? RoundToWholeNumber(*dValue) : std::nullopt;
}

struct Constituent {
    std::string m_sName;
    std::string m_sSector;
    std::string m_sIndustry;
};

// Names go into lists, exports and logs as they are, so a name must be UTF-8 text without
// control characters: a name that is not is reported and its row skipped, rather than guessed at.
std::string NamesFault(const std::string& p_sSymbol, const Constituent& p_oRow) {
    const std::pair<const char*, const std::string&> aNames[] = {{"symbol", p_sSymbol},
                                                                 {"name", p_oRow.m_sName},
                                                                 {"sector", p_oRow.m_sSector},
                                                                 {"industry", p_oRow.m_sIndustry}};
    for (const auto& [sWhat, sText] : aNames) {
        const std::string sFault = NameTextFault(sText);
        if (!sFault.empty()) {
            return std::string("the ") + sWhat + " " + Excerpt(sText) + " holds " + sFault;
        }
    }
    return {};
}

struct ParsedBar {
    DailyBar m_oBar;
    int64_t m_llLine;
    size_t m_lFile;
};

class ImportRun {
  public:
    ImportRun(SqliteDatabase& p_oDatabase, const ProgressFn& p_fProgress)
        : m_oDatabase(p_oDatabase), m_fProgress(p_fProgress) {}

    void ReadConstituents(OpenInput& p_oInput);
    void StoreConstituents();
    void ReadPrices(OpenInput& p_oInput);
    void StoreBars();
    ImportReport TakeReport() { return std::move(m_oReport); }

  private:
    // Lists a problem without counting a skipped row.
    void Note(const std::string& p_sFile, int64_t p_llLine, std::string p_sMessage) {
        if (m_oReport.m_aProblems.size() < kMaxListedProblems) {
            m_oReport.m_aProblems.push_back({p_sFile, p_llLine, std::move(p_sMessage)});
        }
    }
    void Problem(const std::string& p_sFile, int64_t p_llLine, std::string p_sMessage) {
        ++m_oReport.m_llRowsSkipped;
        Note(p_sFile, p_llLine, std::move(p_sMessage));
    }
    std::map<std::string, int64_t> StoreSectors();
    std::map<std::string, int64_t> StoreIndustries(
        const std::map<std::string, int64_t>& p_aSectors);
    void StoreStocks(const std::map<std::string, int64_t>& p_aIndustries);
    bool ReadBar(const OpenInput& p_oInput, const std::vector<std::string_view>& p_aFields,
                 DailyBar& p_oBar);
    int64_t StockIdOf(const OpenInput& p_oInput, std::string_view p_sSymbol);
    std::vector<StockSeries> MergedSeries();

    SqliteDatabase& m_oDatabase;
    const ProgressFn& m_fProgress;
    ImportReport m_oReport;
    std::map<std::string, Constituent> m_aConstituents;
    std::vector<std::string> m_aFiles;
    std::unordered_map<std::string, int64_t> m_aStockIds;
    std::set<std::string> m_aUnknownSymbols;
    std::string m_sLastSymbol;
    int64_t m_llLastStockId = 0;
    std::unordered_map<int64_t, std::vector<ParsedBar>> m_aBars;
};

void ImportRun::ReadConstituents(OpenInput& p_oInput) {
    const Columns& oColumns = p_oInput.m_oColumns;
    std::vector<std::string_view> aFields;
    std::map<std::string, std::string> aIndustrySectors;
    while (p_oInput.m_oReader->ReadRecord(aFields)) {
        const int64_t llLine = p_oInput.m_oReader->RecordLine();
        if (aFields.size() < oColumns.m_lRequired) {
            Problem(p_oInput.m_sName, llLine,
                    "expected at least " + std::to_string(oColumns.m_lRequired) +
                        " fields, found " + std::to_string(aFields.size()));
            continue;
        }
        const std::string sSymbol =
            ToUpperAscii(TrimWhitespace(aFields[static_cast<size_t>(oColumns.m_lSymbol)]));
        Constituent oRow{
            std::string(TrimWhitespace(aFields[static_cast<size_t>(oColumns.m_lName)])),
            std::string(TrimWhitespace(aFields[static_cast<size_t>(oColumns.m_lSector)])),
            std::string(TrimWhitespace(aFields[static_cast<size_t>(oColumns.m_lIndustry)]))};
        if (sSymbol.empty() || oRow.m_sName.empty() || oRow.m_sSector.empty() ||
            oRow.m_sIndustry.empty()) {
            Problem(p_oInput.m_sName, llLine,
                    "symbol, name, sector and industry must not be empty");
            continue;
        }
        if (const std::string sFault = NamesFault(sSymbol, oRow); !sFault.empty()) {
            Problem(p_oInput.m_sName, llLine, sFault + "; the row is skipped");
            continue;
        }
        const auto [itSector, bFirst] = aIndustrySectors.emplace(oRow.m_sIndustry, oRow.m_sSector);
        if (!bFirst && itSector->second != oRow.m_sSector) {
            Problem(p_oInput.m_sName, llLine,
                    "industry " + Excerpt(oRow.m_sIndustry) + " was given the sector " +
                        Excerpt(itSector->second) + " before; this row with " +
                        Excerpt(oRow.m_sSector) + " is skipped");
            continue;
        }
        m_aConstituents[sSymbol] = std::move(oRow);
    }
    if (p_oInput.m_oReader->Unterminated()) {
        Problem(p_oInput.m_sName, p_oInput.m_oReader->RecordLine(),
                "the file ends inside a quoted field");
    }
}

std::map<std::string, int64_t> ImportRun::StoreSectors() {
    std::map<std::string, int64_t> aCodes;
    SqliteStatement oRead = m_oDatabase.Prepare("SELECT name, sector_code FROM sectors");
    while (oRead.Step()) {
        aCodes[oRead.ColumnText(0)] = oRead.ColumnInt64(1);
    }
    std::set<std::string> aNew;
    for (const auto& [sSymbol, oRow] : m_aConstituents) {
        if (!aCodes.contains(oRow.m_sSector)) {
            aNew.insert(oRow.m_sSector);
        }
    }
    int64_t llNext = m_oDatabase.QueryInt64("SELECT max(sector_code) FROM sectors", 0) + 1;
    SqliteStatement oInsert =
        m_oDatabase.Prepare("INSERT INTO sectors (sector_code, name) VALUES (?1, ?2)");
    for (const std::string& sName : aNew) {
        oInsert.BindInt64(1, llNext);
        oInsert.BindText(2, sName);
        oInsert.Run();
        aCodes[sName] = llNext++;
        ++m_oReport.m_llSectorsAdded;
    }
    return aCodes;
}

std::map<std::string, int64_t> ImportRun::StoreIndustries(
    const std::map<std::string, int64_t>& p_aSectors) {
    std::map<std::string, std::pair<int64_t, int64_t>> aStored;
    SqliteStatement oRead =
        m_oDatabase.Prepare("SELECT name, ind_code, sector_code FROM industries");
    while (oRead.Step()) {
        aStored[oRead.ColumnText(0)] = {oRead.ColumnInt64(1), oRead.ColumnInt64(2)};
    }
    std::map<std::string, int64_t> aWanted;
    for (const auto& [sSymbol, oRow] : m_aConstituents) {
        aWanted[oRow.m_sIndustry] = p_aSectors.at(oRow.m_sSector);
    }
    int64_t llNext = m_oDatabase.QueryInt64("SELECT max(ind_code) FROM industries", 0) + 1;
    SqliteStatement oInsert = m_oDatabase.Prepare(
        "INSERT INTO industries (ind_code, name, sector_code) VALUES (?1, ?2, ?3)");
    SqliteStatement oMove =
        m_oDatabase.Prepare("UPDATE industries SET sector_code = ?2 WHERE ind_code = ?1");
    std::map<std::string, int64_t> aCodes;
    for (const auto& [sName, llSector] : aWanted) {
        const auto itStored = aStored.find(sName);
        if (itStored == aStored.end()) {
            oInsert.BindInt64(1, llNext);
            oInsert.BindText(2, sName);
            oInsert.BindInt64(3, llSector);
            oInsert.Run();
            aCodes[sName] = llNext++;
            ++m_oReport.m_llIndustriesAdded;
            continue;
        }
        if (itStored->second.second != llSector) {
            oMove.BindInt64(1, itStored->second.first);
            oMove.BindInt64(2, llSector);
            oMove.Run();
        }
        aCodes[sName] = itStored->second.first;
    }
    return aCodes;
}

void ImportRun::StoreStocks(const std::map<std::string, int64_t>& p_aIndustries) {
    SqliteStatement oRead = m_oDatabase.Prepare("SELECT symbol, stock_id FROM stocks");
    while (oRead.Step()) {
        m_aStockIds[oRead.ColumnText(0)] = oRead.ColumnInt64(1);
    }
    int64_t llNext = m_oDatabase.QueryInt64("SELECT max(stock_id) FROM stocks", 0) + 1;
    SqliteStatement oInsert = m_oDatabase.Prepare(
        "INSERT INTO stocks (stock_id, symbol, company_name, ind_code) VALUES (?1, ?2, ?3, ?4)");
    SqliteStatement oUpdate = m_oDatabase.Prepare(
        "UPDATE stocks SET company_name = ?2, ind_code = ?3 WHERE stock_id = ?1 AND "
        "(company_name <> ?2 OR ind_code <> ?3)");
    for (const auto& [sSymbol, oRow] : m_aConstituents) {
        const int64_t llIndustry = p_aIndustries.at(oRow.m_sIndustry);
        const auto itStored = m_aStockIds.find(sSymbol);
        if (itStored != m_aStockIds.end()) {
            oUpdate.BindInt64(1, itStored->second);
            oUpdate.BindText(2, oRow.m_sName);
            oUpdate.BindInt64(3, llIndustry);
            oUpdate.Run();
            m_oReport.m_llStocksUpdated += m_oDatabase.ChangedRows();
            continue;
        }
        oInsert.BindInt64(1, llNext);
        oInsert.BindText(2, sSymbol);
        oInsert.BindText(3, oRow.m_sName);
        oInsert.BindInt64(4, llIndustry);
        oInsert.Run();
        m_aStockIds[sSymbol] = llNext++;
        ++m_oReport.m_llStocksAdded;
    }
}

void ImportRun::StoreConstituents() {
    StoreStocks(StoreIndustries(StoreSectors()));
}

int64_t ImportRun::StockIdOf(const OpenInput& p_oInput, std::string_view p_sSymbol) {
    if (EqualsIgnoreCase(p_sSymbol, m_sLastSymbol)) {
        return m_llLastStockId;
    }
    m_sLastSymbol = ToUpperAscii(p_sSymbol);
    const auto itId = m_aStockIds.find(m_sLastSymbol);
    m_llLastStockId = itId != m_aStockIds.end() ? itId->second : 0;
    if (m_llLastStockId == 0 && m_aUnknownSymbols.insert(m_sLastSymbol).second) {
        Note(p_oInput.m_sName, p_oInput.m_oReader->RecordLine(),
             "unknown symbol " + Excerpt(m_sLastSymbol) +
                 " (not in the constituents); its rows are skipped");
    }
    return m_llLastStockId;
}

bool ImportRun::ReadBar(const OpenInput& p_oInput, const std::vector<std::string_view>& p_aFields,
                        DailyBar& p_oBar) {
    const Columns& oColumns = p_oInput.m_oColumns;
    const int64_t llLine = p_oInput.m_oReader->RecordLine();
    const auto Field = [&](int p_lColumn) {
        return p_lColumn >= 0 && static_cast<size_t>(p_lColumn) < p_aFields.size()
                   ? TrimWhitespace(p_aFields[static_cast<size_t>(p_lColumn)])
                   : std::string_view();
    };
    const std::string_view sDate = Field(oColumns.m_lDate);
    if (!ParseDayText(sDate, p_oBar.m_lDate) || p_oBar.m_lDate <= 0 ||
        p_oBar.m_lDate >= kDayKeyStride) {
        Problem(p_oInput.m_sName, llLine,
                "the date " + Excerpt(sDate) + " is not a day from 1900 to 9999");
        return false;
    }
    struct Price {
        int m_lColumn;
        const char* m_sName;
        double& m_dValue;
        bool m_bRequired;
    };
    const Price aPrices[] = {{oColumns.m_lOpen, "Open", p_oBar.m_dOpen, false},
                             {oColumns.m_lHigh, "High", p_oBar.m_dHigh, false},
                             {oColumns.m_lLow, "Low", p_oBar.m_dLow, false},
                             {oColumns.m_lClose, "Close", p_oBar.m_dClose, true},
                             {oColumns.m_lAdjClose, "AdjClose", p_oBar.m_dAdjClose, false}};
    for (const Price& oPrice : aPrices) {
        const std::string_view sText = Field(oPrice.m_lColumn);
        if (sText.empty() && !oPrice.m_bRequired) {
            continue;
        }
        const std::optional<double> dValue = ReadNumber(sText);
        if (!dValue || *dValue < kMinPrice || *dValue > kMaxPrice) {
            Problem(p_oInput.m_sName, llLine,
                    std::string(oPrice.m_sName) + " " + Excerpt(sText) +
                        " is not a price from 0.0001 to " +
                        std::to_string(static_cast<int64_t>(kMaxPrice)));
            return false;
        }
        oPrice.m_dValue = *dValue;
    }
    if (std::isnan(p_oBar.m_dAdjClose) || p_oBar.m_dAdjClose == 0) {
        p_oBar.m_dAdjClose = p_oBar.m_dClose;
    }
    const std::string_view sVolume = Field(oColumns.m_lVolume);
    const std::optional<int64_t> llVolume = sVolume.empty() ? 0 : ReadVolume(sVolume);
    if (!llVolume || *llVolume < 0 || *llVolume > kMaxVolume) {
        Problem(p_oInput.m_sName, llLine,
                "Volume " + Excerpt(sVolume) + " is not a count of shares from 0 to " +
                    std::to_string(kMaxVolume));
        return false;
    }
    p_oBar.m_llVolume = *llVolume;
    return true;
}

void ImportRun::ReadPrices(OpenInput& p_oInput) {
    const size_t lFile = m_aFiles.size();
    m_aFiles.push_back(p_oInput.m_sName);
    const std::string sStage = "Reading " + p_oInput.m_sName;
    std::vector<std::string_view> aFields;
    // Rows come grouped by symbol, so the bars of the current stock are kept at hand.
    int64_t llCurrentStock = 0;
    std::vector<ParsedBar>* aCurrentBars = nullptr;
    while (p_oInput.m_oReader->ReadRecord(aFields)) {
        const int64_t llLine = p_oInput.m_oReader->RecordLine();
        if (++m_oReport.m_llPriceRowsRead % kProgressRows == 0) {
            ReportProgress(m_fProgress, sStage, m_oReport.m_llPriceRowsRead, 0);
        }
        if (aFields.size() < p_oInput.m_oColumns.m_lRequired) {
            Problem(p_oInput.m_sName, llLine,
                    "expected at least " + std::to_string(p_oInput.m_oColumns.m_lRequired) +
                        " fields, found " + std::to_string(aFields.size()));
            continue;
        }
        const std::string_view sSymbol =
            TrimWhitespace(aFields[static_cast<size_t>(p_oInput.m_oColumns.m_lSymbol)]);
        if (sSymbol.empty()) {
            Problem(p_oInput.m_sName, llLine, "the symbol is empty");
            continue;
        }
        const int64_t llStockId = StockIdOf(p_oInput, sSymbol);
        if (llStockId == 0) {
            ++m_oReport.m_llRowsSkipped;
            continue;
        }
        DailyBar oBar;
        if (!ReadBar(p_oInput, aFields, oBar)) {
            continue;
        }
        if (llStockId != llCurrentStock) {
            llCurrentStock = llStockId;
            aCurrentBars = &m_aBars[llStockId];
        }
        aCurrentBars->push_back({oBar, llLine, lFile});
    }
    if (p_oInput.m_oReader->Unterminated()) {
        Problem(p_oInput.m_sName, p_oInput.m_oReader->RecordLine(),
                "the file ends inside a quoted field");
    }
}

std::vector<StockSeries> ImportRun::MergedSeries() {
    std::vector<StockSeries> aSeries = LoadStockSeries(m_oDatabase);
    std::unordered_map<int64_t, size_t> aIndex;
    for (size_t i = 0; i < aSeries.size(); ++i) {
        aIndex[aSeries[i].m_llStockId] = i;
    }
    for (auto& [llStockId, aParsed] : m_aBars) {
        const auto ByDate = [](const ParsedBar& oLeft, const ParsedBar& oRight) {
            return oLeft.m_oBar.m_lDate < oRight.m_oBar.m_lDate;
        };
        if (!std::is_sorted(aParsed.begin(), aParsed.end(), ByDate)) {
            std::stable_sort(aParsed.begin(), aParsed.end(), ByDate);
        }
        std::vector<DailyBar> aNew;
        aNew.reserve(aParsed.size());
        for (size_t i = 0; i < aParsed.size(); ++i) {
            if (i + 1 < aParsed.size() &&
                aParsed[i + 1].m_oBar.m_lDate == aParsed[i].m_oBar.m_lDate) {
                const ParsedBar& oLater = aParsed[i + 1];
                Problem(m_aFiles[aParsed[i].m_lFile], aParsed[i].m_llLine,
                        "the same symbol and day again on line " + std::to_string(oLater.m_llLine) +
                            " of " + m_aFiles[oLater.m_lFile] + "; the later row is used");
                continue;
            }
            aNew.push_back(aParsed[i].m_oBar);
        }
        m_oReport.m_llPriceRowsImported += static_cast<int64_t>(aNew.size());
        const auto itOld = aIndex.find(llStockId);
        if (itOld == aIndex.end()) {
            aSeries.push_back({llStockId, std::move(aNew)});
            continue;
        }
        std::vector<DailyBar>& aOld = aSeries[itOld->second].m_aBars;
        std::vector<DailyBar> aMerged;
        aMerged.reserve(aOld.size() + aNew.size());
        size_t lOld = 0;
        for (const DailyBar& oBar : aNew) {
            while (lOld < aOld.size() && aOld[lOld].m_lDate < oBar.m_lDate) {
                aMerged.push_back(aOld[lOld++]);
            }
            if (lOld < aOld.size() && aOld[lOld].m_lDate == oBar.m_lDate) {
                ++lOld;
            }
            aMerged.push_back(oBar);
        }
        aMerged.insert(aMerged.end(), aOld.begin() + static_cast<std::ptrdiff_t>(lOld), aOld.end());
        aOld = std::move(aMerged);
    }
    m_aBars.clear();
    // In stock order the bars go in at the end of the table, which fills its pages.
    std::sort(aSeries.begin(), aSeries.end(),
              [](const StockSeries& oLeft, const StockSeries& oRight) {
                  return oLeft.m_llStockId < oRight.m_llStockId;
              });
    return aSeries;
}

void ImportRun::StoreBars() {
    if (m_aBars.empty()) {
        return;
    }
    RewriteDailyData(m_oDatabase, MergedSeries(), m_fProgress);
}

std::vector<std::string> ExpandPaths(const std::vector<std::string>& p_aPaths) {
    std::vector<std::string> aFiles;
    for (const std::string& sPath : p_aPaths) {
        std::error_code oError;
        if (!fs::is_directory(sPath, oError)) {
            aFiles.push_back(sPath);
            continue;
        }
        std::vector<std::string> aFolder;
        for (const fs::directory_entry& oEntry : fs::directory_iterator(sPath, oError)) {
            const std::string sName = oEntry.path().filename().string();
            const bool bCsv = sName.ends_with(".csv") || sName.ends_with(".csv.gz");
            if (bCsv && oEntry.is_regular_file()) {
                aFolder.push_back(oEntry.path().string());
            }
        }
        if (oError) {
            throw FacadeError(sPath, 0, "cannot read the folder: " + oError.message());
        }
        if (aFolder.empty()) {
            throw FacadeError(sPath, 0, "the folder holds no .csv or .csv.gz files");
        }
        std::sort(aFolder.begin(), aFolder.end());
        aFiles.insert(aFiles.end(), aFolder.begin(), aFolder.end());
    }
    return aFiles;
}

}  // namespace

ImportReport MarketImporter::ImportPaths(const std::vector<std::string>& p_aPaths,
                                         const ProgressFn& p_fProgress) {
    std::vector<ImportInput> aInputs;
    for (const std::string& sFile : ExpandPaths(p_aPaths)) {
        aInputs.push_back({sFile, std::make_unique<GzipFileSource>(sFile)});
    }
    return Import(std::move(aInputs), p_fProgress);
}

ImportReport MarketImporter::Import(std::vector<ImportInput> p_aInputs,
                                    const ProgressFn& p_fProgress) {
    std::vector<OpenInput> aOpen;
    for (ImportInput& oInput : p_aInputs) {
        aOpen.push_back(Recognise(std::move(oInput)));
    }
    std::stable_partition(aOpen.begin(), aOpen.end(), [](const OpenInput& oInput) {
        return oInput.m_eKind == InputKind::Constituents;
    });
    SqliteDatabase& oDatabase = m_oStore.Database();
    SqliteTransaction oWork(oDatabase);
    ImportRun oRun(oDatabase, p_fProgress);
    for (OpenInput& oInput : aOpen) {
        if (oInput.m_eKind == InputKind::Constituents) {
            ReportProgress(p_fProgress, "Reading " + oInput.m_sName, 0, 0);
            oRun.ReadConstituents(oInput);
        }
    }
    oRun.StoreConstituents();
    for (OpenInput& oInput : aOpen) {
        if (oInput.m_eKind == InputKind::Prices) {
            oRun.ReadPrices(oInput);
        }
    }
    oRun.StoreBars();
    oWork.Commit();
    return oRun.TakeReport();
}

}  // namespace qv::facade
