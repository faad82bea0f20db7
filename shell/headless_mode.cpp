#include "shell/headless_mode.h"

#include "control/viewer.h"
#include "outside/automation_error.h"
#include "outside/platform_context.h"
#include "shell/chart_page.h"
#include "shell/chart_pages.h"
#include "shell/connect_dialog.h"
#include "shell/list_output.h"
#include "shell/market_session.h"
#include "shell/screen_commands.h"
#include "shell/shell_options.h"
#include "shell/viewer_host.h"
#include "shell/window_mode.h"
#include "shell/window_print.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>

namespace qv {

namespace {

constexpr const char* kProgram = "qorvant-viewer: ";

facade::ProgressFn StageReporter(std::ostream& p_err) {
    auto last = std::make_shared<std::string>();
    return [&p_err, last](const std::string& p_sStage, int64_t, int64_t) {
        if (p_sStage != *last) {
            *last = p_sStage;
            p_err << p_sStage << " ...\n";
        }
    };
}

// The store of the options: the server of --server, logged in with --user and QV_PASSWORD, as
// no one is asked here; else the database.
std::unique_ptr<MarketSession> OpenSession(const ShellOptions& p_oOptions, std::ostream& p_err) {
    if (p_oOptions.m_sServer.empty()) {
        return std::make_unique<MarketSession>(p_oOptions.m_sDatabase, StageReporter(p_err));
    }
    const std::optional<std::string> password = PasswordFromEnvironment();
    if (!password || p_oOptions.m_sUser.empty()) {
        throw std::runtime_error("--server needs --user NAME and the password in QV_PASSWORD");
    }
    return std::make_unique<MarketSession>(
        ConnectToServer({p_oOptions.m_sServer, p_oOptions.m_sUser}, *password),
        p_oOptions.m_sDatabase);
}

bool IsScreenCommand(ShellMode p_eMode) {
    return p_eMode == ShellMode::ListScreens || p_eMode == ShellMode::SaveScreen ||
           p_eMode == ShellMode::DeleteScreen;
}

void AppendCaption(std::string& p_sOut, const std::string& p_sCaption) {
    if (!p_sCaption.empty()) {
        p_sOut += p_sCaption + "\n";
    }
}

// The viewer reports a failed query and carries on with what it has, an empty list at worst;
// here such a list is never passed off as the answer. Reports made before the list was asked
// for (a damaged settings file) are the platform's own and already logged.
bool ToldFailures(const ErrorReporter& p_oReporter, size_t p_lBefore, std::ostream& p_err) {
    const auto& reports = p_oReporter.Reports();
    for (size_t i = p_lBefore; i < reports.size(); ++i) {
        p_err << kProgram << reports[i].Label << ": " << reports[i].Description << "\n";
    }
    return reports.size() > p_lBefore;
}

int Run(const ShellOptions& p_oOptions, std::ostream& p_out, std::ostream& p_err) {
    if (p_oOptions.m_eMode == ShellMode::Export) {
        CheckExportFolder(p_oOptions.m_sExportPath);
    }
    const std::unique_ptr<MarketSession> session = OpenSession(p_oOptions, p_err);
    PlatformContext context;
    session->Register(context.Components());
    ScopedPlatform installed(context);
    if (IsScreenCommand(p_oOptions.m_eMode)) {
        RunScreenCommand(p_oOptions, *session, p_out);
        return 0;
    }
    ViewerHost host(*session);
    const size_t before = context.Reporter().Reports().size();
    host.Show(p_oOptions.m_oRequest);
    if (ToldFailures(context.Reporter(), before, p_err)) {
        p_err << kProgram << "the list could not be shown"
              << (p_oOptions.m_eMode == ShellMode::Print ? "\n" : "; nothing was written\n");
        return 1;
    }
    if (host.LoginTakenOver()) {
        p_err << kProgram << "another login of the owner has taken over the session\n";
        return 1;
    }
    for (const std::string& note : host.Notes()) {
        p_err << kProgram << "note: " << note << "\n";
    }
    if (p_oOptions.m_eMode == ShellMode::Export) {
        WriteListExport(host.Control(), p_oOptions.m_sExportPath);
        p_err << "Wrote " << host.Control().RecordCount() << " rows to " << p_oOptions.m_sExportPath
              << "\n";
        return 0;
    }
    if (p_oOptions.m_eMode == ShellMode::PrintPdf) {
        PrintListToPdf(host, p_oOptions.m_sPdfPath);
        p_err << "Printed " << host.Control().RecordCount() << " rows to " << p_oOptions.m_sPdfPath
              << "\n";
        return 0;
    }
    p_out << PrintedList(host);
    return 0;
}

constexpr int kPngWidth = 1280;
constexpr int kPngHeight = 800;

// The page's request: the address's, with the command line's day and edition.
PageRequest ChartRequest(const ShellOptions& p_oOptions) {
    const PageParse parsed = ParsePageAddress(p_oOptions.m_sPageAddress);
    if (!parsed.m_oRequest) {
        throw std::runtime_error(parsed.m_sError);
    }
    PageRequest request = *parsed.m_oRequest;
    if (request.m_lDate == 0) {
        request.m_lDate = p_oOptions.m_oRequest.m_lDate;
    }
    request.m_bAdvanced = request.m_bAdvanced || p_oOptions.m_bAdvancedChart;
    return request;
}

}  // namespace

int DrawPagePng(const ShellOptions& p_oOptions, std::ostream& p_err) {
    if (p_oOptions.m_sPageAddress.empty()) {
        throw std::runtime_error("--png needs --chart, --chart-industry, --chart-sector or --page");
    }
    const PageRequest request = ChartRequest(p_oOptions);
    const std::unique_ptr<MarketSession> session = OpenSession(p_oOptions, p_err);
    PlatformContext context;
    session->Register(context.Components());
    ScopedPlatform installed(context);
    std::unique_ptr<QWidget> page(
        NewChartFamilyPage(request, session->OwnerId(), session->LastDay()));
    if (!page) {
        throw std::runtime_error(
            "--png draws graph, watch list graph, option price, quick test and dividends "
            "pages, not " +
            PageKindName(request.m_eKind));
    }
    const auto* chart = dynamic_cast<const ChartPage*>(page.get());
    if (chart != nullptr && chart->Panes().empty()) {
        throw std::runtime_error(chart->Problem().toStdString());
    }
    page->setAttribute(Qt::WA_DontShowOnScreen);
    page->resize(p_oOptions.m_lWidth > 0 ? p_oOptions.m_lWidth : kPngWidth,
                 p_oOptions.m_lHeight > 0 ? p_oOptions.m_lHeight : kPngHeight);
    page->show();
    QApplication::processEvents();
    if (!page->grab().save(QString::fromStdString(p_oOptions.m_sPngPath), "PNG")) {
        throw std::runtime_error("cannot write " + p_oOptions.m_sPngPath);
    }
    p_err << "Drew " << PageKindName(request.m_eKind) << " to " << p_oOptions.m_sPngPath << "\n";
    return 0;
}

int RunChartPng(const ShellOptions& p_oOptions, int p_iArgc, char** p_pArgv) {
    if (!WindowPossible()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(p_iArgc, p_pArgv);
    try {
        return DrawPagePng(p_oOptions, std::cerr);
    } catch (const AutomationError& error) {
        std::cerr << kProgram << error.Description() << "\n";
    } catch (const std::exception& error) {
        std::cerr << kProgram << error.what() << "\n";
    }
    return 1;
}

std::string PrintedList(ViewerHost& p_oHost) {
    std::string out;
    AppendCaption(out, p_oHost.Caption());
    AppendCaption(out, p_oHost.Control().SortCaption());
    AppendCaption(out, p_oHost.Control().BSHCaption());
    out += "\n" + ListText(p_oHost.Control());
    return out;
}

int RunPdfPrint(const ShellOptions& p_oOptions, int p_iArgc, char** p_pArgv) {
    if (!WindowPossible()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication application(p_iArgc, p_pArgv);
    return RunHeadless(p_oOptions, std::cout, std::cerr);
}

int RunHeadless(const ShellOptions& p_oOptions, std::ostream& p_out, std::ostream& p_err) {
    try {
        return Run(p_oOptions, p_out, p_err);
    } catch (const AutomationError& error) {
        p_err << kProgram << error.Description() << "\n";
    } catch (const std::exception& error) {
        p_err << kProgram << error.what() << "\n";
    }
    return 1;
}

}  // namespace qv
