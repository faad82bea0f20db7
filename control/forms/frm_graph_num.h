// The several-graphs form: how many rows, from the current one on, to graph together.
//
// The form is a ModalDialog shown through the platform's dialog runner: the desktop shell draws
// it (a number box and the buttons "&Graph" and "Cancel"), tests script it, and without a display
// it is dismissed, which counts as Cancel.
//
//     frmGraphNum form;
//     form.Init(15);
//     PlatformContext::Current().Dialogs().ShowModal(form);
//     if (!form.Cancelled()) { Graph(form.Number()); }
#pragma once

#include "outside/dialog_runner.h"

#include <cstdint>
#include <string>

namespace qv {

class frmGraphNum : public ModalDialog {
  public:
    static constexpr const char* kCaption = "Multiple Graphs";
    static constexpr const char* kPrompt = "Please choose the number of items to graph.";
    static constexpr const char* kNumberCaption = "# of items.";
    static constexpr int32_t kMinimum = 1;
    static constexpr int32_t kMaximum = 100;
    // What an invalid entry is reset to.
    static constexpr int16_t kResetNumber = 15;

    std::string DialogCaption() const override { return kCaption; }
    void DismissDialog() override { Cancel(); }

    // Opens the form with p_iNumber in the box.
    void Init(int16_t p_iNumber);

    // The number box.
    int32_t Number() const { return m_lNumber; }
    void SetNumber(int32_t p_lNumber) { m_lNumber = p_lNumber; }

    // "&Graph": a number outside 1 to kMaximum is refused (the form stays open) with a message,
    // and the box is reset to kResetNumber and takes the focus; otherwise the form closes.
    bool Graph();
    void Cancel() { m_bGraphed = false; }
    // True unless the form was closed by "&Graph".
    bool Cancelled() const { return !m_bGraphed; }
    // Set when a refused number asks for the focus to go back to the box; the view takes it.
    bool TakeFocusRequest();

  private:
    int32_t m_lNumber = kResetNumber;
    bool m_bGraphed = false;
    bool m_bFocusRequest = false;
};

}  // namespace qv
