#include "grid/grid.h"

#include "grid/grid_test_support.h"
#include "outside/error_reporter.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::shared_ptr<Recordset> Recommendations(const std::vector<const char*>& p_values) {
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Symbol", adVarChar, 10);
    rows->Fields().Append("REC", adVarChar, 1);
    rows->Open();
    int32_t index = 0;
    for (const char* value : p_values) {
        rows->AddNew({Variant("S" + std::to_string(index++)), Variant(value)});
    }
    return rows;
}

class GridBshRatioTest : public ::testing::Test, protected testing::GridFixture {};

TEST_F(GridBshRatioTest, CountsAndSharesOfTheRecommendations) {
    // No rows: every share is nothing, not a division by zero.
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"B", "H", "H", ""}, "Buys: 1 (25.0%)  Sells: 0 (0.0%)  Holds: 2 (50.0%)  Total: 4"},
        {{"B", "H", "H"}, "Buys: 1 (33.3%)  Sells: 0 (0.0%)  Holds: 2 (66.7%)  Total: 3"},
        {{}, "Buys: 0 (0.0%)  Sells: 0 (0.0%)  Holds: 0 (0.0%)  Total: 0"}};
    for (const auto& [values, caption] : cases) {
        m_control->SetDataSource(Recommendations(values));
        EXPECT_EQ(m_grid->GetBSHRatio(), caption);
    }
    EXPECT_EQ(m_platform.Reporter().CountReports("GetBSHRatio"), 0u);
}

TEST_F(GridBshRatioTest, TheGridKeepsItsRowsFilterAndCurrentRow) {
    const std::shared_ptr<Recordset> rows = Recommendations({"B", "S", "H", "B", "H"});
    rows->SetFilter(Variant("REC <> 'S'"));
    rows->MoveLast();
    m_control->SetDataSource(rows);
    EXPECT_EQ(m_grid->GetBSHRatio(),
              "Buys: 2 (40.0%)  Sells: 1 (20.0%)  Holds: 2 (40.0%)  Total: 5");
    EXPECT_EQ(rows->RecordCount(), 4);
    EXPECT_EQ(rows->Fields().Item("Symbol").Value().ToString(), "S4");
}

TEST_F(GridBshRatioTest, WithoutRowsOrRecommendationsTheFailureIsReported) {
    EXPECT_EQ(m_grid->GetBSHRatio(), "");
    auto noRec = std::make_shared<Recordset>();
    noRec->Fields().Append("Symbol", adVarChar, 10);
    noRec->Open();
    m_control->SetDataSource(noRec);
    EXPECT_EQ(m_grid->GetBSHRatio(), "");
    EXPECT_EQ(m_platform.Reporter().CountReports("GetBSHRatio"), 2u);
}

}  // namespace
}  // namespace qv
