// The stock list and the finder's stock results show the buy/sell/hold caption of their
// recommendations when the layout has the field "REC".
#include "columns/layout_utilities.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/finder_viewer.h"
#include "strategies/stock_viewer.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

// The caption is the grid-level ratio's to compute; here, that the stock lists ask for it over the
// rows they show: its total is their count.
bool CaptionOver(const std::string& p_sCaption, const GridControl& p_oControl) {
    return p_sCaption.starts_with("Buys: ") &&
           p_sCaption.ends_with("  Total: " + std::to_string(RowCount(p_oControl)));
}

class BuySellHoldCaptionTest : public StrategyTest {
  protected:
    BuySellHoldCaptionTest() { m_oElements->SetStartDate(LastDay()); }

    std::shared_ptr<StockViewer> m_oStocks = std::make_shared<StockViewer>();
    std::shared_ptr<ViewerElements> m_oElements = m_oStocks->ViewerElements();
};

TEST_F(BuySellHoldCaptionTest, TheStockListAndTheFinderResultsOfStocksOnlyCountTheRowsShown) {
    m_oStocks->Initialize(m_oPriGrid, m_oSecGrid);
    ASSERT_TRUE(LayoutUtilities::IsFieldInLayout("REC", m_oElements->GridLayoutDescription()));
    const std::string caption = m_oElements->BSHCaption();
    EXPECT_TRUE(CaptionOver(caption, *m_oPriControl)) << caption;
    EXPECT_EQ(caption.find("Buys: 0 "), std::string::npos) << caption;
    m_oElements->SetBSHCaption("");
    bool noRecords = false;
    m_oStocks->Search("A", 0, 0, noRecords, m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(CaptionOver(m_oElements->BSHCaption(), *m_oPriControl))
        << m_oElements->BSHCaption();

    // The same rows under the same layout in the finder: the stock list's caption, for stocks.
    const std::shared_ptr<Recordset> stocks = m_oPriControl->DataSource();
    for (int32_t resultType : {0, 3}) {
        FinderViewer finder;
        const std::shared_ptr<ViewerElements> elements = finder.ViewerElements();
        elements->SetFinderResultsType(resultType);
        elements->SetFinderResults(stocks);
        elements->SetGridLayoutInfo(m_oElements->GridLayoutInfo());
        elements->SetBSHCaption("before");
        finder.Initialize(m_oPriGrid, m_oSecGrid);
        EXPECT_EQ(elements->BSHCaption(),
                  resultType == 0 ? m_oElements->BSHCaption() : std::string("before"));
    }
    EXPECT_EQ(ReportCount(), 0u);
}

}  // namespace
}  // namespace qv::testing
