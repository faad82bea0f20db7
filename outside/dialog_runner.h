// Running a dialog modally.
//
// A dialog's logic (its fields, buttons and answers) implements ModalDialog; the runner shows it
// and returns once it is closed, after which the caller reads the dialog's answers. The desktop
// shell shows a window; without a display the dialog is dismissed at once, which every dialog
// treats as a cancel; tests script what the user does.
#pragma once

#include <string>

namespace qv {

class ModalDialog {
  public:
    virtual ~ModalDialog() = default;
    // The window caption ("Print Options"); runners and test scripts identify dialogs by it.
    virtual std::string DialogCaption() const = 0;
    // Closes the dialog as its window's close box does: the dialog counts as cancelled.
    virtual void DismissDialog() = 0;
};

class DialogRunner {
  public:
    virtual ~DialogRunner() = default;
    // Shows p_oDialog modally; returns when it is closed.
    virtual void ShowModal(ModalDialog& p_oDialog) = 0;
};

}  // namespace qv
