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

namespace qv {

class GridControl;
class Viewer;

std::string ListText(Viewer& p_oViewer);
std::string ListCsv(GridControl& p_oGrid);
// Replaces the file atomically; a failure is error 75 naming the file.
void ExportCsv(GridControl& p_oGrid, const std::filesystem::path& p_path);

}  // namespace qv
