// Rendering a screenful of a grid must cost the same whatever the number of rows behind it: the
// grid reads only the rows it shows. Telling a view of an edit must cost little beside the edit.
#include "outside/grid_control.h"
#include "bench/ratio.h"
#include "outside/recordset.h"
#include "outside/vb_format.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using qv::bench::Numbered;

constexpr int32_t kVisibleRows = 40;

std::shared_ptr<qv::Recordset> Rows(int32_t p_lCount) {
    auto recordset = std::make_shared<qv::Recordset>();
    recordset->Fields().Append("Symbol", qv::adVarChar, 10);
    recordset->Fields().Append("Company", qv::adVarChar, 40);
    recordset->Fields().Append("Price", qv::adDouble);
    recordset->Fields().Append("PrcChange", qv::adDouble);
    recordset->Fields().Append("Rec", qv::adVarChar, 1);
    recordset->Open();
    static const char* const kRecs[] = {"B", "H", "S"};
    for (int32_t i = 0; i < p_lCount; ++i) {
        recordset->AddNew({qv::Variant(Numbered("S", i)), qv::Variant(Numbered("Company ", i)),
                           qv::Variant(10.0 + i % 997), qv::Variant((i % 41 - 20) / 4.0),
                           qv::Variant(kRecs[i % 3])});
    }
    recordset->SetSort("Price DESC");
    return recordset;
}

class RedNegatives : public qv::GridControlEvents {
    void FetchCellStyle(int16_t, int16_t, const qv::Variant&, int16_t, std::string_view p_sText,
                        qv::GridStyle& p_oStyle) override {
        if (p_sText.find('-') != p_sText.npos && qv::IsNumeric(qv::Variant(p_sText))) {
            p_oStyle.SetForeColor(qv::grid_colors::kRed);
        }
    }
};

// A grid as the viewer loads it: two splits, formats, conditional styles, a selection spread
// over the rows and a cell-style handler.
void BM_RenderVisibleRows(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    auto recordset = Rows(count);
    qv::GridControl grid;
    grid.SetDataSource(recordset);
    grid.RetrieveFields();
    grid.Splits()->Add();
    auto frozen = grid.Splits()->Item(0);
    frozen->SetSizeMode(qv::gsmNumberOfColumns);
    frozen->SetSize(2);
    auto& columns = *grid.Columns();
    for (int32_t i = 0; i < columns.Count(); ++i) {
        columns.Item(i)->SetSplitVisible(i < 2 ? 1 : 0, false);
    }
    columns.Item(2)->SetNumberFormat("#,##0.00");
    columns.Item(3)->SetNumberFormat("0.00");
    auto red = std::make_shared<qv::GridStyle>();
    red->SetForeColor(qv::grid_colors::kRed);
    columns.Item(3)->SetForeColor(qv::grid_colors::kGreen);
    columns.Item(3)->AddRegexCellStyle(qv::gcNormalCell, red, "-");
    auto green = std::make_shared<qv::GridStyle>();
    green->SetBackColor(qv::grid_colors::kGreen);
    columns.Item(4)->AddRegexCellStyle(qv::gcNormalCell, green, "B");
    for (int32_t position = 0; position < count; position += 10) {
        recordset->SetAbsolutePosition(position + 1);
        grid.SelBookmarks()->Add(recordset->Bookmark());
    }
    recordset->SetAbsolutePosition(count / 2 + 1);
    RedNegatives painter;
    grid.AddSink(&painter);

    for (auto _ : state) {
        std::string text = grid.RenderText(count / 2, kVisibleRows);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_RenderVisibleRows)->Arg(1000)->Arg(100000);

class EditCounter : public qv::GridControlObserver {
  public:
    void DataChanged(int32_t, int32_t, int32_t, int32_t) override { ++m_lChanges; }
    int64_t m_lChanges = 0;
};

// Edits of one row of a sorted 10,000-row recordset, which a grid with one view shows (Arg 1)
// or nothing shows (Arg 0).
void BM_EditRow(benchmark::State& state) {
    auto recordset = Rows(10000);
    qv::GridControl grid;
    EditCounter view;
    if (state.range(0) != 0) {
        grid.SetDataSource(recordset);
        grid.RetrieveFields();
        grid.AddObserver(&view);
    }
    recordset->SetAbsolutePosition(5000);
    double price = 0;
    for (auto _ : state) {
        recordset->SetValue(2, qv::Variant(price += 1));
    }
    state.counters["told"] = static_cast<double>(view.m_lChanges);
}
BENCHMARK(BM_EditRow)->Arg(0)->Arg(1);

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunWithRatios(
        argc, argv,
        {{"grid.render.40rows.100k", "BM_RenderVisibleRows/100000", "BM_RenderVisibleRows/1000", 2},
         {"grid.notify.datachanged", "BM_EditRow/1", "BM_EditRow/0", 3}});
}
