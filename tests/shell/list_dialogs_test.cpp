// The dialogs that shape a list, as a person uses them, offscreen: the column chooser by buttons,
// by keys alone and by a drag, and from the window (Ctrl+L); the sort dialog by keys alone. The
// chooser's picture is left in the working folder (the build tree) for a person to look at.
#include "outside/column_selector.h"
#include "outside/sort_dialog.h"
#include "shell/column_chooser_dialog.h"
#include "shell/modal_helper.h"
#include "shell/qt_dialog_runner.h"
#include "shell/sort_dialog.h"
#include "shell/window_fixture.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>

#include <array>
#include <vector>

namespace qv::test {
namespace {

std::vector<int32_t> Ids(const std::vector<ColumnChoice>& p_fields) {
    std::vector<int32_t> ids;
    for (const ColumnChoice& field : p_fields) {
        ids.push_back(field.ParameterId);
    }
    return ids;
}

QStringList Texts(const QListWidget& p_oList) {
    QStringList texts;
    for (int row = 0; row < p_oList.count(); ++row) {
        texts << p_oList.item(row)->text();
    }
    return texts;
}

class ColumnChooserViewTest : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_view.show();
        QApplication::processEvents();
    }

    ColumnChooserDialog m_logic{{{1, "Price"}, {2, "Volume"}, {3, "Price Change"}, {4, "Sector"}},
                                {{1, "Price"}, {2, "Volume"}},
                                {{4, "Sector"}},
                                true};
    ColumnChooserView m_view{m_logic};
};

TEST_F(ColumnChooserViewTest, ButtonsFilterAndRestoreDefault) {
    m_view.grab().save(QStringLiteral("column_chooser.png"));
    EXPECT_EQ(Texts(m_view.OfferedList()), (QStringList{"Price Change", "Sector"}));
    QTest::keyClicks(&m_view.FilterBox(), QStringLiteral("CHANGE"));
    EXPECT_EQ(Texts(m_view.OfferedList()), QStringList{"Price Change"});
    Click(m_view, QStringLiteral("Add >"));
    Click(m_view, QStringLiteral("Move up"));
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{1, 3, 2}));
    EXPECT_FALSE(m_logic.UseDefault());

    Click(m_view, QStringLiteral("Restore default"));
    EXPECT_EQ(Texts(m_view.ShownList()), QStringList{"Sector"});
    EXPECT_TRUE(m_logic.UseDefault());
    Click(m_view, QStringLiteral("OK"));
    EXPECT_TRUE(m_logic.Accepted());
    EXPECT_EQ(m_view.result(), QDialog::Accepted);
}

TEST_F(ColumnChooserViewTest, KeyboardAlone) {
    // The offered list has the focus: Enter adds; in the chosen list Ctrl+Up moves, Delete removes.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{1, 2, 4}));
    m_view.ShownList().setFocus();
    QTest::keyClick(&m_view.ShownList(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{1, 4, 2}));
    QTest::keyClick(&m_view.ShownList(), Qt::Key_Delete);
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{1, 2}));
}

TEST_F(ColumnChooserViewTest, ADropIntoTheChosenListIsTheNewChoice) {
    // "Sector" dragged from the offered list and dropped on the top edge of the chosen list.
    QListWidget& offered = m_view.OfferedList();
    QListWidget& shown = m_view.ShownList();
    std::unique_ptr<QMimeData> data(offered.model()->mimeData({offered.model()->index(1, 0)}));
    const QPointF top(shown.visualItemRect(shown.item(0)).center().x(),
                      shown.visualItemRect(shown.item(0)).top() + 1);
    QDragEnterEvent enter(top.toPoint(), Qt::MoveAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(shown.viewport(), &enter);
    QDragMoveEvent move(top.toPoint(), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(shown.viewport(), &move);
    QDropEvent drop(top, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(shown.viewport(), &drop);
    QApplication::processEvents();
    EXPECT_EQ(Ids(m_logic.Chosen()), (std::vector<int32_t>{4, 1, 2}));
    EXPECT_EQ(Texts(offered), QStringList{"Price Change"});
}

// --- The sort dialog ---------------------------------------------------------------------------

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

// --- From the window -----------------------------------------------------------------------------

class ChooseColumnsWindowTest : public WindowTest {};

// What the chosen columns do to the list is the control's; here Ctrl+L reaches it and is answered.
TEST_F(ChooseColumnsWindowTest, CtrlLOpensTheChooserAndTheWindowSaysTheListFollows) {
    m_oPlatform.Dialogs().QueueScriptFor<ColumnChooserDialog>([](ColumnChooserDialog& logic) {
        ColumnChooserView view(logic);
        view.show();
        view.ShownList().setFocus();
        view.ShownList().setCurrentRow(view.ShownList().count() - 1);
        QTest::keyClick(&view.ShownList(), Qt::Key_Delete);
        Click(view, QStringLiteral("OK"));
    });
    PrimaryView().setFocus();
    QTest::keyClick(&PrimaryView(), Qt::Key_L, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(m_window.statusBar()->currentMessage().toStdString(),
              "The list shows the chosen columns");
}

}  // namespace
}  // namespace qv::test
