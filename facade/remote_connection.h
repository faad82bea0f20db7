// The viewer's side of a facade server: one login, and the calls made under it.
//
// A connection is made with the server's address as the "RemoteServer" setting keeps it
// ("HTTP://HOST:PORT", letters in any case) or as a person types it. Login sends the name and the
// password (never over plain HTTP to an address that is not loopback) and keeps the session's
// time code; Call sends one facade call and writes the by-reference results back into the
// caller's arguments, exactly as the embedded component would have.
//
// Every failure is an AutomationError carrying the facade's error number, with a text that says
// what happened for people: the server cannot be reached, did not answer within the time limit
// (and the limit), answered with something that is not a facade message, refused the login, or
// no longer knows the session. A facade error the server raised arrives as it was raised.
//
// A connection keeps one HTTP client, so that its calls reuse one connection to the server; it
// is not safe to share between threads, and the viewer calls it from the host thread only.
// Connecting, sending and waiting for the answer are each bounded by RemoteOptions::m_oTimeout.
//
//     auto connection = std::make_shared<RemoteConnection>("http://localhost:8750");
//     connection->Login("ada", password);
//     RegisterRemoteComponents(PlatformContext::Current().Components(), connection);
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "outside/variant.h"

namespace qv {
class ComponentFactory;
}

namespace qv::facade {

struct RemoteOptions {
    // How long one call may take, connecting included, before it fails as timed out.
    std::chrono::milliseconds m_oTimeout{15000};
};

class RemoteConnection {
  public:
    explicit RemoteConnection(std::string p_sServer, RemoteOptions p_oOptions = {});
    ~RemoteConnection();
    RemoteConnection(const RemoteConnection&) = delete;
    RemoteConnection& operator=(const RemoteConnection&) = delete;

    // The address as it is used: "http://host:port" or "https://host:port", in lower case. The
    // constructor takes "http://host:port", "https://host[:port]" or "host:port" (plain HTTP),
    // a path after it ignored, and refuses anything else naming it.
    const std::string& Server() const { return m_sServer; }

    // Logs in; the owner and time code are the session's afterwards.
    void Login(const std::string& p_sName, const std::string& p_sPassword);
    // Acts under the session p_oOther logged in: any server of the same database knows it.
    void AdoptSession(const RemoteConnection& p_oOther);
    // Ends the session on the server; nothing is thrown when the server cannot be reached.
    void Logout();
    // False again once the server has said it no longer knows the session.
    bool LoggedIn() const { return !m_sTimeCode.empty(); }
    int32_t OwnerId() const { return m_lOwnerId; }
    const std::string& OwnerName() const { return m_sOwnerName; }
    const std::string& TimeCode() const { return m_sTimeCode; }

    // One facade call under the session.
    Variant Call(std::string_view p_sProgId, std::string_view p_sMethod, std::span<Variant> p_args);

  private:
    struct Client;

    std::string m_sServer;
    RemoteOptions m_oOptions;
    std::unique_ptr<Client> m_oClient;
    int32_t m_lOwnerId = 0;
    std::string m_sOwnerName;
    std::string m_sTimeCode;
};

// Registers remote proxies under every facade ProgID, each forwarding its calls to p_oConnection.
void RegisterRemoteComponents(ComponentFactory& p_oFactory,
                              std::shared_ptr<RemoteConnection> p_oConnection);

}  // namespace qv::facade
