// Loading a layout onto a grid must cost about what inserting its columns costs, whatever the
// number of rows bound: the loader touches columns, never rows. Both cases make a new grid
// control bound to the rows each time (and drop the one before), so that every load really
// rebuilds the columns.
#include "bench/ratio.h"
#include "columns/grid_columns.h"
#include "grid/grid.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "state/grid_type.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kColumns = 40;

std::string FieldName(int32_t p_lColumn) {
    // Appended rather than "F" + std::to_string(...), on which GCC 12 at -O2 gives a false
    // -Wrestrict warning.
    std::string name("F");
    name += std::to_string(p_lColumn);
    return name;
}

// Key columns, data columns with widths of their own and fitted to captions, coloured captions,
// two system columns: a stock layout of 40 columns.
std::shared_ptr<qv::GridColumns> LayoutColumns() {
    static const char* const kCaptions[] = {"%Prc", "Gain", "EPS", "Rec", "P/E"};
    auto columns = std::make_shared<qv::GridColumns>();
    for (int32_t i = 0; i < kColumns; ++i) {
        const bool key = i < 2;
        const bool system = i >= kColumns - 2;
        const std::string caption =
            i % 8 == 3 ? kCaptions[(i / 8) % 5] : "Field " + std::to_string(i);
        const qv::ColumnState state = key      ? qv::csAlwaysVisible
                                      : system ? qv::csSystem
                                               : qv::csVisible;
        const int32_t parameterId = key ? 4 + i : i % 2 == 0 ? 13 : 2000 + i;
        auto column = columns->Add(FieldName(i), state, caption, parameterId, i + 1, 1, 0,
                                   key          ? "Left"
                                   : i % 5 == 0 ? "M/D/YY"
                                                : "#,##0.00");
        column->SetSplitNumber(key ? 0 : 1);
    }
    return columns;
}

std::shared_ptr<qv::Recordset> Rows(int32_t p_lCount) {
    auto rows = std::make_shared<qv::Recordset>();
    for (int32_t i = 0; i < kColumns; ++i) {
        rows->Fields().Append(FieldName(i), qv::adDouble);
    }
    rows->Open();
    std::vector<qv::Variant> values(kColumns);
    for (int32_t row = 0; row < p_lCount; ++row) {
        for (int32_t i = 0; i < kColumns; ++i) {
            values[static_cast<size_t>(i)] = qv::Variant(row * 0.5 + i);
        }
        rows->AddNew(values);
    }
    rows->MoveFirst();
    return rows;
}

const std::shared_ptr<qv::Recordset>& RowsOf(int32_t p_lCount) {
    static std::vector<std::pair<int32_t, std::shared_ptr<qv::Recordset>>> cache;
    for (const auto& entry : cache) {
        if (entry.first == p_lCount) {
            return entry.second;
        }
    }
    cache.emplace_back(p_lCount, Rows(p_lCount));
    return cache.back().second;
}

// What a strategy does after its query: Initialize (the layout loader) and binding the rows, on
// a grid control that shows the previous rows.
void BM_LoadLayout(benchmark::State& state) {
    const auto& rows = RowsOf(static_cast<int32_t>(state.range(0)));
    auto strategy = std::make_shared<qv::ViewerFunctionality>();
    auto grid = std::make_shared<qv::Grid>();
    grid->SetGridColumns(LayoutColumns());
    strategy->ViewerElements()->SetGridColumns(qv::gtPrimary, grid->GridColumns());
    for (auto _ : state) {
        auto control = std::make_shared<qv::GridControl>();
        control->SetDataSource(rows);
        grid->SetGridObject(control);
        grid->Initialize("StockLayout.grx", "Main Grid", 0, "Stock Viewer Report", strategy.get(),
                         true, false, 0);
        grid->SetDataSource(rows);
        benchmark::DoNotOptimize(control->Columns()->Count());
    }
}

// The baseline: the same number of columns inserted into a grid control bound to the rows.
void BM_PlainColumnInsertions(benchmark::State& state) {
    const auto& rows = RowsOf(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        auto control = std::make_shared<qv::GridControl>();
        control->SetDataSource(rows);
        auto& columns = *control->Columns();
        columns.Clear();
        for (int32_t i = 0; i < kColumns; ++i) {
            auto column = columns.Add(i);
            column->SetDataField(FieldName(i));
            column->SetCaption("Field " + std::to_string(i));
        }
        benchmark::DoNotOptimize(columns.Count());
    }
}

// Each case right after its baseline, so that both see the same load on the machine.
BENCHMARK(BM_PlainColumnInsertions)->Arg(1000)->MinTime(1);
BENCHMARK(BM_LoadLayout)->Arg(1000)->MinTime(1);
BENCHMARK(BM_PlainColumnInsertions)->Arg(10000)->MinTime(1);
BENCHMARK(BM_LoadLayout)->Arg(10000)->MinTime(1);
BENCHMARK(BM_PlainColumnInsertions)->Arg(100000)->MinTime(1);
BENCHMARK(BM_LoadLayout)->Arg(100000)->MinTime(1);

}  // namespace

int main(int argc, char** argv) {
    // Every case then runs on the same heap, whichever comes first.
    for (int32_t rows : {1000, 10000, 100000}) {
        RowsOf(rows);
    }
    return qv::bench::RunWithRatios(
        argc, argv,
        {{"grid.load_layout.40cols.1k", "BM_LoadLayout/1000/min_time:1.000",
          "BM_PlainColumnInsertions/1000/min_time:1.000", 2},
         {"grid.load_layout.40cols.10k", "BM_LoadLayout/10000/min_time:1.000",
          "BM_PlainColumnInsertions/10000/min_time:1.000", 2},
         {"grid.load_layout.40cols.100k", "BM_LoadLayout/100000/min_time:1.000",
          "BM_PlainColumnInsertions/100000/min_time:1.000", 2},
         {"grid.load_layout.rows.100k_vs_1k", "BM_LoadLayout/100000/min_time:1.000",
          "BM_LoadLayout/1000/min_time:1.000", 2}});
}
