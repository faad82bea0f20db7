#include "strategies/strategy_support.h"

#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "grid/column_utilities_grid.h"
#include "grid/grid.h"
#include "outside/grid_control.h"
#include "outside/message_box.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/support_utility.h"
#include "state/viewer_elements.h"

#include <algorithm>
#include <vector>

namespace qv::strategy_support {
namespace {

constexpr const char* kLoginConflictText =
    "It appears that another user has logged into your account.  Please log out, and log in "
    "again.";
constexpr const char* kLoginConflictTitle = "Olmaris OnLine";

bool ShownColumn(const GridColumn& p_oColumn) {
    const ColumnState state = p_oColumn.GridColumn_State_Setting();
    return state == csVisible || state == csAlwaysVisible;
}

}  // namespace

std::array<int32_t, 8> CommonColours(int32_t p_lEvenRowBackColor) {
    return {kHighlight, kWhite, 0, p_lEvenRowBackColor, kWhite, 0, kGrey, kGrey};
}

void SetColourSettings(ViewerElements& p_oElements, std::span<const int32_t> p_aColours) {
    using Setter = void (ViewerElements::*)(int32_t);
    static constexpr std::array<Setter, 10> kSetters = {
        &ViewerElements::SetHighlightRowBackColor, &ViewerElements::SetHighlightRowForeColor,
        &ViewerElements::SetEvenRowForeColor,      &ViewerElements::SetEvenRowBackColor,
        &ViewerElements::SetOddRowBackColor,       &ViewerElements::SetOddRowForeColor,
        &ViewerElements::SetInactiveBackColor,     &ViewerElements::SetHeadBackColor,
        &ViewerElements::SetSecondaryBackColor,    &ViewerElements::SetSecondaryForeColor};
    const size_t count = std::min(p_aColours.size(), kSetters.size());
    for (size_t index = 0; index < count; ++index) {
        (p_oElements.*kSetters[index])(p_aColours[index]);
    }
}

void SetListColours(ViewerElements& p_oElements, const std::array<int32_t, 8>& p_aCommon,
                    int32_t p_lSecondaryBackColor) {
    std::array<int32_t, 10> colours{};
    std::copy(p_aCommon.begin(), p_aCommon.end(), colours.begin());
    colours[8] = p_lSecondaryBackColor;
    colours[9] = 0;
    SetColourSettings(p_oElements, colours);
}

void LockSecondaryColumns(Grid& p_oSecGrid) {
    if (const auto& control = p_oSecGrid.GridObject()) {
        control->SetAllowColSelect(false);
        control->SetAllowColMove(false);
    }
}

std::shared_ptr<DispatchObject> CreateFacade(std::string_view p_sProgId) {
    return SupportUtility().CreateObject(p_sProgId);
}

bool HasRows(const std::shared_ptr<Recordset>& p_rRows) {
    return p_rRows && p_rRows->RecordCount() > 0;
}

std::string TotalCaption(const Recordset& p_rRows) {
    return "Total: " + std::to_string(p_rRows.RecordCount());
}

Variant LimitArgument(const ViewerElements& p_oElements) {
    return Variant(p_oElements.MaxRows() != -1 ? p_oElements.MaxRows() : int32_t{-1});
}

Variant ReturnAllArgument(const ViewerElements& p_oElements) {
    return Variant(p_oElements.MaxRows() != -1 && p_oElements.ReturnAll());
}

void ReportLoginConflict(ViewerElements& p_oElements) {
    PlatformContext::Current().Messages().Show(kLoginConflictText, vbOKOnly, vbCritical,
                                               kLoginConflictTitle);
    p_oElements.SetTimeCodeFailed(true);
}

Variant CurrentValue(const Grid& p_oGrid, std::string_view p_sField) {
    const std::shared_ptr<GridControl>& control = p_oGrid.GridObject();
    if (!control || control->Row() < 0 || !control->DataSource()) {
        return Variant();
    }
    return control->DataSource()->Fields().Item(p_sField).Value();
}

bool SameFilter(const Variant& p_vFilter, int32_t p_lCode) {
    if (p_vFilter.IsEmpty()) {
        return p_lCode == 0;
    }
    return p_vFilter.IsNumber() && p_vFilter.ToLong() == p_lCode;
}

void FilterSecondaryRows(ViewerElements& p_oElements, const std::shared_ptr<Recordset>& p_rRows,
                         std::string_view p_sField, int32_t p_lCode) {
    if (SameFilter(p_oElements.SecGridFilter(), p_lCode)) {
        return;
    }
    if (p_rRows) {
        p_rRows->SetFilter(std::string(p_sField) + " = " + std::to_string(p_lCode));
    }
    p_oElements.SetSecGridFilter(Variant(p_lCode));
}

void AssignKeySplits(const GridColumns& p_oColumns, std::initializer_list<int32_t> p_aKeyIds) {
    for (const auto& column : p_oColumns) {
        const bool key =
            std::find(p_aKeyIds.begin(), p_aKeyIds.end(), column->ParameterId()) != p_aKeyIds.end();
        column->SetSplitNumber(key ? 0 : 1);
    }
}

void SyncColumns(const std::shared_ptr<GridColumns>& p_oColumns, const Grid& p_oGrid) {
    ColumnUtilities::HideGridColumns(p_oGrid);
    if (!p_oColumns) {
        return;
    }
    // Each column is moved to its position in turn, which can push an earlier one out of its
    // place unless the positions are taken from left to right, as the layout loader takes them;
    // columns that share a Sequence keep their layout order, each right after the one before.
    std::vector<GridColumn*> shown;
    for (const auto& column : *p_oColumns) {
        if (ShownColumn(*column)) {
            shown.push_back(column.get());
        }
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [](const GridColumn* p_left, const GridColumn* p_right) {
                         return p_left->Sequence() < p_right->Sequence();
                     });
    int32_t position = 0;
    for (GridColumn* column : shown) {
        position = std::max(column->Sequence(), position + 1);
        ColumnUtilities::SyncGridColumn(*column, p_oGrid, column->SplitNumber(), position);
    }
}

void SetVisibility(Grid& p_oPriGrid, Grid& p_oSecGrid, bool p_bSecondaryVisible) {
    p_oPriGrid.SetVisible(true);
    p_oSecGrid.SetVisible(p_bSecondaryVisible);
}

std::optional<LayoutDescription> ReturnedLayout(const Variant& p_vLayoutInfo) {
    if (!p_vLayoutInfo.IsArray()) {
        return std::nullopt;
    }
    return layout_codec::Parse(p_vLayoutInfo);
}

}  // namespace qv::strategy_support
