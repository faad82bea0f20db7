// The mouse pointer as Qt cursors: the hourglass (11) is the wait cursor, the arrow (1) the
// arrow, and the custom pointer (99) the control's own icon, by default a pointing hand, which
// the viewer shows over the column headers to say they sort.
//
// The pointer belongs to a target widget (the control), whose children show it unless they set
// their own. Without a target it is set for the whole application, and the default shape (0)
// gives the cursors back.
#pragma once

#include "outside/mouse_pointer.h"

#include <QCursor>
#include <QPointer>
#include <QWidget>

namespace qv {

class QtMousePointer : public MousePointer {
  public:
    explicit QtMousePointer(QWidget* p_pTarget = nullptr);
    ~QtMousePointer() override;
    QtMousePointer(const QtMousePointer&) = delete;
    QtMousePointer& operator=(const QtMousePointer&) = delete;

    // Moves the shape in force to p_pTarget.
    void SetTarget(QWidget* p_pTarget);
    void SetCustomCursor(const QCursor& p_cursor);

    void SetPointer(MousePointerShape p_eShape) override;
    MousePointerShape Pointer() const override { return m_eShape; }

  private:
    void Apply();
    void Clear();

    QPointer<QWidget> m_pTarget;
    MousePointerShape m_eShape = vbDefault;
    QCursor m_customCursor;
    bool m_bOverriding = false;
};

}  // namespace qv
