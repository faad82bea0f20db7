// The facade server's accounts and sessions, kept in the market database so that every server
// process sharing it finds a session another process started.
//
// A session is found by its time code, the token the login handed out. Starting one also records
// it as the owner's current login (owner_store.h): an older session of the owner is then still
// found, but stale, so its list calls report the login conflict and its other calls on owned data
// are refused. An expired session is not found. Times are seconds since 1970-01-01 UTC.
//
//     SessionStore sessions(database);
//     sessions.StartSession(owner, token, now, 12 * 3600.0);
//     if (std::optional<SessionRecord> found = sessions.FindSession(token, now)) { ... }
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv::facade {

class SqlDatabase;

struct SessionRecord {
    int32_t m_lOwnerId = 0;
    double m_dExpires = 0;
};

class SessionStore {
  public:
    explicit SessionStore(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    // In one transaction: the session, and the owner's current login.
    void StartSession(int32_t p_lOwnerId, const std::string& p_sTimeCode, double p_dNow,
                      double p_dLifetime);
    std::optional<SessionRecord> FindSession(const std::string& p_sTimeCode, double p_dNow);
    void EndSession(const std::string& p_sTimeCode);
    // Removes the sessions expired at p_dNow; returns how many.
    int64_t PurgeExpired(double p_dNow);

    // None when the owner is unknown or has no password.
    std::optional<std::string> PasswordHash(int32_t p_lOwnerId);
    // False when there is no such owner.
    bool SetPasswordHash(int32_t p_lOwnerId, const std::string& p_sHash);
    // The owner named p_sName, compared without regard to case.
    std::optional<int32_t> OwnerByName(const std::string& p_sName);
    // The id an account created without one gets: one above the highest in use.
    int32_t NextOwnerId();

  private:
    SqlDatabase& m_oDatabase;
};

}  // namespace qv::facade
