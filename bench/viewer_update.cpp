// The viewer control's own cost next to what it asks of others, on a generated market of 5,000
// stocks:
//
//   BM_UpdateViewer        UpdateViewer of the whole stock list with the default layout: the
//                          query, the columns of both grids, binding, selecting the first row,
//                          filtering the industry grid
//   BM_FacadeStockViewer   the "StockViewer" call alone, with the arguments the viewer sent
//   BM_RowChange           the primary grid's current row moving between two stocks of different
//                          industries, which re-filters the industry grid
//   BM_FilterDirectly      the same two filters set on the industry rows directly
//   BM_HeaderSortInPlace   a click on the Price header of a whole list of 100,000 rows (the stock
//                          list twenty times over), which sorts the bound rows in place; each
//                          click reverses the last
//   BM_SortDirectly        the same two sorts set on those rows directly
//   BM_HeaderSortByQuery   a click on the Price header of the stock list when not all rows are
//                          there, which fetches the list again in the new order
//
// Times are the CPU time of the benchmark's thread, so that other processes on a shared machine
// do not enter the ratios. Memory: the heap a viewer showing the list holds against a copy of its
// primary rows alone.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_market.h"
#include "bench/ratio.h"
#include "control/viewer.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/sample_market.h"
#include "outside/component_factory.h"
#include "outside/grid_control.h"
#include "outside/grid_control_column.h"
#include "outside/grid_control_columns.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "support/recording_facade.h"

namespace {

using namespace qv;

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// The viewer acts for an owner without layouts of its own, so that its list has the system
// layout's columns.
constexpr int32_t kOwnerId = facade::kDemoOwnerId + 1;

struct Market {
    PlatformContext context;
    std::unique_ptr<ScopedPlatform> installed;
    std::shared_ptr<facade::FacadeCallLog> log = std::make_shared<facade::FacadeCallLog>();
    std::shared_ptr<ComponentFactory> real = std::make_shared<ComponentFactory>();
    double lastDay = 0;
    std::string timeCode;
};

Market& TheMarket() {
    static Market* market = [] {
        auto* created = new Market;
        const bench::GeneratedMarket generated = bench::GenerateMarket("viewer", 5000, 150, 260);
        created->lastDay = generated.lastDay;
        created->timeCode = generated.backend->Login(kOwnerId, "");
        facade::RegisterFacadeComponents(*created->real, generated.backend);
        facade::RegisterRecordingComponents(created->context.Components(), created->real,
                                            facade::kFacadeProgIds, created->log);
        created->installed = std::make_unique<ScopedPlatform>(created->context);
        return created;
    }();
    return *market;
}

std::shared_ptr<Viewer> StockList() {
    Market& market = TheMarket();
    auto viewer = std::make_shared<Viewer>();
    viewer->SetViewerType(vt_Stocks);
    viewer->SetOwnerId(kOwnerId);
    viewer->SetTimeCode(market.timeCode);
    viewer->SetStartDate(market.lastDay);
    viewer->SetMaxRows(10000);
    viewer->SetReturnAll(true);
    return viewer;
}

void BM_UpdateViewer(benchmark::State& state) {
    const std::shared_ptr<Viewer> viewer = StockList();
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        const bool shown = viewer->UpdateViewer();
        state.SetIterationTime(bench::ThreadSeconds() - start);
        if (!shown || viewer->RecordCount() != 5000) {
            state.SkipWithError("the stock list is not whole");
            return;
        }
    }
}

void BM_FacadeStockViewer(benchmark::State& state) {
    Market& market = TheMarket();
    market.log->Clear();
    StockList()->UpdateViewer();
    const std::vector<facade::FacadeCall> calls = market.log->CallsTo("StockViewer");
    if (calls.size() != 1) {
        state.SkipWithError("the viewer made no single StockViewer call");
        return;
    }
    for (auto _ : state) {
        std::vector<Variant> args = calls.front().m_aArgumentsBefore;
        const double start = bench::ThreadSeconds();
        const auto facade = market.real->CreateObject(facade::prog_id::kViewerReader);
        benchmark::DoNotOptimize(CallMethod(*facade, facade_protocol::stock_viewer::kMethod, args));
        state.SetIterationTime(bench::ThreadSeconds() - start);
    }
}

// Two rows of the list whose stocks are in different industries.
std::pair<int32_t, int32_t> RowsOfTwoIndustries(const Recordset& rows) {
    auto clone = rows.Clone();
    clone->MoveFirst();
    const int32_t first = clone->Fields().Item("indcode").Value().ToLong();
    for (int32_t row = 0; !clone->IsEOF(); clone->MoveNext(), ++row) {
        if (clone->Fields().Item("indcode").Value().ToLong() != first) {
            return {0, row};
        }
    }
    return {0, 0};
}

void BM_RowChange(benchmark::State& state) {
    const std::shared_ptr<Viewer> viewer = StockList();
    viewer->UpdateViewer();
    GridControl& grid = *viewer->olePriGrid();
    const auto [first, second] = RowsOfTwoIndustries(*grid.DataSource());
    bool toSecond = true;
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        grid.SetCurrentRow(toSecond ? second : first);
        state.SetIterationTime(bench::ThreadSeconds() - start);
        toSecond = !toSecond;
    }
}

void BM_FilterDirectly(benchmark::State& state) {
    const std::shared_ptr<Viewer> viewer = StockList();
    viewer->UpdateViewer();
    const auto& stocks = viewer->olePriGrid()->DataSource();
    const auto [first, second] = RowsOfTwoIndustries(*stocks);
    auto codeAt = [&](int32_t row) {
        auto clone = stocks->Clone();
        clone->SetAbsolutePosition(row + 1);
        return clone->Fields().Item("indcode").Value().ToLong();
    };
    const std::string filters[2] = {"indcode = " + std::to_string(codeAt(first)),
                                    "indcode = " + std::to_string(codeAt(second))};
    const std::shared_ptr<Recordset> industries = viewer->oleSecGrid()->DataSource();
    bool toSecond = true;
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        industries->SetFilter(filters[toSecond ? 1 : 0]);
        state.SetIterationTime(bench::ThreadSeconds() - start);
        toSecond = !toSecond;
    }
}

// The stock list twenty times over, bound to the primary grid of a whole list.
std::shared_ptr<Viewer> HundredThousandRows() {
    const std::shared_ptr<Viewer> viewer = StockList();
    viewer->UpdateViewer();
    const std::shared_ptr<Recordset> stocks = viewer->olePriGrid()->DataSource();
    const std::shared_ptr<Recordset> rows = stocks->Copy();
    const int32_t fields = stocks->Fields().Count();
    std::vector<Variant> values(static_cast<size_t>(fields));
    for (int copy = 1; copy < 20; ++copy) {
        for (int32_t position = 0; position < stocks->ViewCount(); ++position) {
            const uint32_t row = stocks->ViewRowId(position);
            for (int32_t field = 0; field < fields; ++field) {
                values[static_cast<size_t>(field)] = stocks->ValueAt(row, field);
            }
            rows->AddNew(values);
        }
    }
    viewer->olePriGrid()->SetDataSource(rows);
    return viewer;
}

int16_t PriceColumn(const GridControl& grid) {
    for (int16_t column = 0; column < grid.Columns()->Count(); ++column) {
        if (grid.Columns()->Item(column)->DataField() == "Price") {
            return column;
        }
    }
    return -1;
}

void BM_HeaderSortInPlace(benchmark::State& state) {
    static const std::shared_ptr<Viewer> viewer = HundredThousandRows();
    GridControl& grid = *viewer->olePriGrid();
    const int16_t price = PriceColumn(grid);
    if (price < 0 || grid.DataSource()->RecordCount() != 100000) {
        state.SkipWithError("no Price column on 100,000 rows");
        return;
    }
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        grid.HeaderClick(price);
        state.SetIterationTime(bench::ThreadSeconds() - start);
    }
}

void BM_SortDirectly(benchmark::State& state) {
    static const std::shared_ptr<Recordset> rows =
        HundredThousandRows()->olePriGrid()->DataSource();
    const std::string sorts[2] = {"[Price] DESC,[Symbol] ASC", "[Price] ASC,[Symbol] ASC"};
    bool ascending = false;
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        rows->SetSort(sorts[ascending ? 1 : 0]);
        state.SetIterationTime(bench::ThreadSeconds() - start);
        ascending = !ascending;
    }
}

void BM_HeaderSortByQuery(benchmark::State& state) {
    const std::shared_ptr<Viewer> viewer = StockList();
    viewer->UpdateViewer();
    GridControl& grid = *viewer->olePriGrid();
    const int16_t price = PriceColumn(grid);
    if (price < 0) {
        state.SkipWithError("no Price column");
        return;
    }
    for (auto _ : state) {
        // The list's query says whether it returned all rows; a partial list sorts by a query.
        viewer->SetReturnAll(false);
        const double start = bench::ThreadSeconds();
        grid.HeaderClick(price);
        state.SetIterationTime(bench::ThreadSeconds() - start);
        if (viewer->RecordCount() != 5000) {
            state.SkipWithError("the sorted list is not whole");
            return;
        }
    }
}

BENCHMARK(BM_UpdateViewer)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FacadeStockViewer)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_RowChange)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FilterDirectly)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeaderSortInPlace)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_SortDirectly)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_HeaderSortByQuery)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

void MeasureMemory() {
    TheMarket();
    const size_t before = HeapInUse();
    std::shared_ptr<Viewer> viewer = StockList();
    viewer->UpdateViewer();
    const size_t withViewer = HeapInUse() - before;
    const size_t beforeCopy = HeapInUse();
    std::shared_ptr<Recordset> copy = viewer->olePriGrid()->DataSource()->Copy();
    const size_t rowsAlone = HeapInUse() - beforeCopy;
    qv::bench::PrintRatio("viewer.memory.5k",
                          static_cast<double>(withViewer) / static_cast<double>(rowsAlone), 2);
}

}  // namespace

int main(int argc, char** argv) {
    const int result = qv::bench::RunWithRatios(
        argc, argv,
        {{"viewer.update.5k", "BM_UpdateViewer/min_time:2.000/manual_time",
          "BM_FacadeStockViewer/min_time:2.000/manual_time", 1.5},
         {"viewer.rowchange.5k", "BM_RowChange/manual_time", "BM_FilterDirectly/manual_time", 2},
         {"sort.header.100k", "BM_HeaderSortInPlace/min_time:2.000/manual_time",
          "BM_SortDirectly/min_time:2.000/manual_time", 1.3},
         {"sort.requery.5k", "BM_HeaderSortByQuery/min_time:2.000/manual_time",
          "BM_UpdateViewer/min_time:2.000/manual_time", 1.2}});
    MeasureMemory();
    return result;
}
