// The window's list of keyboard shortcuts: every shortcut of its menu bar, named by its menu path
// ("View > List > Stocks"), and every key of the list (window_keys.h), in one table.
#pragma once

#include <QString>

#include <utility>
#include <vector>

class QDialog;
class QMenuBar;
class QWidget;

namespace qv {

// Each key and what it does, the menus' keys first, in menu order.
std::vector<std::pair<QString, QString>> ShortcutRows(const QMenuBar& p_oMenus);

// A dialog without modality that shows ShortcutRows in a table; it deletes itself when closed.
QDialog* NewShortcutsDialog(const QMenuBar& p_oMenus, QWidget* p_pParent);

}  // namespace qv
