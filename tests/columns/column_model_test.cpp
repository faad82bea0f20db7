#include "columns/layout_utilities.h"

#include "columns/column_state.h"
#include "columns/column_utilities.h"
#include "columns/field_catalogue_fixture.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "columns/recordset_utilities.h"
#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/layout_description.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "support/error_number.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

using testing::MakeCatalogue;

LayoutDescription Description(std::vector<LayoutColumn> p_columns = {}) {
    return {LayoutHeader{}, std::nullopt, std::move(p_columns)};
}

// The chosen fields as the column-selection dialog returns them.
Variant Chosen(const std::vector<int32_t>& p_ids) {
    VariantArray chosen = VariantArray::Table(static_cast<int32_t>(p_ids.size()), 2);
    for (size_t i = 0; i < p_ids.size(); ++i) {
        chosen.At(static_cast<int32_t>(i), 0) = p_ids[i];
        chosen.At(static_cast<int32_t>(i), 1) = "caption";
    }
    return chosen;
}

std::vector<int32_t> Ids(const LayoutDescription& p_layout) {
    std::vector<int32_t> ids;
    for (const auto& entry : p_layout.Columns) {
        ids.push_back(entry.ParameterId);
    }
    return ids;
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsAddsKeyAndSystemColumnsByViewerType) {
    // Each row: viewer type, finder results type, the parameter ids of the layout built.
    const std::tuple<ViewerType, int32_t, std::vector<int32_t>> cases[] = {
        {vt_Stocks, 0, {4, 5, 13, 1418, 38, 39, 37}},
        {vt_Industries, 0, {35, 13, 38, 39}},
        {vt_Sectors, 0, {36, 13, 39}},
        {vt_StockHistory, 0, {41, 5, 13, 1418, 38, 39}},
        {vt_IndustryHistory, 0, {41, 13, 1418, 38, 39, 35}},
        {vt_SectorHistory, 0, {41, 13, 39, 36}},
        {vt_FinderResults, 0, {4, 5, 13, 1418, 38, 39}},
        {vt_FinderResults, 1, {35, 13, 38, 39}},
        {vt_FinderResults, 2, {36, 13, 39}},
        {vt_FinderResults, 4, {13}},
        {vt_Portfolio, 0, {4, 5, 13, 1418, 38, 39, 237, 1483, 1393}},
        {vt_BuyFromSearch, 0, {13}},
        {vt_Stocks_Print, 0, {13}},
    };
    for (const auto& [type, finderType, expected] : cases) {
        LayoutDescription description = Description();
        LayoutUtilities::BuildLayoutColumns(description, MakeCatalogue(), Chosen({13}), type,
                                            finderType);
        EXPECT_EQ(Ids(description), expected)
            << "viewer type " << type << ", finder " << finderType;
    }
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsNumbersEntriesWithoutGaps) {
    auto catalogue = MakeCatalogue();
    LayoutDescription description = Description();
    LayoutUtilities::BuildLayoutColumns(description, catalogue, Chosen({14, 999, 38, 13}),
                                        vt_Stocks, 0);
    const auto& entries = description.Columns;
    ASSERT_EQ(entries.size(), 8u);
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].Sequence, static_cast<int32_t>(i) + 1);
    }
    // Chosen fields are shown with the catalogue's format as it stands; key columns trimmed. A
    // chosen field that is also a system column of the list is kept once, as a system column.
    EXPECT_EQ(entries[0].ColumnFormat, "Left");
    EXPECT_EQ(entries[2], (LayoutColumn{14, csVisible, "Volume", "Volume", 7, 3, " #,##0 "}));
    EXPECT_EQ(entries[3].State, csSystem);
    EXPECT_EQ(entries.back(),
              (LayoutColumn{37, csAlwaysVisible, "RTRanking", "RT Ranking", 6, 8, "0"}));
    EXPECT_EQ(catalogue->Filter(), Variant(0));
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsDoesNothingWithoutCatalogueOrChoice) {
    const std::vector<LayoutColumn> table(1);
    const std::pair<std::shared_ptr<Recordset>, Variant> cases[] = {
        {nullptr, Chosen({13})},
        {std::make_shared<Recordset>(), Chosen({13})},
        {MakeCatalogue(false), Chosen({13})},
        {MakeCatalogue(), Variant::Null()}};
    for (const auto& [catalogue, chosen] : cases) {
        LayoutDescription description = Description(table);
        LayoutUtilities::BuildLayoutColumns(description, catalogue, chosen, vt_Stocks, 0);
        EXPECT_EQ(description.Columns, table);
    }
}

TEST(LayoutUtilitiesTest, BuildLayoutColumnsRejectsMalformedChoices) {
    VariantArray textId = VariantArray::Table(1, 1);
    textId.At(0, 0) = "Price";
    const std::pair<Variant, int32_t> cases[] = {
        {Variant(), errors::kTypeMismatch},
        {VariantArray::Vector({13}), errors::kSubscriptOutOfRange},
        {textId, errors::kTypeMismatch},
    };
    for (const auto& [chosen, number] : cases) {
        LayoutDescription description = Description();
        auto catalogue = MakeCatalogue();
        EXPECT_EQ(ErrorNumberOf([&] {
                      LayoutUtilities::BuildLayoutColumns(description, catalogue, chosen, vt_Stocks,
                                                          0);
                  }),
                  number);
        EXPECT_EQ(description, Description());
        EXPECT_EQ(catalogue->Filter(), Variant(0));
    }
}

TEST(LayoutUtilitiesTest, GrowColumnTableKeepsEntriesAndStartsEmptyTables) {
    std::vector<LayoutColumn> table;
    LayoutUtilities::GrowColumnTable(table, 0);
    table[0].SQLColumn = "Symbol";
    LayoutUtilities::GrowColumnTable(table, 3);
    EXPECT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0].SQLColumn, "Symbol");
    EXPECT_EQ(ErrorNumberOf([&] { LayoutUtilities::GrowColumnTable(table, -2); }),
              errors::kSubscriptOutOfRange);
    EXPECT_EQ(table.size(), 4u);
}

TEST(LayoutUtilitiesTest, IsFieldInLayoutComparesWithoutCase) {
    std::vector<LayoutColumn> table(1);
    table[0].SQLColumn = "REC";
    EXPECT_TRUE(LayoutUtilities::IsFieldInLayout("rec", Description(table)));
    EXPECT_FALSE(LayoutUtilities::IsFieldInLayout("Price", Description(table)));
}

TEST(GridLayoutTest, LayoutInfoReadsBackWhatWasWrittenWithIdsAndTextsConverted) {
    GridLayout layout;
    layout.SetLayoutInfo(VariantArray::Vector({"7", 3.0, 2.5, "0", true}));
    EXPECT_EQ(layout.LayoutInfo().Array(), VariantArray::Vector({7, "3", "2.5", 0, -1}));
}

TEST(GridLayoutTest, MalformedLayoutInfoFailsAndChangesNothing) {
    const std::pair<Variant, int32_t> cases[] = {
        {"7", errors::kTypeMismatch},
        {VariantArray::Vector({1, "a", "b", 0}), errors::kSubscriptOutOfRange},
        {VariantArray::Table(5, 1), errors::kSubscriptOutOfRange},
        {VariantArray::Vector({"seven", "a", "", 0, 0}), errors::kTypeMismatch},
        {VariantArray::Vector({1, Variant::Null(), "", 0, 0}), errors::kInvalidUseOfNull},
        {VariantArray::Vector({1, "a", "", 0, 1e12}), errors::kOverflow},
    };
    for (const auto& [info, number] : cases) {
        GridLayout layout;
        layout.SetLayoutInfo(VariantArray::Vector({3, "Kept", "d", 1, 2}));
        EXPECT_EQ(ErrorNumberOf([&] { layout.SetLayoutInfo(info); }), number);
        EXPECT_EQ(layout.LayoutInfo().Array(), VariantArray::Vector({3, "Kept", "d", 1, 2}));
    }
}

constexpr const char* kAddFieldLabel = "ColumnUtilities: AddFieldToLayout";

TEST(ColumnUtilitiesTest, AddFieldToLayoutAppendsOrOnlyUpdatesTheState) {
    ScopedTestPlatform platform;
    std::vector<LayoutColumn> table;
    EXPECT_TRUE(ColumnUtilities::AddFieldToLayout(table, 13, csVisible, "Price", "Price", 1, "0"));
    EXPECT_FALSE(ColumnUtilities::AddFieldToLayout(table, 13, csHidden, "Other", "Other", 1, ""));
    EXPECT_EQ(table, (std::vector<LayoutColumn>{{13, csHidden, "Price", "Price", 1, 1, "0"}}));
    EXPECT_TRUE(ColumnUtilities::AddFieldToLayout(table, 13, csVisible, "Price", "Price", 2, "0"));
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(platform.Reporter().CountCalls(kAddFieldLabel), 3u);
}

TEST(ColumnUtilitiesTest, AddCatalogueFieldTakesTheRowAndClearsTheFilter) {
    ScopedTestPlatform platform;
    auto catalogue = testing::MakeCatalogue();
    std::vector<LayoutColumn> table;
    ColumnUtilities::AddCatalogueField(table, csAlwaysVisible, catalogue, 4);
    ColumnUtilities::AddCatalogueField(table, csSystem, catalogue, 999);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].ColumnFormat, "Left");
    EXPECT_EQ(catalogue->Filter(), Variant(0));
    EXPECT_THROW(ColumnUtilities::AddCatalogueField(table, csSystem, nullptr, 4), AutomationError);

    // A row whose table mask is text cannot be read; the filter is cleared all the same.
    auto unreadable = std::make_shared<Recordset>();
    unreadable->Fields().Append("parameter_id", adInteger);
    for (const char* name : {"column_name", "caption", "table_mask", "Column_Format"}) {
        unreadable->Fields().Append(name, adVarChar, 20);
    }
    unreadable->Open();
    unreadable->AddNew({4, "Symbol", "Symbol", "all tables", "Left"});
    EXPECT_THROW(ColumnUtilities::AddCatalogueField(table, csSystem, unreadable, 4),
                 AutomationError);
    EXPECT_EQ(unreadable->Filter(), Variant(0));
    EXPECT_EQ(table.size(), 1u);
}

TEST(ColumnUtilitiesTest, TableSelectListTakesTheColumnsOfOneTable) {
    std::vector<LayoutColumn> table = {{0, 0, "Symbol", "", 1, 0, ""},
                                       {0, 0, "IndName", "", 3, 0, ""},
                                       {0, 0, "SecName", "", 4, 0, ""}};
    const LayoutDescription description = Description(table);
    EXPECT_EQ(ColumnUtilities::TableSelectList(description, 0).Array(),
              VariantArray::Vector({"Symbol as [Symbol]", "IndName as [IndName]"}));
    for (int32_t bit : {3, -1, 64}) {
        EXPECT_EQ(ColumnUtilities::TableSelectList(description, bit).Array().UBound(1), -1) << bit;
    }
}

std::shared_ptr<Recordset> DataWithFields(std::initializer_list<const char*> p_names) {
    auto data = std::make_shared<Recordset>();
    for (const char* name : p_names) {
        data->Fields().Append(name, adVarChar, 20);
    }
    data->Open();
    return data;
}

TEST(ColumnUtilitiesTest, ExportColumnListTakesShownExportColumnsInSequenceOrder) {
    GridColumns columns;
    columns.Add("Symbol", csAlwaysVisible, "Symbol", 4, 2, 1, 0, "");
    columns.Add("Price", csVisible, "Price", 13, 1, 1, 1, "");
    columns.Add("Volume", csHidden, "Volume", 14, 3, 1, 2, "");
    columns.Add("REC", csSystem, "Rec", 1418, 4, 1, 3, "");
    columns.Add("Missing", csVisible, "Missing", 15, 5, 1, 4, "");
    const auto data = DataWithFields({"SYMBOL", "Price", "Volume", "REC"});
    const Variant exported =
        ColumnUtilities::ExportColumnList(RecordsetUtilities::NewClientRecordset(), columns, data);
    const VariantArray& table = exported.Array();
    ASSERT_EQ(table.UBound(1) * 10 + table.UBound(2), 21);
    EXPECT_EQ(table.At(0, 0), Variant(13));
    EXPECT_EQ(table.At(2, 1), Variant("Symbol"));

    GridColumns hidden;
    hidden.Add("Volume", csHidden, "Volume", 14, 1, 1, 0, "");
    const auto list = RecordsetUtilities::NewClientRecordset();
    EXPECT_TRUE(ColumnUtilities::ExportColumnList(list, hidden, data).IsEmpty());
}

std::shared_ptr<Recordset> Stocks(std::initializer_list<std::pair<const char*, double>> p_rows) {
    auto stocks = std::make_shared<Recordset>();
    Field& price = stocks->Fields().Append("Price", adNumeric, 19, adFldIsNullable | adFldFixed);
    price.SetPrecision(12);
    price.SetNumericScale(4);
    stocks->Fields().Append("Symbol", adVarChar, 10, adFldUpdatable);
    stocks->Open();
    for (const auto& [symbol, value] : p_rows) {
        stocks->AddNew({value, symbol});
    }
    return stocks;
}

std::vector<std::string> Symbols(Recordset& p_rRecordset) {
    std::vector<std::string> symbols;
    for (p_rRecordset.MoveFirst(); !p_rRecordset.IsEOF(); p_rRecordset.MoveNext()) {
        symbols.push_back(p_rRecordset.Value("symbol").ToString());
    }
    return symbols;
}

TEST(RecordsetUtilitiesTest, CopyRecordsetStructureKeepsOnlyTheNullableAttribute) {
    ScopedTestPlatform platform;
    const auto copy = RecordsetUtilities::CopyRecordsetStructure(Stocks({{"A", 1}}));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->State(), adStateClosed);
    EXPECT_EQ(copy->CursorLocation(), adUseClient);
    const Field& price = copy->Fields().Item("Price");
    EXPECT_EQ(std::make_tuple(price.Attributes(), price.Precision(), price.NumericScale()),
              std::make_tuple(adFldIsNullable, 12, 4));
    EXPECT_EQ(copy->Fields().Item(1).Attributes(), 0);
    EXPECT_EQ(RecordsetUtilities::CopyRecordsetStructure(nullptr), nullptr);
}

TEST(RecordsetUtilitiesTest, CopyRecordsetCopiesTheRowsOfTheViewAndLeavesTheSourceAtItsEnd) {
    ScopedTestPlatform platform;
    const auto stocks = Stocks({{"A", 1}, {"B", 2}, {"C", 3}});
    stocks->SetFilter("Price > 1");
    stocks->SetSort("Price DESC");
    const auto copy = RecordsetUtilities::CopyRecordset(stocks);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(stocks->IsEOF());
    EXPECT_EQ(Symbols(*copy), (std::vector<std::string>{"C", "B"}));
    EXPECT_EQ(platform.Reporter().CountCalls("StrategyModule: CopyRecordset"), 1u);

    // A source without rows, open or closed, gives an open, empty copy.
    auto closed = std::make_shared<Recordset>();
    closed->Fields().Append("Symbol", adVarChar, 10);
    for (const auto& source : {Stocks({}), closed}) {
        const auto empty = RecordsetUtilities::CopyRecordset(source);
        ASSERT_NE(empty, nullptr);
        EXPECT_EQ(empty->State(), adStateOpen);
        EXPECT_EQ(empty->Fields().Count(), source->Fields().Count());
    }
    EXPECT_EQ(RecordsetUtilities::CopyRecordset(nullptr), nullptr);
}

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
    EXPECT_EQ(ErrorNumberOf([&] { columns.Item(0); }), errors::kSubscriptOutOfRange);
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

// Each row: name, first and last column moved, drop position, the new Sequence of F1..F6.
TEST(GridColumnsTest, MoveRenumbersSequence) {
    const std::tuple<const char*, int32_t, int32_t, int32_t, std::vector<int32_t>> cases[] = {
        {"single column left", 4, 4, 1, {1, 3, 4, 5, 2, 6}},
        {"single column right", 1, 1, 4, {1, 4, 2, 3, 5, 6}},
        {"block left", 3, 4, 0, {3, 4, 5, 1, 2, 6}},
        {"block right", 0, 1, 4, {3, 4, 1, 2, 5, 6}},
        {"no column at the drop position", 0, 0, 9, {5, 1, 2, 3, 4, 6}},
        {"onto the column after the block", 1, 1, 2, {1, 2, 3, 4, 5, 6}},
        {"onto the block itself", 2, 3, 3, {1, 2, 3, 4, 5, 6}},
        {"reversed range", 4, 2, 0, {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& [name, start, end, position, expected] : cases) {
        auto columns = NumberedColumns(6);
        columns->Move(start, end, position);
        EXPECT_EQ(Sequences(*columns), expected) << name;
    }
}

}  // namespace
}  // namespace qv
