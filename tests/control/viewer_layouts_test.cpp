#include "columns/grid_layout.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "outside/dispatch_table.h"
#include "outside/error_reporter.h"
#include "outside/facade_protocol.h"
#include "outside/layout_description.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"
#include "viewer_test_support.h"

#include <array>
#include <map>

namespace qv::testing {
namespace {

namespace prog_id = facade_protocol::prog_id;

// A facade component that answers each member from a script and keeps the arguments it got.
class ScriptedFacade : public DispatchObject {
  public:
    std::map<std::string, Variant> Answers;
    std::vector<std::pair<std::string, std::vector<Variant>>> Calls;

    Variant Invoke(std::string_view p_sName, InvokeKind, std::span<Variant> p_args) override {
        Calls.emplace_back(std::string(p_sName),
                           std::vector<Variant>(p_args.begin(), p_args.end()));
        const auto answer = Answers.find(std::string(p_sName));
        return answer == Answers.end() ? Variant() : answer->second;
    }
};

class ViewerLayoutsTest : public ViewerTest {
  protected:
    // A list of p_eType on the market's last day for a new owner, which is logged in.
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
        if (p_eType == vt_Portfolio) {
            m_oViewer->SetPortfolioID(1);
        }
        m_oViewer->UpdateViewer();
        m_oLog->Clear();
        m_oHost.Events.clear();
    }
    LayoutDescription Layout() { return layout_codec::Parse(m_oViewer->LayoutInfo()); }
    std::shared_ptr<ScriptedFacade> Script(std::string_view p_sProgId) {
        auto facade = std::make_shared<ScriptedFacade>();
        m_oPlatform.Components().Unregister(p_sProgId);
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
        bool OwnFirst;  // saved once before, so the layout in force is the owner's
        bool SaveAs;
        bool PrintMode;
        bool NewLayout;
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
        if (c.NewLayout && !c.PrintMode) {
            EXPECT_EQ(after.Name, "Custom " + before.Name);
            EXPECT_EQ(after.ParentId, 2);
        }
        EXPECT_EQ(after.Id != before.Id, c.NewLayout);
        EXPECT_TRUE(Shown().empty());
    }
}

TEST_F(ViewerLayoutsTest, ARefusedSaveIsToldAndLeavesTheLayoutAsItWas) {
    Show(vt_Stocks);
    const Variant before = m_oViewer->LayoutInfo();
    Script(prog_id::kViewerWriter)->Answers["SaveLayout"] = Variant(false);
    m_oViewer->SaveLayout();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].Text, "Unable to save layout!");
    EXPECT_EQ(Shown()[0].Title, "Save Layout");
    EXPECT_EQ(layout_codec::Parse(m_oViewer->LayoutInfo()), layout_codec::Parse(before));
}

TEST_F(ViewerLayoutsTest, DeletingAsksFirstAndOnlyForTheOwnersOwnLayout) {
    struct Case {
        const char* Name;
        bool Own;
        MsgBoxResult Answer;
        std::vector<std::string> Titles;
        size_t Deletes;
    };
    const Case cases[] = {
        {"the system's default", false, vbYes, {"Delete Warning"}, 0},
        {"own, answered No", true, vbNo, {"Delete Warning"}, 0},
        {"own, answered Yes", true, vbYes, {"Delete Warning"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Show(vt_Industries);
        if (c.Own) {
            m_oViewer->SaveLayout(true);
            m_oLog->Clear();
        }
        const int32_t id = Layout().Header.Id;
        const size_t shownBefore = Shown().size();
        m_oPlatform.Messages().QueueAnswer(c.Answer);
        m_oViewer->DeleteLayout();
        std::vector<std::string> titles;
        for (size_t i = shownBefore; i < Shown().size(); ++i) {
            titles.push_back(Shown()[i].Title);
        }
        EXPECT_EQ(titles, c.Titles);
        EXPECT_EQ(CallsTo("DeleteLayout"), c.Deletes);
        EXPECT_EQ(m_oHost.Count("LayoutDeleted"), c.Deletes);
        if (c.Deletes == 1) {
            EXPECT_EQ(m_oHost.Last("LayoutDeleted")->Args[0].ToLong(), id);
            EXPECT_EQ(Layout().Header.OwnerId, 0) << "the stand-in shown";
        }
    }
    EXPECT_EQ(Shown()[0].Text, "You may not delete the default layout.");
    EXPECT_EQ(Shown()[1].Text, "Are you sure you want to delete the current layout?");
}

TEST_F(ViewerLayoutsTest, ADeletionWithoutAStandInIsAWarningAndKeepsTheLayout) {
    Show(vt_Stocks);
    m_oViewer->SaveLayout(true);
    const LayoutDescription own = Layout();
    auto writer = Script(prog_id::kViewerWriter);
    writer->Answers["DeleteLayout"] = Variant(true);
    m_oPlatform.Messages().QueueAnswer(vbYes);
    m_oViewer->DeleteLayout();
    ASSERT_EQ(Shown().size(), 2u);
    EXPECT_EQ(Shown()[1].Text, "Unable to reset default layout");
    EXPECT_EQ(Shown()[1].Title, "Layout Warning");
    EXPECT_EQ(Layout(), own);
    EXPECT_EQ(m_oHost.Count("LayoutDeleted"), 0u);
}

TEST_F(ViewerLayoutsTest, TheFinderTypeSentFollowsTheViewerType) {
    struct Case {
        ViewerType Type;
        int32_t FinderResultsType;
        int16_t Asked;  // the argument of LoadDefaultLayout
        int32_t Sent;
        int32_t FinderResultsTypeAfter;
    };
    const Case cases[] = {
        {vt_Stocks, 0, -1, -1, 0},    {vt_FinderResults, 1, -1, 1, 1}, {vt_Portfolio, 1, -1, 1, 1},
        {vt_Portfolio, 0, -1, -1, 0}, {vt_Portfolio, 0, 5, 5, 0},      {vt_Portfolio, 0, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Type) + " " + std::to_string(c.Asked));
        Show(c.Type, c.FinderResultsType);
        int16_t viewerType = -1;
        int16_t finderType = c.Asked;
        m_oViewer->LoadDefaultLayout(viewerType, finderType);
        const std::vector<Variant> sent = ArgumentsOf("GetDefaultLayout");
        ASSERT_EQ(sent.size(), 3u);
        EXPECT_EQ(sent[0].ToLong(), m_lOwner);
        EXPECT_EQ(sent[1].ToLong(), c.Type);
        EXPECT_EQ(sent[2].ToLong(), c.Sent);
        EXPECT_EQ(viewerType, c.Type) << "written back";
        EXPECT_EQ(m_oViewer->FinderResultsType(), c.FinderResultsTypeAfter);
    }
}

TEST_F(ViewerLayoutsTest, LoadsShowTheLayoutAndTellTheHost) {
    Show(vt_Stocks);
    m_oViewer->SaveLayout(true);
    const LayoutDescription own = Layout();
    m_oViewer->LoadDefaultLayout();
    EXPECT_EQ(Layout().Header.Id, own.Header.Id) << "a saved layout is the owner's default";

    m_oViewer->Strategy()->ViewerElements()->SetSortInfo(13, 1, -1, 0);
    m_oHost.Events.clear();
    m_oViewer->LoadLayout(own.Header.Id, true);
    ASSERT_EQ(m_oHost.Names(), std::vector<std::string>{"LayoutLoaded"});
    EXPECT_EQ(m_oHost.Last("LayoutLoaded")->Args[0].ToLong(), own.Header.Id);
    EXPECT_EQ(Layout().Sort->PriSortId, 13) << "loaded for printing, the sort in use stays";
    EXPECT_EQ(m_oPlatform.Pointer().Pointer(), vbDefault);

    m_oViewer->LoadLayout(own.Header.Id);
    EXPECT_EQ(Layout().Sort, own.Sort);
    EXPECT_GT(m_oViewer->RecordCount(), 0);
}

TEST_F(ViewerLayoutsTest, ALayoutThatCannotBeShownIsAnOpenLayoutErrorWithItsReason) {
    struct Case {
        const char* Name;
        Variant Answer;
        const char* Reason;  // in the message after the first line; "" for none
    };
    Variant narrowTable = VariantArray::Vector({Variant(), Variant(), Variant()});
    Case cases[] = {
        {"no layout", Variant(), ""},
        {"not an array", Variant("layout"), "layout"},
        {"a column table of the wrong dimensions", Variant(), "column"},
    };
    Show(vt_Stocks);
    {
        LayoutDescription wrong = Layout();
        Variant description = layout_codec::ToVariant(wrong);
        description.Array().At(2) = VariantArray::Vector({Variant(1), Variant(2)});
        cases[2].Answer = description;
    }
    const LayoutDescription before = Layout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const size_t shown = Shown().size();
        auto reader = Script(prog_id::kViewerReader);
        reader->Answers["GetLayout"] = c.Answer;
        reader->Answers["GetDefaultLayout"] = c.Answer;
        m_oViewer->LoadLayout(7);
        m_oViewer->LoadDefaultLayout();
        ASSERT_EQ(Shown().size(), shown + 2);
        for (size_t i = shown; i < Shown().size(); ++i) {
            EXPECT_EQ(Shown()[i].Title, "Open Layout Error");
            EXPECT_EQ(Shown()[i].Text.rfind("Unable to load viewer layout.", 0), 0u);
            EXPECT_NE(Shown()[i].Text.find(c.Reason), std::string::npos) << Shown()[i].Text;
        }
        EXPECT_EQ(Layout(), before);
        EXPECT_EQ(m_oHost.Count("LayoutLoaded"), 0u);
    }
}

TEST_F(ViewerLayoutsTest, RestoringRaisesLoadedThenChangeSortAndTellsOfAFailure) {
    Show(vt_Sectors);
    m_oViewer->SaveLayout(true);
    bool userOnly = false;
    m_oHost.Events.clear();
    m_oViewer->RestoreDefaultLayout(userOnly);
    EXPECT_EQ(m_oHost.Names(), (std::vector<std::string>{"LayoutLoaded", "ChangeSort"}));
    EXPECT_EQ(Layout().Header.OwnerId, 0);
    EXPECT_TRUE(Shown().empty());

    m_oPlatform.Components().Unregister(prog_id::kViewerWriter);
    m_oPlatform.Components().Register(prog_id::kViewerWriter,
                                      [] { return std::make_shared<DispatchObject>(); });
    m_oViewer->RestoreDefaultLayout(userOnly);
    EXPECT_EQ(Reports("Viewer:RestoreDefaultLayout"), 1u);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].Title, "Layout not restored.");
}

TEST_F(ViewerLayoutsTest, RestoringInPrintModeDropsThePrintLayoutAndGoesBack) {
    Show(vt_Industries);
    const LayoutDescription before = Layout();
    m_oViewer->SetPrintLayoutMode(true);
    m_oViewer->SaveLayout(true);
    bool userOnly = true;
    m_oViewer->RestoreDefaultLayout(userOnly);
    const std::vector<Variant> sent = ArgumentsOf("DeleteCustomLayout");
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1].ToLong(), vt_Industries_Print);
    EXPECT_EQ(CallsTo("RestoreDefaultLayout"), 0u);
    EXPECT_EQ(Layout(), before);
}

TEST_F(ViewerLayoutsTest, HostMenuCommandsGoToTheGridUsedLast) {
    struct Case {
        bool PrimaryLast;
        int32_t Value;
        bool Forwarded;
    };
    const Case cases[] = {{true, 1, true},  {true, 2, true},   {true, 3, false},
                          {false, 1, true}, {false, 2, false}, {false, 0, false}};
    Show(vt_Stocks);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.PrimaryLast) + " " + std::to_string(c.Value));
        if (c.PrimaryLast) {
            m_oViewer->UpdateViewer(false, false);
        } else {
            m_oViewer->oleSecGrid()->Click(0, 0);
        }
        ASSERT_EQ(m_oViewer->PrimaryGridUsedLast(), c.PrimaryLast);
        const size_t before = Reports("Viewer:HandleExMenuClick");
        m_oViewer->HandleExMenuClick(c.Value);
        EXPECT_EQ(Reports("Viewer:HandleExMenuClick") - before, c.Forwarded ? 1u : 0u);
    }
    std::shared_ptr<DispatchObject> menu = std::make_shared<DispatchObject>();
    EXPECT_EQ(m_oViewer->CreateLayoutMenu(menu), 0);
}

TEST_F(ViewerLayoutsTest, ByDispatchTheDefaultsApplyAndByReferenceArgumentsComeBack) {
    Show(vt_FinderResults, 1);
    std::array<Variant, 2> args{Variant(int16_t{-1}), Variant(int16_t{-1})};
    CallMethod(*m_oViewer, "LoadDefaultLayout", args);
    EXPECT_EQ(args[0].ToLong(), vt_FinderResults);
    EXPECT_EQ(args[1].ToLong(), 1);
    std::array<Variant, 1> saveAs{Variant(true)};
    EXPECT_FALSE(CallMethod(*m_oViewer, "SaveLayout", saveAs).ToBool());
    EXPECT_EQ(CallsTo("SaveLayout"), 1u);
    std::array<Variant, 1> userOnly{Variant(true)};
    CallMethod(*m_oViewer, "RestoreDefaultLayout", userOnly);
    EXPECT_TRUE(userOnly[0].ToBool());
    EXPECT_EQ(m_oHost.Count("LayoutAdded"), 0u);
}

TEST_F(ViewerLayoutsTest, HostLayoutInfoDroppedByUpdateViewer) {
    Show(vt_FinderResults, 0);
    std::array<Variant, 3> args{Variant(m_lOwner), Variant(vt_FinderResults), Variant(0)};
    const LayoutDescription shown = layout_codec::Parse(
        CallMethod(*CreateObject(prog_id::kViewerReader), "GetDefaultLayout", args));
    auto fresh = std::make_shared<Viewer>();
    fresh->SetViewerType(vt_FinderResults);
    fresh->SetOwnerId(m_lOwner);
    fresh->SetFinderResults(StockListRows());
    LayoutDescription chosen = shown;
    chosen.Columns.resize(4);
    fresh->SetLayoutInfo(layout_codec::ToVariant(chosen));
    const size_t reports = m_oPlatform.Reporter().Reports().size();
    EXPECT_TRUE(fresh->UpdateViewer());
    EXPECT_EQ(layout_codec::Parse(fresh->LayoutInfo()).Columns, chosen.Columns);
    EXPECT_EQ(fresh->olePriGrid()->Columns()->Count(), 4);
    EXPECT_EQ(m_oPlatform.Reporter().Reports().size(), reports);
}

// Every kind of list keeps a layout saved under a new name through a restart of the facade, and
// loses it again to the system's layout by a deletion and a restore.
TEST_F(ViewerLayoutsTest, EveryListKindSavesReloadsAfterARestartDeletesAndRestores) {
    for (ViewerType kind : {vt_Stocks, vt_Industries, vt_Sectors, vt_StockHistory,
                            vt_IndustryHistory, vt_SectorHistory, vt_FinderResults, vt_Portfolio}) {
        SCOPED_TRACE(kind);
        Show(kind);
        m_oViewer->SaveLayout(true);
        const int32_t saved = Layout().Header.Id;
        ASSERT_EQ(Layout().Header.OwnerId, m_lOwner);

        RestartFacade();
        m_oViewer = std::make_shared<Viewer>();
        m_oViewer->AddSink(m_oHost.Sink);
        m_oViewer->SetViewerType(kind);
        m_oViewer->SetOwnerId(m_lOwner);
        m_oViewer->LoadDefaultLayout();
        EXPECT_EQ(Layout().Header.Id, saved);

        m_oPlatform.Messages().QueueAnswer(vbYes);
        m_oViewer->DeleteLayout();
        EXPECT_EQ(Layout().Header.OwnerId, 0);
        bool userOnly = false;
        m_oViewer->RestoreDefaultLayout(userOnly);
        EXPECT_EQ(Layout().Header.OwnerId, 0);
        EXPECT_EQ(m_oHost.Names(), (std::vector<std::string>{"LayoutLoaded", "LayoutDeleted",
                                                             "LayoutLoaded", "ChangeSort"}));
        EXPECT_TRUE(Shown().size() == 1 && Shown()[0].Title == "Delete Warning");
        m_oPlatform.Messages() = ScriptedMessageBox();
    }
}

}  // namespace
}  // namespace qv::testing
