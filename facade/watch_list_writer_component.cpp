#include "facade/watch_list_writer_component.h"

#include <optional>
#include <string>

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/watch_list_store.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

namespace new_list = facade_protocol::new_watch_list_and_items;
namespace compared = facade_protocol::new_compared_watch_list;
namespace add_items = facade_protocol::add_watch_list_items;
namespace new_folder = facade_protocol::new_watch_list_folder;
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
    std::string name(TrimWhitespace(p_oArgs.Text(p_oName)));
    if (name.empty()) {
        p_oArgs.Fail(p_oName, "a watch list needs a name");
    }
    return name;
}

// The items of a list: symbols, or industry codes read as whole numbers.
std::vector<std::string> ItemsOf(const FacadeArguments& p_oArgs, const Argument& p_oItems,
                                 int32_t p_lListType) {
    return p_lListType == watch_list_type::kIndustries ? p_oArgs.CodeKeys(p_oItems)
                                                       : p_oArgs.Keys(p_oItems);
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
    const std::string name = NameOf(args, new_list::kName);
    const int32_t folderId = FolderOf(args, new_list::kFolderId, lists, ownerId, listType);
    const int32_t id =
        lists.CreateWatchList(ownerId, folderId, listType, name, args.Text(new_list::kComments),
                              ItemsOf(args, new_list::kItems, listType));
    args.Out(new_list::kFolderId) = folderId;
    return id;
}

Variant WatchListWriterComponent::NewComparedWatchList(std::string_view p_sMethod, bool p_bMatching,
                                                       DispatchArgs p_args) {
    FacadeArguments args(p_sMethod, p_args);
    const int32_t ownerId = Owner(args, compared::kOwnerId, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listType = ListTypeOf(args, compared::kWatchListType);
    const std::string name = NameOf(args, compared::kName);
    const int32_t folderId = FolderOf(args, compared::kFolderId, lists, ownerId, listType);
    const int32_t otherId = args.Long(compared::kOtherListId);
    const std::optional<WatchListEntry> other = OwnersEntry(lists, ownerId, listType, otherId);
    if (!other || other->m_bFolder) {
        args.Fail(compared::kOtherListId, "watch list " + std::to_string(otherId) + " not found");
    }
    const int32_t id = lists.CreateComparedWatchList(ownerId, folderId, otherId, p_bMatching,
                                                     listType, name, args.Text(compared::kComments),
                                                     ItemsOf(args, compared::kItems, listType));
    args.Out(compared::kFolderId) = folderId;
    return id;
}

Variant WatchListWriterComponent::AddWatchListItems(DispatchArgs p_args) {
    FacadeArguments args(add_items::kMethod, p_args);
    const int32_t ownerId = OptionalOwner(args, add_items::kOwnerId, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listId = args.Long(add_items::kWatchListId);
    const int32_t listType = ListTypeOf(args, add_items::kWatchListType);
    std::optional<WatchListEntry> list = lists.Find(listId);
    if (list) {
        list = OwnersEntry(lists, ownerId, list->m_lListType, listId);
    }
    if (!list || list->m_bFolder) {
        args.Fail(add_items::kWatchListId, "watch list " + std::to_string(listId) + " not found");
    }
    if (list->m_lListType != listType) {
        args.Fail(add_items::kWatchListType, "watch list " + std::to_string(listId) +
                                                 " is of type " +
                                                 std::to_string(list->m_lListType));
    }
    return static_cast<int32_t>(lists.AddItems(listId, ItemsOf(args, add_items::kItems, listType)));
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
            .Method(new_folder::kMethod, new_folder::kCount, new_folder::kCount,
                    [](Self& self, DispatchArgs args) { return self.NewWatchListFolder(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
