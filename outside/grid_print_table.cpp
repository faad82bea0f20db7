#include "outside/grid_print_table.h"

#include "outside/grid_cell_text.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"

namespace qv {

namespace {

PrintAlign ToPrintAlign(GridAlignment p_eAlignment) {
    switch (p_eAlignment) {
        case gaRight:
            return PrintAlign::Right;
        case gaCenter:
            return PrintAlign::Center;
        case gaLeft:
        case gaGeneral:
            break;
    }
    return PrintAlign::Left;
}

struct SourceColumn {
    std::shared_ptr<GridControlColumn> Column;
    int32_t Field;
    GridAlignment Alignment;
};

}  // namespace

PrintTable GridPrintTable(const GridControl& p_oGrid, GridPrintRows p_eRows) {
    const std::shared_ptr<Recordset>& rows = p_oGrid.DataSource();
    const Recordset* recordset = rows && rows->State() == adStateOpen ? rows.get() : nullptr;
    PrintTable table;
    std::vector<SourceColumn> sources;
    for (const auto& split : p_oGrid.Splits()->All()) {
        bool first = true;
        for (auto& column : split->ShownColumns()) {
            const int32_t field = recordset ? recordset->Fields().IndexOf(column->DataField()) : -1;
            const GridAlignment alignment = GridColumnAlignment(*column, recordset, field);
            table.Columns.push_back({column->Caption(), column->SplitWidth(split->Index()),
                                     ToPrintAlign(alignment), first && split->Index() > 0});
            sources.push_back({std::move(column), field, alignment});
            first = false;
        }
    }
    if (!recordset) {
        return table;
    }
    const GridSelBookmarks& selection = *p_oGrid.SelBookmarks();
    const int32_t count = p_oGrid.RowCount();
    for (int32_t position = 0; position < count; ++position) {
        const uint32_t rowId = recordset->ViewRowId(position);
        if (p_eRows == gprSelectedRows && !selection.ContainsKey(static_cast<double>(rowId) + 1)) {
            continue;
        }
        for (const SourceColumn& source : sources) {
            const Variant value =
                source.Field >= 0 ? recordset->ValueAt(rowId, source.Field) : Variant();
            table.Cells.push_back(GridCellText(value, source.Column->NumberFormat()));
            table.CellAlignments.push_back(
                ToPrintAlign(GridCellAlignment(source.Alignment, value)));
        }
    }
    return table;
}

}  // namespace qv
