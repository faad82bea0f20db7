#include "shell/window_quick_test.h"

#include "control/viewer.h"
#include "shell/grid_view.h"
#include "shell/window_keys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace qv {

bool OffersQuickTest(const Viewer& p_oViewer) {
    if (!p_oViewer.Strategy() || p_oViewer.RecordCount() == 0) {
        return false;
    }
    const qv::ViewerType type = p_oViewer.ViewerType();
    return type == vt_Stocks || type == vt_Industries || type == vt_Sectors ||
           type == vt_FinderResults;
}

QAction* AddQuickTestAction(QMenu& p_oMenu, GridView& p_oPrimary, const Viewer& p_oViewer) {
    QAction* action = p_oMenu.addAction(QStringLiteral("&Quick Test…\tCtrl+Q"));
    action->setObjectName(QStringLiteral("quickTestAction"));
    QObject::connect(action, &QAction::triggered, &p_oPrimary,
                     [&p_oPrimary] { PressListKey(p_oPrimary, Qt::Key_Q); });
    QObject::connect(&p_oMenu, &QMenu::aboutToShow, action,
                     [action, &p_oViewer] { action->setEnabled(OffersQuickTest(p_oViewer)); });
    return action;
}

}  // namespace qv
