#include "shell/qt_date_selector.h"

#include "outside/vb_date.h"

#include <QDate>
#include <QDateEdit>

namespace qv {

QtDateSelector::QtDateSelector() : m_pEditor(std::make_unique<QDateEdit>()) {
    // The days a serial can name.
    m_pEditor->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    m_pEditor->setDisplayFormat(QStringLiteral("M/d/yyyy"));
    m_pEditor->setCalendarPopup(true);
    StoreValue(Today());
}

QtDateSelector::~QtDateSelector() = default;

double QtDateSelector::Value() const {
    const QDate date = m_pEditor->date();
    return DateSerial(date.year(), date.month(), date.day());
}

bool QtDateSelector::Visible() const {
    return m_pEditor->isVisible();
}

void QtDateSelector::SetVisible(bool p_bVisible) {
    m_pEditor->setVisible(p_bVisible);
}

void QtDateSelector::StoreValue(double p_dDay) {
    const DateParts parts = SplitDate(p_dDay);
    m_pEditor->setDate(QDate(parts.Year, parts.Month, parts.Day));
}

}  // namespace qv
