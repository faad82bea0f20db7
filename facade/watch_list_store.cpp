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
    std::string sUpper;
    for (const char cChar : p_sText) {
        if (!IsWhitespace(cChar)) {
            sUpper.push_back(ToUpperAscii(cChar));
        }
    }
    return sUpper;
}

}  // namespace

std::vector<WatchListEntry> WatchListStore::WatchLists(int32_t p_lOwnerId, int32_t p_lListType) {
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT watch_list_id, parent_id, is_folder, list_type, name, comments FROM watch_lists "
        "WHERE owner_id = ?1 AND list_type = ?2 ORDER BY is_folder DESC, name, watch_list_id");
    oQuery.BindInt64(1, p_lOwnerId);
    oQuery.BindInt64(2, p_lListType);
    std::vector<WatchListEntry> aEntries;
    while (oQuery.Step()) {
        aEntries.push_back({static_cast<int32_t>(oQuery.ColumnInt64(0)),
                            static_cast<int32_t>(oQuery.ColumnInt64(1)), oQuery.ColumnInt64(2) != 0,
                            static_cast<int32_t>(oQuery.ColumnInt64(3)), oQuery.ColumnText(4),
                            oQuery.ColumnText(5)});
    }
    return aEntries;
}

std::optional<WatchListEntry> WatchListStore::Find(int32_t p_lWatchListId) {
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT watch_list_id, parent_id, is_folder, list_type, name, comments FROM watch_lists "
        "WHERE watch_list_id = ?1");
    oQuery.BindInt64(1, p_lWatchListId);
    if (!oQuery.Step()) {
        return std::nullopt;
    }
    return WatchListEntry{static_cast<int32_t>(oQuery.ColumnInt64(0)),
                          static_cast<int32_t>(oQuery.ColumnInt64(1)),
                          oQuery.ColumnInt64(2) != 0,
                          static_cast<int32_t>(oQuery.ColumnInt64(3)),
                          oQuery.ColumnText(4),
                          oQuery.ColumnText(5)};
}

int32_t WatchListStore::InsertEntry(int32_t p_lOwnerId, int32_t p_lParentId, bool p_bFolder,
                                    int32_t p_lListType, const std::string& p_sName,
                                    const std::string& p_sComments) {
    OwnerStore(m_oDatabase).EnsureOwner(p_lOwnerId);
    SqliteStatement oInsert = m_oDatabase.Prepare(
        "INSERT INTO watch_lists (owner_id, parent_id, is_folder, list_type, name, comments) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    oInsert.BindInt64(1, p_lOwnerId);
    oInsert.BindInt64(2, p_lParentId);
    oInsert.BindInt64(3, p_bFolder ? 1 : 0);
    oInsert.BindInt64(4, p_lListType);
    oInsert.BindText(5, p_sName);
    oInsert.BindText(6, p_sComments);
    oInsert.Run();
    return static_cast<int32_t>(m_oDatabase.LastInsertRowId());
}

std::vector<int64_t> WatchListStore::ResolveKeys(int32_t p_lListType,
                                                 const std::vector<std::string>& p_aKeys) {
    std::unordered_map<std::string, int64_t> aKnown;
    const bool bStocks = p_lListType == watch_list_type::kStocks;
    SqliteStatement oQuery =
        m_oDatabase.Prepare(bStocks ? "SELECT symbol, stock_id FROM stocks"
                                    : "SELECT ind_code, ind_code FROM industries");
    while (oQuery.Step()) {
        aKnown[Upper(oQuery.ColumnText(0))] = oQuery.ColumnInt64(1);
    }
    std::vector<int64_t> aCodes;
    std::set<int64_t> aSeen;
    for (const std::string& sKey : p_aKeys) {
        std::string sLookup = Upper(sKey);
        if (!bStocks) {
            // "12", "12.0" and " 12" all name industry 12.
            const std::optional<int64_t> llCode = WholeNumberIn(sKey);
            if (!llCode) {
                continue;
            }
            sLookup = std::to_string(*llCode);
        }
        const auto itCode = aKnown.find(sLookup);
        if (itCode != aKnown.end() && aSeen.insert(itCode->second).second) {
            aCodes.push_back(itCode->second);
        }
    }
    return aCodes;
}

int64_t WatchListStore::AppendCodes(int32_t p_lWatchListId, const std::vector<int64_t>& p_aCodes) {
    SqliteStatement oNext = m_oDatabase.Prepare(
        "SELECT coalesce(max(position), -1) + 1 FROM watch_list_items WHERE watch_list_id = ?1");
    oNext.BindInt64(1, p_lWatchListId);
    int64_t llPosition = oNext.Step() ? oNext.ColumnInt64(0) : 0;
    SqliteStatement oInsert = m_oDatabase.Prepare(
        "INSERT OR IGNORE INTO watch_list_items (watch_list_id, item_code, position) "
        "VALUES (?1, ?2, ?3)");
    int64_t llAdded = 0;
    for (const int64_t llCode : p_aCodes) {
        oInsert.BindInt64(1, p_lWatchListId);
        oInsert.BindInt64(2, llCode);
        oInsert.BindInt64(3, llPosition);
        oInsert.Run();
        if (m_oDatabase.ChangedRows() > 0) {
            ++llPosition;
            ++llAdded;
        }
    }
    return llAdded;
}

int32_t WatchListStore::CreateFolder(int32_t p_lOwnerId, int32_t p_lParentId, int32_t p_lListType,
                                     const std::string& p_sName) {
    // The owner row and the folder go in together or not at all.
    SqliteTransaction oWork(m_oDatabase);
    const int32_t lId = InsertEntry(p_lOwnerId, p_lParentId, true, p_lListType, p_sName, "");
    oWork.Commit();
    return lId;
}

int32_t WatchListStore::CreateWatchList(int32_t p_lOwnerId, int32_t p_lParentId,
                                        int32_t p_lListType, const std::string& p_sName,
                                        const std::string& p_sComments,
                                        const std::vector<std::string>& p_aKeys) {
    SqliteTransaction oWork(m_oDatabase);
    const int32_t lId =
        InsertEntry(p_lOwnerId, p_lParentId, false, p_lListType, p_sName, p_sComments);
    AppendCodes(lId, ResolveKeys(p_lListType, p_aKeys));
    oWork.Commit();
    return lId;
}

int32_t WatchListStore::CreateComparedWatchList(int32_t p_lOwnerId, int32_t p_lParentId,
                                                int32_t p_lOtherListId, bool p_bMatching,
                                                int32_t p_lListType, const std::string& p_sName,
                                                const std::string& p_sComments,
                                                const std::vector<std::string>& p_aKeys) {
    const std::vector<int64_t> aOther = ItemCodes(p_lOtherListId);
    const std::set<int64_t> aInOther(aOther.begin(), aOther.end());
    std::vector<int64_t> aCodes = ResolveKeys(p_lListType, p_aKeys);
    std::erase_if(aCodes, [&](int64_t llCode) { return aInOther.contains(llCode) != p_bMatching; });
    SqliteTransaction oWork(m_oDatabase);
    const int32_t lId =
        InsertEntry(p_lOwnerId, p_lParentId, false, p_lListType, p_sName, p_sComments);
    AppendCodes(lId, aCodes);
    oWork.Commit();
    return lId;
}

int64_t WatchListStore::AddItems(int32_t p_lWatchListId, const std::vector<std::string>& p_aKeys) {
    const std::optional<WatchListEntry> oList = Find(p_lWatchListId);
    if (!oList || oList->m_bFolder) {
        return 0;
    }
    SqliteTransaction oWork(m_oDatabase);
    const int64_t llAdded = AppendCodes(p_lWatchListId, ResolveKeys(oList->m_lListType, p_aKeys));
    oWork.Commit();
    return llAdded;
}

std::vector<int64_t> WatchListStore::ItemCodes(int32_t p_lWatchListId) {
    SqliteStatement oQuery = m_oDatabase.Prepare(
        "SELECT item_code FROM watch_list_items WHERE watch_list_id = ?1 ORDER BY position");
    oQuery.BindInt64(1, p_lWatchListId);
    std::vector<int64_t> aCodes;
    while (oQuery.Step()) {
        aCodes.push_back(oQuery.ColumnInt64(0));
    }
    return aCodes;
}

}  // namespace qv::facade
