#include "facade/layout_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "facade/facade_test_files.h"
#include "facade/field_catalogue.h"
#include "facade/market_store.h"
#include "facade/system_layouts.h"

namespace qv::facade {
namespace {

class Layouts : public ::testing::Test {
  protected:
    Layouts()
        : m_oStore(m_oFolder.File("layouts.db"), MarketStore::Access::ReadWrite),
          m_oLayouts(m_oStore.Database()) {}

    testing::ScratchFolder m_oFolder;
    MarketStore m_oStore;
    LayoutStore m_oLayouts;
};

std::vector<int32_t> Ids(const LayoutRecord& p_oLayout) {
    std::vector<int32_t> aIds;
    for (const LayoutColumn& oColumn : p_oLayout.m_aColumns) {
        aIds.push_back(oColumn.m_lParameterId);
    }
    return aIds;
}

TEST_F(Layouts, EveryViewerPrintAndFinderTypeHasASystemDefault) {
    for (int32_t lType = 0; lType <= 16; ++lType) {
        if (lType == 6 || lType == 8 || lType == 15) {
            continue;
        }
        const auto oLayout = m_oLayouts.DefaultLayout(0, lType, -1);
        ASSERT_TRUE(oLayout) << lType;
        EXPECT_EQ(oLayout->m_lDataType, lType);
        EXPECT_EQ(oLayout->m_lOwnerId, 0);
    }
    for (const int32_t lFinderType : {0, 1, 2, 3, 5}) {
        for (const int32_t lType : {6, 15}) {
            const auto oLayout = m_oLayouts.DefaultLayout(0, lType, lFinderType);
            ASSERT_TRUE(oLayout) << lType << "/" << lFinderType;
            EXPECT_EQ(oLayout->m_lFinderType, lFinderType);
        }
    }
}

TEST_F(Layouts, TheIdsTheViewerAsksForAreThere) {
    const std::vector<std::pair<int32_t, int32_t>> aExpected = {{3, 0},  {9, 0},  {4, 1},
                                                                {10, 1}, {14, 7}, {297, 6}};
    for (const auto& [lId, lDataType] : aExpected) {
        const auto oLayout = m_oLayouts.GetLayout(lId);
        ASSERT_TRUE(oLayout) << lId;
        EXPECT_EQ(oLayout->m_lDataType, lDataType) << lId;
    }
    EXPECT_EQ(m_oLayouts.DefaultLayout(0, 0, -1)->m_lId, 3);
    EXPECT_EQ(m_oLayouts.DefaultLayout(0, 1, -1)->m_lId, 4);
    EXPECT_EQ(m_oLayouts.DefaultLayout(42, 7, 1)->m_lId, 14);  // finder type 1 falls back
    EXPECT_EQ(m_oLayouts.GetLayout(297)->m_lFinderType, 0);
    EXPECT_FALSE(m_oLayouts.GetLayout(12345));
    EXPECT_FALSE(m_oLayouts.DefaultLayout(0, 6, 4));
}

// The tables look as the viewer builds them: keys first, chosen fields, system columns last,
// every entry agreeing with the catalogue and numbered from 1.
TEST_F(Layouts, SystemLayoutsAreBuiltLikeTheViewerBuildsThem) {
    for (const LayoutRecord& oLayout : SystemLayouts()) {
        EXPECT_FALSE(oLayout.m_oSort.m_sSortText.empty()) << oLayout.m_sName;
        for (size_t i = 0; i < oLayout.m_aColumns.size(); ++i) {
            const LayoutColumn& oColumn = oLayout.m_aColumns[i];
            EXPECT_EQ(oColumn.m_lSequence, static_cast<int32_t>(i) + 1) << oLayout.m_sName;
            const FieldDefinition* oField = FindField(oColumn.m_lParameterId);
            ASSERT_NE(oField, nullptr) << oColumn.m_lParameterId;
            EXPECT_EQ(oColumn.m_sSQLColumn, oField->m_sColumnName);
            EXPECT_EQ(oColumn.m_lTableMask, oField->m_lTableMask);
        }
        EXPECT_EQ(m_oLayouts.GetLayout(oLayout.m_lId), oLayout);
    }
    const LayoutRecord oStocks = *m_oLayouts.GetLayout(system_layout::kStockList);
    EXPECT_EQ(oStocks.m_aColumns[0].m_lParameterId, 4);
    EXPECT_EQ(oStocks.m_aColumns[0].m_lState, column_state::kAlwaysVisible);
    EXPECT_EQ(oStocks.m_aColumns.back(),
              (LayoutColumn{37, column_state::kAlwaysVisible, "RTRanking", "RT Ranking", 6,
                            static_cast<int32_t>(oStocks.m_aColumns.size()), "0"}));
    const std::vector<int32_t> aPortfolio = Ids(*m_oLayouts.GetLayout(system_layout::kPortfolio));
    EXPECT_EQ(std::vector<int32_t>(aPortfolio.end() - 6, aPortfolio.end()),
              (std::vector<int32_t>{1418, 38, 39, 237, 1483, 1393}));
    const LayoutRecord oHistory = *m_oLayouts.GetLayout(system_layout::kStockHistory);
    EXPECT_EQ(oHistory.m_aColumns[1].m_lParameterId, 5);
    EXPECT_EQ(oHistory.m_aColumns[1].m_lState, column_state::kSystem);
}

TEST(BuildLayoutColumns, AChosenSystemFieldIsNotAddedTwice) {
    const std::vector<LayoutColumn> aColumns = BuildLayoutColumns({2, 38, 99999}, 1, -1);
    const std::vector<int32_t> aExpected = {35, 2, 38, 39};
    ASSERT_EQ(aColumns.size(), aExpected.size());
    for (size_t i = 0; i < aColumns.size(); ++i) {
        EXPECT_EQ(aColumns[i].m_lParameterId, aExpected[i]);
    }
    EXPECT_EQ(aColumns[2].m_lState, column_state::kSystem);
    EXPECT_TRUE(BuildLayoutColumns({2}, 8, -1).size() == 1);
}

TEST(MakeLayoutSort, WritesTheSortClauseWithNamesForCodes) {
    EXPECT_EQ(MakeLayoutSort(6, 1, 5, 0).m_sSortText, "PctChange DESC, Symbol ASC");
    EXPECT_EQ(MakeLayoutSort(38, 0, -1, 0).m_sSortText, "IndName ASC");
}

TEST_F(Layouts, SavingASystemLayoutMakesAnOwnCopyThatBecomesTheDefault) {
    LayoutRecord oLayout = *m_oLayouts.GetLayout(system_layout::kStockList);
    oLayout.m_sName = "Custom Stock List'); DROP TABLE layouts; --";
    oLayout.m_aColumns.pop_back();
    const std::optional<int32_t> lId = m_oLayouts.SaveLayout(5, oLayout);
    ASSERT_TRUE(lId);
    EXPECT_GE(*lId, kFirstOwnerLayoutId);
    EXPECT_EQ(m_oLayouts.GetLayout(system_layout::kStockList)->m_aColumns.size(),
              oLayout.m_aColumns.size() + 1);
    const LayoutRecord oSaved = *m_oLayouts.GetLayout(*lId);
    EXPECT_EQ(oSaved.m_sName, oLayout.m_sName);
    EXPECT_EQ(oSaved.m_lOwnerId, 5);
    EXPECT_EQ(m_oLayouts.DefaultLayout(5, 0, -1)->m_lId, *lId);
    EXPECT_EQ(m_oLayouts.DefaultLayout(6, 0, -1)->m_lId, system_layout::kStockList);

    // Saving the own layout again changes it in place.
    LayoutRecord oAgain = oSaved;
    oAgain.m_sDescription = "changed";
    EXPECT_EQ(m_oLayouts.SaveLayout(5, oAgain), lId);
    EXPECT_EQ(m_oLayouts.GetLayout(*lId)->m_sDescription, "changed");

    // Another owner cannot delete it; the owner can, and falls back to the system default.
    EXPECT_FALSE(m_oLayouts.DeleteLayout(6, *lId));
    EXPECT_FALSE(m_oLayouts.DeleteLayout(0, system_layout::kStockList));
    EXPECT_TRUE(m_oLayouts.DeleteLayout(5, *lId));
    EXPECT_EQ(m_oLayouts.DefaultLayout(5, 0, -1)->m_lId, system_layout::kStockList);
}

TEST_F(Layouts, OwnerZeroSavesNothing) {
    const LayoutRecord oLayout = *m_oLayouts.GetLayout(system_layout::kStockList);
    EXPECT_FALSE(m_oLayouts.SaveLayout(0, oLayout));
    EXPECT_EQ(*m_oLayouts.GetLayout(system_layout::kStockList), oLayout);
}

TEST_F(Layouts, ClearingTheOwnDefaultRestoresTheSystemOne) {
    LayoutRecord oLayout = *m_oLayouts.GetLayout(system_layout::kIndustryList);
    oLayout.m_lId = kNewLayoutId;
    const int32_t lId = *m_oLayouts.SaveLayout(5, oLayout);
    m_oLayouts.ClearOwnerDefault(5, 1, -1, false);
    EXPECT_EQ(m_oLayouts.DefaultLayout(5, 1, -1)->m_lId, system_layout::kIndustryList);
    EXPECT_TRUE(m_oLayouts.GetLayout(lId));
    m_oLayouts.ClearOwnerDefault(5, 1, -1, true);
    EXPECT_FALSE(m_oLayouts.GetLayout(lId));
}

}  // namespace
}  // namespace qv::facade
