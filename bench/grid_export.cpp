// Exporting a long list must cost little more than formatting its values and writing them: the
// grid's export (the column choice, the rows by id, the columns looked up once, one buffered
// write beside the file and a rename) against a plain loop that formats the same values with the
// same formats and writes them the same way.
#include "bench/ratio.h"
#include "columns/grid_columns.h"
#include "grid/grid.h"
#include "outside/column_selector.h"
#include "outside/export_selector.h"
#include "outside/file_util.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "outside/vb_format.h"

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using qv::bench::Numbered;

constexpr int32_t kRows = 100000;

struct Column {
    const char* Field;
    int32_t ParameterId;
    const char* Format;
    bool Text;
};

// Twenty export columns as the lists have them: names, prices, changes, percentages, volumes.
constexpr std::array<Column, 20> kColumns = {{
    {"Symbol", 4, "Left", true},       {"CompanyName", 5, "Left", true},
    {"Rec", 2, "Center", true},        {"Price", 13, "#,##0.00", false},
    {"PrcChange", 14, "0.00", false},  {"PctChange", 15, "Percent", false},
    {"Volume", 16, "#,##0", false},    {"AvgVolume", 17, "#,##0", false},
    {"High52", 18, "#,##0.00", false}, {"Low52", 19, "#,##0.00", false},
    {"EPS", 24, "0.00", false},        {"PE", 28, "##0.#0", false},
    {"Yield", 29, "Percent", false},   {"MktCap", 30, "#,##0", false},
    {"Sales", 31, "#,##0.0", false},   {"Growth", 32, "Percent", false},
    {"MA50", 33, "#,##0.00", false},   {"MA200", 34, "#,##0.00", false},
    {"Beta", 35, "0.00", false},       {"Rank", 6, "0", false},
}};

std::shared_ptr<qv::Recordset> Rows() {
    auto rows = std::make_shared<qv::Recordset>();
    for (const Column& column : kColumns) {
        rows->Fields().Append(column.Field, column.Text ? qv::adVarChar : qv::adDouble,
                              column.Text ? 40 : 0);
    }
    rows->Open();
    static const char* const kRecs[] = {"B", "H", "S"};
    std::vector<qv::Variant> values(kColumns.size());
    for (int32_t i = 0; i < kRows; ++i) {
        values[0] = qv::Variant(Numbered("S", i));
        values[1] = qv::Variant(Numbered("Company, Inc. ", i));
        values[2] = qv::Variant(kRecs[i % 3]);
        for (size_t c = 3; c < kColumns.size(); ++c) {
            values[c] = qv::Variant((i % 9973) * (c % 2 == 0 ? 131.7 : -0.0123) + c);
        }
        rows->AddNew(values);
    }
    return rows;
}

std::shared_ptr<qv::GridColumns> Columns() {
    auto columns = std::make_shared<qv::GridColumns>();
    int32_t sequence = 1;
    for (const Column& column : kColumns) {
        columns->Add(column.Field, qv::csVisible, column.Field, column.ParameterId, sequence++, 1,
                     0, column.Format);
    }
    return columns;
}

std::filesystem::path OutputPath() {
    return std::filesystem::temp_directory_path() /
           ("qv-bench-export-" + Numbered("", getpid()) + ".csv");
}

// The grid's export of all rows, the person accepting the columns offered and the file proposed.
void BM_GridExport(benchmark::State& state) {
    qv::ScopedTestPlatform platform;
    auto rows = Rows();
    auto control = std::make_shared<qv::GridControl>();
    qv::Grid grid;
    grid.SetGridObject(control);
    grid.SetGridColumns(Columns());
    grid.SetDataSource(rows);
    grid.SetColumnSelector(std::make_shared<qv::DialogColumnSelector>());
    const std::filesystem::path path = OutputPath();
    for (auto _ : state) {
        platform.Dialogs().QueueScriptFor<qv::ExportColumnsDialog>(
            [](qv::ExportColumnsDialog& dialog) { dialog.Accept(); });
        platform.Dialogs().QueueScriptFor<qv::SaveFileDialog>(
            [&path](qv::SaveFileDialog& dialog) { dialog.Choose(path.string()); });
        grid.Export(6);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_GridExport)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same values, formatted with the same formats, commas removed, joined and written.
void BM_FormatLoop(benchmark::State& state) {
    auto rows = Rows();
    const std::filesystem::path path = OutputPath();
    for (auto _ : state) {
        std::string text;
        for (int32_t position = 0; position < rows->ViewCount(); ++position) {
            const uint32_t row = rows->ViewRowId(position);
            for (size_t c = 0; c < kColumns.size(); ++c) {
                if (c > 0) {
                    text += ',';
                }
                const qv::Variant value = rows->ValueAt(row, static_cast<int32_t>(c));
                std::string cell =
                    kColumns[c].Text ? value.ToString() : qv::Format(value, kColumns[c].Format);
                std::erase(cell, ',');
                text += cell;
            }
            text += "\r\n";
        }
        qv::WriteFileAtomically(path, text);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_FormatLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunWithRatios(
        argc, argv,
        {{"export.100k", "BM_GridExport/iterations:3", "BM_FormatLoop/iterations:3", 1.5}});
}
