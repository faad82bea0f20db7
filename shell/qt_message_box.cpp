#include "shell/qt_message_box.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QString>

#include <utility>
#include <vector>

namespace qv {

namespace {

using Buttons = std::vector<std::pair<QMessageBox::StandardButton, MsgBoxResult>>;

// In the runtime's order, the default first.
Buttons ButtonsOf(MsgBoxButtons p_eButtons) {
    switch (p_eButtons) {
        case vbOKCancel:
            return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
        case vbAbortRetryIgnore:
            return {{QMessageBox::Abort, vbAbort},
                    {QMessageBox::Retry, vbRetry},
                    {QMessageBox::Ignore, vbIgnore}};
        case vbYesNoCancel:
            return {{QMessageBox::Yes, vbYes},
                    {QMessageBox::No, vbNo},
                    {QMessageBox::Cancel, vbCancel}};
        case vbYesNo:
            return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
        case vbRetryCancel:
            return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
        default:
            return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::StandardButton EscapeButton(MsgBoxButtons p_eButtons) {
    switch (p_eButtons) {
        case vbOKCancel:
        case vbYesNoCancel:
        case vbRetryCancel:
            return QMessageBox::Cancel;
        case vbYesNo:
            return QMessageBox::No;
        case vbAbortRetryIgnore:
            return QMessageBox::Abort;
        default:
            return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(MsgBoxIcon p_eIcon) {
    switch (p_eIcon) {
        case vbCritical:
            return QMessageBox::Critical;
        case vbQuestion:
            return QMessageBox::Question;
        case vbExclamation:
            return QMessageBox::Warning;
        case vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QString Utf8(std::string_view p_sText) {
    return QString::fromUtf8(p_sText.data(), static_cast<qsizetype>(p_sText.size()));
}

}  // namespace

MsgBoxResult QtMessageBox::Show(std::string_view p_sText, MsgBoxButtons p_eButtons,
                                MsgBoxIcon p_eIcon, std::string_view p_sTitle) {
    const Buttons buttons = ButtonsOf(p_eButtons);
    // On the heap and watched: the parent may go away while the box runs its own event loop.
    QPointer<QMessageBox> box = new QMessageBox(m_pParent.data());
    box->setWindowTitle(p_sTitle.empty() ? QGuiApplication::applicationDisplayName()
                                         : Utf8(p_sTitle));
    box->setText(Utf8(p_sText));
    box->setIcon(IconOf(p_eIcon));
    QMessageBox::StandardButtons standard;
    for (const auto& [button, answer] : buttons) {
        standard |= button;
    }
    box->setStandardButtons(standard);
    box->setDefaultButton(buttons.front().first);
    box->setEscapeButton(EscapeButton(p_eButtons));
    box->exec();
    const QMessageBox::StandardButton clicked =
        box ? box->standardButton(box->clickedButton()) : QMessageBox::NoButton;
    delete box.data();
    // A box closed without a button, or taken away with its window, answers as Escape does.
    const QMessageBox::StandardButton chosen =
        clicked == QMessageBox::NoButton ? EscapeButton(p_eButtons) : clicked;
    for (const auto& [button, answer] : buttons) {
        if (button == chosen) {
            return answer;
        }
    }
    return DefaultAnswer(p_eButtons);
}

}  // namespace qv
