#include "shell/window_context_menu.h"

#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/grid_control_bookmarks.h"
#include "outside/grid_control_columns.h"
#include "shell/grid_view.h"
#include "shell/viewer_surface.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

namespace qv {

namespace {

bool OpensMenu(const QKeyEvent& p_oKey) {
    return p_oKey.key() == Qt::Key_Menu ||
           (p_oKey.key() == Qt::Key_F10 && p_oKey.modifiers() == Qt::ShiftModifier);
}

bool IsEnter(const QKeyEvent& p_oKey) {
    return (p_oKey.key() == Qt::Key_Return || p_oKey.key() == Qt::Key_Enter) &&
           (p_oKey.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// The first column the view shows, or -1.
int32_t FirstShownColumn(const GridView& p_oView, const GridControl& p_oGrid) {
    for (int32_t col = 0; col < p_oGrid.Columns()->Count(); ++col) {
        if (!p_oView.HeaderRect(col).isEmpty()) {
            return col;
        }
    }
    return -1;
}

// The view's pixel as the grid's twips, at the pixel's centre as the view hands points on.
int32_t ToTwips(const GridView& p_oView, int p_iPixels) {
    return static_cast<int32_t>(std::lround((p_iPixels + 0.5) * p_oView.TwipsPerPixel()));
}

}  // namespace

WindowContextMenu::WindowContextMenu(ViewerSurface& p_oSurface, QObject* p_pParent)
    : QObject(p_pParent),
      m_pSecondary(&p_oSurface.SecondaryView()),
      m_pSecondaryViewport(p_oSurface.SecondaryView().viewport()) {
    p_oSurface.PrimaryView().installEventFilter(this);
    m_pSecondary->installEventFilter(this);
    m_pSecondary->viewport()->installEventFilter(this);
}

void WindowContextMenu::PressRight(GridView& p_oView, QPoint p_point) {
    const std::shared_ptr<GridControl> grid = p_oView.Grid();
    if (!grid) {
        return;
    }
    Reported("Window: ContextMenu", [&] {
        const GridHit hit =
            grid->HitTest(ToTwips(p_oView, p_point.x()), ToTwips(p_oView, p_point.y()));
        if (hit.Region != gcrData || hit.Row < 0 || hit.Row == grid->Row()) {
            return;
        }
        // As the control does for the upper grid: one row selected gives way to the clicked one.
        if (grid->SelBookmarks()->Count() == 1) {
            grid->SelBookmarks()->Clear();
        }
        grid->SetCurrentRow(hit.Row);
    });
}

void WindowContextMenu::OpenAtCurrentRow(GridView& p_oView) {
    const std::shared_ptr<GridControl> grid = p_oView.Grid();
    if (!grid) {
        return;
    }
    Reported("Window: ContextMenu", [&] {
        QPoint point(p_oView.viewport()->width() / 4, 0);
        const int32_t row = grid->Row();
        const int32_t col = FirstShownColumn(p_oView, *grid);
        if (row >= 0 && col >= 0) {
            if (p_oView.CellRect(row, col).isEmpty()) {
                grid->SetTopRow(row);
            }
            const QRect cell = p_oView.CellRect(row, col);
            point =
                QPoint(cell.left() + std::min(cell.width() / 2, cell.height()), cell.center().y());
        }
        const int32_t x = ToTwips(p_oView, point.x());
        const int32_t y = ToTwips(p_oView, point.y());
        grid->MouseDown(gmbRight, 0, x, y);
        grid->MouseUp(gmbRight, 0, x, y);
    });
}

bool WindowContextMenu::DoubleClickCurrentRow(GridView& p_oView) {
    const std::shared_ptr<GridControl> grid = p_oView.Grid();
    if (!grid || grid->Row() < 0) {
        return false;
    }
    Reported("Window: DoubleClick", [&] { grid->DoubleClick(); });
    return true;
}

bool WindowContextMenu::eventFilter(QObject* p_pWatched, QEvent* p_pEvent) {
    if (p_pWatched == m_pSecondaryViewport) {
        const auto* press = static_cast<QMouseEvent*>(p_pEvent);
        if (p_pEvent->type() == QEvent::MouseButtonPress && press->button() == Qt::RightButton &&
            m_pSecondary) {
            PressRight(*m_pSecondary, press->position().toPoint());
        }
        return false;
    }
    auto* view = qobject_cast<GridView*>(p_pWatched);
    if (view == nullptr) {
        return false;
    }
    if (p_pEvent->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*p_pEvent);
        if (OpensMenu(key)) {
            OpenAtCurrentRow(*view);
            return true;
        }
        if (IsEnter(key)) {
            return DoubleClickCurrentRow(*view);
        }
        return false;
    }
    if (p_pEvent->type() == QEvent::ContextMenu) {
        // The grid opened its menu on the right button already; a keyboard request from a
        // platform that sends no key press opens it at the current row.
        if (static_cast<QContextMenuEvent*>(p_pEvent)->reason() == QContextMenuEvent::Keyboard) {
            OpenAtCurrentRow(*view);
        }
        return true;
    }
    return false;
}

}  // namespace qv
