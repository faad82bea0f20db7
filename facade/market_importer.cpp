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
#include "outside/platform_context.h"
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
    OpenInput open{
        std::move(p_oInput.m_sName), std::move(p_oInput.m_oSource), nullptr, InputKind::Prices, {}};
    open.m_oReader = std::make_unique<CsvReader>(*open.m_oSource, open.m_sName);
    std::vector<std::string_view> header;
    open.m_oReader->ReadRecord(header);
    Columns& columns = open.m_oColumns;
    columns.m_lSymbol = FindColumn(header, "Symbol");
    columns.m_lName = FindColumn(header, "Name");
    columns.m_lSector = FindColumn(header, "Sector");
    columns.m_lIndustry = FindColumn(header, "Industry");
    columns.m_lDate = FindColumn(header, "Date");
    columns.m_lOpen = FindColumn(header, "Open");
    columns.m_lHigh = FindColumn(header, "High");
    columns.m_lLow = FindColumn(header, "Low");
    columns.m_lClose = FindColumn(header, "Close");
    columns.m_lAdjClose = FindColumn(header, "AdjClose");
    columns.m_lVolume = FindColumn(header, "Volume");
    const auto Required = [&](std::initializer_list<int> p_aIndexes) {
        const int last = std::max(p_aIndexes);
        const bool all = std::all_of(p_aIndexes.begin(), p_aIndexes.end(),
                                     [](int p_lIndex) { return p_lIndex >= 0; });
        columns.m_lRequired = static_cast<size_t>(last + 1);
        return all;
    };
    if (Required({columns.m_lSymbol, columns.m_lName, columns.m_lSector, columns.m_lIndustry})) {
        open.m_eKind = InputKind::Constituents;
        return open;
    }
    if (Required({columns.m_lSymbol, columns.m_lDate, columns.m_lClose})) {
        open.m_eKind = InputKind::Prices;
        return open;
    }
    throw FacadeError(open.m_sName, 0,
                      "neither a constituents file (a header with Symbol, Name, Sector and "
                      "Industry) nor a price file (Symbol, Date and Close); nothing was imported");
}

// A count of shares: whole, or a decimal rounded to the nearest share ("1.5e6" is written by
// some sources).
std::optional<int64_t> ReadVolume(std::string_view p_sText) {
    p_sText = TrimWhitespace(p_sText);
    int64_t parsedValue = 0;
    const auto [end, error] =
        std::from_chars(p_sText.data(), p_sText.data() + p_sText.size(), parsedValue);
    if (error == std::errc() && end == p_sText.data() + p_sText.size()) {
        return parsedValue;
    }
    const std::optional<double> value = ReadCsvNumber(p_sText);
    return value ? RoundToWholeNumber(*value) : std::nullopt;
}

struct Constituent {
    std::string m_sName;
    std::string m_sSector;
    std::string m_sIndustry;
};

// Names go into lists, exports and logs as they are, so a name must be UTF-8 text without
// control characters: a name that is not is reported and its row skipped, rather than guessed at.
std::string NamesFault(const std::string& p_sSymbol, const Constituent& p_oRow) {
    const std::pair<const char*, const std::string&> names[] = {{"symbol", p_sSymbol},
                                                                {"name", p_oRow.m_sName},
                                                                {"sector", p_oRow.m_sSector},
                                                                {"industry", p_oRow.m_sIndustry}};
    for (const auto& [what, text] : names) {
        const std::string fault = NameTextFault(text);
        if (!fault.empty()) {
            return std::string("the ") + what + " " + Excerpt(text) + " holds " + fault;
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
    ImportRun(SqlDatabase& p_oDatabase, const ProgressFn& p_fProgress)
        : m_oDatabase(p_oDatabase), m_fProgress(p_fProgress) {}

    void ReadConstituents(OpenInput& p_oInput);
    void RemoveSampleMarket(const std::string& p_sDatabase);
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

    SqlDatabase& m_oDatabase;
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
    const Columns& columns = p_oInput.m_oColumns;
    std::vector<std::string_view> fields;
    std::map<std::string, std::string> industrySectors;
    while (p_oInput.m_oReader->ReadRecord(fields)) {
        const int64_t line = p_oInput.m_oReader->RecordLine();
        if (fields.size() < columns.m_lRequired) {
            Problem(p_oInput.m_sName, line,
                    "expected at least " + std::to_string(columns.m_lRequired) + " fields, found " +
                        std::to_string(fields.size()));
            continue;
        }
        const std::string symbol =
            ToUpperAscii(TrimWhitespace(fields[static_cast<size_t>(columns.m_lSymbol)]));
        Constituent row{
            std::string(TrimWhitespace(fields[static_cast<size_t>(columns.m_lName)])),
            std::string(TrimWhitespace(fields[static_cast<size_t>(columns.m_lSector)])),
            std::string(TrimWhitespace(fields[static_cast<size_t>(columns.m_lIndustry)]))};
        if (symbol.empty() || row.m_sName.empty() || row.m_sSector.empty() ||
            row.m_sIndustry.empty()) {
            Problem(p_oInput.m_sName, line, "symbol, name, sector and industry must not be empty");
            continue;
        }
        if (const std::string fault = NamesFault(symbol, row); !fault.empty()) {
            Problem(p_oInput.m_sName, line, fault + "; the row is skipped");
            continue;
        }
        const auto [sector, first] = industrySectors.emplace(row.m_sIndustry, row.m_sSector);
        if (!first && sector->second != row.m_sSector) {
            Problem(p_oInput.m_sName, line,
                    "industry " + Excerpt(row.m_sIndustry) + " was given the sector " +
                        Excerpt(sector->second) + " before; this row with " +
                        Excerpt(row.m_sSector) + " is skipped");
            continue;
        }
        m_aConstituents[symbol] = std::move(row);
    }
    if (p_oInput.m_oReader->Unterminated()) {
        Problem(p_oInput.m_sName, p_oInput.m_oReader->RecordLine(),
                "the file ends inside a quoted field");
    }
}

std::map<std::string, int64_t> ImportRun::StoreSectors() {
    std::map<std::string, int64_t> codes;
    SqlStatement read = m_oDatabase.Prepare("SELECT name, sector_code FROM sectors");
    while (read.Step()) {
        codes[read.ColumnText(0)] = read.ColumnInt64(1);
    }
    std::set<std::string> newSectors;
    for (const auto& [symbol, row] : m_aConstituents) {
        if (!codes.contains(row.m_sSector)) {
            newSectors.insert(row.m_sSector);
        }
    }
    int64_t next = m_oDatabase.QueryInt64("SELECT max(sector_code) FROM sectors", 0) + 1;
    SqlStatement insertSector =
        m_oDatabase.Prepare("INSERT INTO sectors (sector_code, name) VALUES (?1, ?2)");
    for (const std::string& name : newSectors) {
        insertSector.BindInt64(1, next);
        insertSector.BindText(2, name);
        insertSector.Run();
        codes[name] = next++;
        ++m_oReport.m_llSectorsAdded;
    }
    return codes;
}

std::map<std::string, int64_t> ImportRun::StoreIndustries(
    const std::map<std::string, int64_t>& p_aSectors) {
    std::map<std::string, std::pair<int64_t, int64_t>> stored;
    SqlStatement read = m_oDatabase.Prepare("SELECT name, ind_code, sector_code FROM industries");
    while (read.Step()) {
        stored[read.ColumnText(0)] = {read.ColumnInt64(1), read.ColumnInt64(2)};
    }
    std::map<std::string, int64_t> wanted;
    for (const auto& [symbol, row] : m_aConstituents) {
        wanted[row.m_sIndustry] = p_aSectors.at(row.m_sSector);
    }
    int64_t next = m_oDatabase.QueryInt64("SELECT max(ind_code) FROM industries", 0) + 1;
    SqlStatement insert = m_oDatabase.Prepare(
        "INSERT INTO industries (ind_code, name, sector_code) VALUES (?1, ?2, ?3)");
    SqlStatement move =
        m_oDatabase.Prepare("UPDATE industries SET sector_code = ?2 WHERE ind_code = ?1");
    std::map<std::string, int64_t> codes;
    for (const auto& [name, sector] : wanted) {
        const auto storedAt = stored.find(name);
        if (storedAt == stored.end()) {
            insert.BindInt64(1, next);
            insert.BindText(2, name);
            insert.BindInt64(3, sector);
            insert.Run();
            codes[name] = next++;
            ++m_oReport.m_llIndustriesAdded;
            continue;
        }
        if (storedAt->second.second != sector) {
            move.BindInt64(1, storedAt->second.first);
            move.BindInt64(2, sector);
            move.Run();
        }
        codes[name] = storedAt->second.first;
    }
    return codes;
}

void ImportRun::StoreStocks(const std::map<std::string, int64_t>& p_aIndustries) {
    SqlStatement read = m_oDatabase.Prepare("SELECT symbol, stock_id FROM stocks");
    while (read.Step()) {
        m_aStockIds[read.ColumnText(0)] = read.ColumnInt64(1);
    }
    int64_t next = m_oDatabase.QueryInt64("SELECT max(stock_id) FROM stocks", 0) + 1;
    SqlStatement insert = m_oDatabase.Prepare(
        "INSERT INTO stocks (stock_id, symbol, company_name, ind_code) VALUES (?1, ?2, ?3, ?4)");
    SqlStatement update = m_oDatabase.Prepare(
        "UPDATE stocks SET company_name = ?2, ind_code = ?3 WHERE stock_id = ?1 AND "
        "(company_name <> ?2 OR ind_code <> ?3)");
    for (const auto& [symbol, row] : m_aConstituents) {
        const int64_t industry = p_aIndustries.at(row.m_sIndustry);
        const auto stored = m_aStockIds.find(symbol);
        if (stored != m_aStockIds.end()) {
            update.BindInt64(1, stored->second);
            update.BindText(2, row.m_sName);
            update.BindInt64(3, industry);
            update.Run();
            m_oReport.m_llStocksUpdated += m_oDatabase.ChangedRows();
            continue;
        }
        insert.BindInt64(1, next);
        insert.BindText(2, symbol);
        insert.BindText(3, row.m_sName);
        insert.BindInt64(4, industry);
        insert.Run();
        m_aStockIds[symbol] = next++;
        ++m_oReport.m_llStocksAdded;
    }
}

// Every stock and group is the sample's, so every watch-list item (a stock or an industry group)
// and every trade names one of them.
constexpr const char* kRemoveSampleSql = R"sql(
DELETE FROM trades;
DELETE FROM watch_list_items;
DELETE FROM fundamentals;
DELETE FROM stock_bars;
DELETE FROM group_days;
DELETE FROM trading_days;
DELETE FROM stocks;
DELETE FROM industries;
DELETE FROM sectors;
)sql";

void ImportRun::RemoveSampleMarket(const std::string& p_sDatabase) {
    if (m_aConstituents.empty()) {
        throw FacadeError(p_sDatabase, 0,
                          "the database holds the generated sample market, which an import "
                          "replaces, and no constituents file gave a stock to replace it with; "
                          "nothing was imported");
    }
    ReportProgress(m_fProgress, "Replacing the generated sample market", 0, 0);
    m_oDatabase.Execute(kRemoveSampleSql);
    m_oReport.m_bReplacedSample = true;
}

void ImportRun::StoreConstituents() {
    StoreStocks(StoreIndustries(StoreSectors()));
}

int64_t ImportRun::StockIdOf(const OpenInput& p_oInput, std::string_view p_sSymbol) {
    if (EqualsIgnoreCase(p_sSymbol, m_sLastSymbol)) {
        return m_llLastStockId;
    }
    m_sLastSymbol = ToUpperAscii(p_sSymbol);
    const auto id = m_aStockIds.find(m_sLastSymbol);
    m_llLastStockId = id != m_aStockIds.end() ? id->second : 0;
    if (m_llLastStockId == 0 && m_aUnknownSymbols.insert(m_sLastSymbol).second) {
        Note(p_oInput.m_sName, p_oInput.m_oReader->RecordLine(),
             "unknown symbol " + Excerpt(m_sLastSymbol) +
                 " (not in the constituents); its rows are skipped");
    }
    return m_llLastStockId;
}

bool ImportRun::ReadBar(const OpenInput& p_oInput, const std::vector<std::string_view>& p_aFields,
                        DailyBar& p_oBar) {
    const Columns& columns = p_oInput.m_oColumns;
    const int64_t line = p_oInput.m_oReader->RecordLine();
    const auto Field = [&](int p_lColumn) {
        return p_lColumn >= 0 && static_cast<size_t>(p_lColumn) < p_aFields.size()
                   ? TrimWhitespace(p_aFields[static_cast<size_t>(p_lColumn)])
                   : std::string_view();
    };
    const std::string_view date = Field(columns.m_lDate);
    if (!ParseDayText(date, p_oBar.m_lDate) || p_oBar.m_lDate <= 0 ||
        p_oBar.m_lDate >= kDayKeyStride) {
        Problem(p_oInput.m_sName, line,
                "the date " + Excerpt(date) + " is not a day from 1900 to 9999");
        return false;
    }
    struct Price {
        int m_lColumn;
        const char* m_sName;
        double& m_dValue;
        bool m_bRequired;
    };
    const Price prices[] = {{columns.m_lOpen, "Open", p_oBar.m_dOpen, false},
                            {columns.m_lHigh, "High", p_oBar.m_dHigh, false},
                            {columns.m_lLow, "Low", p_oBar.m_dLow, false},
                            {columns.m_lClose, "Close", p_oBar.m_dClose, true},
                            {columns.m_lAdjClose, "AdjClose", p_oBar.m_dAdjClose, false}};
    for (const Price& price : prices) {
        const std::string_view text = Field(price.m_lColumn);
        if (text.empty() && !price.m_bRequired) {
            continue;
        }
        const std::optional<double> value = ReadCsvNumber(text);
        if (!value || *value < kMinPrice || *value > kMaxPrice) {
            Problem(p_oInput.m_sName, line,
                    std::string(price.m_sName) + " " + Excerpt(text) +
                        " is not a price from 0.0001 to " +
                        std::to_string(static_cast<int64_t>(kMaxPrice)));
            return false;
        }
        price.m_dValue = *value;
    }
    if (std::isnan(p_oBar.m_dAdjClose) || p_oBar.m_dAdjClose == 0) {
        p_oBar.m_dAdjClose = p_oBar.m_dClose;
    }
    const std::string_view volume = Field(columns.m_lVolume);
    const std::optional<int64_t> volumeShares = volume.empty() ? 0 : ReadVolume(volume);
    if (!volumeShares || *volumeShares < 0 || *volumeShares > kMaxVolume) {
        Problem(p_oInput.m_sName, line,
                "Volume " + Excerpt(volume) + " is not a count of shares from 0 to " +
                    std::to_string(kMaxVolume));
        return false;
    }
    p_oBar.m_llVolume = *volumeShares;
    return true;
}

void ImportRun::ReadPrices(OpenInput& p_oInput) {
    const size_t file = m_aFiles.size();
    m_aFiles.push_back(p_oInput.m_sName);
    const std::string stage = "Reading " + p_oInput.m_sName;
    std::vector<std::string_view> fields;
    // Rows come grouped by symbol, so the bars of the current stock are kept at hand.
    int64_t currentStock = 0;
    std::vector<ParsedBar>* currentBars = nullptr;
    while (p_oInput.m_oReader->ReadRecord(fields)) {
        const int64_t line = p_oInput.m_oReader->RecordLine();
        if (++m_oReport.m_llPriceRowsRead % kProgressRows == 0) {
            ReportProgress(m_fProgress, stage, m_oReport.m_llPriceRowsRead, 0);
        }
        if (fields.size() < p_oInput.m_oColumns.m_lRequired) {
            Problem(p_oInput.m_sName, line,
                    "expected at least " + std::to_string(p_oInput.m_oColumns.m_lRequired) +
                        " fields, found " + std::to_string(fields.size()));
            continue;
        }
        const std::string_view symbol =
            TrimWhitespace(fields[static_cast<size_t>(p_oInput.m_oColumns.m_lSymbol)]);
        if (symbol.empty()) {
            Problem(p_oInput.m_sName, line, "the symbol is empty");
            continue;
        }
        const int64_t stockId = StockIdOf(p_oInput, symbol);
        if (stockId == 0) {
            ++m_oReport.m_llRowsSkipped;
            continue;
        }
        DailyBar bar;
        if (!ReadBar(p_oInput, fields, bar)) {
            continue;
        }
        if (stockId != currentStock) {
            currentStock = stockId;
            currentBars = &m_aBars[stockId];
        }
        currentBars->push_back({bar, line, file});
    }
    if (p_oInput.m_oReader->Unterminated()) {
        Problem(p_oInput.m_sName, p_oInput.m_oReader->RecordLine(),
                "the file ends inside a quoted field");
    }
}

std::vector<StockSeries> ImportRun::MergedSeries() {
    std::vector<StockSeries> series = LoadStockSeries(m_oDatabase);
    std::unordered_map<int64_t, size_t> index;
    for (size_t i = 0; i < series.size(); ++i) {
        index[series[i].m_llStockId] = i;
    }
    for (auto& [stockId, parsed] : m_aBars) {
        const auto ByDate = [](const ParsedBar& left, const ParsedBar& right) {
            return left.m_oBar.m_lDate < right.m_oBar.m_lDate;
        };
        if (!std::is_sorted(parsed.begin(), parsed.end(), ByDate)) {
            std::stable_sort(parsed.begin(), parsed.end(), ByDate);
        }
        std::vector<DailyBar> fresh;
        fresh.reserve(parsed.size());
        for (size_t i = 0; i < parsed.size(); ++i) {
            if (i + 1 < parsed.size() && parsed[i + 1].m_oBar.m_lDate == parsed[i].m_oBar.m_lDate) {
                const ParsedBar& later = parsed[i + 1];
                Problem(m_aFiles[parsed[i].m_lFile], parsed[i].m_llLine,
                        "the same symbol and day again on line " + std::to_string(later.m_llLine) +
                            " of " + m_aFiles[later.m_lFile] + "; the later row is used");
                continue;
            }
            fresh.push_back(parsed[i].m_oBar);
        }
        m_oReport.m_llPriceRowsImported += static_cast<int64_t>(fresh.size());
        const auto known = index.find(stockId);
        if (known == index.end()) {
            series.push_back({stockId, std::move(fresh)});
            continue;
        }
        std::vector<DailyBar>& existing = series[known->second].m_aBars;
        std::vector<DailyBar> merged;
        merged.reserve(existing.size() + fresh.size());
        size_t existingAt = 0;
        for (const DailyBar& bar : fresh) {
            while (existingAt < existing.size() && existing[existingAt].m_lDate < bar.m_lDate) {
                merged.push_back(existing[existingAt++]);
            }
            if (existingAt < existing.size() && existing[existingAt].m_lDate == bar.m_lDate) {
                ++existingAt;
            }
            merged.push_back(bar);
        }
        merged.insert(merged.end(), existing.begin() + static_cast<std::ptrdiff_t>(existingAt),
                      existing.end());
        existing = std::move(merged);
    }
    m_aBars.clear();
    // In stock order the bars go in at the end of the table, which fills its pages.
    std::sort(series.begin(), series.end(), [](const StockSeries& left, const StockSeries& right) {
        return left.m_llStockId < right.m_llStockId;
    });
    return series;
}

void ImportRun::StoreBars() {
    if (m_aBars.empty()) {
        return;
    }
    RewriteDailyData(m_oDatabase, MergedSeries(), m_fProgress);
}

// The paths as they name the data wherever the program runs: absolute, without a trailing
// separator.
std::string SourceOf(const std::vector<std::string>& p_aPaths) {
    std::string source;
    for (const std::string& pathGiven : p_aPaths) {
        std::error_code error;
        fs::path path = fs::absolute(pathGiven, error).lexically_normal();
        if (path.has_parent_path() && !path.has_filename()) {
            path = path.parent_path();
        }
        source += (source.empty() ? "" : ", ") + (error ? pathGiven : path.string());
    }
    return source;
}

int32_t Today() {
    return static_cast<int32_t>(std::trunc(PlatformContext::Current().Time().Now()));
}

std::vector<std::string> ExpandPaths(const std::vector<std::string>& p_aPaths) {
    std::vector<std::string> files;
    for (const std::string& pathGiven : p_aPaths) {
        std::error_code error;
        if (!fs::is_directory(pathGiven, error)) {
            files.push_back(pathGiven);
            continue;
        }
        std::vector<std::string> folder;
        for (const fs::directory_entry& entry : fs::directory_iterator(pathGiven, error)) {
            const std::string name = entry.path().filename().string();
            const bool csv = name.ends_with(".csv") || name.ends_with(".csv.gz");
            if (csv && entry.is_regular_file()) {
                folder.push_back(entry.path().string());
            }
        }
        if (error) {
            throw FacadeError(pathGiven, 0, "cannot read the folder: " + error.message());
        }
        if (folder.empty()) {
            throw FacadeError(pathGiven, 0, "the folder holds no .csv or .csv.gz files");
        }
        std::sort(folder.begin(), folder.end());
        files.insert(files.end(), folder.begin(), folder.end());
    }
    return files;
}

}  // namespace

ImportReport MarketImporter::ImportPaths(const std::vector<std::string>& p_aPaths,
                                         const ProgressFn& p_fProgress) {
    std::vector<ImportInput> inputs;
    for (const std::string& file : ExpandPaths(p_aPaths)) {
        inputs.push_back({file, std::make_unique<GzipFileSource>(file)});
    }
    return Import(std::move(inputs), p_fProgress, SourceOf(p_aPaths));
}

ImportReport MarketImporter::Import(std::vector<ImportInput> p_aInputs,
                                    const ProgressFn& p_fProgress, std::string p_sSource) {
    std::vector<OpenInput> open;
    const bool nameSource = p_sSource.empty();
    for (ImportInput& input : p_aInputs) {
        if (nameSource) {
            p_sSource += (p_sSource.empty() ? "" : ", ") + input.m_sName;
        }
        open.push_back(Recognise(std::move(input)));
    }
    std::stable_partition(open.begin(), open.end(), [](const OpenInput& input) {
        return input.m_eKind == InputKind::Constituents;
    });
    SqlDatabase& database = m_oStore.Database();
    SqlTransaction work(database);
    ImportRun run(database, p_fProgress);
    for (OpenInput& input : open) {
        if (input.m_eKind == InputKind::Constituents) {
            ReportProgress(p_fProgress, "Reading " + input.m_sName, 0, 0);
            run.ReadConstituents(input);
        }
    }
    if (ReadMarketOrigin(database).m_eKind == MarketOrigin::Kind::Sample) {
        run.RemoveSampleMarket(m_oStore.Name());
    }
    run.StoreConstituents();
    for (OpenInput& input : open) {
        if (input.m_eKind == InputKind::Prices) {
            run.ReadPrices(input);
        }
    }
    run.StoreBars();
    RecordMarketOrigin(database, {MarketOrigin::Kind::Imported, p_sSource, Today()});
    work.Commit();
    return run.TakeReport();
}

}  // namespace qv::facade
