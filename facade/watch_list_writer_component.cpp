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
    for (WatchListEntry& oEntry : p_oLists.WatchLists(p_lOwnerId, p_lListType)) {
        if (oEntry.m_lId == p_lId) {
            return std::move(oEntry);
        }
    }
    return std::nullopt;
}

int32_t ListTypeOf(FacadeArguments& p_oArgs, size_t p_lIndex) {
    const int32_t lListType = p_oArgs.Long(p_lIndex, "WatchListType");
    if (lListType != watch_list_type::kStocks && lListType != watch_list_type::kIndustries) {
        p_oArgs.Fail(p_lIndex, "WatchListType",
                     "there is no watch list type " + std::to_string(lListType));
    }
    return lListType;
}

std::string NameOf(FacadeArguments& p_oArgs, size_t p_lIndex) {
    std::string sName(TrimWhitespace(p_oArgs.Text(p_lIndex, "Name")));
    if (sName.empty()) {
        p_oArgs.Fail(p_lIndex, "Name", "a watch list needs a name");
    }
    return sName;
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
    const int32_t lFolderId = p_oArgs.Long(p_lIndex, "FolderId");
    if (lFolderId <= 0) {
        return 0;
    }
    const std::optional<WatchListEntry> oEntry =
        OwnersEntry(p_oLists, p_lOwnerId, p_lListType, lFolderId);
    if (!oEntry) {
        p_oArgs.Fail(p_lIndex, "FolderId", "folder " + std::to_string(lFolderId) + " not found");
    }
    return oEntry->m_bFolder ? oEntry->m_lId : oEntry->m_lParentId;
}

}  // namespace

Variant WatchListWriterComponent::NewWatchListAndItems(DispatchArgs p_args) {
    FacadeArguments oArgs("NewWatchListAndItems", p_args);
    const int32_t lOwnerId = Owner(oArgs, 5, OwnerAccess::Write);
    WatchListStore oLists(Backend().Database());
    const int32_t lListType = ListTypeOf(oArgs, 2);
    const std::string sName = NameOf(oArgs, 3);
    const int32_t lFolderId = FolderOf(oArgs, 0, oLists, lOwnerId, lListType);
    const int32_t lId =
        oLists.CreateWatchList(lOwnerId, lFolderId, lListType, sName, oArgs.Text(4, "Comments"),
                               ItemsOf(oArgs, 1, lListType));
    oArgs.Out(0) = lFolderId;
    return lId;
}

Variant WatchListWriterComponent::NewComparedWatchList(std::string_view p_sMethod, bool p_bMatching,
                                                       DispatchArgs p_args) {
    FacadeArguments oArgs(p_sMethod, p_args);
    const int32_t lOwnerId = Owner(oArgs, 6, OwnerAccess::Write);
    WatchListStore oLists(Backend().Database());
    const int32_t lListType = ListTypeOf(oArgs, 3);
    const std::string sName = NameOf(oArgs, 4);
    const int32_t lFolderId = FolderOf(oArgs, 0, oLists, lOwnerId, lListType);
    const int32_t lOtherId = oArgs.Long(1, "OtherListId");
    const std::optional<WatchListEntry> oOther = OwnersEntry(oLists, lOwnerId, lListType, lOtherId);
    if (!oOther || oOther->m_bFolder) {
        oArgs.Fail(1, "OtherListId", "watch list " + std::to_string(lOtherId) + " not found");
    }
    const int32_t lId =
        oLists.CreateComparedWatchList(lOwnerId, lFolderId, lOtherId, p_bMatching, lListType, sName,
                                       oArgs.Text(5, "Comments"), ItemsOf(oArgs, 2, lListType));
    oArgs.Out(0) = lFolderId;
    return lId;
}

Variant WatchListWriterComponent::AddWatchListItems(DispatchArgs p_args) {
    FacadeArguments oArgs("AddWatchListItems", p_args);
    const int32_t lOwnerId = OptionalOwner(oArgs, 3, OwnerAccess::Write);
    WatchListStore oLists(Backend().Database());
    const int32_t lListId = oArgs.Long(0, "WatchListId");
    const int32_t lListType = ListTypeOf(oArgs, 2);
    std::optional<WatchListEntry> oList = oLists.Find(lListId);
    if (oList) {
        oList = OwnersEntry(oLists, lOwnerId, oList->m_lListType, lListId);
    }
    if (!oList || oList->m_bFolder) {
        oArgs.Fail(0, "WatchListId", "watch list " + std::to_string(lListId) + " not found");
    }
    if (oList->m_lListType != lListType) {
        oArgs.Fail(2, "WatchListType",
                   "watch list " + std::to_string(lListId) + " is of type " +
                       std::to_string(oList->m_lListType));
    }
    return static_cast<int32_t>(oLists.AddItems(lListId, ItemsOf(oArgs, 1, lListType)));
}

Variant WatchListWriterComponent::NewWatchListFolder(DispatchArgs p_args) {
    FacadeArguments oArgs("NewWatchListFolder", p_args);
    const int32_t lOwnerId = Owner(oArgs, 3, OwnerAccess::Write);
    WatchListStore oLists(Backend().Database());
    const int32_t lListType = ListTypeOf(oArgs, 1);
    const std::string sName = NameOf(oArgs, 2);
    const int32_t lParentId = FolderOf(oArgs, 0, oLists, lOwnerId, lListType);
    const int32_t lId = oLists.CreateFolder(lOwnerId, lParentId, lListType, sName);
    oArgs.Out(0) = lParentId;
    return lId;
}

const DispatchTable& WatchListWriterComponent::Table() const {
    using Self = WatchListWriterComponent;
    static const DispatchTable oTable =
        DispatchTable::Builder<Self>()
            .Method(
                "NewWatchListAndItems", 6, 6,
                [](Self& oSelf, DispatchArgs aArgs) { return oSelf.NewWatchListAndItems(aArgs); })
            .Method("NewWatchListMatchingItems", 7, 7,
                    [](Self& oSelf, DispatchArgs aArgs) {
                        return oSelf.NewComparedWatchList("NewWatchListMatchingItems", true, aArgs);
                    })
            .Method("NewWatchListNonMatchingItems", 7, 7,
                    [](Self& oSelf, DispatchArgs aArgs) {
                        return oSelf.NewComparedWatchList("NewWatchListNonMatchingItems", false,
                                                          aArgs);
                    })
            .Method("AddWatchListItems", 3, 4,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.AddWatchListItems(aArgs); })
            .Method("NewWatchListFolder", 4, 4,
                    [](Self& oSelf, DispatchArgs aArgs) { return oSelf.NewWatchListFolder(aArgs); })
            .Build();
    return oTable;
}

}  // namespace qv::facade
