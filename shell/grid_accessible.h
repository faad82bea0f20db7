// What a screen reader hears of a grid view: a table of the grid's rows and columns.
//
// The table has a column for each column a split shows, the splits left to right (the frozen key
// columns first), each split from its first column whatever it is scrolled to; and a row for each
// row of the bound recordset's view. Its cells read their text through GridCellReader, so a
// reader hears what the grid paints (the column's number format); a column's header is its
// caption. The rows of SelBookmarks are the selected rows, and the grid's current row and column
// are the focused cell.
//
// The table is read afresh on every question, so it always answers for the grid the view shows
// now. What changes without a question (another current row, a selection, new rows, other
// columns) is told to the assistive technology, when one listens, as Qt's item views tell it:
// a focus event on the new current cell while the view has the focus, a selection event, and a
// table-model change for rows and columns.
#pragma once

class QAccessibleEvent;

namespace qv {

class GridView;

// Where the notifications go: by default QAccessible::updateAccessibility, which passes them on
// only while the platform's accessibility bridge is active (and an offscreen platform has none).
// Another sink hears every notification; nullptr puts the default back. Returns the sink before.
using GridAccessibleEventSink = void (*)(QAccessibleEvent*);
GridAccessibleEventSink SetGridAccessibleEventSink(GridAccessibleEventSink p_fnSink);

// Installs the accessible table for grid views (once per program) and has the view's
// notifications follow the grid it shows now. The view calls it when it is made and whenever it
// gets another grid.
void FollowGridForAccessibility(GridView& p_view);

}  // namespace qv
