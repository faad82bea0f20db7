// The stock list and the finder's stock results show the buy/sell/hold caption of their
// recommendations when the layout has the field "REC".
#include "columns/layout_utilities.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/finder_viewer.h"
#include "strategies/stock_viewer.h"
#include "strategy_test_support.h"

#include <cstdio>

namespace qv::testing {
namespace {

std::string Share(int32_t p_lCount, int32_t p_lTotal) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", p_lTotal == 0 ? 0.0 : 100.0 * p_lCount / p_lTotal);
    return text;
}

// The caption counted row by row from the rows the grid shows.
std::string ExpectedCaption(const GridControl& p_oControl) {
    const std::shared_ptr<Recordset> rows = p_oControl.DataSource()->Clone();
    int32_t buys = 0;
    int32_t sells = 0;
    int32_t holds = 0;
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        const Variant rec = rows->Fields().Item("REC").Value();
        const std::string value = rec.IsNull() ? std::string() : rec.ToString();
        buys += value == "B" ? 1 : 0;
        sells += value == "S" ? 1 : 0;
        holds += value == "H" ? 1 : 0;
    }
    const int32_t total = rows->RecordCount();
    return "Buys: " + std::to_string(buys) + " (" + Share(buys, total) +
           ")  Sells: " + std::to_string(sells) + " (" + Share(sells, total) +
           ")  Holds: " + std::to_string(holds) + " (" + Share(holds, total) +
           ")  Total: " + std::to_string(total);
}

class BuySellHoldCaptionTest : public StrategyTest {
  protected:
    BuySellHoldCaptionTest() { m_oElements->SetStartDate(LastDay()); }

    std::shared_ptr<StockViewer> m_oStocks = std::make_shared<StockViewer>();
    std::shared_ptr<ViewerElements> m_oElements = m_oStocks->ViewerElements();
};

TEST_F(BuySellHoldCaptionTest, AStockListWithRecommendationsCountsThem) {
    m_oStocks->Initialize(m_oPriGrid, m_oSecGrid);
    ASSERT_TRUE(LayoutUtilities::IsFieldInLayout("REC", m_oElements->GridLayoutDescription()));
    ASSERT_GT(RowCount(*m_oPriControl), 0);
    const std::string caption = ExpectedCaption(*m_oPriControl);
    EXPECT_EQ(m_oElements->BSHCaption(), caption);
    EXPECT_EQ(caption.find("Buys: 0 "), std::string::npos) << caption;

    m_oElements->SetBSHCaption("");
    bool noRecords = false;
    m_oStocks->Search("A", 0, 0, noRecords, m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oElements->BSHCaption(), ExpectedCaption(*m_oPriControl));
    EXPECT_EQ(Reports("GetBSHRatio"), 0u);
}

TEST_F(BuySellHoldCaptionTest, FinderResultsOfStocksOnly) {
    m_oStocks->Initialize(m_oPriGrid, m_oSecGrid);
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
                  resultType == 0 ? ExpectedCaption(*m_oPriControl) : std::string("before"))
            << resultType;
    }
    EXPECT_EQ(Reports("FinderViewer:Initialize"), 0u);
}

}  // namespace
}  // namespace qv::testing
