#include "outside/recordset_criteria.h"

#include "outside/automation_error.h"
#include "outside/recordset.h"
#include "outside/recordset_criteria_nodes.h"
#include "outside/recordset_sort.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"
#include "support/test_helpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qv {
namespace {

using ::testing::HasSubstr;

// Rows shaped like the field catalogue and the stock lists the viewers filter.
std::shared_ptr<Recordset> MakeRows() {
    auto recordset = std::make_shared<Recordset>();
    const std::tuple<const char*, DataTypeEnum, int32_t> fields[] = {
        {"Symbol", adVarChar, 10},      {"CompanyName", adVarWChar, 60},
        {"Parameter_ID", adInteger, 0}, {"Group", adInteger, 0},
        {"DataType_ID", adSmallInt, 0}, {"indcode", adInteger, 0},
        {"Sectorcode", adSmallInt, 0},  {"REC", adChar, 1},
        {"selected", adBoolean, 0},     {"Tradeid", adInteger, 0},
        {"Price", adDouble, 0},         {"Trading_Date", adDBTimeStamp, 0},
        {"Score", adVariant, 0},
    };
    for (const auto& [name, type, size] : fields) {
        recordset->Fields().Append(name, type, size);
    }
    recordset->Open();
    const Variant null = Variant::Null();
    const auto day = [](int p_iDay) { return Variant::Date(DateSerial(2026, 12, p_iDay)); };
    recordset->AddNew({"IBM", "International Business Machines", 38, 5, int16_t{1}, 12, int16_t{3},
                       "B", true, -1, 140.5, day(1), 10});
    recordset->AddNew({"ABT", "Abbott Labs", 35, 0, int16_t{12}, 7, int16_t{2}, "S", false, 4,
                       99.25, day(2), "7"});
    recordset->AddNew({"ABC", "ABC Corp", 36, -3, int16_t{3}, 12, int16_t{3}, "H", true, 0, 12.0,
                       Variant::Date(DateSerial(2026, 11, 30)), 3.5});
    recordset->AddNew({"intc", "Intel Corp", 5, 2, int16_t{2}, 12, int16_t{1}, "b", false, 17, 25.0,
                       day(3), null});
    recordset->AddNew({"MSFT", "Microsoft", 41, -1, int16_t{12}, 9, int16_t{3}, "B", true, -1,
                       300.0, day(4), "10"});
    recordset->AddNew({"NUL"});
    return recordset;
}

std::vector<std::string> ViewSymbols(Recordset& p_rRecordset) {
    std::vector<std::string> symbols;
    for (int32_t i = 0; i < p_rRecordset.ViewCount(); ++i) {
        symbols.push_back(p_rRecordset.ValueAt(p_rRecordset.ViewRowId(i), 0).ToString());
    }
    return symbols;
}

// The criteria, and the symbols of the rows they select.
using FilterCase = std::pair<const char*, std::vector<std::string>>;

class FilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, SelectsTheRowsThatMeetTheCriteria) {
    auto recordset = MakeRows();
    recordset->SetFilter(GetParam().first);
    EXPECT_EQ(ViewSymbols(*recordset), GetParam().second) << GetParam().first;
}

// Precedence, parentheses, LIKE patterns, case, Null and literals of every kind.
const FilterCase kFilters[] = {
    {"Group <> 5 and Group >= 0 or Group = -3 or DataType_ID = 12 or Parameter_ID = 35 or "
     "Parameter_ID = 36",
     {"ABT", "ABC", "intc", "MSFT"}},
    {"REC = 'B'", {"IBM", "intc", "MSFT"}},
    {"Symbol = 'IBM' or Symbol = 'msft'", {"IBM", "MSFT"}},
    {"Sectorcode >= 2.5", {"IBM", "ABC", "MSFT"}},
    {"Score = 10", {"IBM", "MSFT"}},
    {"Trading_Date = #2026-12-01#", {"IBM"}},
    {"Price >= .5", {"IBM", "ABT", "ABC", "intc", "MSFT"}},
    {"Symbol = 'IBM' or Symbol = 'ABT' and Group = 5", {"IBM"}},
    {"(Symbol = 'IBM' or Symbol = 'ABT') and Group = 0", {"ABT"}},
    {"Price > 20 and (indcode = 12 or Sectorcode = 2) and selected = false", {"ABT", "intc"}},
    {"Symbol = 'NUL' or Score > 100 or Price = Null", {"NUL"}},
    {"CompanyName LIKE '*CORP*'", {"ABC", "intc"}},
    {"Symbol like '_BC'", {"ABC"}},
    {"CompanyName Like '%o%o%'", {"MSFT"}},
    {"[Symbol] <> 'IBM'", {"ABT", "ABC", "intc", "MSFT", "NUL"}},
    {"Symbol > 'abz'", {"IBM", "intc", "MSFT", "NUL"}},
    {"Group = Null", {"NUL"}},
    {"Parameter_ID < 1e10", {"IBM", "ABT", "ABC", "intc", "MSFT"}},
    {"Parameter_ID = '38'", {"IBM"}},
    {"selected = 'False'", {"ABT", "intc"}},
    {"Score = Null", {"intc", "NUL"}},
};

INSTANTIATE_TEST_SUITE_P(Criteria, FilterTest, ::testing::ValuesIn(kFilters));

TEST(FilterValueTest, OnlyTextOrZeroOrEmptyIsTakenAndATextLiteralKeepsADoubledQuote) {
    auto recordset = MakeRows();
    for (const Variant& none : {Variant(""), Variant(int16_t{0}), Variant()}) {
        recordset->SetFilter("Parameter_ID = 38");
        recordset->SetFilter(none);
        EXPECT_EQ(recordset->Filter(), Variant(int32_t{0}));
    }
    for (const Variant& bad : {Variant(int32_t{5}), Variant(true), Variant::Null()}) {
        EXPECT_THROW(recordset->SetFilter(bad), AutomationError);
    }
    EXPECT_EQ(recordset->RecordCount(), 6);
    recordset->MoveFirst();
    recordset->SetValue("CompanyName", "O'Neil & Co");
    recordset->SetFilter("CompanyName = 'o''neil & co'");
    EXPECT_EQ(ViewSymbols(*recordset), std::vector<std::string>{"IBM"});
}

TEST(FilterValueTest, VariantFieldOfTextAndNumbersCannotCompareWithNumber) {
    auto recordset = MakeRows();
    recordset->MoveFirst();
    recordset->SetValue("Score", "abc");
    EXPECT_EQ(FailureOf([&] { recordset->SetFilter("Score = 10"); }).Number, errors::kTypeMismatch);
    EXPECT_EQ(recordset->RecordCount(), 6);
}

struct BadClause {
    bool Sort;  // the text is a sort clause, else a filter
    const char* Text;
    int32_t Number;
    const char* Where;  // expected in the description
};

class BadClauseTest : public ::testing::TestWithParam<BadClause> {};

TEST_P(BadClauseTest, RaisesNamingTextAndPositionAndKeepsState) {
    auto recordset = MakeRows();
    recordset->SetFilter("Price > 20");
    recordset->SetSort("Price DESC");
    recordset->MoveNext();
    const Variant bookmark = recordset->Bookmark();
    const Failure failure = FailureOf([&] {
        GetParam().Sort ? recordset->SetSort(GetParam().Text)
                        : recordset->SetFilter(GetParam().Text);
    });
    EXPECT_EQ(failure.Number, GetParam().Number) << failure.Description;
    EXPECT_THAT(failure.Description, HasSubstr(GetParam().Where));
    EXPECT_THAT(failure.Description, HasSubstr("\"" + std::string(GetParam().Text).substr(0, 20)));
    EXPECT_EQ(recordset->Bookmark(), bookmark);
    EXPECT_EQ(ViewSymbols(*recordset), (std::vector<std::string>{"MSFT", "IBM", "ABT", "intc"}));
}

const std::string kDeepNesting = std::string(100, '(') + "Price = 1" + std::string(100, ')');

const BadClause kBadClauses[] = {
    {false, "Parameter_ID = ", 3001, "expected a value at position 16 (end of text)"},
    {false, "Parameter_ID 38", 3001, "comparison operator at position 14, '38'"},
    {false, "Parameter = 38", 3265, "unknown field 'Parameter' at position 1"},
    {false, "Symbol = 5", 13, "field 'Symbol' at position 10, '5'"},
    {false, "Price > 'abc'", 13, "at position 9, ''abc''"},
    {false, "Symbol = 'IBM", 3001, "text not closed at position 10"},
    {false, "(Symbol = 'IBM'", 3001, "expected ')' at position 16"},
    {false, "Symbol = 'IBM')", 3001, "expected AND, OR or the end at position 15"},
    {false, "Symbol = 'IBM' and", 3001, "expected a field name at position 19"},
    {false, "Price Like 'A%'", 13, "at position 12"},
    {false, "Group < Null", 3001, "Null can only be compared"},
    {false, "Trading_Date = #13/45/2026#", 3001, "invalid date at position 16"},
    {false, "Symbol ! 'x'", 3001, "at position 8, '!'"},
    {false, "12abc = 1", 3001, "invalid token at position 1, '12abc'"},
    {false, "Price = 1e999", 3001, "number out of range at position 9"},
    {false, "[] = 1", 3001, "empty field name at position 1"},
    {false, "[Price = 1", 3001, "field name not closed at position 1"},
    {false, kDeepNesting.c_str(), 3001, "nested too deeply at position 65"},
    {true, "Price DESCENDING", 3001, "ASC, DESC, ',' or the end at position 7, 'DESCENDING'"},
    {true, "Nope ASC", 3265, "unknown field 'Nope' at position 1"},
    {true, "Price,", 3001, "expected a field name at position 7 (end of text)"},
    {true, "[Price ASC", 3001, "invalid token at position 1"},
    {true, "Price; Name", 3001, "invalid token at position 6, ';'"},
};

INSTANTIATE_TEST_SUITE_P(Malformed, BadClauseTest, ::testing::ValuesIn(kBadClauses));

TEST(LikeTest, WildcardsMatchRunsAndSingleCharacters) {
    EXPECT_TRUE(LikeMatches("abcabd", ToLowerAscii("%ab_")));
    EXPECT_TRUE(LikeMatches("", ToLowerAscii("%*%")));
    EXPECT_FALSE(LikeMatches("", ToLowerAscii("_")));
    EXPECT_TRUE(LikeMatches("Zürich", ToLowerAscii("Z_rich")));  // one character, two bytes
    // Many wildcards over a long text that fails must not take exponential time.
    EXPECT_FALSE(LikeMatches(std::string(2000, 'a'), std::string(30, '%') + "b%"));
}

TEST(LikeTest, TypedTextMatchesItselfWhenWrittenAsALiteral) {
    struct Case {
        const char* Typed;
        const char* Value;
        bool Starts;
    };
    const Case cases[] = {
        {"50%", "50% off", true},   {"50%", "500 off", false}, {"a_c", "A_C Co", true},
        {"a_c", "abc", false},      {"*", "*star", true},      {"*", "star", false},
        {"[x]", "[x] y", true},     {"[x]", "x y", false},     {"[", "[", true},
        {"o'neil", "O'Neil", true}, {"", "anything", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Typed);
        EXPECT_EQ(LikeMatches(c.Value, ToLowerAscii(LikeLiteral(c.Typed) + "%")), c.Starts);
    }
    // As criteria text: the quote is doubled inside the literal, and the recordset reads it back.
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Name", adVarChar, 20);
    rows->Open();
    rows->AddNew({Variant("O'Neil % Co")});
    rows->AddNew({Variant("O'Neil Co")});
    EXPECT_EQ(CriteriaText("O'Neil %"), "'O''Neil %'");
    rows->SetFilter(Variant("Name Like " + CriteriaText(LikeLiteral("o'neil %") + "%")));
    EXPECT_EQ(rows->RecordCount(), 1);
}

// Names are unique; prices and sequences repeat so that ties and stability show.
std::shared_ptr<Recordset> MakeSortRows() {
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

// The sort clause, and the names of the rows in the order it gives.
using SortCase = std::pair<const char*, const char*>;

class SortTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTest, OrdersTheViewStablyByEveryKey) {
    auto recordset = MakeSortRows();
    recordset->SetSort(GetParam().first);
    EXPECT_EQ(ViewNames(*recordset), GetParam().second) << GetParam().first;
}

const SortCase kSorts[] = {
    {"Sequence DESC", "r0 r4 r2 r5 r1 r3"},
    {"[Price] DESC,Symbol ASC", "r5 r1 r3 r2 r0 r4"},
    {"  [Sequence]   desc ,  [Name]  DESC ", "r4 r0 r5 r2 r3 r1"},
    {"price ASC, sequence", "r4 r2 r0 r1 r3 r5"},
    {"Flag, Name DESC", "r4 r5 r2 r0 r3 r1"},
    {"Mixed", "r4 r3 r1 r5 r2 r0"},
};

INSTANTIATE_TEST_SUITE_P(ClausesTheViewersUse, SortTest, ::testing::ValuesIn(kSorts));

TEST(SortClauseTest, SortsTheFilteredRowsAndClearsWithEmptyText) {
    auto recordset = MakeSortRows();
    recordset->SetFilter("Price >= 20");
    recordset->SetSort("Symbol DESC");
    recordset->SetFilter("Price <= 20");
    EXPECT_EQ(ViewNames(*recordset), "r0 r3 r1 r2");
    recordset->SetSort("");
    EXPECT_EQ(ViewNames(*recordset), "r0 r1 r2 r3");
}

TEST(SortRowsTest, VariantFieldWithAnArrayCannotSort) {
    auto recordset = MakeSortRows();
    recordset->MoveFirst();
    recordset->SetValue("Mixed", Variant(VariantArray::Vector({Variant(1)})));
    EXPECT_EQ(FailureOf([&] { recordset->SetSort("Mixed"); }).Number, errors::kTypeMismatch);
    EXPECT_EQ(recordset->Sort(), "");
    EXPECT_EQ(ViewNames(*recordset), "r0 r1 r2 r3 r4 r5");
}

// Enough rows for the sort to work in runs; rows 14 apart tie on both keys.
TEST(SortRowsTest, TiesKeepRowOrderAcrossManyRows) {
    auto recordset = std::make_shared<Recordset>();
    recordset->Fields().Append("Key", adInteger);
    recordset->Fields().Append("Text", adVarChar, 10);
    recordset->Open();
    for (int32_t i = 0; i < 500; ++i) {
        recordset->AddNew({Variant(i % 7), Variant(i % 2 == 0 ? "b" : "A")});
    }
    recordset->SetSort("Key DESC, Text");
    std::vector<int64_t> lastOfTie(14, -1);
    for (int32_t i = 0; i < recordset->ViewCount(); ++i) {
        const uint32_t row = recordset->ViewRowId(i);
        ASSERT_LT(lastOfTie[row % 14], static_cast<int64_t>(row)) << "view position " << i;
        lastOfTie[row % 14] = row;
    }
}

}  // namespace
}  // namespace qv
