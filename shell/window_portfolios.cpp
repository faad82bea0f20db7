// The main window's portfolio commands: the panel's changes reaching the window's boxes, a
// portfolio's trades, "Edit trade" on a holding, "Buy…" on a stock, and trades imported from and
// exported to CSV files. Each acts on the portfolio chosen in the Portfolio box and shows the
// holdings afresh after a change.
#include "control/viewer.h"
#include "outside/automation_error.h"
#include "outside/file_util.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/investment_details_page.h"
#include "shell/main_window.h"
#include "shell/market_session.h"
#include "shell/page_views.h"
#include "shell/portfolio_calls.h"
#include "shell/portfolio_panel.h"
#include "shell/trade_editor.h"
#include "shell/trade_import_dialog.h"
#include "shell/trades_dialog.h"
#include "shell/viewer_host.h"
#include "shell/window_find.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>

namespace qv {

namespace {

std::string CurrentField(Viewer& p_oViewer, const char* p_sField) {
    const auto& rows = p_oViewer.olePriGrid()->DataSource();
    if (!rows || rows->State() != adStateOpen || rows->IsBOF() || rows->IsEOF() ||
        rows->Fields().IndexOf(p_sField) < 0) {
        return {};
    }
    const Variant value = rows->Value(p_sField);
    return value.IsNull() || value.IsEmpty() ? std::string() : value.ToString();
}

// The id of the trade of the holding row that is current, from the control's trade array.
int32_t CurrentTradeId(Viewer& p_oViewer) {
    const Variant trades = p_oViewer.EditTrade();
    if (!trades.IsArray()) {
        return 0;
    }
    const VariantArray& array = trades.Array();
    if (array.Dimensions() != 2) {
        return 0;
    }
    for (int32_t column = array.LBound(2); column <= array.UBound(2); ++column) {
        if (array.At(9, column).ToBool()) {
            return array.At(0, column).ToLong();
        }
    }
    return 0;
}

}  // namespace

PortfolioPanel* MainWindow::NewPortfolioPanel() {
    auto* panel = new PortfolioPanel(m_oSession, this);
    panel->SetOnChanged(
        [this](int32_t p_lNewPortfolioId) { OnPortfoliosChanged(p_lNewPortfolioId); });
    panel->SetOnTrades([this](int32_t p_lPortfolioId) { OpenTrades(p_lPortfolioId); });
    return panel;
}

void MainWindow::BuildPortfolioActions(QMenu& p_oFile) {
    p_oFile.addAction(QStringLiteral("Import &trades…"), this, [this] { ImportTradesFile(); })
        ->setObjectName(QStringLiteral("importTradesAction"));
    p_oFile.addAction(QStringLiteral("Export t&rades…"), this, [this] { ExportTradesFile(); })
        ->setObjectName(QStringLiteral("exportTradesAction"));
    QMenu& edit = EditMenu(*menuBar());
    edit.addSeparator();
    edit.addAction(QStringLiteral("Edit &trade…"), this, [this] { EditCurrentTrade(); })
        ->setObjectName(QStringLiteral("editTradeAction"));
    edit.addAction(QStringLiteral("&Buy…"), this, [this] { BuyCurrentStock(); })
        ->setObjectName(QStringLiteral("buyAction"));
}

void MainWindow::OnPortfoliosChanged(int32_t p_lNewPortfolioId) {
    RefillScopes();
    m_bApplying = true;
    SetControls(m_oHost->Request());
    m_bApplying = false;
    // A new portfolio is shown as its holdings, empty as they are, whatever list was shown.
    const ViewerRequest& shown = m_oHost->Request();
    if (p_lNewPortfolioId == 0 ||
        (shown.m_lViewerType == vt_Portfolio && shown.m_lPortfolioId == p_lNewPortfolioId)) {
        return;
    }
    ViewerRequest holdings = shown;
    holdings.m_lViewerType = vt_Portfolio;
    holdings.m_lWatchListId = 0;
    holdings.m_lPortfolioId = p_lNewPortfolioId;
    ShowList(holdings);
}

int32_t MainWindow::ChosenPortfolio() {
    const int32_t shown = m_oHost->Request().m_lPortfolioId;
    const int32_t chosen = shown != 0 ? shown : m_pPortfolio->currentData().toInt();
    if (chosen == 0) {
        ShowMessage(QStringLiteral("Choose a portfolio first (the Portfolio box or panel)"));
    }
    return chosen;
}

void MainWindow::RefreshHoldings() {
    const ViewerRequest& shown = m_oHost->Request();
    if (shown.m_lViewerType == vt_Portfolio && m_oHost->HasList()) {
        ShowList(shown);
    }
}

void MainWindow::OpenTrades(int32_t p_lPortfolioId) {
    TradesDialog trades(m_oSession.OwnerId(), p_lPortfolioId, TradeMarketOf(m_oSession), this);
    trades.SetOnChanged([this] { RefreshHoldings(); });
    trades.exec();
}

void MainWindow::RunTradeEditor(int32_t p_lPortfolioId, const Trade& p_oTrade) {
    TradeEditor editor(m_oSession.OwnerId(), p_lPortfolioId, p_oTrade, TradeMarketOf(m_oSession),
                       this);
    if (editor.exec() == QDialog::Accepted) {
        ShowMessage(QStringLiteral("Saved the trade in ") +
                    QString::fromStdString(editor.Saved().m_sSymbol));
        RefreshHoldings();
    }
}

void MainWindow::EditCurrentTrade() {
    const ViewerRequest& shown = m_oHost->Request();
    const int32_t id = shown.m_lViewerType == vt_Portfolio ? CurrentTradeId(m_oHost->Control()) : 0;
    if (id == 0) {
        ShowMessage(QStringLiteral("Edit trade works on a holding of a portfolio list"));
        return;
    }
    try {
        for (const Trade& trade : ReadTrades(m_oSession.OwnerId(), shown.m_lPortfolioId)) {
            if (trade.m_lTradeId == id) {
                RunTradeEditor(shown.m_lPortfolioId, trade);
                return;
            }
        }
        ShowMessage(QStringLiteral("The trade is no longer in the portfolio"));
    } catch (const std::exception& error) {
        ShowMessage(QString::fromStdString(ErrorText(error)));
    }
}

void MainWindow::BuyCurrentStock() {
    const std::string symbol = CurrentField(m_oHost->Control(), "Symbol");
    if (symbol.empty()) {
        ShowMessage(QStringLiteral("Buy… works on a stock row"));
        return;
    }
    const std::vector<NamedCode> portfolios = m_oSession.Portfolios();
    if (portfolios.empty()) {
        ShowMessage(QStringLiteral("Make a portfolio first (the Portfolios panel, New…)"));
        return;
    }
    int32_t portfolio = portfolios.front().m_lCode;
    if (portfolios.size() > 1) {
        QStringList names;
        for (const NamedCode& entry : portfolios) {
            names << QString::fromStdString(entry.m_sName);
        }
        bool ok = false;
        const QString name =
            QInputDialog::getItem(this, QStringLiteral("Buy ") + QString::fromStdString(symbol),
                                  QStringLiteral("&Portfolio:"), names, 0, false, &ok);
        if (!ok) {
            return;
        }
        portfolio = portfolios[static_cast<size_t>(names.indexOf(name))].m_lCode;
    }
    Trade trade;
    trade.m_sSymbol = symbol;
    trade.m_lBuyDate = m_oHost->Request().m_lDate;
    RunTradeEditor(portfolio, trade);
}

QWidget* MainWindow::NewInvestmentDetailsPage() {
    const ViewerRequest& shown = m_oHost->Request();
    const std::string symbol = CurrentField(m_oHost->Control(), "Symbol");
    if (shown.m_lViewerType != vt_Portfolio || symbol.empty()) {
        QWidget* page = NewPageFrame(QStringLiteral("Investment details"));
        AddPageLine(*page, QStringLiteral("Investment details are those of a holding: show a "
                                          "portfolio and choose one of its rows."));
        return page;
    }
    return new InvestmentDetailsPage(
        {m_oSession.OwnerId(), shown.m_lPortfolioId, symbol, shown.m_lDate});
}

void MainWindow::ImportTradesFile() {
    const int32_t portfolio = ChosenPortfolio();
    if (portfolio == 0) {
        return;
    }
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Import trades"), QString(),
                                     QStringLiteral("Trade files (*.csv);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessage(QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
        return;
    }
    TradeImportDialog import(m_oSession.OwnerId(), portfolio, file.readAll().toStdString(), this);
    if (import.exec() == QDialog::Accepted) {
        ShowMessage(QStringLiteral("Imported %1 trades").arg(import.Added()));
        RefreshHoldings();
    }
}

void MainWindow::ExportTradesFile() {
    const int32_t portfolio = ChosenPortfolio();
    if (portfolio == 0) {
        return;
    }
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export trades"), QStringLiteral("trades.csv"),
        QStringLiteral("Trade files (*.csv);;All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    try {
        WriteFileAtomically(path.toStdString(), ExportTrades(m_oSession.OwnerId(), portfolio));
    } catch (const std::exception& error) {
        ShowMessage(QStringLiteral("Nothing was exported: ") +
                    QString::fromStdString(ErrorText(error)));
        return;
    }
    ShowMessage(QStringLiteral("Exported the trades to ") + path);
}

}  // namespace qv
