// The main window's watch lists: the side panel, the command that puts rows into a list, and the
// control's watch-list events.
#include "control/viewer.h"
#include "shell/main_window.h"
#include "shell/market_session.h"
#include "shell/viewer_host.h"
#include "shell/watch_list_panel.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

namespace qv {

namespace {

// Beside the scope boxes the panel makes the window this much wider than they do alone.
constexpr int kRoomForThePanel = 1200;

// Shows the panel when the window first opens wide enough to hold it beside the list; on a
// smaller screen it waits for View > Watch lists panel.
class ShowWhenRoomy : public QObject {
  public:
    ShowWhenRoomy(QWidget& p_oWindow, QWidget& p_oPanel) : QObject(&p_oWindow), m_oPanel(p_oPanel) {
        p_oWindow.installEventFilter(this);
    }

    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override {
        if (p_pEvent->type() == QEvent::Show) {
            if (static_cast<QWidget*>(p_pWatched)->width() >= kRoomForThePanel) {
                m_oPanel.show();
            }
            p_pWatched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

  private:
    QWidget& m_oPanel;
};

}  // namespace

void MainWindow::BuildWatchListPanel(QMenu& p_oView) {
    m_pWatchLists = new WatchListPanel;
    m_pWatchLists->SetOnEvent([this](const std::string& p_sName, std::vector<Variant> p_params) {
        if (p_sName == "WATCHLISTCHANGED") {
            ShowWatchList(p_params[2].ToLong(), p_params[0].ToLong());
        } else if (p_sName == "ADDTOWATCHLIST") {
            AddRowsToWatchList();
        } else if (p_sName == "IMPORT") {
            m_pWatchLists->Import();
        }
    });
    auto* dock = new QDockWidget(QStringLiteral("Watch lists"), this);
    dock->setObjectName(QStringLiteral("watchListDock"));
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    dock->setWidget(m_pWatchLists);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    resizeDocks({dock}, {200}, Qt::Horizontal);

    p_oView.addSeparator();
    QAction* add = p_oView.addAction(QStringLiteral("&Add to watch list…"), this,
                                     [this] { AddRowsToWatchList(); });
    add->setObjectName(QStringLiteral("addToWatchListAction"));
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    dock->hide();
    new ShowWhenRoomy(*this, *dock);
    QAction* panel = p_oView.addAction(QStringLiteral("Watch lists pa&nel"), this, [this, dock] {
        dock->show();
        dock->raise();
        m_pWatchLists->Tree().setFocus();
    });
    panel->setObjectName(QStringLiteral("watchListPanelAction"));
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
        m_pWatchLists->SetCurrentWatchList(shown.m_lWatchListId);
        m_pWatchLists->Init(m_oSession.OwnerId(), WatchListPanel::kAllLists, shown.m_lDate);
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
