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

std::vector<int32_t> Ids(const std::vector<LayoutColumn>& p_aColumns) {
    std::vector<int32_t> aIds;
    for (const LayoutColumn& oColumn : p_aColumns) {
        aIds.push_back(oColumn.ParameterId);
    }
    return aIds;
}

// The layout description carries no data type, so the component tests cannot see these.
TEST_F(Layouts, TheIdsTheViewerAsksForHaveTheirDataTypes) {
    for (const auto& [lId, lDataType, lFinderType] :
         {std::tuple{3, 0, -1}, {9, 0, -1}, {4, 1, -1}, {10, 1, -1}, {14, 7, -1}, {297, 6, 0}}) {
        const std::optional<LayoutRecord> oLayout = m_oLayouts.GetLayout(lId);
        ASSERT_TRUE(oLayout) << lId;
        EXPECT_EQ(oLayout->m_lDataType, lDataType) << lId;
        EXPECT_EQ(oLayout->m_lFinderType, lFinderType) << lId;
    }
}

// The tables look as the viewer builds them: keys first, chosen fields, system columns last,
// every entry agreeing with the catalogue and numbered from 1.
TEST_F(Layouts, SystemLayoutsAreBuiltLikeTheViewerBuildsThem) {
    for (const LayoutRecord& oLayout : SystemLayouts()) {
        EXPECT_FALSE(SortTextOf(oLayout).empty()) << oLayout.Header.Name;
        for (size_t i = 0; i < oLayout.Columns.size(); ++i) {
            const LayoutColumn& oColumn = oLayout.Columns[i];
            EXPECT_EQ(oColumn.Sequence, static_cast<int32_t>(i) + 1) << oLayout.Header.Name;
            const FieldDefinition* oField = FindField(oColumn.ParameterId);
            ASSERT_NE(oField, nullptr) << oColumn.ParameterId;
            EXPECT_EQ(oColumn.SQLColumn, oField->m_sColumnName);
            EXPECT_EQ(oColumn.TableMask, oField->m_lTableMask);
        }
        EXPECT_EQ(m_oLayouts.GetLayout(oLayout.Header.Id), oLayout);
    }
    const LayoutRecord oStocks = *m_oLayouts.GetLayout(system_layout::kStockList);
    EXPECT_EQ(oStocks.Columns[0].ParameterId, 4);
    EXPECT_EQ(oStocks.Columns[0].State, column_state::kAlwaysVisible);
    EXPECT_EQ(oStocks.Columns.back(),
              (LayoutColumn{37, column_state::kAlwaysVisible, "RTRanking", "RT Ranking", 6,
                            static_cast<int32_t>(oStocks.Columns.size()), "0"}));
    const std::vector<int32_t> aPortfolio =
        Ids(m_oLayouts.GetLayout(system_layout::kPortfolio)->Columns);
    EXPECT_EQ(std::vector<int32_t>(aPortfolio.end() - 6, aPortfolio.end()),
              (std::vector<int32_t>{1418, 38, 39, 237, 1483, 1393}));
    const LayoutRecord oHistory = *m_oLayouts.GetLayout(system_layout::kStockHistory);
    EXPECT_EQ(oHistory.Columns[1].ParameterId, 5);
    EXPECT_EQ(oHistory.Columns[1].State, column_state::kSystem);
}

TEST(BuildLayoutColumns, AChosenSystemFieldIsNotAddedTwice) {
    const std::vector<LayoutColumn> aColumns = BuildLayoutColumns({2, 38, 99999}, 1, -1);
    EXPECT_EQ(Ids(aColumns), (std::vector<int32_t>{35, 2, 38, 39}));
    EXPECT_EQ(aColumns[2].State, column_state::kSystem);
    EXPECT_EQ(BuildLayoutColumns({2}, 8, -1).size(), 1u);
}

TEST(MakeLayoutSort, WritesTheSortClauseWithNamesForCodes) {
    EXPECT_EQ(MakeLayoutSort(6, 1, 5, 0).SortText, "PctChange DESC, Symbol ASC");
    EXPECT_EQ(MakeLayoutSort(38, 0, -1, 0).SortText, "IndName ASC");
}

}  // namespace
}  // namespace qv::facade
