// Finding rows from the window, offscreen: the Find dialog by keys alone after Ctrl+F, the Edit
// menu's entry, and type-to-jump in the list. The dialog's pictures, collapsed for a symbol and
// expanded with names found, are left in the working folder (the build tree) for a person to look
// at.
#include "shell/window_find.h"
#include "control/forms/frm_search.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "shell/find_dialog.h"
#include "shell/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTest>

namespace qv::test {
namespace {

class FindWindowTest : public WindowTest {
  protected:
    std::string SymbolAt(int32_t p_lRow) {
        const std::shared_ptr<Recordset>& rows = Primary().DataSource();
        return rows->ValueAt(rows->ViewRowId(p_lRow), rows->Fields().IndexOf("Symbol")).ToString();
    }
    // A row whose symbol starts no symbol of an earlier row, so that typing it lands there.
    int32_t RowTypedToByItsSymbol(int32_t p_lFrom) {
        for (int32_t row = p_lFrom;; ++row) {
            const std::string symbol = SymbolAt(row);
            bool earlier = false;
            for (int32_t before = 0; before < row && !earlier; ++before) {
                earlier = SymbolAt(before).rfind(symbol, 0) == 0;
            }
            if (!earlier) {
                return row;
            }
        }
    }
};

TEST_F(FindWindowTest, CtrlFOpensFindWhichWorksByKeysAlone) {
    const int32_t target = RowTypedToByItsSymbol(5);
    const std::string symbol = SymbolAt(target);
    bool ran = false;
    m_oPlatform.Dialogs().QueueScriptFor<frmSearch>([&](frmSearch& logic) {
        ran = true;
        FindDialogView view(logic);
        view.show();
        view.activateWindow();
        QApplication::setActiveWindow(&view);
        EXPECT_EQ(QApplication::focusWidget(), &view.TextBox());
        EXPECT_FALSE(view.ItemList().isVisible());  // a symbol search: collapsed
        view.grab().save(QStringLiteral("find_dialog_symbol.png"));

        // Company names: the list opens below, Enter fills it, Tab reaches it.
        view.SearchTypeBox().setFocus();
        QTest::keyClick(&view.SearchTypeBox(), Qt::Key_Down);
        EXPECT_EQ(view.SearchTypeBox().currentText(), "Company Name");
        view.TextBox().setFocus();
        QTest::keyClicks(&view.TextBox(), QStringLiteral("a"));
        QTest::keyClick(&view.TextBox(), Qt::Key_Return);
        EXPECT_TRUE(view.ItemList().isVisible());
        EXPECT_GT(view.ItemList().count(), 0);
        view.grab().save(QStringLiteral("find_dialog.png"));
        QTest::keyClick(&view.TextBox(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), &view.ItemList());

        // Back to symbols: a blank never gets in, letters become capitals, Enter finds and closes.
        view.SearchTypeBox().setFocus();
        QTest::keyClick(&view.SearchTypeBox(), Qt::Key_Up);
        view.TextBox().setFocus();
        QTest::keyClicks(&view.TextBox(), QStringLiteral("x y'"));
        EXPECT_EQ(view.TextBox().text(), "XY");
        view.TextBox().clear();
        QTest::keyClicks(&view.TextBox(), QString::fromStdString(ToLowerAscii(symbol)));
        QTest::keyClick(&view.TextBox(), Qt::Key_Return);
        EXPECT_TRUE(logic.Closed());
        EXPECT_FALSE(view.isVisible());
    });
    PrimaryView().setFocus();
    QTest::keyClick(&PrimaryView(), Qt::Key_F, Qt::ControlModifier);
    QTest::qWait(20);  // Find runs once the control's event is over
    EXPECT_TRUE(ran);
    EXPECT_EQ(Primary().Row(), target);
    EXPECT_EQ(Primary().SelBookmarks()->Count(), 1);

    // The Edit menu's entry takes the same way; Escape closes the dialog and changes nothing.
    m_oPlatform.Dialogs().QueueScriptFor<frmSearch>([](frmSearch& logic) {
        FindDialogView view(logic);
        view.show();
        QTest::keyClick(&view.TextBox(), Qt::Key_Escape);
        EXPECT_FALSE(view.isVisible());
    });
    auto* find = m_window.menuBar()->findChild<QAction*>(QStringLiteral("findAction"));
    ASSERT_NE(find, nullptr);
    find->trigger();
    QTest::qWait(20);
    EXPECT_EQ(m_oPlatform.Dialogs().Shown(), (std::vector<std::string>{"Find", "Find"}));
    EXPECT_EQ(Primary().Row(), target);
}

TEST_F(FindWindowTest, TypingInTheListJumpsToTheFirstKeyStartingWithIt) {
    const int32_t target = RowTypedToByItsSymbol(7);
    const std::string symbol = SymbolAt(target);
    PrimaryView().setFocus();
    QTest::keyClicks(&PrimaryView(), QString::fromStdString(ToLowerAscii(symbol)));
    EXPECT_EQ(Primary().Row(), target);
    EXPECT_EQ(Primary().SelBookmarks()->Count(), 1);

    // A prefix no symbol has leaves the row; after a pause typing starts afresh.
    QTest::keyClicks(&PrimaryView(), QStringLiteral("~~"));
    EXPECT_EQ(Primary().Row(), target);
    QTest::qWait(TypeToJump::kPauseMs + 100);
    QTest::keyClicks(&PrimaryView(), QString::fromStdString(SymbolAt(0).substr(0, 1)));
    EXPECT_EQ(Primary().Row(), 0);
}

}  // namespace
}  // namespace qv::test
