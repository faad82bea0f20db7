// Nothing a person can press in the main window is silent: every key of the list's key table
// and every action of the menu bar either is disabled or does something a person sees (a moved
// row or column, a status-bar message, a dialog, a changed list, a closed window).
#include "shell/main_window.h"

#include "control/viewer.h"
#include "outside/grid_control.h"
#include "shell/grid_view.h"
#include "shell/modal_helper.h"
#include "shell/shell_market.h"
#include "shell/shortcuts_dialog.h"
#include "shell/test_application.h"
#include "shell/viewer_host.h"
#include "shell/viewer_request.h"
#include "shell/viewer_surface.h"
#include "shell/window_keys.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace qv::test {
namespace {

class WindowCommandsTest : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_window.resize(1000, 640);
        m_window.show();
        ASSERT_TRUE(m_window.ShowList(ViewerRequest{}));
    }

    GridView& PrimaryView() { return m_window.Surface().PrimaryView(); }
    GridControl& Primary() { return *m_window.Host().Control().olePriGrid(); }

    // A row in the middle, the columns scrolled by one and no message: every key can move.
    void Rest() {
        Primary().SetCurrentRow(10);
        PrimaryView().horizontalScrollBar()->setValue(1);
        m_window.statusBar()->clearMessage();
        QApplication::processEvents();
    }
    // What a person sees of the window, to tell whether a key or an action changed any of it.
    QStringList Look() {
        int windows = 0;
        for (const QWidget* widget : QApplication::topLevelWidgets()) {
            windows += widget->isVisible() ? 1 : 0;
        }
        const auto n = [](qlonglong p_llValue) { return QString::number(p_llValue); };
        return {n(Primary().Row()),
                n(PrimaryView().horizontalScrollBar()->value()),
                m_window.statusBar()->currentMessage(),
                m_window.CaptionText(),
                n(m_window.Host().Request().m_lDate),
                n(Primary().RowCount()),
                n(reinterpret_cast<qlonglong>(QApplication::focusWidget())),
                n(windows),
                n(m_window.isVisible())};
    }
    void Press(QWidget& p_oWidget, const QKeySequence& p_keys) {
        p_oWidget.setFocus();
        const QKeyCombination key = p_keys[0];
        QTest::keyClick(&p_oWidget, key.key(), key.keyboardModifiers());
        QApplication::processEvents();
    }

    MarketPlatform m_oPlatform;
    MainWindow m_window{SharedMarket()};
};

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

// Acts on each modal window shown while it lives, which must close it.
class ModalWatch {
  public:
    explicit ModalWatch(std::function<void(QWidget&)> p_fnAct) : m_fnAct(std::move(p_fnAct)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal->isVisible()) {
                ++m_iSeen;
                m_fnAct(*modal);
            }
        });
        m_timer.start(5);
    }
    int Seen() const { return m_iSeen; }

  private:
    std::function<void(QWidget&)> m_fnAct;
    QTimer m_timer;
    int m_iSeen = 0;
};

TEST_F(WindowCommandsTest, EveryMenuActionIsDisabledOrSeenToDoSomething) {
    const auto actions = MenuActions(m_window.menuBar()->actions());
    ASSERT_GT(actions.size(), 20u);
    // Which scopes apply, and so which actions are enabled, depends on the list shown: a list of
    // one day with a grid below, a history, and rows the host hands in.
    for (const int32_t type : {vt_Stocks, vt_StockHistory, vt_Portfolio}) {
        for (QAction* action : actions) {
            SCOPED_TRACE(std::to_string(type) + " " + action->text().toStdString());
            m_window.ShowList({.m_lViewerType = type, .m_sSymbol = ""});
            PrimaryView().setFocus();
            // A choice already made shows as checked, and choosing it again changes nothing.
            if (!action->isEnabled() || action->isChecked()) {
                continue;
            }
            m_window.statusBar()->clearMessage();
            const QStringList before = Look();
            ModalWatch modals([](QWidget& p_oModal) { p_oModal.close(); });
            action->trigger();
            QApplication::processEvents();
            EXPECT_TRUE(modals.Seen() > 0 || Look() != before);
            if (!m_window.isVisible()) {
                m_window.show();
            }
            for (QDialog* dialog : m_window.findChildren<QDialog*>()) {
                dialog->close();
            }
        }
    }
}

TEST_F(WindowCommandsTest, ExportWritesTheListToTheFileChosen) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("stocks"));
    WhenModal([&path](QWidget& p_oModal) {
        static_cast<QFileDialog&>(p_oModal).selectFile(path);
        static_cast<QDialog&>(p_oModal).accept();
    });
    for (QAction* action : MenuActions(m_window.menuBar()->actions())) {
        if (action->text().startsWith(QStringLiteral("&Export"))) {
            action->trigger();
        }
    }

    QFile written(path + QStringLiteral(".csv"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().count("\r\n"), m_window.Host().Control().RecordCount() + 1);
    EXPECT_TRUE(m_window.statusBar()->currentMessage().contains(path));
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

TEST_F(WindowCommandsTest, EveryKeyOfTheListIsSeenToDoSomething) {
    auto* day = m_window.findChild<QDateEdit*>(QStringLiteral("day"));
    ASSERT_NE(day, nullptr);
    for (const ListKey& key : ListKeys()) {
        SCOPED_TRACE(key.m_sKeys);
        Rest();
        const QStringList before = Look();
        Press(PrimaryView(), key.Sequence());
        EXPECT_NE(Look(), before) << key.m_sCommand;
        // A command works wherever the focus is, the day box included.
        if (key.m_bCommand) {
            Rest();
            Press(*day, key.Sequence());
            EXPECT_FALSE(m_window.statusBar()->currentMessage().isEmpty()) << key.m_sCommand;
        }
    }
}

}  // namespace
}  // namespace qv::test
