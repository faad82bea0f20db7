#include "facade/session_store.h"

#include "facade/owner_store.h"
#include "facade/sql_database.h"

namespace qv::facade {

namespace {

// Seconds since 1970 as the day serial the logins table keeps (1970-01-01 is day 25569).
double LoginDaySerial(double p_dSeconds) {
    constexpr double kEpochDay = 25569;
    constexpr double kSecondsPerDay = 86400;
    return kEpochDay + p_dSeconds / kSecondsPerDay;
}

}  // namespace

void SessionStore::StartSession(int32_t p_lOwnerId, const std::string& p_sTimeCode, double p_dNow,
                                double p_dLifetime) {
    SqlTransaction work(m_oDatabase);
    SqlStatement put = m_oDatabase.Prepare(
        "INSERT INTO sessions (time_code, owner_id, started, expires) VALUES (?1, ?2, ?3, ?4)");
    put.BindText(1, p_sTimeCode);
    put.BindInt64(2, p_lOwnerId);
    put.BindDouble(3, p_dNow);
    put.BindDouble(4, p_dNow + p_dLifetime);
    put.Run();
    OwnerStore(m_oDatabase).RecordLogin(p_lOwnerId, p_sTimeCode, LoginDaySerial(p_dNow));
    work.Commit();
}

std::optional<SessionRecord> SessionStore::FindSession(const std::string& p_sTimeCode,
                                                       double p_dNow) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT owner_id, expires FROM sessions WHERE time_code = ?1 AND expires > ?2");
    query.BindText(1, p_sTimeCode);
    query.BindDouble(2, p_dNow);
    if (!query.Step()) {
        return std::nullopt;
    }
    return SessionRecord{static_cast<int32_t>(query.ColumnInt64(0)), query.ColumnDouble(1)};
}

void SessionStore::EndSession(const std::string& p_sTimeCode) {
    SqlStatement remove = m_oDatabase.Prepare("DELETE FROM sessions WHERE time_code = ?1");
    remove.BindText(1, p_sTimeCode);
    remove.Run();
}

int64_t SessionStore::PurgeExpired(double p_dNow) {
    SqlStatement remove = m_oDatabase.Prepare("DELETE FROM sessions WHERE expires <= ?1");
    remove.BindDouble(1, p_dNow);
    remove.Run();
    return m_oDatabase.ChangedRows();
}

std::optional<std::string> SessionStore::PasswordHash(int32_t p_lOwnerId) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT password_hash FROM owners WHERE owner_id = ?1 AND password_hash IS NOT NULL");
    query.BindInt64(1, p_lOwnerId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return query.ColumnText(0);
}

bool SessionStore::SetPasswordHash(int32_t p_lOwnerId, const std::string& p_sHash) {
    SqlStatement put =
        m_oDatabase.Prepare("UPDATE owners SET password_hash = ?1 WHERE owner_id = ?2");
    put.BindText(1, p_sHash);
    put.BindInt64(2, p_lOwnerId);
    put.Run();
    return m_oDatabase.ChangedRows() > 0;
}

std::optional<int32_t> SessionStore::OwnerByName(const std::string& p_sName) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT owner_id FROM owners WHERE name = ?1 COLLATE NOCASE ORDER BY owner_id LIMIT 1");
    query.BindText(1, p_sName);
    if (!query.Step()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(query.ColumnInt64(0));
}

int32_t SessionStore::NextOwnerId() {
    return static_cast<int32_t>(m_oDatabase.QueryInt64("SELECT max(owner_id) FROM owners")) + 1;
}

}  // namespace qv::facade
