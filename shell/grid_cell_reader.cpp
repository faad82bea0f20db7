#include "shell/grid_cell_reader.h"

#include "outside/automation_error.h"
#include "outside/grid_cell_text.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/vb_format.h"
#include "shell/grid_geometry.h"

namespace qv {

namespace {

// A member kept as set: anything but a true value leaves it off.
bool IsOn(const Variant& p_vValue) {
    try {
        return !p_vValue.IsEmpty() && !p_vValue.IsNull() && p_vValue.ToBool();
    } catch (const AutomationError&) {
        return false;
    }
}

void Overlay(GridStyle& p_oStyle, const std::shared_ptr<GridStyle>& p_oLayer) {
    if (p_oLayer) {
        p_oStyle.Overlay(*p_oLayer);
    }
}

}  // namespace

struct GridCellReader::Column {
    const GridControlColumn* Source;
    int32_t Split;
    int32_t Field;
    GridAlignment Alignment;
};

GridCellReader::GridCellReader(GridControl& p_oGrid, std::span<const GridSlot> p_slots)
    : m_oGrid(p_oGrid) {
    const auto& recordset = p_oGrid.DataSource();
    if (recordset && recordset->State() == adStateOpen) {
        m_rRecordset = recordset;
        m_lRowCount = recordset->ViewCount();
    }
    for (const GridSlot& slot : p_slots) {
        const int32_t field =
            m_rRecordset ? m_rRecordset->Fields().IndexOf(slot.Column->DataField()) : -1;
        m_columns.push_back(Column{slot.Column.get(), slot.Split, field,
                                   GridColumnAlignment(*slot.Column, m_rRecordset.get(), field)});
    }
    m_lCurrentRow = p_oGrid.Row();
    m_lCurrentCol = p_oGrid.Col();
    m_bAlternating = IsOn(p_oGrid.IdProperty(kAlternatingRowStyleId));
}

GridCellReader::~GridCellReader() = default;

GridCellReader::RowLook GridCellReader::LookOf(int32_t p_lSplit, int32_t p_lPosition) const {
    const auto& splits = *m_oGrid.Splits();
    const GridSplit* split = p_lSplit < splits.Count() ? splits.Item(p_lSplit).get() : nullptr;
    const auto layer = [&](GridStyle& style, GridStyleKind kind) {
        Overlay(style, m_oGrid.Style(kind));
        if (split != nullptr) {
            Overlay(style, split->Style(kind));
        }
    };
    RowLook look;
    layer(look.Style, GridStyleKind::Normal);
    if (m_bAlternating) {
        GridStyle stripe = look.Style;
        layer(stripe, p_lPosition % 2 == 0 ? GridStyleKind::EvenRow : GridStyleKind::OddRow);
        const int32_t plain = look.Style.BackColor().value_or(m_oGrid.BackColor());
        look.Striped = stripe.BackColor().value_or(plain) != plain;
        look.Style.SetForeColor(stripe.ForeColor());
    }
    GridStyle highlight;
    layer(highlight, GridStyleKind::Selected);
    layer(highlight, GridStyleKind::HighlightRow);
    look.SelectionColor = highlight.BackColor();
    return look;
}

std::vector<GridCell> GridCellReader::ReadRow(int32_t p_lPosition) {
    std::vector<GridCell> cells;
    // The view's own count, not the one at the start: a style handler may have filtered it.
    if (p_lPosition < 0 || !m_rRecordset || m_rRecordset->State() != adStateOpen ||
        p_lPosition >= m_rRecordset->ViewCount()) {
        return cells;
    }
    const uint32_t rowId = m_rRecordset->ViewRowId(p_lPosition);
    // A bookmark is the row id plus one.
    const double bookmarkKey = static_cast<double>(rowId) + 1;
    const Variant bookmark(bookmarkKey);
    const bool selected = m_oGrid.SelBookmarks()->ContainsKey(bookmarkKey);
    const bool current = p_lPosition == m_lCurrentRow;

    std::vector<RowLook> looks;
    cells.reserve(m_columns.size());
    for (const Column& column : m_columns) {
        while (static_cast<int32_t>(looks.size()) <= column.Split) {
            looks.push_back(LookOf(static_cast<int32_t>(looks.size()), p_lPosition));
        }
        const RowLook& look = looks[static_cast<size_t>(column.Split)];
        const Variant value =
            column.Field >= 0 ? m_rRecordset->ValueAt(rowId, column.Field) : Variant();
        GridCell cell;
        cell.Text = GridCellText(value, column.Source->NumberFormat());
        cell.Alignment = GridCellAlignment(column.Alignment, value);
        GridStyle style = look.Style;
        const int16_t state = static_cast<int16_t>(
            (current && column.Source->ColIndex() == m_lCurrentCol ? gcCurrentCell : 0) |
            (selected ? gcSelectedRow : 0));
        column.Source->ApplyCellStyles(cell.Text, state, style);
        m_oGrid.FetchCellStyle(column.Split, bookmark, column.Source->ColIndex(), cell.Text, style);
        cell.ForeColor = style.ForeColor().value_or(grid_colors::kBlack);
        const int32_t rowBack = look.Style.BackColor().value_or(m_oGrid.BackColor());
        cell.BackColor = style.BackColor().value_or(rowBack);
        cell.OwnBack = cell.BackColor != rowBack;
        cell.Striped = look.Striped;
        cell.Selected = selected;
        cell.SelectionColor = look.SelectionColor;
        cells.push_back(std::move(cell));
    }
    return cells;
}

}  // namespace qv
