#include "outside/grid_cell_text.h"

#include "outside/automation_error.h"
#include "outside/grid_control_column.h"
#include "outside/recordset.h"
#include "outside/recordset_rows.h"
#include "outside/vb_format.h"

namespace qv {

std::string GridCellText(const Variant& p_vValue, const std::string& p_sFormat) {
    try {
        return Format(p_vValue, p_sFormat);
    } catch (const AutomationError&) {
        // A value the format cannot take shows as it is, as the grid shows a value it cannot
        // format.
    }
    try {
        return p_vValue.ToString();
    } catch (const AutomationError&) {
        return "";
    }
}

GridAlignment GridColumnAlignment(const GridControlColumn& p_oColumn, const Recordset* p_rRecordset,
                                  int32_t p_lField) {
    if (p_oColumn.Alignment() != gaGeneral) {
        return p_oColumn.Alignment();
    }
    if (p_rRecordset == nullptr || p_lField < 0) {
        return gaLeft;
    }
    switch (ColumnKindOf(p_rRecordset->Fields().Item(p_lField).Type())) {
        case ColumnKind::Double:
        case ColumnKind::Date:
        case ColumnKind::Long:
        case ColumnKind::Integer:
            return gaRight;
        case ColumnKind::Variant:
            return gaGeneral;
        default:
            return gaLeft;
    }
}

GridAlignment GridCellAlignment(GridAlignment p_eColumn, const Variant& p_vValue) {
    if (p_eColumn != gaGeneral) {
        return p_eColumn;
    }
    return p_vValue.IsNumber() || p_vValue.IsDate() ? gaRight : gaLeft;
}

}  // namespace qv
