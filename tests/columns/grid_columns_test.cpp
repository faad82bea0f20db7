#include "columns/grid_columns.h"

#include "outside/automation_error.h"
#include "outside/layout_description.h"
#include "support/error_number.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace qv {
namespace {

// Columns "F1".."Fn" with Sequence 1..n, each at grid position Sequence - 1.
std::shared_ptr<GridColumns> NumberedColumns(int32_t p_lCount) {
    auto columns = std::make_shared<GridColumns>();
    for (int32_t i = 1; i <= p_lCount; ++i) {
        columns->Add("F" + std::to_string(i), csVisible, "", i, i, 1, i - 1, "");
    }
    return columns;
}

std::vector<int32_t> Sequences(const GridColumns& p_columns) {
    std::vector<int32_t> sequences;
    for (const auto& column : p_columns) {
        sequences.push_back(column->Sequence());
    }
    return sequences;
}

TEST(GridColumnTest, ColumnWidthComesFromTheParameterId) {
    const std::pair<int32_t, int32_t> cases[] = {
        {221, 1500}, {318, 675}, {227, 0},  {35, 2500},   {36, 2129}, {1347, 1400},
        {1400, 0},   {4, 1620},  {23, 495}, {1410, 1230}, {0, 0},     {-1, 0},
    };
    for (const auto& [id, width] : cases) {
        GridColumn column;
        column.SetParameterId(id);
        EXPECT_EQ(column.ColumnWidth(), width) << "parameter id " << id;
    }
}

TEST(GridColumnsTest, AddingAnExistingFieldUpdatesThatColumn) {
    GridColumns columns;
    const auto first = columns.Add("Symbol", csAlwaysVisible, "Ticker", 4, 1, 1, 0, "Left");
    const auto again = columns.Add("SYMBOL", static_cast<ColumnState>(0), "", 40, 7, 6, 3, "");
    EXPECT_EQ(again, first);
    EXPECT_EQ(columns.Count(), 1);
    // State, caption and format stay; the numbers are the new ones.
    EXPECT_EQ(again->GridColumn_State_Setting(), csAlwaysVisible);
    EXPECT_EQ(again->Caption() + again->ColumnFormat() + again->SQLColumn(), "TickerLeftSymbol");
    EXPECT_EQ(std::vector<int32_t>({again->ParameterId(), again->Sequence(), again->TableMask(),
                                    again->TrueGridColumnNumber()}),
              std::vector<int32_t>({40, 7, 6, 3}));

    const auto unkeyed = columns.Add("", csVisible, "A", 1, 1, 1, 0, "");
    EXPECT_NE(columns.Add("", csVisible, "B", 2, 2, 1, 1, ""), unkeyed);
    EXPECT_EQ(columns.GetColumnByFieldName(""), nullptr);
    EXPECT_EQ(unkeyed->ColumnFormat(), "##0.#0");
}

TEST(GridColumnsTest, ItemAndRemoveFailAsTheRuntimeCollectionDoes) {
    GridColumns columns;
    columns.Add("Symbol", csVisible, "", 4, 1, 1, 0, "");
    EXPECT_EQ(ErrorNumberOf([&] { columns.Item("Missing"); }), errors::kInvalidProcedureCall);
    EXPECT_EQ(ErrorNumberOf([&] { columns.Item(""); }), errors::kInvalidProcedureCall);
    EXPECT_EQ(ErrorNumberOf([&] { columns.Item(0); }), errors::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { columns.Item(2); }), errors::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { columns.Remove("Missing"); }), errors::kInvalidProcedureCall);
    EXPECT_EQ(ErrorNumberOf([&] { columns.Item(Variant::Null()); }), errors::kInvalidUseOfNull);
    EXPECT_EQ(columns.Count(), 1);
}

TEST(GridColumnsTest, RemoveAndClearDropTheKeysTheColumnsWereAddedUnder) {
    GridColumns columns;
    const auto symbol = columns.Add("Symbol", csVisible, "", 4, 1, 1, 0, "");
    columns.Add("Name", csVisible, "", 5, 2, 1, 1, "");
    symbol->SetSQLColumn("Renamed");
    EXPECT_EQ(columns.Item("symbol"), symbol);
    columns.Remove(1);
    EXPECT_EQ(columns.GetColumnByFieldName("Symbol"), nullptr);
    EXPECT_EQ(columns.Item(1)->SQLColumn(), "Name");
    columns.Clear();
    EXPECT_EQ(columns.GetColumnByFieldName("Name"), nullptr);
    EXPECT_EQ(columns.GetColumnByGridPosition(1), nullptr);
}

TEST(GridColumnsTest, PertinantColumnsListsFetchedStatesInOrder) {
    GridColumns columns;
    columns.Add("Hidden", csHidden, "", 1, 1, 1, 0, "");
    EXPECT_TRUE(columns.PertinantColumns().IsEmpty());
    columns.Add("Always", csAlwaysVisible, "", 2, 2, 1, 0, "");
    columns.Add("None", static_cast<ColumnState>(0), "", 3, 3, 1, 0, "");
    columns.Add("System", csSystem, "", 4, 4, 1, 0, "");
    columns.Add("Visible", csVisible, "", 5, 5, 1, 0, "");
    EXPECT_EQ(columns.PertinantColumns(), VariantArray::Vector({"Always", "System", "Visible"}));
    EXPECT_EQ(columns.NumAlwaysVisibleCols() + columns.NumSystemCols() + columns.NumVisibleCols(),
              3);
}

TEST(GridColumnsTest, ColumnInfoIsTheColumnTableOfALayoutDescription) {
    GridColumns columns;
    EXPECT_TRUE(columns.ColumnInfo().IsEmpty());
    columns.Add("Symbol", csAlwaysVisible, "Symbol", 4, 1, 1, 0, "Left");
    columns.Add("Price", csVisible, "Price", 13, 2, 7, 1, "");
    const std::vector<LayoutColumn> table = layout_codec::ParseColumnTable(columns.ColumnInfo());
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1], (LayoutColumn{13, csVisible, "Price", "Price", 7, 2, "##0.#0"}));
}

TEST(GridColumnsTest, ColsLeftOfSplitCountsSplitZero) {
    auto columns = NumberedColumns(4);
    columns->Item(2)->SetSplitNumber(1);
    columns->Item(4)->SetSplitNumber(1);
    EXPECT_EQ(columns->ColsLeftOfSplit(), 2);
}

struct MoveCase {
    const char* Name;
    int32_t StartCol;
    int32_t EndCol;
    int32_t NewPosition;
    std::vector<int32_t> Expected;  // the new Sequence of F1..F6
};

TEST(GridColumnsTest, MoveRenumbersSequence) {
    const MoveCase cases[] = {
        {"single column left", 4, 4, 1, {1, 3, 4, 5, 2, 6}},
        {"single column right", 1, 1, 4, {1, 4, 2, 3, 5, 6}},
        {"block left", 3, 4, 0, {3, 4, 5, 1, 2, 6}},
        {"block right", 0, 1, 4, {3, 4, 1, 2, 5, 6}},
        {"no column at the drop position", 0, 0, 9, {5, 1, 2, 3, 4, 6}},
        {"onto the column after the block", 1, 1, 2, {1, 2, 3, 4, 5, 6}},
        {"onto the block itself", 2, 3, 3, {1, 2, 3, 4, 5, 6}},
        {"reversed range", 4, 2, 0, {1, 2, 3, 4, 5, 6}},
    };
    for (const MoveCase& c : cases) {
        auto columns = NumberedColumns(6);
        columns->Move(c.StartCol, c.EndCol, c.NewPosition);
        EXPECT_EQ(Sequences(*columns), c.Expected) << c.Name;
    }
}

}  // namespace
}  // namespace qv
