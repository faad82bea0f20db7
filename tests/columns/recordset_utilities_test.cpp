#include "columns/recordset_utilities.h"

#include "outside/error_reporter.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace qv {
namespace {

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

TEST(RecordsetUtilitiesTest, FieldExistsComparesWithoutCase) {
    EXPECT_TRUE(RecordsetUtilities::FieldExists(Stocks({}), "SYMBOL"));
    EXPECT_FALSE(RecordsetUtilities::FieldExists(Stocks({}), "Name"));
    EXPECT_FALSE(RecordsetUtilities::FieldExists(nullptr, "Symbol"));
}

TEST(RecordsetUtilitiesTest, CopyRecordsetStructureKeepsOnlyTheNullableAttribute) {
    ScopedTestPlatform platform;
    const auto copy = RecordsetUtilities::CopyRecordsetStructure(Stocks({{"A", 1}}));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->State(), adStateClosed);
    EXPECT_EQ(copy->CursorLocation(), adUseClient);
    const Field& price = copy->Fields().Item("Price");
    EXPECT_EQ(std::make_tuple(price.Type(), price.DefinedSize(), price.Attributes(),
                              price.Precision(), price.NumericScale()),
              std::make_tuple(adNumeric, 19, adFldIsNullable, 12, 4));
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

}  // namespace
}  // namespace qv
