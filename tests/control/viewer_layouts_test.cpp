// The control's layout commands and column chooser on the generated market behind the recording
// facade; a scripted component stands in where the facade must answer what it never does (no
// layout, a refusal).
#include "columns/column_state.h"
#include "columns/grid_layout.h"
#include "columns/recordset_utilities.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "outside/column_selector.h"
#include "outside/error_reporter.h"
#include "outside/facade_protocol.h"
#include "outside/layout_description.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>

namespace qv::testing {
namespace {

namespace prog_id = facade_protocol::prog_id;

// Answers each member from a script.
class ScriptedFacade : public DispatchObject {
  public:
    std::map<std::string, Variant> Answers;
    Variant Invoke(std::string_view p_sName, InvokeKind, std::span<Variant>) override {
        const auto answer = Answers.find(std::string(p_sName));
        return answer == Answers.end() ? Variant() : answer->second;
    }
};

// Keys, plain fields of each data type, a field of industries only (106), one of a negative
// group (105). Fields: id, column name, caption, data type, table mask, group.
std::shared_ptr<Recordset> Catalogue() {
    auto catalogue = RecordsetUtilities::NewClientRecordset();
    for (const char* name :
         {"Parameter_ID", "Column_Name", "Caption", "DataType_ID", "Table_Mask", "Group"}) {
        catalogue->Fields().Append(name, name[0] == 'C' ? adVarChar : adInteger, 50);
    }
    catalogue->Open();
    const std::array<int32_t, 4> fields[] = {
        {4, 1, 0x7f, 0},    {5, 1, 0x7f, 0},    {35, 1, 0x7f, 0},   {36, 1, 0x7f, 0},
        {38, 1, 0x7f, 0},   {41, 1, 0x7f, 0},   {100, 1, 0x7f, 0},  {101, 24, 0x7f, 0},
        {102, 26, 0x7f, 0}, {103, 21, 0x7f, 0}, {104, 23, 0x7f, 0}, {105, 1, 0x7f, -1},
        {106, 1, 0x2, 0}};
    for (const auto& [id, type, mask, group] : fields) {
        catalogue->AddNew({id, "F", "Field", type, mask, group});
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

class ViewerLayoutsTest : public ViewerTest {
  protected:
    // A list of p_eType on the market's last day for a new owner, who is logged in.
    void Show(ViewerType p_eType, int32_t p_lFinderResultsType = 0) {
        m_lOwner = NewOwner();
        if (m_oRestarted) {
            m_oRestarted->Login(m_lOwner, "");
        }
        m_oViewer->SetViewerType(p_eType);
        m_oViewer->SetOwnerId(m_lOwner);
        m_oViewer->SetStartDate(LastDay());
        m_oViewer->SetFinderResultsType(p_lFinderResultsType);
        if (p_eType == vt_FinderResults || p_eType == vt_Portfolio) {
            m_oViewer->SetFinderResults(StockListRows());
        }
        m_oViewer->UpdateViewer();
        m_oLog->Clear();
        m_oHost.Events.clear();
    }
    static std::vector<int32_t> Visible(const LayoutDescription& p_layout) {
        std::vector<int32_t> ids;
        for (const LayoutColumn& column : p_layout.Columns) {
            if (column.State == csVisible) {
                ids.push_back(column.ParameterId);
            }
        }
        return ids;
    }
    LayoutDescription Layout() { return layout_codec::Parse(m_oViewer->LayoutInfo()); }
    std::shared_ptr<ScriptedFacade> Script(std::string_view p_sProgId) {
        auto facade = std::make_shared<ScriptedFacade>();
        m_oPlatform.Components().Register(p_sProgId, [facade] { return facade; });
        return facade;
    }
    const std::vector<ShownMessage>& Shown() { return m_oPlatform.Messages().Shown(); }
    // Every message shown, as "title: text".
    std::vector<std::string> Told() {
        std::vector<std::string> told;
        for (const ShownMessage& shown : Shown()) {
            told.push_back(shown.Title + ": " + shown.Text);
        }
        return told;
    }
    // A second facade on the same database, as after a restart.
    void RestartFacade() {
        m_oRestarted =
            std::make_shared<facade::FacadeBackend>(std::make_shared<facade::MarketStore>(
                Backend().Store().Name(), facade::MarketStore::Access::ReadWrite));
        m_oRestarted->Login(m_lOwner, "");
        auto components = std::make_shared<ComponentFactory>();
        facade::RegisterFacadeComponents(*components, m_oRestarted);
        facade::RegisterRecordingComponents(m_oPlatform.Components(), components,
                                            facade::kFacadeProgIds, m_oLog);
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

    int32_t m_lOwner = 0;
    std::shared_ptr<facade::FacadeBackend> m_oRestarted;
};

TEST_F(ViewerLayoutsTest, SavingDecidesBetweenInPlaceAndANewCustomLayout) {
    struct Case {
        const char* Name;
        bool OwnFirst, SaveAs, PrintMode, NewLayout;
        int32_t DataType;
    };
    const Case cases[] = {
        {"the system's default", false, false, false, true, vt_Stocks},
        {"the owner's own, in place", true, false, false, false, vt_Stocks},
        {"the owner's own, as a new one", true, true, false, true, vt_Stocks},
        {"print mode, unchanged since printing began", true, false, true, true, vt_Stocks_Print},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Show(vt_Stocks);
        if (c.OwnFirst) {
            m_oViewer->SaveLayout();
            m_oLog->Clear();
        }
        m_oViewer->SetPrintLayoutMode(c.PrintMode);
        const LayoutHeader before = Layout().Header;
        EXPECT_FALSE(m_oViewer->SaveLayout(c.SaveAs));
        m_oViewer->SetPrintLayoutMode(false);
        const std::vector<Variant> sent = ArgumentsOf("SaveLayout");
        ASSERT_EQ(sent.size(), 12u);
        EXPECT_EQ(sent[1].ToLong(), c.NewLayout ? -1 : before.Id);
        EXPECT_EQ(sent[10].ToLong(), c.DataType);
        const LayoutHeader after = Layout().Header;
        EXPECT_EQ(after.OwnerId, m_lOwner);
        EXPECT_EQ(after.Id != before.Id, c.NewLayout) << "the id the facade handed back";
        if (c.NewLayout && !c.PrintMode) {
            EXPECT_EQ(after.Name, "Custom " + before.Name);
            EXPECT_EQ(after.ParentId, 2);
        }
    }
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ViewerLayoutsTest, RefusalsAreToldAndLeaveTheLayoutAsItWas) {
    Show(vt_Stocks);
    m_oViewer->SaveLayout(true);
    const LayoutDescription own = Layout();
    auto writer = Script(prog_id::kViewerWriter);
    writer->Answers["SaveLayout"] = Variant(false);
    m_oViewer->SaveLayout(true);
    // Deleted, but with nothing to stand in for it.
    writer->Answers["DeleteLayout"] = Variant(true);
    m_oPlatform.Messages().QueueAnswer(vbYes);
    m_oViewer->DeleteLayout();
    EXPECT_EQ(Told(), (std::vector<std::string>{
                          "Save Layout: Unable to save layout!",
                          "Delete Warning: Are you sure you want to delete the current layout?",
                          "Layout Warning: Unable to reset default layout"}));
    EXPECT_EQ(Layout(), own);
    EXPECT_EQ(m_oHost.Count("LayoutDeleted"), 0u);
}

TEST_F(ViewerLayoutsTest, TheFinderTypeSentFollowsTheViewerType) {
    struct Case {
        ViewerType Type;
        int32_t FinderResultsType;
        int16_t Asked;  // the argument of LoadDefaultLayout, by dispatch
        int32_t Sent, FinderResultsTypeAfter;
    };
    const Case cases[] = {
        {vt_Stocks, 0, -1, -1, 0},    {vt_FinderResults, 1, -1, 1, 1}, {vt_Portfolio, 1, -1, 1, 1},
        {vt_Portfolio, 0, -1, -1, 0}, {vt_Portfolio, 0, 5, 5, 0},      {vt_Portfolio, 0, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Type) + " " + std::to_string(c.Asked));
        Show(c.Type, c.FinderResultsType);
        std::array<Variant, 2> asked{Variant(int16_t{-1}), Variant(c.Asked)};
        CallMethod(*m_oViewer, "LoadDefaultLayout", asked);
        const std::vector<Variant> sent = ArgumentsOf("GetDefaultLayout");
        ASSERT_EQ(sent.size(), 3u);
        EXPECT_EQ(sent[0].ToLong() * 100 + sent[1].ToLong(), m_lOwner * 100 + c.Type);
        EXPECT_EQ(sent[2].ToLong(), c.Sent);
        EXPECT_EQ(asked[0].ToLong(), c.Type) << "written back";
        EXPECT_EQ(m_oViewer->FinderResultsType(), c.FinderResultsTypeAfter);
    }
}

TEST_F(ViewerLayoutsTest, ALoadForPrintingKeepsTheSortInUse) {
    Show(vt_Stocks);
    m_oViewer->SaveLayout(true);
    const LayoutDescription own = Layout();
    m_oViewer->Strategy()->ViewerElements()->SetSortInfo(13, 1, -1, 0);
    m_oHost.Events.clear();
    m_oViewer->LoadLayout(own.Header.Id, true);
    ASSERT_EQ(m_oHost.Names(), std::vector<std::string>{"LayoutLoaded"});
    EXPECT_EQ(m_oHost.Last("LayoutLoaded")->Args[0].ToLong(), own.Header.Id);
    EXPECT_EQ(Layout().Sort->PriSortId, 13);
    EXPECT_EQ(m_oPlatform.Pointer().Pointer(), vbDefault);
    m_oViewer->LoadLayout(own.Header.Id);
    EXPECT_EQ(Layout().Sort, own.Sort);
}

TEST_F(ViewerLayoutsTest, ALayoutThatCannotBeShownIsAnOpenLayoutErrorWithItsReason) {
    Show(vt_Stocks);
    const LayoutDescription before = Layout();
    Variant narrowTable = layout_codec::ToVariant(before);
    narrowTable.Array().At(2) = VariantArray::Vector({Variant(1), Variant(2)});
    LayoutDescription unknown = before;
    unknown.Columns.back().ParameterId = 99999;
    const std::pair<Variant, const char*> cases[] = {{Variant(), ""},
                                                     {Variant("layout"), "layout"},
                                                     {narrowTable, "column"},
                                                     {layout_codec::ToVariant(unknown), "99999"}};
    for (const auto& [answer, reason] : cases) {
        SCOPED_TRACE(reason);
        const size_t shown = Shown().size();
        auto reader = Script(prog_id::kViewerReader);
        reader->Answers["GetLayout"] = answer;
        reader->Answers["GetDefaultLayout"] = answer;
        m_oViewer->LoadLayout(7);
        m_oViewer->LoadDefaultLayout();
        ASSERT_EQ(Shown().size(), shown + 2);
        for (size_t i = shown; i < Shown().size(); ++i) {
            EXPECT_EQ(Shown()[i].Title, "Open Layout Error");
            EXPECT_EQ(Shown()[i].Text.rfind("Unable to load viewer layout.", 0), 0u);
            EXPECT_NE(Shown()[i].Text.find(reason), std::string::npos) << Shown()[i].Text;
        }
        EXPECT_EQ(Layout(), before);
        EXPECT_EQ(m_oHost.Count("LayoutLoaded"), 0u);
    }
}

TEST_F(ViewerLayoutsTest, RestoringInPrintModeGoesBackAndAFailedRestoreIsTold) {
    Show(vt_Industries);
    const LayoutDescription before = Layout();
    m_oViewer->SetPrintLayoutMode(true);
    m_oViewer->SaveLayout(true);
    bool userOnly = true;
    m_oViewer->RestoreDefaultLayout(userOnly);
    EXPECT_EQ(ArgumentsOf("DeleteCustomLayout").at(1).ToLong(), vt_Industries_Print);
    EXPECT_EQ(CallsTo("RestoreDefaultLayout"), 0u);
    EXPECT_EQ(Layout(), before);

    m_oPlatform.Components().Register(prog_id::kViewerWriter,
                                      [] { return std::make_shared<DispatchObject>(); });
    m_oViewer->RestoreDefaultLayout(userOnly);
    EXPECT_EQ(Reports("Viewer:RestoreDefaultLayout"), 1u);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].Title, "Layout not restored.");
}

TEST_F(ViewerLayoutsTest, HostMenuCommandsGoToTheGridUsedLast) {
    Show(vt_Stocks);
    // Export (grid commands 6 and 7) asks for the columns and 9 opens the control's
    // add-to-watch-list dialog (both dismissed here, so nothing happens); which rows each export
    // writes is the export tests' to show.
    const std::tuple<bool, int32_t, bool> cases[] = {
        {true, 1, true}, {true, 2, true}, {true, 3, false}, {false, 1, true}, {false, 2, false}};
    for (const auto& [primaryLast, value, asked] : cases) {
        SCOPED_TRACE(std::to_string(primaryLast) + " " + std::to_string(value));
        if (primaryLast) {
            m_oViewer->UpdateViewer(false, false);
        } else {
            m_oViewer->oleSecGrid()->Click(0, 0);
        }
        const size_t before = m_oPlatform.Reporter().Reports().size();
        const size_t shown = m_oPlatform.Dialogs().Shown().size();
        m_oViewer->HandleExMenuClick(value);
        EXPECT_EQ(m_oPlatform.Reporter().Reports().size(), before);
        EXPECT_EQ(m_oPlatform.Dialogs().Shown().size() > shown, asked);
    }
}

TEST_F(ViewerLayoutsTest, HostLayoutInfoDroppedByUpdateViewer) {
    Show(vt_FinderResults, 0);
    std::array<Variant, 3> args{Variant(m_lOwner), Variant(vt_FinderResults), Variant(0)};
    LayoutDescription chosen = layout_codec::Parse(
        CallMethod(*CreateObject(prog_id::kViewerReader), "GetDefaultLayout", args));
    chosen.Columns.resize(4);
    auto fresh = std::make_shared<Viewer>();
    fresh->SetViewerType(vt_FinderResults);
    fresh->SetOwnerId(m_lOwner);
    fresh->SetFinderResults(StockListRows());
    fresh->SetLayoutInfo(layout_codec::ToVariant(chosen));
    const size_t reports = m_oPlatform.Reporter().Reports().size();
    EXPECT_TRUE(fresh->UpdateViewer());
    EXPECT_EQ(layout_codec::Parse(fresh->LayoutInfo()).Columns, chosen.Columns);
    EXPECT_EQ(fresh->olePriGrid()->Columns()->Count(), 4);
    EXPECT_EQ(m_oPlatform.Reporter().Reports().size(), reports);
}

// Each kind: save as, drop a field in the chooser (saved in place), find both after a restart of
// the facade, decline and then accept the deletion, restore, and be refused deleting the default.
TEST_F(ViewerLayoutsTest, EveryListKindSavesCustomizesReloadsAfterARestartDeletesAndRestores) {
    for (ViewerType kind : {vt_Stocks, vt_Industries, vt_Sectors, vt_StockHistory,
                            vt_IndustryHistory, vt_SectorHistory, vt_FinderResults, vt_Portfolio}) {
        SCOPED_TRACE(kind);
        Show(kind);
        m_oViewer->SaveLayout(true);
        const LayoutDescription savedAs = Layout();
        ASSERT_EQ(savedAs.Header.OwnerId, m_lOwner);
        Choose([](ColumnChooserDialog& d) {
            // The list's keys and sort fields stay whatever is chosen; drop the last other field.
            const auto& chosen = d.Chosen();
            d.Remove(std::find_if(chosen.rbegin(), chosen.rend(), [](const ColumnChoice& f) {
                         return f.ParameterId != 35 && f.ParameterId != 36;
                     })->ParameterId);
        });
        EXPECT_TRUE(Customize());
        const LayoutDescription customized = Layout();
        // The finder's choice left its layout as it was: finder results come without the catalogue.
        EXPECT_NE(Visible(customized), Visible(savedAs));
        RestartFacade();
        m_oViewer = std::make_shared<Viewer>();
        m_oViewer->AddSink(m_oHost.Sink);
        m_oViewer->SetViewerType(kind);
        m_oViewer->SetOwnerId(m_lOwner);
        m_oViewer->LoadDefaultLayout();
        EXPECT_EQ(Visible(Layout()), Visible(customized));

        for (const MsgBoxResult answer : {vbNo, vbYes}) {
            m_oPlatform.Messages().QueueAnswer(answer);
            m_oViewer->DeleteLayout();
        }
        bool userOnly = false;
        m_oViewer->RestoreDefaultLayout(userOnly);
        EXPECT_EQ(Layout().Header.OwnerId, 0);
        m_oViewer->DeleteLayout();
        EXPECT_EQ(CallsTo("DeleteLayout"), 1u);
        EXPECT_EQ(m_oHost.Names(),
                  (std::vector<std::string>{"LayoutCustomized", "LayoutLoaded", "LayoutDeleted",
                                            "LayoutLoaded", "ChangeSort"}));
        const std::string asked =
            "Delete Warning: Are you sure you want to delete the current layout?";
        EXPECT_EQ(Told(),
                  (std::vector<std::string>{
                      asked, asked, "Delete Warning: You may not delete the default layout."}));
        m_oPlatform.Messages() = ScriptedMessageBox();
    }
}

TEST_F(ViewerLayoutsTest, TheCatalogueFieldsOfferedForEachList) {
    struct Case {
        ViewerType Type;
        int32_t FinderResultsType;
        std::vector<int32_t> Offered;
    };
    const Case cases[] = {{vt_Stocks, 0, {35, 36, 100}},
                          {vt_Industries, 0, {36, 100, 106}},
                          {vt_Sectors, 0, {100}},
                          {vt_StockHistory, 0, {4, 5, 35, 36, 100}},
                          {vt_IndustryHistory, 0, {35, 36, 100, 106}},
                          {vt_SectorHistory, 0, {36, 100}},
                          {vt_FinderResults, 0, {35, 36, 100}},
                          {vt_FinderResults, 1, {36, 100, 106}},
                          {vt_FinderResults, 2, {100}},
                          {vt_Portfolio, 0, {35, 36, 100, 103, 104}}};
    for (const Case& c : cases) {
        m_oViewer->SetViewerType(c.Type);
        m_oViewer->SetFinderResultsType(c.FinderResultsType);
        const auto list = m_oViewer->CreateFieldRSFromLayout(Catalogue(), {});
        ASSERT_TRUE(list) << c.Type;
        EXPECT_EQ(Ids(list), c.Offered)
            << "viewer type " << c.Type << ", results " << c.FinderResultsType;
    }
}

TEST_F(ViewerLayoutsTest, LayoutColumnsComeFirstOnceEachAndOnlyThoseAPersonMayChoose) {
    m_oViewer->SetViewerType(vt_Stocks);
    LayoutDescription layout;
    layout.Columns = {{100, csVisible, "F100", "Shown", 1, 2, ""},
                      {35, csHidden, "F35", "Kept", 1, 3, ""},
                      {38, csVisible, "F38", "Sort key", 1, 4, ""},
                      {41, csSystem, "F41", "System", 1, 5, ""},
                      {5, csAlwaysVisible, "F5", "Key", 1, 1, ""},
                      {101, csVisible, "F101", "No sequence", 1, 0, ""},
                      {0, csVisible, "F0", "No id", 1, 6, ""}};
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

// Dropping a field, OK and saved, is part of the tour of every list kind above.
TEST_F(ViewerLayoutsTest, WhatAChoiceDoesToTheListTheQueryAndTheSavedLayout) {
    const auto drop = [](ColumnChooserDialog& d, int32_t) {
        d.Remove(d.Chosen().back().ParameterId);
    };
    struct Case {
        const char* Name;
        std::function<void(ColumnChooserDialog&, int32_t)> Actions;
        bool Accept, Save, Result, Fetches;
    };
    const Case cases[] = {
        {"reorder", [](auto& d, int32_t) { d.MoveUp(d.Chosen().back().ParameterId); }, true, true,
         true, false},
        {"add a field the rows lack", [](auto& d, int32_t f) { d.Add(f); }, true, true, true, true},
        {"applied but not saved", drop, true, false, true, false},
        {"cancelled", drop, false, true, false, false},
        {"the default kept while in use", [](auto&, int32_t) {}, true, true, false, false},
        {"nothing chosen",
         [&](auto& d, int32_t) {
             while (!d.Chosen().empty()) {
                 drop(d, 0);
             }
         },
         true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Show(vt_Stocks);
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
    EXPECT_EQ(Told(),
              std::vector<std::string>{"Layout Warning: Layout must contain at least one field"});
    EXPECT_EQ(Shown()[0].Icon, vbExclamation);
}

// The default asked for on another owner's layout is restored for the user only; while printing,
// the layout held from before is the default, which changes nothing while still in use.
TEST_F(ViewerLayoutsTest, TheDefaultChosenInTheChooser) {
    Show(vt_Stocks);
    const LayoutDescription inUse = Layout();
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
    m_oLog->Clear();
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
        EXPECT_EQ(Customize(), !stillInUse);
        EXPECT_EQ(CallsTo("GetDefaultLayout"), 0u);
    }
    EXPECT_EQ(m_oHost.Count("LayoutCustomized"), 2u);
}

}  // namespace
}  // namespace qv::testing
