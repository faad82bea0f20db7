// Column tables and GridColumns: adding catalogue fields to a column table, the select list of
// one data table, and the columns to export.
#pragma once

#include "columns/column_state.h"
#include "outside/layout_description.h"
#include "outside/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class GridColumns;
class Recordset;

namespace ColumnUtilities {

// Appends an entry to a column table with sequence = its index + 1 and returns true; when an
// entry with the same parameter id and table mask exists, only sets its state and returns false.
// Reports its failures as "ColumnUtilities: AddFieldToLayout" and then returns false.
bool AddFieldToLayout(std::vector<LayoutColumn>& p_columnTable, int32_t p_lParameterId,
                      ColumnState p_lState, const std::string& p_sSQLColumn,
                      const std::string& p_sCaption, int32_t p_lTableMask,
                      const std::string& p_sColumnFormat);

// AddFieldToLayout with the catalogue row of p_lParameterId, when there is one; the catalogue is
// left without a filter. A Null caption or format in the catalogue counts as empty text.
void AddCatalogueField(std::vector<LayoutColumn>& p_columnTable, ColumnState p_lState,
                       const std::shared_ptr<Recordset>& p_rParameters, int32_t p_lParameterId);

// The catalogue's current row ("parameter_id", "column_name", "caption", "table_mask",
// "Column_Format") as a column entry in state p_lState. Null texts count as empty, a Null mask
// as 0.
LayoutColumn CatalogueEntry(const Recordset& p_rParameters, ColumnState p_lState);

// "field as [field]" for every entry of the layout's column table whose table mask has bit
// p_lTableBit set, in table order: a 0-based array, with no elements when none applies. Bits
// outside 0..30 apply to no entry.
Variant TableSelectList(const LayoutDescription& p_layout, int32_t p_lTableBit);

// Fills the column-choice list with one row per export column of p_oColumns whose field the data
// recordset has ("column_name", "parameter_id", "Sequence", "Caption", "selected"), filters it
// to the selected rows in Sequence order and returns their parameter id, caption and column name
// as a table (0..2, 0..n-1); Empty when none is selected. A closed list gets the fields it lacks
// and is opened, so a new client recordset will do.
Variant ExportColumnList(const std::shared_ptr<Recordset>& p_rColumnList,
                         const GridColumns& p_oColumns, const std::shared_ptr<Recordset>& p_rData);

}  // namespace ColumnUtilities
}  // namespace qv
