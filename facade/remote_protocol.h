// How the viewer's remote proxies and qorvant-facade-server talk over HTTP: the paths, the status
// codes and the small JSON documents of a login. A facade call itself travels in the messages of
// wire_format.h.
//
//   POST /v1/login   {"format": "qv-facade/1", "name": "ada", "password": "..."}
//        200 {"format": ..., "owner_id": 7, "name": "ada", "time_code": "<session token>"}
//        401 wrong name or password, 429 too many failed logins from the address (with
//        Retry-After), 403 a password over plain HTTP from an address that is not loopback.
//   POST /v1/call    a WireRequest whose time code is the session token, in MessagePack when
//        sent as application/msgpack (as the proxies send it), else in JSON
//        200 a WireResponse in the request's encoding (a facade error travels inside it, as the
//        embedded facade raises it)
//        400 a message that does not decode, 413 one over the size limit, 401 a time code that
//        no session has or whose session expired; the body is then an error document.
//   POST /v1/logout  {"format": ..., "time_code": "..."}   200, ends the session
//   GET  /v1/health  200 "ok" while the server reaches its database, else 503
//
// An error document is {"format": ..., "error": "<text for people>"}. A session whose owner has
// logged in again since is still found: its list calls report the login conflict by their flag
// and its other calls on owned data are refused, as in the embedded facade.
#pragma once

#include <string_view>

#include "facade/wire_format.h"

namespace qv::facade::remote_protocol {

inline constexpr std::string_view kLoginPath = "/v1/login";
inline constexpr std::string_view kCallPath = "/v1/call";
inline constexpr std::string_view kLogoutPath = "/v1/logout";
inline constexpr std::string_view kHealthPath = "/v1/health";
inline constexpr std::string_view kContentType = "application/json";
inline constexpr std::string_view kMessagePackType = "application/msgpack";

// The encoding of a call's message by its Content-Type: MessagePack when so named, else JSON.
inline WireEncoding EncodingOfType(std::string_view p_sContentType) {
    return p_sContentType.starts_with(kMessagePackType) ? WireEncoding::MessagePack
                                                        : WireEncoding::Json;
}

inline constexpr int kOk = 200;
inline constexpr int kBadRequest = 400;
inline constexpr int kUnauthorised = 401;
inline constexpr int kForbidden = 403;
inline constexpr int kTooLarge = 413;
inline constexpr int kTooManyRequests = 429;
inline constexpr int kUnavailable = 503;

// JSON member names of the login, logout and error documents.
inline constexpr std::string_view kFormat = "format";
inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kPassword = "password";
inline constexpr std::string_view kOwnerId = "owner_id";
inline constexpr std::string_view kTimeCode = "time_code";
inline constexpr std::string_view kError = "error";

}  // namespace qv::facade::remote_protocol
