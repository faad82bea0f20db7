#include "facade/owner_store.h"

#include "facade/sqlite_database.h"

namespace qv::facade {

void OwnerStore::PutOwner(int32_t p_lOwnerId, const std::string& p_sName,
                          int32_t p_lDefaultMaxRows) {
    SqlStatement put = m_oDatabase.Prepare(
        "INSERT INTO owners (owner_id, name, default_max_rows) VALUES (?1, ?2, ?3) "
        "ON CONFLICT (owner_id) DO UPDATE SET name = excluded.name, "
        "default_max_rows = excluded.default_max_rows");
    put.BindInt64(1, p_lOwnerId);
    put.BindText(2, p_sName);
    put.BindInt64(3, p_lDefaultMaxRows);
    put.Run();
}

void OwnerStore::EnsureOwner(int32_t p_lOwnerId) {
    SqlStatement put = m_oDatabase.Prepare(
        "INSERT INTO owners (owner_id, name) VALUES (?1, ?2) ON CONFLICT DO NOTHING");
    put.BindInt64(1, p_lOwnerId);
    put.BindText(2, DefaultOwnerName(p_lOwnerId));
    put.Run();
}

std::optional<std::string> OwnerStore::OwnerName(int32_t p_lOwnerId) {
    SqlStatement query = m_oDatabase.Prepare("SELECT name FROM owners WHERE owner_id = ?1");
    query.BindInt64(1, p_lOwnerId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return query.ColumnText(0);
}

std::optional<int32_t> OwnerStore::OtherHolderOfName(const std::string& p_sName,
                                                     int32_t p_lOwnerId) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT owner_id FROM owners WHERE name = ?1 COLLATE NOCASE AND owner_id <> ?2 LIMIT 1");
    query.BindText(1, p_sName);
    query.BindInt64(2, p_lOwnerId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(query.ColumnInt64(0));
}

int32_t OwnerStore::DefaultMaxRows(int32_t p_lOwnerId) {
    SqlStatement query =
        m_oDatabase.Prepare("SELECT default_max_rows FROM owners WHERE owner_id = ?1");
    query.BindInt64(1, p_lOwnerId);
    return query.Step() ? static_cast<int32_t>(query.ColumnInt64(0)) : kDefaultMaxRows;
}

void OwnerStore::RecordLogin(int32_t p_lOwnerId, const std::string& p_sTimeCode,
                             double p_dLoginTime) {
    SqlStatement put = m_oDatabase.Prepare(
        "INSERT INTO logins (owner_id, time_code, login_time) VALUES (?1, ?2, ?3) "
        "ON CONFLICT (owner_id) DO UPDATE SET time_code = excluded.time_code, "
        "login_time = excluded.login_time");
    put.BindInt64(1, p_lOwnerId);
    put.BindText(2, p_sTimeCode);
    put.BindDouble(3, p_dLoginTime);
    put.Run();
}

std::optional<std::string> OwnerStore::RecordedTimeCode(int32_t p_lOwnerId) {
    SqlStatement query = m_oDatabase.Prepare("SELECT time_code FROM logins WHERE owner_id = ?1");
    query.BindInt64(1, p_lOwnerId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return query.ColumnText(0);
}

bool OwnerStore::IsCurrentLogin(int32_t p_lOwnerId, const std::string& p_sTimeCode) {
    if (p_sTimeCode.empty()) {
        return true;
    }
    const std::optional<std::string> recorded = RecordedTimeCode(p_lOwnerId);
    return !recorded || *recorded == p_sTimeCode;
}

}  // namespace qv::facade
