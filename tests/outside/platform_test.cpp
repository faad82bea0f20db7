#include "outside/platform_context.h"

#include "outside/afm_text_measurer.h"
#include "outside/headless_services.h"
#include "outside/scripted_services.h"
#include "outside/support_utility.h"
#include "outside/vb_date.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

class NamedDialog : public ModalDialog {
  public:
    explicit NamedDialog(std::string p_sCaption) : m_sCaption(std::move(p_sCaption)) {}
    std::string DialogCaption() const override { return m_sCaption; }
    void DismissDialog() override { m_bCancelled = true; }

    std::string m_sCaption;
    bool m_bCancelled = false;
    int m_iNumber = 0;
};

class OtherDialog : public NamedDialog {
  public:
    OtherDialog() : NamedDialog("Other") {}
};

TEST(PlatformTest, TestPlatformIsInstalledForItsScopeOnly) {
    PlatformContext& before = PlatformContext::Current();
    {
        ScopedTestPlatform outer;
        { ScopedTestPlatform inner; }
        EXPECT_EQ(&PlatformContext::Current(), &outer.Context());
        EXPECT_EQ(PlatformContext::Current().Library().Location(), outer.LibraryPath());
    }
    EXPECT_EQ(&PlatformContext::Current(), &before);
}

TEST(PlatformTest, ScriptedMessageBoxAnswersInOrderAndRecordsEveryMessage) {
    ScopedTestPlatform platform;
    platform.Messages().QueueAnswer(vbNo);
    EXPECT_EQ(MsgBox("Delete?", vbYesNo, vbExclamation, "Delete Warning"), vbNo);
    EXPECT_EQ(MsgBox("Sure?", vbYesNo, vbQuestion, "Q"), vbYes);  // queue empty: default button
    EXPECT_EQ(MsgBox("Done."), vbOK);
    const std::vector<ShownMessage>& shown = platform.Messages().Shown();
    ASSERT_EQ(shown.size(), 3u);
    const auto Fields = [](const ShownMessage& m) {
        return std::make_tuple(m.Text, m.Buttons, m.Icon, m.Title, m.Answer);
    };
    EXPECT_EQ(Fields(shown[0]),
              std::make_tuple("Delete?", vbYesNo, vbExclamation, "Delete Warning", vbNo));
    EXPECT_EQ(Fields(shown[2]), std::make_tuple("Done.", vbOKOnly, vbNoIcon, "", vbOK));
}

TEST(PlatformTest, HeadlessMessageBoxWritesAndAnswersTheDefaultButton) {
    const std::pair<MsgBoxButtons, MsgBoxResult> cases[] = {{vbOKCancel, vbOK},
                                                            {vbAbortRetryIgnore, vbAbort},
                                                            {vbYesNoCancel, vbYes},
                                                            {vbRetryCancel, vbRetry}};
    for (const auto& [buttons, answer] : cases) {
        std::ostringstream out;
        HeadlessMessageBox box(out);
        EXPECT_EQ(box.Show("No data to export.", buttons, vbInformation, "Export"), answer);
        EXPECT_EQ(out.str(), "information [Export]: No data to export.\n");
    }
}

TEST(PlatformTest, DialogScriptsRunInOrderAndUnscriptedDialogsAreDismissed) {
    ScopedTestPlatform platform;
    platform.Dialogs().QueueScript(
        [](ModalDialog& dialog) { static_cast<NamedDialog&>(dialog).m_iNumber = 10; });
    platform.Dialogs().QueueScriptFor<OtherDialog>(
        [](OtherDialog& dialog) { dialog.m_iNumber = 1; });
    NamedDialog print("Print Options");
    NamedDialog wrongKind("Find");
    NamedDialog unscripted("Quick Test");
    for (NamedDialog* dialog : {&print, &wrongKind, &unscripted}) {
        platform.Context().Dialogs().ShowModal(*dialog);
    }
    EXPECT_EQ(print.m_iNumber, 10);
    EXPECT_FALSE(print.m_bCancelled);
    EXPECT_TRUE(wrongKind.m_bCancelled && unscripted.m_bCancelled);
    EXPECT_EQ(platform.Dialogs().Shown(),
              (std::vector<std::string>{"Print Options", "Find", "Quick Test"}));
    NamedDialog headless("Print Options");
    HeadlessDialogRunner().ShowModal(headless);
    EXPECT_TRUE(headless.m_bCancelled);
}

TEST(PlatformTest, YieldRunsTheHookWithoutRecursingIntoIt) {
    ScopedTestPlatform platform;
    int depth = 0;
    int deepest = 0;
    platform.Loop().OnYield([&] {
        deepest = std::max(deepest, ++depth);
        DoEvents();  // code run by an event that yields itself
        --depth;
    });
    DoEvents();
    DoEvents();
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(platform.Loop().YieldCount(), 4);
}

TEST(PlatformTest, PostedEventsRunOnceAtTheNextYieldEvenWhenTheyYield) {
    ScopedTestPlatform platform;
    std::vector<int> order;
    platform.Loop().Post([&] {
        order.push_back(1);
        DoEvents();  // re-entrant yield while the first event runs
        order.push_back(3);
    });
    platform.Loop().Post([&] {
        order.push_back(2);
        platform.Loop().Post([&] { order.push_back(4); });
    });
    EXPECT_TRUE(order.empty());
    DoEvents();
    DoEvents();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 4, 3}));
}

TEST(PlatformTest, PointerIndicatorClockPrinterAndSettingsComeFromTheContext) {
    ScopedTestPlatform platform;
    SetMousePointer(vbHourglass);
    PlatformContext::Current().Indicator().SetStatus("Running . . .", true);
    EXPECT_EQ(platform.Pointer().History(), std::vector<MousePointerShape>{vbHourglass});
    EXPECT_EQ(platform.Indicator().History().size(), 1u);
    platform.Time().AdvanceSeconds(3600);
    EXPECT_EQ(SplitDate(PlatformContext::Current().Time().Now()),
              (DateParts{2026, 12, 4, 17, 0, 0}));
    EXPECT_GT(SystemClock().Now(), DateSerial(2024, 1, 1));
    platform.Printers().SetDefaultPrinter(std::nullopt);
    EXPECT_FALSE(PlatformContext::Current().Printers().Installed());
    SaveSetting("Olmaris60", "QuickTestDates", "Top", "25");
    EXPECT_EQ(GetSetting("olmaris60", "quicktestdates", "TOP", "10"), "25");
}

TEST(PlatformTest, MeasuredWidthsArePlausibleAndBoldIsWider) {
    const AfmTextMeasurer measurer;
    const FontSpec regular{"MS Sans Serif", 8, false};
    const int32_t symbolBold = measurer.TextWidth("Symbol", FontSpec{"MS Sans Serif", 8, true});
    // "Symbol" in an 8-point sans-serif face is about 28 points wide.
    EXPECT_GE(symbolBold, 450);
    EXPECT_LE(symbolBold, 700);
    EXPECT_GT(symbolBold, measurer.TextWidth("Symbol", regular));
    EXPECT_EQ(measurer.TextWidth("Symbol", FontSpec{"Arial", 0, true}), 0);
    EXPECT_NEAR(measurer.TextWidth("Company Name", FontSpec{"Arial", 16, true}),
                2 * measurer.TextWidth("Company Name", FontSpec{"Arial", 8, true}), 1);
    const FontSpec courier{"Courier New", 10, false};
    EXPECT_EQ(measurer.TextWidth("iii", courier), measurer.TextWidth("WWW", courier));
    // A character beyond ASCII counts once, not once per byte.
    EXPECT_EQ(measurer.TextWidth("\xC3\xA9", regular), measurer.TextWidth("e", regular));
}

TEST(PlatformTest, LibraryFolderFollowsTheEnvironmentAndIsCreatedOnDemand) {
    ScopedTestPlatform platform;
    const std::filesystem::path wanted = platform.LibraryPath() / "lib";
    {
        ScopedEnvironment library("QV_LIBRARY_DIR", wanted.c_str());
        const LibraryFolder folder = LibraryFolder::FromEnvironment();
        EXPECT_FALSE(std::filesystem::exists(wanted));
        EXPECT_EQ(folder.Path(), wanted);
        EXPECT_TRUE(std::filesystem::is_directory(wanted));
    }
    const std::filesystem::path data = platform.LibraryPath() / "data";
    ScopedEnvironment library("QV_LIBRARY_DIR", nullptr);
    ScopedEnvironment xdg("XDG_DATA_HOME", data.c_str());
    EXPECT_EQ(LibraryFolder::FromEnvironment().Location(), data / "qorvant");
    ScopedEnvironment relative("XDG_DATA_HOME", "relative/path");
    ScopedEnvironment home("HOME", "/home/someone");
    EXPECT_EQ(LibraryFolder::FromEnvironment().Location(),
              std::filesystem::path("/home/someone/.local/share/qorvant"));
}

TEST(PlatformTest, UtilityKeepsThePageSetupBesideTheLibrary) {
    ScopedTestPlatform platform;
    const SupportUtility utility;
    const std::filesystem::path folder = platform.LibraryPath();
    EXPECT_TRUE(utility.ReadPageSetup(folder).empty());
    const std::vector<uint8_t> block{0, 1, 2, 255, '\n', 0};
    utility.WritePageSetup(folder, block);
    EXPECT_EQ(ReadFile(folder / "pagesetup.dat"), std::string(block.begin(), block.end()));
    EXPECT_EQ(utility.ReadPageSetup(folder), block);
    utility.SaveRemoteServer("HTTP://MARKETS.EXAMPLE.COM");
    EXPECT_EQ(utility.RemoteServer(), "HTTP://MARKETS.EXAMPLE.COM");
    EXPECT_EQ(utility.DateText(DateSerial(2026, 3, 4)), "03/04/2026");
}

}  // namespace
}  // namespace qv
