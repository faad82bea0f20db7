#include "facade/market_command.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "facade/market_importer.h"
#include "facade/market_store.h"
#include "facade/portfolio_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "facade/trade_csv.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

namespace qv::facade {

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: %s [--db %s] COMMAND\n"
    "\n"
    "commands:\n"
    "  create [--stocks N] [--seed S] [--industries N] [--days N] [--no-demo]\n"
    "        create a database holding a generated sample market (default 3000 stocks,\n"
    "        120 industry groups, 756 trading days, seed 1) and a demo owner\n"
    "  import FOLDER-OR-FILE... [--demo]\n"
    "        import constituents and daily price files (.csv or .csv.gz); a folder\n"
    "        contributes its .csv and .csv.gz files; --demo adds the demo owner\n"
    "  info  show what the database holds\n"
    "  portfolio import FILE --owner ID --name NAME\n"
    "        add the trades of a CSV file (Symbol, BuyDate, Shares, Price and optionally\n"
    "        Commission, Short, InitialReq, MaintenancePercent, SellDate, SellPrice) to the\n"
    "        owner's portfolio of that name, made when there is none; a file with a row\n"
    "        in error adds nothing\n"
    "\n"
    "The database is --db %s, else $QV_DATABASE, else market.db in the library folder\n"
    "($QV_LIBRARY_DIR, $XDG_DATA_HOME/qorvant or ~/.local/share/qorvant).\n";

void PrintUsage(const MarketCommand& p_oCommand, std::FILE* p_oStream) {
    std::fprintf(p_oStream, kUsage, p_oCommand.m_sProgram.c_str(),
                 p_oCommand.m_sDatabaseWord.c_str(), p_oCommand.m_sDatabaseWord.c_str());
}

struct UsageError {
    std::string m_sMessage;
};

// Shows the stage and its count on one line of standard error, redrawn at most ten times a
// second on a terminal; elsewhere (a log) one line per stage.
class ProgressLine {
  public:
    ProgressLine() : m_bTerminal(isatty(STDERR_FILENO) != 0) {}
    ~ProgressLine() { Finish(); }

    void Show(const std::string& p_sStage, int64_t p_llDone, int64_t p_llTotal) {
        const auto moment = std::chrono::steady_clock::now();
        const bool newStage = p_sStage != m_sStage;
        if (!newStage && moment - m_oLastShown < std::chrono::milliseconds(100) &&
            p_llDone != p_llTotal) {
            return;
        }
        if (newStage) {
            Finish();
            m_sStage = p_sStage;
        }
        m_oLastShown = moment;
        if (!m_bTerminal) {
            if (newStage) {
                std::fprintf(stderr, "%s ...\n", p_sStage.c_str());
            }
            return;
        }
        if (p_llTotal > 0) {
            std::fprintf(stderr, "\r%s: %lld of %lld (%lld%%)   ", p_sStage.c_str(),
                         static_cast<long long>(p_llDone), static_cast<long long>(p_llTotal),
                         static_cast<long long>(p_llDone * 100 / p_llTotal));
        } else {
            std::fprintf(stderr, "\r%s: %lld   ", p_sStage.c_str(),
                         static_cast<long long>(p_llDone));
        }
        m_bLineOpen = true;
    }

    void Finish() {
        if (m_bLineOpen) {
            std::fputc('\n', stderr);
            m_bLineOpen = false;
        }
    }

    ProgressFn Callback() {
        return [this](const std::string& p_sStage, int64_t p_llDone, int64_t p_llTotal) {
            Show(p_sStage, p_llDone, p_llTotal);
        };
    }

  private:
    bool m_bTerminal;
    bool m_bLineOpen = false;
    std::string m_sStage;
    std::chrono::steady_clock::time_point m_oLastShown;
};

int64_t ReadCount(const std::vector<std::string>& p_aArgs, size_t& p_lIndex, int64_t p_llMinimum,
                  int64_t p_llMaximum = std::numeric_limits<int32_t>::max()) {
    if (p_lIndex + 1 >= p_aArgs.size()) {
        throw UsageError{p_aArgs[p_lIndex] + " needs a number"};
    }
    const std::string& text = p_aArgs[++p_lIndex];
    size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || value < p_llMinimum || value > p_llMaximum) {
        throw UsageError{p_aArgs[p_lIndex - 1] + " needs a number from " +
                         std::to_string(p_llMinimum) + " to " + std::to_string(p_llMaximum) +
                         ", not " + qv::Excerpt(text)};
    }
    return value;
}

// The commands that write refuse a read-only database before any work, rather than after reading
// every input.
void RequireWritable(const MarketStore& p_oStore, const std::string& p_sWhatFails) {
    if (p_oStore.IsReadOnly()) {
        throw FacadeError(p_oStore.Name(), 0,
                          std::string("the database is read-only (the file or its folder cannot "
                                      "be written), so ") +
                              p_sWhatFails);
    }
}

double SecondsSince(std::chrono::steady_clock::time_point p_oStart) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - p_oStart).count();
}

int Create(const MarketCommand& p_oCommand, const std::string& p_sPath,
           const std::vector<std::string>& p_aArgs) {
    SampleMarketOptions options;
    for (size_t i = 0; i < p_aArgs.size(); ++i) {
        if (p_aArgs[i] == "--stocks") {
            options.m_lStocks = static_cast<int32_t>(ReadCount(p_aArgs, i, 1));
        } else if (p_aArgs[i] == "--seed") {
            options.m_llSeed = static_cast<uint64_t>(
                ReadCount(p_aArgs, i, 0, std::numeric_limits<int64_t>::max()));
        } else if (p_aArgs[i] == "--industries") {
            options.m_lIndustries = static_cast<int32_t>(ReadCount(p_aArgs, i, 1));
        } else if (p_aArgs[i] == "--days") {
            options.m_lTradingDays = static_cast<int32_t>(ReadCount(p_aArgs, i, 1));
        } else if (p_aArgs[i] == "--no-demo") {
            options.m_bDemoOwner = false;
        } else {
            throw UsageError{"create does not take '" + p_aArgs[i] + "'"};
        }
    }
    const int32_t mostIndustries = SampleIndustryLimit(options.m_lStocks);
    if (options.m_lIndustries > mostIndustries) {
        const bool byStocks = mostIndustries == options.m_lStocks;
        std::fprintf(stderr, "%s: note: %d industry groups asked for, %d made: %s\n",
                     p_oCommand.m_sProgram.c_str(), options.m_lIndustries, mostIndustries,
                     byStocks ? "each group needs a stock of its own"
                              : "the generator has no more industry names");
    }
    const auto start = std::chrono::steady_clock::now();
    const std::shared_ptr<MarketStore> opened =
        p_oCommand.m_fnOpen(p_sPath, MarketStore::Access::ReadWrite);
    MarketStore& store = *opened;
    RequireWritable(store, "no sample market can be made in it");
    ProgressLine progress;
    GenerateSampleMarket(store, options, progress.Callback());
    progress.Finish();
    const MarketSummary summary = store.Summary();
    std::printf(
        "Generated %lld stocks in %lld industry groups over %lld trading days into %s in "
        "%.1f s\n",
        static_cast<long long>(summary.m_llStocks), static_cast<long long>(summary.m_llIndustries),
        static_cast<long long>(summary.m_llTradingDays), p_sPath.c_str(), SecondsSince(start));
    return 0;
}

int Import(const MarketCommand& p_oCommand, const std::string& p_sPath,
           const std::vector<std::string>& p_aArgs) {
    std::vector<std::string> paths;
    bool demo = false;
    for (const std::string& arg : p_aArgs) {
        if (arg == "--demo") {
            demo = true;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) {
        throw UsageError{"import needs a folder or files"};
    }
    const auto start = std::chrono::steady_clock::now();
    const std::shared_ptr<MarketStore> opened =
        p_oCommand.m_fnOpen(p_sPath, MarketStore::Access::ReadWrite);
    MarketStore& store = *opened;
    RequireWritable(store, "nothing can be imported into it");
    ProgressLine progress;
    const ImportReport report = MarketImporter(store).ImportPaths(paths, progress.Callback());
    if (demo) {
        CreateDemoOwner(store.Database());
    }
    // The import committed into the file it opened; the success reported is only true while
    // that is still the file at the path.
    store.CheckFileInPlace();
    progress.Finish();
    std::printf("Imported into %s in %.1f s\n", p_sPath.c_str(), SecondsSince(start));
    if (report.m_bReplacedSample) {
        std::printf("  replaced the generated sample market with the imported data\n");
    }
    std::printf(
        "  sectors added %lld, industry groups added %lld, stocks added %lld, updated %lld\n",
        static_cast<long long>(report.m_llSectorsAdded),
        static_cast<long long>(report.m_llIndustriesAdded),
        static_cast<long long>(report.m_llStocksAdded),
        static_cast<long long>(report.m_llStocksUpdated));
    std::printf("  price rows read %lld, imported %lld, rows skipped %lld\n",
                static_cast<long long>(report.m_llPriceRowsRead),
                static_cast<long long>(report.m_llPriceRowsImported),
                static_cast<long long>(report.m_llRowsSkipped));
    constexpr size_t kShown = 20;
    for (size_t i = 0; i < report.m_aProblems.size() && i < kShown; ++i) {
        const ImportProblem& problem = report.m_aProblems[i];
        std::printf("  %s:%lld: %s\n", problem.m_sFile.c_str(),
                    static_cast<long long>(problem.m_llLine), problem.m_sMessage.c_str());
    }
    if (report.m_aProblems.size() > kShown) {
        std::printf("  ... and more problems (%lld rows skipped in all)\n",
                    static_cast<long long>(report.m_llRowsSkipped));
    }
    return 0;
}

int Info(const MarketCommand& p_oCommand, const std::string& p_sPath,
         const std::vector<std::string>& p_aArgs) {
    if (!p_aArgs.empty()) {
        throw UsageError{"info takes no arguments"};
    }
    const std::shared_ptr<MarketStore> opened =
        p_oCommand.m_fnOpen(p_sPath, MarketStore::Access::ReadOnly);
    MarketStore& store = *opened;
    const MarketSummary summary = store.Summary();
    std::printf("Database        %s (schema %d)\n", p_sPath.c_str(), summary.m_lSchemaVersion);
    std::printf("Source          %s\n", MarketOriginText(summary.m_oOrigin).c_str());
    std::printf("Sectors         %lld\n", static_cast<long long>(summary.m_llSectors));
    std::printf("Industry groups %lld\n", static_cast<long long>(summary.m_llIndustries));
    std::printf("Stocks          %lld\n", static_cast<long long>(summary.m_llStocks));
    std::printf("Daily bars      %lld\n", static_cast<long long>(summary.m_llStockDays));
    if (summary.m_llTradingDays > 0) {
        std::printf("Trading days    %lld, %s to %s\n",
                    static_cast<long long>(summary.m_llTradingDays),
                    qv::IsoDateText(summary.m_lFirstDate).c_str(),
                    qv::IsoDateText(summary.m_lLastDate).c_str());
    } else {
        std::printf("Trading days    none\n");
    }
    std::printf("Owners          %lld\n", static_cast<long long>(summary.m_llOwners));
    std::printf("Layouts         %lld\n", static_cast<long long>(summary.m_llLayouts));
    std::printf("Watch lists     %lld\n", static_cast<long long>(summary.m_llWatchLists));
    std::printf("Portfolios      %lld\n", static_cast<long long>(summary.m_llPortfolios));
    return 0;
}

std::string ReadWholeFile(const std::string& p_sPath) {
    std::ifstream file(p_sPath, std::ios::binary);
    if (!file) {
        throw FacadeError(p_sPath, 0, "cannot be read");
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct PortfolioImportArgs {
    std::string m_sFile;
    int32_t m_lOwnerId = 0;
    std::string m_sName;
};

PortfolioImportArgs ReadPortfolioImportArgs(const std::vector<std::string>& p_aArgs) {
    if (p_aArgs.empty() || p_aArgs[0] != "import") {
        throw UsageError{"portfolio takes: import FILE --owner ID --name NAME"};
    }
    PortfolioImportArgs parsed;
    for (size_t i = 1; i < p_aArgs.size(); ++i) {
        if (p_aArgs[i] == "--owner") {
            parsed.m_lOwnerId = static_cast<int32_t>(ReadCount(p_aArgs, i, 1));
        } else if (p_aArgs[i] == "--name" && i + 1 < p_aArgs.size()) {
            parsed.m_sName = p_aArgs[++i];
        } else if (parsed.m_sFile.empty() && !p_aArgs[i].starts_with("--")) {
            parsed.m_sFile = p_aArgs[i];
        } else {
            throw UsageError{"portfolio import does not take '" + p_aArgs[i] + "'"};
        }
    }
    if (parsed.m_sFile.empty() || parsed.m_lOwnerId == 0) {
        throw UsageError{"portfolio import needs a FILE and --owner ID"};
    }
    const std::string fault = PortfolioNameFault(parsed.m_sName);
    if (!fault.empty()) {
        throw UsageError{"--name: " + fault};
    }
    parsed.m_sName = std::string(qv::TrimWhitespace(parsed.m_sName));
    return parsed;
}

// The trades go into the owner's portfolio of the name, made in the same transaction: a file
// with a row in error leaves no portfolio behind either.
int Portfolio(const MarketCommand& p_oCommand, const std::string& p_sPath,
              const std::vector<std::string>& p_aArgs) {
    const PortfolioImportArgs args = ReadPortfolioImportArgs(p_aArgs);
    const std::string text = ReadWholeFile(args.m_sFile);
    const std::shared_ptr<MarketStore> opened =
        p_oCommand.m_fnOpen(p_sPath, MarketStore::Access::ReadWrite);
    MarketStore& store = *opened;
    RequireWritable(store, "no trades can be imported into it");
    SqlDatabase& database = store.Database();
    SqlTransaction work(database);
    PortfolioStore portfolios(database);
    const std::optional<int32_t> found = portfolios.FindByName(args.m_lOwnerId, args.m_sName);
    const int32_t portfolioId =
        found ? *found : portfolios.CreatePortfolio(args.m_lOwnerId, args.m_sName);
    const TradeImport answer = ImportTradeCsv(database, portfolioId, text, true, args.m_sFile);
    if (!answer.m_sFault.empty()) {
        std::fprintf(stderr, "%s: %s: %s\n", p_oCommand.m_sProgram.c_str(), args.m_sFile.c_str(),
                     answer.m_sFault.c_str());
        return kExitFailure;
    }
    int64_t errors = 0;
    int64_t duplicates = 0;
    for (const TradeImportRow& row : answer.m_aRows) {
        if (row.m_sStatus == trade_status::kOk) {
            continue;
        }
        const bool error = row.m_sStatus == trade_status::kError;
        errors += error ? 1 : 0;
        duplicates += error ? 0 : 1;
        std::fprintf(error ? stderr : stdout, "%s: row %lld%s%s: %s%s\n", args.m_sFile.c_str(),
                     static_cast<long long>(row.m_llRow), row.m_sSymbol.empty() ? "" : " ",
                     row.m_sSymbol.c_str(), error ? "" : "left out, ", row.m_sReason.c_str());
    }
    if (errors > 0) {
        std::fprintf(stderr, "%s: %lld of %lld rows in error; nothing was imported\n",
                     p_oCommand.m_sProgram.c_str(), static_cast<long long>(errors),
                     static_cast<long long>(answer.m_aRows.size()));
        return kExitFailure;
    }
    work.Commit();
    std::printf(
        "Imported %lld trades into portfolio \"%s\" (%d) of owner %d; %lld duplicates left out\n",
        static_cast<long long>(answer.m_aTrades.size()), args.m_sName.c_str(), portfolioId,
        args.m_lOwnerId, static_cast<long long>(duplicates));
    return 0;
}

int Run(const MarketCommand& p_oCommand, const std::vector<std::string>& p_aArgs) {
    std::optional<std::string> path;
    size_t commandAt = 0;
    while (commandAt < p_aArgs.size() && p_aArgs[commandAt].starts_with("--")) {
        if (p_aArgs[commandAt] == "--help") {
            PrintUsage(p_oCommand, stdout);
            return 0;
        }
        if (p_aArgs[commandAt] != "--db" || commandAt + 1 >= p_aArgs.size()) {
            throw UsageError{"unknown option '" + p_aArgs[commandAt] + "'"};
        }
        path = p_aArgs[commandAt + 1];
        commandAt += 2;
    }
    if (commandAt >= p_aArgs.size()) {
        throw UsageError{"no command"};
    }
    const std::string& commandName = p_aArgs[commandAt];
    const std::vector<std::string> rest(
        p_aArgs.begin() + static_cast<std::ptrdiff_t>(commandAt) + 1, p_aArgs.end());
    const std::string database = path.value_or(DefaultMarketDatabasePath());
    if (commandName == "create") {
        return Create(p_oCommand, database, rest);
    }
    if (commandName == "import") {
        return Import(p_oCommand, database, rest);
    }
    if (commandName == "info") {
        return Info(p_oCommand, database, rest);
    }
    if (commandName == "portfolio") {
        return Portfolio(p_oCommand, database, rest);
    }
    throw UsageError{"unknown command '" + commandName + "'"};
}

}  // namespace

std::shared_ptr<MarketStore> OpenMarketFile(const std::string& p_sPath,
                                            MarketStore::Access p_eAccess) {
    return std::make_shared<MarketStore>(p_sPath, p_eAccess);
}

int RunMarketCommand(const MarketCommand& p_oCommand, const std::vector<std::string>& p_aArgs) {
    try {
        return Run(p_oCommand, p_aArgs);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "%s: %s\n\n", p_oCommand.m_sProgram.c_str(), error.m_sMessage.c_str());
        PrintUsage(p_oCommand, stderr);
        return kExitUsage;
    } catch (const qv::AutomationError& error) {
        std::fprintf(stderr, "%s: %s\n", p_oCommand.m_sProgram.c_str(),
                     error.Description().c_str());
        return kExitFailure;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", p_oCommand.m_sProgram.c_str(), error.what());
        return kExitFailure;
    }
}

}  // namespace qv::facade
