// The owner's portfolios in the window: the trade editor's checks, the portfolio panel's changes,
// saving from two editors, the import preview and a holding's details page, on the shared market.
#include "outside/platform_context.h"
#include "outside/vb_date.h"
#include "shell/investment_details_page.h"
#include "shell/market_session.h"
#include "shell/modal_helper.h"
#include "shell/panel_events.h"
#include "shell/portfolio_calls.h"
#include "shell/portfolio_panel.h"
#include "shell/shell_market.h"
#include "shell/test_application.h"
#include "shell/trade_editor.h"
#include "shell/trade_import_dialog.h"
#include "shell/trades_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include <functional>
#include <optional>
#include <tuple>

namespace qv::test {
namespace {

// A market of days 100 to 200 in which day 150 is not a trading day and only QA trades.
TradeMarket ScriptedMarket() {
    return {[](const std::string& p_sSymbol) { return p_sSymbol == "QA"; }, 100, 200,
            [](int32_t p_lDay) { return p_lDay == 150 ? 149 : p_lDay; }};
}

Trade GoodTrade() {
    Trade trade;
    trade.m_sSymbol = "QA";
    trade.m_lBuyDate = 120;
    trade.m_dInitialPrice = 10;
    trade.m_dShares = 5;
    return trade;
}

TEST(TradeCheckTest, EachFieldSaysWhatIsWrongWithIt) {
    struct Case {
        const char* m_sWhat;
        std::function<void(Trade&)> m_fnChange;
        TradeField m_eField;
        std::string m_sReason;
    };
    const std::vector<Case> cases{
        {"no symbol", [](Trade& t) { t.m_sSymbol = " "; }, tfSymbol, "enter the stock's symbol"},
        {"unknown symbol", [](Trade& t) { t.m_sSymbol = "ZZ"; }, tfSymbol,
         "no stock with the symbol ZZ"},
        {"bought after the latest day", [](Trade& t) { t.m_lBuyDate = 201; }, tfBuyDate,
         "after the latest trading day, " + IsoDateText(200)},
        {"bought before the market", [](Trade& t) { t.m_lBuyDate = 99; }, tfBuyDate,
         "before the market's first day, " + IsoDateText(100)},
        {"bought on a day without trading", [](Trade& t) { t.m_lBuyDate = 150; }, tfBuyDate,
         "not a trading day"},
        {"no shares", [](Trade& t) { t.m_dShares = 0; }, tfShares, "must be more than 0"},
        {"a negative price", [](Trade& t) { t.m_dInitialPrice = -1; }, tfPrice,
         "must be more than 0"},
        {"a negative commission", [](Trade& t) { t.m_dCommission = -0.01; }, tfCommission,
         "cannot be negative"},
        {"margin over 100", [](Trade& t) { t.m_dInitialReq = 100.5; }, tfInitialReq,
         "must be 0 to 100"},
        {"negative maintenance", [](Trade& t) { t.m_dMaintenancePercent = -1; }, tfMaintenance,
         "must be 0 to 100"},
        {"sold before bought",
         [](Trade& t) {
             t.m_lSellDate = 110;
             t.m_dSellPrice = 3;
         },
         tfSellDate, "before the buy date"},
        {"sold after the latest day",
         [](Trade& t) {
             t.m_lSellDate = 205;
             t.m_dSellPrice = 3;
         },
         tfSellDate, "after the latest trading day, " + IsoDateText(200)},
        {"sold for nothing", [](Trade& t) { t.m_lSellDate = 130; }, tfSellPrice,
         "must be more than 0"},
    };
    const TradeMarket market = ScriptedMarket();
    for (const std::string& problem : CheckTrade(GoodTrade(), market)) {
        EXPECT_EQ(problem, "");
    }
    for (const Case& c : cases) {
        Trade trade = GoodTrade();
        c.m_fnChange(trade);
        const TradeProblems problems = CheckTrade(trade, market);
        for (size_t field = 0; field < problems.size(); ++field) {
            EXPECT_EQ(problems[field], field == static_cast<size_t>(c.m_eField) ? c.m_sReason : "")
                << c.m_sWhat << ", field " << field;
        }
    }
}

class PortfolioShellTest : public testing::Test {
  protected:
    void SetUp() override { Application(); }

    static std::string UniqueName(const std::string& p_sStem) {
        static int s_count = 0;
        return p_sStem + " " + std::to_string(QDateTime::currentMSecsSinceEpoch()) + "-" +
               std::to_string(++s_count);
    }

    // A symbol the market holds: the first of the owner's trades.
    static std::string HeldSymbol() {
        const MarketSession& session = SharedMarket();
        for (const NamedCode& portfolio : session.Portfolios()) {
            for (const Trade& trade : ReadTrades(session.OwnerId(), portfolio.m_lCode)) {
                return trade.m_sSymbol;
            }
        }
        return {};
    }

    static Trade TradeIn(const std::string& p_sSymbol) {
        Trade trade;
        trade.m_sSymbol = p_sSymbol;
        trade.m_lBuyDate = SharedMarket().TradingDayOnOrBefore(kMarketLastDay - 40);
        trade.m_dInitialPrice = 20;
        trade.m_dShares = 100;
        return trade;
    }

    int32_t Owner() const { return SharedMarket().OwnerId(); }

    MarketPlatform m_oPlatform;
};

TEST_F(PortfolioShellTest, ThePanelMakesRenamesAndDeletesPortfoliosAndSaysWhatIsRefused) {
    PortfolioPanel panel(SharedMarket(), nullptr);
    PanelEvents events(panel);
    int changes = 0;
    int32_t made = 0;
    panel.SetOnChanged([&changes, &made](int32_t p_lNew) {
        ++changes;
        made = p_lNew;
    });
    std::vector<std::optional<QString>> names;
    panel.SetNameAsker([&names](const QString&, const QString&) {
        const std::optional<QString> name = names.front();
        names.erase(names.begin());
        return name;
    });
    const std::string name = UniqueName("Panel");
    const int before = panel.List().count();

    names = {QString::fromStdString(name)};
    ASSERT_TRUE(panel.NewPortfolio());
    const int32_t id = panel.CurrentItem();
    EXPECT_EQ(made, id);
    EXPECT_EQ(panel.List().count(), before + 1);
    EXPECT_EQ(panel.List().currentItem()->text().toStdString(), name);
    EXPECT_EQ(events.Take(), "ITEMSELECTED(" + std::to_string(id) + "&)");

    struct Case {
        const char* m_sWhat;
        std::function<bool()> m_fnAct;
        std::optional<QString> m_sTyped;
        MsgBoxResult m_eAnswer;
        bool m_bChanged;
        std::string m_sSays;
    };
    const QString renamed = QString::fromStdString(name + " B");
    const std::vector<Case> cases{
        {"the same name in other letters", [&] { return panel.NewPortfolio(); },
         QString::fromStdString(name).toUpper(), vbOK, false, "No portfolio was made: "},
        {"a cancelled name", [&] { return panel.NewPortfolio(); }, std::nullopt, vbOK, false, ""},
        {"an empty name", [&] { return panel.RenameCurrent(); }, QStringLiteral("  "), vbOK, false,
         name + " was not renamed: "},
        {"a rename", [&] { return panel.RenameCurrent(); }, renamed, vbOK, true,
         "Renamed " + name + " to " + renamed.toStdString()},
        {"a delete declined", [&] { return panel.DeleteCurrent(); }, std::nullopt, vbNo, false,
         "Kept " + renamed.toStdString()},
        {"a delete", [&] { return panel.DeleteCurrent(); }, std::nullopt, vbYes, true,
         "Deleted " + renamed.toStdString()},
    };
    for (const Case& c : cases) {
        names = {c.m_sTyped};
        if (c.m_eAnswer != vbOK) {
            m_oPlatform.Messages().QueueAnswer(c.m_eAnswer);
        }
        const int changesBefore = changes;
        EXPECT_EQ(c.m_fnAct(), c.m_bChanged) << c.m_sWhat;
        EXPECT_EQ(changes - changesBefore, c.m_bChanged ? 1 : 0) << c.m_sWhat;
        EXPECT_EQ(panel.StatusText().toStdString().substr(0, c.m_sSays.size()), c.m_sSays)
            << c.m_sWhat;
    }
    EXPECT_EQ(panel.List().count(), before);
    EXPECT_EQ(events.Take(), "");
}

TEST_F(PortfolioShellTest, ASecondEditorOfTheSameTradeIsRefusedAndOffersToReload) {
    const std::string symbol = HeldSymbol();
    ASSERT_FALSE(symbol.empty());
    const int32_t portfolio = NewPortfolio(Owner(), UniqueName("Editors"));
    Trade trade = TradeIn(symbol);
    SaveTrade(Owner(), portfolio, trade);

    TradeEditor first(Owner(), portfolio, trade, TradeMarketOf(SharedMarket()));
    TradeEditor second(Owner(), portfolio, trade, TradeMarketOf(SharedMarket()));
    first.findChild<QDoubleSpinBox*>(QStringLiteral("shares"))->setValue(150);
    ASSERT_TRUE(first.Save());
    auto* price = second.findChild<QDoubleSpinBox*>(QStringLiteral("price"));
    price->setValue(25);
    EXPECT_FALSE(second.Save());
    EXPECT_NE(second.StatusText().indexOf(QStringLiteral("changed elsewhere")), -1);
    EXPECT_EQ(price->value(), 25);
    auto* reload = second.findChild<QPushButton*>(QStringLiteral("reloadTrade"));
    EXPECT_FALSE(reload->isHidden());
    ASSERT_TRUE(second.Reload());
    EXPECT_EQ(second.Entered().m_dShares, 150);
    price->setValue(25);
    ASSERT_TRUE(second.Save());
    const std::vector<Trade> stored = ReadTrades(Owner(), portfolio);
    ASSERT_EQ(stored.size(), 1U);
    EXPECT_EQ(std::tuple(stored[0].m_dShares, stored[0].m_dInitialPrice), std::tuple(150.0, 25.0));

    second.findChild<QDoubleSpinBox*>(QStringLiteral("shares"))->setValue(0);
    EXPECT_FALSE(second.CanSave());
    EXPECT_EQ(second.Reason(tfShares), QStringLiteral("must be more than 0"));
    DeletePortfolio(Owner(), portfolio);
}

TEST_F(PortfolioShellTest, CloseTradeSellsOnTheLatestDayAtThePriceTyped) {
    const std::string symbol = HeldSymbol();
    ASSERT_FALSE(symbol.empty());
    const int32_t portfolio = NewPortfolio(Owner(), UniqueName("Close"));
    Trade trade = TradeIn(symbol);
    SaveTrade(Owner(), portfolio, trade);
    TradesDialog trades(Owner(), portfolio, TradeMarketOf(SharedMarket()));
    int changes = 0;
    trades.SetOnChanged([&changes] { ++changes; });
    std::string offered;
    WhenModal([&offered](QWidget& p_oDialog) {
        auto& editor = dynamic_cast<TradeEditor&>(p_oDialog);
        const auto* sellDate = p_oDialog.findChild<QDateEdit*>(QStringLiteral("sellDate"));
        offered =
            std::to_string(p_oDialog.findChild<QCheckBox*>(QStringLiteral("closed"))->isChecked()) +
            " " + sellDate->date().toString(Qt::ISODate).toStdString() + " " +
            editor.Reason(tfSellPrice).toStdString();
        p_oDialog.findChild<QDoubleSpinBox*>(QStringLiteral("sellPrice"))->setValue(30);
        if (!editor.Save()) {
            editor.reject();
        }
    });
    ASSERT_TRUE(trades.EditCurrent(true));
    EXPECT_EQ(offered, "1 " + IsoDateText(kMarketLastDay) + " must be more than 0");
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(trades.Trades().size(), 1U);
    EXPECT_EQ(std::tuple(trades.Trades()[0].m_lSellDate, trades.Trades()[0].m_dSellPrice),
              std::tuple(int32_t{kMarketLastDay}, 30.0));
    DeletePortfolio(Owner(), portfolio);
}

TEST_F(PortfolioShellTest, TheImportIsOfferedOnlyWithoutRowsInError) {
    const std::string symbol = HeldSymbol();
    ASSERT_FALSE(symbol.empty());
    const int32_t portfolio = NewPortfolio(Owner(), UniqueName("Import"));
    const std::string day = IsoDateText(SharedMarket().TradingDayOnOrBefore(kMarketLastDay - 20));
    const std::string good = "Symbol,BuyDate,Shares,Price\n" + symbol + "," + day + ",10,5\n";

    TradeImportDialog refused(Owner(), portfolio, good + "NOSUCH," + day + ",10,5\n");
    EXPECT_FALSE(refused.CanImport());
    ASSERT_EQ(refused.Table().rowCount(), 2);
    EXPECT_EQ(refused.Table().item(1, 2)->text(), QStringLiteral("error"));
    EXPECT_NE(refused.Table().item(1, 2)->foreground().color(),
              refused.Table().item(0, 2)->foreground().color());
    EXPECT_FALSE(refused.Import());
    EXPECT_TRUE(ReadTrades(Owner(), portfolio).empty());

    TradeImportDialog accepted(Owner(), portfolio, good);
    EXPECT_TRUE(accepted.CanImport());
    EXPECT_TRUE(accepted.Import());
    EXPECT_EQ(accepted.Added(), 1);
    EXPECT_EQ(ReadTrades(Owner(), portfolio).size(), 1U);

    TradeImportDialog again(Owner(), portfolio, good);
    EXPECT_FALSE(again.CanImport());
    EXPECT_EQ(again.Table().item(0, 2)->text(), QStringLiteral("duplicate"));
    DeletePortfolio(Owner(), portfolio);
}

TEST_F(PortfolioShellTest, TheDetailsPageShowsAHoldingsTradesAndItsValueAgainstTheMarket) {
    const std::string symbol = HeldSymbol();
    ASSERT_FALSE(symbol.empty());
    const int32_t portfolio = NewPortfolio(Owner(), UniqueName("Details"));
    Trade open = TradeIn(symbol);
    SaveTrade(Owner(), portfolio, open);
    Trade closed = TradeIn(symbol);
    closed.m_lSellDate = SharedMarket().TradingDayOnOrBefore(kMarketLastDay - 10);
    closed.m_dSellPrice = 30;
    SaveTrade(Owner(), portfolio, closed);

    InvestmentDetailsPage page({Owner(), portfolio, symbol, kMarketLastDay});
    ASSERT_NE(page.Trades(), nullptr);
    EXPECT_EQ(page.Trades()->rowCount(), 2);
    EXPECT_EQ(page.Trades()->item(1, 8)->text(), QStringLiteral("1000.00"));
    EXPECT_NE(page.Lines(), nullptr);

    for (const auto& [other, says] :
         {std::pair(portfolio + 100000, "The portfolio holds no trades in " + symbol),
          std::pair(portfolio, std::string("The holding's details cannot be shown"))}) {
        InvestmentDetailsPage refused(
            {Owner(), other, other == portfolio ? "NOSUCH" : symbol, kMarketLastDay});
        EXPECT_EQ(refused.Trades(), nullptr);
        const auto* problem = refused.findChild<QLabel*>(QStringLiteral("investmentProblem"));
        ASSERT_NE(problem, nullptr);
        EXPECT_TRUE(problem->text().startsWith(QString::fromStdString(says))) << says;
    }
    DeletePortfolio(Owner(), portfolio);
}

}  // namespace
}  // namespace qv::test
