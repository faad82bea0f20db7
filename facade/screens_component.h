// "QorvantOnlineFacade.ScreensFTr": the stock screens an owner keeps, and the screens shipped with
// the market (owner 0), which every owner reads and none changes. The names, argument places and
// result fields are those of facade_protocol.h:
//
// GetScreens (returns a Recordset)   1 OwnerId Long
// SaveScreen (returns True)          1 OwnerId Long, 2 ScreenId Long in/out, 3 Name String,
//                                    4 ResultType Long, 5 Criteria String
// DeleteScreen (returns True)        1 OwnerId Long, 2 ScreenId Long
// CheckScreen (returns a Long: how many rows meet the criteria on the day)
//    1 OwnerId Long, 2 ResultType Long, 3 Criteria String, 4 Date Date,
//    5 Description String out
//
// Rules:
// - Reading serves the session's owner and owner 0 (the shipped screens alone); saving and
//   deleting serve the session's owner only (owner_authority.h).
// - What a call cannot do is an automation error naming the argument at fault: a name that is
//   blank, too long (outside/screen_limits.h) or another of the owner's screens' names; a result
//   type other than 0, 1 or 2; criteria that do not parse for the result type ("SaveScreen:
//   argument 5 (Criteria): unknown field 'Pirce' at position 1 in 'Pirce > 10'"); deleting a
//   shipped screen, or a screen the owner does not have.
// - A saved screen whose criteria no longer parse (a field left the catalogue) is still listed,
//   with its criteria text as its description, so that its owner can mend or delete it.
#pragma once

#include "facade/facade_component.h"

namespace qv::facade {

class ScreensComponent : public FacadeComponent {
  public:
    using FacadeComponent::FacadeComponent;

    std::string_view DispatchClassName() const override { return "ScreensFTr"; }

    Variant GetScreens(DispatchArgs p_args);
    Variant SaveScreen(DispatchArgs p_args);
    Variant DeleteScreen(DispatchArgs p_args);
    Variant CheckScreen(DispatchArgs p_args);

  protected:
    const DispatchTable& Table() const override;
};

}  // namespace qv::facade
