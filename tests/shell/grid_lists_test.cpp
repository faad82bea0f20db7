// Every list kind as the window first shows it on the sample market: headings and the first rows
// read whole at the widths the view gives, every text reads on its background on a light and a
// dark palette, and the headings show the sort and the fields' long names.
#include "outside/color.h"
#include "shell/grid_cell_reader.h"
#include "shell/grid_geometry.h"
#include "shell/grid_view_header.h"
#include "shell/view_probe.h"
#include "shell/window_fixture.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>

namespace qv::test {
namespace {

QPalette MakePalette(QColor p_base, QColor p_text, QColor p_highlight) {
    QPalette palette;
    palette.setColor(QPalette::Base, p_base);
    palette.setColor(QPalette::Text, p_text);
    palette.setColor(QPalette::Highlight, p_highlight);
    return palette;
}

const QPalette kLight = MakePalette(Qt::white, Qt::black, QColor(48, 140, 198));
const QPalette kDark = MakePalette(QColor(35, 35, 35), QColor(230, 230, 230), QColor(42, 130, 218));

using GridLists = WindowTest;

// Captions were cut to "$ Ch…" and "52 Wk …", two-digit percentages to "1…", and red and green
// figures on the dark-blue selection could not be read.
TEST_F(GridLists, HeadingsAndFirstRowsShowWholeAndEveryTextReadsOnLightAndDarkPalettes) {
    for (const int32_t kind :
         {vt_Stocks, vt_Industries, vt_Sectors, vt_StockHistory, vt_IndustryHistory,
          vt_SectorHistory, vt_FinderResults, vt_Portfolio}) {
        ViewerRequest request;
        request.m_lViewerType = kind;
        ASSERT_TRUE(m_window.ShowList(request)) << kind;
        for (GridView* view : {&PrimaryView(), &m_window.Surface().SecondaryView()}) {
            GridControl& grid = *view->Grid();
            for (int32_t bookmark = 1; bookmark <= 3; ++bookmark) {
                grid.SelBookmarks()->Add(Variant(static_cast<double>(bookmark)));
            }
            const GridGeometry geometry(grid, view->TwipsPerPixel());
            GridCellReader reader(grid, geometry.Slots());
            const QFontMetrics heading(view->font());
            for (const GridSlot& slot : geometry.Slots()) {
                const QString caption = QString::fromStdString(slot.Column->Caption());
                EXPECT_LE(heading.horizontalAdvance(caption) + HeadingRoom(heading), slot.Width)
                    << kind << " " << slot.Column->Caption();
            }
            for (int32_t row = 0; row < std::min(reader.RowCount(), 40); ++row) {
                const std::vector<GridCell> cells = reader.ReadRow(row);
                for (size_t s = 0; s < cells.size(); ++s) {
                    const QFontMetrics metrics(CellFont(*geometry.Slots()[s].Column, view->font()));
                    const QString text = QString::fromStdString(cells[s].Text);
                    EXPECT_LE(metrics.horizontalAdvance(text) + CellRoom(),
                              geometry.Slots()[s].Width)
                        << kind << " " << cells[s].Text;
                    for (const QPalette* palette : {&kLight, &kDark}) {
                        const PaintColors paint =
                            CellPaintColors(cells[s], GridPaletteOf(*palette));
                        EXPECT_GE(ContrastRatio(paint.Fore, paint.Back), kMinimumContrast)
                            << kind << " " << cells[s].Text << " " << HexColorText(paint.Fore)
                            << " on " << HexColorText(paint.Back);
                    }
                }
            }
            for (int32_t split = 0; split < grid.Splits()->Count(); ++split) {
                for (const QPalette* palette : {&kLight, &kDark}) {
                    for (const bool active : {true, false}) {
                        const PaintColors paint = HeadingPaintColors(
                            HeadingStyle(grid, split, active), GridPaletteOf(*palette));
                        EXPECT_GE(ContrastRatio(paint.Fore, paint.Back), kMinimumContrast) << kind;
                    }
                }
            }
        }
    }
}

TEST_F(GridLists, TheViewFollowsTheApplicationsPalette) {
    const QPalette before = QApplication::palette();
    QApplication::setPalette(kDark);
    QApplication::processEvents();
    const QImage picture = PrimaryView().viewport()->grab().toImage();
    QApplication::setPalette(before);
    QApplication::processEvents();
    // Row 1 is neither striped nor selected: the grid's white is the dark palette's base.
    EXPECT_EQ(BackgroundOf(picture, PrimaryView().CellRect(1, 0)), QColor(35, 35, 35));
}

TEST_F(GridLists, HeadingsShowTheViewersSortAndTheFieldsLongNames) {
    const GridHeaderSource source = ViewerHeaderSource(m_window.Host().ControlPtr(), true);
    const GridGeometry geometry(Primary(), PrimaryView().TwipsPerPixel());
    const std::vector<SortArrow> arrows = SortArrows(geometry, source.Sort());
    std::vector<std::pair<std::string, SortArrow>> shown;
    for (size_t s = 0; s < arrows.size(); ++s) {
        if (arrows[s] != SortArrow::None) {
            shown.emplace_back(geometry.Slots()[s].Column->DataField(), arrows[s]);
        }
    }
    // The stock list is sorted by RS rank, the strongest first, then by symbol.
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (decltype(shown){{"RSRank", SortArrow::Down}, {"Symbol", SortArrow::Up}}));
    EXPECT_TRUE(source.LongName("symbol").starts_with("ticker symbol"));
    EXPECT_EQ(source.LongName("NoSuchField"), "");
    EXPECT_FALSE(ViewerHeaderSource(m_window.Host().ControlPtr(), false).Sort);
}

}  // namespace
}  // namespace qv::test
