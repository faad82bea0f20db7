// Screens in the window and in the host on the shared market: a screen run from the Screens
// panel shows in the finder list and stays for another day, a screen nothing meets says why, and
// the host finds screens by name and refuses names and criteria it cannot run.
#include "shell/screens_panel.h"
#include "shell/window_fixture.h"

#include "outside/automation_error.h"
#include "shell/market_session.h"
#include "shell/window_frame.h"

#include <QAction>
#include <QListWidget>

namespace qv::test {
namespace {

class WindowScreensTest : public WindowTest {};

TEST_F(WindowScreensTest, APanelsScreenShowsInTheFinderListAndStaysForAnotherDay) {
    m_window.resize(1280, 800);
    m_window.findChild<QAction*>(QStringLiteral("screensPanelAction"))->trigger();
    ScreensPanel& panel = m_window.Screens();
    EXPECT_EQ(m_window.Frame().ShownPanel(), &panel);
    ASSERT_TRUE(panel.SetCurrentScreen(QStringLiteral("rated buy")));
    panel.RunScreen();
    const ViewerRequest& shown = m_window.Host().Request();
    EXPECT_EQ(shown.m_lViewerType, vt_FinderResults);
    EXPECT_EQ(shown.m_sScreenCriteria, "REC = 'B'");
    EXPECT_GT(m_window.Host().Control().RecordCount(), 0);
    EXPECT_TRUE(m_window.CaptionText().contains(QStringLiteral("Rated Buy")));

    ViewerRequest dayBefore = m_window.RequestFromControls();
    dayBefore.m_lDate = kMarketLastDay - 1;
    m_window.ShowList(dayBefore);
    EXPECT_EQ(m_window.Host().Request().m_sScreenName, "Rated Buy");
    EXPECT_EQ(panel.CurrentScreen(), QStringLiteral("Rated Buy"));
    m_window.grab().save(QStringLiteral("main_window_screens.png"));
    panel.EditScreen();
    EXPECT_EQ(panel.Editor(), nullptr) << "a shipped screen opened for editing";
    ASSERT_TRUE(panel.SetCurrentScreen(QStringLiteral("Volume surge")));
    panel.CopyScreen();
    ASSERT_NE(panel.Editor(), nullptr);
    panel.Editor()->resize(900, 520);
    panel.Editor()->CheckNow();
    EXPECT_TRUE(panel.Editor()->ErrorText().isEmpty()) << panel.Editor()->ErrorText().toStdString();
    EXPECT_EQ(panel.Editor()->Conditions().size(), 2u);
    panel.Editor()->grab().save(QStringLiteral("screen_editor.png"));
    panel.Editor()->reject();
}

TEST_F(WindowScreensTest, AScreenNothingMeetsSaysWhyInTheStatusBar) {
    ViewerRequest request;
    request.m_lViewerType = vt_FinderResults;
    request.m_sScreenCriteria = "Price < 0";
    EXPECT_FALSE(m_window.ShowList(request));
    EXPECT_TRUE(m_window.LastMessage().startsWith(QStringLiteral("No stock meets ")))
        << m_window.LastMessage().toStdString();
    EXPECT_EQ(m_window.Surface().EmptyText(), m_window.LastMessage());
}

TEST_F(WindowScreensTest, TheHostRunsScreensByNameAndRefusesWhatItCannotRun) {
    ViewerHost& host = m_window.Host();
    ViewerRequest request;
    request.m_lViewerType = vt_FinderResults;
    ASSERT_TRUE(host.Show(request));
    EXPECT_EQ(host.Request().m_sScreenName, "Rated Buy");

    request.m_sScreenName = "SECTORS UP";
    host.Show(request);
    EXPECT_EQ(host.Control().FinderResultsType(), 2);
    EXPECT_EQ(host.Request().m_sScreenName, "Sectors up");

    request.m_sScreenName = "No such screen";
    try {
        host.Show(request);
        ADD_FAILURE() << "an unknown screen was shown";
    } catch (const RequestError& error) {
        EXPECT_NE(std::string(error.what()).find("Rated Buy"), std::string::npos) << error.what();
    }
    request.m_sScreenName.clear();
    request.m_sScreenCriteria = "Pirce > 10";
    EXPECT_THROW(host.Show(request), AutomationError);
    EXPECT_EQ(host.Request().m_sScreenName, "Sectors up");
}

}  // namespace
}  // namespace qv::test
