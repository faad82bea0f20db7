// A person's actions on the grid view reach the model as its events, with the runtime's codes;
// what the model then does with them is its own tests' business.
#include "shell/grid_view.h"

#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/scripted_services.h"
#include "shell/grid_fixture.h"
#include "shell/test_application.h"
#include "shell/view_probe.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include <string>
#include <vector>

namespace qv::test {
namespace {

using Events = std::vector<std::string>;

class GridViewInput : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_grid->AddSink(&m_log);
        m_view.resize(640, 400);
        m_view.SetGrid(m_grid);
        m_view.show();
    }

    void Mouse(QEvent::Type p_eType, QPoint p_point, Qt::MouseButton p_button = Qt::LeftButton,
               Qt::KeyboardModifiers p_modifiers = {}) {
        const bool down = p_eType != QEvent::MouseButtonRelease;
        SendMouse(m_view.viewport(), p_eType, p_point,
                  p_eType == QEvent::MouseMove ? Qt::NoButton : p_button,
                  down ? Qt::MouseButtons(p_button) : Qt::NoButton, p_modifiers);
    }
    void Click(QPoint p_point, Qt::MouseButton p_button = Qt::LeftButton,
               Qt::KeyboardModifiers p_modifiers = {}) {
        Mouse(QEvent::MouseButtonPress, p_point, p_button, p_modifiers);
        Mouse(QEvent::MouseButtonRelease, p_point, p_button, p_modifiers);
    }
    void Drag(QPoint p_from, QPoint p_to) {
        Mouse(QEvent::MouseButtonPress, p_from);
        Mouse(QEvent::MouseMove, (p_from + p_to) / 2);
        Mouse(QEvent::MouseMove, p_to);
        Mouse(QEvent::MouseButtonRelease, p_to);
    }
    void Key(Qt::Key p_key, Qt::KeyboardModifiers p_modifiers = {}) {
        QTest::keyClick(&m_view, p_key, p_modifiers);
    }
    int32_t ColumnAt(size_t p_position) const {
        return m_grid->Columns()->DisplayOrder()[p_position]->ColIndex();
    }

    std::shared_ptr<GridControl> m_grid = StockGrid(Stocks(200));
    EventLog m_log;
    GridView m_view;
};

TEST_F(GridViewInput, PointerMovesAndClicksReachTheModelWithButtonShiftAndThePointInTwips) {
    SendMouse(m_view.viewport(), QEvent::MouseMove, m_view.HeaderRect(kRec).center(), Qt::NoButton,
              Qt::NoButton);
    EXPECT_EQ(m_grid->PointAt(m_log.LastX(), m_log.LastY()), gcrColumnHeader);
    Click(m_view.CellRect(3, kCompany).center());
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 1 0", "RowColChange", "Click", "MouseUp 1 0"}));
    const GridHit hit = m_grid->HitTest(m_log.LastX(), m_log.LastY());
    EXPECT_EQ((std::vector<int32_t>{hit.Region, hit.Row, hit.Column}),
              (std::vector<int32_t>{gcrData, 3, kCompany}));
    m_log.Events().clear();
    Click(m_view.CellRect(4, kPrice).center(), Qt::RightButton);
    Click(m_view.CellRect(8, kSymbol).center(), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 2 0", "MouseUp 2 0", "MouseDown 1 1",
                                      "RowColChange", "Click", "MouseUp 1 1"}));
    EXPECT_EQ(m_grid->SelBookmarks()->Count(), 6);
    // A double click raises DblClick after the first click, on a header as on a cell.
    m_log.Events().clear();
    for (const QPoint point :
         {m_view.HeaderRect(kSymbol).center(), m_view.CellRect(6, kCompany).center()}) {
        Click(point);
        Mouse(QEvent::MouseButtonDblClick, point);
        Mouse(QEvent::MouseButtonRelease, point);
    }
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 1 0", "MouseUp 1 0", "HeadClick 0", "DblClick",
                                      "MouseUp 1 0", "MouseDown 1 0", "RowColChange", "Click",
                                      "MouseUp 1 0", "DblClick", "MouseUp 1 0"}));
}

TEST_F(GridViewInput, DraggingAHeaderMovesTheColumnBeforeOrAfterTheOneDroppedOn) {
    const QRect rec = m_view.HeaderRect(kRec);
    Drag(rec.center(), QPoint(rec.right() - 2, rec.center().y() + 15));  // onto itself: no move
    const QRect price = m_view.HeaderRect(kPrice);
    Drag(rec.center(), QPoint(price.left() + 3, price.center().y()));
    EXPECT_EQ(ColumnAt(2), kRec);
    const QRect volume = m_view.HeaderRect(kVolume);
    Drag(m_view.HeaderRect(kRec).center(), QPoint(volume.right() - 3, volume.center().y()));
    EXPECT_EQ(ColumnAt(5), kRec);
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 1 0", "MouseUp 1 0", "MouseDown 1 0", "ColMove 2",
                                      "MouseUp 1 0", "MouseDown 1 0", "ColMove 6", "MouseUp 1 0"}));
}

// Dragging a column's border moved the column instead of sizing it.
TEST_F(GridViewInput, ABorderDragSizesTheColumnLeftOfItAndABodyDragMovesIt) {
    struct Case {
        int32_t FromBorder;  // pixels from Price's right border; inside the border zone or not
        bool Sizes;
    };
    const int32_t zone = GridView::kBorderZone;
    const Case cases[] = {{0, true}, {-zone, true}, {zone, true}, {-zone - 2, false}};
    for (const Case& c : cases) {
        m_grid = StockGrid(Stocks(200));
        m_grid->AddSink(&m_log);
        m_view.SetGrid(m_grid);
        m_log.Events().clear();
        const QRect price = m_view.HeaderRect(kPrice);
        const QPoint from(price.right() + 1 + c.FromBorder, price.center().y());
        Drag(from, from + QPoint(60, 0));
        EXPECT_EQ(m_view.HeaderRect(kPrice).width(), price.width() + (c.Sizes ? 60 : 0))
            << c.FromBorder;
        EXPECT_EQ(ColumnAt(2) == kPrice, c.Sizes) << c.FromBorder;
        EXPECT_EQ(m_log.Events().size(), c.Sizes ? 2u : 3u) << c.FromBorder;  // ColMove or not
    }
}

TEST_F(GridViewInput, KeysMoveTheCurrentRowAndScrollTheColumns) {
    const int32_t page = m_view.WholeRowsShown();
    Key(Qt::Key_Down);
    EXPECT_EQ(m_log.Events(), (Events{"KeyDown 40 0", "RowColChange"}));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(m_grid->Row(), 1 + page);
    EXPECT_EQ(m_grid->TopRow(), 2);  // scrolled just enough to show the current row
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(m_view.verticalScrollBar()->value(), 200 - page);
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(m_grid->SelBookmarks()->Count(), 2);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Left);
    EXPECT_EQ(m_grid->Splits()->Item(1)->ShownColumns().front()->ColIndex(), kPrcChange);
}

TEST_F(GridViewInput, CommandKeysReachTheHandlersWithTheRuntimesCodesAndAHandlerMayEatThem) {
    Key(Qt::Key_F, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    Key(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    // The modifier keys go down first and are keys of their own, as on the runtime's grid.
    EXPECT_EQ(m_log.Events(), (Events{"KeyDown 17 2", "KeyDown 70 2", "KeyDown 46 0",
                                      "KeyDown 16 1", "KeyDown 17 3", "KeyDown 76 3"}));
    struct Swallow : GridControlEvents {
        void KeyDown(int16_t& p_iKeyCode, int16_t) override { p_iKeyCode = 0; }
    } swallow;
    m_grid->AddSink(&swallow);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid->Row(), 0);
}

TEST_F(GridViewInput, ScrollBarsSetTheTopRowAndClicksFindTheirCellAfterwards) {
    m_view.verticalScrollBar()->setValue(50);
    m_view.horizontalScrollBar()->setValue(2);
    EXPECT_EQ(m_grid->TopRow(), 50);
    Click(m_view.CellRect(52, kVolume).center());
    EXPECT_EQ(m_grid->Row(), 52);
    EXPECT_EQ(m_grid->Col(), kVolume);
    m_grid->SetTopRow(195);  // past the last page: the view is kept full
    EXPECT_EQ(m_grid->TopRow(), 200 - m_view.WholeRowsShown());
}

// A handler may give the view another model, or fail: the view goes on with what it then shows.
TEST_F(GridViewInput, AHandlerMaySwapTheModelOrFailAndTheViewGoesOn) {
    ScopedTestPlatform platform;
    struct Unruly : GridControlEvents {
        GridView* View;
        std::shared_ptr<GridControl> Other = StockGrid(Stocks(5));
        void Click() override { View->SetGrid(Other); }
        void HeadClick(int16_t) override { RaiseRuntimeError(errors::kTypeMismatch); }
    } unruly;
    unruly.View = &m_view;
    m_grid->AddSink(&unruly);
    Click(m_view.HeaderRect(kPrice).center());
    ASSERT_EQ(platform.Reporter().CountReports("GridView:MouseUp"), 1u);
    EXPECT_EQ(platform.Reporter().LastReport()->Number, errors::kTypeMismatch);
    m_log.Events().clear();
    Click(m_view.CellRect(3, kSymbol).center());
    EXPECT_EQ(m_view.Grid(), unruly.Other);
    // The release went to the model shown by then.
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 1 0", "RowColChange", "Click"}));
    m_grid->RemoveSink(&unruly);
}

}  // namespace
}  // namespace qv::test
