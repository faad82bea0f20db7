#include "strategies/sector_viewer.h"

#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "grid/grid.h"
#include "grid/grid_utilities.h"
#include "outside/dispatch.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/strategy_support.h"

#include <algorithm>
#include <array>

namespace qv {
namespace {

using namespace strategy_support;

constexpr int32_t kDataType = 2;
constexpr int32_t kKeyColumn = 36;

namespace arg = facade_protocol::sector_viewer;
namespace search_arg = facade_protocol::search_sector;

void SetColours(ViewerElements& p_oElements) {
    SetListColours(p_oElements, CommonColours(kSectorRows), kSectorSecondary);
}

}  // namespace

void SectorViewer::Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported("SectorViewer:Initialize", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        SetColours(*elements);
        elements->SetDoubleGrid(false);
        elements->SetFinderResultsType(kDataType);
        p_oPriGrid.SetViewerDataType(kDataType);
        LockSecondaryColumns(p_oSecGrid);

        const std::shared_ptr<DispatchObject> facade = CreateFacade();
        std::array<Variant, arg::kCount> args{
            Variant(elements->OwnerId()),
            Variant::Date(elements->StartDate()),
            LimitArgument(*elements),
            ReturnAllArgument(*elements),
            Variant(elements->AvgType()),
            layout_codec::ToVariant(elements->GridLayoutDescription()),
            Variant::Nothing(),
            Variant(),
            Variant::Nothing(),
            Variant(elements->TimeCode()),
            Variant(false)};
        CallMethod(*facade, arg::kMethod, args);

        if (args[arg::kLoginConflict.Position].ToBool()) {
            ReportLoginConflict(*elements);
            return;
        }
        elements->SetMaxRows(args[arg::kMaxRows.Position].ToLong());
        elements->SetReturnAll(args[arg::kReturnAll.Position].ToBool());
        const std::shared_ptr<Recordset> rows = RecordsetOf(args[arg::kRows.Position]);
        if (!HasRows(rows)) {
            GridUtilities::ClearGridData(p_oPriGrid, p_oSecGrid);
            return;
        }
        elements->SetParameterList(RecordsetOf(args[arg::kParameterList.Position]));
        elements->SetStartTimeId(args[arg::kStartTimeId.Position].ToLong());
        const LayoutDescription used = layout_codec::Parse(args[arg::kLayoutInfo.Position]);
        elements->SetGridLayoutDescription(used);
        ApplyLayout(p_oPriGrid, used);
        elements->SetGridColumns(gtPrimary, p_oPriGrid.GridColumns());
        elements->SetGridColumns(gtSecondary, nullptr);
        p_oPriGrid.Initialize("", "Main Grid", kDataType, "Sector Viewer Report", this, true, false,
                              0);

        p_oPriGrid.SetDataSource(rows);
        elements->SetBSHCaption(TotalCaption(*rows));
        SetVisibility(p_oPriGrid, p_oSecGrid, false);
    });
}

void SectorViewer::SynchronizeColumns(Grid& p_oPriGrid, Grid&, bool) {
    Reported("SectorViewer_SynchronizeColumns", [&] {
        AssignKeySplits(*p_oPriGrid.GridColumns(), {kKeyColumn});
        SyncColumns(ViewerElements()->GridColumns(gtPrimary), p_oPriGrid);
    });
}

void SectorViewer::Search(const std::string& p_sSearch, int16_t p_iSearchOpt1, int16_t,
                          bool& p_bNoRecords, Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported("SectorViewer:Search", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        const std::shared_ptr<DispatchObject> facade = CreateFacade();
        std::array<Variant, search_arg::kCount> args{
            Variant(elements->OwnerId()),
            Variant(elements->GridLayout()->Id()),
            Variant::Date(elements->StartDate()),
            Variant(p_sSearch),
            Variant(p_iSearchOpt1),
            Variant(elements->MaxRows()),
            layout_codec::ToVariant(elements->GridLayoutDescription()),
            Variant::Nothing(),
            Variant()};
        CallMethod(*facade, search_arg::kMethod, args);

        const std::shared_ptr<Recordset> rows = RecordsetOf(args[search_arg::kRows.Position]);
        if (!HasRows(rows)) {
            p_bNoRecords = true;
            return;
        }
        elements->SetStartTimeId(args[search_arg::kStartTimeId.Position].ToLong());
        elements->SetGridLayoutInfo(args[search_arg::kLayoutInfo.Position]);
        SynchronizeColumns(p_oPriGrid, p_oSecGrid, true);
        p_oPriGrid.SetDataSource(rows);
        elements->SetBSHCaption(TotalCaption(*rows));
        SetVisibility(p_oPriGrid, p_oSecGrid, false);
    });
}

void SectorViewer::ApplyLayout(Grid& p_oPriGrid, const LayoutDescription& p_layout) {
    ViewerElements()->GridLayout()->SetId(p_layout.Header.Id);
    p_oPriGrid.PopulateColumns(p_layout, -1);
    AssignKeySplits(*p_oPriGrid.GridColumns(), {kKeyColumn});
}

}  // namespace qv
