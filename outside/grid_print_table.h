// The rows of a grid control as a table to print: the columns each split shows, in the order and
// at the widths shown, the frozen split first, and each cell's text and alignment as the grid
// draws it. The selected rows come in the order the grid lists them, not the order they were
// selected in, as a printout reads top to bottom.
#pragma once

#include "outside/grid_control_print.h"
#include "outside/print_engine.h"

namespace qv {

class GridControl;

PrintTable GridPrintTable(const GridControl& p_oGrid, GridPrintRows p_eRows);

}  // namespace qv
