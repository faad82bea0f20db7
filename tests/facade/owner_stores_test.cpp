#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "facade/facade_test_files.h"
#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "facade/watch_list_store.h"

namespace qv::facade {
namespace {

// A small market of its own, since these tests write.
class OwnerStores : public ::testing::Test {
  protected:
    OwnerStores() : m_oStore(m_oFolder.File("owners.db"), MarketStore::Access::ReadWrite) {
        SampleMarketOptions oOptions;
        oOptions.m_lStocks = 30;
        oOptions.m_lIndustries = 12;
        oOptions.m_lTradingDays = 30;
        oOptions.m_bDemoOwner = false;
        GenerateSampleMarket(m_oStore, oOptions, {});
        OwnerStore(m_oStore.Database()).PutOwner(7, "tester");
        SqliteStatement oSymbols =
            m_oStore.Database().Prepare("SELECT symbol FROM stocks ORDER BY stock_id LIMIT 6");
        while (oSymbols.Step()) {
            m_aSymbols.push_back(oSymbols.ColumnText(0));
        }
    }

    testing::ScratchFolder m_oFolder;
    MarketStore m_oStore;
    std::vector<std::string> m_aSymbols;
};

TEST_F(OwnerStores, WatchListsResolveSymbolsInAnyCaseAndSkipUnknownOnes) {
    WatchListStore oLists(m_oStore.Database());
    const int32_t lFolder = oLists.CreateFolder(7, 0, watch_list_type::kStocks, "Folder");
    std::string sLower = m_aSymbols[1];
    for (char& cChar : sLower) {
        cChar = static_cast<char>(std::tolower(static_cast<unsigned char>(cChar)));
    }
    const int32_t lList = oLists.CreateWatchList(
        7, lFolder, watch_list_type::kStocks, "Mine", "notes",
        {m_aSymbols[0], sLower, "NOSUCH", m_aSymbols[0], "'; DROP TABLE stocks; --"});
    EXPECT_EQ(oLists.ItemCodes(lList), (std::vector<int64_t>{1, 2}));
    EXPECT_EQ(oLists.AddItems(lList, {m_aSymbols[1], m_aSymbols[2]}), 1);
    EXPECT_EQ(oLists.ItemCodes(lList), (std::vector<int64_t>{1, 2, 3}));
    EXPECT_EQ(oLists.AddItems(lFolder, {m_aSymbols[3]}), 0);

    const std::vector<WatchListEntry> aEntries = oLists.WatchLists(7, watch_list_type::kStocks);
    ASSERT_EQ(aEntries.size(), 2u);
    EXPECT_TRUE(aEntries[0].m_bFolder);
    EXPECT_EQ(aEntries[1].m_lParentId, lFolder);
    EXPECT_EQ(aEntries[1].m_sComments, "notes");
    EXPECT_TRUE(oLists.WatchLists(8, watch_list_type::kStocks).empty());
}

TEST_F(OwnerStores, NewListsFromMatchingOrOtherItems) {
    WatchListStore oLists(m_oStore.Database());
    const int32_t lOther =
        oLists.CreateWatchList(7, 0, 0, "Other", "", {m_aSymbols[0], m_aSymbols[1]});
    const std::vector<std::string> aItems = {m_aSymbols[1], m_aSymbols[2], m_aSymbols[0]};
    const int32_t lMatching =
        oLists.CreateComparedWatchList(7, 0, lOther, true, 0, "Both", "", aItems);
    const int32_t lOthers =
        oLists.CreateComparedWatchList(7, 0, lOther, false, 0, "Only new", "", aItems);
    EXPECT_EQ(oLists.ItemCodes(lMatching), (std::vector<int64_t>{2, 1}));
    EXPECT_EQ(oLists.ItemCodes(lOthers), (std::vector<int64_t>{3}));
}

TEST_F(OwnerStores, IndustryListsTakeCodesAsTextOrNumbers) {
    WatchListStore oLists(m_oStore.Database());
    const int32_t lList = oLists.CreateWatchList(7, 0, watch_list_type::kIndustries, "Groups", "",
                                                 {"3", " 5 ", "7.0", "999", "abc"});
    EXPECT_EQ(oLists.ItemCodes(lList), (std::vector<int64_t>{3, 5, 7}));
}

TEST_F(OwnerStores, ALoginConflictIsAnotherTimeCode) {
    OwnerStore oOwners(m_oStore.Database());
    EXPECT_TRUE(oOwners.IsCurrentLogin(7, "first"));
    oOwners.RecordLogin(7, "first", 46000.5);
    EXPECT_TRUE(oOwners.IsCurrentLogin(7, "first"));
    EXPECT_TRUE(oOwners.IsCurrentLogin(7, ""));
    oOwners.RecordLogin(7, "second", 46000.6);
    EXPECT_FALSE(oOwners.IsCurrentLogin(7, "first"));
    EXPECT_EQ(oOwners.DefaultMaxRows(7), kDefaultMaxRows);
    EXPECT_EQ(oOwners.OwnerName(7), "tester");
    EXPECT_FALSE(oOwners.OwnerName(99));
}

}  // namespace
}  // namespace qv::facade
