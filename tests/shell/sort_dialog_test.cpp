// The sort dialog as a person uses it, offscreen and by keyboard alone.
#include "shell/sort_dialog.h"

#include "outside/sort_dialog.h"
#include "shell/modal_helper.h"
#include "shell/qt_dialog_runner.h"
#include "shell/test_application.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <array>

namespace qv::test {
namespace {

TEST(SortDialogView, KeysAloneChooseBothFieldsAndDirections) {
    Application();
    SortSelection logic({{2, "Price"}, {16, "Volume"}, {13, "200 Day MA"}}, SortRequest{}, 2, 0,
                        kNoSortField, 0);
    QtDialogRunner runner;
    RegisterSortDialogView(runner);
    WhenModal([](QWidget& dialog) {
        // Keys go to whatever has the focus, as they do for a person.
        auto Press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        };
        dialog.activateWindow();
        QApplication::setActiveWindow(&dialog);
        Press(Qt::Key_Down);  // Volume
        Press(Qt::Key_D, Qt::AltModifier);
        QTest::qWait(200);  // a mnemonic clicks its button the way a mouse would, a moment later
        Press(Qt::Key_S, Qt::AltModifier);
        Press(Qt::Key_End);  // 200 Day MA
        Press(Qt::Key_Return);
    });
    runner.ShowModal(logic);
    EXPECT_TRUE(logic.Confirmed());
    EXPECT_EQ((std::array{logic.PrimaryId(), logic.PrimaryDir(), logic.SecondaryId(),
                          logic.SecondaryDir()}),
              (std::array{16, 1, 13, 0}));
}

}  // namespace
}  // namespace qv::test
