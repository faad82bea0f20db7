#include "viewer_test_support.h"

#include "facade/sample_market.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <algorithm>

namespace qv::testing {

RecordingHost::RecordingHost()
    : Sink(std::make_shared<ViewerEventDispatcher>(
          [this](std::string_view p_sName, std::span<Variant> p_args) {
              Events.push_back({std::string(p_sName), {p_args.begin(), p_args.end()}});
              if (OnNext) {
                  auto next = std::move(OnNext);
                  OnNext = nullptr;
                  next(p_sName, p_args);
              }
          })) {}

std::vector<std::string> RecordingHost::Names() const {
    std::vector<std::string> names;
    for (const auto& event : Events) {
        names.push_back(event.Name);
    }
    return names;
}

size_t RecordingHost::Count(const std::string& p_sName) const {
    return static_cast<size_t>(std::count_if(
        Events.begin(), Events.end(), [&](const auto& event) { return event.Name == p_sName; }));
}

const RaisedEvent* RecordingHost::Last(const std::string& p_sName) const {
    const auto found = std::find_if(Events.rbegin(), Events.rend(),
                                    [&](const auto& event) { return event.Name == p_sName; });
    return found == Events.rend() ? nullptr : &*found;
}

Variant RecordingContainer::Invoke(std::string_view p_sName, InvokeKind, std::span<Variant>) {
    Calls.emplace_back(p_sName);
    return Variant();
}

ViewerTest::ViewerTest() {
    m_oViewer->AddSink(m_oHost.Sink);
    m_oViewer->SetParent(m_oContainer);
    m_oViewer->SetExtent(12000, 8000);
}

std::string ViewerTest::PrimaryText(int32_t p_lRows) const {
    return m_oViewer->olePriGrid()->RenderText(0, p_lRows);
}

Variant ViewerTest::PrimaryValue(const std::string& p_sField) const {
    return m_oViewer->olePriGrid()->DataSource()->Fields().Item(p_sField).Value();
}

bool ViewerTest::Show(ViewerType p_eType, int32_t p_lOwner) {
    m_oViewer->SetViewerType(p_eType);
    m_oViewer->SetStartDate(LastDay());
    if (p_eType >= vt_StockHistory && p_eType <= vt_SectorHistory) {
        PickKeys(*m_oViewer->Strategy()->ViewerElements());
    }
    if (p_eType == vt_FinderResults || p_eType == vt_Portfolio) {
        m_oViewer->SetOwnerId(facade::kDemoOwnerId);
        m_oViewer->SetPortfolioID(1);
        m_oViewer->SetFinderResults(StockListRows());
    }
    if (p_lOwner != 0) {
        m_oViewer->SetOwnerId(p_lOwner);
    }
    const bool shown = m_oViewer->UpdateViewer();
    m_oHost.Events.clear();
    m_oLog->Clear();
    return shown;
}

}  // namespace qv::testing
