#include "grid/grid_utilities.h"

#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "columns/recordset_utilities.h"
#include "grid/cell_formatting.h"
#include "grid/column_width.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/layout_description.h"
#include "outside/text_util.h"
#include "state/grid_type.h"
#include "state/viewer_elements.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>
#include <vector>

namespace qv::GridUtilities {

namespace {

using FieldSet = std::unordered_set<std::string, IgnoreCaseHash, IgnoreCaseEqual>;

bool IsShownState(ColumnState p_eState) {
    return p_eState != csSystem && p_eState != csHidden;
}

std::shared_ptr<GridColumns> StateColumns(ViewerElements& p_oElements, bool p_bPrimary) {
    return p_oElements.GridColumns(p_bPrimary ? gtPrimary : gtSecondary);
}

void SetSplitCount(GridControlSplits& p_oSplits, int32_t p_lCount) {
    while (p_oSplits.Count() < p_lCount) {
        p_oSplits.Add();
    }
    while (p_oSplits.Count() > p_lCount) {
        p_oSplits.Remove(p_oSplits.Count() - 1);
    }
}

// The columns after a column that gets no grid column move down one, so that the columns that
// apply stay numbered without gaps.
void CloseSequenceGap(const GridColumns& p_oColumns, int32_t p_lSequence) {
    for (const auto& column : p_oColumns) {
        if (column->Sequence() > p_lSequence) {
            column->SetSequence(column->Sequence() - 1);
        }
    }
}

int32_t WidthOf(const GridColumn& p_oColumn, const GridControlColumn& p_oGridColumn) {
    if (p_oColumn.ColumnWidth() != 0) {
        return p_oColumn.ColumnWidth();
    }
    const FontSpec& font = p_oGridColumn.Font();
    return CaptionColumnWidth(p_oColumn.Caption(), font.Name, font.Size);
}

// Shows a column in its own split only, or hides it in all.
void SetSplitVisibility(GridControlColumn& p_oGridColumn, int32_t p_lSplit, bool p_bShown) {
    p_oGridColumn.SetVisible(false);
    if (p_bShown) {
        p_oGridColumn.SetSplitVisible(p_lSplit, true);
    }
}

// A grid column of the layout and the column it is for.
struct LoadedColumn {
    const GridColumn* Layout;
    GridControlColumn* Grid;
};

GridControlColumn& AddLayoutColumn(GridControlColumns& p_oGridColumns, int32_t p_lSplits,
                                   GridColumn& p_oColumn, int32_t p_lIndex, bool p_bSingleSplit) {
    const int32_t split = std::clamp<int32_t>(p_oColumn.SplitNumber(), 0, p_lSplits - 1);
    GridControlColumn* const gridColumn = p_oGridColumns.Add(p_lIndex).get();
    gridColumn->SetCaption(p_oColumn.Caption());
    gridColumn->SetDataField(p_oColumn.SQLColumn());
    p_oColumn.SetTrueGridColumnNumber(p_lIndex);

    const bool shown = IsShownState(p_oColumn.GridColumn_State_Setting());
    if (p_bSingleSplit) {
        gridColumn->SetVisible(shown);
    } else {
        SetSplitVisibility(*gridColumn, split, shown);
    }
    if (shown && !p_bSingleSplit) {
        gridColumn->SetWidth(WidthOf(p_oColumn, *gridColumn));
    }
    if (shown) {
        ApplyColumnFormat(*gridColumn, p_oColumn.ColumnFormat());
    }
    ApplyColumnStyles(*gridColumn);
    return *gridColumn;
}

// The display position of grid column p_lIndex: its Sequence - 1; 0 for a negative Sequence;
// where it is for a Sequence beyond the columns.
int32_t TargetPosition(int32_t p_lSequence, int32_t p_lIndex, int32_t p_lCount) {
    if (p_lSequence > p_lCount) {
        return p_lIndex;
    }
    return std::clamp(p_lSequence - 1, 0, p_lCount - 1);
}

// Moving the columns one by one in index order can undo earlier moves (positions 2, 3, 1, 0
// would show as 3, 0, 2, 1); moving them in the order of their target positions cannot. Layouts
// can give several columns one Sequence: those keep their layout order, each placed right after
// the one before, where moving them all to the shared position would reverse them.
// p_added holds the grid columns by index.
void ApplySequenceOrder(const std::vector<LoadedColumn>& p_added) {
    const auto count = static_cast<int32_t>(p_added.size());
    std::vector<int32_t> targets(p_added.size());
    for (int32_t j = 0; j < count; ++j) {
        const auto index = static_cast<size_t>(j);
        targets[index] = TargetPosition(p_added[index].Layout->Sequence(), j, count);
    }
    std::vector<int32_t> indexes(p_added.size());
    std::iota(indexes.begin(), indexes.end(), 0);
    if (!std::is_sorted(targets.begin(), targets.end())) {
        std::stable_sort(indexes.begin(), indexes.end(), [&](int32_t left, int32_t right) {
            return targets[static_cast<size_t>(left)] < targets[static_cast<size_t>(right)];
        });
    }
    for (int32_t position = 0; position < count; ++position) {
        GridControlColumn& column =
            *p_added[static_cast<size_t>(indexes[static_cast<size_t>(position)])].Grid;
        if (column.Order() != position) {
            column.SetOrder(position);
        }
    }
}

void SetColours(GridStyle& p_oStyle, int32_t p_lBack, int32_t p_lFore) {
    p_oStyle.SetBackColor(p_lBack);
    p_oStyle.SetForeColor(p_lFore);
}

void ApplyAppearance(GridControl& p_oGrid, const ViewerElements& p_oElements, bool p_bPrimary,
                     bool p_bSingleSplit) {
    p_oGrid.SetAppearance(gapFlat);
    p_oGrid.SetBackColor(grid_colors::kWhite);
    for (const auto& split : p_oGrid.Splits()->All()) {
        if (!p_bSingleSplit) {
            split->Style(GridStyleKind::Heading)->SetBackColor(grid_colors::kLightGrey);
            split->Style(GridStyleKind::Inactive)->SetBackColor(grid_colors::kLightGrey);
        }
        SetColours(*split->Style(GridStyleKind::HighlightRow), p_oElements.HighlightRowBackColor(),
                   p_oElements.HighlightRowForeColor());
        SetColours(*split->Style(GridStyleKind::EvenRow), p_oElements.EvenRowBackColor(),
                   p_oElements.EvenRowForeColor());
        SetColours(*split->Style(GridStyleKind::OddRow), p_oElements.OddRowBackColor(),
                   p_oElements.OddRowForeColor());
    }
    p_oGrid.Style(GridStyleKind::Inactive)->SetBackColor(p_oElements.InactiveBackColor());
    p_oGrid.Style(GridStyleKind::Heading)->SetBackColor(p_oElements.HeadBackColor());
    if (!p_bPrimary) {
        SetColours(*p_oGrid.Style(GridStyleKind::Normal), p_oElements.SecondaryBackColor(),
                   p_oElements.SecondaryForeColor());
    }
}

void BuildLayout(GridControl& p_oGrid, ViewerElements& p_oElements, bool p_bPrimary,
                 int32_t p_lViewerDataType, bool p_bSingleSplit) {
    // A watch list's secondary grid loses its scrolling split after loading; a later list needs
    // it back.
    const int32_t splits = p_bSingleSplit ? 1 : 2;
    if (p_oGrid.Splits()->Count() == splits &&
        IsLayoutLoaded(p_oGrid, p_oElements, p_bPrimary, p_lViewerDataType)) {
        return;
    }
    p_oGrid.Columns()->Clear();
    SetSplitCount(*p_oGrid.Splits(), splits);

    const std::shared_ptr<GridColumns> columns = StateColumns(p_oElements, p_bPrimary);
    GridControlColumns& gridColumns = *p_oGrid.Columns();
    std::vector<LoadedColumn> added;
    added.reserve(static_cast<size_t>(columns->Count()));
    for (const auto& column : *columns) {
        if (!IsBitSet(p_lViewerDataType, column->TableMask())) {
            CloseSequenceGap(*columns, column->Sequence());
            continue;
        }
        GridControlColumn& gridColumn = AddLayoutColumn(
            gridColumns, splits, *column, static_cast<int32_t>(added.size()), p_bSingleSplit);
        added.push_back({column.get(), &gridColumn});
    }
    ApplySequenceOrder(added);

    const std::shared_ptr<GridSplit>& frozen = p_oGrid.Splits()->Item(0);
    frozen->SetSizeMode(gsmNumberOfColumns);
    frozen->SetSize(columns->ColsLeftOfSplit());
    ApplyAppearance(p_oGrid, p_oElements, p_bPrimary, p_bSingleSplit);
}

}  // namespace

bool IsBitSet(int32_t p_lBit, int32_t p_lMask) {
    if (p_lBit < 0 || p_lBit > 30) {
        return false;
    }
    return (p_lMask & (int32_t{1} << p_lBit)) != 0;
}

bool LayoutFieldsMissing(const std::shared_ptr<Recordset>& p_rRecordset,
                         const LayoutDescription& p_layout, int32_t p_lViewerDataType) {
    return std::any_of(
        p_layout.Columns.begin(), p_layout.Columns.end(), [&](const LayoutColumn& p_column) {
            return IsBitSet(p_lViewerDataType, p_column.TableMask) &&
                   !RecordsetUtilities::FieldExists(p_rRecordset, p_column.SQLColumn);
        });
}

bool IsLayoutLoaded(const GridControl& p_oGrid, ViewerElements& p_oElements, bool p_bPrimary,
                    int32_t p_lViewerDataType) {
    const GridControlColumns& gridColumns = *p_oGrid.Columns();
    if (gridColumns.Count() == 2) {
        return false;
    }
    FieldSet applicable;
    for (const auto& column : *StateColumns(p_oElements, p_bPrimary)) {
        const bool bound = gridColumns.IndexOfField(column->SQLColumn()) >= 0;
        if (IsBitSet(p_lViewerDataType, column->TableMask()) != bound) {
            return false;
        }
        if (bound) {
            applicable.insert(column->SQLColumn());
        }
    }
    for (int32_t index = 0; index < gridColumns.Count(); ++index) {
        if (!applicable.contains(gridColumns.Item(index)->DataField())) {
            return false;
        }
    }
    return true;
}

void LoadLayout(GridControl& p_oGrid, const std::shared_ptr<ViewerElements>& p_oElements,
                bool p_bPrimary, int32_t p_lViewerDataType, bool p_bSingleSplit) {
    Reported("LoadLayout 3", [&] {
        if (!p_oElements) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "the grid has no viewer state");
        }
        BuildLayout(p_oGrid, *p_oElements, p_bPrimary, p_lViewerDataType, p_bSingleSplit);
    });
}

}  // namespace qv::GridUtilities
