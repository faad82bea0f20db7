// A person's actions on the grid view, and what the model and its sinks see of them.
#include "shell/grid_view.h"

#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "shell/grid_fixture.h"
#include "shell/test_application.h"
#include "shell/view_probe.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <string>
#include <vector>

namespace qv::test {
namespace {

using Events = std::vector<std::string>;
using Rows = std::vector<int32_t>;

class GridViewInput : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_grid->AddSink(&m_log);
        m_view.resize(640, 400);
        m_view.SetGrid(m_grid);
        m_view.show();
    }

    QWidget* Viewport() { return m_view.viewport(); }

    void Mouse(QEvent::Type p_eType, QPoint p_point, Qt::MouseButton p_button = Qt::LeftButton,
               Qt::KeyboardModifiers p_modifiers = {}) {
        const bool down = p_eType != QEvent::MouseButtonRelease;
        SendMouse(Viewport(), p_eType, p_point,
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
    void DoubleClick(QPoint p_point) {
        Click(p_point);
        Mouse(QEvent::MouseButtonDblClick, p_point);
        Mouse(QEvent::MouseButtonRelease, p_point);
    }
    void Key(Qt::Key p_key, Qt::KeyboardModifiers p_modifiers = {}) {
        QTest::keyClick(&m_view, p_key, p_modifiers);
    }

    // View positions of the selected rows, in selection order (the rows are unsorted, so a
    // bookmark is the position plus one).
    std::vector<int32_t> Selected() const {
        std::vector<int32_t> rows;
        const auto& selection = *m_grid->SelBookmarks();
        for (int32_t i = 0; i < selection.Count(); ++i) {
            rows.push_back(static_cast<int32_t>(selection.Item(i).ToDouble()) - 1);
        }
        return rows;
    }

    // The captions in display order, between spaces.
    std::string Captions() const {
        std::string captions;
        for (const auto& column : m_grid->Columns()->DisplayOrder()) {
            captions += (captions.empty() ? "" : " ") + column->Caption();
        }
        return captions;
    }

    std::shared_ptr<GridControl> m_grid = StockGrid(Stocks(200));
    EventLog m_log;
    GridView m_view;
};

TEST_F(GridViewInput, ALeftClickMakesTheRowCurrentAndSelectsItARightClickDoesNot) {
    Click(m_view.CellRect(3, kCompany).center());
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 1 0", "RowColChange", "Click", "MouseUp 1 0"}));
    EXPECT_EQ(Selected(), (Rows{3}));

    // The events carry the point in twips, where the model's own geometry finds the same cell.
    const GridHit hit = m_grid->HitTest(m_log.LastX(), m_log.LastY());
    EXPECT_EQ(hit.Region, gcrData);
    EXPECT_EQ(hit.Row, 3);
    EXPECT_EQ(hit.Column, kCompany);

    // A right click leaves row and selection to the handlers.
    m_log.Events().clear();
    Click(m_view.CellRect(4, kPrice).center(), Qt::RightButton);
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 2 0", "MouseUp 2 0"}));
    EXPECT_EQ(Selected(), (Rows{3}));
}

TEST_F(GridViewInput, CtrlAndShiftClicksBuildTheSelection) {
    Click(m_view.CellRect(2, kSymbol).center());
    Click(m_view.CellRect(5, kSymbol).center(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (Rows{2, 5}));
    Click(m_view.CellRect(2, kSymbol).center(), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (Rows{5}));
    Click(m_view.CellRect(8, kSymbol).center(), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Rows{2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(m_log.Events().back(), "MouseUp 1 1");
}

TEST_F(GridViewInput, DoubleClicksRaiseDblClickAfterTheFirstClick) {
    // On a header the first click is a header click, which changes no row: the grid wrapper then
    // ignores the double click.
    DoubleClick(m_view.HeaderRect(kSymbol).center());
    EXPECT_EQ(m_log.Events(),
              (Events{"MouseDown 1 0", "MouseUp 1 0", "HeadClick 0", "DblClick", "MouseUp 1 0"}));
    EXPECT_TRUE(Selected().empty());

    m_log.Events().clear();
    DoubleClick(m_view.CellRect(6, kCompany).center());
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 1 0", "RowColChange", "Click", "MouseUp 1 0",
                                      "DblClick", "MouseUp 1 0"}));
}

TEST_F(GridViewInput, DraggingAHeaderMovesTheColumn) {
    const QRect price = m_view.HeaderRect(kPrice);
    Drag(m_view.HeaderRect(kRec).center(), QPoint(price.left() + 3, price.center().y()));
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 1 0", "ColMove 2", "MouseUp 1 0"}));
    EXPECT_EQ(Captions(), "Symbol Company Rec Price %Prc Volume Sector Industry P/E");
    EXPECT_EQ(m_grid->SelStartCol(), 4);

    // Past the middle of a column, the dragged one goes after it.
    m_log.Events().clear();
    const QRect volume = m_view.HeaderRect(kVolume);
    Drag(m_view.HeaderRect(kRec).center(), QPoint(volume.right() - 3, volume.center().y()));
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 1 0", "ColMove 6", "MouseUp 1 0"}));
    EXPECT_EQ(Captions(), "Symbol Company Price %Prc Volume Rec Sector Industry P/E");
}

TEST_F(GridViewInput, ColumnDragsThatMoveNothing) {
    const auto original = Captions();
    // Dropped on itself.
    const QRect rec = m_view.HeaderRect(kRec);
    Drag(rec.center(), QPoint(rec.right() - 2, rec.center().y() + 15));
    // Column moving is off.
    m_grid->SetAllowColMove(false);
    Drag(rec.center(), m_view.HeaderRect(kPrice).center());

    EXPECT_EQ(Captions(), original);
    EXPECT_EQ(m_log.Events(),
              (Events{"MouseDown 1 0", "MouseUp 1 0", "MouseDown 1 0", "MouseUp 1 0"}));
}

TEST_F(GridViewInput, ArrowAndPageKeysMoveTheCurrentRowAndItsSelection) {
    const int32_t page = m_view.WholeRowsShown();
    ASSERT_GT(page, 5);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_log.Events(), (Events{"KeyDown 40 0", "RowColChange"}));
    EXPECT_EQ(Selected(), (Rows{1}));

    Key(Qt::Key_PageDown);
    EXPECT_EQ(m_grid->Row(), 1 + page);
    EXPECT_EQ(m_grid->TopRow(), 2);  // scrolled just enough to show the current row

    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(m_view.verticalScrollBar()->value(), 200 - page);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid->Row(), 199);

    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(m_grid->Row(), 2);
    EXPECT_EQ(m_grid->TopRow(), 0);
    EXPECT_EQ(Selected(), (Rows{0, 1, 2}));
}

TEST_F(GridViewInput, AKeyHandledByASinkMovesNothing) {
    struct Swallow : GridControlEvents {
        void KeyDown(int16_t& p_iKeyCode, int16_t) override { p_iKeyCode = 0; }
    } swallow;
    m_grid->AddSink(&swallow);
    Key(Qt::Key_Down);
    EXPECT_EQ(m_grid->Row(), 0);
    EXPECT_EQ(m_log.Events(), (Events{"KeyDown 40 0"}));
}

TEST_F(GridViewInput, CtrlFAndDeleteReachTheHandlersWithTheRuntimesCodes) {
    Click(m_view.CellRect(4, kSymbol).center());
    m_log.Events().clear();
    Key(Qt::Key_F, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    Key(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    // The modifier keys go down first and are keys of their own, as on the runtime's grid.
    EXPECT_EQ(m_log.Events(), (Events{"KeyDown 17 2", "KeyDown 70 2", "KeyDown 46 0",
                                      "KeyDown 16 1", "KeyDown 17 3", "KeyDown 76 3"}));
    EXPECT_EQ(m_grid->Row(), 4);
    EXPECT_EQ(Selected(), (Rows{4}));
}

TEST_F(GridViewInput, LeftAndRightScrollTheScrollingSplitByAColumn) {
    const auto firstShown = [&] {
        return m_grid->Splits()->Item(1)->ShownColumns().front()->ColIndex();
    };
    EXPECT_EQ(firstShown(), kPrice);
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    EXPECT_EQ(firstShown(), kRec);
    EXPECT_EQ(m_view.horizontalScrollBar()->value(), 2);
    Key(Qt::Key_Left);
    EXPECT_EQ(firstShown(), kPrcChange);
}

TEST_F(GridViewInput, PointerMovesReachTheModelWithoutAButtonHeld) {
    EventLog moves(true);
    m_grid->AddSink(&moves);
    SendMouse(Viewport(), QEvent::MouseMove, m_view.HeaderRect(kRec).center(), Qt::NoButton,
              Qt::NoButton);
    ASSERT_EQ(moves.Events(), (Events{"MouseMove 0 0"}));
    EXPECT_EQ(m_grid->PointAt(moves.LastX(), moves.LastY()), gcrColumnHeader);
    SendMouse(Viewport(), QEvent::MouseMove, m_view.CellRect(2, kRec).center(), Qt::NoButton,
              Qt::NoButton);
    EXPECT_EQ(m_grid->PointAt(moves.LastX(), moves.LastY()), gcrData);
}

TEST_F(GridViewInput, ScrollBarsSetTheTopRowAndClicksFindTheirCellAfterwards) {
    m_view.verticalScrollBar()->setValue(50);
    m_view.horizontalScrollBar()->setValue(2);
    EXPECT_EQ(m_grid->TopRow(), 50);
    const QRect cell = m_view.CellRect(52, kVolume);
    ASSERT_FALSE(cell.isEmpty());
    Click(cell.center());
    EXPECT_EQ(m_grid->Row(), 52);
    EXPECT_EQ(m_grid->Col(), kVolume);
    // A top row past the last page comes back to it: the view is kept full.
    m_grid->SetTopRow(195);
    EXPECT_EQ(m_grid->TopRow(), 200 - m_view.WholeRowsShown());
}

TEST_F(GridViewInput, AHandlerMayGiveTheViewAnotherModel) {
    auto other = StockGrid(Stocks(5));
    struct Swap : GridControlEvents {
        GridView* View;
        std::shared_ptr<GridControl> Other;
        void Click() override { View->SetGrid(Other); }
    } swap;
    swap.View = &m_view;
    swap.Other = other;
    m_grid->AddSink(&swap);
    Click(m_view.CellRect(3, kSymbol).center());
    EXPECT_EQ(m_view.Grid(), other);
    // The release went to the model shown by then.
    EXPECT_EQ(m_log.Events(), (Events{"MouseDown 1 0", "RowColChange", "Click"}));
    m_grid->RemoveSink(&swap);
}

TEST_F(GridViewInput, AFailingHandlerIsReportedAndTheViewGoesOn) {
    ScopedTestPlatform platform;
    struct Fail : GridControlEvents {
        void HeadClick(int16_t) override { RaiseRuntimeError(errors::kTypeMismatch); }
    } fail;
    m_grid->AddSink(&fail);
    Click(m_view.HeaderRect(kPrice).center());
    ASSERT_EQ(platform.Reporter().CountReports("GridView:MouseUp"), 1u);
    EXPECT_EQ(platform.Reporter().LastReport()->Number, errors::kTypeMismatch);
    Click(m_view.CellRect(1, kSymbol).center());
    EXPECT_EQ(m_grid->Row(), 1);
}

TEST_F(GridViewInput, ADisabledGridIgnoresThePerson) {
    m_grid->SetEnabled(false);
    Click(m_view.CellRect(3, kSymbol).center());
    Key(Qt::Key_Down);
    Drag(m_view.HeaderRect(kRec).center(), m_view.HeaderRect(kPrice).center());
    EXPECT_TRUE(m_log.Events().empty());
    EXPECT_EQ(m_grid->Row(), 0);
    EXPECT_EQ(Captions(), "Symbol Company Price %Prc Rec Volume Sector Industry P/E");
}

}  // namespace
}  // namespace qv::test
