#include "columns/column_utilities.h"

#include "columns/field_catalogue_fixture.h"
#include "columns/grid_columns.h"
#include "columns/recordset_utilities.h"
#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/scripted_services.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

constexpr const char* kAddFieldLabel = "ColumnUtilities: AddFieldToLayout";

LayoutDescription Description(std::vector<LayoutColumn> p_columns) {
    return {LayoutHeader{}, std::nullopt, std::move(p_columns)};
}

TEST(ColumnUtilitiesTest, AddFieldToLayoutAppendsOrOnlyUpdatesTheState) {
    ScopedTestPlatform platform;
    std::vector<LayoutColumn> table;

    EXPECT_TRUE(ColumnUtilities::AddFieldToLayout(table, 13, csVisible, "Price", "Price", 1, "0"));
    EXPECT_EQ(table[0].Sequence, 1);

    EXPECT_FALSE(ColumnUtilities::AddFieldToLayout(table, 13, csHidden, "Other", "Other", 1, ""));
    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].State, csHidden);
    EXPECT_EQ(table[0].SQLColumn, "Price");

    EXPECT_TRUE(ColumnUtilities::AddFieldToLayout(table, 13, csVisible, "Price", "Price", 2, "0"));
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].Sequence, 2);
    EXPECT_EQ(platform.Reporter().CountCalls(kAddFieldLabel), 3u);
    EXPECT_EQ(platform.Reporter().CountReports(kAddFieldLabel), 0u);
}

TEST(ColumnUtilitiesTest, AddCatalogueFieldTakesTheRowAndClearsTheFilter) {
    ScopedTestPlatform platform;
    auto catalogue = testing::MakeCatalogue();
    std::vector<LayoutColumn> table;

    ColumnUtilities::AddCatalogueField(table, csAlwaysVisible, catalogue, 4);
    ColumnUtilities::AddCatalogueField(table, csSystem, catalogue, 999);

    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].SQLColumn, "Symbol");
    EXPECT_EQ(table[0].ColumnFormat, "Left");
    EXPECT_EQ(catalogue->Filter(), Variant(0));
    EXPECT_THROW(ColumnUtilities::AddCatalogueField(table, csSystem, nullptr, 4), AutomationError);
}

TEST(ColumnUtilitiesTest, AddCatalogueFieldClearsTheFilterWhenTheRowIsUnreadable) {
    auto catalogue = std::make_shared<Recordset>();
    catalogue->Fields().Append("parameter_id", adInteger);
    catalogue->Fields().Append("column_name", adVarChar, 20);
    catalogue->Fields().Append("caption", adVarChar, 20);
    catalogue->Fields().Append("table_mask", adVarChar, 20);
    catalogue->Fields().Append("Column_Format", adVarChar, 20);
    catalogue->Open();
    catalogue->AddNew({4, "Symbol", "Symbol", "all tables", "Left"});
    std::vector<LayoutColumn> table;

    EXPECT_THROW(ColumnUtilities::AddCatalogueField(table, csSystem, catalogue, 4),
                 AutomationError);
    EXPECT_EQ(catalogue->Filter(), Variant(0));
    EXPECT_TRUE(table.empty());
}

TEST(ColumnUtilitiesTest, TableSelectListTakesTheColumnsOfOneTable) {
    std::vector<LayoutColumn> table(3);
    const std::pair<const char*, int32_t> columns[] = {
        {"Symbol", 1}, {"IndName", 3}, {"SecName", 4}};
    for (size_t i = 0; i < 3; ++i) {
        table[i].SQLColumn = columns[i].first;
        table[i].TableMask = columns[i].second;
    }
    const LayoutDescription description = Description(table);

    EXPECT_EQ(ColumnUtilities::TableSelectList(description, 1).Array(),
              VariantArray::Vector({Variant("IndName as [IndName]")}));
    EXPECT_EQ(
        ColumnUtilities::TableSelectList(description, 0).Array(),
        VariantArray::Vector({Variant("Symbol as [Symbol]"), Variant("IndName as [IndName]")}));
    for (int32_t bit : {3, 31, -1, 64}) {
        const Variant list = ColumnUtilities::TableSelectList(description, bit);
        EXPECT_EQ(list.Array().UBound(1), -1) << "bit " << bit;
    }
    EXPECT_EQ(ColumnUtilities::TableSelectList(Description({}), 0).Array().UBound(1), -1);
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
    const auto list = RecordsetUtilities::NewClientRecordset();

    const Variant exported = ColumnUtilities::ExportColumnList(list, columns, data);

    ASSERT_TRUE(exported.IsArray());
    const VariantArray& table = exported.Array();
    EXPECT_EQ(table.UBound(1), 2);
    ASSERT_EQ(table.UBound(2), 1);
    EXPECT_EQ(table.At(0, 0), Variant(13));
    EXPECT_EQ(table.At(1, 0), Variant("Price"));
    EXPECT_EQ(table.At(2, 1), Variant("Symbol"));
    list->SetFilter("");
    EXPECT_EQ(list->RecordCount(), 3);
}

TEST(ColumnUtilitiesTest, ExportColumnListIsEmptyWhenNothingIsShown) {
    GridColumns columns;
    columns.Add("Volume", csHidden, "Volume", 14, 1, 1, 0, "");
    const Variant exported = ColumnUtilities::ExportColumnList(
        RecordsetUtilities::NewClientRecordset(), columns, DataWithFields({"Volume"}));
    EXPECT_TRUE(exported.IsEmpty());
    EXPECT_TRUE(ColumnUtilities::ExportColumnList(RecordsetUtilities::NewClientRecordset(), columns,
                                                  nullptr)
                    .IsEmpty());
}

}  // namespace
}  // namespace qv
