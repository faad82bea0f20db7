#include "shell/grid_fixture.h"

#include "outside/recordset.h"

#include <cstdio>
#include <tuple>

namespace qv::test {

namespace {

struct ColumnSpec {
    const char* Field;
    const char* Caption;
    int32_t Width;
    const char* Format;
    GridAlignment Alignment;
    int32_t Split;
};

const ColumnSpec kColumns[] = {{"Symbol", "Symbol", 1000, "", gaLeft, 0},
                               {"Company", "Company", 2000, "", gaLeft, 0},
                               {"Price", "Price", 1200, "#,##0.00", gaRight, 1},
                               {"PrcChange", "%Prc", 900, "0.00", gaRight, 1},
                               {"Rec", "Rec", 600, "", gaCenter, 1},
                               {"Volume", "Volume", 1500, "#,##0", gaRight, 1},
                               {"Sector", "Sector", 2500, "", gaLeft, 1},
                               {"Industry", "Industry", 2500, "", gaLeft, 1},
                               {"PE", "P/E", 900, "0.0", gaRight, 1}};

std::shared_ptr<GridStyle> Colours(std::optional<int32_t> p_lFore, std::optional<int32_t> p_lBack) {
    auto style = std::make_shared<GridStyle>();
    style->SetForeColor(p_lFore);
    style->SetBackColor(p_lBack);
    return style;
}

}  // namespace

std::shared_ptr<Recordset> Stocks(int32_t p_lRows) {
    auto recordset = std::make_shared<Recordset>();
    recordset->SetCursorLocation(adUseClient);
    for (const ColumnSpec& column : kColumns) {
        const bool text = column.Format[0] == '\0';
        recordset->Fields().Append(column.Field, text ? adVarChar : adDouble, text ? 40 : 0);
    }
    recordset->Open();
    static const char* const kRecs[] = {"B", "H", "S"};
    for (int32_t i = 0; i < p_lRows; ++i) {
        char symbol[16];
        std::snprintf(symbol, sizeof symbol, "S%04d", i);
        recordset->AddNew(
            {Variant(symbol), Variant("Company " + std::to_string(i)),
             Variant(10.25 + (i * 37) % 1000), Variant((i % 41 - 20) / 4.0), Variant(kRecs[i % 3]),
             Variant(1000.0 * i), Variant("Sector " + std::to_string(i % 11)),
             Variant("Industry " + std::to_string(i % 23)), Variant(5 + (i % 30) / 2.0)});
    }
    if (p_lRows > 0) {
        recordset->MoveFirst();
    }
    return recordset;
}

std::shared_ptr<GridControl> StockGrid(std::shared_ptr<Recordset> p_rRecordset) {
    auto grid = std::make_shared<GridControl>();
    grid->SetDataSource(std::move(p_rRecordset));
    auto& columns = *grid->Columns();
    columns.Clear();
    grid->Splits()->Add();
    for (int32_t i = 0; i < kStockColumns; ++i) {
        const ColumnSpec& entry = kColumns[i];
        auto column = columns.Add(i);
        column->SetDataField(entry.Field);
        column->SetCaption(entry.Caption);
        column->SetNumberFormat(entry.Format);
        column->SetAlignment(entry.Alignment);
        column->SetSplitVisible(entry.Split, true);
        column->SetSplitVisible(1 - entry.Split, false);
        column->SetSplitWidth(entry.Split, entry.Width);
    }
    auto frozen = grid->Splits()->Item(0);
    frozen->SetSizeMode(gsmNumberOfColumns);
    frozen->SetSize(2);

    auto& rec = *columns.Item(kRec);
    rec.AddRegexCellStyle(gcNormalCell, Colours(grid_colors::kWhite, grid_colors::kGreen), "B");
    rec.AddRegexCellStyle(gcNormalCell, Colours(grid_colors::kBlack, grid_colors::kYellow), "H");
    rec.AddRegexCellStyle(gcNormalCell, Colours(grid_colors::kWhite, grid_colors::kRed), "S");
    auto& change = *columns.Item(kPrcChange);
    change.SetForeColor(grid_colors::kGreen);
    change.AddRegexCellStyle(gcNormalCell, Colours(grid_colors::kRed, std::nullopt), "-");
    change.AddRegexCellStyle(gcNormalCell, Colours(grid_colors::kBlack, std::nullopt), "^0.00");

    grid->SetRecordSelectors(false);
    grid->SetAllowColSelect(false);
    grid->SetAppearance(gapFlat);
    grid->SetScrollBars(gsbBoth);
    using namespace grid_colors;
    const std::tuple<GridStyleKind, int32_t, int32_t> rowStyles[] = {
        {GridStyleKind::HighlightRow, kWhite, kHighlightBack},
        {GridStyleKind::EvenRow, kBlack, kEvenRowBack},
        {GridStyleKind::OddRow, kBlack, kWhite}};
    for (const auto& split : grid->Splits()->All()) {
        split->Style(GridStyleKind::Heading)->SetBackColor(kLightGrey);
        for (const auto& [kind, fore, back] : rowStyles) {
            split->Style(kind)->SetForeColor(fore);
            split->Style(kind)->SetBackColor(back);
        }
    }
    Variant on(true);
    grid->InvokeById(86, InvokeKind::PropertyLet, std::span<Variant>(&on, 1));
    return grid;
}

}  // namespace qv::test
