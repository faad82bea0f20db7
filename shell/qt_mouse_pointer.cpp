#include "shell/qt_mouse_pointer.h"

#include <QGuiApplication>

namespace qv {

QtMousePointer::QtMousePointer(QWidget* p_pTarget)
    : m_pTarget(p_pTarget), m_customCursor(Qt::PointingHandCursor) {}

QtMousePointer::~QtMousePointer() {
    Clear();
}

void QtMousePointer::SetTarget(QWidget* p_pTarget) {
    Clear();
    m_pTarget = p_pTarget;
    Apply();
}

void QtMousePointer::SetCustomCursor(const QCursor& p_cursor) {
    m_customCursor = p_cursor;
    Apply();
}

void QtMousePointer::SetPointer(MousePointerShape p_eShape) {
    if (p_eShape == m_eShape) {
        return;
    }
    m_eShape = p_eShape;
    Apply();
}

void QtMousePointer::Clear() {
    if (m_pTarget) {
        m_pTarget->unsetCursor();
    }
    if (m_bOverriding) {
        QGuiApplication::restoreOverrideCursor();
        m_bOverriding = false;
    }
}

void QtMousePointer::Apply() {
    QCursor cursor;
    switch (m_eShape) {
        case vbHourglass:
            cursor = QCursor(Qt::WaitCursor);
            break;
        case vbCustom:
            cursor = m_customCursor;
            break;
        case vbArrow:
            cursor = QCursor(Qt::ArrowCursor);
            break;
        default:
            Clear();
            return;
    }
    if (m_pTarget) {
        m_pTarget->setCursor(cursor);
        return;
    }
    // The application's override cursors stack: this pointer keeps at most one on it.
    if (m_bOverriding) {
        QGuiApplication::changeOverrideCursor(cursor);
        return;
    }
    QGuiApplication::setOverrideCursor(cursor);
    m_bOverriding = true;
}

}  // namespace qv
