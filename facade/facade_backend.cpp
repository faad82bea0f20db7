#include "facade/facade_backend.h"

#include <cstdio>
#include <random>
#include <utility>

#include "facade/facade_arguments.h"
#include "facade/market_queries.h"
#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/recordset_conversion.h"
#include "facade/sqlite_database.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"

namespace qv::facade {

namespace {

// 64 random bits in hexadecimal: a code nobody can guess from an earlier one.
std::string NewTimeCode() {
    std::random_device source;
    const uint64_t code = (static_cast<uint64_t>(source()) << 32) ^ source();
    char text[17];
    std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(code));
    return text;
}

// The login records a session is judged by. On a read-only database the session's own login was
// not recorded: it stays current while the owner's record is the one it found.
class SessionLogins final : public LoginRecords {
  public:
    SessionLogins(MarketStore& p_oStore, const std::optional<std::string>& p_sRecordFound)
        : m_oRecords(p_oStore.Database()),
          m_bUnrecorded(p_oStore.IsReadOnly()),
          m_sRecordFound(p_sRecordFound) {}

    bool IsCurrentLogin(int32_t p_lOwnerId, const std::string& p_sTimeCode) override {
        if (!m_bUnrecorded) {
            return m_oRecords.IsCurrentLogin(p_lOwnerId, p_sTimeCode);
        }
        return m_oRecords.RecordedTimeCode(p_lOwnerId) == m_sRecordFound;
    }

  private:
    OwnerStore m_oRecords;
    bool m_bUnrecorded;
    const std::optional<std::string>& m_sRecordFound;
};

}  // namespace

FacadeBackend::FacadeBackend(std::shared_ptr<MarketStore> p_oStore)
    : m_oStore(std::move(p_oStore)) {}

FacadeBackend::~FacadeBackend() = default;

SqlDatabase& FacadeBackend::Database() {
    return m_oStore->Database();
}

std::shared_ptr<Recordset> FacadeBackend::FieldCatalogue() {
    if (!m_rCatalogue) {
        m_rCatalogue = RecordsetFromTable(MarketQueries(Database()).FieldCatalogue());
    }
    return m_rCatalogue->Copy();
}

std::string FacadeBackend::Login(int32_t p_lOwnerId, const std::string& p_sName) {
    constexpr std::string_view kMethod = "Login";
    if (p_lOwnerId <= kSystemOwnerId) {
        RaiseFacadeError(kMethod, "owner " + std::to_string(p_lOwnerId) + " cannot log in");
    }
    if (m_oStore->IsReadOnly()) {
        return LoginUnrecorded(p_lOwnerId, p_sName);
    }
    SqlTransaction work(Database());
    OwnerStore owners(Database());
    if (p_sName.empty()) {
        owners.EnsureOwner(p_lOwnerId);
        // Only a database written before names were guarded can hold an owner's default name
        // under another owner; the owner can still log in by giving a name of its own.
        if (!owners.OwnerName(p_lOwnerId)) {
            RaiseFacadeError(kMethod, "the name \"" + DefaultOwnerName(p_lOwnerId) +
                                          "\" belongs to another owner; log in with a name");
        }
    } else {
        CheckLoginName(kMethod, p_lOwnerId, p_sName, owners.OtherHolderOfName(p_sName, p_lOwnerId));
        owners.PutOwner(p_lOwnerId, p_sName, owners.DefaultMaxRows(p_lOwnerId));
    }
    const std::string timeCode = NewTimeCode();
    owners.RecordLogin(p_lOwnerId, timeCode, PlatformContext::Current().Time().Now());
    work.Commit();
    m_oAuthority = OwnerAuthority(OwnerSession{p_lOwnerId, timeCode});
    return timeCode;
}

std::string FacadeBackend::LoginUnrecorded(int32_t p_lOwnerId, const std::string& p_sName) {
    OwnerStore owners(Database());
    if (!p_sName.empty()) {
        CheckLoginName("Login", p_lOwnerId, p_sName, owners.OtherHolderOfName(p_sName, p_lOwnerId));
    }
    const std::string timeCode = NewTimeCode();
    m_sRecordFound = owners.RecordedTimeCode(p_lOwnerId);
    m_oAuthority = OwnerAuthority(OwnerSession{p_lOwnerId, timeCode});
    return timeCode;
}

void FacadeBackend::AdoptSession(OwnerSession p_oSession) {
    m_sRecordFound.reset();
    m_oAuthority = OwnerAuthority(std::move(p_oSession));
}

int32_t FacadeBackend::AuthoriseOwner(std::string_view p_sMethod, std::optional<int32_t> p_lNamed,
                                      OwnerAccess p_eAccess) {
    SessionLogins logins(*m_oStore, m_sRecordFound);
    return m_oAuthority.Authorise(p_sMethod, p_lNamed, p_eAccess, logins);
}

int32_t FacadeBackend::ListOwner(std::string_view p_sMethod, int32_t p_lNamed) {
    return m_oAuthority.OwnerFor(p_sMethod, p_lNamed, OwnerAccess::Read);
}

bool FacadeBackend::HasNewerLogin(const std::string& p_sTimeCode) {
    const std::optional<OwnerSession>& session = m_oAuthority.Session();
    if (!session) {
        return false;
    }
    // Only one login of an owner is current, so a time code other than the session's is not.
    if (!p_sTimeCode.empty() && p_sTimeCode != session->m_sTimeCode) {
        return true;
    }
    SessionLogins logins(*m_oStore, m_sRecordFound);
    return m_oAuthority.IsStale(logins);
}

}  // namespace qv::facade
