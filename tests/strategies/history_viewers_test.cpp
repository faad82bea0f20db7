#include <functional>

#include "columns/grid_columns.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/industry_history.h"
#include "strategies/sector_history.h"
#include "strategies/stock_history.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

namespace history = facade_protocol::history;

struct HistoryCase {
    const char* m_sName;
    std::function<std::shared_ptr<ViewerFunctionality>()> m_fnCreate;
    const char* m_sMethod;
    // A stock's history is asked for by symbol, the others by their numeric code.
    bool m_bBySymbol;
};

using HistoryViewersTest = StrategyTest;

TEST_F(HistoryViewersTest, EachKindAsksForItsKeyWithTheRowLimitButNeverForAll) {
    const HistoryCase cases[] = {
        {"stock", [] { return std::make_shared<StockHistory>(); }, "HistoryStockEX", true},
        {"industry", [] { return std::make_shared<IndustryHistory>(); }, "HistoryIndustryEX",
         false},
        {"sector", [] { return std::make_shared<SectorHistory>(); }, "HistorySectorEX", false},
    };
    for (const HistoryCase& test : cases) {
        SCOPED_TRACE(test.m_sName);
        m_oLog->Clear();
        const std::shared_ptr<ViewerFunctionality> strategy = test.m_fnCreate();
        const std::shared_ptr<ViewerElements> elements = strategy->ViewerElements();
        PickKeys(*elements);
        elements->SetStartDate(LastDay() - 20);
        elements->SetEndDate(LastDay());
        elements->SetMaxRows(-1);
        elements->SetReturnAll(true);
        strategy->Initialize(m_oPriGrid, m_oSecGrid);

        const std::vector<Variant> args = ArgumentsOf(test.m_sMethod);
        ASSERT_EQ(args.size(), 8u);
        if (test.m_bBySymbol) {
            EXPECT_EQ(args[history::kKey.Position].ToString(), elements->Symbol());
        } else {
            EXPECT_EQ(args[history::kKey.Position].Type(), Variant(int32_t{1}).Type());
        }
        EXPECT_EQ(args[history::kMaxRows.Position].ToLong(), -1);
        EXPECT_FALSE(args[history::kReturnAll.Position].ToBool());
        EXPECT_EQ(ReportCount(), 0u);
    }
}

TEST_F(HistoryViewersTest, EmptyHistoryStillBuildsTheColumnsAndBindsTheEmptyRows) {
    StockHistory strategy;
    const std::shared_ptr<ViewerElements> elements = strategy.ViewerElements();
    elements->SetSymbol("NOSUCHSYMBOL");
    elements->SetStartDate(LastDay() - 5);
    elements->SetEndDate(LastDay());
    strategy.Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(ReportCount(), 0u);
    EXPECT_GT(m_oPriGrid.GridColumns()->Count(), 0);
    EXPECT_EQ(RowCount(*m_oPriControl), 0);
}

}  // namespace
}  // namespace qv::testing
