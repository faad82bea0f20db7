// How a cell of the grid control reads: its text and its alignment. The text rendering and the
// shell's painter both show cells this way.
#pragma once

#include "outside/grid_control_column.h"
#include "outside/variant.h"

#include <cstdint>
#include <string>

namespace qv {

class Recordset;

// The value through the column's number format, or as it is when the format cannot take it.
std::string GridCellText(const Variant& p_vValue, const std::string& p_sFormat);

// General alignment puts number and date fields on the right and other fields on the left;
// only a field that holds any kind of value leaves it to each value (gaGeneral).
GridAlignment GridColumnAlignment(const GridControlColumn& p_oColumn, const Recordset* p_rRecordset,
                                  int32_t p_lField);

// The alignment of one value in a column aligned as p_eColumn.
GridAlignment GridCellAlignment(GridAlignment p_eColumn, const Variant& p_vValue);

}  // namespace qv
