#include "strategies/history_query.h"

#include "columns/grid_layout.h"
#include "grid/grid.h"
#include "outside/dispatch.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/strategy_support.h"
#include "strategies/viewer_functionality.h"

#include <array>

namespace qv {
namespace {

using namespace strategy_support;

namespace arg = facade_protocol::history;

}  // namespace

void InitializeHistory(ViewerFunctionality& p_oStrategy, const HistoryKind& p_oKind,
                       const Variant& p_vKey, Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported(p_oKind.m_sLabel, [&] {
        const std::shared_ptr<ViewerElements> elements = p_oStrategy.ViewerElements();
        const std::array<int32_t, 8> colours = CommonColours(p_oKind.m_lEvenRowBackColor);
        SetColourSettings(*elements, colours);
        elements->SetDoubleGrid(false);
        elements->SetFinderResultsType(p_oKind.m_lResultType);

        const std::shared_ptr<DispatchObject> facade = CreateFacade();
        std::array<Variant, arg::kCount> args{
            Variant::Date(elements->StartDate()),
            Variant::Date(elements->EndDate()),
            p_vKey,
            layout_codec::ToVariant(elements->GridLayoutDescription()),
            Variant::Nothing(),
            Variant(elements->OwnerId()),
            LimitArgument(*elements),
            ReturnAllArgument(*elements)};
        const Variant rows = CallMethod(*facade, p_oKind.m_sMethod, args);

        elements->SetMaxRows(args[arg::kMaxRows.Position].ToLong());
        elements->SetReturnAll(args[arg::kReturnAll.Position].ToBool());
        elements->SetParameterList(RecordsetOf(args[arg::kParameterList.Position]));
        const LayoutDescription used = layout_codec::Parse(args[arg::kLayoutInfo.Position]);
        elements->SetGridLayoutDescription(used);

        elements->GridLayout()->SetId(used.Header.Id);
        p_oPriGrid.PopulateColumns(used, -1);
        AssignKeySplits(*p_oPriGrid.GridColumns(), {kHistoryKeyColumn});
        elements->SetGridColumns(gtPrimary, p_oPriGrid.GridColumns());
        p_oPriGrid.Initialize("", "", p_oKind.m_lResultType, p_oKind.m_sReportTitle, &p_oStrategy,
                              true, false, 0);

        p_oPriGrid.SetDataSource(RecordsetOf(rows));
        SetVisibility(p_oPriGrid, p_oSecGrid, false);
    });
}

void SynchronizeSingleGrid(ViewerFunctionality& p_oStrategy, const char* p_sLabel,
                           std::initializer_list<int32_t> p_aKeyIds, Grid& p_oPriGrid) {
    Reported(p_sLabel, [&] {
        AssignKeySplits(*p_oPriGrid.GridColumns(), p_aKeyIds);
        SyncColumns(p_oStrategy.ViewerElements()->GridColumns(gtPrimary), p_oPriGrid);
    });
}

}  // namespace qv
