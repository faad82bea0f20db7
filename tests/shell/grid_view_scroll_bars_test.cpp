// Which scroll bars a grid view shows: the scrolling split's setting together with the grid's,
// where the grid's can take a bar away but not force one the split shows only when needed.
#include "outside/grid_control.h"
#include "shell/grid_fixture.h"
#include "shell/grid_view.h"
#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QScrollBar>

namespace qv::test {
namespace {

TEST(GridViewScrollBars, TheScrollingSplitAndTheGridDecideTogether) {
    Application();
    struct Case {
        GridScrollBars Grid;
        GridScrollBars Split;
        Qt::ScrollBarPolicy Vertical;
        Qt::ScrollBarPolicy Horizontal;
    };
    for (const Case& test : {
             Case{gsbBoth, gsbAutomatic, Qt::ScrollBarAsNeeded, Qt::ScrollBarAsNeeded},
             Case{gsbBoth, gsbBoth, Qt::ScrollBarAlwaysOn, Qt::ScrollBarAlwaysOn},
             Case{gsbNone, gsbAutomatic, Qt::ScrollBarAlwaysOff, Qt::ScrollBarAlwaysOff},
             Case{gsbAutomatic, gsbVertical, Qt::ScrollBarAsNeeded, Qt::ScrollBarAlwaysOff},
             Case{gsbBoth, gsbNone, Qt::ScrollBarAlwaysOff, Qt::ScrollBarAlwaysOff},
         }) {
        auto grid = StockGrid(Stocks(3));
        grid->SetScrollBars(test.Grid);
        const auto& splits = *grid->Splits();
        splits.Item(splits.Count() - 1)->SetScrollBars(test.Split);
        GridView view;
        view.resize(2000, 400);
        view.SetGrid(grid);
        view.show();
        EXPECT_EQ(view.verticalScrollBarPolicy(), test.Vertical) << test.Grid << test.Split;
        EXPECT_EQ(view.horizontalScrollBarPolicy(), test.Horizontal) << test.Grid << test.Split;
        EXPECT_FALSE(test.Vertical == Qt::ScrollBarAsNeeded &&
                     view.verticalScrollBar()->isVisible())
            << "three rows fit";
    }
}

}  // namespace
}  // namespace qv::test
