// Feeds arbitrary bytes to the market importer as a whole import: a constituents file and a price
// file, split at the first line "====" (without one, the bytes are the price file and a few real
// constituents come with it). The importer recognises each file by its header, so either part may
// turn out to be either kind.
//
// An import must either succeed or fail with a facade error that wrote nothing. After a success
// the store holds only what it holds exactly: prices of at least one unit, volumes within the
// bound, names that are UTF-8 without control characters; and every problem message stays short
// whatever the input. Anything else (another exception, a sanitizer report, a crash) is a finding.
// Each input starts from an empty market: the rows of the last one are deleted.
#include <unistd.h>
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "facade/csv_reader.h"
#include "facade/market_importer.h"
#include "facade/market_schema.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace {

using namespace qv::facade;

constexpr std::string_view kSeparator = "\n====\n";
constexpr size_t kLongestMessage = 1024;

constexpr std::string_view kRealConstituents =
    "Symbol,Name,Sector,Industry\n"
    "A,Agilent Technologies,Health Care,Health Care Equipment\n"
    "AAL,American Airlines Group,Industrials,Passenger Airlines\n"
    "AAPL,Apple Inc.,Information Technology,\"Technology Hardware, Storage & Peripherals\"\n"
    "BRK-B,Berkshire Hathaway,Financials,Multi-Sector Holdings\n";

// One store for the run, in a folder removed at the end.
MarketStore& Store() {
    static std::string s_sFolder;
    static MarketStore* s_oStore = [] {
        s_sFolder = (std::filesystem::temp_directory_path() / "qv-fuzz-import-XXXXXX").string();
        Check(mkdtemp(s_sFolder.data()) != nullptr);
        std::atexit([] { std::filesystem::remove_all(s_sFolder); });
        auto* oStore = new MarketStore(s_sFolder + "/market.db", MarketStore::Access::ReadWrite);
        oStore->Database().Execute("PRAGMA synchronous = OFF");
        return oStore;
    }();
    return *s_oStore;
}

void CheckStoredData() {
    const std::string sMaxUnits = std::to_string(static_cast<int64_t>(kMaxPrice * kPriceScale));
    SqlDatabase& oDatabase = Store().Database();
    const std::string sPrices =
        "close, adj_close, coalesce(open, 1), coalesce(high, 1), coalesce(low, 1)";
    Check(oDatabase.QueryInt64("SELECT count(*) FROM stock_bars WHERE volume < 0 OR volume > " +
                               std::to_string(kMaxVolume) + " OR min(" + sPrices + ") < 1 OR max(" +
                               sPrices + ") > " + sMaxUnits) == 0);
    SqlStatement oNames = oDatabase.Prepare(
        "SELECT symbol FROM stocks UNION ALL SELECT company_name FROM stocks UNION ALL "
        "SELECT name FROM sectors UNION ALL SELECT name FROM industries");
    while (oNames.Step()) {
        const std::string sName = oNames.ColumnText(0);
        Check(!sName.empty() && qv::NameTextFault(sName).empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_data, size_t p_size) {
    const std::string_view sInput(reinterpret_cast<const char*>(p_data), p_size);
    const size_t lSeparator = sInput.find(kSeparator);
    const bool bSplit = lSeparator != std::string_view::npos;
    std::vector<ImportInput> aInputs;
    aInputs.push_back(
        {"constituents.csv", std::make_unique<StringSource>(std::string(
                                 bSplit ? sInput.substr(0, lSeparator) : kRealConstituents))});
    aInputs.push_back(
        {"prices.csv", std::make_unique<StringSource>(std::string(
                           bSplit ? sInput.substr(lSeparator + kSeparator.size()) : sInput))});
    try {
        const ImportReport oReport = MarketImporter(Store()).Import(std::move(aInputs), {});
        Check(oReport.m_llPriceRowsImported <= oReport.m_llPriceRowsRead &&
              oReport.m_aProblems.size() <= kMaxListedProblems);
        for (const ImportProblem& oProblem : oReport.m_aProblems) {
            Check(oProblem.m_sMessage.size() <= kLongestMessage);
        }
        CheckStoredData();
    } catch (const qv::AutomationError& oError) {
        Check(oError.Description().size() <= kLongestMessage &&
              Store().Database().QueryInt64("SELECT count(*) FROM stocks") == 0);
    }
    // Each input starts from an empty market.
    Store().Database().Execute(
        "DELETE FROM stock_bars; DELETE FROM group_days; DELETE FROM trading_days; "
        "DELETE FROM stocks; DELETE FROM industries; DELETE FROM sectors");
    return 0;
}
