#include "shell/window_keys.h"

#include <QKeyEvent>

#include <array>

namespace qv {

namespace {

constexpr std::array<ListKey, 16> kListKeys = {{
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
    {"Ctrl+F", "Find in the list", true},
    {"Ctrl+L", "Choose the fields shown", true},
    {"Ctrl+P", "Print the selected rows", true},
    {"Ctrl+Q", "Quick test of the selected rows", true},
}};

}  // namespace

QKeySequence ListKey::Sequence() const {
    return QKeySequence(QString::fromLatin1(m_sKeys), QKeySequence::PortableText);
}

std::span<const ListKey> ListKeys() {
    return kListKeys;
}

bool IsListCommandKey(const QKeyEvent& p_oEvent) {
    const QKeySequence pressed(p_oEvent.keyCombination());
    for (const ListKey& key : kListKeys) {
        if (key.m_bCommand && key.Sequence() == pressed) {
            return true;
        }
    }
    return false;
}

}  // namespace qv
