#include "grid/column_utilities_grid.h"

#include "columns/grid_column.h"
#include "grid/column_width.h"
#include "grid/grid.h"
#include "grid/grid_utilities.h"
#include "outside/automation_error.h"
#include "outside/dispatch.h"
#include "outside/grid_control.h"

#include <algorithm>

namespace qv::ColumnUtilities {

namespace {

GridControl& ControlOf(const Grid& p_oGrid) {
    if (!p_oGrid.GridObject()) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the grid has no control");
    }
    return *p_oGrid.GridObject();
}

// A split the grid lacks (a watch list's secondary grid keeps one) means its last split.
int32_t ExistingSplit(const GridControl& p_oGrid, int16_t p_iSplit) {
    return std::clamp<int32_t>(p_iSplit, 0, p_oGrid.Splits()->Count() - 1);
}

// The 0-based display order of a 1-based position, the last one beyond the columns.
int32_t DisplayOrder(int32_t p_lPosition, int32_t p_lCount) {
    return std::max(std::min(p_lPosition, p_lCount) - 1, 0);
}

void ShowOnlyIn(GridControlColumn& p_oGridColumn, int32_t p_lSplit, bool p_bShown) {
    for (int32_t split = 0; split < p_oGridColumn.SplitCount(); ++split) {
        p_oGridColumn.SetSplitVisible(split, p_bShown && split == p_lSplit);
    }
}

bool IsShownState(ColumnState p_eState) {
    return p_eState == csVisible || p_eState == csAlwaysVisible;
}

}  // namespace

int16_t GetGridColumnIndex(const std::string& p_sFieldName, const Grid& p_oGrid) {
    if (!p_oGrid.GridObject()) {
        return -1;
    }
    return static_cast<int16_t>(p_oGrid.GridObject()->Columns()->IndexOfField(p_sFieldName));
}

void SyncGridColumn(GridColumn& p_oColumn, const Grid& p_oGrid, int16_t p_iSplit,
                    int32_t p_lPosition) {
    GridControl& grid = ControlOf(p_oGrid);
    const int32_t position = p_lPosition < 0 ? p_oColumn.Sequence() : p_lPosition;
    const int16_t index = GetGridColumnIndex(p_oColumn.SQLColumn(), p_oGrid);
    // The layout loader gives a column of another table no grid column; neither does this.
    if (!GridUtilities::IsBitSet(p_oGrid.ViewerDataType(), p_oColumn.TableMask())) {
        if (index >= 0) {
            grid.Columns()->Item(index)->SetVisible(false);
        }
        return;
    }
    if (index < 0) {
        AddGridColumn(p_oColumn, p_oGrid, p_iSplit);
        return;
    }
    const std::shared_ptr<GridControlColumn>& gridColumn = grid.Columns()->Item(index);
    p_oColumn.SetTrueGridColumnNumber(index);
    ShowOnlyIn(*gridColumn, ExistingSplit(grid, p_iSplit),
               IsShownState(p_oColumn.GridColumn_State_Setting()));
    gridColumn->SetOrder(DisplayOrder(position, grid.Columns()->Count()));
}

void AddGridColumn(GridColumn& p_oColumn, const Grid& p_oGrid, int16_t p_iSplit) {
    GridControl& grid = ControlOf(p_oGrid);
    const int32_t split = ExistingSplit(grid, p_iSplit);
    const int32_t index = grid.Columns()->Count();
    const std::shared_ptr<GridControlColumn> gridColumn = grid.Columns()->Add(index);
    p_oColumn.SetTrueGridColumnNumber(index);
    LetPropertyById(*gridColumn, 1, Variant(int32_t{1}));
    LetPropertyById(*gridColumn, 42, Variant(int32_t{2}));
    const bool percent =
        p_oColumn.ParameterId() == 0 && p_oColumn.SQLColumn().find("Delta") != std::string::npos;
    gridColumn->SetNumberFormat(percent ? "Percent" : "#,##0.#0");
    gridColumn->SetDataField(p_oColumn.SQLColumn());
    ShowOnlyIn(*gridColumn, split, true);
    gridColumn->SetWidth(
        CaptionColumnWidth(p_oColumn.Caption(), gridColumn->Font().Name, gridColumn->Font().Size));
    gridColumn->SetCaption(p_oColumn.Caption());
    gridColumn->SetOrder(DisplayOrder(p_oColumn.Sequence(), grid.Columns()->Count()));
}

void HideGridColumns(const Grid& p_oGrid) {
    GridControlColumns& columns = *ControlOf(p_oGrid).Columns();
    for (int32_t index = columns.Count() - 1; index >= 0; --index) {
        columns.Item(index)->SetVisible(false);
    }
}

}  // namespace qv::ColumnUtilities
