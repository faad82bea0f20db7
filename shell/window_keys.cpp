#include "shell/window_keys.h"

#include "shell/host_frame.h"
#include "shell/key_codes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <array>
#include <string_view>

namespace qv {

namespace {

constexpr std::array<ListKey, 22> kListKeys = {{
    {"Up", "The row above"},
    {"Down", "The row below"},
    {"PgUp", "A page up"},
    {"PgDown", "A page down"},
    {"Ctrl+Home", "The first row"},
    {"Ctrl+End", "The last row"},
    {"Left", "Scroll the columns to the left"},
    {"Right", "Scroll the columns to the right"},
    {"Menu", "The context menu of the current row"},
    {"Shift+F10", "The context menu of the current row"},
    {"Return", "Open the page of the current row, as a double click does"},
    {"Del", "Remove the selected rows from the watch list shown"},
    {"Ctrl+A", "The stock page of the current row on the list's day", true},
    {"Ctrl+D", "The details page of the current row", true},
    {"Ctrl+E", "Sort the list by one or two fields", true},
    {"Ctrl+F", "Find in the list", true},
    {"Ctrl+G", "The graph of the selected rows", true},
    {"Ctrl+H", "The history of the current row", true},
    {"Ctrl+L", "Choose the fields shown", true},
    {"Ctrl+P", "Print the list", true},
    {"Ctrl+Q", "Quick test of the selected rows", true},
    {"Ctrl+W", "Add the selected rows to a watch list", true},
}};

constexpr std::string_view kMasterLetters = "ADEFGHLPQW";

}  // namespace

QKeySequence ListKey::Sequence() const {
    return QKeySequence(QString::fromLatin1(m_sKeys), QKeySequence::PortableText);
}

std::span<const ListKey> ListKeys() {
    return kListKeys;
}

bool IsMasterKey(const QKeyEvent& p_oEvent) {
    const Qt::KeyboardModifiers held = p_oEvent.modifiers() & ~Qt::KeypadModifier;
    const int key = p_oEvent.key();
    return held == Qt::ControlModifier && key >= Qt::Key_A && key <= Qt::Key_Z &&
           kMasterLetters.find(static_cast<char>('A' + (key - Qt::Key_A))) !=
               std::string_view::npos;
}

void PressListKey(QWidget& p_oList, Qt::Key p_eKey) {
    QKeyEvent press(QEvent::KeyPress, p_eKey, Qt::ControlModifier);
    QApplication::sendEvent(&p_oList, &press);
    QKeyEvent release(QEvent::KeyRelease, p_eKey, Qt::ControlModifier);
    QApplication::sendEvent(&p_oList, &release);
}

void MasterKeys::Watch(QWidget& p_oWidget) {
    p_oWidget.installEventFilter(this);
}

bool MasterKeys::Release(const QKeyEvent& p_oEvent) {
    if (!IsMasterKey(p_oEvent)) {
        return false;
    }
    if (!p_oEvent.isAutoRepeat()) {
        m_oFrame.KeyReleased(KeyCodeOf(p_oEvent.key()), ShiftStateOf(p_oEvent.modifiers()));
    }
    return true;
}

bool MasterKeys::eventFilter(QObject* /*p_pWatched*/, QEvent* p_pEvent) {
    const QEvent::Type type = p_pEvent->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress &&
        type != QEvent::KeyRelease) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(p_pEvent);
    if (!IsMasterKey(*key)) {
        return false;
    }
    if (type == QEvent::ShortcutOverride) {
        key->accept();
        return true;
    }
    return type == QEvent::KeyPress || Release(*key);
}

}  // namespace qv
