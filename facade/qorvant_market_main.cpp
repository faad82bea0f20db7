// qorvant-market: creates, imports into and inspects the market database of the viewer.
//
//   qorvant-market [--db PATH] create [--stocks N] [--seed S] [--industries N] [--days N]
//                                     [--no-demo]
//   qorvant-market [--db PATH] import FOLDER-OR-FILE... [--demo]
//   qorvant-market [--db PATH] info
//
// Progress of long work goes to standard error; results to standard output.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "facade/market_importer.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

namespace {

using namespace qv::facade;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "usage: qorvant-market [--db PATH] COMMAND\n"
    "\n"
    "commands:\n"
    "  create [--stocks N] [--seed S] [--industries N] [--days N] [--no-demo]\n"
    "        create a database holding a generated sample market (default 3000 stocks,\n"
    "        120 industry groups, 756 trading days, seed 1) and a demo owner\n"
    "  import FOLDER-OR-FILE... [--demo]\n"
    "        import constituents and daily price files (.csv or .csv.gz); a folder\n"
    "        contributes its .csv and .csv.gz files; --demo adds the demo owner\n"
    "  info  show what the database holds\n"
    "\n"
    "The database is --db PATH, else $QV_DATABASE, else market.db in the library folder\n"
    "($QV_LIBRARY_DIR, $XDG_DATA_HOME/qorvant or ~/.local/share/qorvant).\n";

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
        const auto oNow = std::chrono::steady_clock::now();
        const bool bNewStage = p_sStage != m_sStage;
        if (!bNewStage && oNow - m_oLastShown < std::chrono::milliseconds(100) &&
            p_llDone != p_llTotal) {
            return;
        }
        if (bNewStage) {
            Finish();
            m_sStage = p_sStage;
        }
        m_oLastShown = oNow;
        if (!m_bTerminal) {
            if (bNewStage) {
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
    const std::string& sText = p_aArgs[++p_lIndex];
    size_t lUsed = 0;
    long long llValue = 0;
    try {
        llValue = std::stoll(sText, &lUsed);
    } catch (const std::exception&) {
        lUsed = 0;
    }
    if (lUsed != sText.size() || llValue < p_llMinimum || llValue > p_llMaximum) {
        throw UsageError{p_aArgs[p_lIndex - 1] + " needs a number from " +
                         std::to_string(p_llMinimum) + " to " + std::to_string(p_llMaximum) +
                         ", not " + qv::Excerpt(sText)};
    }
    return llValue;
}

// The commands that write refuse a read-only database before any work, rather than after reading
// every input.
void RequireWritable(const MarketStore& p_oStore, const std::string& p_sWhatFails) {
    if (p_oStore.IsReadOnly()) {
        throw FacadeError(p_oStore.Path(), 0,
                          std::string("the database is read-only (the file or its folder cannot "
                                      "be written), so ") +
                              p_sWhatFails);
    }
}

double SecondsSince(std::chrono::steady_clock::time_point p_oStart) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - p_oStart).count();
}

int Create(const std::string& p_sPath, const std::vector<std::string>& p_aArgs) {
    SampleMarketOptions oOptions;
    for (size_t i = 0; i < p_aArgs.size(); ++i) {
        if (p_aArgs[i] == "--stocks") {
            oOptions.m_lStocks = static_cast<int32_t>(ReadCount(p_aArgs, i, 1));
        } else if (p_aArgs[i] == "--seed") {
            oOptions.m_llSeed = static_cast<uint64_t>(
                ReadCount(p_aArgs, i, 0, std::numeric_limits<int64_t>::max()));
        } else if (p_aArgs[i] == "--industries") {
            oOptions.m_lIndustries = static_cast<int32_t>(ReadCount(p_aArgs, i, 1));
        } else if (p_aArgs[i] == "--days") {
            oOptions.m_lTradingDays = static_cast<int32_t>(ReadCount(p_aArgs, i, 1));
        } else if (p_aArgs[i] == "--no-demo") {
            oOptions.m_bDemoOwner = false;
        } else {
            throw UsageError{"create does not take '" + p_aArgs[i] + "'"};
        }
    }
    const int32_t lMostIndustries = SampleIndustryLimit(oOptions.m_lStocks);
    if (oOptions.m_lIndustries > lMostIndustries) {
        const bool bByStocks = lMostIndustries == oOptions.m_lStocks;
        std::fprintf(stderr, "qorvant-market: note: %d industry groups asked for, %d made: %s\n",
                     oOptions.m_lIndustries, lMostIndustries,
                     bByStocks ? "each group needs a stock of its own"
                               : "the generator has no more industry names");
    }
    const auto oStart = std::chrono::steady_clock::now();
    MarketStore oStore(p_sPath, MarketStore::Access::ReadWrite);
    RequireWritable(oStore, "no sample market can be made in it");
    ProgressLine oProgress;
    GenerateSampleMarket(oStore, oOptions, oProgress.Callback());
    oProgress.Finish();
    const MarketSummary oSummary = oStore.Summary();
    std::printf(
        "Generated %lld stocks in %lld industry groups over %lld trading days into %s in "
        "%.1f s\n",
        static_cast<long long>(oSummary.m_llStocks),
        static_cast<long long>(oSummary.m_llIndustries),
        static_cast<long long>(oSummary.m_llTradingDays), p_sPath.c_str(), SecondsSince(oStart));
    return 0;
}

int Import(const std::string& p_sPath, const std::vector<std::string>& p_aArgs) {
    std::vector<std::string> aPaths;
    bool bDemo = false;
    for (const std::string& sArg : p_aArgs) {
        if (sArg == "--demo") {
            bDemo = true;
        } else {
            aPaths.push_back(sArg);
        }
    }
    if (aPaths.empty()) {
        throw UsageError{"import needs a folder or files"};
    }
    const auto oStart = std::chrono::steady_clock::now();
    MarketStore oStore(p_sPath, MarketStore::Access::ReadWrite);
    RequireWritable(oStore, "nothing can be imported into it");
    ProgressLine oProgress;
    const ImportReport oReport = MarketImporter(oStore).ImportPaths(aPaths, oProgress.Callback());
    if (bDemo) {
        CreateDemoOwner(oStore.Database());
    }
    // The import committed into the file it opened; the success reported is only true while
    // that is still the file at the path.
    oStore.Database().CheckFileInPlace();
    oProgress.Finish();
    std::printf("Imported into %s in %.1f s\n", p_sPath.c_str(), SecondsSince(oStart));
    std::printf(
        "  sectors added %lld, industry groups added %lld, stocks added %lld, updated %lld\n",
        static_cast<long long>(oReport.m_llSectorsAdded),
        static_cast<long long>(oReport.m_llIndustriesAdded),
        static_cast<long long>(oReport.m_llStocksAdded),
        static_cast<long long>(oReport.m_llStocksUpdated));
    std::printf("  price rows read %lld, imported %lld, rows skipped %lld\n",
                static_cast<long long>(oReport.m_llPriceRowsRead),
                static_cast<long long>(oReport.m_llPriceRowsImported),
                static_cast<long long>(oReport.m_llRowsSkipped));
    constexpr size_t kShown = 20;
    for (size_t i = 0; i < oReport.m_aProblems.size() && i < kShown; ++i) {
        const ImportProblem& oProblem = oReport.m_aProblems[i];
        std::printf("  %s:%lld: %s\n", oProblem.m_sFile.c_str(),
                    static_cast<long long>(oProblem.m_llLine), oProblem.m_sMessage.c_str());
    }
    if (oReport.m_aProblems.size() > kShown) {
        std::printf("  ... and more problems (%lld rows skipped in all)\n",
                    static_cast<long long>(oReport.m_llRowsSkipped));
    }
    return 0;
}

int Info(const std::string& p_sPath, const std::vector<std::string>& p_aArgs) {
    if (!p_aArgs.empty()) {
        throw UsageError{"info takes no arguments"};
    }
    MarketStore oStore(p_sPath, MarketStore::Access::ReadOnly);
    const MarketSummary oSummary = oStore.Summary();
    std::printf("Database        %s (schema %d)\n", p_sPath.c_str(), oSummary.m_lSchemaVersion);
    std::printf("Sectors         %lld\n", static_cast<long long>(oSummary.m_llSectors));
    std::printf("Industry groups %lld\n", static_cast<long long>(oSummary.m_llIndustries));
    std::printf("Stocks          %lld\n", static_cast<long long>(oSummary.m_llStocks));
    std::printf("Daily bars      %lld\n", static_cast<long long>(oSummary.m_llStockDays));
    if (oSummary.m_llTradingDays > 0) {
        std::printf("Trading days    %lld, %s to %s\n",
                    static_cast<long long>(oSummary.m_llTradingDays),
                    qv::IsoDateText(oSummary.m_lFirstDate).c_str(),
                    qv::IsoDateText(oSummary.m_lLastDate).c_str());
    } else {
        std::printf("Trading days    none\n");
    }
    std::printf("Owners          %lld\n", static_cast<long long>(oSummary.m_llOwners));
    std::printf("Layouts         %lld\n", static_cast<long long>(oSummary.m_llLayouts));
    std::printf("Watch lists     %lld\n", static_cast<long long>(oSummary.m_llWatchLists));
    std::printf("Portfolios      %lld\n", static_cast<long long>(oSummary.m_llPortfolios));
    return 0;
}

int Run(const std::vector<std::string>& p_aArgs) {
    std::optional<std::string> sPath;
    size_t lCommand = 0;
    while (lCommand < p_aArgs.size() && p_aArgs[lCommand].starts_with("--")) {
        if (p_aArgs[lCommand] == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (p_aArgs[lCommand] != "--db" || lCommand + 1 >= p_aArgs.size()) {
            throw UsageError{"unknown option '" + p_aArgs[lCommand] + "'"};
        }
        sPath = p_aArgs[lCommand + 1];
        lCommand += 2;
    }
    if (lCommand >= p_aArgs.size()) {
        throw UsageError{"no command"};
    }
    const std::string& sCommand = p_aArgs[lCommand];
    const std::vector<std::string> aRest(
        p_aArgs.begin() + static_cast<std::ptrdiff_t>(lCommand) + 1, p_aArgs.end());
    const std::string sDatabase = sPath.value_or(DefaultMarketDatabasePath());
    if (sCommand == "create") {
        return Create(sDatabase, aRest);
    }
    if (sCommand == "import") {
        return Import(sDatabase, aRest);
    }
    if (sCommand == "info") {
        return Info(sDatabase, aRest);
    }
    throw UsageError{"unknown command '" + sCommand + "'"};
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& oError) {
        std::fprintf(stderr, "qorvant-market: %s\n\n%s", oError.m_sMessage.c_str(), kUsage);
        return kExitUsage;
    } catch (const qv::AutomationError& oError) {
        std::fprintf(stderr, "qorvant-market: %s\n", oError.Description().c_str());
        return kExitFailure;
    } catch (const std::exception& oError) {
        std::fprintf(stderr, "qorvant-market: %s\n", oError.what());
        return kExitFailure;
    }
}
