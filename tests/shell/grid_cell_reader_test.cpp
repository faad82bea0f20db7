#include "shell/grid_cell_reader.h"

#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/grid_fixture.h"
#include "shell/grid_geometry.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace qv::test {
namespace {

// At 96 dots per inch.
constexpr double kTwipsPerPixel = 15.0;

class GridCellReading : public testing::Test {
  protected:
    GridCell Read(int32_t p_lRow, int32_t p_lCol) {
        GridGeometry geometry(*m_grid, kTwipsPerPixel);
        GridCellReader reader(*m_grid, geometry.Slots());
        const int32_t slot = geometry.SlotOfColumn(p_lCol);
        EXPECT_GE(slot, 0) << p_lCol;
        return reader.ReadRow(p_lRow).at(static_cast<size_t>(slot));
    }

    std::shared_ptr<GridControl> m_grid = StockGrid(Stocks(60));
};

TEST_F(GridCellReading, TextsAreFormattedAndGeneralAlignmentFollowsTheFieldsKind) {
    GridGeometry geometry(*m_grid, kTwipsPerPixel);
    GridCellReader reader(*m_grid, geometry.Slots());
    ASSERT_EQ(reader.RowCount(), 60);
    EXPECT_EQ(Read(27, kPrice).Text, "1,009.25");
    EXPECT_TRUE(reader.ReadRow(60).empty());
    EXPECT_TRUE(reader.ReadRow(-1).empty());
    m_grid->Columns()->Item(kSymbol)->SetAlignment(gaGeneral);
    m_grid->Columns()->Item(kPrice)->SetAlignment(gaGeneral);
    EXPECT_EQ(Read(3, kSymbol).Alignment, gaLeft);
    EXPECT_EQ(Read(3, kPrice).Alignment, gaRight);
    EXPECT_EQ(Read(3, kRec).Alignment, gaCenter);
}

// Stripes and selection are told, not laid on: the painter gives them one look in every list.
TEST_F(GridCellReading, ColoursAreLaidOnInOrderAndStripesWhenAskedAndSelectionAreTold) {
    m_grid->SelBookmarks()->Add(Variant(2.0));  // row 1
    struct Case {
        int32_t Row, Col, Fore, Back;
        bool Own, Striped, Selected;
        const char* Why;
    };
    using namespace grid_colors;
    const Case cases[] = {
        {0, kSymbol, kBlack, kWhite, false, true, false, "even row"},
        {3, kSymbol, kBlack, kWhite, false, false, false, "odd row"},
        {0, kRec, kWhite, kGreen, true, true, false, "B over the even row"},
        {1, kCompany, kBlack, kWhite, false, false, true, "selected row keeps its text colour"},
        {1, kRec, kBlack, kYellow, true, false, true, "H over the selected row"},
        {1, kPrcChange, kRed, kWhite, false, false, true, "a loss on the selected row"}};
    for (const Case& c : cases) {
        const GridCell cell = Read(c.Row, c.Col);
        EXPECT_EQ(
            std::tuple(cell.ForeColor, cell.BackColor, cell.OwnBack, cell.Striped, cell.Selected),
            std::tuple(c.Fore, c.Back, c.Own, c.Striped, c.Selected))
            << c.Why;
        EXPECT_EQ(cell.SelectionColor, kHighlightBack) << c.Why;
    }
    // Rows are striped only when the grid says so.
    Variant off(false);
    m_grid->InvokeById(kAlternatingRowStyleId, InvokeKind::PropertyLet,
                       std::span<Variant>(&off, 1));
    EXPECT_FALSE(Read(0, kSymbol).Striped);
    // A secondary grid's own colours, as the layout loader sets them.
    const int32_t pale = RgbColor(208, 221, 209);
    m_grid->Style(GridStyleKind::Normal)->SetBackColor(pale);
    EXPECT_EQ(Read(1, kCompany).BackColor, pale);
    EXPECT_FALSE(Read(1, kCompany).OwnBack);
    EXPECT_EQ(Read(2, kRec).BackColor, kRed);
}

TEST_F(GridCellReading, CellStyleHandlersHaveTheLastWord) {
    struct RedNegatives : GridControlEvents {
        std::set<int16_t> Columns;
        void FetchCellStyle(int16_t p_iCondition, int16_t, const Variant&, int16_t p_iColIndex,
                            std::string_view p_sText, GridStyle& p_oStyle) override {
            EXPECT_EQ(p_iCondition, gcNormalCell);
            Columns.insert(p_iColIndex);
            if (p_sText.find('-') != p_sText.npos) {
                p_oStyle.SetForeColor(grid_colors::kRed);
                p_oStyle.SetBackColor(grid_colors::kYellow);
            }
        }
    } handler;
    m_grid->AddSink(&handler);
    EXPECT_EQ(Read(0, kPrcChange).BackColor, grid_colors::kYellow);
    EXPECT_EQ(handler.Columns.size(), static_cast<size_t>(kStockColumns));
    EXPECT_FALSE(Read(30, kPrcChange).OwnBack);
}

}  // namespace
}  // namespace qv::test
