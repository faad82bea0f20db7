#include "strategy_test_support.h"

#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/error_reporter.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/stock_viewer.h"

#include <filesystem>
#include <random>

namespace qv::testing {
namespace {

constexpr int32_t kLastDay = 46356;

// The market's folder, removed when the test program ends.
struct TempFolder {
    std::filesystem::path m_oPath = std::filesystem::temp_directory_path() /
                                    ("qv-strategies-" + std::to_string(std::random_device()()));
    TempFolder() { std::filesystem::create_directories(m_oPath); }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_oPath, ignored);
    }
};

std::shared_ptr<facade::FacadeBackend> MakeBackend() {
    static TempFolder s_oFolder;
    auto oStore = std::make_shared<facade::MarketStore>(
        (s_oFolder.m_oPath / "strategies.db").string(), facade::MarketStore::Access::ReadWrite);
    facade::GenerateSampleMarket(*oStore, {60, 12, 30, kLastDay, 5}, {});
    return std::make_shared<facade::FacadeBackend>(oStore);
}

const std::shared_ptr<facade::FacadeBackend>& SharedBackend() {
    static const std::shared_ptr<facade::FacadeBackend> s_oBackend = MakeBackend();
    return s_oBackend;
}

}  // namespace

StrategyTest::StrategyTest() {
    auto oReal = std::make_shared<ComponentFactory>();
    facade::RegisterFacadeComponents(*oReal, SharedBackend());
    facade::RegisterRecordingComponents(m_oPlatform.Components(), oReal, facade::kFacadeProgIds,
                                        m_oLog);
    SharedBackend()->Login(facade::kDemoOwnerId, "");
    m_oPriGrid.SetGridObject(m_oPriControl);
    m_oSecGrid.SetGridObject(m_oSecControl);
}

facade::FacadeBackend& StrategyTest::Backend() {
    return *SharedBackend();
}

double StrategyTest::LastDay() {
    return kLastDay;
}

int32_t StrategyTest::NewOwner() {
    static int32_t s_lNext = 500;
    SharedBackend()->Login(++s_lNext, "");
    return s_lNext;
}

std::vector<Variant> StrategyTest::ArgumentsOf(const std::string& p_sMethod) const {
    const std::vector<facade::FacadeCall> calls = m_oLog->CallsTo(p_sMethod);
    EXPECT_EQ(calls.size(), 1u) << p_sMethod;
    return calls.empty() ? std::vector<Variant>() : calls.front().m_aArgumentsBefore;
}

size_t StrategyTest::CallsTo(const std::string& p_sMethod) const {
    return m_oLog->CallsTo(p_sMethod).size();
}

void StrategyTest::BreakViewerFacade() {
    m_oPlatform.Components().Unregister(facade::prog_id::kViewerReader);
    m_oPlatform.Components().Register(facade::prog_id::kViewerReader,
                                      [] { return std::make_shared<DispatchObject>(); });
}

std::shared_ptr<Recordset> StrategyTest::StockListRows() {
    StockViewer stocks;
    stocks.ViewerElements()->SetStartDate(LastDay());
    Grid priGrid, secGrid;
    auto control = std::make_shared<GridControl>();
    priGrid.SetGridObject(control);
    secGrid.SetGridObject(std::make_shared<GridControl>());
    stocks.Initialize(priGrid, secGrid);
    m_oLog->Clear();
    return control->DataSource();
}

void StrategyTest::PickKeys(ViewerElements& p_oElements) {
    const std::shared_ptr<Recordset> rows = StockListRows();
    ASSERT_TRUE(rows && rows->RecordCount() > 0);
    rows->MoveFirst();
    p_oElements.SetSymbol(rows->Fields().Item("symbol").Value().ToString());
    p_oElements.SetIndCode(rows->Fields().Item("indcode").Value().ToLong());
    p_oElements.SetSectorCode(rows->Fields().Item("sectorcode").Value().ToLong());
}

size_t StrategyTest::Reports(const std::string& p_sLabel) {
    return m_oPlatform.Reporter().CountReports(p_sLabel);
}

std::vector<int32_t> FrozenIds(Grid& p_oGrid) {
    std::vector<int32_t> ids;
    for (const auto& column : *p_oGrid.GridColumns()) {
        if (column->SplitNumber() == 0) {
            ids.push_back(column->ParameterId());
        }
    }
    return ids;
}

int32_t RowCount(const GridControl& p_oControl) {
    return p_oControl.DataSource() ? p_oControl.DataSource()->RecordCount() : 0;
}

}  // namespace qv::testing
