#include "facade/owner_store.h"

#include "facade/sqlite_database.h"

namespace qv::facade {

void OwnerStore::PutOwner(int32_t p_lOwnerId, const std::string& p_sName,
                          int32_t p_lDefaultMaxRows) {
    SqliteStatement oPut = m_oDatabase.Prepare(
        "INSERT INTO owners (owner_id, name, default_max_rows) VALUES (?1, ?2, ?3) "
        "ON CONFLICT (owner_id) DO UPDATE SET name = excluded.name, "
        "default_max_rows = excluded.default_max_rows");
    oPut.BindInt64(1, p_lOwnerId);
    oPut.BindText(2, p_sName);
    oPut.BindInt64(3, p_lDefaultMaxRows);
    oPut.Run();
}

void OwnerStore::EnsureOwner(int32_t p_lOwnerId) {
    SqliteStatement oPut =
        m_oDatabase.Prepare("INSERT OR IGNORE INTO owners (owner_id, name) VALUES (?1, ?2)");
    oPut.BindInt64(1, p_lOwnerId);
    oPut.BindText(2, DefaultOwnerName(p_lOwnerId));
    oPut.Run();
}

std::optional<std::string> OwnerStore::OwnerName(int32_t p_lOwnerId) {
    SqliteStatement oQuery = m_oDatabase.Prepare("SELECT name FROM owners WHERE owner_id = ?1");
    oQuery.BindInt64(1, p_lOwnerId);
    if (!oQuery.Step()) {
        return std::nullopt;
    }
    return oQuery.ColumnText(0);
}

std::optional<int32_t> OwnerStore::OtherHolderOfName(const std::string& p_sName,
                                                     int32_t p_lOwnerId) {
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT owner_id FROM owners WHERE name = ?1 COLLATE NOCASE AND owner_id <> ?2 LIMIT 1");
    oQuery.BindText(1, p_sName);
    oQuery.BindInt64(2, p_lOwnerId);
    if (!oQuery.Step()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(oQuery.ColumnInt64(0));
}

int32_t OwnerStore::DefaultMaxRows(int32_t p_lOwnerId) {
    SqliteStatement oQuery =
        m_oDatabase.Prepare("SELECT default_max_rows FROM owners WHERE owner_id = ?1");
    oQuery.BindInt64(1, p_lOwnerId);
    return oQuery.Step() ? static_cast<int32_t>(oQuery.ColumnInt64(0)) : kDefaultMaxRows;
}

void OwnerStore::RecordLogin(int32_t p_lOwnerId, const std::string& p_sTimeCode,
                             double p_dLoginTime) {
    SqliteStatement oPut = m_oDatabase.Prepare(
        "INSERT INTO logins (owner_id, time_code, login_time) VALUES (?1, ?2, ?3) "
        "ON CONFLICT (owner_id) DO UPDATE SET time_code = excluded.time_code, "
        "login_time = excluded.login_time");
    oPut.BindInt64(1, p_lOwnerId);
    oPut.BindText(2, p_sTimeCode);
    oPut.BindDouble(3, p_dLoginTime);
    oPut.Run();
}

std::optional<std::string> OwnerStore::RecordedTimeCode(int32_t p_lOwnerId) {
    SqliteStatement oQuery =
        m_oDatabase.Prepare("SELECT time_code FROM logins WHERE owner_id = ?1");
    oQuery.BindInt64(1, p_lOwnerId);
    if (!oQuery.Step()) {
        return std::nullopt;
    }
    return oQuery.ColumnText(0);
}

bool OwnerStore::IsCurrentLogin(int32_t p_lOwnerId, const std::string& p_sTimeCode) {
    if (p_sTimeCode.empty()) {
        return true;
    }
    const std::optional<std::string> sRecorded = RecordedTimeCode(p_lOwnerId);
    return !sRecorded || *sRecorded == p_sTimeCode;
}

}  // namespace qv::facade
