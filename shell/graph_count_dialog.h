// The several-graphs form (frmGraphNum) as a Qt dialog: a number box "# of items." under the
// question, and the buttons "&Graph" (the default, Enter) and "Cancel" (Escape). A number the
// form refuses keeps the dialog open, after the form's message, with the box reset and focused.
#pragma once

#include <QDialog>

class QSpinBox;

namespace qv {

class QtDialogRunner;
class frmGraphNum;

class GraphCountDialog : public QDialog {
  public:
    GraphCountDialog(frmGraphNum& p_oLogic, QWidget* p_pParent = nullptr);

    void accept() override;

  private:
    frmGraphNum& m_oLogic;
    QSpinBox* m_pNumber = nullptr;
};

// Shows frmGraphNum forms through p_oRunner.
void RegisterGraphCountView(QtDialogRunner& p_oRunner);

}  // namespace qv
