// What the facade components share: the open market database, what is read from it once,
// and the session, the login the facade acts for (owner_authority.h).
//
// A caller creates a component object for every call and releases it afterwards, so a component
// holds nothing but a shared pointer to this backend; the database stays open between calls and
// the session lasts until the next login. Everything runs on the host's one thread, and so does
// the connection.
//
//     auto backend = std::make_shared<FacadeBackend>(
//         std::make_shared<MarketStore>(path, MarketStore::Access::ReadWrite));
//     std::string timeCode = backend->Login(7, "Ada");   // the facade now acts for owner 7
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "facade/owner_authority.h"

namespace qv {
class Recordset;
}

namespace qv::facade {

class MarketStore;
class SqlDatabase;

class FacadeBackend {
  public:
    explicit FacadeBackend(std::shared_ptr<MarketStore> p_oStore);
    ~FacadeBackend();
    FacadeBackend(const FacadeBackend&) = delete;
    FacadeBackend& operator=(const FacadeBackend&) = delete;

    MarketStore& Store() { return *m_oStore; }
    SqlDatabase& Database();

    // The field catalogue as the "ParameterList" recordset: every field the facade delivers. Each
    // caller gets a copy of its own, since callers filter and sort it.
    std::shared_ptr<Recordset> FieldCatalogue();

    // Records a login of the owner (created, or renamed when a name is given), hands out its time
    // code and makes it the session; an earlier time code of the owner no longer counts as the
    // current login. An owner below 1, or a name that belongs to another owner, is refused and
    // changes nothing. On a read-only database nothing can be recorded: the login still makes a
    // session, held in this process only, so that the market can be browsed; it stays current
    // until another process records a login of the owner.
    std::string Login(int32_t p_lOwnerId, const std::string& p_sName);
    // Acts for a session found elsewhere (the facade server finds each request's session by its
    // time code); records nothing. Whether it is stale is judged by the recorded logins.
    void AdoptSession(OwnerSession p_oSession);

    // The owner p_sMethod acts for, authorised against the session: OwnerAuthority::Authorise.
    int32_t AuthoriseOwner(std::string_view p_sMethod, std::optional<int32_t> p_lNamed,
                           OwnerAccess p_eAccess);
    // The same for a list call that reports a newer login by its flag rather than failing: a
    // stale session is not refused here but answered by HasNewerLogin.
    int32_t ListOwner(std::string_view p_sMethod, int32_t p_lNamed);
    // True when the session's owner has logged in again since the session's login, or since the
    // login that handed out the list call's p_sTimeCode. An empty time code (a caller that does
    // not track logins) stands for the session's.
    bool HasNewerLogin(const std::string& p_sTimeCode);

  private:
    std::string LoginUnrecorded(int32_t p_lOwnerId, const std::string& p_sName);

    std::shared_ptr<MarketStore> m_oStore;
    std::shared_ptr<Recordset> m_rCatalogue;
    OwnerAuthority m_oAuthority;
    // On a read-only database: the time code of the session owner's recorded login when the
    // session began, if it had one.
    std::optional<std::string> m_sRecordFound;
};

}  // namespace qv::facade
