// The viewer's side of the grids' navigation: which grid a host's navigate type goes to, the
// number-of-graphs form, double clicks and the investment-details item, on the sample market.
#include "control/forms/frm_graph_num.h"
#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/scripted_services.h"
#include "viewer_test_support.h"

#include <algorithm>
#include <array>

namespace qv::testing {
namespace {

class ViewerNavigationTest : public ViewerTest {
  protected:
    std::vector<std::string> Navigated() const {
        std::vector<std::string> addresses;
        for (const RaisedEvent& event : m_oHost.Events) {
            if (event.Name == "Navigate") {
                addresses.push_back(event.Args[0].ToString());
            }
        }
        return addresses;
    }
};

TEST_F(ViewerNavigationTest, TheHostsNavigateTypeGoesToTheGridUsedLast) {
    ASSERT_TRUE(Show(vt_Stocks));
    const std::string symbol = PrimaryValue("Symbol").ToString();
    std::array<Variant, 1> type{Variant(int32_t{0})};
    CallMethod(*m_oViewer, "RaiseNavigate", type);
    GridControl& sec = *m_oViewer->oleSecGrid();
    sec.Click(0, 0);
    sec.SelBookmarks()->Clear();
    m_oViewer->RaiseNavigate(0);  // nothing is selected in the industry grid
    sec.SelBookmarks()->Add(sec.Bookmark());
    m_oViewer->RaiseNavigate(4);
    ASSERT_EQ(Navigated().size(), 2u);
    EXPECT_EQ(Navigated()[0], "pagecontroller.aspx?pagetype=7&symbol=" + symbol);
    EXPECT_EQ(Navigated()[1].rfind("pagecontroller.aspx?pagetype=12&iwp=0&sectorcode=", 0), 0u);
}

TEST_F(ViewerNavigationTest, TheGraphFormChoosesHowManyRowsToGraph) {
    ASSERT_TRUE(Show(vt_Stocks));
    m_oPlatform.Dialogs().QueueScriptFor<frmGraphNum>([](frmGraphNum& form) {
        EXPECT_EQ(form.Number(), 15);
        form.SetNumber(150);
        EXPECT_FALSE(form.Graph());
        EXPECT_EQ(form.Number(), frmGraphNum::kResetNumber);
        EXPECT_TRUE(form.TakeFocusRequest());
        form.SetNumber(3);
        EXPECT_TRUE(form.Graph());
    });
    m_oViewer->RaiseNavigate(6);
    ASSERT_EQ(m_oPlatform.Messages().Shown().size(), 1u);
    EXPECT_EQ(m_oPlatform.Messages().Shown()[0].Text,
              "You must choose a number between 1 and 100!");
    EXPECT_EQ(m_oPlatform.Messages().Shown()[0].Title, "Invalid Entry");
    EXPECT_EQ(Pri().SelBookmarks()->Count(), 3);
    const std::vector<std::string> navigated = Navigated();
    ASSERT_EQ(navigated.size(), 1u);
    EXPECT_EQ(std::count(navigated[0].begin(), navigated[0].end(), ','), 2) << navigated[0];

    Pri().SelBookmarks()->Clear();
    m_oViewer->RaiseNavigate(7);  // no script: the form is closed, which cancels
    EXPECT_EQ(m_oPlatform.Dialogs().Shown(),
              (std::vector<std::string>{frmGraphNum::kCaption, frmGraphNum::kCaption}));
    EXPECT_EQ(Navigated().size(), 1u);
    EXPECT_TRUE(m_oPlatform.Reporter().Reports().empty());
}

TEST_F(ViewerNavigationTest, InvestmentDetailsStayInTheControlAndDoubleClicksNavigate) {
    ASSERT_TRUE(Show(vt_Portfolio));
    m_oPlatform.Menus().QueueChoice("View Investment Details");
    Pri().MouseUp(gmbRight, 0, 100, RowY(0));
    ASSERT_EQ(m_oHost.Names(), std::vector<std::string>{"DoubleClick"});
    EXPECT_EQ(m_oHost.Events[0].Args[0].ToString(), PrimaryValue("Symbol").ToString());

    ASSERT_TRUE(Show(vt_Stocks));
    Pri().DoubleClick();
    ASSERT_EQ(Navigated().size(), 1u);
    EXPECT_EQ(Navigated()[0].rfind("pagecontroller.aspx?PageType=4&indcode=", 0), 0u);
}

}  // namespace
}  // namespace qv::testing
