// The sort dialog as a person uses it, offscreen and by keyboard alone.
#include "shell/sort_dialog.h"

#include "outside/sort_dialog.h"
#include "shell/modal_helper.h"
#include "shell/qt_dialog_runner.h"
#include "shell/test_application.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

namespace qv::test {
namespace {

SortSelection PriceVolumeAverage() {
    return SortSelection({{2, "Price"}, {16, "Volume"}, {13, "200 Day MA"}}, SortRequest{}, 2, 0,
                         kNoSortField, 0);
}

// Keys go to whatever has the focus, as they do for a person.
void Press(Qt::Key p_eKey, Qt::KeyboardModifiers p_modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), p_eKey, p_modifiers);
}

TEST(SortDialogView, KeysAloneChooseBothFieldsAndDirections) {
    Application();
    SortSelection logic = PriceVolumeAverage();
    QtDialogRunner runner;
    RegisterSortDialogView(runner);
    WhenModal([](QWidget& dialog) {
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
    ASSERT_TRUE(logic.Confirmed());
    EXPECT_EQ(logic.PrimaryId(), 16);
    EXPECT_EQ(logic.PrimaryDir(), 1);
    EXPECT_EQ(logic.SecondaryId(), 13);
    EXPECT_EQ(logic.SecondaryDir(), 0);
}

TEST(SortDialogView, EscapeCancelsAndAFieldNotOfferedIsRefused) {
    Application();
    SortSelection logic = PriceVolumeAverage();
    QtDialogRunner runner;
    RegisterSortDialogView(runner);
    WhenModal([](QWidget&) { Press(Qt::Key_Escape); });
    runner.ShowModal(logic);
    EXPECT_FALSE(logic.Confirmed());

    // A catalogue without the current field opens on its first one, which it offers.
    SortSelection unknown({{16, "Volume"}}, SortRequest{}, 99, 1, 99, 0);
    WhenModal([](QWidget& dialog) {
        auto* primary = dialog.findChild<QComboBox*>(QStringLiteral("primaryField"));
        auto* secondary = dialog.findChild<QComboBox*>(QStringLiteral("secondaryField"));
        EXPECT_EQ(primary->currentText(), QStringLiteral("Volume"));
        EXPECT_EQ(secondary->currentText(), QStringLiteral("(none)"));
        Press(Qt::Key_Return);
    });
    runner.ShowModal(unknown);
    EXPECT_TRUE(unknown.Confirmed());
    EXPECT_EQ(unknown.PrimaryId(), 16);
    EXPECT_EQ(unknown.SecondaryId(), kNoSortField);
}

}  // namespace
}  // namespace qv::test
