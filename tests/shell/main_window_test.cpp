// The main window as a person uses it, offscreen: what the window adds to the control it hosts
// (its choosers, its status bar, its notes, its Layout menu, its first list and the history a
// key opens).
#include "outside/grid_control_columns.h"
#include "outside/recordset.h"
#include "outside/sort_dialog.h"
#include "shell/market_session.h"
#include "shell/modal_helper.h"
#include "shell/view_probe.h"
#include "shell/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>

#include <algorithm>

namespace qv::test {
namespace {

// The Layout menu's entries, filled afresh as when a person opens it.
QList<QAction*> LayoutMenu(MainWindow& p_oWindow) {
    for (QAction* action : p_oWindow.menuBar()->actions()) {
        if (action->text() == QStringLiteral("&Layout")) {
            emit action->menu()->aboutToShow();
            return action->menu()->actions();
        }
    }
    ADD_FAILURE() << "the window has no Layout menu";
    return {};
}

QAction* Item(MainWindow& p_oWindow, const QString& p_sText) {
    const auto items = LayoutMenu(p_oWindow);
    const auto found = std::find_if(items.begin(), items.end(), [&](const QAction* p_pItem) {
        return p_pItem->text() == p_sText;
    });
    return found == items.end() ? nullptr : *found;
}

// The checked entries of the menu: the layout in use, and only it.
QStringList Checked(MainWindow& p_oWindow) {
    QStringList checked;
    for (QAction* action : LayoutMenu(p_oWindow)) {
        if (action->isChecked()) {
            checked << action->text();
        }
    }
    return checked;
}

class MainWindowTest : public WindowTest {
  protected:
    GridView& SecondaryView() { return m_window.Surface().SecondaryView(); }

    // A person's click on a row's symbol (the first column), and the window catching up with it.
    std::string ClickSymbol(int32_t p_lRow) {
        ClickAt(PrimaryView().viewport(), PrimaryView().CellRect(p_lRow, 0).center());
        QApplication::processEvents();
        return Primary().DataSource()->Value("Symbol").ToString();
    }
    void ClickPriceHeader() {
        const int32_t price = Primary().Columns()->IndexOfField("Price");
        ASSERT_GE(price, 0);
        ClickAt(PrimaryView().viewport(), PrimaryView().HeaderRect(price).center());
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

// The day it opens on is checked by the message of the next-day command.
TEST_F(MainWindowTest, OpensOnTheStockListWithItsIndustryGrid) {
    // The one row of the grid below shows whole, with no bars it has no use for. A scroll area
    // shows or hides its bars on the next turn of the event loop after their ranges change.
    QApplication::processEvents();
    EXPECT_FALSE(SecondaryView().horizontalScrollBar()->isVisible());
    EXPECT_FALSE(SecondaryView().verticalScrollBar()->isVisible());
    EXPECT_LE(SecondaryView().CellRect(0, 0).bottom(), SecondaryView().viewport()->height());
}

// The direction a click chooses is the control's; the window orders the finder's rows on screen
// once the search runs again, passes a click on the stock list on and opens the sort dialog.
TEST_F(MainWindowTest, AHeaderClickOrdersTheFindersScreenRowsAndSortsTheListAsTheViewMenuDoes) {
    ASSERT_TRUE(m_window.ShowList({.m_lViewerType = vt_FinderResults, .m_sSymbol = ""}));
    ClickPriceHeader();
    QApplication::processEvents();  // the window runs the search again on its next turn
    EXPECT_EQ(m_window.Host().Control().SortCaption(), "Price DESC");
    const Recordset& rows = *Primary().DataSource();
    const int32_t field = rows.Fields().IndexOf("Price");
    EXPECT_GE(rows.ValueAt(rows.ViewRowId(0), field).ToDouble(),
              rows.ValueAt(rows.ViewRowId(rows.ViewCount() - 1), field).ToDouble());

    ASSERT_TRUE(m_window.ShowList(ViewerRequest{}));
    ClickPriceHeader();
    EXPECT_EQ(m_window.Host().Control().SortCaption(), "Price DESC");
    EXPECT_TRUE(Logged("ChangeSort"));
    m_oPlatform.Dialogs().QueueScriptFor<SortSelection>([](SortSelection& dialog) {
        dialog.SetPrimary(16, 1);
        dialog.Confirm();
    });
    m_window.findChild<QAction*>(QStringLiteral("sortAction"))->trigger();
    EXPECT_EQ(m_window.Host().Control().SortCaption(), "Volume DESC");
}

// The Layout menu as a person uses it; what each command decides is the control's.
TEST_F(MainWindowTest, ASavedLayoutIsCheckedOutlivesTheWindowIsLoadedAgainAndGoesWhenDeleted) {
    // Other tests may have left the owner a layout of the list in use.
    Item(m_window, QStringLiteral("&Restore default layout"))->trigger();
    const QStringList system = Checked(m_window);
    ASSERT_EQ(system.size(), 1);

    WhenModal([](QWidget& p_oDialog) {
        auto& dialog = dynamic_cast<QInputDialog&>(p_oDialog);
        dialog.setTextValue(QStringLiteral("  Morning scan "));
        dialog.accept();
    });
    Item(m_window, QStringLiteral("Save layout &as…"))->trigger();
    EXPECT_EQ(Checked(m_window), QStringList{QStringLiteral("Morning scan")});
    EXPECT_EQ(m_window.LastMessage(), QStringLiteral("Layout in use: Morning scan"));

    {
        MainWindow reopened{SharedMarket()};
        ASSERT_TRUE(reopened.ShowList(ViewerRequest{}));
        EXPECT_EQ(Checked(reopened), QStringList{QStringLiteral("Morning scan")});
    }

    Item(m_window, QStringLiteral("&Restore default layout"))->trigger();
    EXPECT_EQ(Checked(m_window), system);
    Item(m_window, QStringLiteral("Morning scan"))->trigger();
    EXPECT_EQ(Checked(m_window), QStringList{QStringLiteral("Morning scan")});
    m_oPlatform.Messages().QueueAnswer(vbYes);
    Item(m_window, QStringLiteral("&Delete layout"))->trigger();
    EXPECT_EQ(Checked(m_window), system);
    EXPECT_EQ(Item(m_window, QStringLiteral("Morning scan")), nullptr);
}

// Ctrl+H on a holding, through the master's history address, or the list chooser opens the
// history of the current row.
TEST_F(MainWindowTest, CtrlHOnAHoldingOrTheListChooserOpensTheHistoryOfTheCurrentRow) {
    ASSERT_TRUE(m_window.ShowList({.m_lViewerType = vt_Portfolio, .m_sSymbol = ""}));
    std::string selected = ClickSymbol(1);
    QTest::keyClick(&PrimaryView(), Qt::Key_H, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_TRUE(Logged("Navigate(pagecontroller.aspx?pagetype=7&symbol=" + selected));
    EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_StockHistory);
    EXPECT_EQ(m_window.RequestFromControls().m_sSymbol, selected);

    ASSERT_TRUE(m_window.ShowList(ViewerRequest{}));
    selected = ClickSymbol(3);
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
