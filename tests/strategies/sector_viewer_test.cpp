#include "strategies/sector_viewer.h"

#include "columns/grid_columns.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

namespace sc = facade_protocol::sector_viewer;

class SectorViewerTest : public StrategyTest {
  protected:
    SectorViewerTest() {
        m_oElements->SetViewerType(vt_Sectors);
        m_oElements->SetStartDate(LastDay());
    }

    std::shared_ptr<SectorViewer> m_oStrategy = std::make_shared<SectorViewer>();
    std::shared_ptr<ViewerElements> m_oElements = m_oStrategy->ViewerElements();
};

TEST_F(SectorViewerTest, InitializeShowsTheSectorsInOneGridWithTheirTotal) {
    const int32_t owner = NewOwner();
    m_oElements->SetOwnerId(owner);
    m_oElements->SetTimeCode("");
    m_oElements->SetMaxRows(-1);
    m_oSecGrid.SetVisible(true);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);

    const std::vector<Variant> args = ArgumentsOf("SectorViewer");
    ASSERT_EQ(args.size(), 11u);
    EXPECT_EQ(args[sc::kOwnerId.Position].ToLong(), owner);
    EXPECT_DOUBLE_EQ(args[sc::kStartDate.Position].ToDouble(), LastDay());
    EXPECT_EQ(args[sc::kAvgType.Position].ToString(), m_oElements->AvgType());

    EXPECT_EQ(Reports("SectorViewer:Initialize"), 0u);
    EXPECT_EQ(m_oElements->FinderResultsType(), 2);
    EXPECT_FALSE(m_oSecControl->AllowColMove());
    ASSERT_GT(RowCount(*m_oPriControl), 0);
    EXPECT_EQ(m_oElements->BSHCaption(), "Total: " + std::to_string(RowCount(*m_oPriControl)));
    EXPECT_NE(m_oElements->ParameterList(), nullptr);
    const auto secondary = m_oElements->GridColumns(gtSecondary);
    EXPECT_TRUE(!secondary || secondary->Count() == 0);
    EXPECT_FALSE(m_oSecGrid.Visible());
}

TEST_F(SectorViewerTest, LimitsSentAndTakenBack) {
    struct Case {
        int32_t m_lMaxRows;
        bool m_bReturnAll;
        int32_t m_lSentLimit;
        bool m_bSentReturnAll;
    };
    for (const Case& test :
         {Case{-1, true, -1, false}, Case{5, true, 5, true}, Case{4, false, 4, false}}) {
        m_oLog->Clear();
        m_oElements->SetMaxRows(test.m_lMaxRows);
        m_oElements->SetReturnAll(test.m_bReturnAll);
        m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
        const std::vector<facade::FacadeCall> calls = m_oLog->CallsTo("SectorViewer");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].m_aArgumentsBefore[2].ToLong(), test.m_lSentLimit);
        EXPECT_EQ(calls[0].m_aArgumentsBefore[3].ToBool(), test.m_bSentReturnAll);
        EXPECT_EQ(m_oElements->MaxRows(), calls[0].m_aArgumentsAfter[2].ToLong());
        EXPECT_EQ(m_oElements->ReturnAll(), calls[0].m_aArgumentsAfter[3].ToBool());
    }
}

TEST_F(SectorViewerTest, SearchWithoutMatchesChangesNothing) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    const std::string caption = m_oElements->BSHCaption();
    const auto rows = m_oPriControl->DataSource();
    bool noRecords = false;
    m_oStrategy->Search("no such sector at all", 0, 0, noRecords, m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(noRecords);
    EXPECT_EQ(m_oPriControl->DataSource(), rows);
    EXPECT_EQ(m_oElements->BSHCaption(), caption);
    EXPECT_EQ(ArgumentsOf("SearchSector").at(facade_protocol::search_sector::kSearchText.Position),
              Variant("no such sector at all"));
}

}  // namespace
}  // namespace qv::testing
