#include "server/facade_server.h"

#include <httplib.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <stdexcept>
#include <utility>

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/remote_protocol.h"
#include "facade/session_store.h"
#include "facade/sqlite_database.h"
#include "outside/dispatch.h"
#include "outside/facade_protocol.h"
#include "outside/text_util.h"
#include "server/password_hash.h"

namespace qv::server {

namespace {

namespace protocol = facade::remote_protocol;
using nlohmann::json;

// With its charset named, an answer is one the HTTP library does not compress: a client asking
// for brotli would otherwise make the server spend ten times the call's own time on it, for a
// list that loopback or a desk's network carries faster as it is.
const std::string kJson = std::string(protocol::kContentType) + "; charset=utf-8";

std::string Member(std::string_view p_sName) {
    return std::string(p_sName);
}

json Document() {
    return json{{Member(protocol::kFormat), facade::kWireFormatVersion}};
}

void Answer(httplib::Response& p_oResponse, int p_lStatus, const json& p_oDocument) {
    p_oResponse.status = p_lStatus;
    p_oResponse.set_content(p_oDocument.dump(-1, ' ', false, json::error_handler_t::replace),
                            kJson);
}

void Refuse(httplib::Response& p_oResponse, int p_lStatus, const std::string& p_sWhy) {
    json document = Document();
    document[Member(protocol::kError)] = p_sWhy;
    Answer(p_oResponse, p_lStatus, document);
}

// A login or logout document: a JSON object of this format. Says why not in p_sWhy.
std::optional<json> ParseDocument(const std::string& p_sBody, std::string& p_sWhy) {
    json document = json::parse(p_sBody, nullptr, false);
    if (document.is_discarded() || !document.is_object()) {
        p_sWhy = "the request is not a JSON object";
        return std::nullopt;
    }
    const auto format = document.find(Member(protocol::kFormat));
    if (format != document.end() && *format != facade::kWireFormatVersion) {
        p_sWhy = "the request is of another format than " + std::string(facade::kWireFormatVersion);
        return std::nullopt;
    }
    return document;
}

// A text member; none when it is missing or not a string.
std::optional<std::string> TextMember(const json& p_oDocument, std::string_view p_sName) {
    const auto found = p_oDocument.find(Member(p_sName));
    if (found == p_oDocument.end() || !found->is_string()) {
        return std::nullopt;
    }
    return found->get<std::string>();
}

bool IsLoopback(const std::string& p_sAddress) {
    return p_sAddress == "::1" || p_sAddress.starts_with("127.") ||
           p_sAddress.starts_with("::ffff:127.");
}

// One facade call on the lease's components, answered as the embedded component would have:
// the result and every argument as the call left them, or the error it raised.
facade::WireResponse Invoke(BackendPool::Lease& p_oLease, facade::WireRequest& p_oRequest) {
    facade::WireResponse response;
    try {
        if (EqualsIgnoreCase(p_oRequest.m_sMethod, facade_protocol::login::kMethod)) {
            facade::RaiseFacadeError(facade_protocol::login::kMethod,
                                     "log in to the server with a name and password");
        }
        const std::shared_ptr<DispatchObject> component =
            p_oLease.Components().CreateObject(p_oRequest.m_sProgId);
        response.m_vResult =
            component->Invoke(p_oRequest.m_sMethod, InvokeKind::Method, p_oRequest.m_aArgs);
        response.m_aArgs = std::move(p_oRequest.m_aArgs);
    } catch (const AutomationError& error) {
        response = facade::WireResponse{};
        response.m_oError = error;
    }
    return response;
}

// The response's message; a call whose answer cannot travel raises that instead.
std::string EncodeAnswer(const facade::WireRequest& p_oRequest,
                         const facade::WireResponse& p_oResponse,
                         facade::WireEncoding p_eEncoding) {
    try {
        return facade::EncodeResponse(p_oResponse, p_eEncoding);
    } catch (const facade::WireFormatError& error) {
        facade::WireResponse failed;
        failed.m_oError = AutomationError(facade::kFacadeErrorNumber, facade::kFacadeSource,
                                          p_oRequest.m_sMethod + ": " + error.what());
        return facade::EncodeResponse(failed, p_eEncoding);
    }
}

// A call is answered in the encoding it came in.
const std::string& ContentTypeOf(facade::WireEncoding p_eEncoding) {
    static const std::string messagePack(protocol::kMessagePackType);
    return p_eEncoding == facade::WireEncoding::MessagePack ? messagePack : kJson;
}

double SystemNow() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// When the request being answered on this worker began, for the verbose log.
thread_local std::chrono::steady_clock::time_point t_oRequestStart;

}  // namespace

FacadeServer::FacadeServer(StoreOpener p_fnOpener, FacadeServerOptions p_oOptions)
    : m_oOptions(std::move(p_oOptions)),
      m_oBackends(std::move(p_fnOpener), static_cast<size_t>(std::max(m_oOptions.m_lThreads, 1))),
      m_oLimiter(m_oOptions.m_fnLimiterClock) {
    if (m_oOptions.m_sTlsCert.empty() != m_oOptions.m_sTlsKey.empty()) {
        throw std::invalid_argument("HTTPS needs both a certificate and a key");
    }
    if (m_oOptions.m_sTlsCert.empty()) {
        m_oHttp = std::make_unique<httplib::Server>();
    } else {
        m_oHttp = std::make_unique<httplib::SSLServer>(m_oOptions.m_sTlsCert.c_str(),
                                                       m_oOptions.m_sTlsKey.c_str());
    }
    if (!m_oHttp->is_valid()) {
        throw std::invalid_argument("the certificate " + m_oOptions.m_sTlsCert + " or the key " +
                                    m_oOptions.m_sTlsKey + " does not load");
    }
    Route();
}

FacadeServer::~FacadeServer() = default;

bool FacadeServer::UsesTls() const {
    return !m_oOptions.m_sTlsCert.empty();
}

double FacadeServer::Now() const {
    return m_oOptions.m_fnNow ? m_oOptions.m_fnNow() : SystemNow();
}

void FacadeServer::Route() {
    const int threads = std::max(m_oOptions.m_lThreads, 1);
    m_oHttp->new_task_queue = [threads] {
        return new httplib::ThreadPool(static_cast<size_t>(threads));
    };
    // A message over the limit is refused before its body is read into memory.
    m_oHttp->set_payload_max_length(m_oOptions.m_oLimits.m_lMaxBytes);
    // An answer goes out as its headers and then its body: without this the body waits for the
    // client's delayed acknowledgement of the headers, some 40 ms a call.
    m_oHttp->set_tcp_nodelay(true);
    m_oHttp->Post(std::string(protocol::kLoginPath),
                  [this](const httplib::Request& p_oRequest, httplib::Response& p_oResponse) {
                      Login(p_oRequest, p_oResponse);
                  });
    m_oHttp->Post(std::string(protocol::kCallPath),
                  [this](const httplib::Request& p_oRequest, httplib::Response& p_oResponse) {
                      Call(p_oRequest, p_oResponse);
                  });
    m_oHttp->Post(std::string(protocol::kLogoutPath),
                  [this](const httplib::Request& p_oRequest, httplib::Response& p_oResponse) {
                      Logout(p_oRequest, p_oResponse);
                  });
    m_oHttp->Get(
        std::string(protocol::kHealthPath),
        [this](const httplib::Request&, httplib::Response& p_oResponse) { Health(p_oResponse); });
    m_oHttp->set_error_handler([this](const httplib::Request&, httplib::Response& p_oResponse) {
        if (!p_oResponse.body.empty()) {
            return;
        }
        if (p_oResponse.status == protocol::kTooLarge) {
            Refuse(p_oResponse, p_oResponse.status,
                   "the message is larger than the server takes (" +
                       std::to_string(m_oOptions.m_oLimits.m_lMaxBytes) + " bytes)");
            return;
        }
        Refuse(p_oResponse, p_oResponse.status,
               "the server does not answer this request (HTTP status " +
                   std::to_string(p_oResponse.status) + ")");
    });
    if (!m_oOptions.m_bVerbose) {
        return;
    }
    m_oHttp->set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        t_oRequestStart = std::chrono::steady_clock::now();
        return httplib::Server::HandlerResponse::Unhandled;
    });
    m_oHttp->set_logger(
        [](const httplib::Request& p_oRequest, const httplib::Response& p_oResponse) {
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - t_oRequestStart);
            std::fprintf(stderr, "%s %s %d %lld ms\n", p_oRequest.method.c_str(),
                         p_oRequest.path.c_str(), p_oResponse.status,
                         static_cast<long long>(elapsed.count()));
        });
}

int FacadeServer::Bind() {
    if (m_oOptions.m_lPort == 0) {
        const int port = m_oHttp->bind_to_any_port(m_oOptions.m_sHost);
        if (port < 0) {
            throw std::runtime_error("cannot listen on " + m_oOptions.m_sHost);
        }
        return port;
    }
    if (!m_oHttp->bind_to_port(m_oOptions.m_sHost, m_oOptions.m_lPort)) {
        throw std::runtime_error("cannot listen on " + m_oOptions.m_sHost + ":" +
                                 std::to_string(m_oOptions.m_lPort));
    }
    return m_oOptions.m_lPort;
}

bool FacadeServer::Serve() {
    return m_oHttp->listen_after_bind();
}

bool FacadeServer::IsRunning() const {
    return m_oHttp->is_running();
}

void FacadeServer::Stop() {
    m_oHttp->stop();
}

void FacadeServer::WithBackend(httplib::Response& p_oResponse,
                               const std::function<void(BackendPool::Lease&)>& p_fnWork) {
    std::optional<BackendPool::Lease> lease;
    try {
        lease.emplace(m_oBackends.Acquire());
        p_fnWork(*lease);
    } catch (const std::exception& error) {
        if (lease) {
            lease->KeepIfConnected();
        }
        Refuse(p_oResponse, protocol::kUnavailable,
               "the server cannot use its database: " + ErrorText(error));
    }
}

void FacadeServer::Login(const httplib::Request& p_oRequest, httplib::Response& p_oResponse) {
    std::string why;
    const std::optional<json> document = ParseDocument(p_oRequest.body, why);
    if (!document) {
        Refuse(p_oResponse, protocol::kBadRequest, why);
        return;
    }
    const std::optional<std::string> name = TextMember(*document, protocol::kName);
    const std::optional<std::string> password = TextMember(*document, protocol::kPassword);
    if (!name || !password) {
        Refuse(p_oResponse, protocol::kBadRequest, "a login needs a name and a password");
        return;
    }
    if (!UsesTls() && !IsLoopback(p_oRequest.remote_addr)) {
        Refuse(p_oResponse, protocol::kForbidden,
               "this server takes passwords only from its own host; connect over HTTPS");
        return;
    }
    if (const auto wait = m_oLimiter.RetryAfter(p_oRequest.remote_addr, *name)) {
        p_oResponse.set_header("Retry-After", std::to_string(wait->count()));
        Refuse(
            p_oResponse, protocol::kTooManyRequests,
            "too many failed logins; try again in " + std::to_string(wait->count()) + " seconds");
        return;
    }
    WithBackend(p_oResponse, [&](BackendPool::Lease& p_oLease) {
        facade::SessionStore sessions(p_oLease.Backend().Database());
        const std::optional<int32_t> owner = sessions.OwnerByName(*name);
        const std::optional<std::string> hash =
            owner ? sessions.PasswordHash(*owner) : std::nullopt;
        if (!hash) {
            SpendVerifyTime(*password);
        }
        if (!hash || !VerifyPassword(*hash, *password)) {
            m_oLimiter.RecordFailure(p_oRequest.remote_addr, *name);
            Refuse(p_oResponse, protocol::kUnauthorised, "wrong name or password");
            return;
        }
        m_oLimiter.RecordSuccess(*name);
        const std::string token = NewSessionToken();
        const double now = Now();
        sessions.PurgeExpired(now);
        sessions.StartSession(*owner, token, now,
                              static_cast<double>(m_oOptions.m_oSessionLifetime.count()));
        json answer = Document();
        answer[Member(protocol::kOwnerId)] = *owner;
        answer[Member(protocol::kName)] =
            facade::OwnerStore(p_oLease.Backend().Database()).OwnerName(*owner).value_or(*name);
        answer[Member(protocol::kTimeCode)] = token;
        Answer(p_oResponse, protocol::kOk, answer);
    });
}

void FacadeServer::Call(const httplib::Request& p_oRequest, httplib::Response& p_oResponse) {
    const facade::WireEncoding encoding =
        protocol::EncodingOfType(p_oRequest.get_header_value("Content-Type"));
    facade::WireRequest request;
    try {
        request = facade::DecodeRequest(p_oRequest.body, encoding, m_oOptions.m_oLimits);
    } catch (const facade::WireFormatError& error) {
        Refuse(p_oResponse, protocol::kBadRequest, error.what());
        return;
    }
    WithBackend(p_oResponse, [&](BackendPool::Lease& p_oLease) {
        const std::optional<facade::SessionRecord> session =
            facade::SessionStore(p_oLease.Backend().Database())
                .FindSession(request.m_sTimeCode, Now());
        if (!session) {
            Refuse(p_oResponse, protocol::kUnauthorised,
                   "the session has ended or expired; log in again");
            return;
        }
        p_oLease.Backend().AdoptSession(
            facade::OwnerSession{session->m_lOwnerId, request.m_sTimeCode});
        const facade::WireResponse response = Invoke(p_oLease, request);
        if (response.m_oError) {
            p_oLease.KeepIfConnected();
        }
        p_oResponse.set_content(EncodeAnswer(request, response, encoding), ContentTypeOf(encoding));
    });
}

void FacadeServer::Logout(const httplib::Request& p_oRequest, httplib::Response& p_oResponse) {
    std::string why;
    const std::optional<json> document = ParseDocument(p_oRequest.body, why);
    const std::optional<std::string> timeCode =
        document ? TextMember(*document, protocol::kTimeCode) : std::nullopt;
    if (!timeCode) {
        Refuse(p_oResponse, protocol::kBadRequest,
               document ? "a logout needs the session's time code" : why);
        return;
    }
    WithBackend(p_oResponse, [&](BackendPool::Lease& p_oLease) {
        facade::SessionStore(p_oLease.Backend().Database()).EndSession(*timeCode);
        Answer(p_oResponse, protocol::kOk, Document());
    });
}

void FacadeServer::Health(httplib::Response& p_oResponse) {
    WithBackend(p_oResponse, [&](BackendPool::Lease& p_oLease) {
        if (p_oLease.Backend().Database().QueryInt64("SELECT 1") != 1) {
            throw std::runtime_error("the database answered SELECT 1 wrongly");
        }
        p_oResponse.set_content("ok", "text/plain");
    });
}

}  // namespace qv::server
