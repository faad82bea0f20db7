// The main window as a person uses it, offscreen: every kind of list, and clicks, keys and drags
// on the grids, checked on the grid models and on the events the control raised to the window;
// and the running indicator on the window.
#include "shell/main_window.h"

#include "control/viewer.h"
#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "shell/grid_view.h"
#include "shell/market_session.h"
#include "shell/qt_running_indicator.h"
#include "shell/qt_services.h"
#include "shell/running_indicator_panel.h"
#include "shell/shell_market.h"
#include "shell/test_application.h"
#include "shell/viewer_host.h"
#include "shell/viewer_surface.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdlib>

namespace qv::test {
namespace {

// The default request with one setting changed.
ViewerRequest With(int32_t ViewerRequest::*p_field, int32_t p_lValue) {
    ViewerRequest request;
    request.*p_field = p_lValue;
    return request;
}

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        m_window.resize(1000, 640);
        m_window.show();
        ASSERT_TRUE(m_window.ShowList(ViewerRequest{}));
    }

    GridView& PrimaryView() { return m_window.Surface().PrimaryView(); }
    GridView& SecondaryView() { return m_window.Surface().SecondaryView(); }
    GridControl& Primary() { return *m_window.Host().Control().olePriGrid(); }
    GridControl& Secondary() { return *m_window.Host().Control().oleSecGrid(); }

    static void Mouse(GridView& p_oView, QEvent::Type p_eType, QPoint p_point,
                      Qt::MouseButtons p_buttons) {
        QMouseEvent event(p_eType, QPointF(p_point),
                          QPointF(p_oView.viewport()->mapToGlobal(p_point)),
                          p_eType == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, p_buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(p_oView.viewport(), &event);
    }
    // A person's click, and the window catching up with what it changed.
    void Click(GridView& p_oView, QPoint p_point) {
        Mouse(p_oView, QEvent::MouseButtonPress, p_point, Qt::LeftButton);
        Mouse(p_oView, QEvent::MouseButtonRelease, p_point, Qt::NoButton);
        QApplication::processEvents();
    }
    void Drag(GridView& p_oView, QPoint p_from, QPoint p_to) {
        Mouse(p_oView, QEvent::MouseButtonPress, p_from, Qt::LeftButton);
        Mouse(p_oView, QEvent::MouseMove, (p_from + p_to) / 2, Qt::LeftButton);
        Mouse(p_oView, QEvent::MouseMove, p_to, Qt::LeftButton);
        Mouse(p_oView, QEvent::MouseButtonRelease, p_to, Qt::NoButton);
        QApplication::processEvents();
    }
    void Key(Qt::Key p_key, Qt::KeyboardModifiers p_modifiers = {}) {
        QTest::keyClick(&PrimaryView(), p_key, p_modifiers);
        QApplication::processEvents();
    }
    Variant PrimaryValue(const char* p_sField) { return Primary().DataSource()->Value(p_sField); }
    int32_t ColumnNamed(GridControl& p_oGrid, const std::string& p_sCaption) {
        for (const auto& column : p_oGrid.Columns()->DisplayOrder()) {
            if (column->Caption() == p_sCaption) {
                return column->ColIndex();
            }
        }
        return -1;
    }
    bool Logged(const std::string& p_sEventStart) const {
        const auto& log = m_window.EventLog();
        return std::any_of(log.begin(), log.end(), [&](const std::string& p_sEvent) {
            return p_sEvent.rfind(p_sEventStart, 0) == 0;
        });
    }

    MarketPlatform m_oPlatform;
    MainWindow m_window{SharedMarket()};
};

// The window read the captions of a control that had no list kind yet, and the exception ended
// the program.
TEST(MainWindowFirstList, AFirstRequestThatFailsLeavesTheStockListAndSaysWhy) {
    Application();
    MarketPlatform platform;
    MainWindow window{SharedMarket()};
    window.show();
    ViewerRequest request;
    request.m_lViewerType = vt_StockHistory;
    request.m_sSymbol = "NOSUCHSYMBOL";
    EXPECT_FALSE(window.ShowList(request));
    ASSERT_TRUE(window.Host().HasList());
    EXPECT_EQ(window.Host().Control().ViewerType(), vt_Stocks);
    EXPECT_FALSE(window.CaptionText().isEmpty());
    EXPECT_TRUE(window.LastMessage().startsWith(QStringLiteral("The list cannot be shown: ")))
        << window.LastMessage().toStdString();
}

TEST_F(MainWindowTest, OpensOnTheStockListOfTheLatestDayWithItsIndustryGrid) {
    EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_Stocks);
    EXPECT_EQ(m_window.Host().Request().m_lDate, kMarketLastDay);
    EXPECT_GT(Primary().RowCount(), 0);
    EXPECT_TRUE(PrimaryView().isVisible());
    EXPECT_EQ(SecondaryView().isVisible(), Secondary().Visible());
    EXPECT_FALSE(m_window.CaptionText().isEmpty());
    EXPECT_EQ(m_window.CaptionText().toStdString(), m_window.Host().Caption());

    // The one row of the grid below shows whole, with no bars it has no use for.
    EXPECT_FALSE(SecondaryView().horizontalScrollBar()->isVisible());
    EXPECT_FALSE(SecondaryView().verticalScrollBar()->isVisible());
    EXPECT_LE(SecondaryView().CellRect(0, 0).bottom(), SecondaryView().viewport()->height());

    // The views lie where the control places its grids.
    const TwipsRect& rect = m_window.Host().Control().PrimaryGridRect();
    EXPECT_EQ(PrimaryView().geometry(),
              m_window.Surface().ToPixels(rect.Left, rect.Top, rect.Width, rect.Height));
}

TEST_F(MainWindowTest, EveryKindOfListOpens) {
    struct Case {
        int32_t Type;
        bool SecondaryShown;
    };
    for (const Case& test : {Case{vt_Stocks, true}, Case{vt_Industries, true},
                             Case{vt_Sectors, false}, Case{vt_StockHistory, false},
                             Case{vt_IndustryHistory, false}, Case{vt_SectorHistory, false},
                             Case{vt_FinderResults, false}, Case{vt_Portfolio, false}}) {
        EXPECT_TRUE(m_window.ShowList(With(&ViewerRequest::m_lViewerType, test.Type))) << test.Type;
        EXPECT_EQ(m_window.Host().Control().ViewerType(), test.Type);
        EXPECT_EQ(m_window.RequestFromControls().m_lViewerType, test.Type);
        EXPECT_GT(Primary().RowCount(), 0) << test.Type;
        EXPECT_EQ(Secondary().Visible(), test.SecondaryShown) << test.Type;
        EXPECT_EQ(SecondaryView().isVisible(), test.SecondaryShown) << test.Type;
        EXPECT_EQ(m_window.CaptionText().toStdString(), m_window.Host().Caption());
    }
}

TEST_F(MainWindowTest, ClickingARowSelectsItAndTheIndustryGridFollows) {
    const int32_t symbol = ColumnNamed(Primary(), "Symbol");
    ASSERT_GE(symbol, 0);
    Click(PrimaryView(), PrimaryView().CellRect(3, symbol).center());
    EXPECT_EQ(Primary().Row(), Primary().TopRow() + 3);
    EXPECT_EQ(Primary().SelBookmarks()->Count(), 1);
    const int32_t industry = PrimaryValue("IndCode").ToLong();
    ASSERT_GT(Secondary().RowCount(), 0);
    auto below = Secondary().DataSource();
    for (below->MoveFirst(); !below->IsEOF(); below->MoveNext()) {
        EXPECT_EQ(below->Value("IndCode").ToLong(), industry);
    }

    // Down moves the current row and its selection; the grid below follows again.
    Key(Qt::Key_Down);
    EXPECT_EQ(Primary().Row(), Primary().TopRow() + 4);
    EXPECT_EQ(Primary().SelBookmarks()->Count(), 1);
    const int32_t next = PrimaryValue("IndCode").ToLong();
    below = Secondary().DataSource();
    below->MoveFirst();
    ASSERT_FALSE(below->IsEOF());
    EXPECT_EQ(below->Value("IndCode").ToLong(), next);
}

TEST_F(MainWindowTest, AHeaderClickIsReportedAsNotAvailableInTheStatusBarAndChangesNoRow) {
    const int32_t row = Primary().Row();
    const int32_t symbol = ColumnNamed(Primary(), "Symbol");
    Click(PrimaryView(), PrimaryView().HeaderRect(symbol).center());
    EXPECT_EQ(Primary().Row(), row);
    EXPECT_EQ(m_oPlatform.Reporter().CountReports("Viewer: olePriGrid_HeadClick"), 1u);
    EXPECT_EQ(m_window.LastMessage().toStdString(),
              "Sorting by a column header is not available in this version");
}

TEST_F(MainWindowTest, DraggingAColumnMovesItInTheModel) {
    const auto order = Primary().Columns()->DisplayOrder();
    // Two neighbouring columns of the scrolling split.
    const auto shown = Primary().Splits()->Item(1)->ShownColumns();
    ASSERT_GE(shown.size(), 3u);
    const int32_t moved = shown[2]->ColIndex();
    const int32_t target = shown[0]->ColIndex();
    const QRect to = PrimaryView().HeaderRect(target);
    Drag(PrimaryView(), PrimaryView().HeaderRect(moved).center(),
         QPoint(to.left() + 3, to.center().y()));
    const auto& after = Primary().Columns()->DisplayOrder();
    const auto position = [&](const auto& p_list, int32_t p_lCol) {
        return std::find_if(p_list.begin(), p_list.end(),
                            [&](const auto& c) { return c->ColIndex() == p_lCol; }) -
               p_list.begin();
    };
    EXPECT_LT(position(after, moved), position(after, target));
    EXPECT_GT(position(order, moved), position(order, target));
}

TEST_F(MainWindowTest, CtrlFRaisesFindAndTheWindowSaysSo) {
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(Logged("Find("));
    EXPECT_FALSE(m_window.LastMessage().isEmpty());
}

TEST_F(MainWindowTest, DeleteRaisesDeleteWithTheSelectedSymbolOnlyInAWatchList) {
    Key(Qt::Key_Delete);
    EXPECT_FALSE(Logged("Delete("));

    const auto lists = SharedMarket().WatchLists();
    const auto stockList = std::find_if(
        lists.begin(), lists.end(), [](const NamedCode& p_list) { return p_list.m_lKind == 0; });
    ASSERT_NE(stockList, lists.end());
    ASSERT_TRUE(m_window.ShowList(With(&ViewerRequest::m_lWatchListId, stockList->m_lCode)));
    const int32_t symbol = ColumnNamed(Primary(), "Symbol");
    Click(PrimaryView(), PrimaryView().CellRect(1, symbol).center());
    const std::string selected = PrimaryValue("Symbol").ToString();

    m_oPlatform.Messages().QueueAnswer(vbYes);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(Logged("Delete(" + selected))
        << (m_window.EventLog().empty() ? std::string("no events") : m_window.EventLog().back());
    EXPECT_NE(m_window.LastMessage().indexOf(QString::fromStdString(selected)), -1);
}

TEST_F(MainWindowTest, DoubleClickOnAHoldingOpensTheStocksHistory) {
    ASSERT_TRUE(m_window.ShowList(With(&ViewerRequest::m_lViewerType, vt_Portfolio)));
    const int32_t symbol = ColumnNamed(Primary(), "Symbol");
    const QPoint cell = PrimaryView().CellRect(1, symbol).center();
    Click(PrimaryView(), cell);
    const std::string selected = PrimaryValue("Symbol").ToString();
    QTest::mouseDClick(PrimaryView().viewport(), Qt::LeftButton, {}, cell);
    QApplication::processEvents();
    EXPECT_TRUE(Logged("DoubleClick(" + selected + ")"));
    EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_StockHistory);
    EXPECT_EQ(m_window.Host().Request().m_sSymbol, selected);
    EXPECT_EQ(m_window.RequestFromControls().m_sSymbol, selected);
}

TEST_F(MainWindowTest, ChoosingFromTheControlsShowsTheListTheHistoryOfTheCurrentRow) {
    const int32_t symbol = ColumnNamed(Primary(), "Symbol");
    Click(PrimaryView(), PrimaryView().CellRect(3, symbol).center());
    const std::string selected = PrimaryValue("Symbol").ToString();

    auto* type = m_window.findChild<QComboBox*>(QStringLiteral("listType"));
    ASSERT_NE(type, nullptr);
    const int history = type->findData(int32_t{vt_StockHistory});
    type->setCurrentIndex(history);
    emit type->activated(history);
    EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_StockHistory);
    EXPECT_EQ(m_window.Host().Request().m_sSymbol, selected);

    // A row limit chosen: the stock list again, at most 25 rows.
    const int stocks = type->findData(int32_t{vt_Stocks});
    type->setCurrentIndex(stocks);
    auto* rows = m_window.findChild<QComboBox*>(QStringLiteral("rows"));
    ASSERT_NE(rows, nullptr);
    const int limit = rows->findData(int32_t{25});
    rows->setCurrentIndex(limit);
    emit rows->activated(limit);
    EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_Stocks);
    EXPECT_EQ(Primary().RowCount(), 25);
    EXPECT_EQ(m_window.CaptionText().toStdString(), m_window.Host().Caption());
}

TEST_F(MainWindowTest, ASundayShowedFridaysListWhileTheDayBoxKeptSunday) {
    auto* day = m_window.findChild<QDateEdit*>(QStringLiteral("day"));
    ASSERT_NE(day, nullptr);
    day->setDate(QDate(2026, 11, 29));
    EXPECT_EQ(day->date(), QDate(2026, 11, 27));
    EXPECT_EQ(m_window.Host().Request().m_lDate, kMarketLastDay - 3);
    EXPECT_TRUE(m_window.NotesText().contains(QStringLiteral("2026-11-29 is not a trading day")))
        << m_window.NotesText().toStdString();
}

TEST_F(MainWindowTest, AnUnknownListTypeOrSymbolIsSaidNotThrownAndTheListKept) {
    const std::pair<ViewerRequest, QString> cases[] = {
        {With(&ViewerRequest::m_lViewerType, 42), QStringLiteral("Invalid Viewer Type")},
        {{.m_lViewerType = vt_StockHistory, .m_sSymbol = "NOSUCH"}, QStringLiteral("NOSUCH")}};
    for (const auto& [request, mention] : cases) {
        EXPECT_FALSE(m_window.ShowList(request)) << mention.toStdString();
        EXPECT_TRUE(m_window.LastMessage().contains(mention))
            << m_window.LastMessage().toStdString();
        EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_Stocks);
    }
}

// With the Qt services installed, the running indicator shows on the control's surface where
// the control places it.
TEST(MainWindowIndicator, ShowsCentredWhereTheControlPlacesIt) {
    Application();
    PlatformContext context;
    InstallQtServices(context);
    SharedMarket().LogIn();
    SharedMarket().Register(context.Components());
    ScopedPlatform installed(context);
    MainWindow window(SharedMarket());
    window.resize(1000, 640);
    window.show();
    ASSERT_TRUE(window.ShowList(ViewerRequest{}));

    Viewer& viewer = window.Host().Control();
    viewer.ChangeRunningStatus("Running . . .", true);
    auto* indicator = dynamic_cast<QtRunningIndicator*>(&context.Indicator());
    ASSERT_NE(indicator, nullptr);
    RunningIndicatorPanel* panel = indicator->Panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->parentWidget(), &window.Surface());
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->Caption(), QStringLiteral("Running . . ."));
    const TwipsRect& rect = viewer.RunningIndicatorRect();
    const QRect expected = window.Surface().ToPixels(rect.Left, rect.Top, rect.Width, rect.Height);
    // Both round twips to pixels on their own, so a pixel either way.
    EXPECT_LE(std::abs(panel->x() - expected.x()), 1);
    EXPECT_LE(std::abs(panel->y() - expected.y()), 1);

    viewer.ChangeRunningStatus();
    EXPECT_FALSE(panel->isVisible());
}

}  // namespace
}  // namespace qv::test
