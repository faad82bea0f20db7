// Qt's keys, modifiers and mouse buttons as the grid control's events carry them: the runtime's
// key codes (65 "A", 46 Delete, 38 Up), shift states (1 Shift, 2 Ctrl, 4 Alt) and buttons
// (1 left, 2 right, 4 middle).
#pragma once

#include <Qt>

#include <cstdint>

namespace qv {

// Runtime key codes the shell acts on.
enum KeyCode : int16_t {
    vbKeyReturn = 13,
    vbKeyPageUp = 33,
    vbKeyPageDown = 34,
    vbKeyEnd = 35,
    vbKeyHome = 36,
    vbKeyLeft = 37,
    vbKeyUp = 38,
    vbKeyRight = 39,
    vbKeyDown = 40,
    vbKeyDelete = 46,
};

// The key code of a Qt key; 0 for a key that has none (a dead key, a media key).
int16_t KeyCodeOf(int p_iQtKey);
int16_t ShiftStateOf(Qt::KeyboardModifiers p_modifiers);
// One button, or the set held during a move.
int16_t MouseButtonsOf(Qt::MouseButtons p_buttons);

}  // namespace qv
