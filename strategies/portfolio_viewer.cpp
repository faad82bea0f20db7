#include "strategies/portfolio_viewer.h"

#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "grid/grid.h"
#include "grid/grid_utilities.h"
#include "outside/dispatch.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/grid_control.h"
#include "outside/grid_control_splits.h"
#include "outside/grid_split.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/strategy_support.h"

#include <array>

namespace qv {
namespace {

using namespace strategy_support;

namespace holdings = facade_protocol::get_current_holdings;
namespace get_layout = facade_protocol::get_layout;
namespace field_list = facade_protocol::get_custom_field_list;

constexpr int32_t kDefaultLayoutId = 14;
constexpr int32_t kResultType = 3;
constexpr int32_t kStockFields = 0;
constexpr int32_t kScrolledSplit = 1;

// The holdings again, with every field of the layout; the new rows replace the host's for the
// next update too.
std::shared_ptr<Recordset> FetchHoldings(ViewerElements& p_oElements,
                                         const LayoutDescription& p_layout) {
    const std::shared_ptr<DispatchObject> facade =
        CreateFacade(facade_protocol::prog_id::kPortfolioReader);
    std::array<Variant, holdings::kCount> args{Variant(p_oElements.PortfolioID()),
                                               Variant(p_oElements.OwnerId()),
                                               Variant(),
                                               Variant(false),
                                               Variant::Nothing(),
                                               layout_codec::ToVariant(p_layout),
                                               Variant(true),
                                               Variant::Nothing()};
    std::shared_ptr<Recordset> rows = RecordsetOf(CallMethod(*facade, holdings::kMethod, args));
    p_oElements.SetFinderResults(rows);
    p_oElements.SetParameterList(RecordsetOf(args[holdings::kParameterList.Position]));
    return rows;
}

// A grid whose layout has no second split has nothing to scroll back.
void RestoreLeftColumn(const Grid& p_oGrid, int16_t p_iLeftCol) {
    const std::shared_ptr<GridControl>& control = p_oGrid.GridObject();
    if (!control || control->Splits()->Count() <= kScrolledSplit) {
        return;
    }
    control->Splits()->Item(kScrolledSplit)->SetLeftCol(p_iLeftCol);
}

}  // namespace

void PortfolioViewer::Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported("PortfolioViewer:Initialize", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        SetColourSettings(*elements, CommonColours(RgbColor(209, 222, 238)));
        const int16_t leftCol = Variant(elements->LeftColIndex()).ToInt();
        elements->SetDoubleGrid(false);
        if (elements->GridLayout()->Id() == 0) {
            elements->GridLayout()->SetId(kDefaultLayoutId);
        }

        LayoutDescription layout = elements->GridLayoutDescription();
        if (!layout.Sort) {
            const std::shared_ptr<DispatchObject> facade = CreateFacade();
            std::array<Variant, get_layout::kCount> args{Variant(elements->OwnerId()),
                                                         Variant(elements->GridLayout()->Id())};
            layout = layout_codec::Parse(CallMethod(*facade, get_layout::kMethod, args));
        }
        elements->SetGridLayoutDescription(layout);

        elements->GridLayout()->SetId(layout.Header.Id);
        p_oPriGrid.PopulateColumns(layout, -1);
        AssignKeySplits(*p_oPriGrid.GridColumns(), {4, 5});
        elements->SetGridColumns(gtPrimary, p_oPriGrid.GridColumns());
        elements->SetGridColumns(gtSecondary, nullptr);
        p_oPriGrid.Initialize("", "", kResultType, "Portfolio Report", this, true, false, 0);

        std::shared_ptr<Recordset> rows = elements->FinderResults();
        if (rows && GridUtilities::LayoutFieldsMissing(rows, layout, kStockFields)) {
            rows = FetchHoldings(*elements, layout);
        }
        p_oPriGrid.SetDataSource(rows);
        SetVisibility(p_oPriGrid, p_oSecGrid, false);
        RestoreLeftColumn(p_oPriGrid, leftCol);
    });
}

void PortfolioViewer::PopulateGridColumns(Grid& p_oPriGrid, Grid&) {
    const std::shared_ptr<GridColumns> held = ViewerElements()->GridColumns(gtPrimary);
    if (held && held->Count() > 0 && p_oPriGrid.GridColumns()->Count() == 0) {
        p_oPriGrid.SetGridColumns(held);
    }
}

void PortfolioViewer::SynchronizeColumns(Grid& p_oPriGrid, Grid&, bool) {
    Reported("PortfolioViewer_SynchronizeColumns", [&] {
        AssignKeySplits(*p_oPriGrid.GridColumns(), {4, 5});
        SyncColumns(ViewerElements()->GridColumns(gtPrimary), p_oPriGrid);
    });
}

void PortfolioViewer::ReFillParams() {
    Reported("Viewer:ReFillParams", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        const std::shared_ptr<DispatchObject> facade = CreateFacade();
        std::array<Variant, field_list::kCount> args{Variant(elements->OwnerId()),
                                                     Variant(static_cast<int16_t>(kResultType))};
        elements->SetParameterList(RecordsetOf(CallMethod(*facade, field_list::kMethod, args)));
    });
}

}  // namespace qv
