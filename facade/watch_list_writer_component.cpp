#include "facade/watch_list_writer_component.h"

#include <optional>
#include <string>

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/watch_list_store.h"
#include "outside/text_util.h"
#include "outside/watch_list_limits.h"

#include <set>

namespace qv::facade {

namespace {

namespace new_list = facade_protocol::new_watch_list_and_items;
namespace compared = facade_protocol::new_compared_watch_list;
namespace add_items = facade_protocol::add_watch_list_items;
namespace new_folder = facade_protocol::new_watch_list_folder;
namespace delete_items = facade_protocol::delete_watch_list_items;
using facade_protocol::Argument;

std::optional<WatchListEntry> OwnersEntry(WatchListStore& p_oLists, int32_t p_lOwnerId,
                                          int32_t p_lListType, int32_t p_lId) {
    for (WatchListEntry& entry : p_oLists.WatchLists(p_lOwnerId, p_lListType)) {
        if (entry.m_lId == p_lId) {
            return std::move(entry);
        }
    }
    return std::nullopt;
}

int32_t ListTypeOf(FacadeArguments& p_oArgs, const Argument& p_oType) {
    const int32_t listType = p_oArgs.Long(p_oType);
    if (listType != watch_list_type::kStocks && listType != watch_list_type::kIndustries) {
        p_oArgs.Fail(p_oType, "there is no watch list type " + std::to_string(listType));
    }
    return listType;
}

std::string NameOf(FacadeArguments& p_oArgs, const Argument& p_oName) {
    const std::string name(TrimWhitespace(p_oArgs.Text(p_oName)));
    const std::string fault = WatchListNameFault(name);
    if (!fault.empty()) {
        p_oArgs.Fail(p_oName, fault);
    }
    return name;
}

// The name of a new list, which none of the owner's lists of the type may have already.
std::string NewListName(FacadeArguments& p_oArgs, const Argument& p_oName, WatchListStore& p_oLists,
                        int32_t p_lOwnerId, int32_t p_lListType) {
    std::string name = NameOf(p_oArgs, p_oName);
    if (p_oLists.NameTaken(p_lOwnerId, p_lListType, name)) {
        p_oArgs.Fail(p_oName, "there is already a watch list named \"" + name + "\"");
    }
    return name;
}

std::string CommentsOf(FacadeArguments& p_oArgs, const Argument& p_oComments) {
    std::string comments = p_oArgs.Text(p_oComments);
    const std::string fault = WatchListCommentsFault(comments);
    if (!fault.empty()) {
        p_oArgs.Fail(p_oComments, fault);
    }
    return comments;
}

// The items of a list: symbols, or industry codes read as whole numbers.
std::vector<std::string> ItemsOf(const FacadeArguments& p_oArgs, const Argument& p_oItems,
                                 int32_t p_lListType) {
    return p_lListType == watch_list_type::kIndustries ? p_oArgs.CodeKeys(p_oItems)
                                                       : p_oArgs.Keys(p_oItems);
}

// The items of a new list, no more than a list holds.
std::vector<std::string> NewItemsOf(const FacadeArguments& p_oArgs, const Argument& p_oItems,
                                    int32_t p_lListType) {
    std::vector<std::string> items = ItemsOf(p_oArgs, p_oItems, p_lListType);
    const std::string fault = WatchListSizeFault(items.size());
    if (!fault.empty()) {
        p_oArgs.Fail(p_oItems, fault);
    }
    return items;
}

// One of the owner's lists (not a folder), or the call fails naming p_oList.
WatchListEntry OwnersList(FacadeArguments& p_oArgs, const Argument& p_oList,
                          WatchListStore& p_oLists, int32_t p_lOwnerId) {
    const int32_t listId = p_oArgs.Long(p_oList);
    std::optional<WatchListEntry> list = p_oLists.Find(listId);
    if (list) {
        list = OwnersEntry(p_oLists, p_lOwnerId, list->m_lListType, listId);
    }
    if (!list || list->m_bFolder) {
        p_oArgs.Fail(p_oList, "watch list " + std::to_string(listId) + " not found");
    }
    return *list;
}

// The folder a new entry goes into: 0 (the top), one of the owner's folders, or the folder of
// one of the owner's lists.
int32_t FolderOf(FacadeArguments& p_oArgs, const Argument& p_oFolder, WatchListStore& p_oLists,
                 int32_t p_lOwnerId, int32_t p_lListType) {
    const int32_t folderId = p_oArgs.Long(p_oFolder);
    if (folderId <= 0) {
        return 0;
    }
    const std::optional<WatchListEntry> entry =
        OwnersEntry(p_oLists, p_lOwnerId, p_lListType, folderId);
    if (!entry) {
        p_oArgs.Fail(p_oFolder, "folder " + std::to_string(folderId) + " not found");
    }
    return entry->m_bFolder ? entry->m_lId : entry->m_lParentId;
}

}  // namespace

Variant WatchListWriterComponent::NewWatchListAndItems(DispatchArgs p_args) {
    FacadeArguments args(new_list::kMethod, p_args);
    const int32_t ownerId = Owner(args, new_list::kOwnerId, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listType = ListTypeOf(args, new_list::kWatchListType);
    const std::string name = NewListName(args, new_list::kName, lists, ownerId, listType);
    const std::string comments = CommentsOf(args, new_list::kComments);
    const std::vector<std::string> items = NewItemsOf(args, new_list::kItems, listType);
    const int32_t folderId = FolderOf(args, new_list::kFolderId, lists, ownerId, listType);
    const int32_t id = lists.CreateWatchList(ownerId, folderId, listType, name, comments, items);
    args.Out(new_list::kFolderId) = folderId;
    return id;
}

Variant WatchListWriterComponent::NewComparedWatchList(std::string_view p_sMethod, bool p_bMatching,
                                                       DispatchArgs p_args) {
    FacadeArguments args(p_sMethod, p_args);
    const int32_t ownerId = Owner(args, compared::kOwnerId, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listType = ListTypeOf(args, compared::kWatchListType);
    const std::string name = NewListName(args, compared::kName, lists, ownerId, listType);
    const std::string comments = CommentsOf(args, compared::kComments);
    const std::vector<std::string> items = NewItemsOf(args, compared::kItems, listType);
    const int32_t folderId = FolderOf(args, compared::kFolderId, lists, ownerId, listType);
    const int32_t otherId = args.Long(compared::kOtherListId);
    const std::optional<WatchListEntry> other = OwnersEntry(lists, ownerId, listType, otherId);
    if (!other || other->m_bFolder) {
        args.Fail(compared::kOtherListId, "watch list " + std::to_string(otherId) + " not found");
    }
    const int32_t id = lists.CreateComparedWatchList(ownerId, folderId, otherId, p_bMatching,
                                                     listType, name, comments, items);
    args.Out(compared::kFolderId) = folderId;
    return id;
}

Variant WatchListWriterComponent::AddWatchListItems(DispatchArgs p_args) {
    FacadeArguments args(add_items::kMethod, p_args);
    const int32_t ownerId = OptionalOwner(args, add_items::kOwnerId, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listType = ListTypeOf(args, add_items::kWatchListType);
    const WatchListEntry list = OwnersList(args, add_items::kWatchListId, lists, ownerId);
    if (list.m_lListType != listType) {
        args.Fail(add_items::kWatchListType, "watch list " + std::to_string(list.m_lId) +
                                                 " is of type " + std::to_string(list.m_lListType));
    }
    const std::vector<std::string> items = NewItemsOf(args, add_items::kItems, listType);
    const std::vector<int64_t> held = lists.ItemCodes(list.m_lId);
    const std::set<int64_t> inList(held.begin(), held.end());
    size_t total = held.size();
    for (const int64_t code : lists.ResolveKeys(listType, items)) {
        total += inList.contains(code) ? 0 : 1;
    }
    const std::string fault = WatchListSizeFault(total);
    if (!fault.empty()) {
        args.Fail(add_items::kItems, fault);
    }
    return static_cast<int32_t>(lists.AddItems(list.m_lId, items));
}

Variant WatchListWriterComponent::DeleteWatchListItems(DispatchArgs p_args) {
    FacadeArguments args(delete_items::kMethod, p_args);
    const int32_t ownerId = Owner(args, delete_items::kOwnerId, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const WatchListEntry list = OwnersList(args, delete_items::kWatchListId, lists, ownerId);
    return static_cast<int32_t>(
        lists.RemoveItems(list.m_lId, ItemsOf(args, delete_items::kItems, list.m_lListType)));
}

Variant WatchListWriterComponent::NewWatchListFolder(DispatchArgs p_args) {
    FacadeArguments args(new_folder::kMethod, p_args);
    const int32_t ownerId = Owner(args, new_folder::kOwnerId, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listType = ListTypeOf(args, new_folder::kWatchListType);
    const std::string name = NameOf(args, new_folder::kName);
    const int32_t parentId = FolderOf(args, new_folder::kFolderId, lists, ownerId, listType);
    const int32_t id = lists.CreateFolder(ownerId, parentId, listType, name);
    args.Out(new_folder::kFolderId) = parentId;
    return id;
}

const DispatchTable& WatchListWriterComponent::Table() const {
    using Self = WatchListWriterComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method(new_list::kMethod, new_list::kCount, new_list::kCount,
                    [](Self& self, DispatchArgs args) { return self.NewWatchListAndItems(args); })
            .Method(compared::kMatchingMethod, compared::kCount, compared::kCount,
                    [](Self& self, DispatchArgs args) {
                        return self.NewComparedWatchList(compared::kMatchingMethod, true, args);
                    })
            .Method(compared::kNonMatchingMethod, compared::kCount, compared::kCount,
                    [](Self& self, DispatchArgs args) {
                        return self.NewComparedWatchList(compared::kNonMatchingMethod, false, args);
                    })
            .Method(add_items::kMethod, add_items::kMinCount, add_items::kMaxCount,
                    [](Self& self, DispatchArgs args) { return self.AddWatchListItems(args); })
            .Method(delete_items::kMethod, delete_items::kCount, delete_items::kCount,
                    [](Self& self, DispatchArgs args) { return self.DeleteWatchListItems(args); })
            .Method(new_folder::kMethod, new_folder::kCount, new_folder::kCount,
                    [](Self& self, DispatchArgs args) { return self.NewWatchListFolder(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
