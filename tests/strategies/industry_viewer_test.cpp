#include "strategies/industry_viewer.h"

#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategy_test_support.h"

namespace qv::testing {
namespace {

namespace iv = facade_protocol::industry_viewer;

class IndustryViewerTest : public StrategyTest {
  protected:
    IndustryViewerTest() {
        m_oElements->SetViewerType(vt_Industries);
        m_oElements->SetStartDate(LastDay());
    }

    std::shared_ptr<IndustryViewer> m_oStrategy = std::make_shared<IndustryViewer>();
    std::shared_ptr<ViewerElements> m_oElements = m_oStrategy->ViewerElements();
};

TEST_F(IndustryViewerTest, InitializeFillsTheSectorGridBelowWithTheSectorNameFrozen) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    const std::vector<Variant> args = ArgumentsOf("IndustryViewer");
    ASSERT_EQ(args.size(), 17u);
    EXPECT_DOUBLE_EQ(args[iv::kStartDate.Position].ToDouble(), LastDay());
    EXPECT_EQ(args[iv::kListScope.Position].ToLong(), 0);
    EXPECT_EQ(m_oElements->FinderResultsType(), 1);
    EXPECT_EQ(m_oElements->GridColumns(gtSecondary), m_oSecGrid.GridColumns());
    EXPECT_GT(RowCount(*m_oSecControl), 0);
    for (const auto& [parameterId, split] : ColumnSplits(m_oSecGrid)) {
        EXPECT_EQ(split, parameterId == 36 ? 0 : 1) << parameterId;
    }
}

TEST_F(IndustryViewerTest, SectorCodeSendsScopeThreeAndTheGridsGetTheScopeReturned) {
    m_oElements->SetSectorCode(1);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    const std::vector<facade::FacadeCall> calls = m_oLog->CallsTo("IndustryViewer");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].m_aArgumentsBefore[12].ToLong(), 3);
    const int32_t returned = calls[0].m_aArgumentsAfter[12].ToLong();
    if (RowCount(*m_oPriControl) > 0) {
        EXPECT_EQ(m_oPriGrid.ListScope(), returned);
        EXPECT_EQ(m_oSecGrid.ListScope(), returned);
    }
}

TEST_F(IndustryViewerTest, RowChangeFiltersTheSectorGridOnlyWhenTheSectorChanges) {
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    ASSERT_GT(RowCount(*m_oPriControl), 0);
    m_oPriControl->SetCurrentRow(0);
    const int32_t sector =
        m_oPriControl->DataSource()->Fields().Item("sectorcode").Value().ToLong();

    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oSecControl->DataSource()->Filter().ToString(),
              "Sectorcode = " + std::to_string(sector));
    EXPECT_EQ(m_oElements->SecGridFilter().ToLong(), sector);
    EXPECT_EQ(RowCount(*m_oSecControl), 1);

    m_oSecControl->DataSource()->SetFilter("");
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oSecControl->DataSource()->Filter().ToLong(), 0);
    EXPECT_EQ(Reports("IndustryViewer:FilterSecondaryGrid"), 0u);
}

TEST_F(IndustryViewerTest, WatchListHidesTheSectorNameAndNeverFilters) {
    m_oElements->SetWatchListId(1);
    m_oStrategy->Initialize(m_oPriGrid, m_oSecGrid);
    EXPECT_EQ(m_oElements->GridLayout()->Id(), 10);
    for (const auto& column : *m_oSecGrid.GridColumns()) {
        if (column->ParameterId() == 36) {
            EXPECT_EQ(column->GridColumn_State_Setting(), csHidden);
            EXPECT_EQ(column->SplitNumber(), 1);
        } else {
            EXPECT_EQ(column->SplitNumber(), 0);
        }
    }
    m_oStrategy->FilterSecondaryGrid(m_oPriGrid, m_oSecGrid);
    EXPECT_TRUE(m_oElements->SecGridFilter().IsEmpty());
}

}  // namespace
}  // namespace qv::testing
