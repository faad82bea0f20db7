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

TEST(QtMessageBox, ShowsTheRuntimesButtonsIconsAndTitles) {
    Application();
    using B = QMessageBox;
    using Seen = std::tuple<B::StandardButtons, B::StandardButton, B::Icon>;
    struct Case {
        MsgBoxButtons Buttons;
        MsgBoxIcon Icon;
        const char* Title;        // shown, or the application's name when empty
        B::StandardButton Click;  // NoButton: Escape
        B::StandardButtons Shown;
        B::StandardButton Default;
        B::Icon ShownIcon;
        MsgBoxResult Answer;
    };
    const Case cases[] = {
        {vbOKOnly, vbInformation, "", B::Ok, B::Ok, B::Ok, B::Information, vbOK},
        {vbYesNoCancel, vbQuestion, "Save", B::NoButton, B::Yes | B::No | B::Cancel, B::Yes,
         B::Question, vbCancel},
        {vbAbortRetryIgnore, vbCritical, "Print", B::NoButton, B::Abort | B::Retry | B::Ignore,
         B::Abort, B::Critical, vbAbort},
        {vbRetryCancel, vbCritical, "Print", B::Retry, B::Retry | B::Cancel, B::Retry, B::Critical,
         vbRetry},
    };
    QtMessageBox messages;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Buttons);
        Seen seen;
        QString title;
        WhenModal([&](QWidget& window) {
            auto* box = qobject_cast<QMessageBox*>(&window);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), QStringLiteral("Delete the selected rows?"));
            title = box->windowTitle();
            seen = {box->standardButtons(), box->standardButton(box->defaultButton()), box->icon()};
            if (c.Click == B::NoButton) {
                QTest::keyClick(box, Qt::Key_Escape);
            } else {
                box->button(c.Click)->click();
            }
        });
        EXPECT_EQ(messages.Show("Delete the selected rows?", c.Buttons, c.Icon, c.Title), c.Answer);
        EXPECT_EQ(title.toStdString(), *c.Title == '\0' ? "Qorvant Viewer" : c.Title);
        EXPECT_EQ(seen, Seen(c.Shown, c.Default, c.ShownIcon));
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
