// What the control master adds to the control's own work, on a generated market of 5,000 stocks,
// with the scripted host holding a real Viewer as its main control:
//
//   BM_DateChangedEvent   "DATECHANGED" through HandleEvents on the whole stock list: the new
//                         date and limits by name, the query, the helper strip's captions
//   BM_DateDirectly       the same date and limits set on the control and UpdateViewer called
//   BM_HostInit           a new control started by InitMainControl and FinalizeInit from the
//                         stock list's start-up array
//   BM_ControlDirectly    a new control given the same properties and UpdateViewer called
//
// Times are the CPU time of the benchmark's thread, so that other processes on a shared machine
// do not enter the ratios.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/bench_market.h"
#include "bench/ratio.h"
#include "control/viewer.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/sample_market.h"
#include "host/control_master.h"
#include "outside/event_information.h"
#include "outside/platform_context.h"
#include "outside/scripted_host.h"

namespace {

using namespace qv;

// An owner without layouts of its own, so that the list has the system layout's columns.
constexpr int32_t kOwnerId = facade::kDemoOwnerId + 1;
constexpr int32_t kMaxRows = 10000;

struct Market {
    PlatformContext context;
    std::unique_ptr<ScopedPlatform> installed;
    double lastDay = 0;
    std::string timeCode;
};

Market& TheMarket() {
    static Market* market = [] {
        auto* created = new Market;
        const bench::GeneratedMarket generated = bench::GenerateMarket("host", 5000, 150, 260);
        created->lastDay = generated.lastDay;
        created->timeCode = generated.backend->Login(kOwnerId, "");
        facade::RegisterFacadeComponents(created->context.Components(), generated.backend);
        created->installed = std::make_unique<ScopedPlatform>(created->context);
        return created;
    }();
    return *market;
}

// The whole stock list on the market's last day, all rows.
Variant StockListStartup() {
    const Market& market = TheMarket();
    VariantArray startup = VariantArray::Vector(0, 8);
    startup.At(0) = Variant(int16_t{vt_Stocks});
    startup.At(1) = Variant(kOwnerId);
    startup.At(3) = Variant(kMaxRows);
    startup.At(4) = Variant::Date(market.lastDay);
    startup.At(5) = Variant::Date(market.lastDay);
    startup.At(6) = Variant(int16_t{0});
    startup.At(7) = Variant(false);
    startup.At(8) = Variant(int32_t{0});
    return Variant(std::move(startup));
}

std::shared_ptr<ScriptedHost> HostOf(const std::shared_ptr<Viewer>& p_oViewer) {
    auto host = std::make_shared<ScriptedHost>();
    host->Answer("TC", Variant(TheMarket().timeCode));
    host->SetMainControl(p_oViewer);
    return host;
}

// The control as the master leaves it after start-up, set by hand.
std::shared_ptr<Viewer> StockList() {
    const Market& market = TheMarket();
    auto viewer = std::make_shared<Viewer>();
    viewer->SetTimeCode(market.timeCode);
    viewer->SetViewerType(vt_Stocks);
    viewer->SetOwnerId(kOwnerId);
    viewer->SetMaxRows(kMaxRows);
    viewer->SetReturnAll(true);
    viewer->SetStartDate(market.lastDay);
    viewer->SetAvgType("A");
    viewer->SetIndCode(0);
    return viewer;
}

// Two days in turn, so that each query asks for another date than the last.
double DayOf(int64_t p_lIteration) {
    return TheMarket().lastDay - static_cast<double>(p_lIteration % 2);
}

void BM_DateChangedEvent(benchmark::State& state) {
    const std::shared_ptr<Viewer> viewer = std::make_shared<Viewer>();
    const std::shared_ptr<ScriptedHost> host = HostOf(viewer);
    CControlMaster master;
    master.InitMainControl(StockListStartup(), *host);
    master.FinalizeInit(*host);
    int64_t iteration = 0;
    for (auto _ : state) {
        const auto event = std::make_shared<EventInformation>(
            "DATECHANGED", std::vector<Variant>{Variant(), Variant::Date(DayOf(++iteration)),
                                                Variant(kMaxRows), Variant(true)});
        host->Log()->Clear();
        const double start = bench::ThreadSeconds();
        master.HandleEvents(*event, *host);
        state.SetIterationTime(bench::ThreadSeconds() - start);
        if (viewer->RecordCount() != 5000) {
            state.SkipWithError("the stock list is not whole");
            return;
        }
    }
}

void BM_DateDirectly(benchmark::State& state) {
    const std::shared_ptr<Viewer> viewer = StockList();
    viewer->UpdateViewer();
    int64_t iteration = 0;
    for (auto _ : state) {
        const double day = DayOf(++iteration);
        const double start = bench::ThreadSeconds();
        viewer->SetStartDate(day);
        viewer->SetMaxRows(kMaxRows);
        viewer->SetReturnAll(true);
        const bool shown = viewer->UpdateViewer();
        state.SetIterationTime(bench::ThreadSeconds() - start);
        if (!shown || viewer->RecordCount() != 5000) {
            state.SkipWithError("the stock list is not whole");
            return;
        }
    }
}

void BM_HostInit(benchmark::State& state) {
    const Variant startup = StockListStartup();
    std::shared_ptr<Viewer> previous;
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        auto viewer = std::make_shared<Viewer>();
        const std::shared_ptr<ScriptedHost> host = HostOf(viewer);
        CControlMaster master;
        master.InitMainControl(startup, *host);
        master.FinalizeInit(*host);
        state.SetIterationTime(bench::ThreadSeconds() - start);
        if (viewer->RecordCount() != 5000) {
            state.SkipWithError("the stock list is not whole");
            return;
        }
        // The last control goes outside the measured time, as in the baseline.
        previous = std::move(viewer);
    }
}

void BM_ControlDirectly(benchmark::State& state) {
    TheMarket();
    std::shared_ptr<Viewer> previous;
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        std::shared_ptr<Viewer> viewer = StockList();
        const bool shown = viewer->UpdateViewer();
        state.SetIterationTime(bench::ThreadSeconds() - start);
        if (!shown || viewer->RecordCount() != 5000) {
            state.SkipWithError("the stock list is not whole");
            return;
        }
        previous = std::move(viewer);
    }
}

BENCHMARK(BM_DateChangedEvent)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DateDirectly)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_HostInit)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ControlDirectly)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunWithRatios(
        argc, argv,
        {{"host.event.datechanged", "BM_DateChangedEvent/min_time:2.000/manual_time",
          "BM_DateDirectly/min_time:2.000/manual_time", 1.1},
         {"host.init", "BM_HostInit/min_time:2.000/manual_time",
          "BM_ControlDirectly/min_time:2.000/manual_time", 1.2}});
}
