// The viewer control's creation and teardown, its host's event sinks, and the viewer type with
// the strategy of each type.
#include "control/viewer.h"

#include "control/viewer_events.h"
#include "control/viewer_sinks.h"
#include "grid/grid.h"
#include "outside/automation_error.h"
#include "outside/column_selector.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "state/viewer_elements.h"
#include "strategies/finder_viewer.h"
#include "strategies/industry_history.h"
#include "strategies/industry_viewer.h"
#include "strategies/portfolio_viewer.h"
#include "strategies/sector_history.h"
#include "strategies/sector_viewer.h"
#include "strategies/stock_history.h"
#include "strategies/stock_viewer.h"

#include <algorithm>

namespace qv {

Viewer::Viewer()
    : m_olePriGrid(std::make_shared<GridControl>()),
      m_oleSecGrid(std::make_shared<GridControl>()),
      m_oPriControlSink(std::make_unique<PrimaryControlSink>(*this)),
      m_oSecControlSink(std::make_unique<SecondaryControlSink>(*this)),
      m_oPriWrapperSink(std::make_unique<PrimaryWrapperSink>(*this)),
      m_oSecWrapperSink(std::make_unique<SecondaryWrapperSink>(*this)) {
    m_olePriGrid->AddSink(m_oPriControlSink.get());
    m_oleSecGrid->AddSink(m_oSecControlSink.get());
    m_dlgColSel = std::make_shared<DialogColumnSelector>();
}

Viewer::~Viewer() {
    Teardown();
}

void Viewer::AddSink(const std::shared_ptr<ViewerEvents>& p_oSink) {
    if (!p_oSink) {
        return;
    }
    for (const auto& sink : m_sinks) {
        if (sink.lock() == p_oSink) {
            return;
        }
    }
    m_sinks.push_back(p_oSink);
}

void Viewer::RemoveSink(const std::shared_ptr<ViewerEvents>& p_oSink) {
    std::erase_if(m_sinks, [&](const std::weak_ptr<ViewerEvents>& sink) {
        return sink.expired() || sink.lock() == p_oSink;
    });
}

bool Viewer::RaiseEvent(const std::function<void(ViewerEvents&)>& p_fnEvent) {
    const std::weak_ptr<bool> alive = m_oAlive;
    const std::vector<std::weak_ptr<ViewerEvents>> sinks = m_sinks;
    for (const auto& weak : sinks) {
        const std::shared_ptr<ViewerEvents> sink = weak.lock();
        if (!sink) {
            continue;
        }
        // A sink removed by an earlier handler of this event hears nothing more.
        const bool registered = std::any_of(m_sinks.begin(), m_sinks.end(),
                                            [&](const auto& held) { return held.lock() == sink; });
        if (!registered) {
            continue;
        }
        p_fnEvent(*sink);
        if (alive.expired()) {
            return false;
        }
    }
    return true;
}

// --- Viewer type -------------------------------------------------------------------------------

qv::ViewerType Viewer::ViewerType() const {
    return m_oStrategy ? m_oStrategy->ViewerElements()->ViewerType() : vt_Stocks;
}

std::shared_ptr<ViewerFunctionality> Viewer::CreateStrategy(int32_t p_eViewerType) const {
    switch (p_eViewerType) {
        case vt_Stocks:
            return std::make_shared<StockViewer>();
        case vt_Industries:
            return std::make_shared<IndustryViewer>();
        case vt_Sectors:
            return std::make_shared<SectorViewer>();
        case vt_StockHistory:
            return std::make_shared<StockHistory>();
        case vt_IndustryHistory:
            return std::make_shared<IndustryHistory>();
        case vt_SectorHistory:
            return std::make_shared<SectorHistory>();
        case vt_FinderResults:
            return std::make_shared<FinderViewer>();
        case vt_Portfolio:
            return std::make_shared<PortfolioViewer>();
        default:
            break;
    }
    throw AutomationError(errors::kInvalidViewerType, "Viewer", "Invalid Viewer Type");
}

void Viewer::SetViewerType(int32_t p_eViewerType) {
    ChangeRunningStatus("Initializing . . .", true);
    std::string layoutPath = kDefaultLayoutPath;
    std::string server = kDefaultServerAddress;
    if (m_oStrategy) {
        const auto elements = m_oStrategy->ViewerElements();
        if (!elements->GridLayoutPath().empty()) {
            layoutPath = elements->GridLayoutPath();
        }
        if (!elements->ServerAddress().empty()) {
            server = elements->ServerAddress();
        }
    }
    std::shared_ptr<ViewerFunctionality> strategy;
    try {
        strategy = CreateStrategy(p_eViewerType);
    } catch (...) {
        // The host gets the error; a busy indicator left over the old list would only mislead.
        ChangeRunningStatus("", false);
        throw;
    }
    m_oStrategy = std::move(strategy);

    m_oPriGrid.reset();
    m_oSecGrid.reset();
    m_oPriGrid = std::make_shared<Grid>();
    m_oSecGrid = std::make_shared<Grid>();
    m_oPriGrid->AddSink(m_oPriWrapperSink.get());
    m_oSecGrid->AddSink(m_oSecWrapperSink.get());
    m_oPriGrid->Initialize(Grid::kInitializeComplete, "", p_eViewerType, "", m_oStrategy.get(),
                           false, false, 0);
    m_oPriGrid->SetColumnSelector(m_dlgColSel);
    m_oSecGrid->SetColumnSelector(m_dlgColSel);

    const auto elements = m_oStrategy->ViewerElements();
    elements->SetViewerType(static_cast<qv::ViewerType>(p_eViewerType));
    SetGridLayoutPath(layoutPath);
    SetServerAddress(server);
    ChangeRunningStatus("", false);
}

// --- Teardown ----------------------------------------------------------------------------------

void Viewer::Destroy() {
    Teardown();
}

void Viewer::Teardown() {
    m_oPriGrid.reset();
    m_oSecGrid.reset();
    m_oStrategy.reset();
    m_rCompanyList.reset();
    m_rSectorList.reset();
    m_rIndustryList.reset();
    m_rsFind.reset();
}

}  // namespace qv
