#include "facade/watch_list_store.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include "facade/facade_arguments.h"
#include "facade/owner_store.h"
#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

std::string Upper(std::string_view p_sText) {
    std::string upper;
    for (const char cChar : p_sText) {
        if (!IsWhitespace(cChar)) {
            upper.push_back(ToUpperAscii(cChar));
        }
    }
    return upper;
}

}  // namespace

std::vector<WatchListEntry> WatchListStore::WatchLists(int32_t p_lOwnerId, int32_t p_lListType) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT watch_list_id, parent_id, is_folder, list_type, name, comments FROM watch_lists "
        "WHERE owner_id = ?1 AND list_type = ?2 ORDER BY is_folder DESC, name, watch_list_id");
    query.BindInt64(1, p_lOwnerId);
    query.BindInt64(2, p_lListType);
    std::vector<WatchListEntry> entries;
    while (query.Step()) {
        entries.push_back({static_cast<int32_t>(query.ColumnInt64(0)),
                           static_cast<int32_t>(query.ColumnInt64(1)), query.ColumnInt64(2) != 0,
                           static_cast<int32_t>(query.ColumnInt64(3)), query.ColumnText(4),
                           query.ColumnText(5)});
    }
    return entries;
}

std::optional<WatchListEntry> WatchListStore::Find(int32_t p_lWatchListId) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT watch_list_id, parent_id, is_folder, list_type, name, comments FROM watch_lists "
        "WHERE watch_list_id = ?1");
    query.BindInt64(1, p_lWatchListId);
    if (!query.Step()) {
        return std::nullopt;
    }
    return WatchListEntry{static_cast<int32_t>(query.ColumnInt64(0)),
                          static_cast<int32_t>(query.ColumnInt64(1)),
                          query.ColumnInt64(2) != 0,
                          static_cast<int32_t>(query.ColumnInt64(3)),
                          query.ColumnText(4),
                          query.ColumnText(5)};
}

int32_t WatchListStore::InsertEntry(int32_t p_lOwnerId, int32_t p_lParentId, bool p_bFolder,
                                    int32_t p_lListType, const std::string& p_sName,
                                    const std::string& p_sComments) {
    OwnerStore(m_oDatabase).EnsureOwner(p_lOwnerId);
    SqlStatement insert = m_oDatabase.Prepare(
        "INSERT INTO watch_lists (owner_id, parent_id, is_folder, list_type, name, comments) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6) RETURNING watch_list_id");
    insert.BindInt64(1, p_lOwnerId);
    insert.BindInt64(2, p_lParentId);
    insert.BindInt64(3, p_bFolder ? 1 : 0);
    insert.BindInt64(4, p_lListType);
    insert.BindText(5, p_sName);
    insert.BindText(6, p_sComments);
    insert.Step();
    const auto id = static_cast<int32_t>(insert.ColumnInt64(0));
    insert.Reset();
    return id;
}

std::vector<int64_t> WatchListStore::ResolveKeys(int32_t p_lListType,
                                                 const std::vector<std::string>& p_aKeys) {
    std::unordered_map<std::string, int64_t> known;
    const bool stocks = p_lListType == watch_list_type::kStocks;
    SqlStatement query = m_oDatabase.Prepare(stocks ? "SELECT symbol, stock_id FROM stocks"
                                                    : "SELECT ind_code, ind_code FROM industries");
    while (query.Step()) {
        known[Upper(query.ColumnText(0))] = query.ColumnInt64(1);
    }
    std::vector<int64_t> codes;
    std::set<int64_t> seen;
    for (const std::string& key : p_aKeys) {
        std::string lookup = Upper(key);
        if (!stocks) {
            // "12", "12.0" and " 12" all name industry 12.
            const std::optional<int64_t> wholeCode = WholeNumberIn(key);
            if (!wholeCode) {
                continue;
            }
            lookup = std::to_string(*wholeCode);
        }
        const auto codeAt = known.find(lookup);
        if (codeAt != known.end() && seen.insert(codeAt->second).second) {
            codes.push_back(codeAt->second);
        }
    }
    return codes;
}

int64_t WatchListStore::AppendCodes(int32_t p_lWatchListId, const std::vector<int64_t>& p_aCodes) {
    SqlStatement next = m_oDatabase.Prepare(
        "SELECT coalesce(max(position), -1) + 1 FROM watch_list_items WHERE watch_list_id = ?1");
    next.BindInt64(1, p_lWatchListId);
    int64_t position = next.Step() ? next.ColumnInt64(0) : 0;
    SqlStatement insert = m_oDatabase.Prepare(
        "INSERT INTO watch_list_items (watch_list_id, item_code, position) VALUES (?1, ?2, ?3) "
        "ON CONFLICT (watch_list_id, item_code) DO NOTHING");
    int64_t added = 0;
    for (const int64_t code : p_aCodes) {
        insert.BindInt64(1, p_lWatchListId);
        insert.BindInt64(2, code);
        insert.BindInt64(3, position);
        insert.Run();
        if (m_oDatabase.ChangedRows() > 0) {
            ++position;
            ++added;
        }
    }
    return added;
}

int32_t WatchListStore::CreateFolder(int32_t p_lOwnerId, int32_t p_lParentId, int32_t p_lListType,
                                     const std::string& p_sName) {
    // The owner row and the folder go in together or not at all.
    SqlTransaction work(m_oDatabase);
    const int32_t id = InsertEntry(p_lOwnerId, p_lParentId, true, p_lListType, p_sName, "");
    work.Commit();
    return id;
}

int32_t WatchListStore::CreateWatchList(int32_t p_lOwnerId, int32_t p_lParentId,
                                        int32_t p_lListType, const std::string& p_sName,
                                        const std::string& p_sComments,
                                        const std::vector<std::string>& p_aKeys) {
    SqlTransaction work(m_oDatabase);
    const int32_t id =
        InsertEntry(p_lOwnerId, p_lParentId, false, p_lListType, p_sName, p_sComments);
    AppendCodes(id, ResolveKeys(p_lListType, p_aKeys));
    work.Commit();
    return id;
}

int32_t WatchListStore::CreateComparedWatchList(int32_t p_lOwnerId, int32_t p_lParentId,
                                                int32_t p_lOtherListId, bool p_bMatching,
                                                int32_t p_lListType, const std::string& p_sName,
                                                const std::string& p_sComments,
                                                const std::vector<std::string>& p_aKeys) {
    const std::vector<int64_t> other = ItemCodes(p_lOtherListId);
    const std::set<int64_t> inOther(other.begin(), other.end());
    std::vector<int64_t> codes = ResolveKeys(p_lListType, p_aKeys);
    std::erase_if(codes, [&](int64_t code) { return inOther.contains(code) != p_bMatching; });
    SqlTransaction work(m_oDatabase);
    const int32_t id =
        InsertEntry(p_lOwnerId, p_lParentId, false, p_lListType, p_sName, p_sComments);
    AppendCodes(id, codes);
    work.Commit();
    return id;
}

int64_t WatchListStore::AddItems(int32_t p_lWatchListId, const std::vector<std::string>& p_aKeys) {
    const std::optional<WatchListEntry> list = Find(p_lWatchListId);
    if (!list || list->m_bFolder) {
        return 0;
    }
    SqlTransaction work(m_oDatabase);
    const int64_t added = AppendCodes(p_lWatchListId, ResolveKeys(list->m_lListType, p_aKeys));
    work.Commit();
    return added;
}

int64_t WatchListStore::RemoveItems(int32_t p_lWatchListId,
                                    const std::vector<std::string>& p_aKeys) {
    const std::optional<WatchListEntry> list = Find(p_lWatchListId);
    if (!list || list->m_bFolder) {
        return 0;
    }
    SqlTransaction work(m_oDatabase);
    SqlStatement remove = m_oDatabase.Prepare(
        "DELETE FROM watch_list_items WHERE watch_list_id = ?1 AND item_code = ?2");
    int64_t removed = 0;
    for (const int64_t code : ResolveKeys(list->m_lListType, p_aKeys)) {
        remove.BindInt64(1, p_lWatchListId);
        remove.BindInt64(2, code);
        remove.Run();
        removed += m_oDatabase.ChangedRows();
    }
    work.Commit();
    return removed;
}

bool WatchListStore::NameTaken(int32_t p_lOwnerId, int32_t p_lListType,
                               const std::string& p_sName) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT 1 FROM watch_lists WHERE owner_id = ?1 AND list_type = ?2 AND is_folder = 0 AND "
        "trim(name) = trim(?3) COLLATE NOCASE");
    query.BindInt64(1, p_lOwnerId);
    query.BindInt64(2, p_lListType);
    query.BindText(3, p_sName);
    return query.Step();
}

std::vector<int64_t> WatchListStore::ItemCodes(int32_t p_lWatchListId) {
    SqlStatement query = m_oDatabase.Prepare(
        "SELECT item_code FROM watch_list_items WHERE watch_list_id = ?1 ORDER BY position");
    query.BindInt64(1, p_lWatchListId);
    std::vector<int64_t> codes;
    while (query.Step()) {
        codes.push_back(query.ColumnInt64(0));
    }
    return codes;
}

}  // namespace qv::facade
