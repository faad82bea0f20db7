// The main window as a person uses it, offscreen: what the window adds to the control it hosts
// (its choosers, its status bar, its notes, its first list and the list a double click opens).
#include "outside/error_reporter.h"
#include "outside/grid_control_column.h"
#include "outside/grid_control_columns.h"
#include "outside/recordset.h"
#include "outside/sort_dialog.h"
#include "shell/market_session.h"
#include "shell/view_probe.h"
#include "shell/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QScrollBar>
#include <QTest>

#include <algorithm>

namespace qv::test {
namespace {

class MainWindowTest : public WindowTest {
  protected:
    GridView& SecondaryView() { return m_window.Surface().SecondaryView(); }

    // A person's click on a row's symbol (the first column), and the window catching up with it.
    std::string ClickSymbol(int32_t p_lRow) {
        ClickAt(PrimaryView().viewport(), PrimaryView().CellRect(p_lRow, 0).center());
        QApplication::processEvents();
        return Primary().DataSource()->Value("Symbol").ToString();
    }
    int16_t PriceColumn() {
        for (int16_t i = 0; i < Primary().Columns()->Count(); ++i) {
            if (Primary().Columns()->Item(i)->DataField() == "Price") {
                return i;
            }
        }
        return -1;
    }
    void ClickPriceHeader() {
        ClickAt(PrimaryView().viewport(), PrimaryView().HeaderRect(PriceColumn()).center());
        QApplication::processEvents();
    }
    bool Logged(const std::string& p_sEventStart) const {
        const auto& log = m_window.EventLog();
        return std::any_of(log.begin(), log.end(), [&](const std::string& p_sEvent) {
            return p_sEvent.starts_with(p_sEventStart);
        });
    }
};

// The window read the captions of a control that had no list kind yet, and the exception ended
// the program.
TEST(MainWindowFirstList, AFirstRequestThatFailsLeavesTheStockListAndSaysWhy) {
    Application();
    MarketPlatform platform;
    MainWindow window{SharedMarket()};
    window.show();
    EXPECT_FALSE(window.ShowList({.m_lViewerType = vt_StockHistory, .m_sSymbol = "NOSUCHSYMBOL"}));
    ASSERT_TRUE(window.Host().HasList());
    EXPECT_EQ(window.Host().Control().ViewerType(), vt_Stocks);
    EXPECT_TRUE(window.LastMessage().startsWith(QStringLiteral("The list cannot be shown: ")))
        << window.LastMessage().toStdString();
}

TEST_F(MainWindowTest, OpensOnTheStockListOfTheLatestDayWithItsIndustryGrid) {
    EXPECT_EQ(m_window.Host().Request().m_lDate, kMarketLastDay);
    // The one row of the grid below shows whole, with no bars it has no use for. A scroll area
    // shows or hides its bars on the next turn of the event loop after their ranges change.
    QApplication::processEvents();
    EXPECT_FALSE(SecondaryView().horizontalScrollBar()->isVisible());
    EXPECT_FALSE(SecondaryView().verticalScrollBar()->isVisible());
    EXPECT_LE(SecondaryView().CellRect(0, 0).bottom(), SecondaryView().viewport()->height());
}

TEST_F(MainWindowTest, AHeaderClickSortsASecondReversesAndTheViewMenuOpensTheSortDialog) {
    ASSERT_GE(PriceColumn(), 0);
    ClickPriceHeader();
    EXPECT_EQ(m_window.Host().Control().SortCaption(), "Price DESC");
    ClickPriceHeader();
    EXPECT_EQ(m_window.Host().Control().SortCaption(), "Price ASC");
    EXPECT_TRUE(Logged("ChangeSort"));
    // The View menu's sort dialog, answered by a script.
    m_oPlatform.Dialogs().QueueScriptFor<SortSelection>([](SortSelection& dialog) {
        dialog.SetPrimary(16, 1);
        dialog.Confirm();
    });
    m_window.findChild<QAction*>(QStringLiteral("sortAction"))->trigger();
    EXPECT_EQ(m_window.Host().Control().SortCaption(), "Volume DESC");
}

TEST_F(MainWindowTest, AHeaderClickOnTheScreenOrdersItsRowsAndNamesTheSort) {
    ASSERT_TRUE(m_window.ShowList({.m_lViewerType = vt_FinderResults, .m_sSymbol = ""}));
    ClickPriceHeader();
    QApplication::processEvents();  // the window runs the search again on its next turn
    EXPECT_EQ(m_window.Host().Control().SortCaption(), "Price DESC");
    const Recordset& rows = *Primary().DataSource();
    const int32_t field = rows.Fields().IndexOf("Price");
    EXPECT_GE(rows.ValueAt(rows.ViewRowId(0), field).ToDouble(),
              rows.ValueAt(rows.ViewRowId(rows.ViewCount() - 1), field).ToDouble());
}

TEST_F(MainWindowTest, DeleteInAWatchListNamesTheSelectedSymbol) {
    const auto lists = SharedMarket().WatchLists();
    const auto stockList = std::find_if(
        lists.begin(), lists.end(), [](const NamedCode& p_list) { return p_list.m_lKind == 0; });
    ASSERT_NE(stockList, lists.end());
    ASSERT_TRUE(m_window.ShowList({.m_lWatchListId = stockList->m_lCode, .m_sSymbol = ""}));
    const std::string selected = ClickSymbol(1);
    m_oPlatform.Messages().QueueAnswer(vbYes);
    QTest::keyClick(&PrimaryView(), Qt::Key_Delete);
    EXPECT_TRUE(Logged("Delete(" + selected));
    EXPECT_NE(m_window.LastMessage().indexOf(QString::fromStdString(selected)), -1);
}

TEST_F(MainWindowTest, DoubleClickOnAHoldingOpensTheStocksHistory) {
    ASSERT_TRUE(m_window.ShowList({.m_lViewerType = vt_Portfolio, .m_sSymbol = ""}));
    const std::string selected = ClickSymbol(1);
    QTest::mouseDClick(PrimaryView().viewport(), Qt::LeftButton, {},
                       PrimaryView().CellRect(1, 0).center());
    QApplication::processEvents();
    EXPECT_TRUE(Logged("DoubleClick(" + selected + ")"));
    EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_StockHistory);
    EXPECT_EQ(m_window.RequestFromControls().m_sSymbol, selected);
}

TEST_F(MainWindowTest, ChoosingFromTheControlsShowsTheListTheHistoryOfTheCurrentRow) {
    const std::string selected = ClickSymbol(3);
    auto* type = m_window.findChild<QComboBox*>(QStringLiteral("listType"));
    ASSERT_NE(type, nullptr);
    const int history = type->findData(int32_t{vt_StockHistory});
    type->setCurrentIndex(history);
    emit type->activated(history);
    EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_StockHistory);
    EXPECT_EQ(m_window.Host().Request().m_sSymbol, selected);
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

}  // namespace
}  // namespace qv::test
