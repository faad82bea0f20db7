// Nothing a person can press in the main window is silent: every key of the list's key table
// and every action of the menu bar either is disabled or does something a person sees (a moved
// row or column, a status-bar message, a dialog, a changed list, a closed window).
#include "shell/main_window.h"

#include "control/viewer.h"
#include "outside/grid_control.h"
#include "shell/grid_view.h"
#include "shell/shell_market.h"
#include "shell/test_application.h"
#include "shell/viewer_host.h"
#include "shell/viewer_surface.h"
#include "shell/window_keys.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QKeySequence>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

namespace qv::test {
namespace {

// What a person sees of the window, to tell whether a key or an action changed any of it.
struct Seen {
    int32_t m_lRow = -1;
    int m_iLeftColumn = -1;
    QString m_sMessage;
    QString m_sCaption;

    bool operator==(const Seen&) const = default;
};

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
    Seen Look() {
        return {Primary().Row(), PrimaryView().horizontalScrollBar()->value(),
                m_window.statusBar()->currentMessage(), m_window.CaptionText()};
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

TEST_F(WindowCommandsTest, EveryKeyOfTheListIsSeenToDoSomething) {
    for (const ListKey& key : ListKeys()) {
        SCOPED_TRACE(key.m_sKeys);
        Rest();
        const Seen before = Look();
        Press(PrimaryView(), key.Sequence());
        EXPECT_NE(Look(), before) << key.m_sCommand;
    }
}

TEST_F(WindowCommandsTest, ACommandKeyPressedInTheDayBoxReachesTheList) {
    auto* day = m_window.findChild<QDateEdit*>(QStringLiteral("day"));
    ASSERT_NE(day, nullptr);
    for (const ListKey& key : ListKeys()) {
        if (!key.m_bCommand) {
            continue;
        }
        SCOPED_TRACE(key.m_sKeys);
        Rest();
        Press(*day, key.Sequence());
        EXPECT_FALSE(m_window.statusBar()->currentMessage().isEmpty()) << key.m_sCommand;
    }
}

}  // namespace
}  // namespace qv::test
