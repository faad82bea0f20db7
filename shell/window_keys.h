// The keys a person presses in the list (the grid with the focus), for the window's list of
// keyboard shortcuts; the window's own keys are the shortcuts of its menus. A command that is not
// built yet says so here, and pressing its key says so in the status bar.
//
// The Ctrl+letter commands of the list (A, D, E, F, G, H, L, P, Q, W) are the host framework's:
// released in the list (MasterKeys), or pressed in another control of the window, they go to the
// control master's KeyReleased; their press does not reach the grid, so that the control does not
// run the same command a second time, and a window shortcut on the same key waits while the list
// has the focus. Every other key reaches the grid as before.
#pragma once

#include <QKeySequence>
#include <QObject>

#include <span>

class QKeyEvent;
class QWidget;

namespace qv {

class HostFrame;

struct ListKey {
    // As Qt writes it in portable text ("Ctrl+L").
    const char* m_sKeys = "";
    const char* m_sCommand = "";
    // A command rather than a move: it works wherever the focus is in the window.
    bool m_bCommand = false;

    QKeySequence Sequence() const;
};

std::span<const ListKey> ListKeys();

// True for a Ctrl+letter command the control master knows.
bool IsMasterKey(const QKeyEvent& p_oEvent);
// Presses and releases Ctrl+p_eKey in p_oList, as a person does: an entry of a menu that names a
// list key takes the key's one way to the control.
void PressListKey(QWidget& p_oList, Qt::Key p_eKey);

// Sends the master keys released in the widgets it watches to the frame.
class MasterKeys : public QObject {
  public:
    MasterKeys(HostFrame& p_oFrame, QObject* p_pParent) : QObject(p_pParent), m_oFrame(p_oFrame) {}

    void Watch(QWidget& p_oWidget);
    // The key of a released master key goes to the frame; false for any other key.
    bool Release(const QKeyEvent& p_oEvent);

  protected:
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override;

  private:
    HostFrame& m_oFrame;
};

}  // namespace qv
