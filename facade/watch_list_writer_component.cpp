#include "facade/watch_list_writer_component.h"

#include <optional>
#include <string>

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/watch_list_store.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

std::optional<WatchListEntry> OwnersEntry(WatchListStore& p_oLists, int32_t p_lOwnerId,
                                          int32_t p_lListType, int32_t p_lId) {
    for (WatchListEntry& entry : p_oLists.WatchLists(p_lOwnerId, p_lListType)) {
        if (entry.m_lId == p_lId) {
            return std::move(entry);
        }
    }
    return std::nullopt;
}

int32_t ListTypeOf(FacadeArguments& p_oArgs, size_t p_lIndex) {
    const int32_t listType = p_oArgs.Long(p_lIndex, "WatchListType");
    if (listType != watch_list_type::kStocks && listType != watch_list_type::kIndustries) {
        p_oArgs.Fail(p_lIndex, "WatchListType",
                     "there is no watch list type " + std::to_string(listType));
    }
    return listType;
}

std::string NameOf(FacadeArguments& p_oArgs, size_t p_lIndex) {
    std::string name(TrimWhitespace(p_oArgs.Text(p_lIndex, "Name")));
    if (name.empty()) {
        p_oArgs.Fail(p_lIndex, "Name", "a watch list needs a name");
    }
    return name;
}

// The items of a list: symbols, or industry codes read as whole numbers.
std::vector<std::string> ItemsOf(const FacadeArguments& p_oArgs, size_t p_lIndex,
                                 int32_t p_lListType) {
    return p_lListType == watch_list_type::kIndustries ? p_oArgs.CodeKeys(p_lIndex, "Items")
                                                       : p_oArgs.Keys(p_lIndex, "Items");
}

// The folder a new entry goes into: 0 (the top), one of the owner's folders, or the folder of
// one of the owner's lists.
int32_t FolderOf(FacadeArguments& p_oArgs, size_t p_lIndex, WatchListStore& p_oLists,
                 int32_t p_lOwnerId, int32_t p_lListType) {
    const int32_t folderId = p_oArgs.Long(p_lIndex, "FolderId");
    if (folderId <= 0) {
        return 0;
    }
    const std::optional<WatchListEntry> entry =
        OwnersEntry(p_oLists, p_lOwnerId, p_lListType, folderId);
    if (!entry) {
        p_oArgs.Fail(p_lIndex, "FolderId", "folder " + std::to_string(folderId) + " not found");
    }
    return entry->m_bFolder ? entry->m_lId : entry->m_lParentId;
}

}  // namespace

Variant WatchListWriterComponent::NewWatchListAndItems(DispatchArgs p_args) {
    FacadeArguments args("NewWatchListAndItems", p_args);
    const int32_t ownerId = Owner(args, 5, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listType = ListTypeOf(args, 2);
    const std::string name = NameOf(args, 3);
    const int32_t folderId = FolderOf(args, 0, lists, ownerId, listType);
    const int32_t id = lists.CreateWatchList(ownerId, folderId, listType, name,
                                             args.Text(4, "Comments"), ItemsOf(args, 1, listType));
    args.Out(0) = folderId;
    return id;
}

Variant WatchListWriterComponent::NewComparedWatchList(std::string_view p_sMethod, bool p_bMatching,
                                                       DispatchArgs p_args) {
    FacadeArguments args(p_sMethod, p_args);
    const int32_t ownerId = Owner(args, 6, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listType = ListTypeOf(args, 3);
    const std::string name = NameOf(args, 4);
    const int32_t folderId = FolderOf(args, 0, lists, ownerId, listType);
    const int32_t otherId = args.Long(1, "OtherListId");
    const std::optional<WatchListEntry> other = OwnersEntry(lists, ownerId, listType, otherId);
    if (!other || other->m_bFolder) {
        args.Fail(1, "OtherListId", "watch list " + std::to_string(otherId) + " not found");
    }
    const int32_t id =
        lists.CreateComparedWatchList(ownerId, folderId, otherId, p_bMatching, listType, name,
                                      args.Text(5, "Comments"), ItemsOf(args, 2, listType));
    args.Out(0) = folderId;
    return id;
}

Variant WatchListWriterComponent::AddWatchListItems(DispatchArgs p_args) {
    FacadeArguments args("AddWatchListItems", p_args);
    const int32_t ownerId = OptionalOwner(args, 3, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listId = args.Long(0, "WatchListId");
    const int32_t listType = ListTypeOf(args, 2);
    std::optional<WatchListEntry> list = lists.Find(listId);
    if (list) {
        list = OwnersEntry(lists, ownerId, list->m_lListType, listId);
    }
    if (!list || list->m_bFolder) {
        args.Fail(0, "WatchListId", "watch list " + std::to_string(listId) + " not found");
    }
    if (list->m_lListType != listType) {
        args.Fail(2, "WatchListType",
                  "watch list " + std::to_string(listId) + " is of type " +
                      std::to_string(list->m_lListType));
    }
    return static_cast<int32_t>(lists.AddItems(listId, ItemsOf(args, 1, listType)));
}

Variant WatchListWriterComponent::NewWatchListFolder(DispatchArgs p_args) {
    FacadeArguments args("NewWatchListFolder", p_args);
    const int32_t ownerId = Owner(args, 3, OwnerAccess::Write);
    WatchListStore lists(Backend().Database());
    const int32_t listType = ListTypeOf(args, 1);
    const std::string name = NameOf(args, 2);
    const int32_t parentId = FolderOf(args, 0, lists, ownerId, listType);
    const int32_t id = lists.CreateFolder(ownerId, parentId, listType, name);
    args.Out(0) = parentId;
    return id;
}

const DispatchTable& WatchListWriterComponent::Table() const {
    using Self = WatchListWriterComponent;
    static const DispatchTable table =
        DispatchTable::Builder<Self>()
            .Method("NewWatchListAndItems", 6, 6,
                    [](Self& self, DispatchArgs args) { return self.NewWatchListAndItems(args); })
            .Method("NewWatchListMatchingItems", 7, 7,
                    [](Self& self, DispatchArgs args) {
                        return self.NewComparedWatchList("NewWatchListMatchingItems", true, args);
                    })
            .Method("NewWatchListNonMatchingItems", 7, 7,
                    [](Self& self, DispatchArgs args) {
                        return self.NewComparedWatchList("NewWatchListNonMatchingItems", false,
                                                         args);
                    })
            .Method("AddWatchListItems", 3, 4,
                    [](Self& self, DispatchArgs args) { return self.AddWatchListItems(args); })
            .Method("NewWatchListFolder", 4, 4,
                    [](Self& self, DispatchArgs args) { return self.NewWatchListFolder(args); })
            .Build();
    return table;
}

}  // namespace qv::facade
