#include "shell/panel_parts.h"

#include "outside/vb_date.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>

#include <cmath>
#include <limits>

namespace qv {

QDate QDateOfSerial(double p_dSerial) {
    const DateParts parts = SplitDate(std::floor(p_dSerial));
    return QDate(parts.Year, parts.Month, parts.Day);
}

double SerialOfQDate(const QDate& p_date) {
    return DateSerial(p_date.year(), p_date.month(), p_date.day());
}

QToolButton* NewCloseButton(QWidget* p_pParent, std::function<void()> p_fnClicked) {
    auto* button = new QToolButton(p_pParent);
    button->setObjectName(QStringLiteral("closePanel"));
    button->setText(QStringLiteral("✕"));
    button->setToolTip(QStringLiteral("Close this panel"));
    button->setAccessibleName(QStringLiteral("Close panel"));
    button->setAutoRaise(true);
    QObject::connect(button, &QToolButton::clicked, button,
                     [fn = std::move(p_fnClicked)] { fn(); });
    return button;
}

ElidedLabel::ElidedLabel(QWidget* p_pParent) : QLabel(p_pParent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void ElidedLabel::SetFullText(const QString& p_sText) {
    m_sFullText = p_sText;
    setToolTip(p_sText);
    updateGeometry();
    Elide();
}

QSize ElidedLabel::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")) * 3,
            QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
    return {fontMetrics().horizontalAdvance(m_sFullText) + 4, QLabel::sizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* p_pEvent) {
    QLabel::resizeEvent(p_pEvent);
    Elide();
}

void ElidedLabel::Elide() {
    setText(fontMetrics().elidedText(m_sFullText, Qt::ElideRight, width()));
}

RowLimitsEditor::RowLimitsEditor(const QString& p_sAllCaption, QWidget* p_pParent)
    : QWidget(p_pParent) {
    m_pRows = new QSpinBox(this);
    m_pRows->setObjectName(QStringLiteral("maxRows"));
    m_pRows->setRange(1, std::numeric_limits<int32_t>::max());
    m_pRows->setAccessibleName(QStringLiteral("Maximum rows"));
    m_pAll = new QCheckBox(p_sAllCaption, this);
    m_pAll->setObjectName(QStringLiteral("returnAll"));
    auto* label = new QLabel(QStringLiteral("&Rows:"), this);
    label->setBuddy(m_pRows);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(m_pRows);
    layout->addWidget(m_pAll);

    connect(m_pRows, &QSpinBox::editingFinished, this, [this] { Changed(); });
    connect(m_pAll, &QCheckBox::clicked, this, [this] {
        m_pRows->setEnabled(!m_pAll->isChecked());
        Changed();
    });
}

void RowLimitsEditor::Show(int32_t p_lMaxRows, bool p_bReturnAll) {
    m_pRows->setValue(p_lMaxRows);
    m_pAll->setChecked(p_bReturnAll);
    m_pRows->setEnabled(!p_bReturnAll);
    m_lToldRows = MaxRows();
    m_bToldAll = p_bReturnAll;
}

int32_t RowLimitsEditor::MaxRows() const {
    return m_pRows->value();
}

bool RowLimitsEditor::ReturnAll() const {
    return m_pAll->isChecked();
}

void RowLimitsEditor::Changed() {
    // Leaving the box unchanged is no change: the list is not fetched again for it.
    if (MaxRows() == m_lToldRows && ReturnAll() == m_bToldAll) {
        return;
    }
    m_lToldRows = MaxRows();
    m_bToldAll = ReturnAll();
    if (m_fnChanged) {
        m_fnChanged(m_lToldRows, m_bToldAll);
    }
}

}  // namespace qv
