#include "outside/export_selector.h"

#include "outside/platform_context.h"
#include "outside/recordset.h"

namespace qv {

namespace {

// The argument places of the column choice.
constexpr size_t kColumnList = 0;
constexpr size_t kColumnsTable = 2;

std::string TextOf(const Variant& p_vValue) {
    return p_vValue.IsNull() || p_vValue.IsEmpty() ? std::string() : p_vValue.ToString();
}

}  // namespace

bool ExportColumnsDialog::SetTicked(size_t p_lIndex, bool p_bTicked) {
    if (p_lIndex >= m_columns.size()) {
        return false;
    }
    m_columns[p_lIndex].Ticked = p_bTicked;
    return true;
}

bool ExportColumnsDialog::Move(size_t p_lFrom, size_t p_lTo) {
    if (p_lFrom >= m_columns.size() || p_lTo >= m_columns.size() || p_lFrom == p_lTo) {
        return false;
    }
    ExportColumn moved = std::move(m_columns[p_lFrom]);
    m_columns.erase(m_columns.begin() + static_cast<std::ptrdiff_t>(p_lFrom));
    m_columns.insert(m_columns.begin() + static_cast<std::ptrdiff_t>(p_lTo), std::move(moved));
    return true;
}

void ExportColumnsDialog::TickAll(bool p_bTicked) {
    for (ExportColumn& column : m_columns) {
        column.Ticked = p_bTicked;
    }
}

Variant ExportColumnsDialog::ColumnsTable() const {
    std::vector<const ExportColumn*> ticked;
    for (const ExportColumn& column : m_columns) {
        if (column.Ticked) {
            ticked.push_back(&column);
        }
    }
    if (ticked.empty()) {
        return Variant();
    }
    VariantArray table = VariantArray::Table(3, static_cast<int32_t>(ticked.size()));
    for (size_t i = 0; i < ticked.size(); ++i) {
        const auto at = static_cast<int32_t>(i);
        table.At(0, at) = Variant(ticked[i]->ParameterId);
        table.At(1, at) = Variant(ticked[i]->Caption);
        table.At(2, at) = Variant(ticked[i]->ColumnName);
    }
    return table;
}

namespace export_selector {

std::vector<ExportColumn> OfferedColumns(const std::shared_ptr<Recordset>& p_rColumnList) {
    std::vector<ExportColumn> columns;
    if (!p_rColumnList || p_rColumnList->State() != adStateOpen ||
        p_rColumnList->RecordCount() == 0) {
        return columns;
    }
    // A clone, so that the caller's cursor stays where it was.
    const std::shared_ptr<Recordset> rows = p_rColumnList->Clone();
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        const Variant selected = rows->Value("selected");
        columns.push_back({rows->Value("parameter_id").ToLong(), TextOf(rows->Value("Caption")),
                           TextOf(rows->Value("column_name")),
                           !selected.IsNull() && selected.ToBool()});
    }
    return columns;
}

Variant ChooseColumns(std::span<Variant> p_args) {
    const std::shared_ptr<Recordset> list =
        ExpectRecordset(p_args[kColumnList], "the column-choice list");
    ExportColumnsDialog dialog(OfferedColumns(list));
    PlatformContext::Current().Dialogs().ShowModal(dialog);
    if (!dialog.Accepted()) {
        return Variant(false);
    }
    p_args[kColumnsTable] = dialog.ColumnsTable();
    return Variant(true);
}

Variant ChooseFile(std::span<Variant> p_args) {
    SaveFileDialog dialog(TextOf(p_args[0]));
    PlatformContext::Current().Dialogs().ShowModal(dialog);
    return Variant(dialog.ChosenPath());
}

}  // namespace export_selector
}  // namespace qv
