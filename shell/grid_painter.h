// Paints a grid control's model as a view shows it: the header with the sort arrows, the rows on
// screen from the model's TopRow, the record selectors, the dividers between splits and the
// current row's marquee, in the colours of grid_painter_colors.h. Cells come from GridCellReader;
// only the rows that meet the area being painted are read, so repainting one changed row reads that
// row alone.
#pragma once

#include "shell/grid_painter_colors.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class QFont;
class QFontMetrics;
class QPainter;
class QRect;

namespace qv {

class GridControl;
class GridControlColumn;
class GridGeometry;
class GridStyle;

// A key of the sort the rows are in, by field name.
struct GridSortMark {
    std::string Field;
    bool Descending = false;
};

struct GridPaintOptions {
    // Where a dragged column would drop, in pixels from the left; -1 when none is dragged.
    int32_t DropX = -1;
    GridPalette Palette;
    std::vector<GridSortMark> Sort;
};

enum class SortArrow : uint8_t { None, Up, Down };

// The arrow each slot's heading shows: up for an ascending key on its column's field, down for a
// descending one (field names compare without regard to case).
std::vector<SortArrow> SortArrows(const GridGeometry& p_geometry,
                                  std::span<const GridSortMark> p_sort);

// The room a heading keeps for its text's margins and a sort arrow beside it, in pixels.
int32_t HeadingRoom(const QFontMetrics& p_metrics);
// The style a split's headings are drawn in: the grid's and the split's Heading styles, with
// their Inactive styles over them when the split is not the active one (the one showing the
// current column).
GridStyle HeadingStyle(const GridControl& p_oGrid, int32_t p_lSplit, bool p_bActive);

// The font of a column's cells: p_default unless the column names a font of its own.
QFont CellFont(const GridControlColumn& p_oColumn, const QFont& p_default);

// The room a cell keeps for its text's margins and its divider, in pixels.
int32_t CellRoom();

// Paints p_area of p_view (the view's viewport, from its top left corner) with p_font for cells
// whose column names no font of its own.
void PaintGrid(QPainter& p_oPainter, GridControl& p_oGrid, const GridGeometry& p_geometry,
               const QRect& p_area, const QRect& p_view, const QFont& p_font,
               const GridPaintOptions& p_options);

}  // namespace qv
