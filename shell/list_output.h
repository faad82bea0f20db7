// The headless forms of a list: its text as the grids show it, and its rows as CSV.
//
// The text is each grid's own text rendering (the frozen split first, the current and selected
// rows marked, coloured cells listed), the primary grid with all its rows and, when shown, the
// grid below it. The CSV holds every row of the primary grid in its view order and the columns
// the grid shows, split by split, each cell as the grid formats it; lines end in CR LF, a cell
// holding a comma, a quote or a line break is quoted, and control characters other than tab and
// line breaks, and bytes that are not UTF-8, are written as U+FFFD.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qv {

class GridControl;
class Viewer;

std::string ListText(Viewer& p_oViewer);
std::string ListCsv(GridControl& p_oGrid);
// The captions of the columns the grid shows whose field has no value in any of its rows; none
// when the grid has no rows.
std::vector<std::string> EmptyColumns(const GridControl& p_oGrid);
// Error 75 naming the file when its folder does not exist: a mistyped folder is an error, never a
// new folder.
void CheckExportFolder(const std::filesystem::path& p_path);
// Replaces the file atomically, in a folder that must exist; a failure is error 75 naming the
// file and leaves any earlier file as it was.
void ExportCsv(GridControl& p_oGrid, const std::filesystem::path& p_path);

}  // namespace qv
