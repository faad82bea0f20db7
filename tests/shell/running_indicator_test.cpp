#include "shell/qt_running_indicator.h"

#include "shell/running_indicator_panel.h"
#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>

#include <array>

namespace qv::test {
namespace {

TEST(RunningIndicator, IsCentredUnlessTheControlIsTooSmall) {
    // 30 twips from the edge unless the control is more than 60 twips wider than the indicator.
    for (const auto& [control, indicator, offset] :
         {std::array{3000, 1000, 1000}, {100, 2000, 30}, {1061, 1000, 30}, {1062, 1000, 31}}) {
        EXPECT_EQ(IndicatorOffset(control, indicator), offset) << control << " " << indicator;
    }
}

TEST(RunningIndicatorOnAControl, ShowsItsCaptionCentredTurnsHidesAgainAndOutlivesItsControl) {
    Application();
    auto* control = new QWidget;
    control->resize(600, 400);
    control->show();
    QtRunningIndicator indicator(control);
    indicator.SetStatus("Running . . .", true);
    RunningIndicatorPanel& panel = *indicator.Panel();
    EXPECT_EQ(panel.Caption(), QStringLiteral("Running . . ."));
    EXPECT_EQ(panel.pos(), QPoint((600 - panel.width()) / 2, (400 - panel.height()) / 2));
    // The wheel turns while the event loop runs.
    const int first = panel.Step();
    QElapsedTimer waited;
    waited.start();
    while (panel.Step() == first && waited.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_NE(panel.Step(), first);
    indicator.SetStatus("", false);
    EXPECT_FALSE(panel.isVisible());
    indicator.SetStatus("Running . . .", true);
    delete control;
    EXPECT_EQ(indicator.Panel(), nullptr);
    indicator.SetStatus("Updating . . .", true);
    EXPECT_EQ(indicator.Caption(), "Updating . . .");
}

}  // namespace
}  // namespace qv::test
