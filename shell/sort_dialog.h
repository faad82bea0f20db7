// The sort dialog ("Sort Selection") as a Qt dialog: the fields a list can be sorted by, a
// primary and an optional secondary key, each ascending or descending.
//
// Everything is reachable by keyboard: Alt+P and Alt+S pick the fields, Alt+A / Alt+D and
// Alt+C / Alt+E the directions, Enter confirms and Escape cancels. A choice the dialog refuses
// (a field it does not offer) keeps it open and says why.
//
//     runner.RegisterViewFor<SortSelection>([](SortSelection& logic, QWidget* parent) {
//         return std::make_unique<SortDialogView>(logic, parent);
//     });
#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;

namespace qv {

class QtDialogRunner;
class SortSelection;

class SortDialogView : public QDialog {
  public:
    SortDialogView(SortSelection& p_oLogic, QWidget* p_pParent = nullptr);

    void accept() override;

  private:
    SortSelection& m_oLogic;
    QComboBox* m_pPrimary = nullptr;
    QComboBox* m_pSecondary = nullptr;
    QButtonGroup* m_pPrimaryDir = nullptr;
    QButtonGroup* m_pSecondaryDir = nullptr;
    QLabel* m_pRefusal = nullptr;
};

// Shows SortSelection dialogs through p_oRunner.
void RegisterSortDialogView(QtDialogRunner& p_oRunner);

}  // namespace qv
