#include "facade/sample_market.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "facade/facade_test_files.h"
#include "facade/layout_store.h"
#include "facade/market_store.h"
#include "facade/portfolio_store.h"
#include "facade/sqlite_database.h"
#include "facade/watch_list_store.h"
#include "outside/vb_date.h"

namespace qv::facade {
namespace {

using testing::ScratchFolder;
using testing::SharedSampleMarket;
using testing::SharedSampleOptions;

// Every value of the market tables, as text, in key order.
std::string Contents(SqliteDatabase& p_oDatabase) {
    std::string sAll;
    for (const char* sTable : {"sectors", "industries", "stocks", "fundamentals", "stock_days",
                               "trading_days", "watch_lists", "trades", "layouts"}) {
        SqliteStatement oRows =
            p_oDatabase.Prepare(std::string("SELECT * FROM ") + sTable + " ORDER BY 1");
        while (oRows.Step()) {
            for (int i = 0; i < oRows.ColumnCount(); ++i) {
                sAll += oRows.ColumnText(i);
                sAll += '|';
            }
            sAll += '\n';
        }
    }
    return sAll;
}

int64_t Count(const char* p_sSql) {
    return SharedSampleMarket().Database().QueryInt64(p_sSql);
}

TEST(SampleMarket, TheSameSeedGivesTheSameMarketAndAnotherSeedAnother) {
    ScratchFolder oFolder;
    std::vector<std::string> aContents;
    for (const auto& [sName, llSeed] :
         {std::pair<std::string, uint64_t>{"a.db", 11}, {"b.db", 11}, {"c.db", 12}}) {
        MarketStore oStore(oFolder.File(sName), MarketStore::Access::ReadWrite);
        SampleMarketOptions oOptions;
        oOptions.m_lStocks = 60;
        oOptions.m_lIndustries = 20;
        oOptions.m_lTradingDays = 80;
        oOptions.m_llSeed = llSeed;
        GenerateSampleMarket(oStore, oOptions, {});
        aContents.push_back(Contents(oStore.Database()));
    }
    EXPECT_EQ(aContents[0], aContents[1]);
    EXPECT_NE(aContents[0], aContents[2]);
}

TEST(SampleMarket, HasTheShapeAskedFor) {
    const SampleMarketOptions oOptions = SharedSampleOptions();
    EXPECT_EQ(Count("SELECT count(*) FROM sectors"), 11);
    EXPECT_EQ(Count("SELECT count(*) FROM industries"), oOptions.m_lIndustries);
    EXPECT_EQ(Count("SELECT count(*) FROM stocks"), oOptions.m_lStocks);
    EXPECT_EQ(Count("SELECT count(DISTINCT symbol) FROM stocks"), oOptions.m_lStocks);
    EXPECT_EQ(Count("SELECT count(*) FROM trading_days"), oOptions.m_lTradingDays);
    EXPECT_EQ(Count("SELECT max(trade_date) FROM trading_days"), oOptions.m_lLastDay);
    EXPECT_EQ(Count("SELECT count(*) FROM industries i WHERE NOT EXISTS "
                    "(SELECT 1 FROM stocks s WHERE s.ind_code = i.ind_code)"),
              0);
    EXPECT_EQ(Count("SELECT count(DISTINCT sector_code) FROM industries"), 11);
    EXPECT_EQ(Count("SELECT count(*) FROM fundamentals"), oOptions.m_lStocks);
    SqliteStatement oDays =
        SharedSampleMarket().Database().Prepare("SELECT trade_date FROM trading_days");
    while (oDays.Step()) {
        EXPECT_LE(IsoWeekday(static_cast<int32_t>(oDays.ColumnInt64(0))), 5);
    }
    EXPECT_EQ(Count("SELECT count(*) FROM stock_days WHERE low > high OR close > high OR "
                    "close < low OR volume <= 0"),
              0);
}

double Correlation(const std::vector<double>& p_aLeft, const std::vector<double>& p_aRight) {
    const size_t lCount = std::min(p_aLeft.size(), p_aRight.size());
    double dLeft = 0, dRight = 0;
    for (size_t i = 0; i < lCount; ++i) {
        dLeft += p_aLeft[i];
        dRight += p_aRight[i];
    }
    dLeft /= static_cast<double>(lCount);
    dRight /= static_cast<double>(lCount);
    double dCross = 0, dLeftSquares = 0, dRightSquares = 0;
    for (size_t i = 0; i < lCount; ++i) {
        dCross += (p_aLeft[i] - dLeft) * (p_aRight[i] - dRight);
        dLeftSquares += (p_aLeft[i] - dLeft) * (p_aLeft[i] - dLeft);
        dRightSquares += (p_aRight[i] - dRight) * (p_aRight[i] - dRight);
    }
    return dCross / std::sqrt(dLeftSquares * dRightSquares);
}

// Stocks of one industry move together more than stocks of one sector, and those more than
// stocks of different sectors.
TEST(SampleMarket, StocksMoveWithTheirIndustryAndSector) {
    struct Stock {
        int64_t m_llIndustry;
        int64_t m_llSector;
        std::vector<double> m_aChanges;
    };
    std::map<int64_t, Stock> aStocks;
    SqliteStatement oRows = SharedSampleMarket().Database().Prepare(
        "SELECT s.stock_id, s.ind_code, i.sector_code, d.pct_change FROM stocks s "
        "JOIN industries i USING (ind_code) JOIN stock_days d USING (stock_id) "
        "WHERE d.pct_change IS NOT NULL AND s.stock_id IN (SELECT stock_id FROM stock_days "
        "GROUP BY stock_id HAVING count(*) = 300) ORDER BY d.day_key");
    while (oRows.Step()) {
        Stock& oStock = aStocks[oRows.ColumnInt64(0)];
        oStock.m_llIndustry = oRows.ColumnInt64(1);
        oStock.m_llSector = oRows.ColumnInt64(2);
        oStock.m_aChanges.push_back(oRows.ColumnDouble(3));
    }
    double aSums[3] = {0, 0, 0};
    int aCounts[3] = {0, 0, 0};
    for (auto itLeft = aStocks.begin(); itLeft != aStocks.end(); ++itLeft) {
        for (auto itRight = std::next(itLeft); itRight != aStocks.end(); ++itRight) {
            const int lKind = itLeft->second.m_llIndustry == itRight->second.m_llIndustry ? 0
                              : itLeft->second.m_llSector == itRight->second.m_llSector   ? 1
                                                                                          : 2;
            aSums[lKind] += Correlation(itLeft->second.m_aChanges, itRight->second.m_aChanges);
            ++aCounts[lKind];
        }
    }
    ASSERT_GT(aCounts[0], 10);
    ASSERT_GT(aCounts[1], 10);
    const double dIndustry = aSums[0] / aCounts[0];
    const double dSector = aSums[1] / aCounts[1];
    const double dMarket = aSums[2] / aCounts[2];
    EXPECT_GT(dIndustry, dSector + 0.03);
    EXPECT_GT(dSector, dMarket + 0.015);
    EXPECT_GT(dMarket, 0.05);
}

TEST(SampleMarket, TheDemoOwnerHasListsInFoldersAPortfolioAndALayout) {
    SqliteDatabase& oDatabase = SharedSampleMarket().Database();
    const std::vector<WatchListEntry> aStockLists =
        WatchListStore(oDatabase).WatchLists(kDemoOwnerId, 0);
    int lFolders = 0;
    int lInFolders = 0;
    for (const WatchListEntry& oEntry : aStockLists) {
        lFolders += oEntry.m_bFolder ? 1 : 0;
        lInFolders += !oEntry.m_bFolder && oEntry.m_lParentId != 0 ? 1 : 0;
        if (!oEntry.m_bFolder) {
            EXPECT_FALSE(WatchListStore(oDatabase).ItemCodes(oEntry.m_lId).empty())
                << oEntry.m_sName;
        }
    }
    EXPECT_GE(lFolders, 2);
    EXPECT_GE(lInFolders, 2);
    EXPECT_FALSE(WatchListStore(oDatabase).WatchLists(kDemoOwnerId, 1).empty());

    const auto aPortfolios = PortfolioStore(oDatabase).Portfolios(kDemoOwnerId);
    ASSERT_EQ(aPortfolios.size(), 1u);
    const std::vector<TradeRecord> aTrades = PortfolioStore(oDatabase).Trades(aPortfolios[0].first);
    const auto lShorts = std::count_if(aTrades.begin(), aTrades.end(),
                                       [](const auto& oTrade) { return oTrade.m_bShort; });
    EXPECT_GE(lShorts, 2);
    EXPECT_GE(static_cast<long>(aTrades.size()) - lShorts, 3);

    const auto aLayouts = LayoutStore(oDatabase).LayoutNames(kDemoOwnerId, 0);
    ASSERT_FALSE(aLayouts.empty());
    EXPECT_EQ(LayoutStore(oDatabase).GetLayout(aLayouts.front().first)->Header.OwnerId,
              kDemoOwnerId);
}

TEST(SampleMarket, IsNeverGeneratedOverAnExistingMarket) {
    EXPECT_THROW(GenerateSampleMarket(SharedSampleMarket(), SharedSampleOptions(), {}),
                 FacadeError);
    EXPECT_EQ(Count("SELECT count(*) FROM stocks"), SharedSampleOptions().m_lStocks);
}

TEST(SampleMarket, OpeningForTheViewerKeepsAnExistingMarket) {
    ScratchFolder oFolder;
    const std::string sPath = oFolder.File("first.db");
    {
        MarketStore oStore(sPath, MarketStore::Access::ReadWrite);
        SampleMarketOptions oOptions;
        oOptions.m_lStocks = 20;
        oOptions.m_lTradingDays = 30;
        GenerateSampleMarket(oStore, oOptions, {});
    }
    const auto oStore = OpenOrGenerateMarket(sPath, {});
    EXPECT_EQ(oStore->Database().QueryInt64("SELECT count(*) FROM stocks"), 20);
}

}  // namespace
}  // namespace qv::facade
