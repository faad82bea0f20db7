// The quick test through the control on the sample market: the titles, which rows are tested
// for each choice of the print options form, and the rows selected afterwards.
#include "control/viewer_quick_test.h"
#include "control/forms/frm_print.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "viewer_test_support.h"

namespace qv::testing {
namespace {

TEST(QuickTestTitleTest, EachListNamesItsReport) {
    struct Case {
        ViewerType Type;
        int32_t WatchListId;
        std::string Expected;
    };
    const Case cases[] = {
        {vt_Stocks, 0, "Caption - Quick Test Report"},
        {vt_Stocks, 4, "Stock WatchList (Tech) - Quick Test Report"},
        {vt_Industries, 0, "Caption - Quick Test Report"},
        {vt_Industries, 4, "Industry WatchList (Tech) - Quick Test Report"},
        {vt_Sectors, 4, "Sector Viewer - Quick Test Report"},
        {vt_FinderResults, 4, "(Cheap) - Quick Test Report"},
        {vt_Portfolio, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QuickTestTitle(c.Type, "Caption", c.WatchListId, "Tech", "Cheap"), c.Expected);
    }
}

class ViewerQuickTestTest : public ViewerTest {
  protected:
    void ShowStocks() {
        m_oViewer->SetViewerType(vt_Stocks);
        m_oViewer->SetStartDate(LastDay());
        ASSERT_TRUE(m_oViewer->UpdateViewer());
        m_oHost.Events.clear();
    }
    GridControl& Pri() { return *m_oViewer->olePriGrid(); }
    // The rows the person picks in the form; no script leaves the form to be closed.
    void Choose(int16_t p_iOption, int32_t p_lNumber = 10) {
        m_oPlatform.Dialogs().QueueScriptFor<frmPrint>([=](frmPrint& form) {
            EXPECT_TRUE(form.QuickTestMode());
            form.ChooseOption(p_iOption);
            form.SetSpinner(p_lNumber);
            form.OK();
        });
    }
    // The "Stock_ID" values of view rows p_lFirst to p_lLast, joined by ",".
    std::string Ids(int32_t p_lFirst, int32_t p_lLast) {
        const std::shared_ptr<Recordset> rows = Pri().DataSource()->Clone();
        std::string ids;
        for (int32_t row = p_lFirst; row <= p_lLast; ++row) {
            rows->SetAbsolutePosition(row + 1);
            ids += (ids.empty() ? "" : ",") + rows->Value("Stock_ID").ToString();
        }
        return ids;
    }
    // The ids and title of the one quick test opened; "" when none was.
    std::string Tested() {
        if (m_oHost.Count("Navigate") != 1) {
            return m_oHost.Count("Navigate") == 0 ? "" : "several";
        }
        const std::string address = m_oHost.Last("Navigate")->Args[0].ToString();
        const size_t end = address.find("&date=");
        return address.substr(0, end);
    }
    std::vector<int32_t> SelectedRows() {
        std::vector<int32_t> rows;
        const std::shared_ptr<Recordset> clone = Pri().DataSource()->Clone();
        for (int32_t i = 0; i < Pri().SelBookmarks()->Count(); ++i) {
            clone->SetBookmark(Pri().SelBookmarks()->Item(i));
            rows.push_back(clone->AbsolutePosition() - 1);
        }
        return rows;
    }
    static constexpr const char* kTitle = "&title=Stock%20Viewer%20-%20Quick%20Test%20Report";
};

TEST_F(ViewerQuickTestTest, SeveralRowsSelectedAreTestedAtOnceWithoutTheForm) {
    ShowStocks();
    Pri().SelBookmarks()->Clear();
    for (int32_t row : {2, 3, 4}) {
        Pri().SetCurrentRow(row);
        Pri().SelBookmarks()->Add(Pri().Bookmark());
    }
    CallMethod(*m_oViewer, "ShowQuickTest", {});
    EXPECT_TRUE(m_oPlatform.Dialogs().Shown().empty());
    EXPECT_EQ(Tested(), "QuickTest.asp?symbols=" + Ids(2, 4) + "&title=");
    EXPECT_EQ(SelectedRows(), (std::vector<int32_t>{2, 3, 4}));
}

TEST_F(ViewerQuickTestTest, EachChoiceOfTheFormTestsItsRowsAndLeavesTheRowSelectedBefore) {
    struct Case {
        const char* Name;
        int16_t Option;  // -1: the form is closed
        std::string Expected;
        std::vector<int32_t> SelectedAfter;
    };
    ShowStocks();
    const int32_t last = m_oViewer->RecordCount() - 1;
    const Case cases[] = {
        {"no row selected: the current one is",
         psSelectedRows,
         "QuickTest.asp?symbols=" + Ids(5, 5) + kTitle,
         {5}},
        {"Test Top 10 from the current row",
         psTopRows,
         "QuickTest.asp?symbols=" + Ids(5, 14) + kTitle,
         {5}},
        {"Test All", psAllRows, "QuickTest.asp?symbols=" + Ids(0, last) + kTitle, {5}},
        {"cancelled", -1, "", {5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Pri().SelBookmarks()->Clear();
        Pri().SetCurrentRow(5);
        m_oHost.Events.clear();
        if (c.Option >= 0) {
            Choose(c.Option);
        }
        Pri().KeyDown('Q', gssCtrl);
        EXPECT_EQ(Tested(), c.Expected);
        EXPECT_EQ(SelectedRows(), c.SelectedAfter);
        EXPECT_EQ(Pri().Row(), 5);
    }
    EXPECT_EQ(m_oPlatform.Dialogs().Shown(), std::vector<std::string>(4, "Quick Test"));
    EXPECT_EQ(m_oPlatform.Settings().GetSetting("Olmaris60", "QuickTestDates", "Top", ""), "10");
    EXPECT_EQ(Reports("Viewer:ShowQuickTest") + Reports("Grid:ShowQuicktest"), 0u);
}

TEST_F(ViewerQuickTestTest, ListsWithoutAQuickTestShowNoFormAndOpenNothing) {
    const ViewerType types[] = {vt_StockHistory, vt_IndustryHistory, vt_SectorHistory,
                                vt_Portfolio};
    for (const ViewerType type : types) {
        m_oViewer->SetViewerType(type);
        m_oViewer->PrimaryGrid()->SetGridObject(m_oViewer->olePriGrid());
        Pri().SetDataSource(StockListRows());
        CallMethod(*m_oViewer, "ShowQuickTest", {});
    }
    EXPECT_TRUE(m_oPlatform.Dialogs().Shown().empty());
    EXPECT_EQ(m_oHost.Count("Navigate"), 0u);
}

}  // namespace
}  // namespace qv::testing
