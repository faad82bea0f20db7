// A layout saved and loaded back through the viewer control, next to the two facade calls it
// makes for them, on a small generated market:
//
//   BM_SaveReloadThroughControl   SaveLayout of the control (in place) and LoadLayout of the
//                                 saved layout, which shows it: the columns are built again and
//                                 the rows bound to them
//   BM_FacadeCalls                "SaveLayout" and "GetLayout" of the facade alone, with the
//                                 same 40-column layout
//
// The list is one whose rows the host hands in (screen results with the stock list's rows), so
// that the reload measures the layout's way through the control and not a list query, which
// bench_viewer_update measures.
//
// The ratio is the control's own share of a save and reload; times are the CPU time of the
// benchmark's thread.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "bench/bench_market.h"
#include "bench/ratio.h"
#include "control/viewer.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/sample_market.h"
#include "facade/system_layouts.h"
#include "outside/component_factory.h"
#include "outside/facade_protocol.h"
#include "outside/grid_control.h"
#include "outside/layout_description.h"
#include "outside/platform_context.h"

namespace {

using namespace qv;

constexpr int32_t kOwnerId = facade::kDemoOwnerId + 1;
constexpr size_t kColumns = 40;

struct Market {
    PlatformContext context;
    std::unique_ptr<ScopedPlatform> installed;
    std::shared_ptr<Viewer> viewer = std::make_shared<Viewer>();
    LayoutDescription layout;
};

// The stock list's system layout with every other field of the catalogue a stock list can show
// after its own columns, cut to 40 columns.
LayoutDescription WideLayout(const Variant& p_vSystem) {
    LayoutDescription layout = layout_codec::Parse(p_vSystem);
    std::vector<int32_t> ids;
    for (int32_t id = 1; id < 1000; ++id) {
        ids.push_back(id);
    }
    for (const LayoutColumn& column : facade::BuildLayoutColumns(ids, vt_Stocks, -1)) {
        const bool present = std::any_of(
            layout.Columns.begin(), layout.Columns.end(),
            [&](const LayoutColumn& held) { return held.SQLColumn == column.SQLColumn; });
        if (!present && layout.Columns.size() < kColumns) {
            layout.Columns.push_back(column);
        }
    }
    return layout;
}

Market& TheMarket() {
    static Market* market = [] {
        auto* created = new Market;
        const bench::GeneratedMarket generated = bench::GenerateMarket("layouts", 60, 12, 30);
        generated.backend->Login(kOwnerId, "");
        facade::RegisterFacadeComponents(created->context.Components(), generated.backend);
        created->installed = std::make_unique<ScopedPlatform>(created->context);

        // The rows of the stock list with the wide layout's fields, which a host hands to a list
        // of screen results.
        Viewer stocks;
        stocks.SetViewerType(vt_Stocks);
        stocks.SetOwnerId(kOwnerId);
        stocks.SetStartDate(generated.lastDay);
        stocks.UpdateViewer();
        const Variant wide = layout_codec::ToVariant(WideLayout(stocks.LayoutInfo()));
        stocks.SetLayoutInfo(wide);
        stocks.UpdateViewer(false, false);

        Viewer& viewer = *created->viewer;
        viewer.SetViewerType(vt_FinderResults);
        viewer.SetOwnerId(kOwnerId);
        viewer.SetFinderResultsType(0);
        viewer.SetFinderResults(stocks.olePriGrid()->DataSource());
        viewer.SetLayoutInfo(wide);
        viewer.UpdateViewer();
        viewer.SaveLayout(true);
        created->layout = layout_codec::Parse(viewer.LayoutInfo());
        if (created->layout.Columns.size() != kColumns || created->layout.Header.Id < 100) {
            throw std::runtime_error("the wide layout was not saved");
        }
        return created;
    }();
    return *market;
}

void BM_SaveReloadThroughControl(benchmark::State& state) {
    Market& market = TheMarket();
    const int32_t id = market.layout.Header.Id;
    const size_t reports = market.context.Reporter().Reports().size();
    for (auto _ : state) {
        market.viewer->SaveLayout(false);
        market.viewer->LoadLayout(id);
    }
    if (layout_codec::Parse(market.viewer->LayoutInfo()).Columns.size() != kColumns ||
        market.context.Reporter().Reports().size() != reports) {
        state.SkipWithError("the layout did not come back whole, or a failure was reported");
    }
}
BENCHMARK(BM_SaveReloadThroughControl)->Unit(benchmark::kMillisecond);

void BM_FacadeCalls(benchmark::State& state) {
    Market& market = TheMarket();
    const LayoutDescription& layout = market.layout;
    const LayoutSort sort = layout.Sort.value_or(LayoutSort{});
    for (auto _ : state) {
        namespace save = facade_protocol::save_layout;
        std::array<Variant, save::kCount> saveArgs{
            Variant(kOwnerId),
            Variant(layout.Header.Id),
            Variant(layout.Header.Name),
            Variant(layout.Header.Description),
            Variant(layout.Header.ParentId),
            Variant(sort.PriSortId),
            Variant(sort.PriSortDir),
            Variant(sort.SecSortId),
            Variant(sort.SecSortDir),
            layout_codec::ColumnTableToVariant(layout.Columns),
            Variant(int32_t{vt_FinderResults}),
            Variant(int16_t{0})};
        CallMethod(*CreateObject(facade_protocol::prog_id::kViewerWriter), save::kMethod, saveArgs);
        namespace get = facade_protocol::get_layout;
        std::array<Variant, get::kCount> getArgs{Variant(kOwnerId), Variant(layout.Header.Id)};
        benchmark::DoNotOptimize(CallMethod(*CreateObject(facade_protocol::prog_id::kViewerReader),
                                            get::kMethod, getArgs));
    }
}
BENCHMARK(BM_FacadeCalls)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunWithRatios(
        argc, argv, {{"layout.save_reload", "BM_SaveReloadThroughControl", "BM_FacadeCalls", 1.5}});
}
