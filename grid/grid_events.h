// The events a Grid raises to the viewer control, and the list of sinks they go to.
//
// A sink derives from GridEvents and overrides what it handles; the other events do nothing.
// GridEventList is the observer list of one Grid (outside/sink_list.h): handlers may add, remove
// or destroy sinks or the Grid itself while it raises; Raise then returns false and the Grid
// touches none of its members afterwards.
//
//     class DeleteForwarder : public GridEvents {
//         void Delete(const std::string& p_sKeys) override { host.RaiseDelete(p_sKeys); }
//     };
//     grid->AddSink(&forwarder);
#pragma once

#include "outside/sink_list.h"

#include <cstdint>
#include <string>

namespace qv {

class GridEvents : public Sink {
  public:
    // A page address for the host to show.
    virtual void Navigate(const std::string& p_sAddress) {}
    // The page address built for a double-clicked row.
    virtual void DblClick(const std::string& p_sAddress) {}
    virtual void AddToWatchList() {}
    // A context-menu item whose action belongs to the control.
    virtual void GridMenuClick(int32_t p_lItemId, const std::string& p_sItemTag) {}
    // Before several selected rows are graphed: the handler may change the count or cancel.
    virtual void MultipleGraphSelect(int16_t& p_iCount, bool& p_bCancel) {}
    // The Delete key on selected rows, with their keys.
    virtual void Delete(const std::string& p_sKeys) {}
    virtual void QuickTest() {}
};

using GridEventList = SinkListOf<GridEvents>;

}  // namespace qv
