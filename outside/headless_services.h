// The services of a process without a display: the command-line modes and the defaults of a
// process that installed no context of its own. Messages go to a stream (standard error) and
// answer their default button, dialogs are dismissed, yields do nothing, and the pointer and
// the running indicator only remember their state.
#pragma once

#include "outside/clock.h"
#include "outside/dialog_runner.h"
#include "outside/message_box.h"
#include "outside/message_loop.h"
#include "outside/mouse_pointer.h"
#include "outside/print_engine.h"
#include "outside/printer.h"
#include "outside/running_indicator.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace qv {

class HeadlessMessageBox : public MessageBox {
  public:
    // p_oStream must outlive the message box.
    explicit HeadlessMessageBox(std::ostream& p_oStream);
    MsgBoxResult Show(std::string_view p_sText, MsgBoxButtons p_eButtons, MsgBoxIcon p_eIcon,
                      std::string_view p_sTitle) override;

  private:
    std::ostream& m_oStream;
};

class HeadlessMousePointer : public MousePointer {
  public:
    void SetPointer(MousePointerShape p_eShape) override { m_eShape = p_eShape; }
    MousePointerShape Pointer() const override { return m_eShape; }

  private:
    MousePointerShape m_eShape = vbDefault;
};

class HeadlessMessageLoop : public MessageLoop {
  public:
    void DoEvents() override {}
};

class HeadlessDialogRunner : public DialogRunner {
  public:
    void ShowModal(ModalDialog& p_oDialog) override { p_oDialog.DismissDialog(); }
};

class HeadlessRunningIndicator : public RunningIndicator {
  public:
    void SetStatus(std::string_view p_sCaption, bool p_bVisible) override;
    bool Visible() const override { return m_bVisible; }
    std::string Caption() const override { return m_sCaption; }

  private:
    std::string m_sCaption;
    bool m_bVisible = false;
};

// A printer chosen up front; without a display, output goes to a PDF file on a Letter page.
// The pages printed are kept, the last job whole, for whoever drives the process (a headless
// mode writes them out, tests read them). Printing without a printer is error 482.
class HeadlessPrinter : public Printer {
  public:
    HeadlessPrinter() : m_info(LetterPagePrinter("PDF")) {}
    explicit HeadlessPrinter(std::optional<PrinterInfo> p_info) : m_info(std::move(p_info)) {}
    std::optional<PrinterInfo> DefaultPrinter() const override { return m_info; }
    void SetDefaultPrinter(std::optional<PrinterInfo> p_info) { m_info = std::move(p_info); }

    void PrintPages(const PrintJob& p_job) override;
    const std::optional<PrintJob>& LastJob() const { return m_lastJob; }
    int32_t JobCount() const { return m_lJobCount; }

  private:
    std::optional<PrinterInfo> m_info;
    std::optional<PrintJob> m_lastJob;
    int32_t m_lJobCount = 0;
};

// The system's clock in local time.
class SystemClock : public Clock {
  public:
    double Now() const override;
};

}  // namespace qv
