// Paints a grid control's model as a view shows it: the header, the rows on screen from the
// model's TopRow, the record selectors, the dividers between splits and the current row's
// marquee. Cells come from GridCellReader; only the rows that meet the area being painted are
// read, so repainting one changed row reads that row alone.
#pragma once

#include <cstdint>

class QFont;
class QPainter;
class QRect;

namespace qv {

class GridControl;
class GridGeometry;

struct GridPaintOptions {
    // Where a dragged column would drop, in pixels from the left; -1 when none is dragged.
    int32_t DropX = -1;
};

// Paints p_area of p_view (the view's viewport, from its top left corner) with p_font for cells
// whose column names no font of its own.
void PaintGrid(QPainter& p_oPainter, GridControl& p_oGrid, const GridGeometry& p_geometry,
               const QRect& p_area, const QRect& p_view, const QFont& p_font,
               const GridPaintOptions& p_options);

}  // namespace qv
