// Printed pages (print_engine.h) painted with QPainter: on a printer, into a PDF file, in a print
// preview or onto an image. The pages are in twips from the paper's corner, so a device paints
// them on the full paper (no margins of its own); texts are cut again with Qt's metrics of the
// font really used, as the engine measured with a stand-in and a real font may be wider.
//
//     QPrinter printer;
//     ApplyPageSetup(printer, job.Page);
//     PaintPrintJob(printer, job);
//     WritePrintJobPdf(job, "/tmp/list.pdf");   // written beside, then renamed
#pragma once

#include "outside/page_setup.h"
#include "outside/print_engine.h"

#include <filesystem>

class QPagedPaintDevice;
class QPageLayout;
class QPaintDevice;
class QPainter;

namespace qv {

// The page layout of p_setup: its paper and orientation, no margins (the pages carry their own).
QPageLayout PageLayoutOf(const PageSetup& p_setup);
// What a page setup dialog left in p_layout, as a page setup.
PageSetup PageSetupOf(const QPageLayout& p_layout);
// Full page, p_setup's paper and orientation.
void ApplyPageSetup(QPagedPaintDevice& p_oDevice, const PageSetup& p_setup);

// One page onto a painter already begun on p_oDevice.
void PaintPrintedPage(QPainter& p_oPainter, const QPaintDevice& p_oDevice,
                      const PrintedPage& p_page, const PrintJob& p_job);
// Every page, each on a new sheet; false when the device refused to start.
bool PaintPrintJob(QPagedPaintDevice& p_oDevice, const PrintJob& p_job);

// The job as a PDF file at p_path, replacing it only once complete. A folder that does not exist
// or cannot be written is error 75 naming the path; nothing is left behind then.
void WritePrintJobPdf(const PrintJob& p_job, const std::filesystem::path& p_path);

}  // namespace qv
