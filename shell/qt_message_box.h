// Message boxes as Qt dialogs, with the runtime's buttons, icons and titles.
//
// The first button is the default one. Escape and the close box answer Cancel where the box has
// it, No on a Yes/No box, Abort on an Abort/Retry/Ignore box and OK on an OK box, so that every
// way of closing a box gives one of its own answers. An empty title shows the application's
// name, as the runtime shows its project's.
#pragma once

#include "outside/message_box.h"

#include <QPointer>
#include <QWidget>

namespace qv {

class QtMessageBox : public MessageBox {
  public:
    // The boxes are modal to p_pParent's window, or to the application without one.
    explicit QtMessageBox(QWidget* p_pParent = nullptr) : m_pParent(p_pParent) {}
    void SetParent(QWidget* p_pParent) { m_pParent = p_pParent; }

    MsgBoxResult Show(std::string_view p_sText, MsgBoxButtons p_eButtons, MsgBoxIcon p_eIcon,
                      std::string_view p_sTitle) override;

  private:
    QPointer<QWidget> m_pParent;
};

}  // namespace qv
