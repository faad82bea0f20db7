// Laying a grid's rows out in printed pages must cost about what writing the same rows as text
// does: both read every cell and format it; the pages also measure each text in its font.
#include "bench/ratio.h"
#include "outside/afm_text_measurer.h"
#include "outside/grid_control.h"
#include "outside/grid_print_table.h"
#include "outside/print_engine.h"
#include "outside/recordset.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using qv::bench::Numbered;

constexpr int32_t kRows = 10000;

// A stock list of ten columns in two splits, with the formats the viewer gives them.
std::shared_ptr<qv::GridControl> StockGrid() {
    auto rows = std::make_shared<qv::Recordset>();
    rows->Fields().Append("Symbol", qv::adVarChar, 10);
    rows->Fields().Append("Company", qv::adVarChar, 40);
    for (const char* name : {"Price", "Change", "PrcChange", "Volume", "High", "Low", "PE"}) {
        rows->Fields().Append(name, qv::adDouble);
    }
    rows->Fields().Append("Industry", qv::adVarChar, 40);
    rows->Open();
    for (int32_t i = 0; i < kRows; ++i) {
        const double price = 10.0 + i % 997;
        rows->AddNew({qv::Variant(Numbered("S", i)), qv::Variant(Numbered("Company Holdings ", i)),
                      qv::Variant(price), qv::Variant((i % 41 - 20) / 4.0),
                      qv::Variant((i % 13 - 6) / 3.0), qv::Variant(1000.0 * (i % 5000)),
                      qv::Variant(price * 1.2), qv::Variant(price * 0.8), qv::Variant(5.0 + i % 40),
                      qv::Variant(Numbered("Industry Group ", i % 60))});
    }
    auto grid = std::make_shared<qv::GridControl>();
    grid->SetDataSource(rows);
    grid->RetrieveFields();
    grid->Splits()->Add();
    auto frozen = grid->Splits()->Item(0);
    frozen->SetSizeMode(qv::gsmNumberOfColumns);
    frozen->SetSize(2);
    auto& columns = *grid->Columns();
    for (int32_t i = 0; i < columns.Count(); ++i) {
        columns.Item(i)->SetSplitVisible(i < 2 ? 1 : 0, false);
        columns.Item(i)->SetNumberFormat(i >= 2 && i <= 8 ? "#,##0.00" : "");
    }
    columns.Item(1)->SetWidth(1800);
    columns.Item(9)->SetWidth(2000);
    return grid;
}

void BM_PaginateRows(benchmark::State& state) {
    const auto grid = StockGrid();
    const qv::AfmTextMeasurer measurer;
    const qv::PageSetup page;
    for (auto _ : state) {
        qv::PrintTable table = qv::GridPrintTable(*grid, qv::gprAllRows);
        table.Header = "Stock Viewer - Pricing as of 12/04/26";
        qv::PrintJob job = qv::LayOutPages(page, table, measurer);
        benchmark::DoNotOptimize(job);
    }
}
BENCHMARK(BM_PaginateRows)->Unit(benchmark::kMillisecond);

// The baseline: the same rows written as the grid's text.
void BM_RowsAsText(benchmark::State& state) {
    const auto grid = StockGrid();
    for (auto _ : state) {
        std::string text = grid->RenderText(0, kRows);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_RowsAsText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunWithRatios(
        argc, argv, {{"print.paginate.10k", "BM_PaginateRows", "BM_RowsAsText", 2}});
}
