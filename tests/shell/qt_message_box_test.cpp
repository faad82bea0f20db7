#include "shell/qt_message_box.h"

#include "shell/modal_helper.h"
#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <string>
#include <tuple>

namespace qv::test {
namespace {

struct BoxSeen {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    QMessageBox::StandardButton Default = QMessageBox::NoButton;
};

// Shows a box and answers it by clicking p_eClick, or with Escape for NoButton.
MsgBoxResult ShowAndAnswer(QtMessageBox& p_oBox, MsgBoxButtons p_eButtons, MsgBoxIcon p_eIcon,
                           const std::string& p_sTitle, QMessageBox::StandardButton p_eClick,
                           BoxSeen& p_seen) {
    WhenModal([&](QWidget& window) {
        auto* box = qobject_cast<QMessageBox*>(&window);
        ASSERT_NE(box, nullptr);
        p_seen = BoxSeen{box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                         box->standardButton(box->defaultButton())};
        if (p_eClick == QMessageBox::NoButton) {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            box->button(p_eClick)->click();
        }
    });
    return p_oBox.Show("Delete the selected rows?", p_eButtons, p_eIcon, p_sTitle);
}

TEST(QtMessageBox, ShowsTheRuntimesButtonsIconsAndTitles) {
    Application();
    using B = QMessageBox;
    struct Case {
        MsgBoxButtons Buttons;
        MsgBoxIcon Icon;
        const char* Title;
        QMessageBox::StandardButton Click;  // NoButton: Escape
        QMessageBox::StandardButtons Shown;
        QMessageBox::StandardButton Default;
        QMessageBox::Icon ShownIcon;
        MsgBoxResult Answer;
    };
    const Case cases[] = {
        {vbOKOnly, vbNoIcon, "Export", B::NoButton, B::Ok, B::Ok, B::NoIcon, vbOK},
        {vbOKOnly, vbInformation, "", B::Ok, B::Ok, B::Ok, B::Information,
         vbOK},  // the application's name
        {vbYesNoCancel, vbQuestion, "Save Layout", B::NoButton, B::Yes | B::No | B::Cancel, B::Yes,
         B::Question, vbCancel},
        {vbAbortRetryIgnore, vbCritical, "Print", B::NoButton, B::Abort | B::Retry | B::Ignore,
         B::Abort, B::Critical, vbAbort},
        {vbRetryCancel, vbCritical, "Print", B::Retry, B::Retry | B::Cancel, B::Retry, B::Critical,
         vbRetry},
    };
    QtMessageBox messages;
    for (const Case& c : cases) {
        BoxSeen seen;
        SCOPED_TRACE(c.Buttons);
        EXPECT_EQ(ShowAndAnswer(messages, c.Buttons, c.Icon, c.Title, c.Click, seen), c.Answer);
        EXPECT_EQ(seen.Title.toStdString(), *c.Title == '\0' ? "Qorvant Viewer" : c.Title);
        EXPECT_EQ(seen.Text, QStringLiteral("Delete the selected rows?"));
        EXPECT_EQ(std::tuple(seen.Buttons, seen.Default, seen.Icon),
                  std::tuple(c.Shown, c.Default, c.ShownIcon));
    }
}

TEST(QtMessageBox, ABoxTakenAwayWithItsWindowAnswersAsEscapeDoes) {
    Application();
    auto* window = new QWidget;
    window->show();
    QtMessageBox messages(window);
    WhenModal([window](QWidget& box) {
        EXPECT_EQ(box.parentWidget(), window);
        delete window;
    });
    EXPECT_EQ(messages.Show("Delete?", vbYesNo, vbExclamation, "Delete Warning"), vbNo);
}

}  // namespace
}  // namespace qv::test
