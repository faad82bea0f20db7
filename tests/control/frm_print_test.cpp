// The print options form on its own: what OK hands back for each option, and quick-test mode's
// remembered number.
#include "control/forms/frm_print.h"
#include "outside/scripted_services.h"

#include <gtest/gtest.h>

namespace qv::testing {
namespace {

TEST(FrmPrintTest, OkHandsBackTheChosenRowsAndOnlyTopKeepsTheSpinner) {
    struct Case {
        int16_t Option;
        int32_t Spinner;
        int16_t Selection;
        int32_t Number;
    };
    const Case cases[] = {
        {psSelectedRows, 7, psSelectedRows, 1},
        {psAllRows, 7, psAllRows, 1},
        {psTopRows, 7, psTopRows, 7},
        {psTopRows, 0, psTopRows, 1},  // below the spinner's range
        {9, 7, psSelectedRows, 1},     // an unknown option keeps the default
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Option);
        frmPrint form;
        form.ChooseOption(c.Option);
        form.SetSpinner(c.Spinner);
        EXPECT_EQ(form.SpinnerEnabled(), c.Selection == psTopRows);
        EXPECT_TRUE(form.Cancelled());
        form.OK();
        EXPECT_FALSE(form.Cancelled());
        EXPECT_EQ(form.PrintSelection(), c.Selection);
        EXPECT_EQ(form.NumToPrint(), c.Number);
    }
}

TEST(FrmPrintTest, QuickTestStartsFromTheRememberedNumberAndSavesItOnlyForTop) {
    ScopedTestPlatform platform;
    platform.Settings().SaveSetting("Olmaris60", "QuickTestDates", "Top", "25");
    frmPrint form;
    form.SetUpQuickTest();
    EXPECT_EQ(form.DialogCaption(), "Quick Test");
    EXPECT_EQ(form.TopCaption(), "Test Top");
    EXPECT_FALSE(form.PageSetupVisible());
    EXPECT_EQ(form.PrintSelection(), psTopRows);
    EXPECT_EQ(form.Spinner(), 25);
    form.SetSpinner(30);
    form.OK();
    EXPECT_EQ(platform.Settings().GetSetting("Olmaris60", "QuickTestDates", "Top", ""), "30");

    frmPrint selected;
    selected.SetUpQuickTest();
    selected.ChooseOption(psSelectedRows);
    selected.SetSpinner(40);
    selected.OK();
    EXPECT_EQ(platform.Settings().GetSetting("Olmaris60", "QuickTestDates", "Top", ""), "30");
}

TEST(FrmPrintTest, ADamagedRememberedNumberFallsBackToTen) {
    for (const char* stored : {"", "abc", "2.5", "-3", "99999999"}) {
        SCOPED_TRACE(stored);
        ScopedTestPlatform platform;
        platform.Settings().SaveSetting("Olmaris60", "QuickTestDates", "Top", stored);
        frmPrint form;
        form.SetUpQuickTest();
        EXPECT_EQ(form.Spinner(), 10);
    }
}

class RecordingPrintEvents : public frmPrintEvents {
  public:
    void SelectColumns() override { Raised.push_back("SelectColumns"); }
    void ShowPageSetup() override { Raised.push_back("ShowPageSetup"); }
    std::vector<std::string> Raised;
};

TEST(FrmPrintTest, HiddenButtonsRaiseNothing) {
    RecordingPrintEvents events;
    frmPrint print;
    print.SetEvents(&events);
    print.SelectColumns();
    print.PageSetup();
    print.HideColumnSelect();
    print.SelectColumns();
    print.SetUpQuickTest();
    print.PageSetup();
    EXPECT_EQ(events.Raised, (std::vector<std::string>{"SelectColumns", "ShowPageSetup"}));
}

}  // namespace
}  // namespace qv::testing
