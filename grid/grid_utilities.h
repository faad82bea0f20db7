// The layout loader and the small routines around it: turning the viewer state's columns into the
// columns and splits of a grid control.
//
// LoadLayout builds, from the GridColumns of the viewer state (primary or secondary), one grid
// column per column that applies to the grid's data type (TableMask bit), in collection order:
// captioned, bound to its field, shown in its split (two-split mode: key columns frozen in split
// 0, the rest scrolling in split 1) or hidden (system and hidden states), with its width, its
// alignment and number format and its caption colours; then puts them in Sequence order, sizes
// the frozen split and colours the grid. A layout whose columns the control already shows is
// left alone, so the user's widths and column moves survive a reload.
//
// The cell formatting part of GridUtilities (ApplyColumnFormat, ApplyColumnStyles) is in
// cell_formatting.h; ClearGridData, which works on the Grid wrappers, is in grid.h.
#pragma once

#include <cstdint>
#include <memory>

namespace qv {

class GridControl;
class Recordset;
class ViewerElements;
struct LayoutDescription;

namespace GridUtilities {

// Whether bit p_lBit (0 = least significant) of p_lMask is set; false for bits outside 0..30.
bool IsBitSet(int32_t p_lBit, int32_t p_lMask);

// Whether a column of the layout that applies to p_lViewerDataType names a field the recordset
// lacks (every such field is missing without a recordset).
bool LayoutFieldsMissing(const std::shared_ptr<Recordset>& p_rRecordset,
                         const LayoutDescription& p_layout, int32_t p_lViewerDataType);

// Whether the control's columns are exactly the state's columns that apply to the data type,
// bound to their fields. A control with exactly 2 columns (a new one) never holds a layout.
bool IsLayoutLoaded(const GridControl& p_oGrid, ViewerElements& p_oElements, bool p_bPrimary,
                    int32_t p_lViewerDataType);

// The layout loader (header comment). Without a state there is nothing to load and the failure
// is reported; failures are reported as "LoadLayout 3" and leave the control as far as the
// loader got.
void LoadLayout(GridControl& p_oGrid, const std::shared_ptr<ViewerElements>& p_oElements,
                bool p_bPrimary, int32_t p_lViewerDataType, bool p_bSingleSplit);

}  // namespace GridUtilities
}  // namespace qv
