#include "shell/qt_popup_menu.h"

#include "shell/grid_view.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPointer>

#include <cmath>

namespace qv {

namespace {

void AddItems(const PopupMenu& p_oMenu, int32_t p_lParent, QMenu& p_oTarget) {
    for (const int32_t index : p_oMenu.Children(p_lParent)) {
        const PopupMenuItem& item = p_oMenu.Item(index);
        if (item.IsSeparator()) {
            p_oTarget.addSeparator();
            continue;
        }
        const QString caption = QString::fromStdString(item.Caption);
        if (p_oMenu.HasChildren(index)) {
            QMenu* sub = p_oTarget.addMenu(caption);
            sub->setEnabled(item.Enabled);
            AddItems(p_oMenu, index, *sub);
            continue;
        }
        QAction* action = p_oTarget.addAction(caption);
        // A header without items chooses nothing, as the menu says of id 0.
        action->setEnabled(item.Enabled && item.ItemId != 0);
        action->setData(index);
    }
}

}  // namespace

std::unique_ptr<QMenu> QtPopupMenuPresenter::BuildMenu(const PopupMenu& p_oMenu,
                                                       QWidget* p_pParent) {
    auto menu = std::make_unique<QMenu>(p_pParent);
    AddItems(p_oMenu, 0, *menu);
    return menu;
}

QWidget* QtPopupMenuPresenter::ViewOf(const PopupAnchor& p_anchor) {
    if (p_anchor.Control == nullptr) {
        return nullptr;
    }
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* view = qobject_cast<GridView*>(widget);
        if (view != nullptr && view->Grid().get() == p_anchor.Control && view->isVisible()) {
            return view;
        }
    }
    return nullptr;
}

QPoint QtPopupMenuPresenter::ScreenPoint(const PopupAnchor& p_anchor) {
    auto* view = qobject_cast<GridView*>(ViewOf(p_anchor));
    if (view == nullptr) {
        return QCursor::pos();
    }
    const double twipsPerPixel = view->TwipsPerPixel();
    // The grid's points are the twips of a pixel's centre: the pixel is the one they fall in.
    const QPoint local(static_cast<int>(std::floor(p_anchor.X / twipsPerPixel)),
                       static_cast<int>(std::floor(p_anchor.Y / twipsPerPixel)));
    return view->viewport()->mapToGlobal(local);
}

int32_t QtPopupMenuPresenter::Show(const PopupMenu& p_oMenu, const PopupAnchor& p_anchor) {
    if (p_oMenu.Count() == 0) {
        return 0;
    }
    // Watched, not owned, while it runs: its parent may go away inside exec().
    QPointer<QMenu> menu = BuildMenu(p_oMenu, ViewOf(p_anchor)).release();
    QAction* chosen = menu->exec(ScreenPoint(p_anchor));
    const int32_t index = chosen != nullptr ? chosen->data().toInt() : 0;
    delete menu.data();
    return index;
}

}  // namespace qv
