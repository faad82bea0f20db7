// Feeds arbitrary bytes to a portfolio's trade import, as a preview and then committed, on a
// market of two stocks over three days.
//
// An import must either read every data row or fail with an automation error (text that is not
// CSV at all). A row is "ok", "error" with a reason or "duplicate"; reasons stay short whatever
// the input; a preview writes nothing; a commit adds exactly the "ok" rows, and nothing at all
// when a row is in error. Anything else (another exception, a sanitizer report, a crash) is a
// finding. Each input starts from an empty portfolio.
#include <unistd.h>
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "facade/market_rebuild.h"
#include "facade/market_store.h"
#include "facade/portfolio_store.h"
#include "facade/sqlite_database.h"
#include "facade/trade_csv.h"
#include "outside/vb_date.h"

namespace {

using namespace qv::facade;

constexpr size_t kLongestReason = 1024;

struct Market {
    MarketStore* m_oStore;
    int32_t m_lPortfolio;
};

// One store for the run, in a folder removed at the end: AAA and BBB trade on 2, 3 and 4 March
// 2026, AAA splitting 2:1 on the last day.
Market& TheMarket() {
    static std::string s_sFolder;
    static Market s_oMarket = [] {
        s_sFolder = (std::filesystem::temp_directory_path() / "qv-fuzz-trades-XXXXXX").string();
        Check(mkdtemp(s_sFolder.data()) != nullptr);
        std::atexit([] { std::filesystem::remove_all(s_sFolder); });
        auto* oStore = new MarketStore(s_sFolder + "/market.db", MarketStore::Access::ReadWrite);
        SqlDatabase& oDatabase = oStore->Database();
        oDatabase.Execute(
            "PRAGMA synchronous = OFF; INSERT INTO sectors VALUES (1, 'Tech');"
            "INSERT INTO industries VALUES (1, 'Chips', 1);"
            "INSERT INTO stocks VALUES (1, 'AAA', 'Alpha', 1), (2, 'BBB', 'Beta', 1)");
        std::vector<StockSeries> aSeries;
        for (int64_t llId : {1, 2}) {
            StockSeries oSeries{llId, {}};
            for (int iDay = 2; iDay <= 4; ++iDay) {
                const double dClose = llId == 1 && iDay == 4 ? 10 : 20;
                oSeries.m_aBars.push_back({.m_lDate = qv::DaySerialFromCivil(2026, 3, iDay),
                                           .m_dClose = dClose,
                                           .m_dAdjClose = 10,
                                           .m_llVolume = 100});
            }
            aSeries.push_back(std::move(oSeries));
        }
        SqlTransaction oWork(oDatabase);
        RewriteDailyData(oDatabase, aSeries, {});
        oWork.Commit();
        return Market{oStore, PortfolioStore(oDatabase).CreatePortfolio(1, "Fuzz")};
    }();
    return s_oMarket;
}

int64_t Trades() {
    return TheMarket().m_oStore->Database().QueryInt64("SELECT count(*) FROM trades");
}

void CheckRows(const TradeImport& p_oImport) {
    size_t lOk = 0;
    for (const TradeImportRow& oRow : p_oImport.m_aRows) {
        const bool bOk = oRow.m_sStatus == trade_status::kOk;
        Check(bOk || oRow.m_sStatus == trade_status::kError ||
              oRow.m_sStatus == trade_status::kDuplicate);
        Check(bOk == oRow.m_sReason.empty() && oRow.m_sReason.size() <= kLongestReason);
        lOk += bOk ? 1 : 0;
    }
    Check(lOk == p_oImport.m_aTrades.size());
    Check(p_oImport.m_sFault.empty() || p_oImport.m_aRows.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_data, size_t p_size) {
    const std::string sInput(reinterpret_cast<const char*>(p_data), p_size);
    Market& oMarket = TheMarket();
    SqlDatabase& oDatabase = oMarket.m_oStore->Database();
    try {
        const TradeImport oPreview = ImportTradeCsv(oDatabase, oMarket.m_lPortfolio, sInput, false);
        CheckRows(oPreview);
        Check(Trades() == 0 && !oPreview.m_bWritten);
        const TradeImport oCommit = ImportTradeCsv(oDatabase, oMarket.m_lPortfolio, sInput, true);
        CheckRows(oCommit);
        Check(oCommit.m_bWritten == !oCommit.HasErrors());
        Check(Trades() ==
              (oCommit.m_bWritten ? static_cast<int64_t>(oCommit.m_aTrades.size()) : 0));
    } catch (const qv::AutomationError& oError) {
        Check(Trades() == 0);
    }
    oDatabase.Execute("DELETE FROM trades");
    return 0;
}
