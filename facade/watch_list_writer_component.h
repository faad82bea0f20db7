// "QorvantOnlineFacade.WatchListFTr": creating watch lists from the viewer's rows and adding rows
// to them, with the argument orders of the viewer's watch-list command.
//
// Arguments in the callers' order; "ref" marks a by-reference argument, "in/out" one the call
// reads and writes back.
//
// NewWatchListAndItems (returns the new list's Long id)
//    1 FolderId Long in/out, 2 Items Variant ref, 3 WatchListType Long ref, 4 Name String ref,
//    5 Comments String ref, 6 OwnerId Long
// NewWatchListMatchingItems, NewWatchListNonMatchingItems (return the new list's Long id)
//    1 FolderId Long in/out, 2 OtherListId Long, 3 Items Variant ref,
//    4 WatchListType Long ref, 5 Name String ref, 6 Comments String ref, 7 OwnerId Long
// AddWatchListItems (returns the Long number of items added)
//    1 WatchListId Long ref, 2 Items Variant ref, 3 WatchListType Long ref,
//    4 OwnerId Long (optional, for hosts; the viewer sends none and the session's owner is meant)
// DeleteWatchListItems, for hosts (returns the Long number of items removed)
//    1 WatchListId Long, 2 Items Variant ref, 3 OwnerId Long
// NewWatchListFolder, for hosts (returns the new folder's Long id)
//    1 ParentId Long in/out, 2 WatchListType Long ref, 3 Name String ref, 4 OwnerId Long
//
// Items are the keys of the rows: symbols for a list of stocks (type 0), industry codes for a
// list of industry groups (type 1), in a one-dimensional array (a single value is one item);
// keys that name nothing, and repeats, are left out. The folder of a new list must be one of the
// owner's folders of the type, or 0 for the top; given one of the owner's lists instead, the new
// list goes beside it, and the folder used is written back. The list compared against, and the
// list added to, must be the owner's list of the same type, and a new list's name none of the
// owner's lists of the type has already (without regard to case). A list holds at most
// kMaxWatchListItems items, a name at most kMaxWatchListNameChars characters
// (outside/watch_list_limits.h). The owner is the session's (owner_authority.h). Anything else
// (another owner, an unknown type, a name that is empty, too long or taken, too many items, a list
// or folder that is not the owner's) is an automation error that says what is wrong, in words a
// person can be shown; nothing is created or changed then.
#pragma once

#include "facade/facade_component.h"

namespace qv::facade {

class WatchListWriterComponent : public FacadeComponent {
  public:
    using FacadeComponent::FacadeComponent;

    std::string_view DispatchClassName() const override { return "WatchListFTr"; }

    Variant NewWatchListAndItems(DispatchArgs p_args);
    Variant NewComparedWatchList(std::string_view p_sMethod, bool p_bMatching, DispatchArgs p_args);
    Variant AddWatchListItems(DispatchArgs p_args);
    Variant DeleteWatchListItems(DispatchArgs p_args);
    Variant NewWatchListFolder(DispatchArgs p_args);

  protected:
    const DispatchTable& Table() const override;
};

}  // namespace qv::facade
