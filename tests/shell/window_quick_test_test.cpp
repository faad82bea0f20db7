// The View menu's Quick Test: offered only for lists the control tests, it takes the list's own
// Ctrl+Q to the control, whose page address the window shows.
#include "shell/window_quick_test.h"
#include "control/forms/frm_print.h"
#include "outside/scripted_services.h"
#include "shell/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace qv::test {
namespace {

TEST_F(WindowTest, QuickTestIsOfferedForTestableListsAndShowsThePageItOpens) {
    auto* action = m_window.findChild<QAction*>(QStringLiteral("quickTestAction"));
    ASSERT_NE(action, nullptr);
    QMenu* view = qobject_cast<QMenu*>(action->parent());
    ASSERT_NE(view, nullptr);
    emit view->aboutToShow();
    EXPECT_TRUE(action->isEnabled());
    m_oPlatform.Dialogs().QueueScriptFor<frmPrint>([](frmPrint& form) {
        form.ChooseOption(psSelectedRows);
        form.OK();
    });
    action->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(m_window.LastMessage().startsWith(QStringLiteral("Page: QuickTest.asp?symbols=")))
        << m_window.LastMessage().toStdString();

    ViewerRequest history = m_window.Host().Request();
    history.m_lViewerType = vt_StockHistory;
    ASSERT_TRUE(m_window.ShowList(history));
    emit view->aboutToShow();
    EXPECT_FALSE(action->isEnabled());
}

}  // namespace
}  // namespace qv::test
