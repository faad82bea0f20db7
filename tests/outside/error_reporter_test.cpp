#include "outside/error_reporter.h"

#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/platform_context.h"
#include "outside/scripted_services.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {
namespace {

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

TEST(ErrorReporterTest, EveryExitIsCountedOnlyFailuresAreReportedAndTheListenerHearsThemOnce) {
    ScopedTestPlatform platform;
    ErrorReporter& reporter = PlatformContext::Current().Reporter();
    std::vector<std::string> heard;
    reporter.SetListener([&heard](const ErrorReport& p_oReport) {
        heard.push_back(p_oReport.Label);
        throw std::runtime_error("the window is gone");  // dropped: the report stands
    });
    EXPECT_TRUE(Procedure(false));
    std::string shown;
    EXPECT_FALSE(Procedure(true, &shown));
    EXPECT_EQ(shown, "Type mismatch: layout");
    EXPECT_EQ(heard, std::vector<std::string>{"Viewer:UpdateViewer"});
    EXPECT_EQ(platform.Reporter().CountCalls("Viewer:UpdateViewer"), 2u);
    ASSERT_EQ(platform.Reporter().Reports().size(), 1u);
    const ErrorReport& report = platform.Reporter().Reports().front();
    EXPECT_EQ(report.Number, 13);
    EXPECT_EQ(report.Description, "Type mismatch: layout");
    EXPECT_FALSE(report.Source.empty());
}

TEST(ErrorReporterTest, ForeignExceptionsBecomeAutomationErrorsAndAClearedOneIsNotReported) {
    ScopedTestPlatform platform;
    struct Case {
        std::function<void()> Throw;
        int32_t Number;
        std::string Description;
    };
    const Case cases[] = {
        {[] { throw std::bad_alloc(); }, 7, "Out of memory"},
        {[] { throw std::out_of_range("row 12"); }, 5, "row 12"},
        {[] { throw 42; }, 5, "Unknown failure"},
        {[] { throw AutomationError(6269, "grid", "print cancelled"); }, 6269, "print cancelled"},
    };
    for (const Case& test : cases) {
        ErrorScope scope("Test:Foreign");
        try {
            test.Throw();
        } catch (...) {
            scope.Capture();
        }
        EXPECT_EQ(scope.Number(), test.Number);
        EXPECT_EQ(scope.Description(), test.Description);
        if (scope.Number() == 6269) {
            scope.Clear();
        }
    }
    EXPECT_EQ(platform.Reporter().CountCalls("Test:Foreign"), 4u);
    EXPECT_EQ(platform.Reporter().CountReports("Test:Foreign"), 3u);
}

TEST(ErrorReporterTest, ReportedReturnsTheFallbackAfterAFailure) {
    ScopedTestPlatform platform;
    EXPECT_EQ(Reported("Grid: GridSort", std::string("none"), [] { return std::string("A"); }),
              "A");
    EXPECT_EQ(Reported("Grid: GridSort", std::string("none"),
                       []() -> std::string { throw std::runtime_error("bad sort"); }),
              "none");
    Reported("Viewer: ClearResults", [] {});
    EXPECT_EQ(platform.Reporter().CountReports("Grid: GridSort"), 1u);
    EXPECT_EQ(platform.Reporter().CountCalls("Viewer: ClearResults"), 1u);
}

TEST(ErrorReporterTest, FailureAppendsOneLogLineInTheLibraryFolder) {
    ScopedTestPlatform platform;
    Procedure(false);
    const std::filesystem::path log = platform.LibraryPath() / "qorvant-viewer.log";
    EXPECT_FALSE(std::filesystem::exists(log));
    platform.Reporter().Report("StockViewer:Initialize",
                               AutomationError(91, "qorvantOnlineViewer", "first\nsecond\tthird"));
    Procedure(true);
    const std::string text = ReadFile(log);
    // The line break and tab inside the description become spaces: one line per failure.
    const size_t first =
        text.find("\tStockViewer:Initialize\t91\tqorvantOnlineViewer\tfirst second third\n");
    const size_t second = text.find("\tViewer:UpdateViewer\t13\t");
    EXPECT_NE(second, std::string::npos) << text;
    EXPECT_LT(first, second) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
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

}  // namespace
}  // namespace qv
