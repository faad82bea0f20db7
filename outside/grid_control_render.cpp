// The parts of GridControl that read what it shows: geometry, cell texts and the text rendering.
#include "outside/grid_control.h"

#include "outside/automation_error.h"
#include "outside/grid_cell_text.h"
#include "outside/recordset.h"
#include "outside/recordset_rows.h"
#include "outside/vb_format.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

struct RenderColumn {
    std::shared_ptr<GridControlColumn> Column;
    int32_t Split;
    size_t Width;  // characters
    int32_t Field;
    GridAlignment Alignment;  // gaGeneral: decided by each value
};

struct RenderCell {
    std::string Text;
    GridAlignment Alignment;
    GridStyle Style;
};

struct RenderRow {
    Variant Bookmark;
    bool Current;
    bool Selected;
    std::vector<RenderCell> Cells;
};

size_t Characters(int32_t p_lTwips) {
    const int32_t rounded =
        (p_lTwips + GridControl::kTwipsPerCharacter / 2) / GridControl::kTwipsPerCharacter;
    return static_cast<size_t>(std::max(rounded, 1));
}

bool IsContinuationByte(char p_c) {
    return (static_cast<unsigned char>(p_c) & 0xC0) == 0x80;
}

size_t CodePoints(std::string_view p_sText) {
    return static_cast<size_t>(std::count_if(p_sText.begin(), p_sText.end(),
                                             [](char c) { return !IsContinuationByte(c); }));
}

// The first p_lCount code points of p_sText.
std::string_view Leading(std::string_view p_sText, size_t p_lCount) {
    size_t seen = 0;
    for (size_t i = 0; i < p_sText.size(); ++i) {
        if (!IsContinuationByte(p_sText[i]) && seen++ == p_lCount) {
            return p_sText.substr(0, i);
        }
    }
    return p_sText;
}

std::string Fit(std::string_view p_sText, size_t p_lWidth, GridAlignment p_eAlignment) {
    const size_t length = CodePoints(p_sText);
    if (length > p_lWidth) {
        return std::string(Leading(p_sText, p_lWidth - 1)) + "~";
    }
    const size_t free = p_lWidth - length;
    size_t before = 0;
    if (p_eAlignment == gaRight) {
        before = free;
    } else if (p_eAlignment == gaCenter) {
        before = free / 2;
    }
    return std::string(before, ' ') + std::string(p_sText) + std::string(free - before, ' ');
}

std::string Caption(const GridControlColumn& p_oColumn) {
    if (!p_oColumn.Caption().empty()) {
        return p_oColumn.Caption();
    }
    return "Column " + std::to_string(p_oColumn.ColIndex());
}

void TrimEnd(std::string& p_sLine) {
    p_sLine.erase(p_sLine.find_last_not_of(' ') + 1);
}

// Lines are the gutter, then the cells of each split joined by " ", splits joined by " | ".
std::string Line(std::string_view p_sGutter, const std::vector<RenderColumn>& p_columns,
                 const std::vector<std::string>& p_cells) {
    std::string line(p_sGutter);
    for (size_t i = 0; i < p_columns.size(); ++i) {
        if (i > 0) {
            line += p_columns[i].Split == p_columns[i - 1].Split ? " " : " | ";
        }
        line += p_cells[i];
    }
    TrimEnd(line);
    return line;
}

}  // namespace

GridHit GridControl::HitTest(int32_t p_lX, int32_t p_lY) const {
    GridHit hit;
    if (p_lX < 0 || p_lY < 0) {
        return hit;
    }
    const bool header = p_lY < kHeaderHeight;
    const int32_t row = header ? -1 : m_lTopRow + (p_lY - kHeaderHeight) / kRowHeight;
    if (!header && row >= RowCount()) {
        return hit;
    }
    int32_t left = m_bRecordSelectors ? kRecordSelectorWidth : 0;
    if (p_lX < left) {
        if (!header) {
            hit.Region = gcrRecordSelector;
            hit.Row = row;
        }
        return hit;
    }
    for (const auto& split : m_oSplits->All()) {
        for (const auto& column : split->ShownColumns()) {
            left += column->SplitWidth(split->Index());
            if (p_lX < left) {
                hit.Region = header ? gcrColumnHeader : gcrData;
                hit.Split = split->Index();
                hit.Column = column->ColIndex();
                hit.Row = row;
                return hit;
            }
        }
    }
    return hit;
}

int32_t GridControl::RowContaining(int32_t p_lY) const {
    if (p_lY < kHeaderHeight) {
        return -1;
    }
    const int32_t row = m_lTopRow + (p_lY - kHeaderHeight) / kRowHeight;
    return row < RowCount() ? row : -1;
}

int32_t GridControl::ColContaining(int32_t p_lX) const {
    return HitTest(p_lX, 0).Column;
}

std::string GridControl::CellText(int32_t p_lCol, const Variant& p_vBookmark) const {
    const auto& column = m_oColumns->Item(p_lCol);
    if (!m_rDataSource || m_rDataSource->State() != adStateOpen) {
        return "";
    }
    const int32_t field = m_rDataSource->Fields().IndexOf(column->DataField());
    if (field < 0) {
        return "";
    }
    const double bookmark = p_vBookmark.IsNumber() ? p_vBookmark.ToDouble() : 0;
    if (!(bookmark >= 1) || bookmark != std::floor(bookmark)) {
        RaiseRuntimeError(errors::kInvalidProcedureCall, "not a bookmark");
    }
    const Variant value = m_rDataSource->ValueAt(static_cast<uint32_t>(bookmark - 1), field);
    return GridCellText(value, column->NumberFormat());
}

std::string GridControl::RenderText(int32_t p_lFirstRow, int32_t p_lRowCount) {
    // Everything the rendering reads is held here, so that a cell-style handler may change or
    // destroy the grid without pulling anything from under it.
    const std::shared_ptr<Recordset> recordset =
        m_rDataSource && m_rDataSource->State() == adStateOpen ? m_rDataSource : nullptr;
    const std::shared_ptr<GridSelBookmarks> selection = m_oSelBookmarks;
    const int32_t currentRow = Row();
    const int32_t currentCol = m_lCol;

    std::vector<RenderColumn> columns;
    for (const auto& split : m_oSplits->All()) {
        for (auto& column : split->ShownColumns()) {
            const int32_t field = recordset ? recordset->Fields().IndexOf(column->DataField()) : -1;
            const size_t width = Characters(column->SplitWidth(split->Index()));
            const GridAlignment alignment = GridColumnAlignment(*column, recordset.get(), field);
            columns.push_back(
                RenderColumn{std::move(column), split->Index(), width, field, alignment});
        }
    }

    std::vector<RenderRow> rows;
    const int32_t first = std::max(p_lFirstRow, 0);
    const int32_t last = recordset ? std::min(RowCount(), first + std::max(p_lRowCount, 0)) : 0;
    for (int32_t position = first; position < last; ++position) {
        const uint32_t rowId = recordset->ViewRowId(position);
        RenderRow row{BookmarkOfRowId(rowId),
                      position == currentRow,
                      selection->ContainsKey(static_cast<double>(rowId) + 1),
                      {}};
        for (const RenderColumn& column : columns) {
            const Variant value =
                column.Field >= 0 ? recordset->ValueAt(rowId, column.Field) : Variant();
            RenderCell cell{GridCellText(value, column.Column->NumberFormat()),
                            GridCellAlignment(column.Alignment, value), GridStyle()};
            const int16_t state = static_cast<int16_t>(
                (row.Current && column.Column->ColIndex() == currentCol ? gcCurrentCell : 0) |
                (row.Selected ? gcSelectedRow : 0));
            column.Column->ApplyCellStyles(cell.Text, state, cell.Style);
            row.Cells.push_back(std::move(cell));
        }
        rows.push_back(std::move(row));
    }

    bool alive = true;
    for (size_t r = 0; alive && !m_sinks.Empty() && r < rows.size(); ++r) {
        RenderRow& row = rows[r];
        for (size_t c = 0; alive && c < columns.size(); ++c) {
            RenderCell& cell = row.Cells[c];
            const auto split = static_cast<int16_t>(columns[c].Split);
            const auto colIndex = static_cast<int16_t>(columns[c].Column->ColIndex());
            alive = m_sinks.Raise([&](GridControlEvents& sink) {
                sink.FetchCellStyle(gcNormalCell, split, row.Bookmark, colIndex, cell.Text,
                                    cell.Style);
            });
        }
    }

    std::vector<std::string> cells;
    for (const RenderColumn& column : columns) {
        const GridAlignment alignment = column.Alignment == gaGeneral ? gaLeft : column.Alignment;
        cells.push_back(Fit(column.Column->Caption(), column.Width, alignment));
    }
    std::string text = Line("  ", columns, cells) + "\n";
    for (const RenderRow& row : rows) {
        std::string legend;
        cells.clear();
        for (size_t c = 0; c < columns.size(); ++c) {
            const RenderCell& cell = row.Cells[c];
            cells.push_back(Fit(cell.Text, columns[c].Width, cell.Alignment));
            if (cell.Style.HasColor()) {
                legend += (legend.empty() ? "" : "; ") + Caption(*columns[c].Column) + ": " +
                          cell.Style.ColorText();
            }
        }
        const std::string gutter =
            std::string(row.Current ? ">" : " ") + (row.Selected ? "*" : " ");
        text += Line(gutter, columns, cells);
        if (!legend.empty()) {
            text += "  {" + legend + "}";
        }
        text += "\n";
    }
    return text;
}

}  // namespace qv
