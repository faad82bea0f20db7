#include "shell/graph_count_dialog.h"

#include "control/forms/frm_graph_num.h"
#include "shell/qt_dialog_runner.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qv {

namespace {

// The box takes more than the form allows, so that a number too large gets the form's message
// rather than being cut silently.
constexpr int kBoxLimit = 9999;

}  // namespace

GraphCountDialog::GraphCountDialog(frmGraphNum& p_oLogic, QWidget* p_pParent)
    : QDialog(p_pParent), m_oLogic(p_oLogic) {
    setWindowTitle(QString::fromUtf8(frmGraphNum::kCaption));
    setObjectName(QStringLiteral("graphCountDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(frmGraphNum::kPrompt), this));
    m_pNumber = new QSpinBox(this);
    m_pNumber->setObjectName(QStringLiteral("graphCount"));
    m_pNumber->setRange(frmGraphNum::kMinimum, kBoxLimit);
    m_pNumber->setValue(p_oLogic.Number());
    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8(frmGraphNum::kNumberCaption), m_pNumber);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* graph = buttons->addButton(QStringLiteral("&Graph"), QDialogButtonBox::AcceptRole);
    graph->setObjectName(QStringLiteral("graph"));
    graph->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_pNumber->selectAll();
    m_pNumber->setFocus();
}

void GraphCountDialog::accept() {
    m_oLogic.SetNumber(m_pNumber->value());
    if (m_oLogic.Graph()) {
        QDialog::accept();
        return;
    }
    m_pNumber->setValue(m_oLogic.Number());
    if (m_oLogic.TakeFocusRequest()) {
        m_pNumber->setFocus();
        m_pNumber->selectAll();
    }
}

void RegisterGraphCountView(QtDialogRunner& p_oRunner) {
    p_oRunner.RegisterViewFor<frmGraphNum>(
        [](frmGraphNum& p_oLogic, QWidget* p_pParent) -> std::unique_ptr<QDialog> {
            return std::make_unique<GraphCountDialog>(p_oLogic, p_pParent);
        });
}

}  // namespace qv
