// The window's portfolio commands on a portfolio list: a holding's details page and its trade in
// the editor, both for the holding of the current row.
#include "outside/recordset.h"
#include "shell/host_navigator.h"
#include "shell/market_session.h"
#include "shell/modal_helper.h"
#include "shell/page_area.h"
#include "shell/portfolio_calls.h"
#include "shell/portfolio_panel.h"
#include "shell/trade_editor.h"
#include "shell/window_fixture.h"
#include "shell/window_frame.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace qv::test {
namespace {

class WindowPortfoliosTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        const NamedCode portfolio = SharedMarket().Portfolios().front();
        ASSERT_TRUE(m_window.ShowList(
            {.m_lViewerType = vt_Portfolio, .m_lPortfolioId = portfolio.m_lCode, .m_sSymbol = ""}));
        const auto rows = Primary().DataSource();
        ASSERT_GT(rows->RecordCount(), 1);
        Primary().SetCurrentRow(1);
        m_sSymbol = rows->Value("Symbol").ToString();
    }

    std::string m_sSymbol;
};

TEST_F(WindowPortfoliosTest, TheDetailsPageIsThatOfTheCurrentHolding) {
    std::array<Variant, 2> args{Variant("InvestmentDetails"), Variant(true)};
    CallMethod(m_window.Frame().Navigator(), "Navigate", args);
    QApplication::processEvents();
    const QWidget* page = m_window.PageView().Page();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->findChildren<QLabel*>().front()->text().toStdString(),
              "Investment details: " + m_sSymbol);
    const auto* trades = page->findChild<QTableWidget*>(QStringLiteral("investmentTrades"));
    ASSERT_NE(trades, nullptr);
    EXPECT_GT(trades->rowCount(), 0);
}

TEST_F(WindowPortfoliosTest, EditTradeOpensTheEditorOnTheCurrentHoldingsTrade) {
    std::string edited;
    WhenModal([&edited](QWidget& p_oDialog) {
        auto* editor = qobject_cast<QDialog*>(&p_oDialog);
        const auto* symbol = p_oDialog.findChild<QLineEdit*>(QStringLiteral("symbol"));
        edited = symbol != nullptr ? symbol->text().toStdString() : "no editor";
        editor->reject();
    });
    m_window.findChild<QAction*>(QStringLiteral("editTradeAction"))->trigger();
    EXPECT_EQ(edited, m_sSymbol);
}

using WindowNewPortfolioTest = WindowTest;

TEST_F(WindowNewPortfolioTest, ANewPortfolioIsInThePortfolioBoxAndShownAsItsHoldings) {
    auto* panel = m_window.findChild<PortfolioPanel*>(QStringLiteral("portfolioPanel"));
    ASSERT_NE(panel, nullptr);
    const QString name = QStringLiteral("Window %1").arg(QDateTime::currentMSecsSinceEpoch());
    panel->SetNameAsker([&name](const QString&, const QString&) { return name; });
    ASSERT_TRUE(panel->NewPortfolio());
    const ViewerRequest& shown = m_window.Host().Request();
    EXPECT_EQ(std::tuple(shown.m_lViewerType, shown.m_lPortfolioId),
              std::tuple(int32_t{vt_Portfolio}, panel->CurrentItem()));
    EXPECT_EQ(m_window.findChild<QComboBox*>(QStringLiteral("portfolio"))->currentText(), name);
    DeletePortfolio(SharedMarket().OwnerId(), panel->CurrentItem());
}

}  // namespace
}  // namespace qv::test
