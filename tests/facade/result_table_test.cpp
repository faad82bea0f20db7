#include "facade/result_table.h"

#include <gtest/gtest.h>

#include "facade/recordset_conversion.h"
#include "outside/automation_error.h"
#include "outside/recordset.h"
#include "support/error_number.h"

namespace qv::facade {
namespace {

ResultTable Sample() {
    ResultTable table({{"Id", FieldKind::Integer},
                       {"Name", FieldKind::Text},
                       {"Held", FieldKind::Boolean},
                       {"Day", FieldKind::Date}});
    table.AppendRow({int64_t{7}, std::string("short"), int64_t{1}, 45000.0});
    table.AppendRow({FieldValue(), std::string(60, 'x'), int64_t{0}, FieldValue()});
    return table;
}

TEST(ResultTable, BecomesARecordsetWithTheTypesAndNullsOfItsColumns) {
    std::shared_ptr<Recordset> rows = RecordsetFromTable(Sample());
    ASSERT_EQ(rows->RecordCount(), 2);
    EXPECT_EQ(rows->Fields().Item("Id").Type(), adInteger);
    EXPECT_EQ(rows->Fields().Item("Name").DefinedSize(), 60);
    EXPECT_EQ(rows->Fields().Item("Day").Type(), adDate);
    EXPECT_EQ(rows->AbsolutePosition(), 1);
    EXPECT_EQ(rows->Value("Id").ToLong(), 7);
    EXPECT_TRUE(rows->Value("Held").ToBool());
    rows->MoveNext();
    EXPECT_TRUE(rows->Value("Id").IsNull());
    EXPECT_TRUE(rows->Value("Day").IsNull());
}

TEST(ResultTable, AnIntegerBeyondThirtyTwoBitsWidensItsColumnKeepingTheRowsBefore) {
    ResultTable table = Sample();
    const int64_t big = int64_t{1} << 40;
    table.AppendRow({big, std::string("big"), int64_t{0}, 1.0});
    EXPECT_EQ(std::get<int64_t>(table.Value(0, "Id")), 7);
    EXPECT_EQ(std::get<int64_t>(table.Value(2, "id")), big);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(table.Value(1, "Id")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(table.Value(0, "NoSuchColumn")));
    std::shared_ptr<Recordset> rows = RecordsetFromTable(std::move(table));
    EXPECT_EQ(rows->Fields().Item("Id").Type(), adBigInt);
    rows->MoveLast();
    EXPECT_EQ(rows->Value("Id").ToDouble(), static_cast<double>(big));
}

TEST(RecordsetOpenOnColumns, RefusesColumnsThatDoNotMatchTheFields) {
    const auto OpenWith = [](std::vector<RowColumn> p_columns) {
        Recordset rows;
        rows.Fields().Append("Price", adDouble);
        rows.Fields().Append("Symbol", adVarChar, 10);
        return ErrorNumberOf([&] { rows.Open(std::move(p_columns)); });
    };
    RowColumn prices(ColumnKind::Double);
    prices.AppendNumber(1.5);
    EXPECT_EQ(OpenWith({prices}), errors::kArgumentsWrongType);
    EXPECT_EQ(OpenWith({prices, RowColumn(ColumnKind::Long)}), errors::kArgumentsWrongType);
    EXPECT_EQ(OpenWith({prices, RowColumn(ColumnKind::Text)}), errors::kArgumentsWrongType);
    RowColumn symbols(ColumnKind::Text);
    symbols.AppendText("IBM");
    EXPECT_EQ(OpenWith({prices, symbols}), 0);
}

}  // namespace
}  // namespace qv::facade
