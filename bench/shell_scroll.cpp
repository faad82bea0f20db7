// Scrolling a 100,000-row list from its first row to its last, a page per painted frame: the grid
// view reads only the rows on screen, so a frame must cost about what a plain QTableView's costs
// over a model that hands out ready-made texts with no formats or colours, in a view of the same
// size, columns and rows.
#include "bench/ratio.h"
#include "bench/shell_bench.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/grid_view.h"

#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int32_t kRows = 100000;
constexpr int kWidth = 1000;
constexpr int kHeight = 700;
constexpr int kFramesPerSweep = 200;

struct ColumnSpec {
    const char* Field;
    int32_t Width;  // twips
    const char* Format;
    qv::GridAlignment Alignment;
    int32_t Split;
};

const std::array<ColumnSpec, 9> kColumns = {{
    {"Symbol", 1000, "", qv::gaLeft, 0},
    {"Company", 2400, "", qv::gaLeft, 0},
    {"Price", 1200, "#,##0.00", qv::gaRight, 1},
    {"PrcChange", 900, "0.00", qv::gaRight, 1},
    {"Rec", 600, "", qv::gaCenter, 1},
    {"Volume", 1500, "#,##0", qv::gaRight, 1},
    {"Sector", 2500, "", qv::gaLeft, 1},
    {"Industry", 2500, "", qv::gaLeft, 1},
    {"PE", 900, "0.0", qv::gaRight, 1},
}};

std::shared_ptr<qv::Recordset> Stocks() {
    auto recordset = std::make_shared<qv::Recordset>();
    recordset->Fields().Append("Symbol", qv::adVarChar, 10);
    recordset->Fields().Append("Company", qv::adVarChar, 40);
    recordset->Fields().Append("Price", qv::adDouble);
    recordset->Fields().Append("PrcChange", qv::adDouble);
    recordset->Fields().Append("Rec", qv::adVarChar, 1);
    recordset->Fields().Append("Volume", qv::adDouble);
    recordset->Fields().Append("Sector", qv::adVarChar, 30);
    recordset->Fields().Append("Industry", qv::adVarChar, 30);
    recordset->Fields().Append("PE", qv::adDouble);
    recordset->Open();
    static const char* const kRecs[] = {"B", "H", "S"};
    for (int32_t i = 0; i < kRows; ++i) {
        recordset->AddNew(
            {qv::Variant("S" + std::to_string(i)), qv::Variant("Company " + std::to_string(i)),
             qv::Variant(10.25 + (i * 37) % 1000), qv::Variant((i % 41 - 20) / 4.0),
             qv::Variant(kRecs[i % 3]), qv::Variant(1000.0 * i),
             qv::Variant("Sector " + std::to_string(i % 11)),
             qv::Variant("Industry " + std::to_string(i % 23)), qv::Variant(5 + (i % 30) / 2.0)});
    }
    recordset->SetSort("Price DESC");
    return recordset;
}

std::shared_ptr<qv::GridStyle> Colours(int32_t p_lFore, int32_t p_lBack) {
    auto style = std::make_shared<qv::GridStyle>();
    style->SetForeColor(p_lFore);
    style->SetBackColor(p_lBack);
    return style;
}

// The viewer's stock list: two splits, formats, the recommendation and performance colours,
// alternating rows, a selection spread over the rows and a cell-style handler.
class RedNegatives : public qv::GridControlEvents {
    void FetchCellStyle(int16_t, int16_t, const qv::Variant&, int16_t, std::string_view p_sText,
                        qv::GridStyle& p_oStyle) override {
        if (p_sText.find('-') != p_sText.npos) {
            p_oStyle.SetForeColor(qv::grid_colors::kRed);
        }
    }
};

std::shared_ptr<qv::GridControl> StockGrid(RedNegatives& p_oHandler) {
    auto grid = std::make_shared<qv::GridControl>();
    grid->SetDataSource(Stocks());
    auto& columns = *grid->Columns();
    columns.Clear();
    grid->Splits()->Add();
    for (size_t i = 0; i < kColumns.size(); ++i) {
        const ColumnSpec& entry = kColumns[i];
        auto column = columns.Add(static_cast<int32_t>(i));
        column->SetDataField(entry.Field);
        column->SetCaption(entry.Field);
        column->SetNumberFormat(entry.Format);
        column->SetAlignment(entry.Alignment);
        column->SetSplitVisible(entry.Split, true);
        column->SetSplitVisible(1 - entry.Split, false);
        column->SetSplitWidth(entry.Split, entry.Width);
    }
    grid->Splits()->Item(0)->SetSizeMode(qv::gsmNumberOfColumns);
    grid->Splits()->Item(0)->SetSize(2);
    grid->SetRecordSelectors(false);
    auto& rec = *columns.Item(4);
    rec.AddRegexCellStyle(qv::gcNormalCell,
                          Colours(qv::grid_colors::kWhite, qv::grid_colors::kGreen), "B");
    rec.AddRegexCellStyle(qv::gcNormalCell,
                          Colours(qv::grid_colors::kBlack, qv::grid_colors::kYellow), "H");
    rec.AddRegexCellStyle(qv::gcNormalCell, Colours(qv::grid_colors::kWhite, qv::grid_colors::kRed),
                          "S");
    auto& change = *columns.Item(3);
    change.SetForeColor(qv::grid_colors::kGreen);
    auto red = std::make_shared<qv::GridStyle>();
    red->SetForeColor(qv::grid_colors::kRed);
    change.AddRegexCellStyle(qv::gcNormalCell, red, "-");
    for (const auto& split : grid->Splits()->All()) {
        split->Style(qv::GridStyleKind::HighlightRow)->SetBackColor(qv::RgbColor(0, 80, 128));
        split->Style(qv::GridStyleKind::HighlightRow)->SetForeColor(qv::grid_colors::kWhite);
        split->Style(qv::GridStyleKind::EvenRow)->SetBackColor(qv::RgbColor(233, 240, 245));
    }
    qv::Variant on(true);
    grid->InvokeById(86, qv::InvokeKind::PropertyLet, std::span<qv::Variant>(&on, 1));
    auto& recordset = *grid->DataSource();
    for (int32_t position = 0; position < kRows; position += 7) {
        recordset.SetAbsolutePosition(position + 1);
        grid->SelBookmarks()->Add(recordset.Bookmark());
    }
    recordset.MoveFirst();
    grid->AddSink(&p_oHandler);
    return grid;
}

// The baseline's model: ready-made texts, nothing else.
class PlainModel : public QAbstractTableModel {
  public:
    PlainModel() {
        for (int i = 0; i < kTexts; ++i) {
            m_texts[static_cast<size_t>(i)] = QStringLiteral("Text %1").arg(i);
        }
    }
    int rowCount(const QModelIndex& p_parent) const override {
        return p_parent.isValid() ? 0 : kRows;
    }
    int columnCount(const QModelIndex& p_parent) const override {
        return p_parent.isValid() ? 0 : static_cast<int>(kColumns.size());
    }
    QVariant data(const QModelIndex& p_index, int p_iRole) const override {
        if (p_iRole != Qt::DisplayRole) {
            return {};
        }
        return m_texts[static_cast<size_t>((p_index.row() + p_index.column()) % kTexts)];
    }

  private:
    static constexpr int kTexts = 97;
    std::array<QString, kTexts> m_texts;
};

// One frame of a sweep from the first row to the last in kFramesPerSweep frames (then back to
// the top), painted into p_image.
void ScrollAndPaint(QAbstractScrollArea& p_view, QImage& p_image) {
    QScrollBar& bar = *p_view.verticalScrollBar();
    const int stride = std::max(bar.pageStep(), bar.maximum() / kFramesPerSweep + 1);
    bar.setValue(bar.value() == bar.maximum() ? 0 : std::min(bar.value() + stride, bar.maximum()));
    p_view.render(&p_image);
}

void BM_GridViewScroll(benchmark::State& state) {
    RedNegatives handler;
    qv::GridView view;
    view.resize(kWidth, kHeight);
    view.SetGrid(StockGrid(handler));
    view.show();
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        ScrollAndPaint(view, image);
    }
    state.counters["rows"] = view.Grid()->RowCount();
}
BENCHMARK(BM_GridViewScroll)->UseRealTime();

void BM_TableViewScroll(benchmark::State& state) {
    PlainModel model;
    QTableView view;
    view.setModel(&model);
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(16);
    for (size_t i = 0; i < kColumns.size(); ++i) {
        view.setColumnWidth(static_cast<int>(i), kColumns[i].Width / 15);
    }
    view.resize(kWidth, kHeight);
    view.show();
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        ScrollAndPaint(view, image);
    }
}
BENCHMARK(BM_TableViewScroll)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunShellWithRatios(
        argc, argv,
        {{"shell.scroll.100k", "BM_GridViewScroll/real_time", "BM_TableViewScroll/real_time", 3}});
}
