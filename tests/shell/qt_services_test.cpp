#include "shell/qt_services.h"

#include "outside/component_factory.h"
#include "outside/platform_context.h"
#include "outside/scripted_services.h"
#include "outside/vb_date.h"
#include "shell/modal_helper.h"
#include "shell/qt_date_selector.h"
#include "shell/qt_dialog_runner.h"
#include "shell/qt_message_box.h"
#include "shell/qt_mouse_pointer.h"
#include "shell/qt_running_indicator.h"
#include "shell/qt_text_measurer.h"
#include "shell/running_indicator_panel.h"
#include "shell/test_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QFontMetricsF>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <memory>
#include <string>

namespace qv::test {
namespace {

// The shape set on a widget; BlankCursor when it shows its parent's.
Qt::CursorShape ShapeOn(const QWidget& p_widget) {
    return p_widget.testAttribute(Qt::WA_SetCursor) ? p_widget.cursor().shape() : Qt::BlankCursor;
}

TEST(QtMousePointer, ShowsTheRuntimesShapesOnItsTargetOrTheWholeApplication) {
    Application();
    QWidget window;
    QWidget control(&window);
    QtMousePointer pointer;
    pointer.SetPointer(vbHourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    // Given a target, the shape moves to it; vbDefault shows the control's own cursor again.
    pointer.SetTarget(&control);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ShapeOn(control), Qt::WaitCursor);
    pointer.SetPointer(vbDefault);
    EXPECT_EQ(ShapeOn(control), Qt::BlankCursor);
    pointer.SetPointer(vbCustom);
    pointer.SetCustomCursor(QCursor(Qt::SplitHCursor));
    EXPECT_EQ(ShapeOn(control), Qt::SplitHCursor);
}

struct SortDialog : ModalDialog {
    std::string DialogCaption() const override { return "Sort"; }
    void DismissDialog() override { ++Dismissed; }
    int Dismissed = 0;
    bool Chosen = false;
};
struct OtherDialog : SortDialog {};

// A view whose OK chooses on the logic and accepts.
struct SortView : QDialog {
    SortView(SortDialog& p_oLogic, QWidget* p_pParent) : QDialog(p_pParent), m_oLogic(p_oLogic) {}
    void Ok() {
        m_oLogic.Chosen = true;
        accept();
    }
    SortDialog& m_oLogic;
};

// Closed any way but its OK, taken away with its window or without a view, a dialog is cancelled.
TEST(QtDialogRunner, ShowsTheViewOfTheDialogModallyAndOtherwiseDismissesIt) {
    Application();
    auto* window = new QWidget;
    QtDialogRunner runner(window);
    SortDialog dialog;
    runner.ShowModal(dialog);
    EXPECT_EQ(dialog.Dismissed, 1);
    runner.RegisterViewFor<OtherDialog>(
        [](OtherDialog&, QWidget* parent) { return std::make_unique<QDialog>(parent); });
    runner.RegisterViewFor<SortDialog>([](SortDialog& logic, QWidget* parent) {
        return std::make_unique<SortView>(logic, parent);
    });
    QString title;
    WhenModal([&](QWidget& modal) {
        title = modal.windowTitle();
        EXPECT_EQ(modal.parentWidget(), window);
        static_cast<SortView&>(modal).Ok();
    });
    runner.ShowModal(dialog);
    EXPECT_EQ(title, QStringLiteral("Sort"));
    EXPECT_TRUE(dialog.Chosen);
    EXPECT_EQ(dialog.Dismissed, 1);
    WhenModal([](QWidget& modal) { static_cast<QDialog&>(modal).reject(); });
    runner.ShowModal(dialog);
    WhenModal([window](QWidget&) { delete window; });
    runner.ShowModal(dialog);
    EXPECT_EQ(dialog.Dismissed, 3);
}

TEST(QtTextMeasurer, MeasuresInTwipsAsTheShellDraws) {
    Application();
    const QtTextMeasurer measurer;
    const FontSpec font{"DejaVu Sans", 8.25, false};
    EXPECT_EQ(measurer.TextWidth("", font), 0);
    QFont qfont(QStringLiteral("DejaVu Sans"));
    qfont.setPointSizeF(8.25);
    const double pixels = QFontMetricsF(qfont).horizontalAdvance(QStringLiteral("Company Name"));
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    EXPECT_EQ(measurer.TextWidth("Company Name", font), std::lround(pixels * 1440 / dpi));
    // A font the system lacks is measured in the one drawn instead.
    EXPECT_GT(measurer.TextWidth("Äpfel", {"MS Sans Serif", 8.25, false}), 0);
}

TEST(QtDateSelector, ReadsTextsAsTheHeadlessOneAndKeepsTheDayInItsEditor) {
    Application();
    ScopedTestPlatform platform;
    QtDateSelector selector;
    EXPECT_TRUE(selector.SetText("12/06/2026"));
    EXPECT_EQ(selector.Editor().date(), QDate(2026, 12, 6));
    // A person picks another day.
    selector.Editor().setDate(QDate(1900, 3, 1));
    EXPECT_EQ(selector.Value(), DateSerial(1900, 3, 1));
    selector.SetValue(CombineDateTime(DateSerial(150, 1, 2), 0.5));
    EXPECT_EQ(selector.Editor().date(), QDate(150, 1, 2));
}

TEST(QtServices, TheDateSelectorAndTheServicesFindTheirHostOnceTheWindowExists) {
    Application();
    PlatformContext context;
    InstallQtServices(context);
    auto* indicator = dynamic_cast<QtRunningIndicator*>(&context.Indicator());
    ASSERT_NE(indicator, nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<QtDateSelector>(
                  context.Components().CreateObject("qorvantSupport.DateSelector")),
              nullptr);
    ScopedPlatform installed(context);
    indicator->SetStatus("Initializing . . .", true);
    EXPECT_EQ(indicator->Panel(), nullptr);
    QWidget window;
    window.resize(500, 300);
    window.show();
    SetQtServiceHost(context, &window);
    ASSERT_NE(indicator->Panel(), nullptr);
    EXPECT_EQ(indicator->Panel()->parentWidget(), &window);
    SetMousePointer(vbHourglass);
    EXPECT_EQ(ShapeOn(window), Qt::WaitCursor);
    WhenModal([&](QWidget& box) {
        EXPECT_EQ(box.parentWidget(), &window);
        static_cast<QDialog&>(box).done(0);
    });
    EXPECT_EQ(MsgBox("Data exported.", vbOKOnly, vbInformation, "Export"), vbOK);
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    context.Loop().DoEvents();
    EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace qv::test
