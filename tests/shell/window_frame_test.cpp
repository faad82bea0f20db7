// The window as the host framework: each event a person can cause reaches the control master
// through the window's frame, and the window shows what the control then shows; every kind of
// list starts through the master, headless as in the window.
#include "shell/window_frame.h"
#include "host/control_master.h"
#include "outside/error_reporter.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/sort_dialog.h"
#include "shell/market_session.h"
#include "shell/portfolio_panel.h"
#include "shell/watch_list_panel.h"
#include "shell/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace qv::test {
namespace {

std::vector<NamedCode> StockWatchLists() {
    std::vector<NamedCode> lists = SharedMarket().WatchLists();
    lists.erase(std::remove_if(lists.begin(), lists.end(),
                               [](const NamedCode& p_oList) { return p_oList.m_lKind != 0; }),
                lists.end());
    return lists;
}

class WindowFrameTest : public WindowTest {
  public:
    MainWindow& Window() { return m_window; }
    MarketPlatform& Platform() { return m_oPlatform; }
    GridView& View() { return PrimaryView(); }
    GridControl& Grid() { return Primary(); }
    WindowFrame& Frame() { return m_window.Frame(); }
    SupportPanel* PanelOf(const char* p_sName) { return Frame().Panel(p_sName); }
    std::string Message() const { return m_window.statusBar()->currentMessage().toStdString(); }
    int32_t Rows() { return m_window.Host().Control().RecordCount(); }
    std::string Box(const char* p_sName) {
        return m_window.findChild<QComboBox*>(QString::fromLatin1(p_sName))
            ->currentText()
            .toStdString();
    }
    void Settle() { QApplication::processEvents(); }
    size_t MessagesSince() { return m_oPlatform.Messages().Shown().size() - m_lMessages; }

    size_t m_lMessages = 0;
};

struct EventCase {
    const char* m_sName;
    ViewerRequest m_oStart;
    std::function<void(WindowFrameTest&)> m_fnAct;
    std::function<std::string(WindowFrameTest&)> m_fnShown;
    std::string m_sShown;
};

TEST_F(WindowFrameTest, EachEventAPersonCausesReachesTheMasterAndTheWindowShowsItsOutcome) {
    const std::vector<NamedCode> lists = StockWatchLists();
    ASSERT_GE(lists.size(), 2u);
    const NamedCode first = lists[0];
    const NamedCode second = lists[1];
    const NamedCode portfolio = SharedMarket().Portfolios().front();
    const ViewerRequest stocks{.m_sSymbol = ""};
    const ViewerRequest watchList{.m_lWatchListId = first.m_lCode, .m_sSymbol = ""};
    QTemporaryDir folder;
    const QString symbols = folder.filePath(QStringLiteral("symbols.txt"));
    {
        QFile file(symbols);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("NOSUCHSYM\n");
    }

    const std::vector<EventCase> cases = {
        {"the strip's day", stocks,
         [](WindowFrameTest& t) {
             t.Frame().RaiseHostEvent("DATECHANGED",
                                      {Variant(std::string()), Variant::Date(kMarketLastDay - 3),
                                       Variant(int32_t{25}), Variant(false)});
         },
         [](WindowFrameTest& t) {
             return t.Window()
                        .findChild<QDateEdit*>(QStringLiteral("day"))
                        ->date()
                        .toString(Qt::ISODate)
                        .toStdString() +
                    " " + std::to_string(t.Rows());
         },
         "2026-11-27 25"},
        {"REFRESHHISTORY",
         {.m_lViewerType = vt_StockHistory, .m_sSymbol = ""},
         [](WindowFrameTest& t) {
             t.Frame().RaiseHostEvent(
                 "REFRESHHISTORY", {Variant(std::string()), Variant(int32_t{25}), Variant(false)});
         },
         [](WindowFrameTest& t) { return std::to_string(t.Rows()); },
         "25"},
        {"EDITSORT", stocks,
         [](WindowFrameTest& t) {
             t.Platform().Dialogs().QueueScriptFor<SortSelection>([](SortSelection& dialog) {
                 dialog.SetPrimary(16, 1);
                 dialog.Confirm();
             });
             t.Frame().RaiseHostEvent("EDITSORT");
         },
         [](WindowFrameTest& t) {
             return t.Window().StatusText().section(QStringLiteral(" | "), 0, 0).toStdString();
         },
         "Volume \u2193, Symbol \u2191"},
        {"FIND", stocks, [](WindowFrameTest& t) { t.Frame().RaiseHostEvent("FIND"); },
         [](WindowFrameTest& t) { return t.Platform().Dialogs().Shown().back(); }, "Find"},
        {"FINDSYMBOL from the search panel", stocks,
         [](WindowFrameTest& t) {
             t.Frame().RaiseHostEvent("FINDSYMBOL", {Variant(std::string("XHSZ"))});
         },
         [](WindowFrameTest& t) { return t.Platform().Dialogs().Shown().back(); }, "Find"},
        {"WATCHLISTCHANGED from the panel", watchList,
         [&](WindowFrameTest& t) {
             dynamic_cast<WatchListPanel*>(t.PanelOf(kWatchListSupport))->OpenList(second.m_lCode);
         },
         [](WindowFrameTest& t) {
             return t.Box("watchList") + " " +
                    std::to_string(t.Window().Host().Control().WatchListId());
         },
         second.m_sName + " (stocks) " + std::to_string(second.m_lCode)},
        {"WATCHLISTCHANGED to no list", watchList,
         [](WindowFrameTest& t) {
             t.Frame().RaiseHostEvent(
                 "WATCHLISTCHANGED", {Variant(int16_t{0}), Variant(int32_t{1}), Variant(int32_t{0}),
                                      Variant::Date(kMarketLastDay), Variant(std::string("A"))});
         },
         [](WindowFrameTest& t) {
             const QLabel& caption = t.Frame().FrameCaption();
             return caption.text().toStdString() + " " +
                    std::to_string(caption.isVisibleTo(&t.Window()));
         },
         "Please select a WatchList. 1"},
        {"ITEMSELECTED from the portfolio panel", stocks,
         [&](WindowFrameTest& t) {
             LetProperty(*t.PanelOf(kPortfolioSupport)->Object(), "CurrentItem",
                         Variant(portfolio.m_lCode));
         },
         [](WindowFrameTest& t) {
             return t.Box("portfolio") + " " + std::to_string(t.Frame().Master()->PortfolioMode());
         },
         portfolio.m_sName + " 1"},
        {"IMPORT into the watch list", watchList,
         [&](WindowFrameTest& t) {
             auto* panel = dynamic_cast<WatchListPanel*>(t.PanelOf(kWatchListSupport));
             panel->SetFileChooser([&] { return symbols; });
             t.Frame().RaiseHostEvent("IMPORT");
         },
         [](WindowFrameTest& t) {
             const QString said =
                 dynamic_cast<WatchListPanel*>(t.PanelOf(kWatchListSupport))->StatusText();
             return said.section(QStringLiteral("; "), 1).toStdString();
         },
         "not known: NOSUCHSYM"},
        {"DELETE of a row the person keeps", watchList,
         [](WindowFrameTest& t) {
             t.Grid().SelBookmarks()->Clear();
             t.Grid().SelBookmarks()->Add(
                 GridControl::BookmarkOfRowId(t.Grid().DataSource()->ViewRowId(0)));
             t.Platform().Messages().QueueAnswer(vbNo);
             QTest::keyClick(&t.View(), Qt::Key_Delete);
         },
         [](WindowFrameTest& t) {
             const auto rows = t.Grid().DataSource()->Clone();
             rows->MoveFirst();
             const std::string asked = t.Platform().Messages().Shown().back().Text;
             return std::to_string(t.MessagesSince()) + " " +
                    std::to_string(asked.find(rows->Value("Symbol").ToString()) !=
                                   std::string::npos);
         },
         "1 1"},
        {"CLOSECLICKED", watchList,
         [](WindowFrameTest& t) { t.Frame().RaiseHostEvent("CLOSECLICKED"); },
         [](WindowFrameTest& t) {
             return std::to_string(t.Frame().ShownPanel() == nullptr) + " " +
                    std::to_string(t.Frame().ToolBar().isVisibleTo(&t.Window()));
         },
         "1 1"},
        {"the toolbar's Portfolio", stocks,
         [](WindowFrameTest& t) {
             t.Window().findChild<QAction*>(QStringLiteral("toolBarPortfolio"))->trigger();
         },
         [](WindowFrameTest& t) {
             return std::to_string(t.Frame().ShownPanel() == t.PanelOf(kPortfolioSupport)) + " " +
                    std::to_string(t.Frame().PanelWidth() > 0);
         },
         "1 1"},
        {"Ctrl+G released in the list", stocks,
         [](WindowFrameTest& t) { QTest::keyClick(&t.View(), Qt::Key_G, Qt::ControlModifier); },
         [](WindowFrameTest& t) { return t.Message().substr(0, 45); },
         "Page: pagecontroller.aspx?pagetype=10&iwp=0&s"},
    };
    for (const EventCase& entry : cases) {
        SCOPED_TRACE(entry.m_sName);
        ASSERT_TRUE(m_window.ShowList(entry.m_oStart));
        m_lMessages = m_oPlatform.Messages().Shown().size();
        entry.m_fnAct(*this);
        Settle();
        EXPECT_EQ(entry.m_fnShown(*this), entry.m_sShown);
    }
}

TEST(HostFrame, EveryKindOfListStartsThroughTheMaster) {
    MarketPlatform platform;
    ViewerHost host{SharedMarket()};
    const int32_t watchList = StockWatchLists().front().m_lCode;
    const int32_t portfolio = SharedMarket().Portfolios().front().m_lCode;
    struct Case {
        ViewerRequest m_oRequest;
        bool m_bWatchListMode;
    };
    const std::vector<Case> cases = {
        {{.m_lViewerType = vt_Stocks, .m_sSymbol = ""}, false},
        {{.m_lViewerType = vt_Industries, .m_sSymbol = ""}, false},
        {{.m_lViewerType = vt_Sectors, .m_sSymbol = ""}, false},
        {{.m_lViewerType = vt_StockHistory, .m_sSymbol = ""}, false},
        {{.m_lViewerType = vt_IndustryHistory, .m_sSymbol = ""}, false},
        {{.m_lViewerType = vt_SectorHistory, .m_sSymbol = ""}, false},
        {{.m_lViewerType = vt_FinderResults, .m_sSymbol = ""}, false},
        {{.m_lViewerType = vt_Portfolio, .m_sSymbol = ""}, false},
        {{.m_lViewerType = vt_Stocks, .m_lWatchListId = watchList, .m_sSymbol = ""}, true},
        {{.m_lViewerType = vt_Stocks, .m_lPortfolioId = portfolio, .m_sSymbol = ""}, true},
    };
    for (const Case& entry : cases) {
        const int32_t type = entry.m_oRequest.m_lViewerType;
        SCOPED_TRACE(type);
        ASSERT_TRUE(host.Show(entry.m_oRequest)) << host.Caption();
        const CControlMaster& master = *host.Frame().Master();
        EXPECT_EQ(master.ViewerType(), type);
        EXPECT_EQ(master.WatchListMode(), entry.m_bWatchListMode);
        EXPECT_EQ(host.Control().ViewerType(), type);
        // What the start-up array cannot carry reached the control before its query.
        EXPECT_FALSE(host.Frame().StartupPending());
        EXPECT_EQ(host.Control().WatchListId(), entry.m_oRequest.m_lWatchListId);
        if (type == vt_StockHistory) {
            EXPECT_EQ(host.Control().EndDate(), host.Request().m_lDate);
        }
    }
    EXPECT_TRUE(PlatformContext::Current().Reporter().Reports().empty());
}

}  // namespace
}  // namespace qv::test
