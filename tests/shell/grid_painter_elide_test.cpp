// A text wider than its cell is drawn cut at its end with an ellipsis: cut at the aligned edge
// instead, a right-aligned 9,716.05 would show as a plausible 6.05.
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/grid_view.h"
#include "shell/test_application.h"
#include "shell/view_probe.h"

#include <gtest/gtest.h>

#include <QImage>

namespace qv::test {
namespace {

TEST(GridPainterElision, AWideNumberIsNotDrawnAsTheNumberItEndsIn) {
    Application();
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Gain", adVarChar, 20);
    rows->Open();
    rows->AddNew({Variant("9,716.05")});
    rows->AddNew({Variant("6.05")});
    auto grid = std::make_shared<GridControl>();
    grid->SetDataSource(rows);
    grid->RetrieveFields();
    grid->Columns()->Item(Variant(int32_t{0}))->SetAlignment(gaRight);
    GridView view;
    view.resize(300, 200);
    view.SetGrid(grid);
    view.show();
    // The view sizes the column to its texts; a person drags it narrower than the wide one.
    const QRect header = view.HeaderRect(0);
    const QPoint border(header.right() + 1, header.center().y());
    const QPoint narrower = border - QPoint(header.width() / 3, 0);
    SendMouse(view.viewport(), QEvent::MouseButtonPress, border, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view.viewport(), QEvent::MouseMove, narrower, Qt::NoButton, Qt::LeftButton);
    SendMouse(view.viewport(), QEvent::MouseButtonRelease, narrower, Qt::LeftButton, Qt::NoButton);
    const QImage picture = view.viewport()->grab().toImage();

    const QRect wide = view.CellRect(0, 0);
    const QRect narrow = view.CellRect(1, 0);
    ASSERT_FALSE(wide.isEmpty());
    // Cut at the right edge, both would end in the same "05"; the ellipsis makes them differ.
    const auto end = [&picture](const QRect& p_cell) {
        return picture.copy(QRect(p_cell.right() - p_cell.width() / 4, p_cell.top() + 1,
                                  p_cell.width() / 4, p_cell.height() - 2));
    };
    EXPECT_NE(end(wide), end(narrow));
}

}  // namespace
}  // namespace qv::test
