// Watch lists of an owner, kept in folders. A watch list holds stocks (list type 0) or industry
// groups (list type 1); a folder is an entry that holds lists and other folders through their
// parent id (0 at the top). Items arrive as the viewer sends them: symbols for stocks, industry
// codes (as text or numbers, read with WholeNumberIn) for industries; keys that name nothing are
// left out.
//
//     WatchListStore lists(store.Database());
//     int32_t folder = lists.CreateFolder(owner, 0, 0, "Ideas");
//     int32_t id = lists.CreateWatchList(owner, folder, 0, "Leaders", "", {"AAPL", "MSFT"});
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::facade {

class SqlDatabase;

namespace watch_list_type {
constexpr int32_t kStocks = 0;
constexpr int32_t kIndustries = 1;
}  // namespace watch_list_type

struct WatchListEntry {
    int32_t m_lId = 0;
    int32_t m_lParentId = 0;
    bool m_bFolder = false;
    int32_t m_lListType = 0;
    std::string m_sName;
    std::string m_sComments;
};

class WatchListStore {
  public:
    explicit WatchListStore(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    // The owner's folders and lists of one list type: folders first, each group by name.
    std::vector<WatchListEntry> WatchLists(int32_t p_lOwnerId, int32_t p_lListType);
    std::optional<WatchListEntry> Find(int32_t p_lWatchListId);

    int32_t CreateFolder(int32_t p_lOwnerId, int32_t p_lParentId, int32_t p_lListType,
                         const std::string& p_sName);
    int32_t CreateWatchList(int32_t p_lOwnerId, int32_t p_lParentId, int32_t p_lListType,
                            const std::string& p_sName, const std::string& p_sComments,
                            const std::vector<std::string>& p_aKeys);
    // A new list of the keys that are (p_bMatching) or are not also in p_lOtherListId.
    int32_t CreateComparedWatchList(int32_t p_lOwnerId, int32_t p_lParentId, int32_t p_lOtherListId,
                                    bool p_bMatching, int32_t p_lListType,
                                    const std::string& p_sName, const std::string& p_sComments,
                                    const std::vector<std::string>& p_aKeys);
    // Adds the keys not yet in the list, after its items; returns how many were added.
    int64_t AddItems(int32_t p_lWatchListId, const std::vector<std::string>& p_aKeys);

    // Removes the keys from the list; returns how many were in it.
    int64_t RemoveItems(int32_t p_lWatchListId, const std::vector<std::string>& p_aKeys);

    // Stock ids or industry codes, in list order.
    std::vector<int64_t> ItemCodes(int32_t p_lWatchListId);
    // The stock ids or industry codes the keys name, each once, in the keys' order.
    std::vector<int64_t> ResolveKeys(int32_t p_lListType, const std::vector<std::string>& p_aKeys);
    // True when one of the owner's lists of the type is named p_sName, without regard to case.
    bool NameTaken(int32_t p_lOwnerId, int32_t p_lListType, const std::string& p_sName);

  private:
    int32_t InsertEntry(int32_t p_lOwnerId, int32_t p_lParentId, bool p_bFolder,
                        int32_t p_lListType, const std::string& p_sName,
                        const std::string& p_sComments);
    int64_t AppendCodes(int32_t p_lWatchListId, const std::vector<int64_t>& p_aCodes);

    SqlDatabase& m_oDatabase;
};

}  // namespace qv::facade
