// Bringing a grid's control in line with its columns after the user moved columns or chose new
// fields: the grid part of ColumnUtilities.
//
// Display positions passed here are 1-based, as Sequence is; a position beyond the grid's
// columns means the last one.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class Grid;
class GridColumn;

namespace ColumnUtilities {

// The index of the grid column bound to the field, or -1 (also for a grid without a control).
int16_t GetGridColumnIndex(const std::string& p_sFieldName, const Grid& p_oGrid);

// Puts the grid column of p_oColumn's field into split p_iSplit at p_lPosition (its Sequence
// when negative), shown only there and only when the column is visible or always visible, and
// records its index in TrueGridColumnNumber. A field the grid has no column for gets a new one
// (AddGridColumn). A column whose TableMask lacks the bit of the grid's ViewerDataType belongs to
// another table: it is hidden, never added, as the layout loader leaves it out.
void SyncGridColumn(GridColumn& p_oColumn, const Grid& p_oGrid, int16_t p_iSplit,
                    int32_t p_lPosition);

// Appends a grid column for p_oColumn, shown in split p_iSplit only, at the display position of
// its Sequence, with the caption's width and the number format "#,##0.#0" ("Percent" for a
// "Delta" field without a parameter id).
void AddGridColumn(GridColumn& p_oColumn, const Grid& p_oGrid, int16_t p_iSplit);

// Hides every column of the grid in every split.
void HideGridColumns(const Grid& p_oGrid);

}  // namespace ColumnUtilities
}  // namespace qv
