// Every list kind as the window first shows it on the sample market: headings and the first rows
// read whole at the widths the view gives, every text reads on its background on a light and a
// dark palette, and the headings show the sort and the fields' long names.
#include "outside/color.h"
#include "outside/grid_control.h"
#include "shell/grid_cell_reader.h"
#include "shell/grid_geometry.h"
#include "shell/grid_painter.h"
#include "shell/grid_view_header.h"
#include "shell/qt_color.h"
#include "shell/view_probe.h"
#include "shell/window_fixture.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>

#include <algorithm>
#include <string>

namespace qv::test {
namespace {

// Rows read from the top of each list.
constexpr int32_t kRowsRead = 40;

QPalette MakePalette(QColor p_base, QColor p_text, QColor p_highlight) {
    QPalette palette;
    palette.setColor(QPalette::Base, p_base);
    palette.setColor(QPalette::Text, p_text);
    palette.setColor(QPalette::Highlight, p_highlight);
    return palette;
}

const QPalette& LightPalette() {
    static const QPalette palette = MakePalette(Qt::white, Qt::black, QColor(48, 140, 198));
    return palette;
}

const QPalette& DarkPalette() {
    static const QPalette palette =
        MakePalette(QColor(35, 35, 35), QColor(230, 230, 230), QColor(42, 130, 218));
    return palette;
}

class GridLists : public WindowTest {
  protected:
    std::vector<GridView*> Views() {
        std::vector<GridView*> views{&PrimaryView()};
        if (m_window.Surface().SecondaryView().isVisible()) {
            views.push_back(&m_window.Surface().SecondaryView());
        }
        return views;
    }
};

const int32_t kListKinds[] = {vt_Stocks,        vt_Industries,      vt_Sectors,
                              vt_StockHistory,  vt_IndustryHistory, vt_SectorHistory,
                              vt_FinderResults, vt_Portfolio};

// The captions were cut to "$ Ch…" and "52 Wk …", and two-digit percentages to "1…".
TEST_F(GridLists, HeadingsAndFirstRowsAreNotElidedAtTheWidthsTheViewGives) {
    for (const int32_t kind : kListKinds) {
        ASSERT_TRUE(m_window.ShowList({.m_lViewerType = kind})) << kind;
        for (GridView* view : Views()) {
            GridControl& grid = *view->Grid();
            const GridGeometry geometry(grid, view->TwipsPerPixel());
            GridCellReader reader(grid, geometry.Slots());
            const QFontMetrics heading(view->font());
            const int32_t rows = std::min(reader.RowCount(), kRowsRead);
            for (size_t s = 0; s < geometry.Slots().size(); ++s) {
                const GridSlot& slot = geometry.Slots()[s];
                const QString caption = QString::fromStdString(slot.Column->Caption());
                EXPECT_LE(heading.horizontalAdvance(caption) + HeadingRoom(heading), slot.Width)
                    << kind << " " << slot.Column->Caption();
                const QFontMetrics cells(CellFont(*slot.Column, view->font()));
                for (int32_t row = 0; row < rows; ++row) {
                    const std::string text = reader.ReadRow(row).at(s).Text;
                    EXPECT_LE(cells.horizontalAdvance(QString::fromStdString(text)) + CellRoom(),
                              slot.Width)
                        << kind << " " << slot.Column->Caption() << " " << text;
                }
            }
        }
    }
}

// Red and green figures on the dark-blue selection could not be read.
TEST_F(GridLists, EveryTextTheGridsDrawReadsOnItsBackgroundOnLightAndDarkPalettes) {
    for (const int32_t kind : kListKinds) {
        ASSERT_TRUE(m_window.ShowList({.m_lViewerType = kind})) << kind;
        for (GridView* view : Views()) {
            GridControl& grid = *view->Grid();
            for (int32_t bookmark = 1; bookmark <= 3; ++bookmark) {
                grid.SelBookmarks()->Add(Variant(static_cast<double>(bookmark)));
            }
            const GridGeometry geometry(grid, view->TwipsPerPixel());
            GridCellReader reader(grid, geometry.Slots());
            for (const QPalette* palette : {&LightPalette(), &DarkPalette()}) {
                const GridPalette colors = GridPaletteOf(*palette);
                for (int32_t row = 0; row < std::min(reader.RowCount(), kRowsRead); ++row) {
                    for (const GridCell& cell : reader.ReadRow(row)) {
                        const PaintColors paint = CellPaintColors(cell, colors);
                        EXPECT_GE(ContrastRatio(paint.Fore, paint.Back), kMinimumContrast)
                            << kind << " dark " << colors.Dark << " " << cell.Text << " "
                            << HexColorText(paint.Fore) << " on " << HexColorText(paint.Back);
                    }
                }
                for (int32_t split = 0; split < grid.Splits()->Count(); ++split) {
                    for (const bool active : {true, false}) {
                        const PaintColors paint =
                            HeadingPaintColors(HeadingStyle(grid, split, active), colors);
                        EXPECT_GE(ContrastRatio(paint.Fore, paint.Back), kMinimumContrast)
                            << kind << " heading of split " << split;
                    }
                }
            }
        }
    }
}

TEST_F(GridLists, TheViewFollowsTheApplicationsPalette) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    QApplication::processEvents();
    const QImage picture = PrimaryView().viewport()->grab().toImage();
    QApplication::setPalette(before);
    QApplication::processEvents();
    // Row 1 is neither striped nor selected: the grid's white is the dark palette's base.
    EXPECT_EQ(BackgroundOf(picture, PrimaryView().CellRect(1, 0)), QColor(35, 35, 35));
}

TEST_F(GridLists, HeadingsShowTheViewersSortAndTheFieldsLongNames) {
    const GridHeaderSource source = ViewerHeaderSource(m_window.Host().ControlPtr(), true);
    GridControl& grid = Primary();
    const GridGeometry geometry(grid, PrimaryView().TwipsPerPixel());
    const std::vector<SortArrow> arrows = SortArrows(geometry, source.Sort());
    std::vector<std::pair<std::string, SortArrow>> shown;
    for (size_t s = 0; s < arrows.size(); ++s) {
        if (arrows[s] != SortArrow::None) {
            shown.emplace_back(geometry.Slots()[s].Column->DataField(), arrows[s]);
        }
    }
    // The stock list is sorted by RS rank, the strongest first, then by symbol.
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::pair<std::string, SortArrow>>{{"RSRank", SortArrow::Down},
                                                                     {"Symbol", SortArrow::Up}}));
    EXPECT_TRUE(source.LongName("symbol").starts_with("ticker symbol"))
        << source.LongName("symbol");
    EXPECT_EQ(source.LongName("NoSuchField"), "");
    EXPECT_FALSE(ViewerHeaderSource(m_window.Host().ControlPtr(), false).Sort);
}

}  // namespace
}  // namespace qv::test
