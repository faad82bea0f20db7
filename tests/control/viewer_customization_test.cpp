#include "columns/column_state.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "columns/recordset_utilities.h"
#include "grid/grid.h"
#include "outside/column_selector.h"
#include "outside/field.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

#include <array>
#include <functional>
#include <map>

namespace qv::testing {
namespace {

// --- The field lists -----------------------------------------------------------------------------

// Keys, plain fields of each data type, a field of industries only (106), one of a negative
// group (105). Fields: id, column name, caption, data type, table mask, group.
std::shared_ptr<Recordset> Catalogue() {
    auto catalogue = RecordsetUtilities::NewClientRecordset();
    for (const char* name :
         {"Parameter_ID", "Column_Name", "Caption", "DataType_ID", "Table_Mask", "Group"}) {
        catalogue->Fields().Append(name, name[0] == 'C' ? adVarChar : adInteger, 50);
    }
    catalogue->Open();
    for (int32_t id : {4, 5, 35, 36, 38, 41, 100}) {
        catalogue->AddNew({id, "F", "Field", 1, 0x7f, 0});
    }
    catalogue->AddNew({101, "F", "Field", 24, 0x7f, 0});
    catalogue->AddNew({102, "F", "Field", 26, 0x7f, 0});
    catalogue->AddNew({103, "F", "Field", 21, 0x7f, 0});
    catalogue->AddNew({104, "F", "Field", 23, 0x7f, 0});
    catalogue->AddNew({105, "F", "Field", 1, 0x7f, -1});
    catalogue->AddNew({106, "F", "Field", 1, 0x2, 0});
    return catalogue;
}

std::vector<int32_t> Ids(const std::shared_ptr<Recordset>& p_rList) {
    std::vector<int32_t> ids;
    for (p_rList->MoveFirst(); !p_rList->IsEOF(); p_rList->MoveNext()) {
        ids.push_back(p_rList->Value("parameter_id").ToLong());
    }
    return ids;
}

class FieldListTest : public ViewerTest {};

TEST_F(FieldListTest, TheCatalogueFieldsOfferedForEachList) {
    struct Case {
        ViewerType Type;
        int32_t FinderResultsType;
        std::vector<int32_t> Offered;
    };
    const Case cases[] = {
        {vt_Stocks, 0, {35, 36, 100}},
        {vt_Industries, 0, {36, 100, 106}},
        {vt_Sectors, 0, {100}},
        {vt_StockHistory, 0, {4, 5, 35, 36, 100}},
        {vt_IndustryHistory, 0, {35, 36, 100, 106}},
        {vt_SectorHistory, 0, {36, 100}},
        {vt_FinderResults, 0, {35, 36, 100}},
        {vt_FinderResults, 1, {36, 100, 106}},
        {vt_FinderResults, 2, {100}},
        {vt_Portfolio, 0, {35, 36, 100, 103, 104}},
    };
    for (const Case& c : cases) {
        m_oViewer->SetViewerType(c.Type);
        m_oViewer->SetFinderResultsType(c.FinderResultsType);
        const auto list = m_oViewer->CreateFieldRSFromLayout(Catalogue(), {});
        ASSERT_TRUE(list) << c.Type;
        EXPECT_EQ(Ids(list), c.Offered)
            << "viewer type " << c.Type << ", results " << c.FinderResultsType;
    }
}

TEST_F(FieldListTest, LayoutColumnsComeFirstOnceEachAndOnlyThoseAPersonMayChoose) {
    m_oViewer->SetViewerType(vt_Stocks);
    LayoutDescription layout;
    layout.Columns = {
        {100, csVisible, "F100", "Shown", 1, 2, ""},
        {35, csHidden, "F35", "Kept", 1, 3, ""},
        {38, csVisible, "F38", "Sort key", 1, 4, ""},
        {41, csSystem, "F41", "System", 1, 5, ""},
        {5, csAlwaysVisible, "F5", "Key", 1, 1, ""},
        {101, csVisible, "F101", "No sequence", 1, 0, ""},
        {0, csVisible, "F0", "No id", 1, 6, ""},
    };
    const auto list = m_oViewer->CreateFieldRSFromLayout(Catalogue(), layout);
    ASSERT_TRUE(list);
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{100, 35, 36}));
    // A layout row keeps its place and state; a catalogue row is hidden and has no place.
    list->MoveFirst();
    EXPECT_TRUE(list->Value("selected").ToBool());
    list->MoveLast();
    EXPECT_EQ(list->Value("Sequence").ToLong(), -1);
    EXPECT_EQ(list->Fields().Item("Column_Format").Type(), adChar);
}

// --- Customize on the generated market ---------------------------------------------------------

class CustomizeTest : public ViewerTest {
  protected:
    void ShowStocks() {
        m_oViewer->SetViewerType(vt_Stocks);
        m_oViewer->SetStartDate(LastDay());
        ASSERT_TRUE(m_oViewer->UpdateViewer());
        m_oHost.Events.clear();
        m_oLog->Clear();
    }
    // The person's part in the column chooser.
    void Choose(std::function<void(ColumnChooserDialog&)> p_fnActions, bool p_bAccept = true) {
        m_oPlatform.Dialogs().QueueScriptFor<ColumnChooserDialog>(
            [actions = std::move(p_fnActions), p_bAccept](ColumnChooserDialog& dialog) {
                actions(dialog);
                if (p_bAccept) {
                    dialog.Accept();
                }
            });
    }
    bool Customize(bool p_bSave = true) { return m_oViewer->Customize(nullptr, p_bSave); }
    // The fields the chooser would open with now, in their order.
    std::vector<int32_t> ChosenIds() {
        std::vector<int32_t> ids;
        for (const ColumnChoice& field : SelectedFields(m_oViewer->CreateFieldRecordset(nullptr))) {
            ids.push_back(field.ParameterId);
        }
        return ids;
    }
    // A catalogue field the stock rows do not carry.
    int32_t UnfetchedField() {
        const auto list = m_oViewer->CreateFieldRecordset(nullptr);
        const auto rows = m_oViewer->olePriGrid()->DataSource();
        for (list->MoveFirst(); !list->IsEOF(); list->MoveNext()) {
            if (list->Value("Sequence").ToLong() == -1 &&
                !RecordsetUtilities::FieldExists(rows, list->Value("SQLColumn").ToString())) {
                return list->Value("parameter_id").ToLong();
            }
        }
        ADD_FAILURE() << "every catalogue field is fetched";
        return 0;
    }
};

// Dropping a field, OK and saved, is part of the tour of every list kind in the layout tests.
TEST_F(CustomizeTest, WhatAChoiceDoesToTheListTheQueryAndTheSavedLayout) {
    const auto last = [](ColumnChooserDialog& d) { return d.Chosen().back().ParameterId; };
    struct Case {
        const char* Name;
        std::function<void(ColumnChooserDialog&, int32_t)> Actions;
        bool Accept, Save, Result, Fetches;
    };
    const Case cases[] = {
        {"reorder", [&](auto& d, int32_t) { d.MoveUp(last(d)); }, true, true, true, false},
        {"add a field the rows lack", [](auto& d, int32_t f) { d.Add(f); }, true, true, true, true},
        {"applied but not saved", [&](auto& d, int32_t) { d.Remove(last(d)); }, true, false, true,
         false},
        {"cancelled", [&](auto& d, int32_t) { d.Remove(last(d)); }, false, true, false, false},
        {"the default kept while in use", [](auto&, int32_t) {}, true, true, false, false},
        {"nothing chosen",
         [&](auto& d, int32_t) {
             while (!d.Chosen().empty()) {
                 d.Remove(last(d));
             }
         },
         true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ShowStocks();
        const int32_t unfetched = UnfetchedField();
        std::vector<int32_t> expected;
        Choose(
            [&](ColumnChooserDialog& dialog) {
                c.Actions(dialog, unfetched);
                for (const ColumnChoice& field : dialog.Chosen()) {
                    expected.push_back(field.ParameterId);
                }
            },
            c.Accept);
        const std::vector<int32_t> before = ChosenIds();
        EXPECT_EQ(Customize(c.Save), c.Result);
        EXPECT_EQ(CallsTo("StockViewer"), c.Fetches ? 1u : 0u);
        EXPECT_EQ(CallsTo("SaveLayout"), c.Result && c.Save ? 1u : 0u);
        EXPECT_EQ(m_oHost.Count("LayoutCustomized"), c.Result ? 1u : 0u);
        EXPECT_EQ(ChosenIds(), c.Result ? expected : before);
    }
    EXPECT_EQ(Reports("Viewer:Customize"), 0u);
    // Only the empty choice is refused with a word.
    ASSERT_EQ(m_oPlatform.Messages().Shown().size(), 1u);
    const ShownMessage& shown = m_oPlatform.Messages().Shown().front();
    EXPECT_EQ(shown.Title + ": " + shown.Text,
              "Layout Warning: Layout must contain at least one field");
    EXPECT_EQ(shown.Icon, vbExclamation);
}

TEST_F(CustomizeTest, TheDefaultAskedForOnAnOwnLayoutIsRestoredForTheUserOnly) {
    ShowStocks();
    m_oViewer->Strategy()->ViewerElements()->GridLayout()->SetOwnerId(m_oViewer->OwnerId() + 1);
    Choose([](ColumnChooserDialog& dialog) {
        EXPECT_FALSE(dialog.UseDefault());
        dialog.Remove(dialog.Chosen().back().ParameterId);
        dialog.RestoreDefault();
    });
    EXPECT_TRUE(Customize());
    EXPECT_EQ(CallsTo("GetDefaultLayout"), 1u);
    EXPECT_EQ(CallsTo("RestoreDefaultLayout"), 1u);
    EXPECT_EQ(CallsTo("SaveLayout"), 0u);
    EXPECT_EQ(m_oHost.Count("LayoutCustomized"), 1u);
}

TEST_F(CustomizeTest, WhilePrintingTheLayoutHeldFromBeforeIsTheDefault) {
    ShowStocks();
    const LayoutDescription inUse =
        m_oViewer->Strategy()->ViewerElements()->GridLayoutDescription();
    LayoutDescription other = inUse;
    other.Header.Id = inUse.Header.Id + 1;
    other.Columns.resize(3);
    for (const bool stillInUse : {true, false}) {
        m_oViewer->SetLayoutInfo(layout_codec::ToVariant(inUse));
        m_oViewer->SetPrintLayoutMode(true);
        if (!stillInUse) {
            m_oViewer->SetLayoutInfo(layout_codec::ToVariant(other));
        }
        Choose([expected = stillInUse](ColumnChooserDialog& dialog) {
            EXPECT_EQ(dialog.UseDefault(), expected);
            dialog.RestoreDefault();
        });
        // The default kept while still in use changes nothing; otherwise it is restored.
        EXPECT_EQ(Customize(), !stillInUse);
        EXPECT_EQ(CallsTo("GetDefaultLayout"), 0u);
    }
    EXPECT_EQ(m_oHost.Count("LayoutCustomized"), 1u);
}

}  // namespace
}  // namespace qv::testing
