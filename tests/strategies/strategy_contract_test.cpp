// What every list strategy promises its viewer, whatever its list: the same cycle (fill, a stale
// login, a facade that fails) run over each of them.
#include <cctype>
#include <functional>

#include "columns/grid_columns.h"
#include "facade/facade_backend.h"
#include "outside/error_reporter.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/industry_history.h"
#include "strategies/industry_viewer.h"
#include "strategies/sector_history.h"
#include "strategies/sector_viewer.h"
#include "strategies/stock_history.h"
#include "strategies/stock_viewer.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

struct StrategyCase {
    std::function<std::shared_ptr<ViewerFunctionality>()> m_fnCreate;
    ViewerType m_eType;
    // The error label's prefix ("<prefix>:Initialize", "<prefix>:Search"), also the case's name.
    const char* m_sLabel;
    // The facade call that fetches the rows.
    const char* m_sQuery;
    // The key columns, frozen in split 0 of the primary grid; every other column scrolls.
    std::vector<int32_t> m_aKeyParameters;
};

template <typename T>
std::shared_ptr<ViewerFunctionality> Make() {
    return std::make_shared<T>();
}

// The lists of one day come first: DayListContract runs over those three, HistoryContract over
// the rest.
const StrategyCase kCases[] = {
    {Make<StockViewer>, vt_Stocks, "StockViewer", "StockViewer", {4, 5}},
    {Make<IndustryViewer>, vt_Industries, "IndustryViewer", "IndustryViewer", {35}},
    {Make<SectorViewer>, vt_Sectors, "SectorViewer", "SectorViewer", {36}},
    {Make<StockHistory>, vt_StockHistory, "StockHistory", "HistoryStockEX", {41}},
    {Make<IndustryHistory>, vt_IndustryHistory, "IndustryHistory", "HistoryIndustryEX", {41}},
    {Make<SectorHistory>, vt_SectorHistory, "SectorHistory", "HistorySectorEX", {41}},
};

// The report title is the label in words: "StockHistory" prints as "Stock History Report".
std::string ReportTitle(std::string_view p_sLabel) {
    std::string title;
    for (char letter : p_sLabel) {
        title += std::string(std::isupper(letter) && !title.empty() ? " " : "") + letter;
    }
    return title + " Report";
}

class StrategyContract : public StrategyTest, public ::testing::WithParamInterface<StrategyCase> {
  protected:
    StrategyContract() {
        m_oElements->SetViewerType(GetParam().m_eType);
        m_oElements->SetStartDate(LastDay() - 20);
        m_oElements->SetEndDate(LastDay());
        PickKeys(*m_oElements);
    }

    std::string Label(const char* p_sMember) const {
        return std::string(GetParam().m_sLabel) + ":" + p_sMember;
    }

    std::shared_ptr<ViewerFunctionality> m_oStrategy = GetParam().m_fnCreate();
    std::shared_ptr<ViewerElements> m_oElements = m_oStrategy->ViewerElements();
};

TEST_P(StrategyContract, InitializeBindsRowsUnderTheLayoutsColumns) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(m_oPlatform.Reporter().Reports().empty());
    EXPECT_EQ(CallsTo(GetParam().m_sQuery), 1u);
    EXPECT_EQ(m_oElements->GridColumns(gtPrimary), m_oPriGrid.GridColumns());
    EXPECT_GT(RowCount(*m_oPriControl), 0);
    EXPECT_EQ(m_oSecGrid.Visible(), m_oElements->DoubleGrid());
    EXPECT_EQ(m_oPriGrid.ReportTitle(), ReportTitle(GetParam().m_sLabel));
    EXPECT_EQ(FrozenIds(m_oPriGrid), GetParam().m_aKeyParameters);
}

// The lists of one day, which check the owner's session.
using DayListContract = StrategyContract;

TEST_P(DayListContract, AStaleLoginIsToldOnceAndNothingIsShownOrStored) {
    const int32_t owner = NewOwner();
    const std::string staleCode = Backend().Login(owner, "First " + std::to_string(owner));
    Backend().Login(owner, "Second " + std::to_string(owner));
    m_oElements->SetOwnerId(owner);
    m_oElements->SetTimeCode(staleCode);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    ASSERT_EQ(m_oPlatform.Messages().Shown().size(), 1u);
    const ShownMessage& shown = m_oPlatform.Messages().Shown()[0];
    EXPECT_EQ(shown.Text,
              "It appears that another user has logged into your account.  Please log out, and log "
              "in again.");
    EXPECT_EQ(shown.Title, "Olmaris OnLine");
    EXPECT_EQ(shown.Icon, vbCritical);
    EXPECT_TRUE(m_oElements->TimeCodeFailed());
    EXPECT_EQ(m_oPriControl->DataSource(), nullptr);
}

TEST_P(StrategyContract, AFailingFacadeIsReportedUnderTheMembersLabelAndNothingEscapes) {
    BreakViewerFacade();
    bool noRecords = false;
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    m_oStrategy->Search("A", 0, 0, noRecords, m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(Reports(Label("Initialize")), 1u);
    // A list of one day searches through the facade; a history does not search.
    EXPECT_EQ(Reports(Label("Search")), GetParam().m_eType <= vt_Sectors ? 1u : 0u);
    EXPECT_EQ(m_oPriControl->DataSource(), nullptr);
}

// The histories, which send the row limit but never ask for all rows, and key a stock by its
// symbol and the others by their code.
using HistoryContract = StrategyContract;

TEST_P(HistoryContract, TheKeyAndTheRowLimitAreSentAndAnEmptyHistoryStillHasItsColumns) {
    m_oElements->SetMaxRows(-1);
    m_oElements->SetReturnAll(true);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    const std::vector<Variant> args = ArgumentsOf(GetParam().m_sQuery);
    ASSERT_EQ(args.size(), 8u);
    EXPECT_EQ(args[facade_protocol::history::kKey.Position].Type(),
              GetParam().m_eType == vt_StockHistory ? Variant("").Type() : Variant(1).Type());
    EXPECT_EQ(args[facade_protocol::history::kMaxRows.Position].ToLong(), -1);
    EXPECT_FALSE(args[facade_protocol::history::kReturnAll.Position].ToBool());
    m_oElements->SetSymbol("NOSUCHSYMBOL");
    m_oElements->SetIndCode(9999);
    m_oElements->SetSectorCode(9999);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_GT(m_oPriGrid.GridColumns()->Count(), 0);
    EXPECT_EQ(RowCount(*m_oPriControl), 0);
}

std::string CaseName(const ::testing::TestParamInfo<StrategyCase>& p_oInfo) {
    return p_oInfo.param.m_sLabel;
}

INSTANTIATE_TEST_SUITE_P(EveryList, StrategyContract, ::testing::ValuesIn(kCases), CaseName);
INSTANTIATE_TEST_SUITE_P(EveryDayList, DayListContract,
                         ::testing::ValuesIn(std::begin(kCases), std::begin(kCases) + 3), CaseName);
INSTANTIATE_TEST_SUITE_P(EveryHistory, HistoryContract,
                         ::testing::ValuesIn(std::begin(kCases) + 3, std::end(kCases)), CaseName);

}  // namespace
}  // namespace qv::testing
