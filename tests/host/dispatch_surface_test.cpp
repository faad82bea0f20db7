// The master calls the control only by name, so nothing but this test notices a member the
// control does not answer: every call the master makes on a recording control, through all its
// commands, is checked against the real control's dispatch table.
#include "control/viewer.h"
#include "tests/host/master_test.h"

#include <array>
#include <set>
#include <tuple>

namespace qv::testing {
namespace {

const char* KindName(InvokeKind p_eKind) {
    switch (p_eKind) {
        case InvokeKind::Method:
            return "method";
        case InvokeKind::PropertyGet:
            return "get";
        case InvokeKind::PropertyLet:
            return "let";
        case InvokeKind::PropertySet:
            return "set";
    }
    return "?";
}

TEST(ViewerSurface, AnswersMemberByNameKindAndCount) {
    EXPECT_TRUE(Viewer::AnswersMember("updateviewer", InvokeKind::Method, 2));
    EXPECT_TRUE(Viewer::AnswersMember("RecordCount", InvokeKind::Method, 0));
    EXPECT_FALSE(Viewer::AnswersMember("UpdateViewer", InvokeKind::Method, 3));
    EXPECT_FALSE(Viewer::AnswersMember("RecordCount", InvokeKind::PropertyLet, 1));
    EXPECT_FALSE(Viewer::AnswersMember("Frobnicate", InvokeKind::Method, 0));
}

using Surface = std::set<std::tuple<std::string, InvokeKind, size_t>>;

class DispatchSurfaceTest : public MasterTest {
  protected:
    // Every command of the master on every list, in each mode, with and without rows, a watch
    // list, selected keys and a sector helper code: the calls made on the main control.
    Surface DriveEverything() {
        Surface calls;
        for (const Mode mode : {Mode::Plain, Mode::WatchList, Mode::Portfolio}) {
            for (int16_t type = 0; type <= 7; ++type) {
                for (const bool variant : {false, true}) {
                    Drive(mode, type, variant);
                    for (const RecordedCall& call : m_oHost->Log()->Calls()) {
                        if (call.Target == "main") {
                            calls.emplace(call.Member, call.Kind, call.Arguments.size());
                        }
                    }
                    m_oHost->Log()->Clear();
                }
            }
        }
        return calls;
    }

    void Drive(Mode p_eMode, int16_t p_iType, bool p_bVariant) {
        const int32_t watchList = p_bVariant ? 4 : 0;
        RecordingObject& main = m_oHost->Main();
        main.Answer("RecordCount", Variant(int32_t{p_bVariant ? 2 : 0}));
        // A watch list's graph is drawn when nothing is selected.
        main.Answer("Win32Key", Variant(p_bVariant && p_eMode != Mode::WatchList ? "IBM" : ""));
        m_oHost->SupportControl("ctlWatchListSupport")
            .Answer("CurrentWatchListID", Variant(watchList));
        std::vector<std::pair<int32_t, Variant>> changes{
            {0, Variant(p_iType)}, {6, Variant(static_cast<int16_t>(p_bVariant ? 7 : 0))}};
        if (p_bVariant && p_eMode == Mode::Plain) {
            changes.emplace_back(11, Variant(int32_t{6}));
        }
        const std::unique_ptr<CControlMaster> master = NewMaster();
        master->InitMainControl(InMode(p_eMode, Startup(std::move(changes))), *m_oHost);
        master->FinalizeInit(*m_oHost);
        main.Answer("WatchListId", Variant(watchList));
        DriveCommands(*master, watchList);
    }

    void DriveCommands(CControlMaster& p_oMaster, int32_t p_lWatchList) {
        const Variant day = Variant::Date(kListDay);
        const std::vector<Variant> params{Variant(int32_t{1}), day, Variant(p_lWatchList), day,
                                          Variant("A")};
        for (const char* name : {"REFRESHHISTORY", "DATECHANGED",     "EDITSORT",
                                 "CHANGESORT",     "FINDSYMBOL",      "FIND",
                                 "WATCHLISTADDED", "FINDINDUSTRIES",  "GETINFO",
                                 "CLOSECLICKED",   "ITEMSELECTED",    "IMPORT",
                                 "RESIZE",         "EDITLAYOUT",      "CHANGELAYOUT",
                                 "SAVELAYOUT",     "CUSTOMIZELAYOUT", "DELETE",
                                 "QUICKTEST",      "PRINTSELECTED",   "ADDTOWATCHLIST",
                                 "SHOWHISTORY",    "SHOWSTOCKA",      "SHOWINFO",
                                 "GRAPH",          "WATCHLISTCHANGED"}) {
            p_oMaster.HandleEvents(*Event(name, params), *m_oHost);
        }
        for (const char key : std::string("ADEFGHLPQW")) {
            int16_t code = key;
            int16_t shift = 2;
            p_oMaster.KeyReleased(code, shift, *m_oHost);
        }
        for (const char* key : {"WATCHLISTS", "FIND", "PORTFOLIO"}) {
            p_oMaster.HandleToolBarClick(key, *m_oHost);
        }
        p_oMaster.CloseSupport(*m_oHost);
        p_oMaster.CustomFieldsChanged(*m_oHost);
        p_oMaster.ExportData(6, *m_oHost);
    }
};

TEST_F(DispatchSurfaceTest, EveryCallOnTheMainControlIsOneTheViewerAnswers) {
    const Surface calls = DriveEverything();
    EXPECT_TRUE(m_platform.Reporter().Reports().empty());
    // Every member the master uses is reached, so none escapes the check.
    EXPECT_EQ(calls.size(), 45u);
    for (const auto& [member, kind, count] : calls) {
        EXPECT_TRUE(Viewer::AnswersMember(member, kind, static_cast<int>(count)))
            << "the Viewer does not answer the " << KindName(kind) << " " << member << " with "
            << count << " arguments";
    }
}

}  // namespace
}  // namespace qv::testing
