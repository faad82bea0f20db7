// The importer and the viewer reader on the real market data of $QV_MARKET_DATA: the import takes
// every row, and a stock's history gives the daily changes of the adjusted closes of the file.
// What the lists make of the stored days is checked on the generated market.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "facade/component_test_support.h"
#include "facade/csv_reader.h"
#include "facade/facade_test_files.h"
#include "facade/market_importer.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "outside/dispatch.h"
#include "outside/platform_context.h"
#include "outside/vb_date.h"

namespace qv::facade {
namespace {

namespace fs = std::filesystem;

int32_t Day(const std::string& p_sDate) {
    int32_t lDay = 0;
    EXPECT_TRUE(ParseDayText(p_sDate, lDay));
    return lDay;
}

class RealMarketComponents : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const char* sFolder = std::getenv("QV_MARKET_DATA");
        if (sFolder == nullptr || !fs::exists(fs::path(sFolder) / "prices.csv.gz")) {
            return;
        }
        s_oFolder = std::make_unique<testing::ScratchFolder>();
        s_oStore = std::make_shared<MarketStore>(s_oFolder->File("real.db"),
                                                 MarketStore::Access::ReadWrite);
        s_oReport = MarketImporter(*s_oStore).ImportPaths({sFolder}, {});
        s_sPrices = (fs::path(sFolder) / "prices.csv.gz").string();
    }

    static void TearDownTestSuite() {
        s_oStore.reset();
        s_oFolder.reset();
    }

    void SetUp() override {
        if (!s_oStore) {
            GTEST_SKIP() << "QV_MARKET_DATA does not name the market data folder";
        }
    }

    static inline std::unique_ptr<testing::ScratchFolder> s_oFolder;
    static inline std::shared_ptr<MarketStore> s_oStore;
    static inline ImportReport s_oReport;
    static inline std::string s_sPrices;
};

TEST_F(RealMarketComponents, TheImportTakesEveryRowWithoutProblems) {
    EXPECT_EQ(s_oReport.m_llPriceRowsRead, 346584);
    EXPECT_EQ(s_oReport.m_llPriceRowsImported, 346584);
    EXPECT_EQ(s_oReport.m_llRowsSkipped, 0);
    const MarketSummary oSummary = s_oStore->Summary();
    EXPECT_EQ(oSummary.m_llStocks, 463);
    EXPECT_EQ(oSummary.m_llSectors, 11);
    EXPECT_EQ(oSummary.m_llIndustries, 123);
    EXPECT_EQ(IsoDateText(oSummary.m_lFirstDate), "2018-04-23");
    EXPECT_EQ(IsoDateText(oSummary.m_lLastDate), "2021-04-21");
    SqliteStatement oRanks = s_oStore->Database().Prepare(
        "SELECT min(rs_rank), max(rs_rank), count(rs_rank) FROM stock_days WHERE trade_date = ?1");
    oRanks.BindInt64(1, Day("2021-04-21"));
    ASSERT_TRUE(oRanks.Step());
    EXPECT_EQ(oRanks.ColumnInt64(0), 1);
    EXPECT_EQ(oRanks.ColumnInt64(1), 99);
    EXPECT_GT(oRanks.ColumnInt64(2), 450);
}

TEST_F(RealMarketComponents, AStockHistoryFollowsTheFile) {
    // The file's days of the stock from the trading day before the range, newest last.
    std::vector<std::pair<std::string, double>> aBars;
    GzipFileSource oPrices(s_sPrices);
    CsvReader oReader(oPrices);
    std::vector<std::string_view> aFields;
    while (oReader.ReadRecord(aFields)) {
        if (aFields[0] == "AAPL" && aFields[1] >= "2020-08-21" && aFields[1] <= "2020-09-04") {
            aBars.emplace_back(std::string(aFields[1]), std::stod(std::string(aFields[6])));
        }
    }
    ASSERT_EQ(aBars.front().first, "2020-08-21");

    ScopedTestPlatform oPlatform;
    RegisterFacadeComponents(oPlatform.Components(), std::make_shared<FacadeBackend>(s_oStore));
    std::vector<Variant> aArgs =
        testing::HistoryArgs(Day("2020-08-24"), Day("2020-09-04"), Variant("AAPL"));
    const std::shared_ptr<Recordset> rDays =
        RecordsetOf(CallMethod(*CreateObject(prog_id::kViewerReader), "HistoryStockEX", aArgs));
    ASSERT_EQ(rDays->RecordCount(), static_cast<int32_t>(aBars.size()) - 1);
    rDays->MoveFirst();
    for (size_t i = aBars.size() - 1; i > 0; --i, rDays->MoveNext()) {
        EXPECT_EQ(IsoDateText(static_cast<int32_t>(rDays->Value("Trading_Date").ToDate())),
                  aBars[i].first);
        EXPECT_NEAR(rDays->Value("PctChange").ToDouble(),
                    (aBars[i].second / aBars[i - 1].second - 1.0) * 100.0, 1e-9);
    }
}

}  // namespace
}  // namespace qv::facade
