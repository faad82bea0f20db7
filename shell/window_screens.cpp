// The main window's Screens side panel: its entries in the View menu and the toolbar, the finder
// list of a screen the panel runs, and the panel kept on the day and the screen shown.
#include "outside/dispatch.h"
#include "shell/main_window.h"
#include "shell/market_session.h"
#include "shell/screens_panel.h"
#include "shell/viewer_host.h"
#include "shell/window_frame.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QStyle>
#include <QToolBar>

#include <array>

namespace qv {

void MainWindow::BuildScreensPanel(QMenu& p_oView) {
    m_pScreens = new ScreensPanel(this);
    m_pFrame->AddPanel(kScreensSupport, m_pScreens);
    QAction* panel =
        p_oView.addAction(QStringLiteral("Scree&ns panel"), this, [this] { ShowScreensPanel(); });
    panel->setObjectName(QStringLiteral("screensPanelAction"));
    panel->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    // The master knows no such button: it opens the panel itself.
    QAction* button = m_pFrame->ToolBar().addAction(
        style()->standardIcon(QStyle::SP_FileDialogDetailedView), QStringLiteral("Screens"), this,
        [this] { ShowScreensPanel(); });
    button->setObjectName(QStringLiteral("toolBarScreens"));
}

void MainWindow::ShowScreensPanel() {
    std::array<Variant, 1> name{Variant(std::string(kScreensSupport))};
    CallMethod(*m_pFrame, "ShowSupportControl", name);
    m_pScreens->List().setFocus();
}

void MainWindow::RunScreen(const std::vector<Variant>& p_params) {
    if (p_params.size() < 3) {
        return;
    }
    ViewerRequest request = RequestFromControls();
    request.m_lViewerType = vt_FinderResults;
    request.m_lWatchListId = 0;
    request.m_lPortfolioId = 0;
    request.m_sScreenName = p_params[0].ToString();
    request.m_sScreenCriteria = p_params[1].ToString();
    request.m_lScreenRows = p_params[2].ToLong();
    ShowList(request);
}

void MainWindow::SyncScreensPanel() {
    if (m_pScreens == nullptr) {
        return;
    }
    const ViewerRequest& shown = m_oHost->Request();
    m_pScreens->Init(m_oSession.OwnerId(), shown.m_lDate);
    if (shown.m_lViewerType == vt_FinderResults) {
        m_pScreens->SetCurrentScreen(QString::fromStdString(shown.m_sScreenName));
    }
}

}  // namespace qv
