// "QorvantOnlineFacade.WatchListFNTr": an owner's watch lists.
//
// GetWatchLists (returns a Recordset)
//    1 OwnerId Long, 2 WatchListType Long ref (0 stocks, 1 industry groups)
//
// The recordset holds the owner's folders and lists of the type, folders first, each group by
// name: "id", "parentid" (0 at the top), "Name", "Comments", "IsFolder", "ListType". It is a
// client recordset the caller may add rows to (the viewer appends the list it has just created).
// The owner is the session's (owner_authority.h); the system (0) has no lists, and another type
// gives an empty recordset too.
#pragma once

#include "facade/facade_component.h"

namespace qv::facade {

class WatchListReaderComponent : public FacadeComponent {
  public:
    using FacadeComponent::FacadeComponent;

    std::string_view DispatchClassName() const override { return "WatchListFNTr"; }

    Variant GetWatchLists(DispatchArgs p_args);

  protected:
    const DispatchTable& Table() const override;
};

}  // namespace qv::facade
