#include "facade/screen_store.h"

#include <algorithm>

#include "facade/owner_authority.h"
#include "facade/owner_store.h"
#include "facade/sqlite_database.h"

namespace qv::facade {

namespace {

constexpr const char* kScreenColumns =
    "SELECT screen_id, owner_id, name, result_type, criteria, modified FROM screens ";

ScreenRecord ReadScreen(const SqlStatement& p_oRow) {
    return ScreenRecord{static_cast<int32_t>(p_oRow.ColumnInt64(0)),
                        static_cast<int32_t>(p_oRow.ColumnInt64(1)),
                        p_oRow.ColumnText(2),
                        static_cast<int32_t>(p_oRow.ColumnInt64(3)),
                        p_oRow.ColumnText(4),
                        p_oRow.ColumnDouble(5)};
}

void WriteScreen(SqlDatabase& p_oDatabase, const ScreenRecord& p_oScreen) {
    SqlStatement write = p_oDatabase.Prepare(
        "INSERT INTO screens (screen_id, owner_id, name, result_type, criteria, modified) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6) "
        "ON CONFLICT (screen_id) DO UPDATE SET name = excluded.name, "
        "result_type = excluded.result_type, criteria = excluded.criteria, "
        "modified = excluded.modified");
    write.BindInt64(1, p_oScreen.m_lScreenId);
    write.BindInt64(2, p_oScreen.m_lOwnerId);
    write.BindText(3, p_oScreen.m_sName);
    write.BindInt64(4, p_oScreen.m_lResultType);
    write.BindText(5, p_oScreen.m_sCriteria);
    write.BindDouble(6, p_oScreen.m_dModified);
    write.Run();
}

}  // namespace

std::vector<ScreenRecord> ScreenStore::Screens(int32_t p_lOwnerId) {
    // lower() folds only ASCII letters on both engines and leaves the rest in byte order, as
    // SQLite's NOCASE does; PostgreSQL's nocase collation would sort accented names linguistically.
    SqlStatement query = m_oDatabase.Prepare(std::string(kScreenColumns) +
                                             "WHERE owner_id IN (?1, 0) "
                                             "ORDER BY owner_id = 0, lower(name), screen_id");
    query.BindInt64(1, p_lOwnerId);
    std::vector<ScreenRecord> screens;
    while (query.Step()) {
        screens.push_back(ReadScreen(query));
    }
    return screens;
}

std::optional<ScreenRecord> ScreenStore::Find(int32_t p_lScreenId) {
    SqlStatement query = m_oDatabase.Prepare(std::string(kScreenColumns) + "WHERE screen_id = ?1");
    query.BindInt64(1, p_lScreenId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return ReadScreen(query);
}

bool ScreenStore::NameTaken(int32_t p_lOwnerId, const std::string& p_sName, int32_t p_lExceptId) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT 1 FROM screens WHERE owner_id = ?1 AND name = ?2 COLLATE NOCASE AND "
        "screen_id <> ?3");
    query.BindInt64(1, p_lOwnerId);
    query.BindText(2, p_sName);
    query.BindInt64(3, p_lExceptId);
    return query.Step();
}

int32_t ScreenStore::NextOwnerScreenId() {
    const int64_t next = m_oDatabase.QueryInt64("SELECT max(screen_id) + 1 FROM screens", 1);
    return static_cast<int32_t>(std::max<int64_t>(next, kFirstOwnerScreenId));
}

std::optional<int32_t> ScreenStore::SaveScreen(int32_t p_lOwnerId, const ScreenRecord& p_oScreen) {
    if (p_lOwnerId <= kSystemOwnerId) {
        return std::nullopt;
    }
    SqlTransaction work(m_oDatabase);
    ScreenRecord screen = p_oScreen;
    screen.m_lOwnerId = p_lOwnerId;
    const std::optional<ScreenRecord> existing = Find(p_oScreen.m_lScreenId);
    if (!existing || existing->m_lOwnerId != p_lOwnerId) {
        screen.m_lScreenId = NextOwnerScreenId();
    }
    if (NameTaken(p_lOwnerId, screen.m_sName, screen.m_lScreenId)) {
        return std::nullopt;
    }
    OwnerStore(m_oDatabase).EnsureOwner(p_lOwnerId);
    WriteScreen(m_oDatabase, screen);
    work.Commit();
    return screen.m_lScreenId;
}

bool ScreenStore::DeleteScreen(int32_t p_lOwnerId, int32_t p_lScreenId) {
    if (p_lOwnerId <= kSystemOwnerId) {
        return false;
    }
    SqlTransaction work(m_oDatabase);
    SqlStatement remove =
        m_oDatabase.Prepare("DELETE FROM screens WHERE screen_id = ?1 AND owner_id = ?2");
    remove.BindInt64(1, p_lScreenId);
    remove.BindInt64(2, p_lOwnerId);
    remove.Run();
    const bool deleted = m_oDatabase.ChangedRows() > 0;
    work.Commit();
    return deleted;
}

}  // namespace qv::facade
