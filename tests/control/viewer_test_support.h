// What the viewer-control tests share: a Viewer on the generated market behind the recording
// facade, a host that records every event in its late-bound form, and a container that records
// the calls it receives.
#pragma once

#include "control/viewer.h"
#include "control/viewer_events.h"
#include "outside/grid_control.h"
#include "strategies/strategy_test_support.h"

#include <memory>
#include <string>
#include <vector>

namespace qv::testing {

struct RaisedEvent {
    std::string Name;
    std::vector<Variant> Args;
};

class RecordingHost {
  public:
    RecordingHost();

    std::vector<std::string> Names() const;
    size_t Count(const std::string& p_sName) const;
    const RaisedEvent* Last(const std::string& p_sName) const;

    std::shared_ptr<ViewerEventDispatcher> Sink;
    std::vector<RaisedEvent> Events;
    // Runs inside the handler of the next event, then is cleared.
    std::function<void(std::string_view, std::span<Variant>)> OnNext;
};

class RecordingContainer : public DispatchObject {
  public:
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    std::vector<std::string> Calls;
};

class ViewerTest : public StrategyTest {
  protected:
    ViewerTest();

    // The control's rendered primary grid.
    std::string PrimaryText(int32_t p_lRows = 3) const;
    // A point in the middle of a data row or of the header of the primary grid, in twips.
    static int32_t RowY(int32_t p_lRow) {
        return GridControl::kHeaderHeight + p_lRow * GridControl::kRowHeight +
               GridControl::kRowHeight / 2;
    }
    static int32_t HeaderY() { return GridControl::kHeaderHeight / 2; }
    // The value of p_sField in the primary grid's current row.
    Variant PrimaryValue(const std::string& p_sField) const;
    GridControl& Pri() const { return *m_oViewer->olePriGrid(); }
    // A list of p_eType on the market's last day (a history of the first stock's keys, the demo
    // owner's portfolio for finder results and holdings), for p_lOwner when not 0; the host's
    // events and the facade's calls so far are forgotten. Whether the list was shown.
    bool Show(ViewerType p_eType, int32_t p_lOwner = 0);

    std::shared_ptr<Viewer> m_oViewer = std::make_shared<Viewer>();
    RecordingHost m_oHost;
    std::shared_ptr<RecordingContainer> m_oContainer = std::make_shared<RecordingContainer>();
};

}  // namespace qv::testing
