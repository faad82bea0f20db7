// What the strategy tests share: a small generated market of their own, the facade components
// registered behind the recording wrapper in each test's platform with the demo owner logged in,
// and the two grids of a viewer with their controls.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grid/grid.h"
#include "outside/grid_control.h"
#include "outside/scripted_services.h"
#include "outside/variant.h"
#include "support/recording_facade.h"

namespace qv {
class Recordset;
class ViewerElements;
}  // namespace qv

namespace qv::facade {
class FacadeBackend;
}

namespace qv::testing {

class StrategyTest : public ::testing::Test {
  protected:
    StrategyTest();

    static facade::FacadeBackend& Backend();
    // The last trading day of the generated market.
    static double LastDay();
    // A new owner for each call, so that tests that log in or save do not meet each other. The
    // owner is logged in: the facade calls that follow act for it.
    static int32_t NewOwner();

    // The arguments of the only call made to p_sMethod, as the strategy sent them.
    std::vector<Variant> ArgumentsOf(const std::string& p_sMethod) const;
    size_t CallsTo(const std::string& p_sMethod) const;
    // Replaces the viewer facade by an object that knows no method.
    void BreakViewerFacade();
    size_t Reports(const std::string& p_sLabel);
    // The stock list of the market's last day, as a host would hand it in; the calls made for it
    // are cleared from the log.
    std::shared_ptr<Recordset> StockListRows();
    // The symbol, industry and sector of the first stock of that list, so that a history has rows.
    void PickKeys(ViewerElements& p_oElements);

    ScopedTestPlatform m_oPlatform;
    std::shared_ptr<facade::FacadeCallLog> m_oLog = std::make_shared<facade::FacadeCallLog>();
    std::shared_ptr<GridControl> m_oPriControl = std::make_shared<GridControl>();
    std::shared_ptr<GridControl> m_oSecControl = std::make_shared<GridControl>();
    Grid m_oPriGrid;
    Grid m_oSecGrid;
};

// The parameter ids of the frozen (split 0) columns of the grid's collection, in collection order.
std::vector<int32_t> FrozenIds(Grid& p_oGrid);
int32_t RowCount(const GridControl& p_oControl);

}  // namespace qv::testing
