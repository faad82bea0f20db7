#include "shell/qt_printer.h"

#include "outside/automation_error.h"
#include "outside/print_engine.h"
#include "shell/page_painter.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace qv {

std::optional<PrinterInfo> QtPrinter::DefaultPrinter() const {
    const QPrinterInfo system = QPrinterInfo::defaultPrinter();
    return LetterPagePrinter(system.isNull() ? "PDF" : system.printerName().toStdString());
}

void QtPrinter::PrintPages(const PrintJob& p_job) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(p_job.Title));
    printer.setFullPage(true);
    ApplyPageSetup(printer, p_job.Page);
    if (m_bPreview) {
        QPrintPreviewDialog dialog(&printer, m_pHost.data());
        dialog.setWindowTitle(QStringLiteral("Print Preview"));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&p_job](QPrinter* p_pPrinter) { PaintPrintJob(*p_pPrinter, p_job); });
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, m_pHost.data());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The pages were laid out on this paper; the dialog's choice of printer or file stays.
    printer.setFullPage(true);
    ApplyPageSetup(printer, p_job.Page);
    if (!PaintPrintJob(printer, p_job)) {
        RaiseRuntimeError(
            errors::kPrinterError,
            "the printer " + printer.printerName().toStdString() + " did not take the pages");
    }
}

}  // namespace qv
