// The watch-list command of the control on the generated market behind the recording facade: the
// rows a person chooses, where they go, what cannot be a list, and the portfolio read-outs.
#include "columns/recordset_utilities.h"
#include "facade/facade_backend.h"
#include "facade/watch_list_store.h"
#include "outside/error_reporter.h"
#include "outside/recordset.h"
#include "outside/watch_list_dialogs.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

#include <functional>
#include <optional>

namespace qv::testing {
namespace {

// The person's part in both dialogs: the rows and where they go, then the name of a new list.
struct Person {
    std::function<void(WatchListRowChoice&)> Choose;
    std::string Name = "Picked";
};

// A recordset of p_keys in field p_sField, as a host's own list would bind one.
std::shared_ptr<Recordset> KeyRows(const char* p_sField, const std::vector<Variant>& p_keys) {
    auto rows = RecordsetUtilities::NewClientRecordset();
    rows->Fields().Append(p_sField, adVarChar, 20);
    rows->Open();
    for (const Variant& key : p_keys) {
        rows->AddNew({key});
    }
    if (!p_keys.empty()) {
        rows->MoveFirst();
    }
    return rows;
}

class ViewerWatchListsTest : public ViewerTest {
  protected:
    ViewerWatchListsTest() { m_lOwner = NewOwner(); }

    void Show(ViewerType p_eType) { ViewerTest::Show(p_eType, m_lOwner); }
    Recordset& Rows() { return *Pri().DataSource(); }
    // The key of row p_lRow of the primary grid.
    Variant KeyAt(int32_t p_lRow, const char* p_sField) {
        return Rows().ValueAt(Rows().ViewRowId(p_lRow), Rows().Fields().IndexOf(p_sField));
    }
    Variant BookmarkAt(int32_t p_lRow) {
        return GridControl::BookmarkOfRowId(Rows().ViewRowId(p_lRow));
    }
    // The owner's lists as the facade gives them to a host.
    std::shared_ptr<Recordset> HostLists() {
        std::vector<Variant> args{m_lOwner, 0};
        return RecordsetUtilities::CopyRecordset(ExpectRecordset(
            CallMethod(*m_oPlatform.Components().CreateObject("QorvantOnlineFacade.WatchListFNTr"),
                       "GetWatchLists", args),
            "lists"));
    }

    // Runs the command with the person's answers; what the person was told, by a message or by
    // a dialog refusing, is kept in m_sTold.
    void Add(const Person& p_person, std::shared_ptr<Recordset> p_rLists = nullptr,
             int32_t p_lType = 0) {
        m_oPlatform.Dialogs().QueueScriptFor<WatchListRowChoice>(
            [this, p_person](WatchListRowChoice& dialog) {
                p_person.Choose(dialog);
                if (!dialog.Confirm()) {
                    m_sTold = dialog.Refusal();
                }
            });
        m_oPlatform.Dialogs().QueueScriptFor<NewWatchListNaming>(
            [this, p_person](NewWatchListNaming& dialog) {
                dialog.SetName(p_person.Name);
                if (!dialog.Confirm()) {
                    m_sTold = dialog.Refusal();
                }
            });
        const size_t before = m_oPlatform.Messages().Shown().size();
        m_oViewer->AddToWatchList(p_rLists, p_lType);
        // A command that stopped before naming a list leaves the naming script unused.
        if (m_oPlatform.Dialogs().PendingScripts() > 0) {
            NewWatchListNaming unused("", "");
            m_oPlatform.Dialogs().ShowModal(unused);
        }
        const auto& shown = m_oPlatform.Messages().Shown();
        if (shown.size() > before) {
            m_sTold = shown.back().Text;
        }
    }
    std::vector<facade::WatchListEntry> Lists(int32_t p_lType = 0) {
        return facade::WatchListStore(Backend().Database()).WatchLists(m_lOwner, p_lType);
    }
    int32_t NewList(const std::string& p_sName, const std::vector<std::string>& p_keys) {
        return facade::WatchListStore(Backend().Database())
            .CreateWatchList(m_lOwner, 0, 0, p_sName, "", p_keys);
    }
    // The items of the one call of p_sMethod.
    std::vector<Variant> ItemsSent(const std::string& p_sMethod, size_t p_lPlace) {
        const auto calls = m_oLog->CallsTo(p_sMethod);
        if (calls.size() != 1) {
            ADD_FAILURE() << calls.size() << " calls of " << p_sMethod;
            return {};
        }
        return calls[0].m_aArgumentsBefore.at(p_lPlace).Array().Values();
    }

    int32_t m_lOwner = 0;
    std::string m_sTold;
};

// Every choice of rows on the lists with a key field, and on one without.
TEST_F(ViewerWatchListsTest, EachChoiceOfRowsSendsTheKeysOfThoseRows) {
    struct Case {
        ViewerType Type;
        const char* Field;
        WatchListRows Rows;
        int32_t Count;
        std::vector<int32_t>
            Expected;  // row positions; the current row is 2, rows 0 and 3 selected
    };
    const Case cases[] = {
        {vt_Stocks, "Symbol", WatchListRows::Current, 0, {2}},
        {vt_Stocks, "Symbol", WatchListRows::Selected, 0, {3, 0}},
        {vt_Industries, "IndCode", WatchListRows::Selected, 0, {3, 0}},
        {vt_Stocks, "Symbol", WatchListRows::FromCurrent, 2, {2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Field + std::to_string(static_cast<int>(c.Rows)));
        Show(c.Type);
        Pri().SetCurrentRow(2);
        Pri().SelBookmarks()->Clear();
        Pri().SelBookmarks()->Add(BookmarkAt(3));
        Pri().SelBookmarks()->Add(BookmarkAt(0));
        const int32_t type = c.Type == vt_Industries ? 1 : 0;
        Add({[&](WatchListRowChoice& d) {
                 d.ChooseRows(c.Rows, c.Count);
                 d.NewList(0);
             },
             "Rows " + std::to_string(&c - cases)},
            nullptr, type);
        std::vector<Variant> expected;
        for (const int32_t row : c.Expected) {
            expected.push_back(KeyAt(row, c.Field));
        }
        EXPECT_EQ(ItemsSent("NewWatchListAndItems", 1), expected);
        EXPECT_EQ(Pri().Row(), 2) << "the current row stays";
        EXPECT_EQ(m_oHost.Count("WatchListAdded"), 1u);
    }

    // All rows, and a count past the end: only the rows up to the end.
    Show(vt_Stocks);
    const int32_t rows = Rows().RecordCount();
    Pri().SetCurrentRow(rows - 2);
    Add({[](WatchListRowChoice& d) {
             d.ChooseRows(WatchListRows::FromCurrent, 50);
             d.NewList(0);
         },
         "To the end"});
    EXPECT_EQ(ItemsSent("NewWatchListAndItems", 1),
              (std::vector<Variant>{KeyAt(rows - 2, "Symbol"), KeyAt(rows - 1, "Symbol")}));
    m_oLog->Clear();
    Add({[](WatchListRowChoice& d) {
             d.ChooseRows(WatchListRows::All);
             d.NewList(0);
         },
         "Everything"});
    EXPECT_EQ(ItemsSent("NewWatchListAndItems", 1).size(), static_cast<size_t>(rows));

    // A stock's history has no key to list.
    Show(vt_StockHistory);
    Add({[](WatchListRowChoice& d) { d.NewList(0); }});
    EXPECT_EQ(m_sTold, "There are no Stocks to be added.");
    EXPECT_TRUE(m_oLog->CallsTo("NewWatchListAndItems").empty());
}

// A new list, a list of the items also or not in another, and rows added to a list: each by its
// facade call, the new ones appended to the host's lists and announced.
TEST_F(ViewerWatchListsTest, NewListsAreAppendedAndAnnouncedAndAddingGoesToTheChosenList) {
    Show(vt_Stocks);
    const int32_t other = NewList("Other", {KeyAt(0, "Symbol").ToString()});
    struct Case {
        std::function<void(WatchListRowChoice&)> Choose;
        const char* Method;
        bool Announced;
    };
    const Case cases[] = {
        {[](WatchListRowChoice& d) { d.NewList(0); }, "NewWatchListAndItems", true},
        {[&](WatchListRowChoice& d) { d.NewList(0, WatchListItems::Matching, other); },
         "NewWatchListMatchingItems", true},
        {[&](WatchListRowChoice& d) { d.NewList(0, WatchListItems::NonMatching, other); },
         "NewWatchListNonMatchingItems", true},
        {[&](WatchListRowChoice& d) { d.AddToList(other); }, "AddWatchListItems", false},
    };
    int32_t named = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Method);
        m_oHost.Events.clear();
        const std::shared_ptr<Recordset> given = HostLists();
        m_oLog->Clear();
        const int32_t before = given->RecordCount();
        const std::string name = "New " + std::to_string(++named);
        Add({c.Choose, name}, given);
        EXPECT_EQ(m_oLog->CallsTo(c.Method).size(), 1u);
        EXPECT_EQ(m_oHost.Count("WatchListAdded"), c.Announced ? 1u : 0u);
        EXPECT_EQ(given->RecordCount(), before + (c.Announced ? 1 : 0));
        if (c.Announced) {
            given->MoveLast();
            EXPECT_EQ(given->Value("Name").ToString(), name);
            EXPECT_GT(given->Value("id").ToLong(), 0);
        }
    }
    EXPECT_EQ(Lists().size(), 4u);
    EXPECT_EQ(Reports("Viewer: AddToWatchList"), 0u);
}

// What the command leaves alone: a sector list, a selection in the lower grid, an empty list.
TEST_F(ViewerWatchListsTest, SectorsALowerSelectionAndAnEmptyListAddNothing) {
    Show(vt_Sectors);
    m_oViewer->AddToWatchList();
    EXPECT_TRUE(m_oPlatform.Dialogs().Shown().empty());
    EXPECT_TRUE(m_oPlatform.Messages().Shown().empty());

    Show(vt_Stocks);
    const auto& lower = m_oViewer->oleSecGrid()->DataSource();
    ASSERT_TRUE(lower && lower->ViewCount() > 0);
    m_oViewer->oleSecGrid()->SelBookmarks()->Add(GridControl::BookmarkOfRowId(lower->ViewRowId(0)));
    m_oViewer->AddToWatchList();
    EXPECT_TRUE(m_oPlatform.Dialogs().Shown().empty());

    m_oViewer->oleSecGrid()->SelBookmarks()->Clear();
    Pri().SetDataSource(KeyRows("Symbol", {}));
    m_oViewer->AddToWatchList();
    EXPECT_TRUE(m_oPlatform.Dialogs().Shown().empty());
    ASSERT_EQ(m_oPlatform.Messages().Shown().size(), 1u);
    EXPECT_EQ(m_oPlatform.Messages().Shown()[0].Text, "There are no Stocks to be added.");
    EXPECT_EQ(m_oPlatform.Messages().Shown()[0].Title, "Olmaris Lumetra v6.0");
    EXPECT_TRUE(m_oLog->CallsTo("NewWatchListAndItems").empty());
}

// Each request that cannot be a list gets an answer a person can act on and changes nothing.
TEST_F(ViewerWatchListsTest, WhatCannotBeAListIsToldAndChangesNothing) {
    const auto all = [](WatchListRowChoice& d) {
        d.ChooseRows(WatchListRows::All);
        d.NewList(0);
    };
    std::vector<Variant> many;
    for (int32_t i = 0; i < 10000; ++i) {
        many.push_back(Variant("S" + std::to_string(i)));
    }
    struct Case {
        const char* What;
        std::function<void()> Arrange;
        Person Answers;
        const char* Told;
    };
    const auto none = [](WatchListRowChoice& d) {
        d.ChooseRows(WatchListRows::FromCurrent, 0);
        d.NewList(0);
    };
    const auto nothing = [] {};
    const auto unnamed = [&] {
        Pri().SetDataSource(KeyRows("Symbol", {Variant::Null(), Variant(" ")}));
    };
    const Case cases[] = {
        {"10,000 rows",
         [&] { Pri().SetDataSource(KeyRows("Symbol", many)); },
         {all},
         "A watch list holds at most 5,000 items; 10,000 were chosen. Choose fewer rows."},
        {"a name of 10,000 characters",
         nothing,
         {all, std::string(10000, 'n')},
         "A watch list's name may hold at most 100 characters; this one has 10,000."},
        {"no rows counted", nothing, {none}, "Enter how many rows to take, from 1 up."},
        {"rows without symbols", unnamed, {all}, "None of the chosen rows has a symbol to add."},
        {"a name taken",
         nothing,
         {all, " taken "},
         "There is already a watch list named \"taken\". Choose another name."},
        {"another owner's list", [&] { m_oViewer->SetOwnerId(m_lOwner + 1); }, {all, "Theirs"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Show(vt_Stocks);
        m_lOwner = NewOwner();
        m_oViewer->SetOwnerId(m_lOwner);
        const int32_t taken = NewList("Taken", {KeyAt(0, "Symbol").ToString()});
        m_oPlatform.Reporter().ClearRecords();
        m_sTold.clear();
        c.Arrange();
        Add(c.Answers);
        EXPECT_EQ(m_sTold, c.Told);
        EXPECT_EQ(Lists().size(), 1u);
        EXPECT_EQ(facade::WatchListStore(Backend().Database()).ItemCodes(taken).size(), 1u);
        EXPECT_EQ(Reports("Viewer: AddToWatchList"), c.Told[0] == '\0' ? 1u : 0u);
    }
}

TEST_F(ViewerWatchListsTest, PortfolioItemsMergeOnlyTheSameSymbolOnTheSameSide) {
    Show(vt_Stocks);
    auto rows = RecordsetUtilities::NewClientRecordset();
    rows->Fields().Append("Symbol", adVarChar, 10);
    rows->Fields().Append("NumShares", adDouble, 0);
    rows->Fields().Append("Short", adBoolean, 0);
    rows->Open();
    rows->AddNew({"AAA", 10.0, false});
    rows->AddNew({"AAA", 5.0, false});
    rows->AddNew({"AAA", 7.0, true});
    rows->AddNew({"BBB", 1.0, false});
    rows->MoveLast();
    Pri().SetDataSource(rows);
    const Variant items = m_oViewer->PortfolioItems();
    ASSERT_TRUE(items.IsArray());
    const VariantArray& table = items.Array();
    ASSERT_EQ(table.UBound(2), 2);
    const auto column = [&](int32_t p_lColumn) {
        return std::vector<Variant>{table.At(0, p_lColumn), table.At(1, p_lColumn),
                                    table.At(2, p_lColumn), table.At(3, p_lColumn)};
    };
    EXPECT_EQ(column(0), (std::vector<Variant>{"AAA", 15.0, false, false}));
    EXPECT_EQ(column(1), (std::vector<Variant>{"AAA", 7.0, true, false}));
    EXPECT_EQ(column(2), (std::vector<Variant>{"BBB", 1.0, false, false}));
    EXPECT_TRUE(rows->IsEOF() == false && rows->Value("Symbol") == Variant("BBB"))
        << "the cursor stays on its row";

    Pri().SetDataSource(KeyRows("Symbol", {}));
    EXPECT_TRUE(m_oViewer->PortfolioItems().IsEmpty());
}

TEST_F(ViewerWatchListsTest, EditTradeMarksTheCurrentRowAndLeavesIt) {
    Show(vt_Stocks);
    auto trades = RecordsetUtilities::NewClientRecordset();
    for (const char* name : {"Trade_ID", "Symbol", "BuyDate", "Commission", "InitialPrice",
                             "Shares", "Short", "InitialReq", "MaintenancePercent"}) {
        trades->Fields().Append(name, adDouble, 0);
    }
    trades->Open();
    trades->AddNew({1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0});
    trades->AddNew({11.0, 12.0, 13.0, 14.0, 15.0, 16.0, 17.0, 18.0, 19.0});
    Pri().SetDataSource(trades);
    Pri().SetCurrentRow(1);
    const Variant table = m_oViewer->EditTrade();
    ASSERT_TRUE(table.IsArray());
    EXPECT_EQ(table.Array().UBound(2), 1);
    EXPECT_EQ(table.Array().At(8, 1), Variant(19.0));
    EXPECT_EQ(table.Array().At(9, 0), Variant(false));
    EXPECT_EQ(table.Array().At(9, 1), Variant(true));
    EXPECT_EQ(Pri().Row(), 1);
}

}  // namespace
}  // namespace qv::testing
