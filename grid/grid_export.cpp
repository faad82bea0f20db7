// The Grid's export: the rows of its control as comma-separated text in a file the person
// chooses, with the columns they tick in the column selector.
//
// Choices made where the export's description leaves them open:
//   - The values of a line are joined by "," with none after the last; a value never holds a
//     comma, not even one its format adds ("#,##0"), so each value stays one field.
//   - The file is written beside its final name and renamed over it once complete, into a folder
//     that must exist. A failure (no folder, a folder that may not be written, a full disk) names
//     the file and the reason in the "Export Failed" box and leaves any earlier file as it was.
//   - Only the columns of the grid's own rows are offered (see ShownTableColumns).
//   - The rows are read by id, not by moving the grid's cursor, so the grid does not follow the
//     export row by row; the current row is put back all the same, as the person left it.
#include "grid/grid.h"

#include "columns/column_utilities.h"
#include "columns/grid_columns.h"
#include "columns/recordset_utilities.h"
#include "grid/cell_formatting.h"
#include "grid/grid_utilities.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/export_selector.h"
#include "outside/file_util.h"
#include "outside/grid_control.h"
#include "outside/grid_control_bookmarks.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"

#include <array>
#include <filesystem>
#include <system_error>

namespace qv {

namespace {

constexpr int32_t kExportAllRows = 6;
constexpr int32_t kExportSelectedRows = 7;
constexpr const char* kSettingsApp = "Olmaris60";
constexpr const char* kExportSection = "ExportDir";
constexpr const char* kExportKey = "Dir";
constexpr const char* kExportFolder = "Export";

bool HasRows(const std::shared_ptr<Recordset>& p_rRows) {
    return p_rRows && p_rRows->State() == adStateOpen && p_rRows->RecordCount() > 0;
}

// The column names (row 2) of a columns table.
std::vector<std::string> ColumnNames(const Variant& p_vColumns) {
    const VariantArray& table = p_vColumns.Array();
    std::vector<std::string> names;
    for (int32_t i = table.LBound(2); i <= table.UBound(2); ++i) {
        names.push_back(table.At(2, i).ToString());
    }
    return names;
}

std::string RowsText(const GridColumns& p_oColumns, const Recordset& p_rRows,
                     const std::vector<std::string>& p_fields,
                     const std::vector<uint32_t>& p_rowIds) {
    const GridUtilities::ExportRowWriter writer(p_oColumns, p_rRows, p_fields);
    std::string text;
    // Lines of plain numbers run to about 12 bytes a value; one reservation spares the copies.
    text.reserve(p_rowIds.size() * (p_fields.size() * 12 + 2));
    for (const uint32_t row : p_rowIds) {
        writer.AppendRow(p_rRows, row, text);
    }
    return text;
}

// A primary grid holds the columns of every table of its layout, and its control shows only
// those of its own rows (TableMask has the bit of its data type): only those are offered, as a
// column the list does not show has nothing to write.
std::shared_ptr<GridColumns> ShownTableColumns(const GridColumns& p_oColumns, int32_t p_lDataType) {
    auto own = std::make_shared<GridColumns>();
    for (const auto& column : p_oColumns) {
        if (GridUtilities::IsBitSet(p_lDataType, column->TableMask())) {
            own->Add(column->SQLColumn(), column->GridColumn_State_Setting(), column->Caption(),
                     column->ParameterId(), column->Sequence(), column->TableMask(),
                     column->TrueGridColumnNumber(), column->ColumnFormat());
        }
    }
    return own;
}

std::vector<uint32_t> ViewRowIds(const Recordset& p_rRows) {
    std::vector<uint32_t> ids(static_cast<size_t>(p_rRows.ViewCount()));
    for (size_t i = 0; i < ids.size(); ++i) {
        ids[i] = p_rRows.ViewRowId(static_cast<int32_t>(i));
    }
    return ids;
}

}  // namespace

void Grid::Export(int32_t p_enExportType) {
    ErrorScope scope("Grid: Export");
    try {
        if (p_enExportType == kExportAllRows || p_enExportType == kExportSelectedRows) {
            ExportColumns(p_enExportType == kExportSelectedRows);
        }
    } catch (...) {
        scope.Capture();
    }
}

void Grid::ExportColumns(bool p_bSelectedOnly) {
    const std::shared_ptr<Recordset> rows = m_oGrid ? m_oGrid->DataSource() : nullptr;
    std::shared_ptr<Recordset> choices = RecordsetUtilities::NewClientRecordset();
    ColumnUtilities::ExportColumnList(choices,
                                      *ShownTableColumns(*GridColumns(), m_lViewerDataType), rows);
    // Every export column is offered, the shown ones ticked.
    choices->SetFilter(Variant(""));
    choices->SetSort("Sequence ASC");
    choices = RecordsetUtilities::CopyRecordset(choices);
    std::array<Variant, export_selector::kColumnArguments> args{
        RecordsetVariant(choices), RecordsetVariant(rows), Variant(), Variant(true)};
    if (!m_oColumnSelector ||
        !CallMethodById(*m_oColumnSelector, export_selector::kChooseExportColumns, args).ToBool()) {
        return;
    }
    if (p_bSelectedOnly) {
        ExportSelectedRows(args[2]);
    } else {
        ExportAllRows(args[2]);
    }
}

void Grid::ExportAllRows(const Variant& p_vColumns) {
    const std::shared_ptr<Recordset> rows = m_oGrid ? m_oGrid->DataSource() : nullptr;
    if (!HasRows(rows)) {
        MsgBox("There is no data to export.");
        return;
    }
    const int32_t position = rows->AbsolutePosition();
    WriteExport(p_vColumns, *rows, ViewRowIds(*rows));
    if (rows->State() == adStateOpen && rows->AbsolutePosition() != position) {
        rows->SetAbsolutePosition(position);
    }
}

void Grid::ExportSelectedRows(const Variant& p_vColumns) {
    const std::shared_ptr<Recordset> source = m_oGrid ? m_oGrid->DataSource() : nullptr;
    if (!HasRows(source)) {
        MsgBox("There is no data to export.");
        return;
    }
    const GridSelBookmarks& selected = *m_oGrid->SelBookmarks();
    if (selected.Count() == 0) {
        MsgBox("Please select the rows that you wish to export.");
        return;
    }
    const Variant current = source->IsEOF() || source->IsBOF() ? Variant() : source->Bookmark();
    const std::shared_ptr<Recordset> rows = source->Clone();
    std::vector<uint32_t> ids;
    for (int32_t i = 0; i < selected.Count(); ++i) {
        rows->SetBookmark(selected.Item(i));
        ids.push_back(rows->ViewRowId(rows->AbsolutePosition() - 1));
    }
    WriteExport(p_vColumns, *rows, ids);
    if (!current.IsEmpty() && source->State() == adStateOpen) {
        source->SetBookmark(current);
    }
}

void Grid::WriteExport(const Variant& p_vColumns, const Recordset& p_rRows,
                       const std::vector<uint32_t>& p_rowIds) {
    std::string path;
    try {
        std::array<Variant, export_selector::kFileArguments> args{Variant(GetExportPath())};
        path =
            CallMethodById(*m_oColumnSelector, export_selector::kChooseExportFile, args).ToString();
        if (path.empty()) {
            return;
        }
        const Variant columns =
            p_vColumns.IsMissing()
                ? ColumnUtilities::ExportColumnList(
                      RecordsetUtilities::NewClientRecordset(),
                      *ShownTableColumns(*GridColumns(), m_lViewerDataType), m_oGrid->DataSource())
                : p_vColumns;
        if (columns.IsEmpty()) {
            MsgBox("There are no columns to export.");
            return;
        }
        {
            PointerReset reset;
            SetMousePointer(vbHourglass);
            const std::string text =
                RowsText(*GridColumns(), p_rRows, ColumnNames(columns), p_rowIds);
            // An existing file is replaced by the rename, never deleted first: a failed write
            // leaves it as it was. The host may run meanwhile, as when it was deleted; nothing
            // of the Grid is touched after this yield.
            std::error_code error;
            if (std::filesystem::exists(path, error)) {
                DoEvents();
            }
            if (!text.empty()) {
                WriteFileAtomically(path, text, MissingFolder::Fail);
            }
            SaveExportPath(path);
        }
    } catch (...) {
        const AutomationError failure = CurrentFailure();
        MsgBox("There was an internal error.  Export failed.\n\n" + failure.Description(), vbOKOnly,
               vbExclamation, "Export Failed");
        return;
    }
    MsgBox("Data exported to file " + path + " successfully.", vbOKOnly, vbInformation);
}

std::string Grid::ExportText() {
    const std::shared_ptr<Recordset> rows = m_oGrid ? m_oGrid->DataSource() : nullptr;
    if (!HasRows(rows)) {
        return std::string();
    }
    const Variant columns = ColumnUtilities::ExportColumnList(
        RecordsetUtilities::NewClientRecordset(),
        *ShownTableColumns(*GridColumns(), m_lViewerDataType), rows);
    if (columns.IsEmpty()) {
        return std::string();
    }
    return RowsText(*GridColumns(), *rows, ColumnNames(columns), ViewRowIds(*rows));
}

std::string Grid::GetExportPath() {
    const std::filesystem::path folder =
        PlatformContext::Current().Library().Path() / kExportFolder;
    const std::string setting =
        GetSetting(kSettingsApp, kExportSection, kExportKey, folder.string());
    std::error_code error;
    if (std::filesystem::exists(setting, error)) {
        return setting;
    }
    std::filesystem::create_directories(folder, error);
    return folder.string();
}

void Grid::SaveExportPath(const std::string& p_sPath) {
    SaveSetting(kSettingsApp, kExportSection, kExportKey, p_sPath);
}

}  // namespace qv
