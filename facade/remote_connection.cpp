#include "facade/remote_connection.h"

#include <httplib.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <utility>

#include "facade/facade_arguments.h"
#include "facade/protocol_calls.h"
#include "facade/remote_protocol.h"
#include "facade/sqlite_database.h"
#include "facade/wire_format.h"
#include "outside/automation_error.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

using Clock = std::chrono::steady_clock;
using Json = nlohmann::json;

constexpr size_t kErrorTextChars = 200;

struct ServerAddress {
    std::string m_sScheme;
    std::string m_sHost;
    std::string m_sPort;
};

[[noreturn]] void RaiseRemoteError(const std::string& p_sText) {
    throw AutomationError(kFacadeErrorNumber, kFacadeSource, p_sText);
}

[[noreturn]] void RaiseNotAnAddress(std::string_view p_sServer) {
    RaiseRemoteError("'" + std::string(p_sServer) +
                     "' is not a facade server address: write it as http://host:port or "
                     "https://host[:port]");
}

bool IsHostCharacter(char p_c) {
    return (p_c >= 'a' && p_c <= 'z') || (p_c >= '0' && p_c <= '9') || p_c == '.' || p_c == '-';
}

bool IsBracketedHostCharacter(char p_c) {
    return (p_c >= 'a' && p_c <= 'f') || (p_c >= '0' && p_c <= '9') || p_c == ':' || p_c == '.';
}

bool IsDigits(std::string_view p_sText) {
    return !p_sText.empty() &&
           std::all_of(p_sText.begin(), p_sText.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsPort(std::string_view p_sPort) {
    if (p_sPort.size() > 5 || !IsDigits(p_sPort)) {
        return false;
    }
    const int port = std::stoi(std::string(p_sPort));
    return port >= 1 && port <= 65535;
}

// Splits "host:port" or "[v6]:port" (already in lower case) into host and port, port "" when
// there is none; false when the text is neither.
bool SplitHostPort(std::string_view p_sAuthority, ServerAddress& p_oAddress) {
    std::string_view host = p_sAuthority;
    std::string_view port;
    if (p_sAuthority.starts_with('[')) {
        const size_t close = p_sAuthority.find(']');
        if (close == std::string_view::npos || close == 1) {
            return false;
        }
        host = p_sAuthority.substr(0, close + 1);
        const std::string_view rest = p_sAuthority.substr(close + 1);
        if (!rest.empty() && !rest.starts_with(':')) {
            return false;
        }
        port = rest.empty() ? rest : rest.substr(1);
        if (!std::all_of(host.begin() + 1, host.end() - 1, IsBracketedHostCharacter)) {
            return false;
        }
    } else {
        const size_t colon = p_sAuthority.find(':');
        if (colon != std::string_view::npos) {
            host = p_sAuthority.substr(0, colon);
            port = p_sAuthority.substr(colon + 1);
        }
        if (host.empty() || !std::all_of(host.begin(), host.end(), IsHostCharacter)) {
            return false;
        }
    }
    if (!port.empty() && !IsPort(port)) {
        return false;
    }
    if (port.empty() && p_sAuthority.ends_with(':')) {
        return false;
    }
    p_oAddress.m_sHost = std::string(host);
    p_oAddress.m_sPort = std::string(port);
    return true;
}

// The "RemoteServer" setting keeps scheme and host in capitals, and people type a bare
// "host:port" or paste an address with a path: all of them name one server.
ServerAddress ParseServer(std::string_view p_sServer) {
    const std::string text = ToLowerAscii(TrimSpaces(p_sServer));
    std::string_view rest = text;
    ServerAddress address{"http", "", ""};
    const size_t schemeEnd = rest.find("://");
    if (schemeEnd != std::string_view::npos) {
        address.m_sScheme = std::string(rest.substr(0, schemeEnd));
        rest.remove_prefix(schemeEnd + 3);
    }
    if (address.m_sScheme != "http" && address.m_sScheme != "https") {
        RaiseNotAnAddress(p_sServer);
    }
    const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    if (!SplitHostPort(authority, address)) {
        RaiseNotAnAddress(p_sServer);
    }
    if (address.m_sPort.empty()) {
        if (address.m_sScheme == "http") {
            RaiseNotAnAddress(p_sServer);
        }
        address.m_sPort = "443";
    }
    return address;
}

bool IsLoopback(const std::string& p_sHost) {
    if (p_sHost == "localhost" || p_sHost == "[::1]") {
        return true;
    }
    return p_sHost.starts_with("127.") && std::all_of(p_sHost.begin(), p_sHost.end(), [](char c) {
               return c == '.' || (c >= '0' && c <= '9');
           });
}

std::string HostOf(const std::string& p_sServer) {
    const std::string_view rest = std::string_view(p_sServer).substr(p_sServer.find("://") + 3);
    return std::string(rest.substr(0, rest.rfind(':')));
}

std::string SecondsText(std::chrono::milliseconds p_oDuration) {
    const auto count = p_oDuration.count();
    std::string text = std::to_string(count / 1000);
    if (count % 1000 != 0) {
        std::string fraction = std::to_string(1000 + count % 1000).substr(1);
        fraction.erase(fraction.find_last_not_of('0') + 1);
        text += "." + fraction;
    }
    return text + (count == 1000 ? " second" : " seconds");
}

// The first characters of a body, cut on a character boundary, for an answer that is not an
// error document.
std::string Beginning(std::string_view p_sBody) {
    size_t at = 0;
    for (size_t chars = 0; at < p_sBody.size() && chars < kErrorTextChars; ++chars) {
        at += std::max<size_t>(1, Utf8SequenceLength(p_sBody, at));
    }
    return ReplaceUnsafeBytes(p_sBody.substr(0, std::min(at, p_sBody.size())));
}

// The text of an error document, or the beginning of whatever else the server sent.
std::string ErrorTextOf(const std::string& p_sBody) {
    const Json document = Json::parse(p_sBody, nullptr, false);
    if (document.is_object()) {
        const auto error = document.find(remote_protocol::kError);
        if (error != document.end() && error->is_string()) {
            return error->get<std::string>();
        }
    }
    return Beginning(p_sBody);
}

std::string UnexpectedStatus(const httplib::Response& p_oResponse) {
    return "The server answered " + std::to_string(p_oResponse.status) + ": " +
           ErrorTextOf(p_oResponse.body);
}

std::string TransportWhat(httplib::Error p_eError) {
    switch (p_eError) {
        case httplib::Error::Connection:
            return "no connection could be made";
        case httplib::Error::Read:
            return "the connection broke while the answer was read";
        case httplib::Error::Write:
            return "the connection broke while the call was sent";
        case httplib::Error::SSLConnection:
            return "the secure connection could not be made";
        case httplib::Error::SSLLoadingCerts:
            return "the certificates to check the server with could not be loaded";
        case httplib::Error::SSLServerVerification:
            return "the server's certificate was not accepted";
        default:
            return httplib::to_string(p_eError);
    }
}

// Only what the embedded component would have written reaches the caller: a server cannot
// change the caller's by-value arguments.
void CopyBack(std::string_view p_sMethod, std::vector<Variant>& p_aAnswered,
              std::span<Variant> p_args) {
    const std::vector<facade_protocol::Argument>* arguments = FindCallArguments(p_sMethod);
    if (arguments == nullptr) {
        return;
    }
    for (const facade_protocol::Argument& argument : *arguments) {
        if (argument.ByRef && argument.Position < p_args.size()) {
            p_args[argument.Position] = std::move(p_aAnswered[argument.Position]);
        }
    }
}

Variant AnswerOf(std::string_view p_sMethod, const std::string& p_sServer,
                 const httplib::Response& p_oResponse, std::span<Variant> p_args) {
    switch (p_oResponse.status) {
        case remote_protocol::kOk:
            break;
        case remote_protocol::kUnauthorised:
            RaiseFacadeError(p_sMethod, "The facade server at " + p_sServer +
                                            " no longer knows this session; log in again");
        case remote_protocol::kBadRequest:
        case remote_protocol::kTooLarge:
            RaiseFacadeError(p_sMethod, ErrorTextOf(p_oResponse.body));
        default:
            RaiseFacadeError(p_sMethod, UnexpectedStatus(p_oResponse));
    }
    WireResponse response;
    try {
        response = DecodeResponse(
            p_oResponse.body,
            remote_protocol::EncodingOfType(p_oResponse.get_header_value("Content-Type")));
    } catch (const WireFormatError& error) {
        RaiseFacadeError(p_sMethod, "The facade server at " + p_sServer +
                                        " answered with something that is not a facade message (" +
                                        error.what() + ")");
    }
    if (response.m_oError) {
        throw *response.m_oError;
    }
    if (response.m_aArgs.size() != p_args.size()) {
        RaiseFacadeError(p_sMethod, "The facade server at " + p_sServer + " answered " +
                                        std::to_string(response.m_aArgs.size()) +
                                        " arguments for " + std::to_string(p_args.size()));
    }
    CopyBack(p_sMethod, response.m_aArgs, p_args);
    return std::move(response.m_vResult);
}

}  // namespace

// One client, so that calls reuse the connection (keep-alive). httplib's client is not meant to
// be shared between threads; the connection is used from the host thread only.
struct RemoteConnection::Client {
    explicit Client(const std::string& p_sServer, std::chrono::milliseconds p_oTimeout)
        : m_oHttp(p_sServer), m_oTimeout(p_oTimeout) {
        m_oHttp.set_connection_timeout(p_oTimeout);
        m_oHttp.set_read_timeout(p_oTimeout);
        m_oHttp.set_write_timeout(p_oTimeout);
        m_oHttp.set_keep_alive(true);
        // A call goes out as its headers and then its body, which must not wait for the
        // server's delayed acknowledgement of the headers.
        m_oHttp.set_tcp_nodelay(true);
    }

    httplib::Result Post(std::string_view p_sPath, const std::string& p_sBody,
                         std::string_view p_sType = remote_protocol::kContentType) {
        const Clock::time_point start = Clock::now();
        httplib::Result result = m_oHttp.Post(std::string(p_sPath), p_sBody, std::string(p_sType));
        m_oLastElapsed = Clock::now() - start;
        return result;
    }

    // What a failed exchange means for people. httplib reports a read that timed out like a
    // connection that broke; only the time it took tells them apart.
    std::string Failure(const std::string& p_sServer, httplib::Error p_eError) const {
        const bool timedOut =
            p_eError == httplib::Error::ConnectionTimeout ||
            ((p_eError == httplib::Error::Read || p_eError == httplib::Error::Write) &&
             m_oLastElapsed >= m_oTimeout * 9 / 10);
        if (timedOut) {
            return "The facade server at " + p_sServer + " did not answer within " +
                   SecondsText(m_oTimeout);
        }
        return "The facade server at " + p_sServer + " cannot be reached (" +
               TransportWhat(p_eError) + ")";
    }

    httplib::Client m_oHttp;
    std::chrono::milliseconds m_oTimeout;
    Clock::duration m_oLastElapsed{};
};

RemoteConnection::RemoteConnection(std::string p_sServer, RemoteOptions p_oOptions)
    : m_oOptions(p_oOptions) {
    const ServerAddress address = ParseServer(p_sServer);
    m_sServer = address.m_sScheme + "://" + address.m_sHost + ":" + address.m_sPort;
    m_oClient = std::make_unique<Client>(m_sServer, m_oOptions.m_oTimeout);
}

RemoteConnection::~RemoteConnection() = default;

void RemoteConnection::Login(const std::string& p_sName, const std::string& p_sPassword) {
    const std::string host = HostOf(m_sServer);
    if (m_sServer.starts_with("http://") && !IsLoopback(host)) {
        RaiseRemoteError("A password is not sent over plain HTTP to " + host +
                         ", which is not this computer: use an https:// address for the server.");
    }
    const Json request = {{remote_protocol::kFormat, kWireFormatVersion},
                          {remote_protocol::kName, p_sName},
                          {remote_protocol::kPassword, p_sPassword}};
    const httplib::Result result = m_oClient->Post(remote_protocol::kLoginPath, request.dump());
    if (!result) {
        RaiseRemoteError(m_oClient->Failure(m_sServer, result.error()));
    }
    switch (result->status) {
        case remote_protocol::kOk:
            break;
        case remote_protocol::kUnauthorised:
            RaiseRemoteError("The server refused the name or password.");
        case remote_protocol::kTooManyRequests: {
            const std::string wait = result->get_header_value("Retry-After");
            RaiseRemoteError("Too many failed logins: wait " +
                             (IsDigits(wait) ? wait + " seconds" : std::string("a while")) +
                             " before trying again.");
        }
        case remote_protocol::kForbidden:
            RaiseRemoteError(ErrorTextOf(result->body));
        default:
            RaiseRemoteError(UnexpectedStatus(*result));
    }
    const Json answer = Json::parse(result->body, nullptr, false);
    const bool complete = answer.is_object() &&
                          answer.value(remote_protocol::kOwnerId, Json()).is_number_integer() &&
                          answer.value(remote_protocol::kName, Json()).is_string() &&
                          answer.value(remote_protocol::kTimeCode, Json()).is_string();
    if (!complete || answer[remote_protocol::kTimeCode].get<std::string>().empty()) {
        RaiseRemoteError("The facade server at " + m_sServer +
                         " answered the login with something that is not a facade message.");
    }
    m_lOwnerId = answer[remote_protocol::kOwnerId].get<int32_t>();
    m_sOwnerName = answer[remote_protocol::kName].get<std::string>();
    m_sTimeCode = answer[remote_protocol::kTimeCode].get<std::string>();
}

void RemoteConnection::AdoptSession(const RemoteConnection& p_oOther) {
    m_lOwnerId = p_oOther.m_lOwnerId;
    m_sOwnerName = p_oOther.m_sOwnerName;
    m_sTimeCode = p_oOther.m_sTimeCode;
}

void RemoteConnection::Logout() {
    if (!LoggedIn()) {
        return;
    }
    const Json request = {{remote_protocol::kFormat, kWireFormatVersion},
                          {remote_protocol::kTimeCode, m_sTimeCode}};
    // The session is over for this viewer either way; one the server could not be told of
    // expires there.
    m_oClient->Post(remote_protocol::kLogoutPath, request.dump());
    m_lOwnerId = 0;
    m_sOwnerName.clear();
    m_sTimeCode.clear();
}

Variant RemoteConnection::Call(std::string_view p_sProgId, std::string_view p_sMethod,
                               std::span<Variant> p_args) {
    if (!LoggedIn()) {
        RaiseFacadeError(p_sMethod,
                         "Not logged in to the facade server at " + m_sServer + "; log in first");
    }
    const WireRequest request{std::string(p_sProgId), std::string(p_sMethod), m_sTimeCode,
                              std::vector<Variant>(p_args.begin(), p_args.end())};
    std::string message;
    try {
        message = EncodeRequest(request, WireEncoding::MessagePack);
    } catch (const WireFormatError& error) {
        RaiseFacadeError(
            p_sMethod,
            std::string("An argument cannot be sent to the facade server (") + error.what() + ")");
    }
    const httplib::Result result =
        m_oClient->Post(remote_protocol::kCallPath, message, remote_protocol::kMessagePackType);
    if (!result) {
        RaiseFacadeError(p_sMethod, m_oClient->Failure(m_sServer, result.error()));
    }
    if (result->status == remote_protocol::kUnauthorised) {
        m_sTimeCode.clear();
    }
    return AnswerOf(p_sMethod, m_sServer, *result, p_args);
}

}  // namespace qv::facade
