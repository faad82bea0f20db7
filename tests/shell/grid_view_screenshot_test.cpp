// The grid view as a person sees it: drawn to a picture under the offscreen platform, with its
// pixels checked where the frozen split, the coloured cells and the selected row are. The
// pictures are left in the working folder (the build tree) for a person to look at.
#include "shell/grid_view.h"

#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "shell/grid_fixture.h"
#include "shell/qt_color.h"
#include "shell/test_application.h"
#include "shell/view_probe.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>

namespace qv::test {
namespace {

class GridViewPicture : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_view.resize(640, 440);
        m_view.SetGrid(m_grid);
        m_view.show();
        // A person selects the second row.
        ClickAt(m_view.viewport(), m_view.CellRect(1, kCompany).center());
    }

    // The rows and headers as drawn; the file shows the whole view, scroll bars too.
    QImage Picture(const char* p_sFile) {
        m_view.grab().save(QString::fromUtf8(p_sFile));
        return m_view.viewport()->grab().toImage();
    }

    std::shared_ptr<GridControl> m_grid = StockGrid(Stocks(40));
    GridView m_view;
};

// Which colour each cell gets is the cell reader's to say; here, that the painter draws it.
TEST_F(GridViewPicture, DrawsTheFrozenSplitCellColoursAndSelectedRowReadingOnlyRowsOnScreen) {
    const QImage picture = Picture("grid_view.png");

    // The header, and the frozen split sized to its two columns with the divider after it.
    EXPECT_EQ(picture.pixelColor(m_view.HeaderRect(kSymbol).left() + 1, 2),
              ToQColor(grid_colors::kLightGrey));
    const int divider = m_view.HeaderRect(kCompany).right();
    EXPECT_EQ(picture.pixelColor(divider, m_view.CellRect(3, kSymbol).center().y()),
              QColor(128, 128, 128));

    // The selected row is tinted alike across both splits, a cell style wins, texts are in their
    // fore colours (each reads on its background as it stands).
    const QColor selected = BackgroundOf(picture, m_view.CellRect(1, kPrice));
    EXPECT_EQ(BackgroundOf(picture, m_view.CellRect(1, kSymbol)), selected);
    EXPECT_NE(BackgroundOf(picture, m_view.CellRect(3, kPrice)), selected);
    EXPECT_EQ(BackgroundOf(picture, m_view.CellRect(1, kRec)), ToQColor(grid_colors::kYellow));
    EXPECT_TRUE(HasText(picture, m_view.CellRect(1, kCompany), grid_colors::kBlack));
    EXPECT_TRUE(HasText(picture, m_view.CellRect(0, kPrcChange), grid_colors::kRed));

    // Painting reads only the rows on screen.
    ReadRows asked;
    auto grid = StockGrid(Stocks(100000));
    grid->AddSink(&asked);
    m_view.SetGrid(grid);
    m_view.verticalScrollBar()->setValue(50000);
    Picture("grid_view_100k.png");
    // Bookmarks are positions plus one; the last line may show in part.
    EXPECT_EQ(*asked.Bookmarks.begin(), 50001.0);
    EXPECT_LE(*asked.Bookmarks.rbegin(), 50001.0 + m_view.WholeRowsShown());
    EXPECT_GE(*asked.Bookmarks.rbegin(), 50000.0 + m_view.WholeRowsShown());
}

TEST_F(GridViewPicture, PaintingSurvivesStyleHandlersThatFailOrTakeRowsAway) {
    ScopedTestPlatform platform;
    struct Unruly : GridControlEvents {
        GridControl* Grid = nullptr;
        bool Fail = false;
        void FetchCellStyle(int16_t, int16_t, const Variant& p_vBookmark, int16_t, std::string_view,
                            GridStyle&) override {
            if (p_vBookmark.ToDouble() < 5) {
                return;
            }
            if (Fail) {
                RaiseRuntimeError(errors::kTypeMismatch);
            }
            Grid->DataSource()->SetFilter(Variant("Rec = 'B'"));
        }
    } unruly;
    unruly.Grid = m_grid.get();
    m_grid->AddSink(&unruly);
    EXPECT_FALSE(Picture("grid_view_filtered.png").isNull());
    EXPECT_EQ(m_grid->RowCount(), 14);
    m_grid->DataSource()->SetFilter(Variant());
    unruly.Fail = true;
    EXPECT_FALSE(Picture("grid_view_failed.png").isNull());
    ASSERT_GE(platform.Reporter().CountReports("GridView:Paint"), 1u);
    EXPECT_EQ(platform.Reporter().LastReport()->Number, errors::kTypeMismatch);
    m_grid->RemoveSink(&unruly);
}

}  // namespace
}  // namespace qv::test
