#include "shell/key_codes.h"

#include "outside/grid_control_events.h"

#include <array>
#include <utility>

namespace qv {

namespace {

// Keys whose code is not their Qt value or a simple offset of it.
constexpr std::array<std::pair<int, int16_t>, 22> kNamedKeys = {{
    {Qt::Key_Backspace, 8},        {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},          {Qt::Key_Return, vbKeyReturn},
    {Qt::Key_Enter, vbKeyReturn},  {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},         {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},           {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},          {Qt::Key_Space, 32},
    {Qt::Key_PageUp, vbKeyPageUp}, {Qt::Key_PageDown, vbKeyPageDown},
    {Qt::Key_End, vbKeyEnd},       {Qt::Key_Home, vbKeyHome},
    {Qt::Key_Left, vbKeyLeft},     {Qt::Key_Up, vbKeyUp},
    {Qt::Key_Right, vbKeyRight},   {Qt::Key_Down, vbKeyDown},
    {Qt::Key_Insert, 45},          {Qt::Key_Delete, vbKeyDelete},
}};

constexpr int16_t kKeyF1 = 112;

}  // namespace

int16_t KeyCodeOf(int p_iQtKey) {
    // Letters and digits carry their ASCII capitals in both.
    if ((p_iQtKey >= Qt::Key_A && p_iQtKey <= Qt::Key_Z) ||
        (p_iQtKey >= Qt::Key_0 && p_iQtKey <= Qt::Key_9)) {
        return static_cast<int16_t>(p_iQtKey);
    }
    if (p_iQtKey >= Qt::Key_F1 && p_iQtKey <= Qt::Key_F16) {
        return static_cast<int16_t>(kKeyF1 + (p_iQtKey - Qt::Key_F1));
    }
    for (const auto& [key, code] : kNamedKeys) {
        if (key == p_iQtKey) {
            return code;
        }
    }
    return 0;
}

int16_t ShiftStateOf(Qt::KeyboardModifiers p_modifiers) {
    int16_t shift = 0;
    if (p_modifiers.testFlag(Qt::ShiftModifier)) {
        shift |= gssShift;
    }
    if (p_modifiers.testFlag(Qt::ControlModifier)) {
        shift |= gssCtrl;
    }
    if (p_modifiers.testFlag(Qt::AltModifier)) {
        shift |= gssAlt;
    }
    return shift;
}

int16_t MouseButtonsOf(Qt::MouseButtons p_buttons) {
    int16_t buttons = 0;
    if (p_buttons.testFlag(Qt::LeftButton)) {
        buttons |= gmbLeft;
    }
    if (p_buttons.testFlag(Qt::RightButton)) {
        buttons |= gmbRight;
    }
    if (p_buttons.testFlag(Qt::MiddleButton)) {
        buttons |= gmbMiddle;
    }
    return buttons;
}

}  // namespace qv
