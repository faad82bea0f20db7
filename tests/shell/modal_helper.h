// Acting as a person on the modal window a call is about to show: the action runs from the event
// loop of that window, once it is up.
#pragma once

#include <functional>

class QWidget;

namespace qv::test {

// The next modal window shown (a message box, a dialog) gets p_fnAction; it must close the
// window, or the call that showed it does not return.
void WhenModal(std::function<void(QWidget&)> p_fnAction);

}  // namespace qv::test
