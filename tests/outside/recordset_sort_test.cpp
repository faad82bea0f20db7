#include "outside/recordset_sort.h"

#include "outside/recordset.h"
#include "support/test_helpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv {
namespace {

using ::testing::HasSubstr;

// Names are unique; prices and sequences repeat so that ties and stability show.
std::shared_ptr<Recordset> MakeRows() {
    auto recordset = std::make_shared<Recordset>();
    recordset->Fields().Append("Name", adVarChar, 10);
    recordset->Fields().Append("Symbol", adVarChar, 10);
    recordset->Fields().Append("Price", adDouble);
    recordset->Fields().Append("Sequence", adInteger);
    recordset->Fields().Append("Flag", adBoolean);
    recordset->Fields().Append("Mixed", adVariant);
    recordset->Open();
    recordset->AddNew({"r0", "ibm", 10.0, 3, true, "b"});
    recordset->AddNew({"r1", "ABT", 20.0, 1, false, 5});
    recordset->AddNew({"r2", "abc", 10.0, 2, true, "A"});
    recordset->AddNew({"r3", "IBM", 20.0, 1, false, -1.5});
    recordset->AddNew({"r4", "Abd", Variant::Null(), 3, Variant::Null(), Variant::Null()});
    recordset->AddNew({"r5", "aBc", 30.0, 2, true, "10"});
    return recordset;
}

std::string ViewNames(Recordset& p_rRecordset) {
    std::string names;
    for (int32_t i = 0; i < p_rRecordset.ViewCount(); ++i) {
        names += (names.empty() ? "" : " ") +
                 p_rRecordset.ValueAt(p_rRecordset.ViewRowId(i), 0).ToString();
    }
    return names;
}

struct SortCase {
    const char* sort;
    const char* names;
};

class SortTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTest, OrdersTheViewStablyByEveryKey) {
    auto recordset = MakeRows();
    recordset->SetSort(GetParam().sort);
    EXPECT_EQ(ViewNames(*recordset), GetParam().names) << GetParam().sort;
    EXPECT_EQ(recordset->Sort(), GetParam().sort);
    EXPECT_EQ(recordset->AbsolutePosition(), 1);
}

const SortCase kSorts[] = {
    {"Sequence asc", "r1 r3 r2 r5 r0 r4"},
    {"Sequence DESC", "r0 r4 r2 r5 r1 r3"},
    {"[Price] DESC,Symbol ASC", "r5 r1 r3 r2 r0 r4"},
    {"  [Sequence]   desc ,  [Name]  DESC ", "r4 r0 r5 r2 r3 r1"},
    {"price ASC, sequence", "r4 r2 r0 r1 r3 r5"},
    {"Flag, Name DESC", "r4 r5 r2 r0 r3 r1"},
    {"Mixed", "r4 r3 r1 r5 r2 r0"},
};

INSTANTIATE_TEST_SUITE_P(ClausesTheViewersUse, SortTest, ::testing::ValuesIn(kSorts));

TEST(SortClauseTest, SortsTheFilteredRowsAndClearsWithEmptyText) {
    auto recordset = MakeRows();
    recordset->SetFilter("Price >= 20");
    recordset->SetSort("Symbol DESC");
    recordset->SetFilter("Price <= 20");
    EXPECT_EQ(ViewNames(*recordset), "r0 r3 r1 r2");
    recordset->SetSort("");
    EXPECT_EQ(ViewNames(*recordset), "r0 r1 r2 r3");
}

struct BadSort {
    const char* sort;
    int32_t number;
    const char* where;
};

class BadSortTest : public ::testing::TestWithParam<BadSort> {};

TEST_P(BadSortTest, RaisesNamingTextAndPositionAndKeepsState) {
    auto recordset = MakeRows();
    recordset->SetSort("Name DESC");
    recordset->MoveNext();
    const Failure failure = FailureOf([&] { recordset->SetSort(GetParam().sort); });
    EXPECT_EQ(failure.Number, GetParam().number) << failure.Description;
    EXPECT_THAT(failure.Description, HasSubstr(GetParam().where));
    EXPECT_THAT(failure.Description, HasSubstr("\"" + std::string(GetParam().sort) + "\""));
    EXPECT_EQ(recordset->Sort(), "Name DESC");
    EXPECT_EQ(ViewNames(*recordset), "r5 r4 r3 r2 r1 r0");
    EXPECT_EQ(recordset->Value("Name"), Variant("r4"));
}

const BadSort kBadSorts[] = {
    {"Price DESCENDING", 3001, "ASC, DESC, ',' or the end at position 7, 'DESCENDING'"},
    {"Nope ASC", 3265, "unknown field 'Nope' at position 1"},
    {"Price,", 3001, "expected a field name at position 7 (end of text)"},
    {",Price", 3001, "expected a field name at position 1, ','"},
    {"[Price ASC", 3001, "invalid token at position 1"},
    {"[] ASC", 3265, "unknown field '' at position 1"},
    {"Price; Name", 3001, "invalid token at position 6, ';'"},
};

INSTANTIATE_TEST_SUITE_P(Malformed, BadSortTest, ::testing::ValuesIn(kBadSorts));

TEST(SortRowsTest, VariantFieldWithAnArrayCannotSort) {
    auto recordset = MakeRows();
    recordset->MoveFirst();
    recordset->SetValue("Mixed", Variant(VariantArray::Vector({Variant(1)})));
    EXPECT_EQ(FailureOf([&] { recordset->SetSort("Mixed"); }).Number, errors::kTypeMismatch);
    EXPECT_EQ(recordset->Sort(), "");
    EXPECT_EQ(ViewNames(*recordset), "r0 r1 r2 r3 r4 r5");
}

TEST(SortRowsTest, TiesKeepRowOrderAcrossManyRows) {
    auto recordset = std::make_shared<Recordset>();
    recordset->Fields().Append("Key", adInteger);
    recordset->Fields().Append("Text", adVarChar, 10);
    recordset->Open();
    for (int32_t i = 0; i < 500; ++i) {
        recordset->AddNew({Variant(i % 7), Variant(i % 2 == 0 ? "b" : "A")});
    }
    recordset->SetSort("Key DESC, Text");
    for (int32_t i = 1; i < recordset->ViewCount(); ++i) {
        const uint32_t before = recordset->ViewRowId(i - 1);
        const uint32_t after = recordset->ViewRowId(i);
        const auto key = [&](uint32_t p_lRow) {
            return std::make_pair(-recordset->ValueAt(p_lRow, 0).ToLong(),
                                  recordset->ValueAt(p_lRow, 1).ToString() == "A" ? 0 : 1);
        };
        ASSERT_LE(key(before), key(after)) << "view position " << i;
        if (key(before) == key(after)) {
            ASSERT_LT(before, after) << "tie at view position " << i;
        }
    }
}

}  // namespace
}  // namespace qv
