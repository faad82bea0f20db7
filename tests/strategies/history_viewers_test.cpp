#include <functional>

#include "columns/grid_columns.h"
#include "facade/facade_backend.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/industry_history.h"
#include "strategies/sector_history.h"
#include "strategies/stock_history.h"
#include "strategies/strategy_support.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

namespace history = facade_protocol::history;

struct HistoryCase {
    const char* m_sName;
    std::function<std::shared_ptr<ViewerFunctionality>()> m_fnCreate;
    ViewerType m_eType;
    const char* m_sMethod;
    int32_t m_lEvenRowBackColor;
    int32_t m_lResultType;
    const char* m_sTitle;
    const char* m_sLabel;
};

const std::vector<HistoryCase>& Cases() {
    static const std::vector<HistoryCase> s_aCases = {
        {"stock", [] { return std::make_shared<StockHistory>(); }, vt_StockHistory,
         "HistoryStockEX", RgbColor(233, 240, 245), 0, "Stock History Report",
         "StockHistory:Initialize"},
        {"industry", [] { return std::make_shared<IndustryHistory>(); }, vt_IndustryHistory,
         "HistoryIndustryEX", RgbColor(228, 234, 221), 1, "Industry History Report",
         "IndustryHistory:Initialize"},
        {"sector", [] { return std::make_shared<SectorHistory>(); }, vt_SectorHistory,
         "HistorySectorEX", RgbColor(255, 255, 220), 2, "Sector History Report",
         "SectorHistory:Initialize"},
    };
    return s_aCases;
}

using HistoryViewersTest = StrategyTest;

TEST_F(HistoryViewersTest, EachKindQueriesItsHistoryIntoOneGrid) {
    for (const HistoryCase& test : Cases()) {
        SCOPED_TRACE(test.m_sName);
        m_oLog->Clear();
        const std::shared_ptr<ViewerFunctionality> strategy = test.m_fnCreate();
        const std::shared_ptr<ViewerElements> elements = strategy->ViewerElements();
        PickKeys(*elements);
        elements->SetViewerType(test.m_eType);
        elements->SetStartDate(LastDay() - 20);
        elements->SetEndDate(LastDay());
        elements->SetMaxRows(-1);
        elements->SetReturnAll(true);
        m_oSecGrid.SetVisible(true);

        strategy->Initialize(m_oPriGrid, m_oSecGrid);

        const std::vector<Variant> args = ArgumentsOf(test.m_sMethod);
        ASSERT_EQ(args.size(), 8u);
        if (test.m_lResultType == 0) {
            EXPECT_EQ(args[history::kKey.Position].ToString(), elements->Symbol());
        } else {
            EXPECT_EQ(args[history::kKey.Position].Type(), Variant(int32_t{1}).Type());
        }
        EXPECT_EQ(args[history::kMaxRows.Position].ToLong(), -1);
        EXPECT_FALSE(args[history::kReturnAll.Position].ToBool());
        EXPECT_EQ(Reports(test.m_sLabel), 0u);
        EXPECT_EQ(elements->EvenRowBackColor(), test.m_lEvenRowBackColor);
        EXPECT_EQ(elements->HeadBackColor(), RgbColor(202, 202, 202));
        EXPECT_EQ(elements->FinderResultsType(), test.m_lResultType);
        EXPECT_FALSE(elements->DoubleGrid());
        EXPECT_EQ(m_oPriGrid.ReportTitle(), test.m_sTitle);
        EXPECT_EQ(m_oPriGrid.ViewerDataType(), test.m_lResultType);
        EXPECT_GT(RowCount(*m_oPriControl), 0);
        EXPECT_EQ(elements->GridColumns(gtPrimary), m_oPriGrid.GridColumns());
        for (const auto& [parameterId, split] : ColumnSplits(m_oPriGrid)) {
            EXPECT_EQ(split, parameterId == 41 ? 0 : 1) << parameterId;
        }
        EXPECT_TRUE(m_oPriGrid.Visible());
        EXPECT_FALSE(m_oSecGrid.Visible());
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
