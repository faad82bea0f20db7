// The headless forms of a list: its text as the grids show it, and its export file.
//
// The text is each grid's own text rendering (the frozen split first, the current and selected
// rows marked, coloured cells listed), the primary grid with all its rows and, when shown, the
// grid below it. The export file is what the window's export writes when every shown column is
// kept: every row of the primary grid in its view order, the shown export columns in their
// order, each value as its column's format writes it without any comma, control character or
// line break (bytes that are not UTF-8 become U+FFFD), values joined by "," and lines ended by CR
// LF, with no caption line.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qv {

class GridControl;
class Viewer;

std::string ListText(Viewer& p_oViewer);
// The captions of the columns the grid shows whose field has no value in any of its rows; none
// when the grid has no rows.
std::vector<std::string> EmptyColumns(const GridControl& p_oGrid);
// Error 75 naming the file when its folder does not exist: a mistyped folder is an error, never a
// new folder.
void CheckExportFolder(const std::filesystem::path& p_path);
// Replaces the file atomically with the list's export, in a folder that must exist; a failure is
// error 75 naming the file and the reason, and leaves any earlier file as it was.
void WriteListExport(Viewer& p_oViewer, const std::filesystem::path& p_path);

}  // namespace qv
