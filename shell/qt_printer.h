// The printer of the desktop shell: the pages a grid prints go through the print dialog to a
// printer or to a PDF file, or, when a preview was asked for, to a print preview whose own
// button prints them. A machine without printers still prints to PDF, so there is always a
// printer here; the system's default one when it has one.
#pragma once

#include "outside/printer.h"

#include <QPointer>
#include <QWidget>

namespace qv {

class QtPrinter : public Printer {
  public:
    explicit QtPrinter(QWidget* p_pHost = nullptr) : m_pHost(p_pHost) {}
    void SetHost(QWidget* p_pHost) { m_pHost = p_pHost; }

    std::optional<PrinterInfo> DefaultPrinter() const override;
    void PrintPages(const PrintJob& p_job) override;
    // While set, jobs go to a print preview instead of the print dialog.
    void SetPreview(bool p_bPreview) { m_bPreview = p_bPreview; }

  private:
    QPointer<QWidget> m_pHost;
    bool m_bPreview = false;
};

}  // namespace qv
