// The popup-menu component and its presenters, the shared services' lookups, and starting a
// program without a shell.
#include "outside/popup_menu.h"

#include "outside/automation_error.h"
#include "outside/process_launcher.h"
#include "outside/scripted_services.h"
#include "outside/shared_services.h"
#include "outside/text_util.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace qv {
namespace {

PopupMenu GraphMenu() {
    PopupMenu menu;
    menu.Add("View Stock Graph", "", 1, 0, true, "3");
    menu.Add("-", "", 0, 0, true, "");
    const int32_t several = menu.Add("View Multiple Graphs", "", 0, 0, true, "");
    menu.Add("-", "", 0, several, true, "");
    menu.Add("Industry", "", 20, several, true, "");
    menu.Add("Sector", "", 21, several, false, "");
    return menu;
}

TEST(PopupMenu, ItemsNestUnderTheIndexesAddReturned) {
    PopupMenu menu = GraphMenu();
    EXPECT_EQ(menu.Describe(),
              "View Stock Graph|1|3\n-\nView Multiple Graphs|0|\n  -\n  Industry|20|\n"
              "  Sector|21||off\n");
    EXPECT_EQ(menu.Find("View Multiple Graphs/Industry"), 5);
    EXPECT_EQ(menu.Find("View Multiple Graphs/-"), 0);  // separators are no destination
    EXPECT_EQ(menu.Find("Industry"), 0);
    EXPECT_EQ(menu.ItemTag(1), "3");
    EXPECT_EQ(FailureOf([&] { menu.Add("Orphan", "", 1, 7, true, ""); }).Number, 9);
    EXPECT_EQ(FailureOf([&] { menu.Item(0); }).Number, 9);
    menu.Clear();
    EXPECT_EQ(menu.Count(), 0);
    EXPECT_EQ(menu.Add("First again", "", 1, 0, true, ""), 1);
}

TEST(PopupMenu, PresentersChooseOnlyWhatAPersonCould) {
    ScopedTestPlatform platform;
    const PopupMenu menu = GraphMenu();
    for (const char* path : {"View Multiple Graphs/Industry", "View Multiple Graphs/Sector",
                             "View Multiple Graphs", "No such item", ""}) {
        platform.Menus().QueueChoice(path);
    }
    EXPECT_EQ(menu.Show({nullptr, 10, 20}), 5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(menu.Show({}), 0) << i;  // disabled, a header, nothing there, dismissed
    }
    EXPECT_EQ(platform.Menus().Shown().size(), 5u);
    EXPECT_EQ(platform.Menus().Shown()[0].Anchor.Y, 20);
    EXPECT_EQ(HeadlessPopupMenuPresenter().Show(menu, {}), 0);
}

TEST(SharedServices, AddressTemplatesComeFromTheSettingsWithRelativeDefaults) {
    ScopedTestPlatform platform;
    const SharedServices services;
    EXPECT_EQ(services.GetValue("NewsURL"), "news.aspx?symbol=***SYMBOL***");
    EXPECT_EQ(services.GetValue("DividendUrl"), "dividends.aspx?stockids=***StockIds***");
    platform.Settings().SaveSetting("Olmaris60", "SharedServices", "NewsURL", "n?s=***SYMBOL***");
    EXPECT_EQ(services.GetValue("newsurl"), "n?s=***SYMBOL***");
    EXPECT_TRUE(services.AdvancedGraphs(SharedServices::kAdvancedGraphProgram));
    EXPECT_FALSE(services.HasOptionsProduct(SharedServices::kAdvancedGraphProgram));

    const Failure missing = FailureOf([&] { services.MachineValue("SOFTWARE\\X", "InstallDir"); });
    EXPECT_EQ(missing.Number, 911);
    EXPECT_EQ(missing.Description,
              "Unable to retrieve application registry value (InstallDir).  Due to this error, the "
              "application may not function properly");
    platform.Settings().SaveSetting("Machine", "SOFTWARE\\X", "InstallDir", "/opt/x");
    EXPECT_EQ(services.MachineValue("SOFTWARE\\X", "InstallDir"), "/opt/x");
}

TEST(ReplaceAll, ReplacesEveryOccurrenceExactly) {
    EXPECT_EQ(ReplaceAll("a***S***b***S***", "***S***", "X"), "aXbX");
    EXPECT_EQ(ReplaceAll("***s***", "***S***", "X"), "***s***");
    EXPECT_EQ(ReplaceAll("abc", "", "X"), "abc");
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
}

// A real program, started with words a shell would act on: each reaches it as one argument, so
// touch makes a file of exactly that name and runs nothing.
TEST(SpawnProcessLauncher, EveryWordReachesTheProgramAsItStands) {
    ScopedTestPlatform platform;
    const std::filesystem::path touch = "/usr/bin/touch";
    if (!std::filesystem::exists(touch)) {
        GTEST_SKIP() << "no " << touch;
    }
    const std::filesystem::path folder = platform.LibraryPath();
    const std::vector<std::string> names = {"A;rm -rf ~", "$(x)", "`x`", "\"q\" 'q'", "a b"};
    std::vector<std::string> args;
    for (const std::string& name : names) {
        args.push_back((folder / name).string());
    }
    SpawnProcessLauncher().Start(touch, args);
    for (int wait = 0; wait < 500 && !std::filesystem::exists(folder / names.back()); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (const std::string& name : names) {
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}),
              static_cast<std::ptrdiff_t>(names.size()))
        << "nothing else was made";
    EXPECT_EQ(FailureOf([&] { SpawnProcessLauncher().Start(folder / "missing.exe", {}); }).Number,
              53);
}

}  // namespace
}  // namespace qv
