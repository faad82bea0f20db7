// "QorvantOnlineFacade.ViewerFTr": saving, deleting and restoring layouts, with the argument
// orders of the viewer's layout commands.
//
// Arguments in the callers' order; "ref" marks a by-reference argument, "out" one the call writes
// back, "in/out" one it reads and writes back.
//
// SaveLayout (returns Boolean: True when saved)
//    1 OwnerId Long, 2 LayoutId Long in/out (-1 asks for a new layout and receives its id),
//    3 Name String ref, 4 Description String ref, 5 ParentId Long ref, 6 PriSortId Long ref,
//    7 PriSortDir Long ref, 8 SecSortId Long ref, 9 SecSortDir Long ref,
//    10 ColumnTable Variant ref, 11 DataType Long ref, 12 FinderType Integer ref
// DeleteLayout (returns Boolean: True when deleted)
//    1 OwnerId Long, 2 LayoutId Long, 3 FinderResultsType Long,
//    4 NewLayoutInfo Variant out (the layout that now stands in for the deleted one)
// RestoreDefaultLayout (returns a layout description, or Empty)
//    1 OwnerId Long, 2 ViewerType Integer, 3 FinderType Integer ref, 4 UserOnly Boolean ref
// DeleteCustomLayout (returns nothing)
//    1 OwnerId Long, 2 PrintType Integer, 3 FinderType Integer ref
//
// Rules:
// - Every call changes the layouts of the session's owner only (owner_authority.h): any other
//   OwnerId, the system's (0) included, is refused with an automation error. The system layouts
//   never change.
// - Saving a layout id the owner does not own (a system layout, another owner's, -1) creates a
//   new layout of the owner, and the saved layout becomes the owner's default for its data type
//   and finder type. A data type outside 0 to 16 and a layout without columns are refused
//   (False). The sort text is composed from the sort ids, as the viewer composes it.
// - Deleting answers False for a layout the owner does not own; after a deletion the owner's
//   default (or the system default) for the deleted layout's kind is handed back. The kind is the
//   deleted layout's own data type and finder type: FinderResultsType is that of the viewer's
//   list, which a stock or industry layout does not carry.
// - Restoring with UserOnly True hands back the owner's default layout as it stands (the owner's
//   own default, else the system's); with UserOnly False the owner's default for the kind is
//   forgotten and the system default handed back. Neither deletes a layout.
// - DeleteCustomLayout deletes the owner's layouts of the print type and finder type, so printing
//   uses the system's print layout again.
#pragma once

#include "facade/facade_component.h"

namespace qv::facade {

class ViewerWriterComponent : public FacadeComponent {
  public:
    using FacadeComponent::FacadeComponent;

    std::string_view DispatchClassName() const override { return "ViewerFTr"; }

    Variant SaveLayout(DispatchArgs p_args);
    Variant DeleteLayout(DispatchArgs p_args);
    Variant RestoreDefaultLayout(DispatchArgs p_args);
    Variant DeleteCustomLayout(DispatchArgs p_args);

  protected:
    const DispatchTable& Table() const override;
};

}  // namespace qv::facade
