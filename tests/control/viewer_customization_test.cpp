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

#include <algorithm>
#include <array>
#include <functional>

namespace qv::testing {
namespace {

// --- The field lists -----------------------------------------------------------------------------

struct CatalogueRow {
    int32_t Id;
    int32_t Group;
    int32_t TableMask;
    int32_t DataType;
};

std::shared_ptr<Recordset> Catalogue(const std::vector<CatalogueRow>& p_rows) {
    auto catalogue = RecordsetUtilities::NewClientRecordset();
    for (const char* name : {"Parameter_ID", "Group", "Table_Mask", "DataType_ID"}) {
        catalogue->Fields().Append(name, adInteger);
    }
    catalogue->Fields().Append("Caption", adVarChar, 50);
    catalogue->Fields().Append("Column_Name", adVarChar, 50);
    catalogue->Open();
    for (const CatalogueRow& row : p_rows) {
        catalogue->AddNew();
        catalogue->SetValue("Parameter_ID", row.Id);
        catalogue->SetValue("Group", row.Group);
        catalogue->SetValue("Table_Mask", row.TableMask);
        catalogue->SetValue("DataType_ID", row.DataType);
        catalogue->SetValue("Caption", "Field " + std::to_string(row.Id));
        catalogue->SetValue("Column_Name", "F" + std::to_string(row.Id));
        catalogue->Update();
    }
    return catalogue;
}

std::vector<int32_t> Ids(const std::shared_ptr<Recordset>& p_rList) {
    std::vector<int32_t> ids;
    for (p_rList->MoveFirst(); !p_rList->IsEOF(); p_rList->MoveNext()) {
        ids.push_back(p_rList->Value("parameter_id").ToLong());
    }
    return ids;
}

constexpr int32_t kAllTables = 0x7f;

// Keys, plain fields of each data type, a field of another table, one of a negative group.
const std::vector<CatalogueRow> kCatalogue = {
    {4, 0, kAllTables, 1},    {5, 0, kAllTables, 1},    {35, 0, kAllTables, 1},
    {36, 0, kAllTables, 1},   {38, 0, kAllTables, 1},   {41, 0, kAllTables, 1},
    {100, 0, kAllTables, 1},  {101, 0, kAllTables, 24}, {102, 0, kAllTables, 26},
    {103, 0, kAllTables, 21}, {104, 0, kAllTables, 23}, {105, -1, kAllTables, 1},
    {106, 0, 0x2, 1},
};

class FieldListTest : public ViewerTest {};

TEST_F(FieldListTest, TheCatalogueFieldsOfferedForEachList) {
    struct Case {
        ViewerType Type;
        int32_t FinderResultsType;
        std::vector<int32_t> Offered;
    };
    // 106 belongs to table 1 only: the industry rows (and finder results of industries).
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
        const auto list = m_oViewer->CreateFieldRSFromLayout(Catalogue(kCatalogue), {});
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
    const auto list = m_oViewer->CreateFieldRSFromLayout(Catalogue(kCatalogue), layout);
    ASSERT_TRUE(list);
    EXPECT_EQ(Ids(list), (std::vector<int32_t>{100, 35, 36}));
    // The layout's own rows keep their caption, place and state; the catalogue's are hidden.
    const std::array<std::tuple<std::string, bool, int32_t, int32_t>, 3> rows = {{
        {"Shown", true, 2, csVisible},
        {"Kept", false, 3, csHidden},
        {"Field 36", false, -1, csHidden},
    }};
    size_t at = 0;
    for (list->MoveFirst(); !list->IsEOF(); list->MoveNext(), ++at) {
        const auto& [caption, selected, sequence, state] = rows.at(at);
        EXPECT_EQ(list->Value("column_name").ToString(), caption);
        EXPECT_EQ(list->Value("selected").ToBool(), selected);
        EXPECT_EQ(list->Value("Sequence").ToLong(), sequence);
        EXPECT_EQ(list->Value("State").ToLong(), state);
    }
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
    // The fields of the stock rows among p_ids (the layout also holds the columns of the
    // industry and sector grids).
    std::vector<int32_t> StockFields(std::vector<int32_t> p_ids) const {
        const auto catalogue = m_oViewer->ParameterList()->Clone();
        std::erase_if(p_ids, [&](int32_t id) {
            catalogue->SetFilter("Parameter_ID = " + std::to_string(id));
            return catalogue->IsEOF() || (catalogue->Value("Table_Mask").ToLong() & 1) == 0;
        });
        return p_ids;
    }
    // The stock fields the primary grid shows, in their order.
    std::vector<int32_t> ShownIds() const {
        std::vector<std::pair<int32_t, int32_t>> shown;
        for (const auto& column : *m_oViewer->PrimaryGrid()->GridColumns()) {
            if (column->GridColumn_State_Setting() == csVisible) {
                shown.emplace_back(column->Sequence(), column->ParameterId());
            }
        }
        std::sort(shown.begin(), shown.end());
        std::vector<int32_t> ids;
        for (const auto& [sequence, id] : shown) {
            ids.push_back(id);
        }
        return StockFields(ids);
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
    // A save shows as the writer's call or, when it fails, as the save's report.
    size_t SaveAttempts() { return CallsTo("SaveLayout") + Reports("Viewer:SaveLayout"); }
};

TEST_F(CustomizeTest, WhatAChoiceDoesToTheListTheQueryAndTheSavedLayout) {
    using Act = std::function<void(ColumnChooserDialog&, int32_t)>;
    const auto last = [](ColumnChooserDialog& dialog) {
        return dialog.Chosen().back().ParameterId;
    };
    struct Case {
        const char* Name;
        Act Actions;
        bool Accept;
        bool Save;
        bool Result;
        size_t Queries;
        size_t Saves;
        size_t Customized;
    };
    const Case cases[] = {
        {"hide a fetched field", [&](auto& d, int32_t) { d.Remove(last(d)); }, true, true, true, 0,
         1, 1},
        {"reorder", [&](auto& d, int32_t) { d.MoveUp(last(d)); }, true, true, true, 0, 1, 1},
        {"add a field the rows lack", [](auto& d, int32_t field) { d.Add(field); }, true, true,
         true, 1, 1, 1},
        {"applied but not saved", [&](auto& d, int32_t) { d.Remove(last(d)); }, true, false, true,
         0, 0, 1},
        {"cancelled", [&](auto& d, int32_t) { d.Remove(last(d)); }, false, true, false, 0, 0, 0},
        {"the default kept while in use", [](auto&, int32_t) {}, true, true, false, 0, 0, 0},
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
        const std::vector<int32_t> before = ShownIds();
        const size_t saves = SaveAttempts();
        EXPECT_EQ(Customize(c.Save), c.Result);
        EXPECT_EQ(CallsTo("StockViewer"), c.Queries);
        EXPECT_EQ(SaveAttempts() - saves, c.Saves);
        EXPECT_EQ(m_oHost.Count("LayoutCustomized"), c.Customized);
        EXPECT_EQ(ShownIds(), c.Result ? StockFields(expected) : before);
    }
    EXPECT_EQ(Reports("Viewer:Customize"), 0u);
}

TEST_F(CustomizeTest, AnEmptyChoiceIsRefusedWithAWarningAndChangesNothing) {
    ShowStocks();
    const std::vector<int32_t> before = ShownIds();
    Choose([](ColumnChooserDialog& dialog) {
        while (!dialog.Chosen().empty()) {
            dialog.Remove(dialog.Chosen().front().ParameterId);
        }
    });
    EXPECT_FALSE(Customize());
    ASSERT_EQ(m_oPlatform.Messages().Shown().size(), 1u);
    const ShownMessage& shown = m_oPlatform.Messages().Shown().front();
    EXPECT_EQ(shown.Text, "Layout must contain at least one field");
    EXPECT_EQ(shown.Title, "Layout Warning");
    EXPECT_EQ(shown.Icon, vbExclamation);
    EXPECT_EQ(ShownIds(), before);
    EXPECT_EQ(m_oHost.Count("LayoutCustomized"), 0u);
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
    EXPECT_EQ(CallsTo("RestoreDefaultLayout") + Reports("Viewer:RestoreDefaultLayout"), 1u);
    EXPECT_EQ(SaveAttempts(), 0u);
    EXPECT_EQ(m_oHost.Count("LayoutCustomized"), 1u);
}

TEST_F(CustomizeTest, WhilePrintingTheLayoutHeldFromBeforeIsTheDefault) {
    ShowStocks();
    const LayoutDescription inUse =
        m_oViewer->Strategy()->ViewerElements()->GridLayoutDescription();
    LayoutDescription other = inUse;
    other.Header.Id = inUse.Header.Id + 1;
    other.Columns.resize(3);
    for (const auto& [held, stillInUse] : {std::pair{inUse, true}, std::pair{other, false}}) {
        m_oViewer->SetPrintLayoutHeld(held);
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

TEST_F(CustomizeTest, ByDispatchTheSaveFlagComesBackAndCtrlLSavesTheChoice) {
    ShowStocks();
    Choose([](ColumnChooserDialog& dialog) { dialog.MoveUp(dialog.Chosen().back().ParameterId); });
    std::array<Variant, 2> args{Variant::Nothing(), Variant(false)};
    EXPECT_TRUE(CallMethod(*m_oViewer, "Customize", args).ToBool());
    EXPECT_FALSE(args[1].ToBool());
    EXPECT_EQ(SaveAttempts(), 0u);

    Choose([](ColumnChooserDialog& dialog) { dialog.MoveUp(dialog.Chosen().back().ParameterId); });
    m_oViewer->olePriGrid()->KeyDown('L', gssCtrl);
    EXPECT_EQ(SaveAttempts(), 1u);
    EXPECT_EQ(m_oHost.Count("LayoutCustomized"), 2u);
}

}  // namespace
}  // namespace qv::testing
