// The Find dialog on its own: what typing keeps, which event Find raises, and what Display hands
// back.
#include "control/forms/frm_search.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"

#include <gtest/gtest.h>

namespace qv::testing {
namespace {

class RecordingSearchEvents : public frmSearchEvents {
  public:
    void FindNext(const std::string& p_sText) override { Raised.push_back("FindNext " + p_sText); }
    void GetLists(const std::string& p_sText) override { Raised.push_back("GetLists " + p_sText); }
    void ResetSearch() override { Raised.push_back("ResetSearch"); }
    std::vector<std::string> Raised;
};

TEST(FrmSearchTest, KeyPressesKeepCapitalsAndDropWhatTheSearchTypeCannotHold) {
    struct Case {
        int16_t Mode;
        int32_t TypeIndex;
        const char* Typed;
        const char* Kept;
    };
    const Case cases[] = {
        {0, 0, "a b", "AB"},             // symbol: no blanks
        {0, 1, "a b", "A B"},            // company name: blanks stay
        {0, 0, "ibm,msft", "IBM,MSFT"},  // several symbols
        {1, 0, "a,b", "AB"},             // one industry name, no commas
        {0, 1, "o'neil", "ONEIL"},       // never an apostrophe
        {0, 1, "50%_*", "50%_*"},        // wildcards are typed as they are
        {2, 0, "zürich", "ZüRICH"},      // a character beyond ASCII is kept as typed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        frmSearch form;
        form.Init(c.Mode, true);
        form.SetSearchTypeIndex(c.TypeIndex);
        form.TypeText(c.Typed);
        EXPECT_EQ(form.Text(), c.Kept);
    }
}

TEST(FrmSearchTest, InitChoosesTheSearchTypesAndTheHeight) {
    frmSearch form;
    form.Init(0, false);
    EXPECT_EQ(form.SearchTypes(), (std::vector<std::string>{"Symbol", "Company Name"}));
    EXPECT_EQ(form.Height(), frmSearch::kCollapsedHeight);
    EXPECT_TRUE(form.CommasAllowed());
    form.SetSearchTypeIndex(1);
    EXPECT_EQ(form.Height(), frmSearch::kExpandedHeight);
    EXPECT_EQ(form.SearchType(), 1);
    EXPECT_EQ(form.SearchLoc(), 0);

    form.Init(2, true);
    EXPECT_EQ(form.SearchTypes(), std::vector<std::string>{"Sector Name"});
    EXPECT_TRUE(form.Expanded());
    EXPECT_FALSE(form.SearchTypeEnabled());
    EXPECT_FALSE(form.CommasAllowed());
    EXPECT_EQ(form.SearchType(), 3);

    // Find follows the text, blanks alone are no search.
    form.SetText("   ");
    EXPECT_FALSE(form.FindEnabled());
    form.SetText(" A ");
    EXPECT_TRUE(form.FindEnabled());
}

TEST(FrmSearchTest, FindRaisesByTypeListAndFinder) {
    struct Case {
        int16_t Mode;
        bool ListFlag;
        bool Finder;
        int32_t TypeIndex;
        const char* Raised;  // "" for none
        const char* SearchString;
    };
    const Case cases[] = {
        {0, false, false, 0, "FindNext IBM", "IBM"},  // symbol, partial list
        {0, false, false, 1, "GetLists IBM", ""},     // company names always from a list
        {1, false, false, 0, "GetLists IBM", ""},     // industry names from the server
        {0, true, false, 0, "FindNext IBM", "IBM"},   // symbol in the whole list
        {0, true, false, 1, "GetLists IBM", ""},
        {2, true, false, 0, "GetLists IBM", "IBM"},  // sector names from the grid
        {0, true, true, 0, "FindNext IBM", "IBM"},   // finder of stocks
        {1, true, true, 0, "GetLists IBM", "IBM"},   // finder of industries
        {3, true, true, -1, "", ""},                 // a finder of another kind: nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Mode << c.ListFlag << c.Finder << c.TypeIndex);
        frmSearch form;
        RecordingSearchEvents events;
        form.SetEvents(&events);
        form.SetIsFinder(c.Finder);
        form.Init(c.Mode, c.ListFlag);
        if (c.TypeIndex >= 0) {
            form.SetSearchTypeIndex(c.TypeIndex);
        }
        form.SetText(" IBM ");
        events.Raised.clear();
        form.cmdOK_Click();
        EXPECT_EQ(events.Raised, std::string(c.Raised).empty()
                                     ? std::vector<std::string>{}
                                     : std::vector<std::string>{c.Raised});
        EXPECT_EQ(form.SearchString(), c.SearchString);
        EXPECT_FALSE(form.Closed());
    }
}

std::shared_ptr<Recordset> Companies() {
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("CompanyName", adVarChar, 40);
    rows->Fields().Append("Symbol", adVarChar, 10);
    rows->Open();
    rows->AddNew({Variant("Acme Corp"), Variant("ACME")});
    rows->AddNew({Variant("Acme_Tools"), Variant("ACT")});
    rows->AddNew({Variant("Beta Inc"), Variant("BETA")});
    return rows;
}

// Wildcards in a name match themselves; Display hands back the chosen symbols or asks for a choice.
TEST(FrmSearchTest, FillListMatchesLiterallyAndDisplayHandsBackTheChosenSymbols) {
    ScopedTestPlatform platform;
    frmSearch form;
    form.Init(0, true);
    form.SetSearchTypeIndex(1);
    const std::shared_ptr<Recordset> rows = Companies();
    form.SetText("%");
    form.FillList(rows);
    ASSERT_EQ(form.Items().size(), 1u);
    EXPECT_EQ(form.Items()[0].Text, "Company not found.");
    EXPECT_FALSE(form.DisplayEnabled());
    EXPECT_EQ(rows->RecordCount(), 3);  // the filter is taken off again
    form.SetText("ACME_");
    form.FillList(rows);
    ASSERT_EQ(form.Items().size(), 1u);
    EXPECT_EQ(form.Items()[0].Text, "Acme_Tools -  ACT");
    form.SetText("AC");
    form.FillList(rows);
    ASSERT_EQ(form.Items().size(), 2u);
    EXPECT_EQ(form.Items()[1].Text, "Acme_Tools -  ACT");
    EXPECT_TRUE(form.DisplayEnabled());

    form.cmdDisplay_Click();
    EXPECT_FALSE(form.Closed());
    ASSERT_EQ(platform.Messages().Shown().size(), 1u);
    EXPECT_EQ(platform.Messages().Shown()[0].Text, "Please select item(s) to display.");
    EXPECT_EQ(platform.Messages().Shown()[0].Title, "Display");

    form.SetItemSelected(0, true);
    form.SetItemSelected(1, true);
    form.cmdDisplay_Click();
    EXPECT_TRUE(form.Closed());
    EXPECT_FALSE(form.Cancelled());
    EXPECT_EQ(form.SearchString(), "ACME,ACT");
    EXPECT_FALSE(form.OneCompanySelected());
}

}  // namespace
}  // namespace qv::testing
