// The list's context menu in the window: a right click on a row, the Menu key and Shift+F10 pop up
// the grid's menu as a QMenu, a choice shows its page address, and Enter is the double click.
#include "control/forms/frm_graph_num.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "shell/graph_count_dialog.h"
#include "shell/modal_helper.h"
#include "shell/qt_popup_menu.h"
#include "shell/view_probe.h"
#include "shell/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

#include <string>

namespace qv::test {
namespace {

QAction* ActionNamed(const QMenu& p_oMenu, const QString& p_sText) {
    for (QAction* action : p_oMenu.actions()) {
        if (action->text() == p_sText) {
            return action;
        }
    }
    return nullptr;
}

class WindowContextMenuTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        m_oPlatform.Context().SetMenus(std::make_unique<QtPopupMenuPresenter>());
    }

    QRect Cell(int32_t p_lRow) { return PrimaryView().CellRect(p_lRow, 0); }
    QString Status() const { return m_window.statusBar()->currentMessage(); }
};

TEST_F(WindowContextMenuTest, ARightClickOnARowOpensItsMenuAndAChoiceShowsThePage) {
    const QPoint point = Cell(2).center();
    QPoint shownAt;
    WhenPopup([&](QMenu& menu) {
        shownAt = menu.pos();
        menu.setActiveAction(ActionNamed(menu, QStringLiteral("View Stock Graph")));
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    SendMouse(PrimaryView().viewport(), QEvent::MouseButtonPress, point, Qt::RightButton,
              Qt::RightButton);
    SendMouse(PrimaryView().viewport(), QEvent::MouseButtonRelease, point, Qt::RightButton,
              Qt::NoButton);

    // At the pointer, give or take the pixel a style moves a menu by.
    EXPECT_LE((shownAt - PrimaryView().viewport()->mapToGlobal(point)).manhattanLength(), 2);
    EXPECT_EQ(Primary().Row(), 2);
    const auto row = Primary().DataSource()->Clone();
    row->SetBookmark(Primary().Bookmark());
    const std::string symbol = row->Value("Symbol").ToString();
    EXPECT_EQ(Status().toStdString(),
              "Page: pagecontroller.aspx?pagetype=10&iwp=0&symbol=" + symbol);
    EXPECT_EQ(m_window.EventLog().back(),
              "Navigate(pagecontroller.aspx?pagetype=10&iwp=0&symbol=" + symbol + ")");
}

TEST_F(WindowContextMenuTest, TheMenuKeyAndShiftF10OpenItAtTheCurrentRowAndEnterIsTheDoubleClick) {
    Primary().SetCurrentRow(3);
    PrimaryView().setFocus();
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers{}},
          std::pair{Qt::Key_F10, Qt::KeyboardModifiers{Qt::ShiftModifier}}}) {
        QPoint shownAt;
        WhenPopup([&](QMenu& menu) {
            shownAt = menu.pos();
            menu.close();
        });
        QTest::keyClick(&PrimaryView(), key, modifiers);
        const QRect cell = Cell(3);
        EXPECT_TRUE(cell.contains(PrimaryView().viewport()->mapFromGlobal(shownAt)))
            << "shown at " << shownAt.x() << "," << shownAt.y();
        EXPECT_EQ(Primary().Row(), 3);
    }
    m_window.statusBar()->clearMessage();
    QTest::keyClick(&PrimaryView(), Qt::Key_Return);
    EXPECT_TRUE(Status().startsWith(QStringLiteral("Stocks in industry group: industry group ")))
        << Status().toStdString();
}

TEST(GraphCountDialog, ANumberTheFormRefusesKeepsItOpenWithTheBoxReset) {
    Application();
    ScopedTestPlatform platform;
    frmGraphNum form;
    form.Init(15);
    GraphCountDialog dialog(form);
    auto* number = dialog.findChild<QSpinBox*>(QStringLiteral("graphCount"));
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->value(), 15);
    number->setValue(150);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(number->value(), frmGraphNum::kResetNumber);
    ASSERT_EQ(platform.Messages().Shown().size(), 1u);
    EXPECT_EQ(platform.Messages().Shown()[0].Title, "Invalid Entry");
    number->setValue(4);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(form.Cancelled());
    EXPECT_EQ(form.Number(), 4);
}

}  // namespace
}  // namespace qv::test
