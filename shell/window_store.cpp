// The main window's store: the embedded market file or a facade server, chosen in the connect
// dialog, named in the status bar, and the login that a login elsewhere can take over.
#include "control/viewer.h"
#include "facade/remote_connection.h"
#include "outside/automation_error.h"
#include "outside/platform_context.h"
#include "outside/support_utility.h"
#include "shell/connect_dialog.h"
#include "shell/main_window.h"
#include "shell/market_session.h"
#include "shell/viewer_host.h"
#include "shell/viewer_surface.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>

#include <exception>

namespace qv {

namespace {

const char* const kTakenOver =
    "Another login of this owner has taken over the session: choose File > Log in again… to go on";

}  // namespace

void MainWindow::BuildStoreActions(QMenu& p_oFile) {
    QAction* connectAction =
        p_oFile.addAction(QStringLiteral("&Connect to server…"), this, [this] { ChooseStore(); });
    connectAction->setObjectName(QStringLiteral("connectAction"));
    p_oFile.addAction(QStringLiteral("&Log in again…"), this, [this] { LogInAgain(); })
        ->setObjectName(QStringLiteral("logInAgainAction"));
    SyncStoreCommands();
}

QString MainWindow::StoreText() const {
    return m_pStore->text();
}

void MainWindow::ChooseStore() {
    ServerLogin filled = RememberedLogin();
    if (m_oSession.OnServer()) {
        filled = {m_oSession.Server(), m_oSession.OwnerName()};
    }
    ConnectDialog dialog(filled, this);
    RunConnectDialog(dialog);
}

void MainWindow::RunConnectDialog(ConnectDialog& p_oDialog) {
    const int outcome = p_oDialog.exec();
    if (outcome == ConnectDialog::kConnected) {
        RememberLogin(p_oDialog.Login());
        m_oSession.UseServer(p_oDialog.Connection());
        ApplyStore();
        ShowMessage(QStringLiteral("Connected: ") + QString::fromStdString(m_oSession.StoreText()));
        return;
    }
    if (outcome != ConnectDialog::kEmbedded) {
        ShowMessage(QStringLiteral("The store is unchanged: ") +
                    QString::fromStdString(m_oSession.StoreText()));
        return;
    }
    SupportUtility().SaveRemoteServer("");
    if (m_oSession.OnServer()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            m_oSession.UseEmbedded({});
        } catch (const std::exception& error) {
            QApplication::restoreOverrideCursor();
            QMessageBox::warning(this, QStringLiteral("Use the embedded store"),
                                 QStringLiteral("The market database cannot be opened:\n") +
                                     QString::fromStdString(ErrorText(error)));
            return;
        }
        QApplication::restoreOverrideCursor();
        ApplyStore();
    }
    ShowMessage(QString::fromStdString(m_oSession.StoreText()));
}

void MainWindow::RememberLogin(const ServerLogin& p_oLogin) {
    // The viewer's RemoteServer property keeps the address in the setting's form.
    m_oHost->Control().SetRemoteServer(ServerAddress(p_oLogin.m_sServer));
    if (m_bRemembering) {
        RememberLogin(p_oLogin);
    }
}

void MainWindow::ApplyStore() {
    m_oSession.Register(PlatformContext::Current().Components());
    m_pStore->setText(QString::fromStdString(m_oSession.StoreText()));
    SyncStoreCommands();
    m_pSurface->setEnabled(true);
    if (m_oSession.OnServer()) {
        m_pHint->hide();
    }
    RefillScopes();
    ViewerRequest request = m_oHost->Request();
    request.m_lDate = 0;
    // What the other store does not hold (a watch list, a portfolio) gives way to the stocks.
    if (!m_oHost->HasList() || !ShowList(request)) {
        ShowList(ViewerRequest{});
    }
}

void MainWindow::SyncStoreCommands() {
    const bool embedded = !m_oSession.OnServer();
    m_pImport->setEnabled(embedded);
    m_pImport->setToolTip(embedded ? QString() : QString::fromUtf8(kNotOnServer));
}

void MainWindow::OnLoginTakenOver() {
    m_pSurface->setEnabled(false);
    ShowMessage(QString::fromUtf8(kTakenOver));
}

void MainWindow::LogInAgain() {
    if (m_oSession.OnServer()) {
        ConnectDialog dialog({m_oSession.Server(), m_oSession.OwnerName()}, this);
        dialog.SetMessage(
            QStringLiteral("Another login of this owner has taken over: log in again to go on."));
        RunConnectDialog(dialog);
        return;
    }
    m_oSession.LogIn();
    ApplyStore();
    ShowMessage(QStringLiteral("Logged in again: ") +
                QString::fromStdString(m_oSession.StoreText()));
}

}  // namespace qv
