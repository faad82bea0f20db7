#include "grid/grid_current_row.h"

#include "outside/automation_error.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"

namespace qv {

GridCurrentRow::GridCurrentRow(const GridControl* p_oGrid) {
    if (p_oGrid == nullptr || p_oGrid->RowCount() == 0 || p_oGrid->Row() < 0) {
        return;
    }
    m_rRow = p_oGrid->DataSource()->Clone();
    m_rRow->SetBookmark(p_oGrid->Bookmark());
}

std::optional<std::string> GridCurrentRow::Text(std::string_view p_sField) const {
    if (!m_rRow) {
        return std::nullopt;
    }
    const int32_t field = m_rRow->Fields().IndexOf(p_sField);
    if (field < 0) {
        return std::nullopt;
    }
    const Variant value = m_rRow->Value(field);
    if (value.IsNull()) {
        return std::nullopt;
    }
    return value.ToString();
}

std::string GridCurrentRow::Required(std::string_view p_sField) const {
    std::optional<std::string> text = Text(p_sField);
    if (!text) {
        throw AutomationError(errors::kItemNotFound, "Grid",
                              "the current row has no value of \"" + std::string(p_sField) + "\"");
    }
    return *text;
}

std::string AddressDate(double p_dSerial) {
    return Variant::Date(p_dSerial).ToString();
}

}  // namespace qv
