#include "shell/window_print.h"

#include "control/viewer.h"
#include "grid/grid.h"
#include "outside/file_util.h"
#include "outside/grid_control.h"
#include "outside/headless_services.h"
#include "outside/platform_context.h"
#include "shell/main_window.h"
#include "shell/page_painter.h"
#include "shell/qt_printer.h"
#include "shell/qt_text_measurer.h"
#include "shell/viewer_host.h"
#include "shell/window_frame.h"

#include <QAction>
#include <QMenu>

namespace qv {

void MainWindow::AddPrintActions(QMenu& p_oFile) {
    // The list's own Ctrl+P prints every row at once; the entry asks first ("PRINTSELECTED").
    p_oFile.addAction(QStringLiteral("&Print…"), this, [this] { PrintList(false); });
    p_oFile.addAction(QStringLiteral("Print Pre&view…"), this, [this] { PrintList(true); });
    p_oFile.addAction(QStringLiteral("Page Set&up…"), this, [this] { ShowPageSetup(); });
}

void MainWindow::PrintList(bool p_bPreview) {
    auto* printer = dynamic_cast<QtPrinter*>(&PlatformContext::Current().Printers());
    if (printer != nullptr) {
        printer->SetPreview(p_bPreview);
    }
    m_pFrame->RaiseHostEvent("PRINTSELECTED", {Variant(false)});
    if (printer != nullptr) {
        printer->SetPreview(false);
    }
}

void MainWindow::ShowPageSetup() {
    Host().Control().frm_ShowPageSetup();
}

void PrintListToPdf(ViewerHost& p_oHost, const std::filesystem::path& p_path) {
    PlatformContext& platform = PlatformContext::Current();
    auto kept = std::make_unique<HeadlessPrinter>();
    HeadlessPrinter& printer = *kept;
    platform.SetPrinter(std::move(kept));
    // The pages are laid out in the font the PDF is written with.
    platform.SetMeasurer(std::make_unique<QtTextMeasurer>());
    Viewer& control = p_oHost.Control();
    const std::shared_ptr<GridControl> grid = control.olePriGrid();
    control.PrimaryGrid()->PrintRows(*grid, gprAllRows, false);
    if (!printer.LastJob()) {
        RaisePathFileAccess(p_path, "the list could not be laid out in pages");
    }
    WritePrintJobPdf(*printer.LastJob(), p_path);
}

}  // namespace qv
