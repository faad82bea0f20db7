// Message boxes: a text, a set of buttons, an icon and a title; the answer is the button chosen.
// The constants are the automation runtime's, so that code reads as the runtime's MsgBox does.
#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

enum MsgBoxButtons : int32_t {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
};

enum MsgBoxIcon : int32_t {
    vbNoIcon = 0,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};

enum MsgBoxResult : int32_t {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// The answer of the first button, which is the default one: OK, Abort, Yes or Retry.
MsgBoxResult DefaultAnswer(MsgBoxButtons p_eButtons);

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    // Shows the message and returns when the user has chosen a button.
    virtual MsgBoxResult Show(std::string_view p_sText, MsgBoxButtons p_eButtons,
                              MsgBoxIcon p_eIcon, std::string_view p_sTitle) = 0;
};

}  // namespace qv
