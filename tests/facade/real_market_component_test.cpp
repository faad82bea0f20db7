// The importer on the real market data of $QV_MARKET_DATA: it takes every row, and ranks a whole
// day. What the changes and lists make of the stored days is checked on small files
// and on the generated market.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "facade/facade_test_files.h"
#include "facade/market_importer.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "outside/vb_date.h"

namespace qv::facade {
namespace {

namespace fs = std::filesystem;

int32_t Day(const std::string& p_sDate) {
    int32_t lDay = 0;
    EXPECT_TRUE(ParseDayText(p_sDate, lDay));
    return lDay;
}

class RealMarket : public ::testing::Test {
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
};

TEST_F(RealMarket, TheImportTakesEveryRowWithoutProblems) {
    EXPECT_EQ(s_oReport.m_llPriceRowsRead, 346584);
    EXPECT_EQ(s_oReport.m_llPriceRowsImported, 346584);
    EXPECT_EQ(s_oReport.m_llRowsSkipped, 0);
    const MarketSummary oSummary = s_oStore->Summary();
    EXPECT_EQ(oSummary.m_llStocks, 463);
    EXPECT_EQ(oSummary.m_llSectors, 11);
    EXPECT_EQ(oSummary.m_llIndustries, 123);
    EXPECT_EQ(IsoDateText(oSummary.m_lFirstDate), "2018-04-23");
    EXPECT_EQ(IsoDateText(oSummary.m_lLastDate), "2021-04-21");
    EXPECT_GT(s_oStore->Database().QueryInt64("SELECT count(rs_rank) FROM stock_days WHERE "
                                              "trade_date = " +
                                              std::to_string(Day("2021-04-21"))),
              450);
}

}  // namespace
}  // namespace qv::facade
