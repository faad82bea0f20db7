// The column selector's two choices for an export: which columns, in which order, and which file.
//
// Both are reached by dispatch id on the column selector (DialogColumnSelector):
//   - the column choice (kChooseExportColumns) takes the column-choice list (a recordset with
//     "parameter_id", "column_name", "selected", "Sequence" and "Caption", one row per column
//     offered, in the order offered), the rows to export, the columns table (by reference,
//     output) and true. It returns true when the person confirmed; the columns table is then
//     (0..2, column) of parameter id, caption and column name in the chosen order, or Empty when
//     no column was ticked.
//   - the file choice (kChooseExportFile) takes the proposed path and returns the chosen one, or
//     "" when the person cancelled.
//
// What the person does lives in ExportColumnsDialog and SaveFileDialog, shown through the
// platform's dialog runner: the shell draws them, tests script them, and without a display they
// are dismissed, which is a cancel.
//
//     platform.Dialogs().QueueScriptFor<SaveFileDialog>([](SaveFileDialog& dialog) {
//         dialog.Choose("/tmp/stocks.csv");
//     });
#pragma once

#include "outside/dialog_runner.h"
#include "outside/variant.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qv {

class Recordset;

struct ExportColumn {
    int32_t ParameterId = 0;
    std::string Caption;
    std::string ColumnName;
    bool Ticked = false;
    bool operator==(const ExportColumn&) const = default;
};

class ExportColumnsDialog : public ModalDialog {
  public:
    static constexpr const char* kCaption = "Export Columns";

    explicit ExportColumnsDialog(std::vector<ExportColumn> p_columns)
        : m_columns(std::move(p_columns)) {}

    std::string DialogCaption() const override { return kCaption; }
    void DismissDialog() override { m_bAccepted = false; }

    // Every column offered, in the order they will be written.
    const std::vector<ExportColumn>& Columns() const { return m_columns; }
    // Each returns false and changes nothing for an index out of range or a move past either end.
    bool SetTicked(size_t p_lIndex, bool p_bTicked);
    bool Move(size_t p_lFrom, size_t p_lTo);
    void TickAll(bool p_bTicked);

    void Accept() { m_bAccepted = true; }
    bool Accepted() const { return m_bAccepted; }
    // The ticked columns as the export's columns table; Empty when none is ticked.
    Variant ColumnsTable() const;

  private:
    std::vector<ExportColumn> m_columns;
    bool m_bAccepted = false;
};

class SaveFileDialog : public ModalDialog {
  public:
    static constexpr const char* kCaption = "Export To File";

    explicit SaveFileDialog(std::string p_sProposedPath)
        : m_sProposedPath(std::move(p_sProposedPath)) {}

    std::string DialogCaption() const override { return kCaption; }
    void DismissDialog() override { m_sChosenPath.clear(); }

    // The last file exported to, or a folder to start in.
    const std::string& ProposedPath() const { return m_sProposedPath; }
    void Choose(std::string p_sPath) { m_sChosenPath = std::move(p_sPath); }
    // "" until a file is chosen, and after a cancel.
    const std::string& ChosenPath() const { return m_sChosenPath; }

  private:
    std::string m_sProposedPath;
    std::string m_sChosenPath;
};

namespace export_selector {

inline constexpr int32_t kChooseExportFile = 0x60030001;
inline constexpr int32_t kChooseExportColumns = 0x60030003;
inline constexpr size_t kColumnArguments = 4;
inline constexpr size_t kFileArguments = 1;

// The columns a column-choice list offers, in its order; none for a closed or empty list.
std::vector<ExportColumn> OfferedColumns(const std::shared_ptr<Recordset>& p_rColumnList);
// The two operations, on arguments already counted.
Variant ChooseColumns(std::span<Variant> p_args);
Variant ChooseFile(std::span<Variant> p_args);

}  // namespace export_selector
}  // namespace qv
