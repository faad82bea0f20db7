// The print options form: which rows to print (or, in quick-test mode, to test) and how many.
//
// Three options choose the rows: the selected ones (selection 1, the default), all of them
// (selection 0), or a number of rows from the current one (selection 2, with the spinner). The
// form also offers the column choice and the page setup, which it raises to its events for the
// viewer to carry out while the form stays open. In quick-test mode the captions speak of
// testing, "Test Top" is chosen, the spinner starts from the number last used (the
// "QuickTestDates" setting) and the page setup is hidden.
//
// Like the control's other forms it is a ModalDialog: the shell draws it, tests script it, and
// without a display it is dismissed, which counts as Cancel.
//
//     frmPrint form;
//     form.SetEvents(&handlers);
//     form.SetUpSelectColums();
//     PlatformContext::Current().Dialogs().ShowModal(form);
//     if (!form.Cancelled()) { Print(form.PrintSelection(), form.NumToPrint()); }
#pragma once

#include "outside/dialog_runner.h"

#include <cstdint>
#include <string>

namespace qv {

class frmPrintEvents {
  public:
    virtual ~frmPrintEvents() = default;
    virtual void SelectColumns() = 0;
    virtual void ShowPageSetup() = 0;
};

enum PrintSelectionKind : int16_t {
    psAllRows = 0,
    psSelectedRows = 1,
    psTopRows = 2,
};

class frmPrint : public ModalDialog {
  public:
    static constexpr const char* kCaption = "Print Options";
    static constexpr const char* kQuickTestCaption = "Quick Test";
    static constexpr int32_t kDefaultNumber = 10;
    // The spinner's range.
    static constexpr int32_t kMinimumNumber = 1;
    static constexpr int32_t kMaximumNumber = 32767;
    // Where quick-test mode keeps the number last chosen.
    static constexpr const char* kSettingsApp = "Olmaris60";
    static constexpr const char* kQuickTestSection = "QuickTestDates";
    static constexpr const char* kQuickTestKey = "Top";

    std::string DialogCaption() const override { return m_sCaption; }
    void DismissDialog() override { Cancel(); }
    void SetEvents(frmPrintEvents* p_oEvents) { m_oEvents = p_oEvents; }

    // Quick-test mode: the testing captions, "Test Top" chosen, the spinner from the setting,
    // the page-setup button hidden.
    void SetUpQuickTest();
    // The columns button is offered (a print that may change the printed columns)...
    void SetUpSelectColums();
    // ... or hidden (a print of rows a search chose, whose columns stay as shown).
    void HideColumnSelect();

    // The captions of the three options, in the order 1 (selected), 0 (all), 2 (top).
    const std::string& SelectedCaption() const { return m_sSelectedCaption; }
    const std::string& AllCaption() const { return m_sAllCaption; }
    const std::string& TopCaption() const { return m_sTopCaption; }
    bool QuickTestMode() const { return m_bQuickTest; }
    bool ColumnSelectVisible() const { return m_bColumnSelectVisible; }
    bool PageSetupVisible() const { return !m_bQuickTest; }
    // The spinner is enabled only with the "Top" option.
    bool SpinnerEnabled() const { return m_iSelection == psTopRows; }

    // Choosing an option. Values other than 0, 1 and 2 are ignored.
    void ChooseOption(int16_t p_iSelection);
    int32_t Spinner() const { return m_lSpinner; }
    // Clamped to the spinner's range.
    void SetSpinner(int32_t p_lValue);

    // The buttons. OK stores NumToPrint (the spinner, or 1 without the "Top" option) and, in
    // quick-test mode with "Test Top", saves the spinner to the setting.
    void OK();
    void Cancel() { m_bCancelled = true; }
    void SelectColumns();
    void PageSetup();

    int16_t PrintSelection() const { return m_iSelection; }
    int32_t NumToPrint() const { return m_lNumToPrint; }
    bool Cancelled() const { return m_bCancelled; }

  private:
    frmPrintEvents* m_oEvents = nullptr;
    std::string m_sCaption = kCaption;
    std::string m_sSelectedCaption = "Print Selected Items";
    std::string m_sAllCaption = "Print All Items";
    std::string m_sTopCaption = "Print Top";
    bool m_bQuickTest = false;
    bool m_bColumnSelectVisible = true;
    int16_t m_iSelection = psSelectedRows;
    int32_t m_lSpinner = kDefaultNumber;
    int32_t m_lNumToPrint = kDefaultNumber;
    bool m_bCancelled = true;
};

}  // namespace qv
