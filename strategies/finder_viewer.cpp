#include "strategies/finder_viewer.h"

#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "columns/layout_utilities.h"
#include "grid/grid.h"
#include "outside/automation_error.h"
#include "outside/dispatch.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/strategy_support.h"

#include <array>
#include <optional>

namespace qv {
namespace {

using namespace strategy_support;

namespace default_layout = facade_protocol::get_default_layout;
namespace field_list = facade_protocol::get_custom_field_list;

constexpr int32_t kFinderViewerType = 6;
constexpr int32_t kNoLayoutError = 911;
// The finder layout whose recommendations get no buy/sell/hold caption.
constexpr int32_t kNoCaptionLayout = 297;

// The rows a finder result type lists: 0, 3 and 5 stocks, 1 industries, 2 sectors; the others
// have no colours or key columns of their own.
enum class RowKind { Stocks, Industries, Sectors, Other };

RowKind RowKindOf(int32_t p_lResultType) {
    switch (p_lResultType) {
        case 0:
        case 3:
        case 5:
            return RowKind::Stocks;
        case 1:
            return RowKind::Industries;
        case 2:
            return RowKind::Sectors;
        default:
            return RowKind::Other;
    }
}

void SetFinderColours(ViewerElements& p_oElements) {
    switch (RowKindOf(p_oElements.FinderResultsType())) {
        case RowKind::Stocks:
            SetColourSettings(p_oElements, CommonColours(kStockRows));
            return;
        case RowKind::Industries:
            SetColourSettings(p_oElements, CommonColours(kIndustryRows));
            return;
        case RowKind::Sectors:
            SetColourSettings(p_oElements, CommonColours(kSectorRows));
            return;
        case RowKind::Other:
            return;
    }
}

}  // namespace

void FinderViewer::Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported("FinderViewer:Initialize", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        SetFinderColours(*elements);

        std::optional<LayoutDescription> layout = elements->GridLayoutDescription();
        if (!layout->Sort) {
            const std::shared_ptr<DispatchObject> facade = CreateFacade();
            std::array<Variant, default_layout::kCount> args{
                Variant(elements->OwnerId()), Variant(kFinderViewerType),
                Variant(elements->FinderResultsType())};
            layout = ReturnedLayout(CallMethod(*facade, default_layout::kMethod, args));
        }
        if (!layout || !layout->Sort) {
            throw AutomationError(kNoLayoutError, "FinderViewer", "No layout specified");
        }

        const std::shared_ptr<Recordset> rows = elements->FinderResults();
        elements->SetStartTimeId(0);
        // Bound before its columns exist, so no column is checked against the rows yet.
        if (const auto& control = p_oPriGrid.GridObject()) {
            control->SetDataSource(rows);
        }
        ApplyLayout(p_oPriGrid, *layout);
        elements->SetGridColumns(gtPrimary, p_oPriGrid.GridColumns());
        elements->SetGridColumns(gtSecondary, nullptr);
        p_oPriGrid.Initialize("", "", elements->FinderResultsType(), "Tandrel Report", this, true,
                              false, 0);
        p_oPriGrid.SetDataSource(rows);
        if (elements->FinderResultsType() == 0 &&
            elements->GridLayout()->Id() != kNoCaptionLayout &&
            LayoutUtilities::IsFieldInLayout(kRecommendationField, *layout)) {
            elements->SetBSHCaption(p_oPriGrid.GetBSHRatio());
        }
        SetVisibility(p_oPriGrid, p_oSecGrid, false);
    });
}

void FinderViewer::SynchronizeColumns(Grid& p_oPriGrid, Grid&, bool) {
    Reported("FinderViewer_SynchronizeColumns", [&] {
        AssignSplits(p_oPriGrid);
        SyncColumns(ViewerElements()->GridColumns(gtPrimary), p_oPriGrid);
    });
}

void FinderViewer::ReFillParams() {
    Reported("Viewer:ReFillParams", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        const std::shared_ptr<DispatchObject> facade = CreateFacade();
        std::array<Variant, field_list::kCount> args{
            Variant(elements->OwnerId()),
            Variant(static_cast<int16_t>(elements->FinderResultsType()))};
        elements->SetParameterList(RecordsetOf(CallMethod(*facade, field_list::kMethod, args)));
    });
}

void FinderViewer::ApplyLayout(Grid& p_oPriGrid, const LayoutDescription& p_layout) {
    ViewerElements()->GridLayout()->SetId(p_layout.Header.Id);
    p_oPriGrid.PopulateColumns(p_layout, -1);
    AssignSplits(p_oPriGrid);
}

void FinderViewer::AssignSplits(Grid& p_oPriGrid) {
    const GridColumns& columns = *p_oPriGrid.GridColumns();
    switch (RowKindOf(ViewerElements()->FinderResultsType())) {
        case RowKind::Stocks:
            AssignKeySplits(columns, {4, 5});
            return;
        case RowKind::Industries:
            AssignKeySplits(columns, {35});
            return;
        case RowKind::Sectors:
            AssignKeySplits(columns, {36});
            return;
        case RowKind::Other:
            return;
    }
}

}  // namespace qv
