#include "shell/window_mode.h"

#include "outside/automation_error.h"
#include "outside/platform_context.h"
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

std::optional<MarketSession> OpenMarket(const ShellOptions& p_oOptions) {
    GenerationProgress progress;
    try {
        return std::optional<MarketSession>(std::in_place, p_oOptions.m_sDatabase,
                                            progress.Callback());
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Qorvant Viewer"),
                              QStringLiteral("The market database cannot be opened:\n") +
                                  QString::fromStdString(ErrorText(error)));
        return std::nullopt;
    }
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
    std::optional<MarketSession> session = OpenMarket(p_oOptions);
    if (!session) {
        return 1;
    }
    session->Register(context.Components());
    MainWindow window(*session);
    // A picture shows the list the options ask for, whatever an earlier run left.
    const bool picture = !p_oOptions.m_sScreenshotPath.empty();
    const ViewerRequest remembered = picture ? ViewerRequest{} : window.RememberState();
    if (p_oOptions.m_lWidth > 0) {
        window.resize(p_oOptions.m_lWidth, p_oOptions.m_lHeight);
    }
    window.show();
    window.ShowList(p_oOptions.m_bListChosen || picture ? p_oOptions.m_oRequest : remembered);
    if (!p_oOptions.m_sPageAddress.empty()) {
        window.Pages().Open(p_oOptions.m_sPageAddress);
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
