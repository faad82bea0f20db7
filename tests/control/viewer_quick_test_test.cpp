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
    const std::tuple<ViewerType, int32_t, std::string> cases[] = {
        {vt_Stocks, 0, "Caption - Quick Test Report"},
        {vt_Stocks, 4, "Stock WatchList (Tech) - Quick Test Report"},
        {vt_Industries, 0, "Caption - Quick Test Report"},
        {vt_Industries, 4, "Industry WatchList (Tech) - Quick Test Report"},
        {vt_Sectors, 4, "Sector Viewer - Quick Test Report"},
        {vt_FinderResults, 4, "(Cheap) - Quick Test Report"},
        {vt_Portfolio, 0, ""},
    };
    for (const auto& [type, watchList, expected] : cases) {
        EXPECT_EQ(QuickTestTitle(type, "Caption", watchList, "Tech", "Cheap"), expected);
    }
}

class ViewerQuickTestTest : public ViewerTest {
  protected:
    void SetUp() override { ASSERT_TRUE(Show(vt_Stocks)); }
    // "Stock_ID" of view rows p_lFirst to p_lLast, as the quick-test page lists them.
    std::string Ids(int32_t p_lFirst, int32_t p_lLast) {
        const std::shared_ptr<Recordset> rows = Pri().DataSource()->Clone();
        std::string ids = "QuickTest.asp?symbols=";
        for (int32_t row = p_lFirst; row <= p_lLast; ++row) {
            rows->SetAbsolutePosition(row + 1);
            ids += (row > p_lFirst ? "," : "") + rows->Value("Stock_ID").ToString();
        }
        return ids;
    }
    // The page opened, up to its dates; "" for none.
    std::string Tested() {
        const RaisedEvent* page = m_oHost.Last("Navigate");
        return page ? page->Args[0].ToString().substr(0, page->Args[0].ToString().find("&date="))
                    : "";
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
};

TEST_F(ViewerQuickTestTest, EachChoiceOfTheFormTestsItsRowsAndLeavesTheRowSelectedBefore) {
    const std::string title = "&title=Stock%20Viewer%20-%20Quick%20Test%20Report";
    const std::tuple<const char*, int16_t, std::string> cases[] = {
        {"no row selected: the current one is", psSelectedRows, Ids(5, 5) + title},
        {"Test Top 10 from the current row", psTopRows, Ids(5, 14) + title},
        {"Test All", psAllRows, Ids(0, m_oViewer->RecordCount() - 1) + title},
        {"cancelled", -1, ""},
        {"rows 4 to 6 selected: tested at once without the form", -2, Ids(4, 6) + "&title="},
    };
    for (const auto& [name, option, expected] : cases) {
        SCOPED_TRACE(name);
        Pri().SelBookmarks()->Clear();
        Pri().SetCurrentRow(5);
        for (int32_t row = 4; option == -2 && row <= 6; ++row) {
            Pri().SelBookmarks()->Add(
                GridControl::BookmarkOfRowId(Pri().DataSource()->ViewRowId(row)));
        }
        m_oHost.Events.clear();
        if (option >= 0) {
            m_oPlatform.Dialogs().QueueScriptFor<frmPrint>([option = option](frmPrint& form) {
                EXPECT_TRUE(form.QuickTestMode());
                form.ChooseOption(option);
                form.OK();
            });
        }
        Pri().KeyDown('Q', gssCtrl);
        EXPECT_EQ(Tested(), expected);
        const std::vector<int32_t> selected =
            option == -2 ? std::vector<int32_t>{4, 5, 6} : std::vector<int32_t>{5};
        EXPECT_EQ(SelectedRows(), selected);
        EXPECT_EQ(Pri().Row(), 5);
    }
    EXPECT_EQ(m_oPlatform.Dialogs().Shown(), std::vector<std::string>(4, "Quick Test"));
    EXPECT_EQ(Reports("Viewer:ShowQuickTest") + Reports("Grid:ShowQuicktest"), 0u);
}

TEST_F(ViewerQuickTestTest, ListsWithoutAQuickTestShowNoFormAndOpenNothing) {
    for (const ViewerType type :
         {vt_StockHistory, vt_IndustryHistory, vt_SectorHistory, vt_Portfolio}) {
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
