// The Qt faces of the print forms.
//
// PrintOptionsDialog is frmPrint ("Print Options", or "Quick Test" in quick-test mode): the
// three row choices with the form's captions, the number of rows beside the third (enabled only
// with it), OK (the default, Enter), Cancel (Escape), and the buttons the form offers: "Columns…"
// (the column choice, while the form shows it) and "Page Setup…", neither in quick-test mode. The
// two buttons run the viewer's handlers while the dialog stays open.
//
// PageSetupView is the grid control's PageSetupDialog as the platform's page setup dialog
// (QPageSetupDialog): paper, orientation and margins.
#pragma once

#include <QDialog>
#include <QPageSetupDialog>

#include <memory>

class QPrinter;
class QRadioButton;
class QSpinBox;

namespace qv {

class PageSetupDialog;
class QtDialogRunner;
class frmPrint;

class PrintOptionsDialog : public QDialog {
  public:
    PrintOptionsDialog(frmPrint& p_oLogic, QWidget* p_pParent = nullptr);

    void accept() override;

  private:
    void Choose(int16_t p_iSelection);

    frmPrint& m_oLogic;
    QRadioButton* m_pSelected = nullptr;
    QRadioButton* m_pAll = nullptr;
    QRadioButton* m_pTop = nullptr;
    QSpinBox* m_pNumber = nullptr;
};

// Holds the printer the page setup dialog edits, made before the dialog that points to it.
struct PageSetupPrinter {
    PageSetupPrinter();
    ~PageSetupPrinter();
    std::unique_ptr<QPrinter> m_pPrinter;
};

class PageSetupView : private PageSetupPrinter, public QPageSetupDialog {
  public:
    PageSetupView(PageSetupDialog& p_oLogic, QWidget* p_pParent = nullptr);

    void done(int p_iResult) override;

  private:
    PageSetupDialog& m_oLogic;
};

// Shows frmPrint and PageSetupDialog through p_oRunner.
void RegisterPrintViews(QtDialogRunner& p_oRunner);

}  // namespace qv
