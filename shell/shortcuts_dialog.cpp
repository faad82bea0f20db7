#include "shell/shortcuts_dialog.h"

#include "shell/window_keys.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qv {

namespace {

using Rows = std::vector<std::pair<QString, QString>>;

// A menu text as it reads: "&&" is an ampersand, a lone "&" marks the key that follows.
QString Plain(const QString& p_sText) {
    QString plain;
    for (qsizetype i = 0; i < p_sText.size(); ++i) {
        if (p_sText[i] == QLatin1Char('&') && ++i == p_sText.size()) {
            break;
        }
        plain += p_sText[i];
    }
    return plain;
}

void AddMenuRows(const QList<QAction*>& p_actions, const QString& p_sPath, Rows& p_rows) {
    for (const QAction* action : p_actions) {
        const QString path = p_sPath + Plain(action->text());
        if (action->menu() != nullptr) {
            AddMenuRows(action->menu()->actions(), path + QStringLiteral(" > "), p_rows);
        } else if (!action->shortcut().isEmpty()) {
            p_rows.emplace_back(action->shortcut().toString(QKeySequence::NativeText), path);
        }
    }
}

}  // namespace

Rows ShortcutRows(const QMenuBar& p_oMenus) {
    Rows rows;
    rows.emplace_back(QKeySequence(Qt::Key_F10).toString(QKeySequence::NativeText),
                      QStringLiteral("Open the menu bar"));
    AddMenuRows(p_oMenus.actions(), QString(), rows);
    for (const ListKey& key : ListKeys()) {
        rows.emplace_back(key.Sequence().toString(QKeySequence::NativeText),
                          QStringLiteral("In the list: ") + QString::fromUtf8(key.m_sCommand));
    }
    rows.emplace_back(QStringLiteral("Letters, digits"),
                      QStringLiteral("In the list: jump to the first row whose symbol or name "
                                     "starts with what is typed (a pause starts again)"));
    return rows;
}

QDialog* NewShortcutsDialog(const QMenuBar& p_oMenus, QWidget* p_pParent) {
    auto* dialog = new QDialog(p_pParent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Keyboard shortcuts"));
    const Rows rows = ShortcutRows(p_oMenus);
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 2, dialog);
    table->setObjectName(QStringLiteral("shortcuts"));
    table->setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("Command")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        table->setItem(row, 0, new QTableWidgetItem(rows[i].first));
        table->setItem(row, 1, new QTableWidgetItem(rows[i].second));
    }
    table->resizeColumnToContents(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(table);
    layout->addWidget(buttons);
    dialog->resize(560, 520);
    return dialog;
}

}  // namespace qv
