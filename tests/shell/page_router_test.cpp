// The window's pages, offscreen: an address of each kind handed to the navigator the control
// master is given shows its list, or a page in the page area that says what it is; the area goes
// back and forward as a browser does. The details, analysis, quick-test and dividend pages draw
// the market's figures.
#include "shell/page_router.h"
#include "outside/dispatch.h"
#include "outside/recordset.h"
#include "shell/host_navigator.h"
#include "shell/market_session.h"
#include "shell/page_area.h"
#include "shell/window_fixture.h"
#include "shell/window_frame.h"

#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace qv::test {
namespace {

class PageRouterTest : public WindowTest {
  protected:
    void Navigate(const std::string& p_sAddress) {
        std::array<Variant, 2> args{Variant(p_sAddress), Variant(true)};
        CallMethod(m_window.Frame().Navigator(), "Navigate", args);
        QApplication::processEvents();
    }
    PageArea& Area() { return m_window.PageView(); }
    // The page's texts, heading first.
    QStringList PageTexts() {
        QStringList texts;
        if (Area().Page() != nullptr) {
            for (const QLabel* label : Area().Page()->findChildren<QLabel*>()) {
                texts << label->text();
            }
        }
        return texts;
    }
    void Click(const char* p_sButton) {
        Area().findChild<QToolButton*>(QString::fromLatin1(p_sButton))->click();
    }
};

struct PageCase {
    std::string m_sAddress;
    // How the page's heading starts, or the list shown ("list 0 12" for the stocks of industry
    // group 12).
    std::string m_sShows;
    // How a line of the page starts.
    std::string m_sSays;
};

TEST_F(PageRouterTest, EveryKindOfAddressShowsItsListOrAPageThatSaysWhatItIs) {
    const std::string industry = std::to_string(SharedMarket().Industries().front().m_lCode);
    const std::string sector = std::to_string(SharedMarket().Sectors().front().m_lCode);
    const std::string symbol = Primary().DataSource()->Value("Symbol").ToString();
    const std::vector<PageCase> cases = {
        {"pagecontroller.aspx?PageType=4&indcode=" + industry, "list 0 " + industry, ""},
        {"pagecontroller.aspx?pagetype=5&sectorcode=" + sector, "list 0 " + sector, ""},
        {"pagecontroller.aspx?pagetype=6&sectorcode=" + sector, "list 1 " + sector, ""},
        {"pagecontroller.aspx?pagetype=7&symbol=" + symbol, "list 3 " + symbol, ""},
        {"pagecontroller.aspx?pagetype=8&indcode=" + industry, "list 4 " + industry, ""},
        {"pagecontroller.aspx?pagetype=9&sectorcode=" + sector, "list 5 " + sector, ""},
        {"pagecontroller.aspx?pagetype=37&symbol=" + symbol,
         "Stock details: ", "Strength rank (1 to 99)"},
        {"pagecontroller.aspx?pagetype=37&symbol=QQQQ&date=12/4/2026", "Stock details",
         "The market data cannot give this page: "},
        {"pagecontroller.aspx?pagetype=49&indcode=" + industry,
         "Industry group details: ", "Its stocks:"},
        {"pagecontroller.aspx?pagetype=52&sectorcode=" + sector + "&Date=11/30/2026",
         "Business sector details: ", "Its industry groups:"},
        {"pagecontroller.aspx?pagetype=40&symbol=" + symbol, "Stock analysis: ", "On "},
        {"pagecontroller.aspx?pagetype=10&iwp=1&symbol=QA,QB", "Stock graph",
         "The graph cannot be drawn: ChartSeries: argument 2 (Codes): unknown stock symbols: "
         "'QA', 'QB'"},
        {"pagecontroller.aspx?pagetype=11&iwp=0&indcode=12", "Industry group graph",
         "Of industry group 12."},
        {"pagecontroller.aspx?pagetype=12&iwp=0&sectorcode=3", "Business sector graph",
         "Of business sector 3."},
        {"pagecontroller.aspx?pagetype=17&wlid=999&timeID=812", "Watch list average graph",
         "Watch list 999 is not one of your watch lists."},
        {"pagecontroller.aspx?pagetype=26&symbol=" + symbol, "Option price", symbol + " closed at"},
        {"pagecontroller.aspx?pagetype=26&symbol=QA&date=12/4/2026", "Option price",
         "The option cannot be priced: OptionPrice: argument 1 (Symbol): unknown symbol 'QA'"},
        {"QuickTest.asp?symbols=" + symbol + "&title=Mine", "Quick test", "Mine"},
        {"QuickTest.asp?symbols=101&title=Mine", "Quick test",
         "The quick test cannot be run: QuickTest: argument 2 (Codes): unknown stock symbols: "
         "'101'"},
        {"dividends.aspx?stockids=1,2", "Upcoming dividend dates",
         "Dividends inferred from the prices"},
        {"InvestmentDetails", "Investment details",
         "Investment details are those of a holding: show a portfolio"},
        {"news.aspx?symbol=QA", "Stock news",
         "No news source is configured, so the news of stock QA cannot be shown."},
        {"pagecontroller.aspx?pagetype=99", "This address cannot be opened",
         "There is no page of type 99."},
    };
    for (const PageCase& entry : cases) {
        SCOPED_TRACE(entry.m_sAddress);
        const QWidget* before = Area().Page();
        Navigate(entry.m_sAddress);
        if (entry.m_sShows.starts_with("list")) {
            const ViewerRequest& shown = m_window.Host().Request();
            EXPECT_EQ("list " + std::to_string(shown.m_lViewerType) + " " + shown.m_sSymbol +
                          (shown.m_sSymbol.empty()
                               ? std::to_string(shown.m_lIndCode + shown.m_lSectorCode)
                               : ""),
                      entry.m_sShows);
            EXPECT_EQ(Area().Page(), before);
            continue;
        }
        EXPECT_TRUE(m_window.findChild<QDockWidget*>(QStringLiteral("pageDock"))->isVisible());
        EXPECT_EQ(Area().Address().toStdString(), entry.m_sAddress);
        const QStringList texts = PageTexts();
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_TRUE(texts.front().startsWith(QString::fromStdString(entry.m_sShows)))
            << texts.front().toStdString();
        EXPECT_TRUE(std::any_of(texts.begin() + 1, texts.end(), [&](const QString& p_sText) {
            return p_sText.startsWith(QString::fromStdString(entry.m_sSays));
        })) << texts.join(QLatin1Char('|')).toStdString();
    }
}

TEST_F(PageRouterTest, BackAndForwardGoThroughThePagesOpenedAsInABrowser) {
    const std::string first = "pagecontroller.aspx?pagetype=37&symbol=QA";
    const std::string second = "pagecontroller.aspx?pagetype=40&symbol=QA";
    const std::string third = "pagecontroller.aspx?pagetype=26&symbol=QA";
    const auto buttons = [this] {
        return std::to_string(Area().findChild<QToolButton*>("pageBack")->isEnabled()) +
               std::to_string(Area().findChild<QToolButton*>("pageForward")->isEnabled());
    };
    Navigate(first);
    EXPECT_EQ(buttons(), "00");
    Navigate(second);
    Navigate(third);
    Click("pageBack");
    EXPECT_EQ(Area().Address().toStdString(), second);
    EXPECT_EQ(buttons(), "11");
    Click("pageBack");
    EXPECT_EQ(Area().Address().toStdString(), first);
    EXPECT_EQ(buttons(), "01");
    Click("pageForward");
    EXPECT_EQ(Area().Address().toStdString(), second);
    // A page opened after going back drops the pages ahead, and a list opens no page.
    Navigate("pagecontroller.aspx?pagetype=7&symbol=" +
             Primary().DataSource()->Value("Symbol").ToString());
    Navigate(first);
    EXPECT_EQ(buttons(), "10");
    Click("pageBack");
    EXPECT_EQ(Area().Address().toStdString(), second);
    Click("pageBack");
    EXPECT_EQ(Area().Address().toStdString(), first);
}

TEST_F(PageRouterTest, AWebServerOrANewsSourceInTheSettingsLetsABrowserOpenThePage) {
    const auto* browser = Area().findChild<QPushButton*>(QStringLiteral("openInBrowser"));
    Navigate("pagecontroller.aspx?pagetype=37&symbol=QA");
    EXPECT_TRUE(browser->isHidden());
    m_oPlatform.Settings().SaveSetting("", "Settings", "WebServer", "www.example.com");
    Navigate("pagecontroller.aspx?pagetype=40&symbol=QA");
    EXPECT_FALSE(browser->isHidden());
    EXPECT_EQ(Area().BrowserAddress().toStdString(),
              "http://www.example.com/pagecontroller.aspx?pagetype=40&symbol=QA");
    // A news source of its own is opened where it is, whatever the web server.
    m_oPlatform.Settings().SaveSetting("Olmaris60", "SharedServices", "NewsURL",
                                       "https://news.example.com/q?s=***SYMBOL***");
    Navigate("https://news.example.com/q?s=QA");
    EXPECT_EQ(PageTexts().front().toStdString(), "Stock news");
    EXPECT_EQ(Area().BrowserAddress().toStdString(), "https://news.example.com/q?s=QA");
}

}  // namespace
}  // namespace qv::test
