// The main window's side panels and helper strip: the watch lists, the portfolios, the search and
// the history helper as the frame's support controls, their View menu entries, the command that
// puts rows into a watch list, and a list chosen in a panel that the list shown cannot take.
#include "control/viewer.h"
#include "host/control_master.h"
#include "outside/text_util.h"
#include "shell/history_helper_panel.h"
#include "shell/main_window.h"
#include "shell/market_session.h"
#include "shell/portfolio_panel.h"
#include "shell/search_panel.h"
#include "shell/viewer_host.h"
#include "shell/watch_list_panel.h"
#include "shell/window_frame.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidget>

namespace qv {

void MainWindow::BuildWatchListPanel(QMenu& p_oView) {
    m_pWatchLists = new WatchListPanel(this);
    // A file's symbols the market does not hold are named rather than sent.
    m_pWatchLists->SetItemCheck([this](const std::string& p_sItem, int32_t p_lKind) {
        return p_lKind != 0 || m_oSession.HasStock(p_sItem);
    });
    m_pFrame->AddPanel(kWatchListSupport, m_pWatchLists);
    m_pFrame->AddPanel(kPortfolioSupport, NewPortfolioPanel());
    m_pFrame->AddPanel(kSearchSupport, new SearchPanel(this));
    m_pFrame->SetHistoryHelper(new HistoryHelperPanel(this));
    BuildScreensPanel(p_oView);

    p_oView.addSeparator();
    QAction* add = p_oView.addAction(QStringLiteral("&Add to watch list…"), this,
                                     [this] { AddRowsToWatchList(); });
    add->setObjectName(QStringLiteral("addToWatchListAction"));
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    // The panels open as the toolbar opens them: through the master.
    QAction* panel = p_oView.addAction(QStringLiteral("Watch lists pa&nel"), this, [this] {
        m_pFrame->ToolBarClick("WatchLists");
        m_pWatchLists->Tree().setFocus();
    });
    panel->setObjectName(QStringLiteral("watchListPanelAction"));
    p_oView.addAction(QStringLiteral("P&ortfolios panel"), this,
                      [this] { m_pFrame->ToolBarClick("Portfolio"); });
    p_oView.addAction(QStringLiteral("Searc&h panel"), this, [this] {
        std::array<Variant, 1> name{Variant(std::string(kSearchSupport))};
        CallMethod(*m_pFrame, "ShowSupportControl", name);
    });
    p_oView.addAction(QStringLiteral("&Close side panels"), this,
                      [this] { m_pFrame->RaiseHostEvent("CLOSECLICKED"); });
    p_oView.addAction(QStringLiteral("Show or hide the tool&bar"), this, [this] {
        LetProperty(*m_pFrame, "ToolBarVisible", Variant(!m_pFrame->ToolBarVisible()));
    });
    p_oView.addAction(QStringLiteral("Show or hide the helper s&trip"), this, [this] {
        m_pFrame->SetStripShown(!m_pFrame->StripShown());
        ShowCaptions();
    });
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
    m_pFrame->RaiseHostEvent("ADDTOWATCHLIST", {Variant::Nothing()});
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

bool MainWindow::OnPanelEvent(const std::string& p_sName, const std::vector<Variant>& p_params) {
    const CControlMaster* master = m_pFrame->Master();
    if (EqualsIgnoreCase(p_sName, "WATCHLISTCHANGED") && p_params.size() >= 3) {
        const int32_t id = p_params[2].ToLong();
        const int32_t kind = p_params[0].ToLong() == 1 ? 1 : 0;
        const int32_t type = kind == 1 ? vt_Industries : vt_Stocks;
        if (id == 0 ||
            (master != nullptr && master->WatchListMode() && master->ViewerType() == type)) {
            return false;
        }
        ShowWatchList(id, kind);
        return true;
    }
    if (EqualsIgnoreCase(p_sName, "RUNSCREEN")) {
        RunScreen(p_params);
        return true;
    }
    if (EqualsIgnoreCase(p_sName, "ITEMSELECTED") && !p_params.empty()) {
        if (master != nullptr && master->PortfolioMode()) {
            return false;
        }
        ViewerRequest request = m_oHost->Request();
        if (request.m_lViewerType != vt_Industries && request.m_lViewerType != vt_Sectors) {
            request.m_lViewerType = vt_Stocks;
        }
        request.m_lWatchListId = 0;
        request.m_lPortfolioId = p_params[0].ToLong();
        ShowList(request);
        return true;
    }
    return false;
}

}  // namespace qv
