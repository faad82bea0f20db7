#include "facade/sample_market.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "facade/facade_test_files.h"
#include "facade/layout_store.h"
#include "facade/market_calendar.h"
#include "facade/market_store.h"
#include "facade/portfolio_store.h"
#include "facade/sqlite_database.h"

namespace qv::facade {
namespace {

using testing::ScratchFolder;
using testing::SharedSampleMarket;
using testing::SharedSampleOptions;

// Every value of the market tables, as text, in key order.
std::string Contents(SqlDatabase& p_oDatabase) {
    std::string sAll;
    for (const char* sTable : {"sectors", "industries", "stocks", "fundamentals", "stock_days",
                               "trading_days", "watch_lists", "trades", "layouts"}) {
        SqlStatement oRows =
            p_oDatabase.Prepare(std::string("SELECT * FROM ") + sTable + " ORDER BY 1");
        while (oRows.Step()) {
            for (int i = 0; i < oRows.ColumnCount(); ++i) {
                sAll += oRows.ColumnText(i) + '|';
            }
        }
    }
    return sAll;
}

int64_t Count(const std::string& p_sSql) {
    return SharedSampleMarket().Database().QueryInt64(p_sSql);
}

TEST(SampleMarket, TheSameSeedGivesTheSameMarketAndAnotherSeedAnother) {
    ScratchFolder oFolder;
    std::vector<std::string> aContents;
    for (const auto& [sName, llSeed] :
         {std::pair<std::string, uint64_t>{"a.db", 11}, {"b.db", 11}, {"c.db", 12}}) {
        MarketStore oStore(oFolder.File(sName), MarketStore::Access::ReadWrite);
        GenerateSampleMarket(
            oStore,
            {.m_lStocks = 60, .m_lIndustries = 20, .m_lTradingDays = 80, .m_llSeed = llSeed}, {});
        aContents.push_back(Contents(oStore.Database()));
    }
    EXPECT_EQ(aContents[0], aContents[1]);
    EXPECT_NE(aContents[0], aContents[2]);
}

TEST(SampleMarket, HasTheShapeAskedForOnTradingDaysWithConsistentBars) {
    const SampleMarketOptions oOptions = SharedSampleOptions();
    EXPECT_EQ(Count("SELECT count(*) FROM sectors"), 11);
    EXPECT_EQ(Count("SELECT count(DISTINCT sector_code) FROM industries"), 11);
    EXPECT_EQ(Count("SELECT count(DISTINCT ind_code) FROM stocks"), oOptions.m_lIndustries);
    EXPECT_EQ(Count("SELECT count(DISTINCT symbol) FROM stocks"), oOptions.m_lStocks);
    EXPECT_EQ(Count("SELECT count(*) FROM fundamentals"), oOptions.m_lStocks);
    EXPECT_EQ(Count("SELECT count(*) FROM trading_days"), oOptions.m_lTradingDays);
    EXPECT_EQ(Count("SELECT max(trade_date) FROM trading_days"), oOptions.m_lLastDay);
    EXPECT_EQ(SharedSampleMarket().Summary().m_oOrigin.m_eKind, MarketOrigin::Kind::Sample);
    SqlStatement oDays =
        SharedSampleMarket().Database().Prepare("SELECT trade_date FROM trading_days");
    while (oDays.Step()) {
        EXPECT_TRUE(IsTradingDay(static_cast<int32_t>(oDays.ColumnInt64(0))));
    }
    EXPECT_EQ(Count("SELECT count(*) FROM stock_days WHERE low > high OR close > high OR "
                    "close < low OR volume <= 0"),
              0);
}

TEST(SampleMarket, TheDemoOwnerHasListsInFoldersAPortfolioAndALayout) {
    EXPECT_GE(Count("SELECT count(*) FROM watch_lists WHERE owner_id = 1 AND is_folder = 1"), 2);
    EXPECT_GE(Count("SELECT count(*) FROM watch_lists w WHERE owner_id = 1 AND is_folder = 0 AND "
                    "parent_id <> 0 AND EXISTS (SELECT 1 FROM watch_list_items i WHERE "
                    "i.watch_list_id = w.watch_list_id)"),
              2);
    EXPECT_EQ(Count("SELECT count(*) FROM watch_lists w WHERE is_folder = 0 AND NOT EXISTS "
                    "(SELECT 1 FROM watch_list_items i WHERE i.watch_list_id = w.watch_list_id)"),
              0);
    SqlDatabase& oDatabase = SharedSampleMarket().Database();
    const auto aPortfolios = PortfolioStore(oDatabase).Portfolios(kDemoOwnerId);
    ASSERT_EQ(aPortfolios.size(), 1u);
    const std::vector<TradeRecord> aTrades = PortfolioStore(oDatabase).Trades(aPortfolios[0].first);
    const auto lShorts = std::count_if(aTrades.begin(), aTrades.end(),
                                       [](const TradeRecord& oTrade) { return oTrade.m_bShort; });
    EXPECT_GE(lShorts, 2);
    EXPECT_GE(static_cast<long>(aTrades.size()) - lShorts, 3);
    const auto aLayouts = LayoutStore(oDatabase).LayoutNames(kDemoOwnerId, 0);
    ASSERT_FALSE(aLayouts.empty());
    EXPECT_EQ(LayoutStore(oDatabase).GetLayout(aLayouts.front().first)->Header.OwnerId,
              kDemoOwnerId);
}

TEST(SampleMarket, IsNeverGeneratedOverAnExistingMarketAndTheViewerKeepsOne) {
    EXPECT_THROW(GenerateSampleMarket(SharedSampleMarket(), SharedSampleOptions(), {}),
                 FacadeError);
    EXPECT_EQ(Count("SELECT count(*) FROM stocks"), SharedSampleOptions().m_lStocks);
    ScratchFolder oFolder;
    const std::string sPath = oFolder.File("first.db");
    {
        MarketStore oStore(sPath, MarketStore::Access::ReadWrite);
        GenerateSampleMarket(oStore, {.m_lStocks = 20, .m_lTradingDays = 30}, {});
    }
    EXPECT_EQ(OpenOrGenerateMarket(sPath, {})->Database().QueryInt64("SELECT count(*) FROM stocks"),
              20);
}

}  // namespace
}  // namespace qv::facade
