// The Layout menu as a person uses it: save the list's layout under a name, find it again in a
// window opened afresh, delete it and restore the default.
#include "shell/modal_helper.h"
#include "shell/window_fixture.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>

namespace qv::test {
namespace {

QMenu& LayoutMenu(MainWindow& p_oWindow) {
    for (QAction* action : p_oWindow.menuBar()->actions()) {
        if (action->text() == QStringLiteral("&Layout")) {
            emit action->menu()->aboutToShow();
            return *action->menu();
        }
    }
    throw std::logic_error("the window has no Layout menu");
}

QAction* Item(MainWindow& p_oWindow, const QString& p_sText) {
    for (QAction* action : LayoutMenu(p_oWindow).actions()) {
        if (action->text() == p_sText) {
            return action;
        }
    }
    return nullptr;
}

// The checked entries of the menu: the layout in use, and only it.
QStringList Checked(MainWindow& p_oWindow) {
    QStringList checked;
    for (QAction* action : LayoutMenu(p_oWindow).actions()) {
        if (action->isChecked()) {
            checked << action->text();
        }
    }
    return checked;
}

class WindowLayoutsTest : public WindowTest {};

TEST_F(WindowLayoutsTest, ASavedLayoutIsCheckedOutlivesTheWindowAndGoesWhenDeleted) {
    const QStringList system = Checked(m_window);
    ASSERT_EQ(system.size(), 1);

    WhenModal([](QWidget& p_oDialog) {
        auto& dialog = dynamic_cast<QInputDialog&>(p_oDialog);
        dialog.setTextValue(QStringLiteral("  Morning scan "));
        dialog.accept();
    });
    Item(m_window, QStringLiteral("Save layout &as…"))->trigger();
    EXPECT_EQ(Checked(m_window), QStringList{QStringLiteral("Morning scan")});
    EXPECT_EQ(m_window.LastMessage(), QStringLiteral("Layout in use: Morning scan"));
    EXPECT_GT(Primary().Columns()->Count(), 0);

    {
        MainWindow reopened{SharedMarket()};
        ASSERT_TRUE(reopened.ShowList(ViewerRequest{}));
        EXPECT_EQ(Checked(reopened), QStringList{QStringLiteral("Morning scan")});
    }

    m_oPlatform.Messages().QueueAnswer(vbYes);
    Item(m_window, QStringLiteral("&Delete layout"))->trigger();
    EXPECT_EQ(Checked(m_window), system);
    EXPECT_EQ(Item(m_window, QStringLiteral("Morning scan")), nullptr);

    // The system's layout is not the person's to delete: the control says so and keeps it.
    Item(m_window, QStringLiteral("&Delete layout"))->trigger();
    EXPECT_EQ(m_oPlatform.Messages().Shown().back().Text, "You may not delete the default layout.");
    Item(m_window, QStringLiteral("&Restore default layout"))->trigger();
    EXPECT_EQ(Checked(m_window), system);
}

}  // namespace
}  // namespace qv::test
