// The viewer's remote proxies against a scripted HTTP server on loopback: the addresses they take,
// what each kind of failed login and call tells the caller, and that only by-reference results
// reach the caller's arguments.
#include "facade/remote_connection.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <array>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "facade/facade_components.h"
#include "facade/remote_protocol.h"
#include "facade/sqlite_database.h"
#include "facade/wire_format.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/recordset.h"

namespace qv::facade {
namespace {

namespace stocks = facade_protocol::stock_viewer;
using namespace std::chrono_literals;

struct Reply {
    int m_iStatus = 200;
    std::string m_sBody{};
    std::chrono::milliseconds m_oDelay{0};
    std::string m_sRetryAfter{};
};

struct Received {
    std::string m_sPath;
    std::string m_sBody{};
    std::string m_sType{};
};

// Answers each request with the next scripted reply (500 when the script has run out) and keeps
// what it received. A delayed reply waits until its delay passes or the server is stopped.
class ScriptedServer {
  public:
    ScriptedServer() {
        m_oServer.Post(".*",
                       [this](const httplib::Request& p_oRequest, httplib::Response& p_oResponse) {
                           Serve(p_oRequest, p_oResponse);
                       });
        // A connection kept alive would hold Stop() up for the server's keep-alive timeout.
        m_oServer.set_keep_alive_max_count(1);
        m_iPort = m_oServer.bind_to_any_port("127.0.0.1");
        m_oThread = std::thread([this] { m_oServer.listen_after_bind(); });
    }
    ~ScriptedServer() { Stop(); }

    void Script(Reply p_oReply) {
        const std::lock_guard lock(m_oMutex);
        m_aScript.push_back(std::move(p_oReply));
    }

    std::vector<Received> Requests() {
        const std::lock_guard lock(m_oMutex);
        return m_aReceived;
    }

    std::string Address() const { return "http://127.0.0.1:" + std::to_string(m_iPort); }

    // Afterwards the port refuses connections.
    void Stop() {
        if (!m_oThread.joinable()) {
            return;
        }
        {
            const std::lock_guard lock(m_oMutex);
            m_bStopping = true;
        }
        m_oWake.notify_all();
        while (!m_oServer.is_running()) {
            std::this_thread::yield();
        }
        m_oServer.stop();
        m_oThread.join();
    }

  private:
    void Serve(const httplib::Request& p_oRequest, httplib::Response& p_oResponse) {
        std::unique_lock lock(m_oMutex);
        m_aReceived.push_back(
            {p_oRequest.path, p_oRequest.body, p_oRequest.get_header_value("Content-Type")});
        Reply reply{500, "unscripted"};
        if (!m_aScript.empty()) {
            reply = m_aScript.front();
            m_aScript.pop_front();
        }
        m_oWake.wait_for(lock, reply.m_oDelay, [this] { return m_bStopping; });
        p_oResponse.status = reply.m_iStatus;
        p_oResponse.set_content(reply.m_sBody, "application/json");
        if (!reply.m_sRetryAfter.empty()) {
            p_oResponse.set_header("Retry-After", reply.m_sRetryAfter);
        }
    }

    httplib::Server m_oServer;
    int m_iPort = 0;
    std::thread m_oThread;
    std::mutex m_oMutex;
    std::condition_variable m_oWake;
    bool m_bStopping = false;
    std::deque<Reply> m_aScript;
    std::vector<Received> m_aReceived;
};

const Reply kLoginAccepted{
    200, R"({"format": "qv-facade/1", "owner_id": 7, "name": "ada", "time_code": "tc-1"})"};

std::string ErrorDocument(const std::string& p_sText) {
    return R"({"format": "qv-facade/1", "error": ")" + p_sText + R"("})";
}

std::shared_ptr<RemoteConnection> LoggedIn(ScriptedServer& p_oServer) {
    p_oServer.Script(kLoginAccepted);
    auto connection = std::make_shared<RemoteConnection>(p_oServer.Address(), RemoteOptions{300ms});
    connection->Login("ada", "secret");
    return connection;
}

TEST(RemoteConnection, TakesAnAddressInEveryFormPeopleWriteAndRefusesOthersByName) {
    const struct {
        const char* m_sGiven;
        const char* m_sUsed;  // "" for refused
    } cases[] = {
        {"HTTP://LOCALHOST:8750", "http://localhost:8750"},
        {" http://quotes.example.com:80/v1/ignored ", "http://quotes.example.com:80"},
        {"https://Quotes.Example.com", "https://quotes.example.com:443"},
        {"https://quotes.example.com:8443/", "https://quotes.example.com:8443"},
        {"127.0.0.1:8750", "http://127.0.0.1:8750"},
        {"http://[::1]:8750", "http://[::1]:8750"},
        {"localhost", ""},
        {"http://localhost:", ""},
        {"ftp://localhost:21", ""},
        {"http://localhost:0", ""},
        {"http://localhost:65536", ""},
        {"http://local host:8750", ""},
        {"http://:8750", ""},
        {"http://[::1:8750", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        if (*c.m_sUsed != '\0') {
            EXPECT_EQ(RemoteConnection(c.m_sGiven).Server(), c.m_sUsed) << c.m_sGiven;
            continue;
        }
        try {
            RemoteConnection refused(c.m_sGiven);
            ADD_FAILURE() << "taken: '" << c.m_sGiven << "'";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.Number(), kFacadeErrorNumber) << c.m_sGiven;
            EXPECT_NE(error.Description().find("'" + std::string(c.m_sGiven) + "'"),
                      std::string::npos)
                << error.Description();
        }
    }
}

TEST(RemoteConnection, NeverSendsAPasswordOverPlainHttpToAnotherComputer) {
    // Nothing answers at this name: a login that tried to send would fail to connect instead.
    RemoteConnection connection("HTTP://QUOTES.EXAMPLE.INVALID:8750");
    try {
        connection.Login("ada", "secret");
        FAIL() << "logged in";
    } catch (const AutomationError& error) {
        EXPECT_NE(error.Description().find("https://"), std::string::npos) << error.Description();
    }
}

TEST(RemoteConnection, LoginKeepsTheSessionOrSaysWhyTheServerRefused) {
    const struct {
        Reply m_oReply;
        const char* m_sError;  // "" when accepted
    } cases[] = {
        {kLoginAccepted, ""},
        {{401, ErrorDocument("no")}, "The server refused the name or password."},
        {{429, ErrorDocument("slow down"), 0ms, "30"},
         "Too many failed logins: wait 30 seconds before trying again."},
        {{403, ErrorDocument("use https")}, "use https"},
        {{503, "database down"}, "The server answered 503: database down"},
        {{200, "{}"}, "answered the login with something that is not a facade message"},
    };
    for (const auto& c : cases) {
        ScriptedServer server;
        server.Script(c.m_oReply);
        RemoteConnection connection(server.Address());
        try {
            connection.Login("ada", "secret");
            EXPECT_STREQ(c.m_sError, "");
            EXPECT_EQ(connection.OwnerId(), 7);
            EXPECT_EQ(connection.TimeCode(), "tc-1");
        } catch (const AutomationError& error) {
            EXPECT_NE(error.Description().find(c.m_sError), std::string::npos)
                << error.Description();
            EXPECT_FALSE(connection.LoggedIn());
        }
        const std::vector<Received> requests = server.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].m_sPath, remote_protocol::kLoginPath);
        EXPECT_NE(requests[0].m_sBody.find(R"("password":"secret")"), std::string::npos);
    }
}

TEST(RemoteConnection, EveryFailedCallIsAFacadeErrorThatNamesTheMethodAndWhatHappened) {
    const AutomationError raised(13, "QorvantOnlineFacade",
                                 "StockViewer: argument 12: Type mismatch");
    const struct {
        const char* m_sName;
        Reply m_oReply;
        bool m_bServerGone;
        const char* m_sError;
        int32_t m_lNumber = kFacadeErrorNumber;
    } cases[] = {
        {"refused", {}, true, "StockViewer: The facade server at http://127.0.0.1:"},
        {"slow", {200, "{}", 5000ms}, false, "did not answer within 0.3 seconds"},
        {"garbage", {200, "<html>"}, false, "answered with something that is not a facade message"},
        {"session gone", {401, ErrorDocument("unknown")}, false, "log in again"},
        {"too large", {413, ErrorDocument("over 64 MB")}, false, "StockViewer: over 64 MB"},
        {"server fault", {500, "boom"}, false, "StockViewer: The server answered 500: boom"},
        {"facade error",
         {200, EncodeResponse({{}, {}, raised})},
         false,
         raised.Description().c_str(),
         13},
    };
    for (const auto& c : cases) {
        ScriptedServer server;
        const auto connection = LoggedIn(server);
        server.Script(c.m_oReply);
        if (c.m_bServerGone) {
            server.Stop();
        }
        std::array<Variant, 2> args{Variant(7), Variant()};
        try {
            connection->Call(prog_id::kViewerReader, stocks::kMethod, args);
            ADD_FAILURE() << c.m_sName;
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.Number(), c.m_lNumber) << c.m_sName;
            EXPECT_NE(error.Description().find(c.m_sError), std::string::npos)
                << c.m_sName << ": " << error.Description();
            EXPECT_TRUE(error.Description().starts_with("StockViewer: ")) << c.m_sName;
        }
    }
}

TEST(RemoteConnection, OnlyByReferenceResultsReachTheCaller) {
    ScriptedServer server;
    const auto connection = LoggedIn(server);
    ComponentFactory factory;
    RegisterRemoteComponents(factory, connection);

    std::vector<Variant> answered(stocks::kCount);
    answered[stocks::kMaxRows.Position] = 250;
    answered[stocks::kRows.Position] = RecordsetVariant(std::make_shared<Recordset>());
    answered[stocks::kOwnerId.Position] = 99;
    answered[stocks::kIndCode.Position] = 5;
    server.Script({200, EncodeResponse({Variant(true), answered})});
    server.Script({200, EncodeResponse({Variant("done"), answered})});

    std::vector<Variant> args(stocks::kCount);
    args[stocks::kOwnerId.Position] = 7;
    args[stocks::kMaxRows.Position] = -1;
    const auto viewer = factory.CreateObject("QORVANTONLINEFACADE.VIEWERFNTR");
    EXPECT_EQ(CallMethod(*viewer, "stockviewer", args), Variant(true));
    EXPECT_EQ(args[stocks::kMaxRows.Position], Variant(250));
    EXPECT_TRUE(RecordsetOf(args[stocks::kRows.Position]));
    EXPECT_EQ(args[stocks::kOwnerId.Position], Variant(7));
    EXPECT_TRUE(args[stocks::kIndCode.Position].IsEmpty());

    // A method the table does not know still goes to the server; only its result comes back.
    std::vector<Variant> unknown(stocks::kCount);
    EXPECT_EQ(CallMethod(*viewer, "NewerMethod", unknown), Variant("done"));
    EXPECT_TRUE(unknown[stocks::kMaxRows.Position].IsEmpty());

    const std::vector<Received> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].m_sType, remote_protocol::kMessagePackType);
    const WireRequest sent = DecodeRequest(requests[1].m_sBody, WireEncoding::MessagePack);
    EXPECT_EQ(requests[1].m_sPath, remote_protocol::kCallPath);
    EXPECT_EQ(sent.m_sProgId, prog_id::kViewerReader);
    EXPECT_EQ(sent.m_sTimeCode, "tc-1");
    EXPECT_EQ(sent.m_aArgs.size(), stocks::kCount);

    EXPECT_THROW(LetProperty(*viewer, "StockViewer", 1), AutomationError);
    EXPECT_EQ(server.Requests().size(), 3u);
}

TEST(RemoteConnection, LogoutForgetsTheSessionEvenWhenTheServerIsGone) {
    ScriptedServer server;
    const auto connection = LoggedIn(server);
    server.Stop();
    connection->Logout();
    EXPECT_FALSE(connection->LoggedIn());
}

}  // namespace
}  // namespace qv::facade
