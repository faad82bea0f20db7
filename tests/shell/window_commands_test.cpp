// Nothing a person can press in the main window is silent: every menu action is disabled or
// handled, and each kind of action and key does something a person sees.
#include "shell/modal_helper.h"
#include "shell/shortcuts_dialog.h"
#include "shell/window_fixture.h"
#include "shell/window_keys.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <set>
#include <vector>

namespace qv::test {
namespace {

std::vector<QAction*> MenuActions(const QList<QAction*>& p_actions) {
    std::vector<QAction*> found;
    for (QAction* action : p_actions) {
        if (action->menu() != nullptr) {
            const auto inner = MenuActions(action->menu()->actions());
            found.insert(found.end(), inner.begin(), inner.end());
        } else if (!action->isSeparator()) {
            found.push_back(action);
        }
    }
    return found;
}

// QObject::receivers is protected: a pointer to it taken here may be applied to any action.
struct Receivers : QAction {
    static int Of(const QAction& p_oAction) {
        return (p_oAction.*&Receivers::receivers)(SIGNAL(triggered(bool)));
    }
};

class WindowCommandsTest : public WindowTest {
  protected:
    QAction& Action(const QString& p_sText) {
        const auto actions = MenuActions(m_window.menuBar()->actions());
        const auto found = std::find_if(
            actions.begin(), actions.end(),
            [&](const QAction* p_pAction) { return p_pAction->text().startsWith(p_sText); });
        EXPECT_NE(found, actions.end()) << p_sText.toStdString();
        return **found;
    }
    QString Trigger(const QString& p_sText) {
        m_window.statusBar()->clearMessage();
        Action(p_sText).trigger();
        QApplication::processEvents();
        return m_window.statusBar()->currentMessage();
    }
    void Press(QWidget& p_oWidget, const char* p_sKeys) {
        p_oWidget.setFocus();
        m_window.statusBar()->clearMessage();
        const QKeyCombination key = QKeySequence(QString::fromLatin1(p_sKeys))[0];
        QTest::keyClick(&p_oWidget, key.key(), key.keyboardModifiers());
        QApplication::processEvents();
    }
};

TEST_F(WindowCommandsTest, EveryMenuActionIsDisabledOrHandled) {
    // A bare action in a menu has the menu's own receivers only.
    QMenu menu;
    const int bare = Receivers::Of(*menu.addAction(QStringLiteral("bare")));
    const auto actions = MenuActions(m_window.menuBar()->actions());
    ASSERT_GT(actions.size(), 20u);
    for (const QAction* action : actions) {
        EXPECT_TRUE(!action->isEnabled() || Receivers::Of(*action) > bare)
            << action->text().toStdString();
    }
}

TEST_F(WindowCommandsTest, EachKindOfMenuActionIsSeenToDoSomething) {
    EXPECT_EQ(Trigger(QStringLiteral("&Next trading day")).toStdString(),
              "The list shows the last trading day of the market");
    Trigger(QStringLiteral("&Previous trading day"));
    EXPECT_LT(m_window.Host().Request().m_lDate, kMarketLastDay);
    Trigger(QStringLiteral("&Latest trading day"));
    EXPECT_EQ(m_window.Host().Request().m_lDate, kMarketLastDay);
    Trigger(QStringLiteral("&Choose a day"));
    EXPECT_EQ(QApplication::focusWidget(), m_window.findChild<QDateEdit*>(QStringLiteral("day")));
    const auto choices = MenuActions(m_window.menuBar()->actions());
    const auto history = std::find_if(choices.begin(), choices.end(), [](const QAction* p_pAction) {
        return p_pAction->isCheckable() && p_pAction->data().toInt() == vt_StockHistory;
    });
    ASSERT_NE(history, choices.end());
    (*history)->trigger();
    EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_StockHistory);

    Trigger(QStringLiteral("&Keyboard shortcuts"));
    EXPECT_EQ(m_window.findChildren<QDialog*>().size(), 1);
    bool about = false;
    WhenModal([&about](QWidget& p_oModal) {
        about = true;
        p_oModal.close();
    });
    Trigger(QStringLiteral("&About"));
    EXPECT_TRUE(about);
    Trigger(QStringLiteral("&Quit"));
    EXPECT_FALSE(m_window.isVisible());
}

TEST_F(WindowCommandsTest, ExportWritesTheListToTheFileChosen) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("stocks"));
    WhenModal([&path](QWidget& p_oModal) {
        static_cast<QFileDialog&>(p_oModal).selectFile(path);
        static_cast<QDialog&>(p_oModal).accept();
    });
    EXPECT_TRUE(Trigger(QStringLiteral("&Export")).contains(path));
    QFile written(path + QStringLiteral(".csv"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().count("\r\n"), m_window.Host().Control().RecordCount() + 1);
}

TEST_F(WindowCommandsTest, NamesWithAnAmpersandReadInTheMenusAsInTheBoxes) {
    std::set<QString> names;
    for (const QComboBox* box : m_window.findChildren<QComboBox*>()) {
        for (int i = 0; i < box->count(); ++i) {
            names.insert(box->itemText(i));
        }
    }
    ASSERT_TRUE(std::any_of(names.begin(), names.end(), [](const QString& p_sName) {
        return p_sName.contains(QLatin1Char('&'));
    }));
    for (const QAction* action : MenuActions(m_window.menuBar()->actions())) {
        if (action->isCheckable()) {
            EXPECT_TRUE(names.count(action->iconText())) << action->iconText().toStdString();
        }
    }
}

TEST_F(WindowCommandsTest, NoTwoCommandsShareAKey) {
    std::set<QString> keys;
    for (const auto& [key, command] : ShortcutRows(*m_window.menuBar())) {
        EXPECT_TRUE(keys.insert(key).second) << key.toStdString() << " " << command.toStdString();
    }
}

TEST_F(WindowCommandsTest, KeysMoveTheRowScrollTheColumnsOrSayWhatTheyDo) {
    Primary().SetCurrentRow(10);
    Press(PrimaryView(), "Down");
    EXPECT_EQ(Primary().Row(), 11);
    Press(PrimaryView(), "Right");
    EXPECT_EQ(PrimaryView().horizontalScrollBar()->value(), 1);
    for (const char* keys : {"Del", "Ctrl+F"}) {
        Press(PrimaryView(), keys);
        EXPECT_FALSE(m_window.statusBar()->currentMessage().isEmpty()) << keys;
    }
    // A command works wherever the focus is, the day box included.
    Press(*m_window.findChild<QDateEdit*>(QStringLiteral("day")), "Ctrl+F");
    EXPECT_FALSE(m_window.statusBar()->currentMessage().isEmpty());
}

}  // namespace
}  // namespace qv::test
