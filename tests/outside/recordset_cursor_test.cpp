#include "outside/recordset.h"

#include "outside/automation_error.h"
#include "support/error_number.h"
#include "support/test_helpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace qv {
namespace {

using ::testing::HasSubstr;

std::shared_ptr<Recordset> MakeStocks(std::vector<std::string> p_symbols) {
    auto recordset = std::make_shared<Recordset>();
    recordset->Fields().Append("Symbol", adVarChar, 10);
    recordset->Fields().Append("CompanyName", adVarChar, 50);
    recordset->Fields().Append("IndCode", adInteger);
    recordset->Open();
    int32_t code = 0;
    for (const std::string& symbol : p_symbols) {
        recordset->AddNew({symbol, symbol + " Corp", code++ % 3 == 0 ? 12 : 7});
    }
    if (recordset->RecordCount() > 0) {
        recordset->MoveFirst();
    }
    return recordset;
}

std::string Current(const Recordset& p_rRecordset) {
    return p_rRecordset.Value("Symbol").ToString();
}

TEST(RecordsetCursorTest, MovesStopAtBofAndEofAndFailBeyondOrOnAnEmptyRecordset) {
    auto recordset = MakeStocks({});
    EXPECT_TRUE(recordset->IsBOF() && recordset->IsEOF());
    EXPECT_EQ(recordset->AbsolutePosition(), adPosUnknown);
    for (auto move : {&Recordset::MoveFirst, &Recordset::MoveLast, &Recordset::MoveNext,
                      &Recordset::MovePrevious}) {
        EXPECT_EQ(ErrorNumberOf([&] { (recordset.get()->*move)(); }), errors::kNoCurrentRecord);
    }
    EXPECT_EQ(ErrorNumberOf([&] { recordset->Move(1); }), errors::kNoCurrentRecord);
    auto three = MakeStocks({"A", "B", "C"});
    three->MovePrevious();
    EXPECT_TRUE(three->IsBOF());
    EXPECT_EQ(three->AbsolutePosition(), adPosBOF);
    for (const auto& beyond : std::vector<std::function<void()>>{
             [&] { three->MovePrevious(); }, [&] { three->Move(0); }, [&] { three->Bookmark(); },
             [&] { three->Value("Symbol"); }}) {
        EXPECT_EQ(ErrorNumberOf(beyond), errors::kNoCurrentRecord);
    }
    three->MoveLast();
    three->MoveNext();
    EXPECT_EQ(three->AbsolutePosition(), adPosEOF);
    EXPECT_EQ(ErrorNumberOf([&] { three->MoveNext(); }), errors::kNoCurrentRecord);
    three->Move(-10);
    EXPECT_TRUE(three->IsBOF());
    three->Move(3);
    EXPECT_EQ(Current(*three), "C");

    three->SetAbsolutePosition(2);
    EXPECT_EQ(ErrorNumberOf([&] { three->SetAbsolutePosition(4); }), errors::kArgumentsWrongType);
    EXPECT_EQ(Current(*three), "B");
    three->SetAbsolutePosition(adPosEOF);
    EXPECT_TRUE(three->IsEOF());
}

TEST(RecordsetCursorTest, FieldsAreDefinedWhileClosedAndFoundInAnyCase) {
    Recordset recordset;
    recordset.Fields().Append("Symbol", adVarChar, 10);
    EXPECT_EQ(ErrorNumberOf([&] { recordset.MoveFirst(); }), errors::kNotAllowedWhenClosed);
    recordset.Open();
    EXPECT_EQ(ErrorNumberOf([&] { recordset.Open(); }), errors::kNotAllowedWhenOpen);
    EXPECT_EQ(ErrorNumberOf([&] { recordset.Fields().Append("Price", adDouble); }),
              errors::kNotAllowedWhenOpen);
    recordset.Close();
    recordset.Fields().Append("Price", adDouble);
    recordset.Open();
    EXPECT_EQ(recordset.Fields().Count(), 2);

    Recordset fields;
    fields.Fields().Append("Price", adNumeric, 0, adFldIsNullable).SetNumericScale(4);
    fields.Fields().Append("Column_Format", adChar, 20, adFldUnspecified);
    const Field& format = fields.Fields().Item("COLUMN_FORMAT");
    EXPECT_EQ(format.Attributes(), -1);
    EXPECT_EQ(fields.Fields().Item("price").NumericScale(), 4);
    EXPECT_EQ(ErrorNumberOf([&] { fields.Fields().Append("PRICE", adDouble); }), 3367);
    const Failure missing = FailureOf([&] { fields.Fields().Item("Volume"); });
    EXPECT_EQ(missing.Number, errors::kItemNotFound);
    EXPECT_THAT(missing.Description, HasSubstr("'Volume'"));
}

TEST(RecordsetValuesTest, ValuesConvertToTheFieldTypeOrLeaveItAlone) {
    auto recordset = std::make_shared<Recordset>();
    recordset->Fields().Append("Id", adInteger);
    recordset->Fields().Append("Small", adSmallInt);
    recordset->Fields().Append("Flag", adBoolean);
    recordset->Fields().Append("When", adDate);
    recordset->Fields().Append("Name", adVarChar, 20);
    recordset->Open();
    recordset->AddNew();
    EXPECT_TRUE(recordset->Value("Id").IsNull());
    recordset->Fields().Item("Id").SetValue("12");
    recordset->SetValue("Small", 2.5);
    recordset->SetValue("Flag", "True");
    recordset->SetValue("When", "12/6/2026");
    recordset->SetValue("Name", 1.5);
    recordset->Update();
    EXPECT_EQ(recordset->Value("Small"), Variant(int16_t{2}));
    EXPECT_TRUE(recordset->Value("When").IsDate());
    EXPECT_EQ(recordset->Value("Name"), Variant("1.5"));
    EXPECT_EQ(ErrorNumberOf([&] { recordset->SetValue("Id", "abc"); }), errors::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([&] { recordset->SetValue("Small", 40000); }), errors::kOverflow);
    EXPECT_EQ(recordset->Value("Id"), Variant(int32_t{12}));
    recordset->SetValue("Id", Variant::Null());
    EXPECT_EQ(recordset->EditMode(), adEditInProgress);
    recordset->UpdateBatch();
    EXPECT_EQ(recordset->EditMode(), adEditNone);
    EXPECT_EQ(ErrorNumberOf([&] {
                  recordset->AddNew({1, 2, true, 3.0, "x", "too many"});
              }),
              errors::kArgumentsWrongType);
    EXPECT_EQ(ErrorNumberOf([&] {
                  recordset->AddNew({1, "not a number"});
              }),
              errors::kTypeMismatch);
    EXPECT_EQ(recordset->RecordCount(), 1);
}

TEST(RecordsetViewTest, FilterAndSortPutTheCursorOnTheFirstRowAndEndAnEdit) {
    auto recordset = MakeStocks({"A", "B", "C", "D"});
    recordset->MoveLast();
    recordset->SetFilter("IndCode = 7");
    recordset->MoveLast();
    recordset->SetSort("Symbol DESC");
    EXPECT_EQ(Current(*recordset), "C");
    recordset->SetFilter("IndCode = 99");
    EXPECT_TRUE(recordset->IsBOF() && recordset->IsEOF());

    auto editing = MakeStocks({"A", "B"});
    editing->AddNew();
    editing->SetValue("Symbol", "N");
    editing->SetValue("IndCode", 12);
    editing->SetFilter("IndCode = 12");
    EXPECT_EQ(editing->EditMode(), adEditNone);
    editing->MoveLast();
    EXPECT_EQ(Current(*editing), "N");
}

TEST(RecordsetCloneTest, SharesRowsButNotCursorFilterOrSortAndAddedRowsWaitForTheNextSort) {
    auto original = MakeStocks({"A", "B", "C", "D"});
    original->SetFilter("IndCode = 7");
    original->SetSort("Symbol DESC");
    original->MoveNext();  // "B"
    auto clone = original->Clone();
    EXPECT_EQ(clone->Filter(), Variant(int32_t{0}));
    EXPECT_EQ(Current(*clone), "A");
    clone->SetFilter("Symbol = 'B'");
    clone->SetValue("CompanyName", "Changed");
    EXPECT_EQ(original->Value("CompanyName"), Variant("Changed"));
    EXPECT_EQ(original->RecordCount(), 2);

    original.reset();
    EXPECT_EQ(Current(*clone), "B");
    auto sorted = MakeStocks({"A", "B", "C"});
    sorted->SetSort("Symbol DESC");
    sorted->Clone()->AddNew({"AA", "AA Corp", 7});
    sorted->MoveLast();
    EXPECT_EQ(Current(*sorted), "AA");
    sorted->SetSort("Symbol DESC");
    sorted->MoveLast();
    EXPECT_EQ(Current(*sorted), "A");
}

TEST(RecordsetBookmarkTest, BookmarksStayValidAcrossClonesFiltersAndSorts) {
    auto original = MakeStocks({"A", "B", "C", "D", "E"});
    original->SetAbsolutePosition(4);
    const Variant bookmark = original->Bookmark();
    original->SetSort("Symbol DESC");
    auto clone = original->Clone();
    clone->SetFilter("IndCode = 12");
    clone->SetBookmark(bookmark);
    EXPECT_EQ(clone->AbsolutePosition(), 2);
    original->SetAbsolutePosition(1);  // "E", not in the clone's filter
    EXPECT_EQ(ErrorNumberOf([&] { clone->SetBookmark(original->Bookmark()); }),
              errors::kArgumentsWrongType);
    for (const Variant& bad : {Variant(0.0), Variant(99.0), Variant(1.5), Variant("1")}) {
        EXPECT_EQ(ErrorNumberOf([&] { clone->SetBookmark(bad); }), errors::kArgumentsWrongType);
    }
    EXPECT_EQ(Current(*clone), "D");
}

TEST(RecordsetDeleteTest, CursorStaysOnTheDeletedRowUntilItMoves) {
    auto recordset = MakeStocks({"A", "B", "C"});
    recordset->MoveNext();
    recordset->Delete();
    EXPECT_EQ(recordset->AbsolutePosition(), adPosUnknown);
    EXPECT_EQ(ErrorNumberOf([&] { recordset->Delete(); }), errors::kNoCurrentRecord);
    recordset->MoveNext();
    recordset->MovePrevious();
    EXPECT_EQ(Current(*recordset), "A");
    while (!recordset->IsEOF()) {
        recordset->Delete();
        recordset->MoveNext();
    }
    EXPECT_EQ(recordset->RecordCount(), 0);
    EXPECT_TRUE(recordset->IsBOF());
}

TEST(RecordsetDeleteTest, DeletedRowsLeaveEveryView) {
    auto original = MakeStocks({"A", "B", "C", "D"});
    auto sorted = original->Clone();
    sorted->SetSort("Symbol DESC");
    sorted->MoveLast();  // "A"
    auto filtered = original->Clone();
    filtered->SetFilter("Symbol <> 'C'");
    filtered->MoveLast();  // "D"
    const Variant bookmark = original->Bookmark();
    original->Delete();  // "A"
    EXPECT_EQ(ErrorNumberOf([&] { sorted->Value("Symbol"); }), errors::kNoCurrentRecord);
    sorted->MovePrevious();
    EXPECT_EQ(Current(*sorted), "B");
    EXPECT_EQ(filtered->AbsolutePosition(), 2);
    EXPECT_EQ(ErrorNumberOf([&] { filtered->SetBookmark(bookmark); }), errors::kArgumentsWrongType);
    // A copy holds the rows of the view, apart from them; a copy of a whole store holds them all.
    EXPECT_EQ(original->Copy()->RecordCount(), 3);
    auto copy = filtered->Copy();
    EXPECT_EQ(copy->RecordCount(), 2);
    copy->SetValue("Symbol", "Z");
    EXPECT_EQ(Current(*filtered), "D");
}

TEST(RecordsetFindTest, FindsForwardBackwardWithSkipAndStartAndRefusesBadArguments) {
    auto recordset = MakeStocks({"IBM", "INTC", "MSFT", "INTU", "IBM"});
    const auto find = [&](const char* p_sCriteria, int32_t p_lSkip = 0,
                          SearchDirectionEnum p_eDirection = adSearchForward,
                          const Variant& p_vStart = Variant()) {
        recordset->Find(p_sCriteria, p_lSkip, p_eDirection, p_vStart);
        return recordset->AbsolutePosition();
    };
    find("CompanyName Like 'INT%'");
    EXPECT_EQ(find("CompanyName Like 'INT%'"), 2);  // the current row matches
    EXPECT_EQ(find("CompanyName Like 'INT%'", 1), 4);
    EXPECT_EQ(find("Symbol = 'IBM'", 0, adSearchBackward), 1);
    EXPECT_EQ(find("Symbol = 'ibm'", 1), 5);
    EXPECT_EQ(find("Symbol = 'MSFT'", 0, adSearchForward, recordset->Bookmark()), adPosEOF);
    EXPECT_EQ(find("Symbol = 'NONE'", 0, adSearchBackward), adPosBOF);

    auto three = MakeStocks({"A", "B", "C"});
    three->MoveNext();
    const Failure failure = FailureOf([&] { three->Find("Symbol = 'A' or Symbol = 'C'"); });
    EXPECT_EQ(failure.Number, errors::kArgumentsWrongType);
    EXPECT_THAT(failure.Description, HasSubstr("single comparison at position 14, 'or'"));
    EXPECT_EQ(ErrorNumberOf([&] { three->Find("(Symbol = 'A')"); }), errors::kArgumentsWrongType);
    EXPECT_EQ(ErrorNumberOf([&] { three->Find("Symbol = 'A'", -1); }), errors::kArgumentsWrongType);
    EXPECT_EQ(ErrorNumberOf([&] { three->Find("Symbol = 'A'", 0, 2); }),
              errors::kArgumentsWrongType);
    EXPECT_EQ(Current(*three), "B");
}

TEST(RecordsetFindTest, FindsAcrossSlicesInASortedView) {
    auto recordset = std::make_shared<Recordset>();
    recordset->Fields().Append("N", adInteger);
    recordset->Open();
    for (int32_t i = 0; i < 5000; ++i) {
        recordset->AddNew({i});
    }
    recordset->SetSort("N DESC");
    recordset->Find("N = 3");
    EXPECT_EQ(recordset->AbsolutePosition(), 4997);
    recordset->Find("N > 4000", 0, adSearchBackward);
    EXPECT_EQ(recordset->AbsolutePosition(), 999);
}

TEST(RecordsetGridTest, ViewPositionsAndValuesByRowId) {
    auto recordset = MakeStocks({"A", "B", "C"});
    recordset->SetSort("Symbol DESC");
    EXPECT_EQ(recordset->ValueAt(recordset->ViewRowId(2), 0), Variant("A"));
    EXPECT_EQ(ErrorNumberOf([&] { recordset->ViewRowId(3); }), errors::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { recordset->ValueAt(9, 0); }), errors::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { recordset->ValueAt(0, 3); }), errors::kSubscriptOutOfRange);
}

}  // namespace
}  // namespace qv
