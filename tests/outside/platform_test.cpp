#include "outside/platform_context.h"

#include "outside/afm_text_measurer.h"
#include "outside/automation_error.h"
#include "outside/column_selector.h"
#include "outside/error_reporter.h"
#include "outside/error_scope.h"
#include "outside/file_settings_store.h"
#include "outside/headless_services.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "outside/settings_file.h"
#include "outside/support_utility.h"
#include "outside/vb_date.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <new>
#include <sstream>
#include <stdexcept>
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
};

struct OtherDialog : NamedDialog {
    OtherDialog() : NamedDialog("Other") {}
};

TEST(PlatformTest, MessageBoxesAnswerTheScriptOrElseTheDefaultButton) {
    ScopedTestPlatform platform;
    platform.Messages().QueueAnswer(vbNo);
    EXPECT_EQ(MsgBox("Delete?", vbYesNo, vbExclamation, "Delete Warning"), vbNo);
    EXPECT_EQ(MsgBox("Sure?", vbYesNo, vbQuestion, "Q"), vbYes);  // queue empty: default button
    std::ostringstream out;
    EXPECT_EQ(HeadlessMessageBox(out).Show("No data.", vbRetryCancel, vbInformation, "Export"),
              vbRetry);
    EXPECT_EQ(out.str(), "information [Export]: No data.\n");
}

TEST(PlatformTest, ADialogOfAnotherKindThanTheScriptsAndAnUnscriptedOneAreDismissed) {
    ScopedTestPlatform platform;
    platform.Dialogs().QueueScriptFor<OtherDialog>([](OtherDialog&) {});
    NamedDialog wrongKind("Find");
    NamedDialog unscripted("Quick Test");
    platform.Context().Dialogs().ShowModal(wrongKind);
    platform.Context().Dialogs().ShowModal(unscripted);
    EXPECT_TRUE(wrongKind.m_bCancelled && unscripted.m_bCancelled);
    EXPECT_EQ(platform.Dialogs().Shown(), (std::vector<std::string>{"Find", "Quick Test"}));
    NamedDialog headless("Print Options");
    HeadlessDialogRunner().ShowModal(headless);
    EXPECT_TRUE(headless.m_bCancelled);
}

// Code run by an event may yield itself: the hook does not recurse, and a posted event runs once,
// at the next yield, even when it yields.
TEST(PlatformTest, YieldsRunTheHookAndPostedEventsWithoutRecursing) {
    ScopedTestPlatform platform;
    int depth = 0;
    int deepest = 0;
    platform.Loop().OnYield([&] {
        deepest = std::max(deepest, ++depth);
        DoEvents();
        --depth;
    });
    std::vector<int> order;
    platform.Loop().Post([&] {
        order.push_back(1);
        DoEvents();
        order.push_back(3);
    });
    platform.Loop().Post([&] {
        order.push_back(2);
        platform.Loop().Post([&] { order.push_back(4); });
    });
    DoEvents();
    DoEvents();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 4, 3}));
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(platform.Loop().YieldCount(), 5);
}

TEST(PlatformTest, MeasuredWidthsArePlausibleAndBoldIsWider) {
    const AfmTextMeasurer measurer;
    const FontSpec regular{"MS Sans Serif", 8, false};
    const int32_t symbolBold = measurer.TextWidth("Symbol", FontSpec{"MS Sans Serif", 8, true});
    // "Symbol" in an 8-point sans-serif face is about 28 points wide.
    EXPECT_TRUE(symbolBold >= 450 && symbolBold <= 700) << symbolBold;
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

// A procedure written the way the system writes them.
bool Procedure(bool p_bFail, std::string* p_pShown = nullptr) {
    ErrorScope scope("Viewer:UpdateViewer");
    try {
        if (p_bFail) {
            RaiseRuntimeError(errors::kTypeMismatch, "layout");
        }
        return true;
    } catch (...) {
        scope.Capture();
        if (p_pShown != nullptr) {
            *p_pShown = scope.Description();
        }
        return false;
    }
}

TEST(ErrorReporterTest, EveryExitIsCountedOnlyFailuresAreReportedAndLoggedOnceEach) {
    ScopedTestPlatform platform;
    std::vector<std::string> heard;
    platform.Reporter().SetListener([&heard](const ErrorReport& p_oReport) {
        heard.push_back(p_oReport.Label);
        throw std::runtime_error("the window is gone");  // dropped: the report stands
    });
    const std::filesystem::path log = platform.LibraryPath() / "qorvant-viewer.log";
    EXPECT_TRUE(Procedure(false));
    EXPECT_FALSE(std::filesystem::exists(log));
    std::string shown;
    EXPECT_FALSE(Procedure(true, &shown));
    EXPECT_EQ(shown, "Type mismatch: layout");
    EXPECT_EQ(heard, std::vector<std::string>{"Viewer:UpdateViewer"});
    EXPECT_EQ(platform.Reporter().CountCalls("Viewer:UpdateViewer"), 2u);
    ASSERT_EQ(platform.Reporter().Reports().size(), 1u);
    EXPECT_FALSE(platform.Reporter().Reports().front().Source.empty());

    // The line break and tab inside a description become spaces: one line per failure.
    platform.Reporter().Report("StockViewer:Initialize",
                               AutomationError(91, "qorvantOnlineViewer", "first\nsecond\tthird"));
    const std::string text = ReadFile(log);
    const size_t first = text.find("\tViewer:UpdateViewer\t13\t");
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_LT(first,
              text.find("\tStockViewer:Initialize\t91\tqorvantOnlineViewer\tfirst second third\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
}

TEST(ErrorReporterTest, ForeignExceptionsBecomeAutomationErrorsAndAClearedOneIsNotReported) {
    ScopedTestPlatform platform;
    const std::tuple<std::function<void()>, int32_t, std::string> cases[] = {
        {[] { throw std::bad_alloc(); }, 7, "Out of memory"},
        {[] { throw std::out_of_range("row 12"); }, 5, "row 12"},
        {[] { throw 42; }, 5, "Unknown failure"},
        {[] { throw AutomationError(6269, "grid", "print cancelled"); }, 6269, "print cancelled"},
    };
    for (const auto& [fail, number, description] : cases) {
        ErrorScope scope("Test:Foreign");
        try {
            fail();
        } catch (...) {
            scope.Capture();
        }
        EXPECT_EQ(std::make_pair(scope.Number(), scope.Description()),
                  std::pair(number, description));
        if (scope.Number() == 6269) {
            scope.Clear();
        }
    }
    EXPECT_EQ(platform.Reporter().CountCalls("Test:Foreign"), 4u);
    EXPECT_EQ(platform.Reporter().CountReports("Test:Foreign"), 3u);
}

TEST(ErrorReporterTest, UnwritableLogNeverThrowsAndStillRecords) {
    ScopedTestPlatform platform;
    // A file where the library folder should be: neither the folder nor the log can be made.
    const std::filesystem::path blocked = platform.LibraryPath() / "blocked";
    std::ofstream(blocked) << "x";
    platform.Context().SetLibrary(LibraryFolder(blocked / "library"));
    EXPECT_FALSE(Procedure(true));
    EXPECT_EQ(platform.Reporter().CountReports("Viewer:UpdateViewer"), 1u);
    ErrorReporter throwingPath([]() -> std::filesystem::path { throw std::runtime_error("no"); });
    EXPECT_NO_THROW(throwingPath.Report("X:Y", AutomationError(5, "s", "d")));
    EXPECT_EQ(throwingPath.CountReports("X:Y"), 1u);
}

TEST(ErrorReporterTest, RecordsKeepOnlyTheMostRecentCalls) {
    ErrorReporter reporter;
    for (size_t i = 0; i < ErrorReporter::kMaxRecords + 5; ++i) {
        reporter.Report("Label:" + std::to_string(i), nullptr);
    }
    EXPECT_EQ(reporter.Calls().size(), ErrorReporter::kMaxRecords);
    EXPECT_EQ(reporter.Calls().front(), "Label:5");
}

class SettingsStoreTest : public ::testing::Test {
  protected:
    std::filesystem::path File() const {
        return m_platform.LibraryPath() / "config" / "settings.ini";
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(File().parent_path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void WriteRaw(const std::string& p_sBytes) const {
        std::filesystem::create_directories(File().parent_path());
        std::ofstream(File(), std::ios::binary) << p_sBytes;
    }

    ScopedTestPlatform m_platform;
    ErrorReporter m_reporter;
};

TEST_F(SettingsStoreTest, ValuesSurviveAcrossInstancesAndIgnoreCase) {
    FileSettingsStore first(File(), m_reporter);
    // Reading a missing file gives the default and does not create the file.
    EXPECT_EQ(first.GetSetting("Olmaris60", "QuickTestDates", "Top", "10"), "10");
    EXPECT_FALSE(std::filesystem::exists(File()));
    first.SaveSetting("Olmaris60", "QuickTestDates", "Top", "25");
    first.SaveSetting("OLMARIS60", "quicktestdates", "TOP", "30");
    const std::pair<std::string, std::string> awkward[] = {
        {"Lines", "first\nsecond\r\nthird"},
        {"Escapes", "C:\\Export\\x41 = [not a section]"},
        {" key/with=odd[chars]#; ", "  padded  "}};
    for (const auto& [key, value] : awkward) {
        first.SaveSetting("App/Name", "[Section]", key, value);
    }
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"settings.ini"}));  // no temporary stays
    FileSettingsStore second(File(), m_reporter);
    EXPECT_EQ(second.GetSetting("olmaris60", "QUICKTESTDATES", "top", "10"), "30");
    for (const auto& [key, value] : awkward) {
        EXPECT_EQ(second.GetSetting("App/Name", "[Section]", key, "missing"), value) << key;
    }
    EXPECT_TRUE(m_reporter.Calls().empty());

    WriteRaw(
        "; edited by hand\r\n\r\n  [ Olmaris60 / QuickTestDates ]  \r\n# the quick test\r\n"
        "  Top =  12  \r\n\t[/Settings]\nRemoteServer=HTTP://B\n");
    FileSettingsStore edited(File(), m_reporter);
    EXPECT_EQ(edited.GetSetting("Olmaris60", "QuickTestDates", "Top", "10"), "12");
    EXPECT_EQ(edited.GetSetting("", "Settings", "RemoteServer", ""), "HTTP://B");
    EXPECT_TRUE(m_reporter.Reports().empty());
}

TEST_F(SettingsStoreTest, DamagedFileIsReportedSetAsideAndReplaced) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"bad syntax", "[Olmaris60/QuickTestDates]\nTop=10\nthis line means nothing\n"},
        {"binary garbage", std::string("ELF\0\0", 5)},
        {"not UTF-8", "[App/Section]\nKey=caf\xe9\n"},
        {"entry before a section", "Top=10\n"},
        {"bad escape", "[App/Section]\nKey=\\q\n"},
        {"header without a slash", "[Olmaris60]\nTop=10\n"},
        {"too large", "[App/Section]\nKey=" + std::string(SettingsFile::kMaxBytes, 'x') + "\n"},
    };
    for (const auto& [what, bytes] : cases) {
        std::filesystem::remove_all(File().parent_path());
        m_reporter.ClearRecords();
        WriteRaw(bytes);
        FileSettingsStore store(File(), m_reporter);
        EXPECT_EQ(store.GetSetting("Olmaris60", "QuickTestDates", "Top", "10"), "10") << what;
        ASSERT_EQ(m_reporter.Reports().size(), 1u) << what;
        EXPECT_EQ(m_reporter.Reports()[0].Number, 321) << what;
        const std::vector<std::string> names = FolderEntries();
        ASSERT_EQ(names.size(), 2u) << what;
        EXPECT_EQ(names[1].rfind("settings.ini.damaged-", 0), 0u) << names[1];
        EXPECT_EQ(ReadFile(File().parent_path() / names[1]), bytes) << what;
        store.SaveSetting("Olmaris60", "QuickTestDates", "Top", "15");
        EXPECT_EQ(store.GetSetting("Olmaris60", "QuickTestDates", "Top", "10"), "15") << what;
    }
}

TEST_F(SettingsStoreTest, SecondDamageInTheSameSecondKeepsBothCopies) {
    FileSettingsStore store(File(), m_reporter);
    for (const char* junk : {"junk one\n", "junk two\n"}) {
        WriteRaw(junk);
        store.GetSetting("A", "B", "C", "");
    }
    EXPECT_EQ(FolderEntries().size(), 3u);
}

TEST_F(SettingsStoreTest, UnwritableStoreIsError75AndEmptyKeyError5) {
    WriteRaw("");
    // A file where the settings folder should be.
    FileSettingsStore blocked(File() / "settings.ini", m_reporter);
    EXPECT_EQ(FailureOf([&] { blocked.SaveSetting("A", "B", "C", "D"); }).Number, 75);
    EXPECT_EQ(blocked.GetSetting("A", "B", "C", "default"), "default");

    FileSettingsStore store(File(), m_reporter);
    EXPECT_EQ(FailureOf([&] { store.SaveSetting("A", "B", "", "D"); }).Number, 5);
}

TEST(SettingsFileTest, SerializedTextParsesBackToTheSameContent) {
    SettingsFile original;
    original.Set("", "", "k", "v");
    original.Set("A\\B", "S\tT", "=", "\x01\x7f");
    original.Set("App", "Section", "#key", " ;value; ");
    // Bytes that are not UTF-8 can only arrive through escapes; they must leave through them.
    original.Set("App", "caf\xe9", "\x82", "caf\xe9 \xc3");
    SettingsFile parsed;
    std::string error;
    ASSERT_TRUE(parsed.Parse(original.Serialize(), error)) << error;
    EXPECT_EQ(parsed, original);
}

// A layout without fields gave the chooser an empty list, whose first row it tried to read.
TEST(ColumnSelectorTest, AnEmptyFieldListOffersAndSelectsNothing) {
    auto fields = std::make_shared<Recordset>();
    fields->Fields().Append("parameter_id", adInteger);
    fields->Fields().Append("column_name", adVarChar, 20);
    fields->Fields().Append("selected", adBoolean);
    fields->Fields().Append("Sequence", adInteger);
    fields->Open();
    EXPECT_TRUE(OfferedFields(fields).empty());
    EXPECT_TRUE(SelectedFields(fields).empty());
}

}  // namespace
}  // namespace qv
