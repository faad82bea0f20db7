// The control's layout commands on the generated market behind the recording facade; a scripted
// component stands in where the facade must answer what it never does (no layout, a refusal).
#include "columns/column_state.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "outside/column_selector.h"
#include "outside/error_reporter.h"
#include "outside/facade_protocol.h"
#include "outside/layout_description.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

#include <algorithm>
#include <array>
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
    // A second facade on the same database, as after a restart.
    void RestartFacade() {
        m_oRestarted =
            std::make_shared<facade::FacadeBackend>(std::make_shared<facade::MarketStore>(
                Backend().Store().Path(), facade::MarketStore::Access::ReadWrite));
        m_oRestarted->Login(m_lOwner, "");
        auto components = std::make_shared<ComponentFactory>();
        facade::RegisterFacadeComponents(*components, m_oRestarted);
        facade::RegisterRecordingComponents(m_oPlatform.Components(), components,
                                            facade::kFacadeProgIds, m_oLog);
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
    ASSERT_EQ(Shown().size(), 3u);
    EXPECT_EQ(Shown()[0].Text + "|" + Shown()[0].Title, "Unable to save layout!|Save Layout");
    EXPECT_EQ(Shown()[2].Text + "|" + Shown()[2].Title,
              "Unable to reset default layout|Layout Warning");
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
    const std::tuple<bool, int32_t, size_t> cases[] = {
        {true, 2, 1}, {true, 3, 0}, {false, 1, 1}, {false, 2, 0}};
    for (const auto& [primaryLast, value, forwarded] : cases) {
        SCOPED_TRACE(std::to_string(primaryLast) + " " + std::to_string(value));
        if (primaryLast) {
            m_oViewer->UpdateViewer(false, false);
        } else {
            m_oViewer->oleSecGrid()->Click(0, 0);
        }
        const size_t before = Reports("Viewer:HandleExMenuClick");
        m_oViewer->HandleExMenuClick(value);
        EXPECT_EQ(Reports("Viewer:HandleExMenuClick") - before, forwarded);
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
        m_oPlatform.Dialogs().QueueScriptFor<ColumnChooserDialog>([](ColumnChooserDialog& d) {
            // The list's keys and sort fields stay whatever is chosen; drop the last other field.
            const auto& chosen = d.Chosen();
            d.Remove(std::find_if(chosen.rbegin(), chosen.rend(), [](const ColumnChoice& f) {
                         return f.ParameterId != 35 && f.ParameterId != 36;
                     })->ParameterId);
            d.Accept();
        });
        bool save = true;
        EXPECT_TRUE(m_oViewer->Customize(nullptr, save));
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
        std::vector<std::string> told;
        for (const ShownMessage& shown : Shown()) {
            told.push_back(shown.Title + ": " + shown.Text);
        }
        const std::string asked =
            "Delete Warning: Are you sure you want to delete the current layout?";
        EXPECT_EQ(told,
                  (std::vector<std::string>{
                      asked, asked, "Delete Warning: You may not delete the default layout."}));
        m_oPlatform.Messages() = ScriptedMessageBox();
    }
}

}  // namespace
}  // namespace qv::testing
