#include "shell/qt_dialog_runner.h"

#include <QString>

namespace qv {

void QtDialogRunner::ShowModal(ModalDialog& p_oDialog) {
    std::unique_ptr<QDialog> made;
    for (const ViewFactory& factory : m_factories) {
        made = factory(p_oDialog, m_pParent.data());
        if (made) {
            break;
        }
    }
    if (!made) {
        p_oDialog.DismissDialog();
        return;
    }
    if (made->windowTitle().isEmpty()) {
        made->setWindowTitle(QString::fromStdString(p_oDialog.DialogCaption()));
    }
    // Watched rather than owned while it runs: its parent may take it away inside exec().
    QPointer<QDialog> view = made.release();
    const int result = view->exec();
    delete view.data();
    if (result != QDialog::Accepted) {
        p_oDialog.DismissDialog();
    }
}

}  // namespace qv
