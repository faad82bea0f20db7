// The list's context menu and double click from the keyboard, for the main window.
//
// A right click needs nothing here: the grid hears the mouse and opens its context menu at the
// pointer. From the keyboard, the Menu key and Shift+F10 open the same menu for the current row of
// the grid with the focus, placed at that row, by the same path (the grid hears the right button
// on that row); Enter on a row is the row's double click.
//
// The control moves the upper grid's current row to a row right-clicked; the window does the same
// for the lower grid, so that its menu is always that of the row under the pointer.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

namespace qv {

class GridView;
class ViewerSurface;

class WindowContextMenu : public QObject {
  public:
    // Watches both grid views of p_oSurface, and the lower one's rows.
    WindowContextMenu(ViewerSurface& p_oSurface, QObject* p_pParent);

    // The context menu of p_oView's grid for its current row (scrolled into view), or at the top
    // of the list when it has no current row.
    static void OpenAtCurrentRow(GridView& p_oView);
    // The double click of the current row; false when there is none.
    static bool DoubleClickCurrentRow(GridView& p_oView);

  protected:
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override;

  private:
    // The right button pressed on a row of the lower grid makes it the current row.
    void PressRight(GridView& p_oView, QPoint p_point);

    QPointer<GridView> m_pSecondary;
    // Compared only: events arrive from it while the window is taken apart.
    const QObject* m_pSecondaryViewport;
};

}  // namespace qv
