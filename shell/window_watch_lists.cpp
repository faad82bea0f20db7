// The main window's watch lists: the side panel, the command that puts rows into a list, and the
// control's watch-list events.
#include "control/viewer.h"
#include "shell/main_window.h"
#include "shell/market_session.h"
#include "shell/viewer_host.h"
#include "shell/watch_list_panel.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

namespace qv {

void MainWindow::BuildWatchListPanel(QMenu& p_oView) {
    m_pWatchLists = new WatchListPanel(this);
    m_pWatchLists->SetOnOpen([this](int32_t p_lWatchListId, int32_t p_lKind) {
        ShowWatchList(p_lWatchListId, p_lKind);
    });
    m_pWatchLists->SetOnAdd([this] { AddRowsToWatchList(); });
    addDockWidget(Qt::LeftDockWidgetArea, m_pWatchLists);
    resizeDocks({m_pWatchLists}, {200}, Qt::Horizontal);

    p_oView.addSeparator();
    QAction* add = p_oView.addAction(QStringLiteral("&Add to watch list…"), this,
                                     [this] { AddRowsToWatchList(); });
    add->setObjectName(QStringLiteral("addToWatchListAction"));
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    QAction* panel = m_pWatchLists->toggleViewAction();
    panel->setText(QStringLiteral("Watch lists &panel"));
    p_oView.addAction(panel);
    SyncWatchListPanel();
}

void MainWindow::ShowWatchList(int32_t p_lWatchListId, int32_t p_lKind) {
    ViewerRequest request = m_oHost->Request();
    request.m_lViewerType = p_lKind == 1 ? vt_Industries : vt_Stocks;
    request.m_lWatchListId = p_lWatchListId;
    request.m_lPortfolioId = 0;
    if (ShowList(request)) {
        ShowMessage(QStringLiteral("The watch list ") + m_pWatchLists->ListName(p_lWatchListId));
    }
}

void MainWindow::AddRowsToWatchList() {
    if (!m_oHost->HasList()) {
        ShowMessage(QStringLiteral("Show a list first: its rows go to the watch list"));
        return;
    }
    // The same command as the grid's own, with the kind of list shown.
    Viewer& control = m_oHost->Control();
    control.AddToWatchList(nullptr, control.ViewerType() == vt_Industries ? 1 : 0);
}

void MainWindow::SyncWatchListPanel() {
    if (m_pWatchLists != nullptr) {
        const ViewerRequest& shown = m_oHost->Request();
        m_pWatchLists->Init(m_oSession.OwnerId(), shown.m_lWatchListId, shown.m_lDate);
    }
}

void MainWindow::OnWatchListAdded() {
    RefillScopes();
    m_bApplying = true;
    SetControls(m_oHost->Request());
    m_bApplying = false;
    SyncWatchListPanel();
    ShowMessage(
        QStringLiteral("The new watch list is in the Watch lists panel and the Watch list box"));
}

void MainWindow::OnDeleteItems(const std::string& p_sItems) {
    // The panel asks and shows the list again: not while the control is raising its event.
    const QPointer<MainWindow> self(this);
    QTimer::singleShot(0, this, [self, p_sItems] {
        if (self) {
            self->m_pWatchLists->DeleteItems(p_sItems);
            self->ShowMessage(self->m_pWatchLists->StatusText());
        }
    });
}

}  // namespace qv
