#include "shell/window_mode.h"

#include "facade/remote_connection.h"
#include "outside/automation_error.h"
#include "outside/platform_context.h"
#include "outside/support_utility.h"
#include "shell/connect_dialog.h"
#include "shell/main_window.h"
#include "shell/market_session.h"
#include "shell/page_router.h"
#include "shell/qt_services.h"
#include "shell/shell_options.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

#include <exception>
#include <memory>
#include <optional>

namespace qv {

namespace {

// A first run's sample market takes a while: the dialog appears with the first stage reported
// and follows the stages and their counts.
class GenerationProgress {
  public:
    facade::ProgressFn Callback() {
        return [this](const std::string& p_sStage, int64_t p_llDone, int64_t p_llTotal) {
            Show(p_sStage, p_llDone, p_llTotal);
        };
    }

  private:
    void Show(const std::string& p_sStage, int64_t p_llDone, int64_t p_llTotal) {
        if (!m_pDialog) {
            m_pDialog = std::make_unique<QProgressDialog>();
            m_pDialog->setWindowTitle(QStringLiteral("Qorvant Viewer"));
            m_pDialog->setCancelButton(nullptr);
            m_pDialog->setMinimumDuration(0);
            m_pDialog->setWindowModality(Qt::ApplicationModal);
        }
        m_pDialog->setLabelText(QStringLiteral("Creating the sample market on first run\n") +
                                QString::fromStdString(p_sStage));
        constexpr int64_t kSteps = 1000;
        m_pDialog->setRange(0, p_llTotal > 0 ? static_cast<int>(kSteps) : 0);
        if (p_llTotal > 0) {
            m_pDialog->setValue(static_cast<int>(p_llDone * kSteps / p_llTotal));
        }
        QApplication::processEvents();
    }

    std::unique_ptr<QProgressDialog> m_pDialog;
};

std::unique_ptr<MarketSession> OpenMarket(const ShellOptions& p_oOptions) {
    GenerationProgress progress;
    try {
        return std::make_unique<MarketSession>(p_oOptions.m_sDatabase, progress.Callback());
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Qorvant Viewer"),
                              QStringLiteral("The market database cannot be opened:\n") +
                                  QString::fromStdString(ErrorText(error)));
        return nullptr;
    }
}

// The store a start chose: a server's connection, or none for the database.
struct StartStore {
    std::shared_ptr<facade::RemoteConnection> m_oConnection;
    // The login the connect dialog made, for the window to remember.
    std::optional<ServerLogin> m_oDialogLogin;
    bool m_bEmbeddedChosen = false;
    // What the status bar says of the choice once the window shows.
    QString m_sMessage;
};

// The server of --server, or without the option the one File > Connect to server… last chose,
// logged in with QV_PASSWORD (with --server) or what the connect dialog is given; the database
// otherwise, and when the dialog is cancelled. A picture asks no one and remembers nothing: a
// login that fails leaves it on the database, and says why.
StartStore ChooseStartStore(const ShellOptions& p_oOptions, bool p_bPicture) {
    StartStore start;
    ServerLogin login = p_bPicture ? ServerLogin{} : RememberedLogin();
    if (!p_oOptions.m_sServer.empty()) {
        login.m_sServer = p_oOptions.m_sServer;
    }
    if (!p_oOptions.m_sUser.empty()) {
        login.m_sName = p_oOptions.m_sUser;
    }
    if (login.m_sServer.empty()) {
        return start;
    }
    const QString server = QString::fromStdString(login.m_sServer);
    QString failure;
    const std::optional<std::string> password = PasswordFromEnvironment();
    if (!p_oOptions.m_sServer.empty() && password && !login.m_sName.empty()) {
        try {
            start.m_oConnection = ConnectToServer(login, *password);
            return start;
        } catch (const std::exception& error) {
            failure = QString::fromStdString(ErrorText(error));
        }
    }
    if (p_bPicture) {
        start.m_sMessage =
            QStringLiteral("Not connected to %1: %2")
                .arg(server,
                     failure.isEmpty() ? QStringLiteral("no password in QV_PASSWORD") : failure);
        return start;
    }
    ConnectDialog dialog(login);
    dialog.SetMessage(failure);
    const int outcome = dialog.exec();
    if (outcome == ConnectDialog::kConnected) {
        start.m_oConnection = dialog.Connection();
        start.m_oDialogLogin = dialog.Login();
    } else if (outcome == ConnectDialog::kEmbedded) {
        start.m_bEmbeddedChosen = true;
    } else {
        start.m_sMessage =
            QStringLiteral("Not connected to %1: the embedded store is in use").arg(server);
    }
    return start;
}

}  // namespace

bool WindowPossible() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int RunWindow(const ShellOptions& p_oOptions, int& p_iArgc, char** p_argv) {
    QApplication application(p_iArgc, p_argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Qorvant Viewer"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/qorvant-viewer.png")));
    PlatformContext context;
    InstallQtServices(context);
    ScopedPlatform installed(context);
    // A picture shows the list the options ask for, whatever an earlier run left.
    const bool picture = !p_oOptions.m_sScreenshotPath.empty();
    const StartStore start = ChooseStartStore(p_oOptions, picture);
    std::unique_ptr<MarketSession> session =
        start.m_oConnection
            ? std::make_unique<MarketSession>(start.m_oConnection, p_oOptions.m_sDatabase)
            : OpenMarket(p_oOptions);
    if (!session) {
        return 1;
    }
    session->Register(context.Components());
    MainWindow window(*session);
    const ViewerRequest remembered = picture ? ViewerRequest{} : window.RememberState();
    if (start.m_oDialogLogin) {
        window.RememberLogin(*start.m_oDialogLogin);
    }
    if (start.m_bEmbeddedChosen) {
        SupportUtility().SaveRemoteServer("");
    }
    if (p_oOptions.m_lWidth > 0) {
        window.resize(p_oOptions.m_lWidth, p_oOptions.m_lHeight);
    }
    window.show();
    window.ShowList(p_oOptions.m_bListChosen || picture ? p_oOptions.m_oRequest : remembered);
    if (!p_oOptions.m_sPageAddress.empty()) {
        window.Pages().Open(p_oOptions.m_sPageAddress);
    }
    if (!start.m_sMessage.isEmpty()) {
        window.ShowMessage(start.m_sMessage);
    }
    if (picture) {
        const QString path = QString::fromStdString(p_oOptions.m_sScreenshotPath);
        QTimer::singleShot(500, &window, [&window, path] {
            if (!window.grab().save(path)) {
                qWarning("qorvant-viewer: cannot save the picture to %s", qPrintable(path));
            }
            QApplication::quit();
        });
    }
    return QApplication::exec();
}

}  // namespace qv
