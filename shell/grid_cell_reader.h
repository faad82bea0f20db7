// Reads what the cells of a grid control show, for painting: the text of each cell through its
// column's number format, its alignment and its colours.
//
// A reader is made for one frame over the slots of a GridGeometry. It looks up each column's
// field once; a row is then read by its row id in the bound recordset's view, so reading a row
// costs the same whatever the number of rows.
//
// The colours of a cell are laid on in this order, later layers winning where they set a colour:
//   1. the Normal style of the grid, then of the cell's split;
//   2. the column's text colour and its conditional styles (GridControlColumn::ApplyCellStyles),
//      with the cell's selected-row and current-cell states;
//   3. the sinks' FetchCellStyle (event 59).
// What no layer sets is the grid's BackColor behind black text. Stripes and selection are told,
// not laid on: the painter gives them one look in every list (grid_painter_colors.h). A row is
// striped with alternating rows on (grid member 86, which the viewer sets True on its primary
// grid) where the EvenRow or OddRow style of its view position (counted from 0) sets a
// background other than the row's; a row is selected when it is in SelBookmarks, and the
// HighlightRow style of the grid, then of the split, names the selection colour.
#pragma once

#include "outside/grid_control_column.h"
#include "outside/grid_style.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

class GridControl;
class Recordset;
struct GridSlot;

// The dispatch id of the grid member that turns the alternating row styles on.
inline constexpr int32_t kAlternatingRowStyleId = 86;

struct GridCell {
    std::string Text;
    GridAlignment Alignment = gaLeft;  // left, right or centre
    int32_t ForeColor = grid_colors::kBlack;
    int32_t BackColor = grid_colors::kWhite;
    // The cell's own style or a handler gave it BackColor, not its row.
    bool OwnBack = false;
    bool Striped = false;
    bool Selected = false;
    std::optional<int32_t> SelectionColor;
};

class GridCellReader {
  public:
    // p_oGrid and the columns of p_slots must outlive the reader.
    GridCellReader(GridControl& p_oGrid, std::span<const GridSlot> p_slots);
    ~GridCellReader();
    GridCellReader(const GridCellReader&) = delete;
    GridCellReader& operator=(const GridCellReader&) = delete;

    // Rows in the bound recordset's view; 0 when none is bound or it is closed.
    int32_t RowCount() const { return m_lRowCount; }
    // The cells of the row at view position p_lPosition (0 to RowCount - 1), one per slot.
    std::vector<GridCell> ReadRow(int32_t p_lPosition);

  private:
    struct Column;

    struct RowLook {
        GridStyle Style;
        bool Striped = false;
        std::optional<int32_t> SelectionColor;
    };

    RowLook LookOf(int32_t p_lSplit, int32_t p_lPosition) const;

    GridControl& m_oGrid;
    std::shared_ptr<Recordset> m_rRecordset;
    std::vector<Column> m_columns;
    int32_t m_lRowCount = 0;
    int32_t m_lCurrentRow = -1;
    int32_t m_lCurrentCol = -1;
    bool m_bAlternating = false;
};

}  // namespace qv
