// The running indicator of the main window's control: with the Qt services installed, the panel
// shows on the control's surface where the control places its indicator.
#include "shell/main_window.h"

#include "control/viewer.h"
#include "outside/platform_context.h"
#include "shell/market_session.h"
#include "shell/qt_running_indicator.h"
#include "shell/qt_services.h"
#include "shell/running_indicator_panel.h"
#include "shell/shell_market.h"
#include "shell/test_application.h"
#include "shell/viewer_host.h"
#include "shell/viewer_surface.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qv::test {
namespace {

TEST(MainWindowIndicator, ShowsCentredWhereTheControlPlacesIt) {
    Application();
    PlatformContext context;
    InstallQtServices(context);
    SharedMarket().LogIn();
    SharedMarket().Register(context.Components());
    ScopedPlatform installed(context);
    MainWindow window(SharedMarket());
    window.resize(1000, 640);
    window.show();
    ASSERT_TRUE(window.ShowList(ViewerRequest{}));

    Viewer& viewer = window.Host().Control();
    viewer.ChangeRunningStatus("Running . . .", true);
    auto* indicator = dynamic_cast<QtRunningIndicator*>(&context.Indicator());
    ASSERT_NE(indicator, nullptr);
    RunningIndicatorPanel* panel = indicator->Panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->parentWidget(), &window.Surface());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->Caption(), QStringLiteral("Running . . ."));
    const TwipsRect& rect = viewer.RunningIndicatorRect();
    const QRect expected = window.Surface().ToPixels(rect.Left, rect.Top, rect.Width, rect.Height);
    // Both round twips to pixels on their own, so a pixel either way.
    EXPECT_LE(std::abs(panel->x() - expected.x()), 1);
    EXPECT_LE(std::abs(panel->y() - expected.y()), 1);

    viewer.ChangeRunningStatus();
    EXPECT_FALSE(panel->isVisible());
}

}  // namespace
}  // namespace qv::test
