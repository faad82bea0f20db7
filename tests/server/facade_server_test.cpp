#include "server/facade_server.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/remote_protocol.h"
#include "facade/sample_market.h"
#include "facade/session_store.h"
#include "facade/sqlite_database.h"
#include "facade/wire_format.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "server/password_hash.h"
#include "test_market_database.h"

namespace qv::server {
namespace {

namespace protocol = facade::remote_protocol;
namespace sv = facade_protocol::stock_viewer;
namespace prog_id = facade_protocol::prog_id;

constexpr int32_t kAda = 501;
constexpr int32_t kGrace = 502;
constexpr double kStart = 1'800'000'000;
constexpr std::chrono::seconds kLifetime{3600};

// A small generated market with three accounts: two with passwords, one without.
class FacadeServerTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_oFolder = std::filesystem::temp_directory_path() /
                    ("qv-facade-server-" + std::to_string(::getpid()));
        std::filesystem::create_directories(s_oFolder);
        facade::MarketStore store(Database(), facade::MarketStore::Access::ReadWrite);
        facade::SampleMarketOptions options;
        options.m_lStocks = 40;
        options.m_lIndustries = 8;
        options.m_lTradingDays = 60;
        facade::GenerateSampleMarket(store, options, {});
        facade::OwnerStore owners(store.Database());
        facade::SessionStore accounts(store.Database());
        owners.PutOwner(kAda, "Ada");
        owners.PutOwner(kGrace, "Grace");
        owners.PutOwner(503, "Nopass");
        accounts.SetPasswordHash(kAda, HashPassword("lovelace"));
        accounts.SetPasswordHash(kGrace, HashPassword("hopper"));
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(s_oFolder); }
    static std::string Database() { return (s_oFolder / "market.db").string(); }

    void SetUp() override {
        const std::string path = Database();
        Start([path] {
            return std::make_shared<facade::MarketStore>(path,
                                                         facade::MarketStore::Access::ReadWrite);
        });
    }
    void Start(StoreOpener p_fnOpener) {
        FacadeServerOptions options;
        options.m_lPort = 0;
        options.m_lThreads = 2;
        options.m_oSessionLifetime = kLifetime;
        options.m_oLimits.m_lMaxBytes = 64 * 1024;
        options.m_fnNow = [this] { return m_dNow.load(); };
        m_oServer = std::make_unique<FacadeServer>(std::move(p_fnOpener), options);
        m_oClient = std::make_unique<httplib::Client>("127.0.0.1", m_oServer->Bind());
        m_oServing = std::thread([this] { m_oServer->Serve(); });
        while (!m_oServer->IsRunning()) {
            std::this_thread::yield();
        }
    }
    void TearDown() override {
        m_oServer->Stop();
        m_oServing.join();
    }
    int HealthStatus() { return m_oClient->Get(std::string(protocol::kHealthPath))->status; }

    httplib::Result Post(std::string_view p_sPath, const std::string& p_sBody) {
        return m_oClient->Post(std::string(p_sPath), p_sBody, std::string(protocol::kContentType));
    }
    httplib::Result LoginAs(const std::string& p_sName, const std::string& p_sPassword) {
        return Post(protocol::kLoginPath, R"({"format": "qv-facade/1", "name": ")" + p_sName +
                                              R"(", "password": ")" + p_sPassword + R"("})");
    }
    std::string TokenOf(const std::string& p_sName, const std::string& p_sPassword) {
        const httplib::Result result = LoginAs(p_sName, p_sPassword);
        EXPECT_EQ(result->status, protocol::kOk) << result->body;
        return Json(result->body).value(std::string(protocol::kTimeCode), "");
    }
    facade::WireResponse Call(const std::string& p_sToken, std::string_view p_sProgId,
                              std::string_view p_sMethod, std::vector<Variant> p_aArgs) {
        const httplib::Result result =
            Post(protocol::kCallPath,
                 facade::EncodeRequest({std::string(p_sProgId), std::string(p_sMethod), p_sToken,
                                        std::move(p_aArgs)}));
        EXPECT_EQ(result->status, protocol::kOk) << result->body;
        return facade::DecodeResponse(result->body);
    }
    int CallStatus(const std::string& p_sToken) {
        return Post(protocol::kCallPath,
                    facade::EncodeRequest({std::string(prog_id::kViewerReader), "StockViewer",
                                           p_sToken, test::StockViewerArgs(kAda, p_sToken)}))
            ->status;
    }

    static nlohmann::json Json(const std::string& p_sBody) {
        return nlohmann::json::parse(p_sBody);
    }

    static inline std::filesystem::path s_oFolder;
    std::atomic<double> m_dNow{kStart};
    std::unique_ptr<FacadeServer> m_oServer;
    std::unique_ptr<httplib::Client> m_oClient;
    std::thread m_oServing;
};

struct LoginCase {
    const char* m_sCase;
    std::string m_sName;
    std::string m_sPassword;
    int m_lStatus;
    int32_t m_lOwnerId;
};

// A wrong password, an unknown name and an account without a password all get one answer, so
// that it does not tell which names exist.
TEST_F(FacadeServerTest, LoginsAnswerTheOwnerOrOneRefusalForEveryWrongNameOrPassword) {
    const std::vector<LoginCase> cases = {
        {"right password", "ada", "lovelace", protocol::kOk, kAda},
        {"name in another case", "GRACE", "hopper", protocol::kOk, kGrace},
        {"wrong password", "ada", "hopper", protocol::kUnauthorised, 0},
        {"unknown name", "nobody", "lovelace", protocol::kUnauthorised, 0},
        {"no password set", "nopass", "", protocol::kUnauthorised, 0},
    };
    for (const LoginCase& c : cases) {
        const httplib::Result result = LoginAs(c.m_sName, c.m_sPassword);
        ASSERT_TRUE(result) << c.m_sCase;
        EXPECT_EQ(result->status, c.m_lStatus) << c.m_sCase;
        const nlohmann::json answer = Json(result->body);
        if (c.m_lStatus != protocol::kOk) {
            EXPECT_EQ(answer.value("error", ""), "wrong name or password") << c.m_sCase;
            continue;
        }
        EXPECT_EQ(answer.value("owner_id", 0), c.m_lOwnerId) << c.m_sCase;
        EXPECT_EQ(answer.value("time_code", "").size(), 64u) << c.m_sCase;
    }
    EXPECT_EQ(Json(LoginAs("grace", "hopper")->body).value("name", ""), "Grace");
}

TEST_F(FacadeServerTest, TheSixthFailedLoginWithinAMinuteIsRefusedEvenWithTheRightPassword) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        EXPECT_EQ(LoginAs("ada", "wrong")->status, protocol::kUnauthorised) << attempt;
    }
    const httplib::Result refused = LoginAs("ada", "lovelace");
    EXPECT_EQ(refused->status, protocol::kTooManyRequests);
    EXPECT_GT(std::stoi(refused->get_header_value("Retry-After")), 0);
}

TEST_F(FacadeServerTest, AStockViewerCallAnswersTheMarketsRowsForTheSessionsOwner) {
    const std::string token = TokenOf("ada", "lovelace");
    const facade::WireResponse response =
        Call(token, prog_id::kViewerReader, sv::kMethod, test::StockViewerArgs(kAda, token));
    ASSERT_FALSE(response.m_oError) << response.m_oError->Description();
    const auto rows = response.m_aArgs.at(sv::kRows.Position).ToObjectAs<Recordset>();
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->RecordCount(), 40);
    EXPECT_FALSE(response.m_aArgs.at(sv::kLoginConflict.Position).ToBool());
}

TEST_F(FacadeServerTest, ASecondLoginOfTheOwnerLeavesTheFirstSessionStale) {
    const std::string first = TokenOf("ada", "lovelace");
    const std::string second = TokenOf("ada", "lovelace");
    const facade::WireResponse list =
        Call(first, prog_id::kViewerReader, sv::kMethod, test::StockViewerArgs(kAda, first));
    ASSERT_FALSE(list.m_oError);
    EXPECT_TRUE(list.m_aArgs.at(sv::kLoginConflict.Position).ToBool());
    const facade::WireResponse stale =
        Call(first, prog_id::kViewerReader, "GetLayout", {kAda, Variant(3)});
    ASSERT_TRUE(stale.m_oError);
    EXPECT_NE(stale.m_oError->Description().find("no longer current"), std::string::npos);
    EXPECT_FALSE(Call(second, prog_id::kViewerReader, "GetLayout", {kAda, Variant(3)}).m_oError);
}

struct RefusedCall {
    const char* m_sCase;
    std::string_view m_sProgId;
    std::string m_sMethod;
    int32_t m_lNumber;
    std::string m_sSaid;
};

// Refusals of the facade travel inside the answer, as the embedded facade raises them.
TEST_F(FacadeServerTest, CallsTheSessionMayNotMakeAreRefusedInsideTheAnswer) {
    const std::string token = TokenOf("ada", "lovelace");
    const std::vector<RefusedCall> cases = {
        {"another owner", prog_id::kViewerReader, "StockViewer", facade::kFacadeErrorNumber,
         "owner 502 is not the owner logged in (501)"},
        {"login through a call", prog_id::kViewerReader, "Login", facade::kFacadeErrorNumber,
         "log in to the server with a name and password"},
        {"unknown component", "QorvantOnlineFacade.Nothing", "StockViewer",
         errors::kCannotCreateObject, "QorvantOnlineFacade.Nothing"},
    };
    for (const RefusedCall& c : cases) {
        const facade::WireResponse response =
            Call(token, c.m_sProgId, c.m_sMethod, test::StockViewerArgs(kGrace, token));
        ASSERT_TRUE(response.m_oError) << c.m_sCase;
        EXPECT_EQ(response.m_oError->Number(), c.m_lNumber) << c.m_sCase;
        EXPECT_NE(response.m_oError->Description().find(c.m_sSaid), std::string::npos)
            << c.m_sCase << ": " << response.m_oError->Description();
    }
}

TEST_F(FacadeServerTest, MessagesThatAreNotCallsAreRefusedWithAnErrorDocument) {
    struct Case {
        const char* m_sCase;
        std::string m_sBody;
        int m_lStatus;
    };
    const std::vector<Case> cases = {
        {"malformed JSON", R"({"format": "qv-facade/1", "prog_id": )", protocol::kBadRequest},
        {"over the size limit", std::string(1 << 20, ' '), protocol::kTooLarge},
    };
    for (const Case& c : cases) {
        const httplib::Result result = Post(protocol::kCallPath, c.m_sBody);
        ASSERT_TRUE(result) << c.m_sCase;
        EXPECT_EQ(result->status, c.m_lStatus) << c.m_sCase;
        EXPECT_FALSE(Json(result->body).value("error", "").empty()) << c.m_sCase;
    }
    EXPECT_EQ(HealthStatus(), protocol::kOk);
}

TEST_F(FacadeServerTest, ADatabaseThatCannotBeReachedAnswersUnavailableUntilItCanBe) {
    TearDown();
    std::atomic<int> opened{0};
    const std::string path = Database();
    Start([&opened, path] {
        if (opened++ == 0) {
            throw facade::FacadeError(path, 0, "the database server does not answer");
        }
        return std::make_shared<facade::MarketStore>(path, facade::MarketStore::Access::ReadWrite);
    });
    EXPECT_EQ(HealthStatus(), protocol::kUnavailable);
    EXPECT_EQ(LoginAs("ada", "lovelace")->status, protocol::kOk);
    EXPECT_EQ(HealthStatus(), protocol::kOk);
}

TEST_F(FacadeServerTest, ATimeCodeOfNoLiveSessionIsRefused) {
    const std::string token = TokenOf("ada", "lovelace");
    EXPECT_EQ(CallStatus(std::string(64, 'a')), protocol::kUnauthorised);
    EXPECT_EQ(CallStatus(token), protocol::kOk);
    m_dNow = kStart + static_cast<double>(kLifetime.count());
    EXPECT_EQ(CallStatus(token), protocol::kUnauthorised);
}

TEST_F(FacadeServerTest, ALogoutEndsTheSession) {
    const std::string token = TokenOf("ada", "lovelace");
    const httplib::Result result =
        Post(protocol::kLogoutPath, R"({"format": "qv-facade/1", "time_code": ")" + token + "\"}");
    EXPECT_EQ(result->status, protocol::kOk);
    EXPECT_EQ(CallStatus(token), protocol::kUnauthorised);
}

}  // namespace
}  // namespace qv::server
