#include "state/viewer_elements.h"

#include "columns/field_catalogue_fixture.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "outside/automation_error.h"
#include "outside/scripted_services.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qv {
namespace {

class ViewerElementsTest : public ::testing::Test {
  protected:
    ViewerElementsTest() { m_elements.SetParameterList(m_catalogue); }

    ScopedTestPlatform m_platform;
    ViewerElements m_elements;
    std::shared_ptr<Recordset> m_catalogue = testing::MakeCatalogue();
};

// Each row: the ids and directions given, then the sort block kept (clause, ids, directions).
TEST_F(ViewerElementsTest, SetSortInfoBuildsTheSortClause) {
    const std::tuple<int32_t, int32_t, int32_t, int32_t, Variant> cases[] = {
        {13, 1, 4, 0, VariantArray::Vector({"Price DESC, Symbol ASC", 13, 1, 4, 0})},
        {13, 0, 13, 1, VariantArray::Vector({"Price ASC", 13, 0, -1, 1})},
        {24, 1, -1, 0, VariantArray::Vector({" ASC", 0, 0, -1, 0})},  // unsortable primary
        {38, 0, 39, 1, VariantArray::Vector({"IndName ASC, SecName DESC", 35, 0, 36, 1})},
        {13, 0, 0, 1, VariantArray::Vector({"Price ASC,  ASC", 13, 0, 0, 0})},
        {-5, 1, 14, 1, VariantArray::Vector({" ASC, Volume DESC", -5, 0, 14, 1})},
    };
    for (const auto& [priId, priDir, secId, secDir, expected] : cases) {
        ViewerElements elements;
        elements.SetParameterList(m_catalogue);
        elements.SetSortInfo(priId, priDir, secId, secDir);
        EXPECT_EQ(elements.SortInfo(), expected) << priId << " " << secId;
    }
    m_elements.SetSortInfo(38, 0, 4, 0);
    EXPECT_EQ(m_elements.PriSortField() + " " + m_elements.SecSortField(), "IndName Symbol");
    m_elements.SetSortInfo(38, 0, -1, 0);
    EXPECT_EQ(m_elements.SecSortField(), "");
    // The catalogue's filter is left as it was.
    EXPECT_EQ(m_catalogue->Filter(), Variant(0));
    m_catalogue->SetFilter("Group >= 0");
    m_elements.SetSortInfo(13, 0, 4, 0);
    EXPECT_EQ(m_catalogue->Filter(), Variant("Group >= 0"));
}

TEST_F(ViewerElementsTest, GridColumnsAreCreatedOnFirstReadAndOnlyForTheTwoGrids) {
    m_elements.SetGridColumns(gtSecondary, nullptr);
    EXPECT_NE(m_elements.GridColumns(gtSecondary), nullptr);
    EXPECT_EQ(FailureOf([&] { m_elements.GridColumns(static_cast<GridType>(2)); }).Number,
              errors::kSubscriptOutOfRange);
}

Variant ColumnTable() {
    VariantArray table = VariantArray::Table(7, 3);
    const Variant entries[3][7] = {{4, 4, "Symbol", "Symbol", 1, 2, "Left"},
                                   {"13", "2", "Price", "Price", "1", "1", "##0.00"},
                                   {14, 3, "Volume", "Volume", 7, 3, ""}};
    for (int32_t entry = 0; entry < 3; ++entry) {
        for (int32_t row = 0; row < 7; ++row) {
            table.At(row, entry) = entries[entry][row];
        }
    }
    return table;
}

Variant Description(Variant p_vSortBlock, Variant p_vColumnTable = ColumnTable()) {
    return VariantArray::Vector({VariantArray::Vector({42, "Mine", "my layout", 3, 7}),
                                 std::move(p_vSortBlock), std::move(p_vColumnTable)});
}

Variant SortBlock() {
    return VariantArray::Vector({"", 13, 1, 4, 0});
}

TEST_F(ViewerElementsTest, GridLayoutInfoTakesTheDescriptionApartAndReadsItBack) {
    m_elements.SetLeftColIndex(9);
    m_elements.SetGridLayoutInfo(Description(SortBlock()));
    EXPECT_EQ(m_elements.Sort(), "Price DESC, Symbol ASC");
    EXPECT_EQ(m_elements.GridLayout()->Description(), "my layout");
    EXPECT_EQ(m_elements.LeftColIndex(), 1);
    EXPECT_EQ(m_elements.GridColumns(gtPrimary)->Item("price")->ParameterId(), 13);

    // Read back: the header as given, the sort block with its clause, texts as numbers.
    const Variant description = m_elements.GridLayoutInfo();
    EXPECT_EQ(description.Array().At(1).Array(),
              VariantArray::Vector({"Price DESC, Symbol ASC", 13, 1, 4, 0}));
    EXPECT_EQ(description.Array().At(2).Array().At(0, 1), Variant(13));
    ViewerElements copy;
    copy.SetParameterList(m_catalogue);
    copy.SetGridLayoutInfo(description);
    EXPECT_EQ(copy.GridLayoutInfo(), description);

    // A description without columns clears the primary columns held, in place.
    const auto columns = m_elements.GridColumns(gtPrimary);
    m_elements.SetGridLayoutInfo(Description(SortBlock(), Variant()));
    EXPECT_EQ(m_elements.GridColumns(gtPrimary), columns);
    EXPECT_EQ(columns->Count(), 0);
    EXPECT_EQ(m_elements.LeftColIndex(), 0);
}

// The codec's own test names each malformed part; here, a failure anywhere changes nothing.
TEST_F(ViewerElementsTest, MalformedLayoutDescriptionChangesNothing) {
    Variant badCell = ColumnTable();
    badCell.Array().At(5, 2) = 1e10;
    for (const Variant& bad :
         {Variant("layout"), Description(Variant()), Description(SortBlock(), badCell)}) {
        m_elements.SetGridLayoutInfo(Description(VariantArray::Vector({"", 4, 0, -1, 0})));
        const Variant before = m_elements.GridLayoutInfo();
        EXPECT_NE(FailureOf([&] { m_elements.SetGridLayoutInfo(bad); }).Number, 0);
        EXPECT_EQ(m_elements.GridLayoutInfo(), before);
    }
}

TEST_F(ViewerElementsTest, PrintTypeMainResultDataAndResultTypeFollowTheViewerType) {
    const std::tuple<ViewerType, ViewerType, int32_t> cases[] = {
        {vt_Stocks, vt_Stocks_Print, 0},
        {vt_IndustryHistory, vt_IndustryHistory_Print, 1},
        {vt_Sectrors_Print, vt_Sectrors_Print, 2},
        {vt_BuyFromSearch, vt_BuyFromSearch, 3},
        {static_cast<ViewerType>(99), static_cast<ViewerType>(99), 0},
        {vt_Portfolio, vt_Portfolio_Print, 3},
        {vt_FinderResults, vt_FinderResults_Print, 5},
    };
    m_elements.SetFinderResultsType(5);
    for (const auto& [type, printType, mainResultData] : cases) {
        m_elements.SetViewerType(type);
        EXPECT_EQ(m_elements.PrintType(), printType) << "viewer type " << type;
        EXPECT_EQ(m_elements.MainResultData(), mainResultData) << "viewer type " << type;
    }
    EXPECT_EQ(m_elements.ResultType(), 5);  // the finder type, the last viewer type set
}

}  // namespace
}  // namespace qv
