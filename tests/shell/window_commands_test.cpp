// Nothing a person can press in the main window is silent: every menu action is disabled or
// handled, and each kind of action and key does something a person sees. What the window writes
// around the grid (caption, sort, totals, why a list is empty) reads as a person expects, and an
// import reloads the lists or, cancelled, leaves the market as it was.
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "outside/export_selector.h"
#include "outside/recordset.h"
#include "outside/vb_date.h"
#include "shell/grid_fixture.h"
#include "shell/market_session.h"
#include "shell/modal_helper.h"
#include "shell/shortcuts_dialog.h"
#include "shell/totals_footer.h"
#include "shell/window_fixture.h"
#include "shell/window_import.h"
#include "shell/window_texts.h"
#include "support/test_helpers.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace qv::test {
namespace {

std::vector<QAction*> MenuActions(const QList<QAction*>& p_actions) {
    std::vector<QAction*> found;
    for (QAction* action : p_actions) {
        if (action->menu() != nullptr) {
            const auto inner = MenuActions(action->menu()->actions());
            found.insert(found.end(), inner.begin(), inner.end());
        } else if (!action->isSeparator()) {
            found.push_back(action);
        }
    }
    return found;
}

// QObject::receivers is protected: a pointer to it taken here may be applied to any action.
struct Receivers : QAction {
    static int Of(const QAction& p_oAction) {
        return (p_oAction.*&Receivers::receivers)(SIGNAL(triggered(bool)));
    }
};

class WindowCommandsTest : public WindowTest {
  protected:
    QAction& Action(const QString& p_sText) {
        const auto actions = MenuActions(m_window.menuBar()->actions());
        const auto found = std::find_if(
            actions.begin(), actions.end(),
            [&](const QAction* p_pAction) { return p_pAction->text().startsWith(p_sText); });
        EXPECT_NE(found, actions.end()) << p_sText.toStdString();
        return **found;
    }
    QString Trigger(const QString& p_sText) {
        m_window.statusBar()->clearMessage();
        Action(p_sText).trigger();
        QApplication::processEvents();
        return m_window.statusBar()->currentMessage();
    }
    void Press(QWidget& p_oWidget, const char* p_sKeys) {
        p_oWidget.setFocus();
        m_window.statusBar()->clearMessage();
        const QKeyCombination key = QKeySequence(QString::fromLatin1(p_sKeys))[0];
        QTest::keyClick(&p_oWidget, key.key(), key.keyboardModifiers());
        QApplication::processEvents();
    }
};

TEST_F(WindowCommandsTest, EveryMenuActionIsDisabledOrHandledAndNoTwoShareAKey) {
    // A bare action in a menu has the menu's own receivers only.
    QMenu menu;
    const int bare = Receivers::Of(*menu.addAction(QStringLiteral("bare")));
    const auto actions = MenuActions(m_window.menuBar()->actions());
    ASSERT_GT(actions.size(), 20u);
    for (const QAction* action : actions) {
        EXPECT_TRUE(!action->isEnabled() || Receivers::Of(*action) > bare)
            << action->text().toStdString();
    }
    std::set<QString> keys;
    for (const auto& [key, command] : ShortcutRows(*m_window.menuBar())) {
        EXPECT_TRUE(keys.insert(key).second) << key.toStdString() << " " << command.toStdString();
    }
}

TEST_F(WindowCommandsTest, EachKindOfMenuActionIsSeenToDoSomething) {
    EXPECT_EQ(Trigger(QStringLiteral("&Next trading day")).toStdString(),
              "The list shows the last trading day of the market");
    Trigger(QStringLiteral("&Previous trading day"));
    EXPECT_LT(m_window.Host().Request().m_lDate, kMarketLastDay);
    Trigger(QStringLiteral("&Latest trading day"));
    EXPECT_EQ(m_window.Host().Request().m_lDate, kMarketLastDay);
    Trigger(QStringLiteral("&Choose a day"));
    EXPECT_EQ(QApplication::focusWidget(),
              m_window.findChild<QDateEdit*>(QStringLiteral("listDate")));
    Trigger(QStringLiteral("Stock history"));
    EXPECT_EQ(m_window.Host().Control().ViewerType(), vt_StockHistory);

    Trigger(QStringLiteral("&Keyboard shortcuts"));
    EXPECT_EQ(m_window.findChildren<QDialog*>().size(), 1);
    bool about = false;
    WhenModal([&about](QWidget& p_oModal) {
        about = true;
        p_oModal.close();
    });
    Trigger(QStringLiteral("&About"));
    EXPECT_TRUE(about);
    Trigger(QStringLiteral("&Quit"));
    EXPECT_FALSE(m_window.isVisible());
}

// File > Export… is the control's export of the list: the columns as offered, the file chosen,
// every row a line, and the person told where it went.
TEST_F(WindowCommandsTest, ExportWritesTheListToTheFileChosen) {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("stocks.csv")).toStdString();
    m_oPlatform.Dialogs().QueueScriptFor<ExportColumnsDialog>(
        [](ExportColumnsDialog& p_oDialog) { p_oDialog.Accept(); });
    m_oPlatform.Dialogs().QueueScriptFor<SaveFileDialog>(
        [&path](SaveFileDialog& p_oDialog) { p_oDialog.Choose(path); });
    Trigger(QStringLiteral("&Export"));
    EXPECT_FALSE(Action(QStringLiteral("&Export")).shortcut().isEmpty());
    ASSERT_FALSE(m_oPlatform.Messages().Shown().empty());
    EXPECT_EQ(m_oPlatform.Messages().Shown().back().Text,
              "Data exported to file " + path + " successfully.");
    const std::string written = ReadFile(path);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'),
              m_window.Host().Control().RecordCount());
}

TEST_F(WindowCommandsTest, NamesWithAnAmpersandReadInTheMenusAsInTheBoxes) {
    std::set<QString> names;
    for (const QComboBox* box : m_window.findChildren<QComboBox*>()) {
        for (int i = 0; i < box->count(); ++i) {
            names.insert(box->itemText(i));
        }
    }
    ASSERT_TRUE(std::any_of(names.begin(), names.end(), [](const QString& p_sName) {
        return p_sName.contains(QLatin1Char('&'));
    }));
    for (const QAction* action : MenuActions(m_window.menuBar()->actions())) {
        if (action->isCheckable()) {
            EXPECT_TRUE(names.count(action->iconText())) << action->iconText().toStdString();
        }
    }
}

TEST_F(WindowCommandsTest, KeysWorkWhereverTheFocusIsOrSayWhatTheyDo) {
    Press(PrimaryView(), "Del");
    EXPECT_FALSE(m_window.statusBar()->currentMessage().isEmpty());
    // A command works wherever the focus is, the day box included: Ctrl+F opens Find.
    Press(PrimaryView(), "Ctrl+F");
    Press(*m_window.findChild<QDateEdit*>(QStringLiteral("day")), "Ctrl+F");
    QTest::qWait(20);
    EXPECT_EQ(m_oPlatform.Dialogs().Shown(), (std::vector<std::string>{"Find", "Find"}));
    Press(PrimaryView(), "F10");
    EXPECT_NE(m_window.menuBar()->activeAction(), nullptr);
}

TEST_F(WindowCommandsTest, CaptionSortAndTotalsReadAsAPersonExpects) {
    const NamedCode sector = SharedMarket().Sectors().front();
    const NamedCode industry = SharedMarket().Industries().front();
    ASSERT_TRUE(m_window.ShowList(ViewerRequest{}));
    const auto& rows = Primary().DataSource();
    rows->MoveFirst();
    const std::string symbol = rows->Value("Symbol").ToString();
    const std::string company = rows->Value("CompanyName").ToString();
    struct Case {
        ViewerRequest m_oRequest;
        std::string m_sCaption;
        std::string m_sSort;
        bool m_bTotals;
    };
    const std::vector<Case> cases = {
        {{.m_lViewerType = vt_Stocks, .m_lSectorCode = sector.m_lCode, .m_sSymbol = ""},
         "Stocks in Sector: " + sector.m_sName,
         "RS \u2193, Symbol \u2191",
         false},
        {{.m_lViewerType = vt_IndustryHistory, .m_lIndCode = industry.m_lCode, .m_sSymbol = ""},
         "Industry History \u2014 " + industry.m_sName,
         "Trading Date \u2193",
         false},
        {{.m_lViewerType = vt_StockHistory, .m_sSymbol = symbol},
         "Stock History \u2014 " + symbol + ", " + company,
         "Trading Date \u2193",
         false},
        {{.m_lViewerType = vt_Portfolio, .m_sSymbol = ""}, "Portfolio", "Symbol \u2191", true},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.m_sCaption);
        ASSERT_TRUE(m_window.ShowList(entry.m_oRequest));
        EXPECT_EQ(m_window.CaptionText().toStdString(), entry.m_sCaption);
        // Everything after the sort's " | " is the control's other captions.
        EXPECT_EQ(m_window.StatusText().section(QStringLiteral(" | "), 0, 0).toStdString(),
                  entry.m_sSort);
        EXPECT_EQ(m_window.TotalsText().contains(QStringLiteral("Market Value")), entry.m_bTotals);
    }
}

TEST(WindowTexts, ASortClauseReadsInColumnCaptionsAndAnEmptyListSaysWhy) {
    const auto grid = StockGrid(Stocks(3));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"PE ASC, Symbol DESC", "P/E \u2191, Symbol \u2193"},
        {"Unshown DESC", "Unshown \u2193"},
        // A sort whose field the control could not name.
        {" ASC", ""},
        {"", ""},
    };
    for (const auto& [clause, line] : cases) {
        EXPECT_EQ(SortLine(clause, *grid), line) << clause;
    }
    const std::vector<std::pair<EmptyListFacts, std::string>> empty = {
        {{vt_Stocks, true, false, ""}, "No stocks in this watch list"},
        {{vt_Stocks, true, true, ""},
         "The industry watch list holds industry groups; choose the Industries list to see it"},
        {{vt_Stocks, true, true, "timeout"}, "No rows: the query failed: timeout"},
        {{vt_FinderResults, false, false, ""}, "No rows"},
        {{vt_FinderResults, false, false, "", "No stock meets RS >= 99 on 12/4/2026"},
         "No stock meets RS >= 99 on 12/4/2026"},
    };
    for (const auto& [facts, text] : empty) {
        EXPECT_EQ(EmptyListText(facts), text);
    }
}

TEST_F(WindowCommandsTest, AnEmptyGridSaysWhyAndAFullOneDoesNot) {
    const auto lists = SharedMarket().WatchLists();
    const auto groups = std::find_if(lists.begin(), lists.end(),
                                     [](const NamedCode& p_oList) { return p_oList.m_lKind != 0; });
    ASSERT_NE(groups, lists.end());
    m_window.ShowList(
        {.m_lViewerType = vt_Stocks, .m_lWatchListId = groups->m_lCode, .m_sSymbol = ""});
    EXPECT_TRUE(m_window.Surface().EmptyTextShown());
    EXPECT_TRUE(m_window.Surface().EmptyText().startsWith(QStringLiteral("The industry watch")));
    ASSERT_TRUE(m_window.ShowList(ViewerRequest{}));
    EXPECT_FALSE(m_window.Surface().EmptyTextShown());
}

TEST(TotalsFooter, SumsTheShownTotalColumnsAsTheyAreFormatted) {
    auto rows = std::make_shared<Recordset>();
    for (const char* field : {"CostBasis", "MarketValue", "Gain"}) {
        rows->Fields().Append(field, adDouble, 0);
    }
    rows->Open();
    rows->AddNew({Variant(1000.5), Variant(1500.0), Variant(499.5)});
    rows->AddNew({Variant(2000.25), Variant::Null(), Variant(-2500.0)});
    GridControl grid;
    grid.SetDataSource(rows);
    grid.RetrieveFields();
    for (const auto& column : grid.Columns()->ByIndex()) {
        column->SetNumberFormat("#,##0.00");
    }
    grid.Columns()->Item(1)->SetNumberFormat("#,##0");
    grid.Columns()->Item(1)->SetCaption("Market Value");
    EXPECT_EQ(TotalsText(grid), "CostBasis 3,000.75    Market Value 1,500    Gain -2,000.50");
    grid.Columns()->Item(1)->SetVisible(false);
    EXPECT_EQ(TotalsText(grid), "CostBasis 3,000.75    Gain -2,000.50");
}

// A market of its own, for the tests that import into it.
class ImportTest : public testing::Test {
  protected:
    void SetUp() override {
        Application();
        ASSERT_TRUE(m_folder.isValid());
        auto store = std::make_shared<facade::MarketStore>(
            m_folder.filePath(QStringLiteral("market.db")).toStdString(),
            facade::MarketStore::Access::ReadWrite);
        facade::GenerateSampleMarket(
            *store, {.m_lStocks = 12, .m_lIndustries = 3, .m_lTradingDays = 10, .m_llSeed = 3}, {});
        m_session = std::make_unique<MarketSession>(store);
        m_session->Register(m_oPlatform.Components());
        const std::filesystem::path data = m_folder.filePath(QStringLiteral("data")).toStdString();
        std::filesystem::create_directories(data);
        std::ofstream(data / "constituents.csv")
            << "Symbol,Name,Sector,Industry\nQQA,Qq Alpha Inc.,Energy,Oil\nQQB,Qq Beta "
               "Co.,Energy,Oil\n";
        std::ofstream prices(data / "prices.csv");
        prices << "Symbol,Date,Open,High,Low,Close,AdjClose,Volume\n";
        for (const char* symbol : {"QQA", "QQB"}) {
            for (const char* day : {"2026-12-01", "2026-12-02", "2026-12-03"}) {
                prices << symbol << "," << day << ",10,11,9,10.5,10.5,1000\n";
            }
        }
        m_sData = QString::fromStdString(data.string());
    }

    QTemporaryDir m_folder;
    ScopedTestPlatform m_oPlatform;
    std::unique_ptr<MarketSession> m_session;
    QString m_sData;
};

TEST_F(ImportTest, AnImportReplacesTheSampleAndReloadsTheLists) {
    MainWindow window(*m_session);
    window.show();
    ASSERT_TRUE(window.ShowList(ViewerRequest{}));
    ASSERT_TRUE(window.ImportMarketData(m_sData));
    EXPECT_EQ(window.Host().Request().m_lDate, DaySerialFromCivil(2026, 12, 3));
    // The two imported stocks and none of the sample's.
    EXPECT_EQ(window.Host().Control().RecordCount(), 2);
    EXPECT_TRUE(window.statusBar()->currentMessage().startsWith(
        QStringLiteral("Replaced the generated sample market with the imported data, 6 price")));
    EXPECT_FALSE(window.ImportHintShown());
}

// Cancelled at the last report, after which the import commits unless the cancel is seen.
TEST_F(ImportTest, ACancelledImportLeavesTheMarketAsItWas) {
    const int32_t lastDay = m_session->LastDay();
    MarketImport cancelled(nullptr, m_session->Path(), m_sData.toStdString());
    cancelled.SetOnStage([&cancelled](const QString& p_sStage, int64_t p_llDone,
                                      int64_t p_llTotal) {
        if (p_sStage.startsWith(QStringLiteral("Writing daily bars")) && p_llDone == p_llTotal) {
            cancelled.Cancel();
        }
    });
    EXPECT_EQ(cancelled.Run().m_eResult, ImportOutcome::Result::Cancelled);
    m_session->Refresh();
    EXPECT_EQ(m_session->LastDay(), lastDay);
    EXPECT_FALSE(m_session->HasStock("QQA"));
    EXPECT_TRUE(m_session->IsSampleMarket());
    MarketImport failing(nullptr, m_session->Path(), "/no/such/folder");
    const ImportOutcome failed = failing.Run();
    EXPECT_EQ(failed.m_eResult, ImportOutcome::Result::Failed);
    EXPECT_FALSE(failed.m_sError.empty());
}

}  // namespace
}  // namespace qv::test
