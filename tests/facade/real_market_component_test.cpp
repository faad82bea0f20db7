// The importer on the real market data of $QV_MARKET_DATA: it takes every row, ranks a whole day,
// keeps real splits out of the rows, and trades on the exchange calendar's days; a holding bought
// before a real split counts it. What the changes and lists make of the stored days is checked on
// small files and on the generated market.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <tuple>

#include "facade/facade_backend.h"
#include "facade/facade_test_files.h"
#include "facade/market_calendar.h"
#include "facade/market_importer.h"
#include "facade/market_store.h"
#include "facade/portfolio_reader_component.h"
#include "facade/portfolio_writer_component.h"
#include "facade/sqlite_database.h"
#include "outside/dispatch.h"
#include "outside/recordset.h"
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

// Splits of 4:1 and 5:1: the close moves by the day's change and no more, the day after trades
// near its average volume, and the traded close is still there.
TEST_F(RealMarket, ASplitMovesNeitherThePriceNorTheVolumeRatio) {
    SqlDatabase& oDatabase = s_oStore->Database();
    const auto Value = [&](const char* p_sSql, const char* p_sSymbol, const char* p_sDate) {
        SqlStatement oQuery =
            oDatabase.Prepare(std::string("SELECT ") + p_sSql +
                              " FROM stocks s JOIN stock_days d ON d.stock_id = s.stock_id "
                              "JOIN stock_days_traded t ON t.day_key = d.day_key "
                              "WHERE s.symbol = ?1 AND d.trade_date = ?2");
        oQuery.BindText(1, p_sSymbol);
        oQuery.BindInt64(2, Day(p_sDate));
        EXPECT_TRUE(oQuery.Step()) << p_sSymbol << " " << p_sDate;
        return oQuery.ColumnDouble(0);
    };
    for (const auto& [sSymbol, sBefore, sDay, sAfter, dTradedBefore] :
         {std::tuple{"AAPL", "2020-08-28", "2020-08-31", "2020-09-01", 499.23},
          {"TSLA", "2020-08-28", "2020-08-31", "2020-09-01", 2213.4},
          {"NEE", "2020-10-26", "2020-10-27", "2020-10-28", 302.65}}) {
        const double dChange = Value("d.pct_change", sSymbol, sDay);
        EXPECT_LT(std::abs(dChange), 15.0) << sSymbol;
        EXPECT_NEAR(Value("d.close", sSymbol, sDay) / Value("d.close", sSymbol, sBefore),
                    1 + dChange / 100, 1e-3)
            << sSymbol;
        EXPECT_LT(Value("d.volume * 1.0 / d.avg_volume_50", sSymbol, sAfter), 3.0) << sSymbol;
        EXPECT_DOUBLE_EQ(Value("t.close", sSymbol, sBefore), dTradedBefore) << sSymbol;
    }
}

// The calendar against three years of real closings: the one-off closings of those years are the
// only weekdays it calls open without a bar.
TEST_F(RealMarket, TheCalendarClosesEveryWeekdayWithoutBarsAndNoOther) {
    const std::set<int32_t> aOneOffClosings = {Day("2018-12-05")};  // a national day of mourning
    std::set<int32_t> aTraded;
    SqlStatement oDays = s_oStore->Database().Prepare("SELECT trade_date FROM trading_days");
    while (oDays.Step()) {
        aTraded.insert(static_cast<int32_t>(oDays.ColumnInt64(0)));
    }
    for (int32_t lDay = *aTraded.begin(); lDay <= *aTraded.rbegin(); ++lDay) {
        const bool bExpected = aTraded.count(lDay) > 0 || aOneOffClosings.count(lDay) > 0;
        EXPECT_EQ(IsTradingDay(lDay), bExpected) << IsoDateText(lDay);
    }
}

// 10 AAPL bought at 499.23 with 5 commission on 2020-08-28, the last day before its 4:1 split:
// on 2021-04-21, when it closed at 133.50, they are 40 shares bought at 124.8075, worth 5,340.00
// against 4,997.30, a gain of 342.70, 6.85770 % of the cost. The day before the split they were
// still 10 shares, worth 4,992.30.
TEST_F(RealMarket, HoldingsCountTheSplitSinceTheBuy) {
    constexpr int32_t kOwner = 41;
    auto oBackend = std::make_shared<FacadeBackend>(s_oStore);
    oBackend->Login(kOwner, "");
    PortfolioWriterComponent oWriter(oBackend);
    PortfolioReaderComponent oReader(oBackend);
    std::vector<Variant> aNew{kOwner, "Apple"};
    const int32_t lPortfolio = CallMethod(oWriter, "NewPortfolio", aNew).ToLong();
    std::vector<Variant> aTrade{
        kOwner, lPortfolio, 0,         "AAPL", Variant::Date(Day("2020-08-28")),
        5.0,    499.23,     10.0,      false,  50.0,
        30.0,   Variant(),  Variant(), 0};
    CallMethod(oWriter, "SaveTrade", aTrade);
    const auto Holding = [&](const char* p_sDay) {
        std::vector<Variant> aArgs{
            lPortfolio, kOwner, Variant::Date(Day(p_sDay)), false, Variant::Nothing(),
            Variant(),  false,  Variant::Nothing()};
        std::shared_ptr<Recordset> rRows =
            RecordsetOf(CallMethod(oReader, "GetCurrentHoldings", aArgs));
        EXPECT_EQ(rRows->RecordCount(), 1) << p_sDay;
        return rRows;
    };
    std::shared_ptr<Recordset> rAfter = Holding("2021-04-21");
    EXPECT_NEAR(rAfter->Value("Shares").ToDouble(), 40, 1e-9);
    EXPECT_NEAR(rAfter->Value("InitialPrice").ToDouble(), 124.8075, 1e-9);
    EXPECT_NEAR(rAfter->Value("CurrentPrice").ToDouble(), 133.5, 1e-9);
    EXPECT_NEAR(rAfter->Value("MarketValue").ToDouble(), 5340, 1e-6);
    EXPECT_NEAR(rAfter->Value("CostBasis").ToDouble(), 4997.3, 1e-6);
    EXPECT_NEAR(rAfter->Value("Gain").ToDouble(), 342.7, 1e-6);
    EXPECT_NEAR(rAfter->Value("ROI").ToDouble(), 342.7 * 100 / 4997.3, 1e-6);
    std::shared_ptr<Recordset> rBefore = Holding("2020-08-28");
    EXPECT_NEAR(rBefore->Value("Shares").ToDouble(), 10, 1e-9);
    EXPECT_NEAR(rBefore->Value("MarketValue").ToDouble(), 4992.3, 1e-6);
}

}  // namespace
}  // namespace qv::facade
