// Acting as a person on the modal window or menu a call is about to show: the action runs from
// the event loop of that window, once it is up.
#pragma once

#include <functional>

class QMenu;
class QString;
class QWidget;

namespace qv::test {

// The next modal window shown (a message box, a dialog) gets p_fnAction; it must close the
// window, or the call that showed it does not return.
void WhenModal(std::function<void(QWidget&)> p_fnAction);

// The next menu popped up gets p_fnAction; it must close the menu.
void WhenPopup(std::function<void(QMenu&)> p_fnAction);

// A person's click on the dialog's button of that caption (OK included), mnemonics aside.
void Click(QWidget& p_oDialog, const QString& p_sText);

}  // namespace qv::test
