// The events a Grid raises to the viewer control, and the list of sinks they go to.
//
// A sink derives from GridEvents and overrides what it handles; the other events do nothing.
// GridEventList is the observer list of one Grid. During a raise a handler may add or remove
// sinks (added ones hear the next event, removed ones hear nothing more), destroy itself (a sink
// leaves every list when it is destroyed) or destroy the Grid that owns the list; Raise then
// returns false and the Grid touches none of its members afterwards.
//
//     class DeleteForwarder : public GridEvents {
//         void Delete(const std::string& p_sKeys) override { host.RaiseDelete(p_sKeys); }
//     };
//     grid->AddSink(&forwarder);
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

class GridEventList;

class GridEvents {
  public:
    GridEvents() = default;
    GridEvents(const GridEvents&) = delete;
    GridEvents& operator=(const GridEvents&) = delete;
    // Leaves every list the sink is in.
    virtual ~GridEvents();

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

  private:
    friend class GridEventList;
    std::vector<GridEventList*> m_lists;
};

class GridEventList {
  public:
    GridEventList() = default;
    GridEventList(const GridEventList&) = delete;
    GridEventList& operator=(const GridEventList&) = delete;
    ~GridEventList();

    // Adding a sink twice adds it once; null is ignored.
    void Add(GridEvents* p_oSink);
    void Remove(GridEvents* p_oSink);
    bool Contains(const GridEvents* p_oSink) const;

    // Calls p_fnEvent for each sink in the order added. Returns false when the list was destroyed
    // while the event ran. A failure of a sink propagates and ends the raise.
    bool Raise(const std::function<void(GridEvents&)>& p_fnEvent);

  private:
    struct RaiseFrame;
    friend class GridEvents;

    void Forget(GridEvents* p_oSink);

    std::vector<GridEvents*> m_sinks;  // null: removed while raising
    RaiseFrame* m_pFrames = nullptr;
};

}  // namespace qv
