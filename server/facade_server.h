// qorvant-facade-server's HTTP front: the facade's components served to remote viewers by the
// paths and documents of remote_protocol.h, each call in a wire_format.h message.
//
// A login checks a name and password against the owners' password hashes and starts a session
// in the database; every call then names its session by the time code, and the facade acts for
// that session's owner, with the same authority rules as the embedded facade. The server keeps
// nothing of a request in memory once answered (the backends it reuses, and the counts of failed
// logins, are all it holds), so any number of processes may serve one database.
//
// Over plain HTTP a password is taken only from a loopback address; anywhere else the server must
// be given a certificate and key and speak HTTPS.
//
//     FacadeServer server([] { return OpenStore(path); }, options);
//     const int port = server.Bind();   // the port chosen when the options asked for 0
//     server.Serve();                   // until Stop() from another thread
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "facade/wire_format.h"
#include "server/backend_pool.h"
#include "server/login_limiter.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace qv::server {

struct FacadeServerOptions {
    std::string m_sHost = "127.0.0.1";
    int m_lPort = 8750;  // 0: a free port the system picks
    int m_lThreads = 8;
    // Both set: HTTPS with this certificate chain and private key (PEM files).
    std::string m_sTlsCert;
    std::string m_sTlsKey;
    std::chrono::seconds m_oSessionLifetime{std::chrono::hours{12}};
    facade::WireLimits m_oLimits;
    // One line per request on stderr: method, path, status and milliseconds.
    bool m_bVerbose = false;
    // Seconds since 1970-01-01 UTC, which the sessions' times are kept in.
    std::function<double()> m_fnNow;
    LoginLimiter::Clock m_fnLimiterClock = std::chrono::steady_clock::now;
};

class FacadeServer {
  public:
    // Throws when a certificate or key was given that does not load.
    FacadeServer(StoreOpener p_fnOpener, FacadeServerOptions p_oOptions);
    ~FacadeServer();
    FacadeServer(const FacadeServer&) = delete;
    FacadeServer& operator=(const FacadeServer&) = delete;

    bool UsesTls() const;
    // Binds the host and port of the options; returns the port. Throws when it cannot.
    int Bind();
    // Answers requests until Stop(); false when serving failed.
    bool Serve();
    bool IsRunning() const;
    // From any thread; Serve returns once the requests being answered are.
    void Stop();

  private:
    void Route();
    void Login(const httplib::Request& p_oRequest, httplib::Response& p_oResponse);
    void Call(const httplib::Request& p_oRequest, httplib::Response& p_oResponse);
    void Logout(const httplib::Request& p_oRequest, httplib::Response& p_oResponse);
    void Health(httplib::Response& p_oResponse);
    // Runs p_fnWork on a leased backend; a database that cannot be reached answers 503.
    void WithBackend(httplib::Response& p_oResponse,
                     const std::function<void(BackendPool::Lease&)>& p_fnWork);
    double Now() const;

    FacadeServerOptions m_oOptions;
    BackendPool m_oBackends;
    LoginLimiter m_oLimiter;
    std::unique_ptr<httplib::Server> m_oHttp;
};

}  // namespace qv::server
