// The Find dialog (frmSearch) as a Qt dialog: the search type, the text, and, while the dialog is
// expanded, the names found with Display below them.
//
// The keyboard does it all: Alt+B the search type, Alt+F the text (what a key may not add never
// appears, and a paste is kept as typing would keep it), Tab reaches the list, where the arrows,
// Shift and Ctrl+Space choose names; Enter is Find, Alt+D Display and Escape Close. The view
// mirrors the logic after every change of it and closes when the logic closes: accepted after
// Display, rejected otherwise.
//
//     runner.RegisterViewFor<frmSearch>([](frmSearch& logic, QWidget* parent) {
//         return std::make_unique<FindDialogView>(logic, parent);
//     });
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qv {

class QtDialogRunner;
class frmSearch;

class FindDialogView : public QDialog {
  public:
    explicit FindDialogView(frmSearch& p_oLogic, QWidget* p_pParent = nullptr);
    ~FindDialogView() override;

    QComboBox& SearchTypeBox() const { return *m_pType; }
    QLineEdit& TextBox() const { return *m_pText; }
    QListWidget& ItemList() const { return *m_pItems; }
    QPushButton& FindButton() const { return *m_pFind; }
    QPushButton& DisplayButton() const { return *m_pDisplay; }

  private:
    void Sync();
    void SyncItems();
    void TextEdited(const QString& p_sText);
    void SelectionChanged();

    frmSearch& m_oLogic;
    QComboBox* m_pType = nullptr;
    QLineEdit* m_pText = nullptr;
    QListWidget* m_pItems = nullptr;
    QPushButton* m_pFind = nullptr;
    QPushButton* m_pClose = nullptr;
    QPushButton* m_pDisplay = nullptr;
    QWidget* m_pLower = nullptr;
    bool m_bSyncing = false;
};

// Shows frmSearch dialogs through p_oRunner.
void RegisterFindDialogView(QtDialogRunner& p_oRunner);

}  // namespace qv
