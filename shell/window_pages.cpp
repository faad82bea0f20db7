// The main window's pages: the page area docked beside the list, and the router the navigator
// hands every page address to.
#include "shell/main_window.h"

#include "shell/chart_page.h"
#include "shell/chart_pages.h"
#include "shell/market_session.h"
#include "shell/page_area.h"
#include "shell/page_details.h"
#include "shell/page_router.h"
#include "shell/page_views.h"
#include "shell/viewer_host.h"
#include "shell/window_frame.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace qv {

namespace {

constexpr int kLeastPageWidth = 360;

// The market's latest day is the window's to know: a graph without a day ends on it, and need
// not ask the facade which day that is. (A quick test's day is where it starts, and stays.)
PageRequest OnMarketDay(const PageRequest& p_oPage, int32_t p_lLastDay) {
    PageRequest dated = p_oPage;
    if (dated.m_lDate == 0 && ChartKindOf(dated.m_eKind) >= 0) {
        dated.m_lDate = p_lLastDay;
    }
    return dated;
}

}  // namespace

void MainWindow::BuildPages() {
    m_pPageDock = new QDockWidget(QStringLiteral("Pages"), this);
    m_pPageDock->setObjectName(QStringLiteral("pageDock"));
    m_pPageArea = new PageArea(m_pPageDock);
    m_pPageDock->setWidget(m_pPageArea);
    addDockWidget(Qt::RightDockWidgetArea, m_pPageDock);
    // Out of the list's way until a page opens.
    m_pPageDock->hide();
    m_oPages = std::make_unique<PageRouter>(
        *m_pPageArea, [this](const PageRequest& p_oPage) { ShowListPage(p_oPage); });
    m_oPages->SetPageBuilder([this](const PageRequest& p_oPage) -> QWidget* {
        if (p_oPage.m_eKind == PageKind::InvestmentDetails) {
            return NewInvestmentDetailsPage();
        }
        if (QWidget* page = NewChartFamilyPage(OnMarketDay(p_oPage, m_oSession.LastDay()),
                                               m_oSession.OwnerId(), m_oSession.LastDay())) {
            return page;
        }
        return NewFacadePage(p_oPage);
    });
    m_oPages->SetOnPageShown([this] {
        ShowPageDock();
        ShowMessage(QStringLiteral("Page: ") + m_pPageArea->Address());
    });
}

// The dock closes by its own button; the entry brings it back.
void MainWindow::AddPagesAction(QMenu& p_oView) {
    p_oView.addAction(QStringLiteral("&Pages"), this, [this] {
        if (m_pPageArea->Page() == nullptr) {
            ShowMessage(QStringLiteral(
                "No page is open yet: a row's menu (a right click) opens its pages"));
            return;
        }
        ShowPageDock();
    });
}

// A dock shown afresh takes half the window: a graph's dates and a page's lines read without a
// person widening it first, and the list stays in view beside it.
void MainWindow::ShowPageDock() {
    if (m_pPageDock->isHidden()) {
        m_pPageDock->show();
        resizeDocks({m_pPageDock}, {std::max(kLeastPageWidth, width() / 2)}, Qt::Horizontal);
    }
    m_pPageDock->raise();
}

void MainWindow::OpenPage(const std::string& p_sAddress) {
    m_oPages->Open(p_sAddress);
}

void MainWindow::ShowListPage(const PageRequest& p_oPage) {
    const std::optional<ViewerRequest> list = ListOfPage(p_oPage, m_oHost->Request());
    if (!list) {
        return;
    }
    ShowMessage(QString::fromStdString(PageKindName(p_oPage.m_eKind)) + QStringLiteral(": ") +
                PageSubject(p_oPage));
    // The address comes inside an event of the control, which must be over before the control
    // starts another list.
    const QPointer<MainWindow> self(this);
    QTimer::singleShot(0, this, [self, request = *list] {
        if (self) {
            self->ShowList(request);
        }
    });
}

}  // namespace qv
