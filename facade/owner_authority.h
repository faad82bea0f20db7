// Whose data a facade call may touch, decided in one place for the embedded facade and the facade
// server alike.
//
// The facade acts for the owner of one session: the login that handed out its time code. A call
// on owned data (layouts, watch lists, portfolios, a list scoped to one of them, the owner's
// layout in force or row limit) names an owner, and is served only when that owner is the
// session's:
// - no session: refused ("GetLayout: no owner is logged in");
// - another owner: refused ("AddWatchListItems: owner 503 is not the owner logged in (501)");
// - a call that may leave its owner out (the viewer's search dialog and watch-list command send
//   none) acts for the session's owner, never for anyone else.
// Owner 0, the system, may be named by any caller for reading, with or without a session: what it
// reads is the system's (its layouts, the market lists, the field catalogue), never an owner's. It
// changes nothing.
//
// A session stays current until its owner logs in again elsewhere (another process, another host
// of the server). Then the list calls that carry a time code report the login conflict by their
// flag, and every other call on owned data is refused, so that a stale session neither reads nor
// changes the owner's data.
//
// Where sessions and logins are kept is not decided here: the embedded facade keeps its one
// session in the FacadeBackend and the logins in the market database; the server finds the
// session of each request by its time code.
//
//     OwnerAuthority authority(OwnerSession{501, timeCode});
//     const int32_t owner = authority.Authorise("GetLayout", 501, OwnerAccess::Read, logins);
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace qv::facade {

constexpr int32_t kSystemOwnerId = 0;

enum class OwnerAccess { Read, Write };

struct OwnerSession {
    int32_t m_lOwnerId = 0;
    std::string m_sTimeCode;
};

// Where logins are recorded.
class LoginRecords {
  public:
    virtual ~LoginRecords() = default;
    // False only when the owner's last login handed out another time code.
    virtual bool IsCurrentLogin(int32_t p_lOwnerId, const std::string& p_sTimeCode) = 0;
};

class OwnerAuthority {
  public:
    OwnerAuthority() = default;
    explicit OwnerAuthority(OwnerSession p_oSession) : m_oSession(std::move(p_oSession)) {}

    const std::optional<OwnerSession>& Session() const { return m_oSession; }

    // The owner a call acts for: p_lNamed, or the session's owner when the call names none.
    // Refuses, with an automation error naming p_sMethod, what the rules above refuse, except a
    // stale session.
    int32_t OwnerFor(std::string_view p_sMethod, std::optional<int32_t> p_lNamed,
                     OwnerAccess p_eAccess) const;
    // True when the session's owner has logged in again since the session's login.
    bool IsStale(LoginRecords& p_oLogins) const;
    // OwnerFor, refusing also a call on owned data from a stale session.
    int32_t Authorise(std::string_view p_sMethod, std::optional<int32_t> p_lNamed,
                      OwnerAccess p_eAccess, LoginRecords& p_oLogins) const;

  private:
    std::optional<OwnerSession> m_oSession;
};

// The name an owner gets when it first appears without one: "owner <id>".
std::string DefaultOwnerName(int32_t p_lOwnerId);

// A login may rename its own owner, but never take a name another owner holds (p_lHolder: the
// owner holding p_sName, compared without regard to case), nor the default name of another
// owner, which would keep that owner from ever being created. Refuses, naming p_sMethod.
void CheckLoginName(std::string_view p_sMethod, int32_t p_lOwnerId, const std::string& p_sName,
                    std::optional<int32_t> p_lHolder);

}  // namespace qv::facade
