// What the grid view does when its model tells it of a change made elsewhere: it repaints only
// the rows named, reading only them, and sets its scroll ranges again.
#include "shell/grid_view.h"

#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/grid_fixture.h"
#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QScrollBar>

#include <memory>
#include <set>
#include <vector>

namespace qv::test {
namespace {

// The regions the viewport is asked to paint.
class PaintRegions : public QObject {
  public:
    std::vector<QRegion> Painted;

  protected:
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override {
        if (p_pEvent->type() == QEvent::Paint) {
            Painted.push_back(static_cast<QPaintEvent*>(p_pEvent)->region());
        }
        return QObject::eventFilter(p_pWatched, p_pEvent);
    }
};

// A stock list of 200 rows shown and painted, with a clone of its rows, and what the view then
// paints and reads.
struct ShownList {
    ShownList() {
        Application();
        view.resize(640, 400);
        view.SetGrid(grid);
        view.show();
        QApplication::processEvents();
        grid->AddSink(&read);
        view.viewport()->installEventFilter(&painted);
    }
    QRect RowRect(int32_t p_lRow) const {
        const QRect cell = view.CellRect(p_lRow, kSymbol);
        return QRect(0, cell.top(), view.viewport()->width(), cell.height());
    }

    std::shared_ptr<Recordset> rows = Stocks(200);
    std::shared_ptr<Recordset> clone = rows->Clone();
    std::shared_ptr<GridControl> grid = StockGrid(rows);
    GridView view;
    PaintRegions painted;
    ReadRows read;
};

TEST(GridViewNotify, AnEditThroughACloneOrAMovePaintsAndReadsTheRowsNamedAlone) {
    ShownList list;
    list.clone->SetAbsolutePosition(4);
    list.clone->SetValue("Price", Variant(1.5));
    QApplication::processEvents();
    ASSERT_EQ(list.painted.Painted.size(), 1u);
    EXPECT_EQ(list.painted.Painted[0], QRegion(list.RowRect(3)));
    // A bookmark is the row id plus one.
    EXPECT_EQ(list.read.Bookmarks, (std::set<double>{4}));
    list.painted.Painted.clear();
    list.read.Bookmarks.clear();
    // A move repaints the row left, the row reached and the header.
    list.rows->Move(2);
    QApplication::processEvents();
    ASSERT_EQ(list.painted.Painted.size(), 1u);
    const QRect header(0, 0, list.view.viewport()->width(), list.view.HeaderRect(kSymbol).height());
    EXPECT_EQ(list.painted.Painted[0], QRegion(header) + list.RowRect(0) + list.RowRect(2));
    EXPECT_EQ(list.read.Bookmarks, (std::set<double>{1, 3}));
}

TEST(GridViewNotify, ChangesOfTheRowsOrColumnsSetTheScrollRangesAgain) {
    ShownList list;
    ASSERT_GT(list.view.horizontalScrollBar()->maximum(), 0);
    for (const auto& column : list.grid->Columns()->ByIndex()) {
        column->SetWidth(300);
    }
    EXPECT_EQ(list.view.horizontalScrollBar()->maximum(), 0);
    list.rows->SetFilter("Price < 500");
    EXPECT_EQ(list.view.verticalScrollBar()->maximum(), 102 - list.view.WholeRowsShown());
    list.grid->SetDataSource(Stocks(3));
    EXPECT_EQ(list.view.verticalScrollBar()->maximum(), 0);
}

}  // namespace
}  // namespace qv::test
