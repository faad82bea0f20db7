// The store behind the window: the session reads the market by the facade's calls only (so that
// a server's proxies serve it as the embedded components do), the status bar names the store, a
// login that fails leaves it as it was, and a login elsewhere disables the list until the owner
// logs in again.
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "outside/component_factory.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "outside/support_utility.h"
#include "shell/connect_dialog.h"
#include "shell/market_session.h"
#include "shell/modal_helper.h"
#include "support/recording_facade.h"
#include "window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include <functional>
#include <optional>

namespace qv::test {
namespace {

namespace prog_id = facade_protocol::prog_id;

TEST(MarketSessionCalls, EveryListIsReadByItsFacadeCallForTheSessionsOwner) {
    ScopedTestPlatform platform;
    MarketSession& session = SharedMarket();
    auto real = std::make_shared<ComponentFactory>();
    session.Register(*real);
    auto log = std::make_shared<facade::FacadeCallLog>();
    facade::RegisterRecordingComponents(platform.Components(), real, facade::kFacadeProgIds, log);
    struct Case {
        const char* m_sWhat;
        std::function<size_t()> m_fnRead;
        std::string_view m_sProgId;
        const char* m_sMember;
        std::optional<size_t> m_lOwnerPlace;
    };
    const Case cases[] = {
        {"industries", [&] { return session.Industries().size(); }, prog_id::kViewerReader,
         "SearchIndustryName", 4},
        {"sectors", [&] { return session.Sectors().size(); }, prog_id::kViewerReader,
         "SearchSectorName", std::nullopt},
        {"watch lists", [&] { return session.WatchLists().size(); }, prog_id::kWatchListReader,
         "GetWatchLists", 0},
        {"portfolios", [&] { return session.Portfolios().size(); }, prog_id::kPortfolioReader,
         "GetPortfolios", 0},
        {"layouts", [&] { return session.Layouts(vt_Stocks).size(); }, prog_id::kViewerReader,
         "GetLayoutNames", 0},
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.m_sWhat);
        log->Clear();
        EXPECT_GT(entry.m_fnRead(), 0u);
        const std::vector<facade::FacadeCall> calls = log->CallsTo(entry.m_sMember);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front().m_sProgId, entry.m_sProgId);
        if (entry.m_lOwnerPlace) {
            EXPECT_EQ(calls.front().m_aArgumentsBefore.at(*entry.m_lOwnerPlace).ToLong(),
                      session.OwnerId());
        }
    }
    // The market's span and origin are one call until an import changes them.
    log->Clear();
    session.Refresh();
    EXPECT_EQ(session.LastDay(), kMarketLastDay);
    EXPECT_LT(session.FirstDay(), session.LastDay());
    EXPECT_TRUE(session.IsSampleMarket());
    EXPECT_EQ(session.DataSource().rfind("Generated sample market", 0), 0u);
    EXPECT_EQ(log->CallsTo("MarketSummary").size(), 1u);
    EXPECT_EQ(session.TradingDayOnOrBefore(kMarketLastDay + 3), kMarketLastDay);
    EXPECT_EQ(session.TradingDayOnOrBefore(session.FirstDay() - 1), 0);
}

// The setting keeps "HTTP://HOST" whatever was typed; the address as typed stands for it while it
// names the same host, so that an https server is offered as one the next time.
TEST(ServerLoginMemory, AnHttpsAddressIsOfferedAgainWhileTheSettingNamesItsHost) {
    ScopedTestPlatform platform;
    RememberLogin({"https://desk.example.com:8443", "ada"});
    SupportUtility().SaveRemoteServer("HTTP://DESK.EXAMPLE.COM:8443");
    EXPECT_EQ(RememberedLogin().m_sServer, "https://desk.example.com:8443");
    EXPECT_EQ(RememberedLogin().m_sName, "ada");
    SupportUtility().SaveRemoteServer("HTTP://OTHER.EXAMPLE.COM");
    EXPECT_EQ(RememberedLogin().m_sServer, "HTTP://OTHER.EXAMPLE.COM");
}

class WindowStoreTest : public WindowTest {
  protected:
    QAction& Action(const char* p_sName) {
        auto* action = m_window.findChild<QAction*>(QString::fromUtf8(p_sName));
        EXPECT_NE(action, nullptr) << p_sName;
        return *action;
    }
};

TEST_F(WindowStoreTest, TheStatusBarNamesTheEmbeddedStoreAndTheMarketsSymbolsAreKnown) {
    EXPECT_EQ(m_window.StoreText().toStdString(), "Embedded store: " + SharedMarket().Path());
    const std::string symbol = Primary().DataSource()->Value("Symbol").ToString();
    EXPECT_TRUE(SharedMarket().HasStock(symbol));
    EXPECT_FALSE(SharedMarket().HasStock("NO SUCH"));
    EXPECT_FALSE(SharedMarket().StockName(symbol).empty());
}

// No server listens on port 1 of the loopback address: the client's refusal shows in the dialog,
// which stays open, and the window keeps its store and setting.
TEST_F(WindowStoreTest, ALoginThatFailsShowsTheClientsMessageAndKeepsTheStore) {
    const QString store = m_window.StoreText();
    QString shown;
    bool stayedOpen = false;
    WhenModal([&](QWidget& p_oDialog) {
        p_oDialog.findChild<QLineEdit*>(QStringLiteral("server"))
            ->setText(QStringLiteral("127.0.0.1:1"));
        p_oDialog.findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("ada"));
        p_oDialog.findChild<QLineEdit*>(QStringLiteral("password"))
            ->setText(QStringLiteral("secret"));
        Click(p_oDialog, QStringLiteral("Connect"));
        shown = p_oDialog.findChild<QLabel*>(QStringLiteral("message"))->text();
        stayedOpen = p_oDialog.isVisible();
        EXPECT_TRUE(p_oDialog.findChild<QLineEdit*>(QStringLiteral("password"))->text().isEmpty());
        Click(p_oDialog, QStringLiteral("Cancel"));
    });
    m_window.ChooseStore();
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(m_window.StoreText(), store);
    EXPECT_EQ(SupportUtility().RemoteServer(), "");
    EXPECT_TRUE(Action("importAction").isEnabled());
}

TEST_F(WindowStoreTest, ALoginElsewhereDisablesTheListUntilTheOwnerLogsInAgain) {
    facade::FacadeBackend elsewhere(std::make_shared<facade::MarketStore>(
        SharedMarket().Path(), facade::MarketStore::Access::ReadWrite));
    elsewhere.Login(SharedMarket().OwnerId(), "");
    // The list shown asks again on another day: its query reports the conflict.
    ViewerRequest request = m_window.Host().Request();
    request.m_lDate = SharedMarket().TradingDayOnOrBefore(request.m_lDate - 1);
    m_window.ShowList(request);
    EXPECT_TRUE(m_window.Host().LoginTakenOver());
    EXPECT_FALSE(m_window.Surface().isEnabled());
    EXPECT_TRUE(m_window.LastMessage().startsWith(QStringLiteral("Another login")));
    Action("logInAgainAction").trigger();
    EXPECT_FALSE(m_window.Host().LoginTakenOver());
    EXPECT_TRUE(m_window.Surface().isEnabled());
}

}  // namespace
}  // namespace qv::test
