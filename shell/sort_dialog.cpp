#include "shell/sort_dialog.h"

#include "outside/sort_dialog.h"
#include "shell/qt_dialog_runner.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

namespace {

// Ascending (id 0) and descending (id 1) as two radio buttons in a row.
QWidget* NewDirectionRow(QButtonGroup& p_oGroup, const QString& p_sAscending,
                         const QString& p_sDescending, int32_t p_lDirection, const QString& p_sName,
                         QWidget* p_pParent) {
    auto* row = new QWidget(p_pParent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* ascending = new QRadioButton(p_sAscending, row);
    auto* descending = new QRadioButton(p_sDescending, row);
    ascending->setObjectName(p_sName + QStringLiteral("Ascending"));
    descending->setObjectName(p_sName + QStringLiteral("Descending"));
    p_oGroup.addButton(ascending, 0);
    p_oGroup.addButton(descending, 1);
    (p_lDirection == 0 ? ascending : descending)->setChecked(true);
    layout->addWidget(ascending);
    layout->addWidget(descending);
    layout->addStretch();
    return row;
}

void SelectField(QComboBox& p_oCombo, int32_t p_lParameterId) {
    const int index = p_oCombo.findData(p_lParameterId);
    p_oCombo.setCurrentIndex(index >= 0 ? index : 0);
}

}  // namespace

SortDialogView::SortDialogView(SortSelection& p_oLogic, QWidget* p_pParent)
    : QDialog(p_pParent), m_oLogic(p_oLogic) {
    setWindowTitle(QString::fromStdString(p_oLogic.DialogCaption()));
    setObjectName(QStringLiteral("sortDialog"));
    m_pPrimary = new QComboBox(this);
    m_pSecondary = new QComboBox(this);
    m_pPrimary->setObjectName(QStringLiteral("primaryField"));
    m_pSecondary->setObjectName(QStringLiteral("secondaryField"));
    m_pSecondary->addItem(QStringLiteral("(none)"), kNoSortField);
    for (const SortFieldChoice& field : p_oLogic.Fields()) {
        const QString caption = QString::fromStdString(field.Caption);
        m_pPrimary->addItem(caption, field.ParameterId);
        m_pSecondary->addItem(caption, field.ParameterId);
    }
    SelectField(*m_pPrimary, p_oLogic.PrimaryId());
    SelectField(*m_pSecondary, p_oLogic.SecondaryId());

    m_pPrimaryDir = new QButtonGroup(this);
    m_pSecondaryDir = new QButtonGroup(this);
    auto* form = new QFormLayout;
    auto* primaryLabel = new QLabel(QStringLiteral("&Primary field:"), this);
    primaryLabel->setBuddy(m_pPrimary);
    form->addRow(primaryLabel, m_pPrimary);
    form->addRow(QString(), NewDirectionRow(*m_pPrimaryDir, QStringLiteral("&Ascending"),
                                            QStringLiteral("&Descending"), p_oLogic.PrimaryDir(),
                                            QStringLiteral("primary"), this));
    auto* secondaryLabel = new QLabel(QStringLiteral("&Secondary field:"), this);
    secondaryLabel->setBuddy(m_pSecondary);
    form->addRow(secondaryLabel, m_pSecondary);
    form->addRow(QString(), NewDirectionRow(*m_pSecondaryDir, QStringLiteral("As&cending"),
                                            QStringLiteral("D&escending"), p_oLogic.SecondaryDir(),
                                            QStringLiteral("secondary"), this));

    m_pRefusal = new QLabel(this);
    m_pRefusal->setObjectName(QStringLiteral("refusal"));
    m_pRefusal->setWordWrap(true);
    m_pRefusal->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SortDialogView::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_pRefusal);
    layout->addWidget(buttons);
    m_pPrimary->setFocus();
}

void SortDialogView::accept() {
    m_oLogic.SetPrimary(m_pPrimary->currentData().toInt(), m_pPrimaryDir->checkedId());
    m_oLogic.SetSecondary(m_pSecondary->currentData().toInt(), m_pSecondaryDir->checkedId());
    if (!m_oLogic.Confirm()) {
        m_pRefusal->setText(QStringLiteral("Choose a primary field from the list."));
        m_pRefusal->show();
        return;
    }
    QDialog::accept();
}

void RegisterSortDialogView(QtDialogRunner& p_oRunner) {
    p_oRunner.RegisterViewFor<SortSelection>([](SortSelection& logic, QWidget* parent) {
        return std::make_unique<SortDialogView>(logic, parent);
    });
}

}  // namespace qv
