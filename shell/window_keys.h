// The keys a person presses in the list (the grid with the focus), for the window's list of
// keyboard shortcuts; the window's own keys are the shortcuts of its menus. A command that is not
// built yet says so here, and pressing its key says so in the status bar.
#pragma once

#include <QKeySequence>

#include <span>

class QKeyEvent;

namespace qv {

struct ListKey {
    // As Qt writes it in portable text ("Ctrl+L").
    const char* m_sKeys = "";
    const char* m_sCommand = "";
    // A command rather than a move: it works wherever the focus is in the window.
    bool m_bCommand = false;

    QKeySequence Sequence() const;
};

std::span<const ListKey> ListKeys();

// True for a command key of the list, which the window passes on to the list when it reaches the
// window from another control (the day box, a scope box).
bool IsListCommandKey(const QKeyEvent& p_oEvent);

}  // namespace qv
