// The grids' context menus as Qt menus: a PopupMenu becomes a QMenu with its submenus,
// separators and disabled items, shown where the anchor's point of its grid lies on screen (the
// GridView showing that grid control), or at the pointer when no view shows it.
//
// BuildMenu makes the QMenu without showing it, so that a test can read what a person would see;
// each item that can be chosen carries its PopupMenu index as its data.
#pragma once

#include "outside/popup_menu.h"

#include <QPoint>

#include <memory>

class QMenu;
class QWidget;

namespace qv {

class QtPopupMenuPresenter : public PopupMenuPresenter {
  public:
    int32_t Show(const PopupMenu& p_oMenu, const PopupAnchor& p_anchor) override;

    static std::unique_ptr<QMenu> BuildMenu(const PopupMenu& p_oMenu, QWidget* p_pParent = nullptr);
    // The screen point of p_anchor; the pointer's position when no view shows its grid.
    static QPoint ScreenPoint(const PopupAnchor& p_anchor);
    // The view of the grid the anchor names, or null.
    static QWidget* ViewOf(const PopupAnchor& p_anchor);
};

}  // namespace qv
