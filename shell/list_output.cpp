#include "shell/list_output.h"

#include "control/viewer.h"
#include "grid/grid.h"
#include "outside/file_util.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/grid_geometry.h"

#include <set>
#include <vector>

namespace qv {

namespace {

// Every column a split shows, whatever it is scrolled to, split by split.
std::vector<GridSlot> AllShownColumns(const GridControl& p_oGrid) {
    std::vector<GridSlot> shown;
    for (const auto& split : p_oGrid.Splits()->All()) {
        for (const auto& column : p_oGrid.Columns()->DisplayOrder()) {
            if (column->SplitVisible(split->Index())) {
                shown.push_back(GridSlot{column, split->Index(), 0, 0});
            }
        }
    }
    return shown;
}

bool HasValue(const Variant& p_vValue) {
    return !p_vValue.IsEmpty() && !p_vValue.IsNull() &&
           !(p_vValue.IsString() && p_vValue.ToString().empty());
}

bool AnyValue(Recordset& p_rRows, const std::string& p_sField) {
    for (p_rRows.MoveFirst(); !p_rRows.IsEOF(); p_rRows.MoveNext()) {
        if (HasValue(p_rRows.Value(p_sField))) {
            return true;
        }
    }
    return false;
}

std::string GridText(GridControl& p_oGrid) {
    return p_oGrid.RenderText(0, p_oGrid.RowCount());
}

}  // namespace

std::string ListText(Viewer& p_oViewer) {
    std::string text = GridText(*p_oViewer.olePriGrid());
    if (p_oViewer.oleSecGrid()->Visible()) {
        text += "\n" + GridText(*p_oViewer.oleSecGrid());
    }
    return text;
}

std::vector<std::string> EmptyColumns(const GridControl& p_oGrid) {
    const std::shared_ptr<Recordset>& source = p_oGrid.DataSource();
    if (!source || source->RecordCount() == 0) {
        return {};
    }
    // A clone, so the grid's current row stays where it is.
    const std::shared_ptr<Recordset> rows = source->Clone();
    std::vector<std::string> empty;
    std::set<std::string> seen;
    for (const GridSlot& slot : AllShownColumns(p_oGrid)) {
        const std::string& field = slot.Column->DataField();
        if (field.empty() || rows->Fields().IndexOf(field) < 0 || !seen.insert(field).second) {
            continue;
        }
        if (!AnyValue(*rows, field)) {
            empty.push_back(slot.Column->Caption());
        }
    }
    return empty;
}

void CheckExportFolder(const std::filesystem::path& p_path) {
    const std::filesystem::path folder = p_path.parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        RaisePathFileAccess(p_path, "there is no folder " + folder.string());
    }
}

void WriteListExport(Viewer& p_oViewer, const std::filesystem::path& p_path) {
    WriteFileAtomically(p_path, p_oViewer.PrimaryGrid()->ExportText(), MissingFolder::Fail);
}

}  // namespace qv
