#include "strategies/industry_viewer.h"

#include "columns/grid_column.h"
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

constexpr int32_t kDataType = 1;
constexpr int32_t kSecondaryDataType = 2;
constexpr int32_t kKeyColumn = 35;
constexpr int32_t kSectorNameColumn = 36;
constexpr int32_t kSectorScope = 3;

namespace arg = facade_protocol::industry_viewer;
namespace search_arg = facade_protocol::search_industries;

void SetColours(ViewerElements& p_oElements) {
    SetListColours(p_oElements, CommonColours(kIndustryRows), kSectorSecondary);
}

}  // namespace

void IndustryViewer::Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported("IndustryViewer:Initialize", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        SetColours(*elements);
        elements->SetDoubleGrid(true);
        elements->SetFinderResultsType(kDataType);
        m_lListScope = elements->SectorCode() >= 1 ? kSectorScope : 0;
        LockSecondaryColumns(p_oSecGrid);
        if (elements->GridLayout()->Id() == 0) {
            elements->GridLayout()->SetId(elements->WatchListId() > 0 ? 10 : 4);
        }

        const std::shared_ptr<DispatchObject> facade = CreateFacade();
        std::array<Variant, arg::kCount> args{
            Variant(elements->OwnerId()),
            Variant::Date(elements->StartDate()),
            LimitArgument(*elements),
            ReturnAllArgument(*elements),
            Variant(elements->AvgType()),
            layout_codec::ToVariant(elements->GridLayoutDescription()),
            p_oSecGrid.GridColumns()->PertinantColumns(),
            Variant::Nothing(),
            RecordsetVariant(m_rsSecondary),
            Variant(),
            Variant(elements->SectorCode()),
            Variant(elements->WatchListId()),
            Variant(m_lListScope),
            Variant::Nothing(),
            Variant(),
            Variant(elements->TimeCode()),
            Variant(false)};
        CallMethod(*facade, arg::kMethod, args);
        m_rsSecondary = RecordsetOf(args[arg::kSecondaryRows.Position]);

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
        m_lListScope = args[arg::kListScope.Position].ToLong();
        elements->SetParameterList(RecordsetOf(args[arg::kParameterList.Position]));
        elements->SetStartTimeId(args[arg::kStartTimeId.Position].ToLong());
        elements->SetWatchListName(args[arg::kWatchListName.Position].IsEmpty()
                                       ? std::string()
                                       : args[arg::kWatchListName.Position].ToString());
        const LayoutDescription used = layout_codec::Parse(args[arg::kLayoutInfo.Position]);
        elements->SetGridLayoutDescription(used);
        ApplyLayout(p_oPriGrid, p_oSecGrid, used);
        elements->SetGridColumns(gtPrimary, p_oPriGrid.GridColumns());
        elements->SetGridColumns(gtSecondary, p_oSecGrid.GridColumns());
        p_oPriGrid.Initialize("", "Main Grid", kDataType, "Industry Viewer Report", this, true,
                              false, m_lListScope);
        p_oSecGrid.Initialize("", "SecondaryGrid", kSecondaryDataType, "Sector Report", this, false,
                              false, m_lListScope);

        p_oPriGrid.SetDataSource(rows);
        p_oSecGrid.SetDataSource(m_rsSecondary);
        elements->SetBSHCaption(TotalCaption(*rows));
        SetVisibility(p_oPriGrid, p_oSecGrid, true);
    });
}

void IndustryViewer::FilterSecondaryGrid(Grid& p_oPriGrid, Grid&) {
    Reported("IndustryViewer:FilterSecondaryGrid", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        if (elements->WatchListId() != 0) {
            return;
        }
        FilterSecondaryRows(*elements, m_rsSecondary, "Sectorcode",
                            CurrentValue(p_oPriGrid, "sectorcode").ToLong());
    });
}

void IndustryViewer::SynchronizeColumns(Grid& p_oPriGrid, Grid& p_oSecGrid, bool) {
    Reported("IndustryViewer_SynchronizeColumns", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        AssignSplits(p_oPriGrid, p_oSecGrid);
        SyncColumns(elements->GridColumns(gtPrimary), p_oPriGrid);
        SyncColumns(elements->GridColumns(gtSecondary), p_oSecGrid);
    });
}

void IndustryViewer::Search(const std::string& p_sSearch, int16_t p_iSearchOpt1, int16_t,
                            bool& p_bNoRecords, Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported("IndustryViewer:Search", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        const std::shared_ptr<DispatchObject> facade = CreateFacade();
        std::array<Variant, search_arg::kCount> args{
            Variant(elements->OwnerId()),
            Variant(elements->GridLayout()->Id()),
            Variant::Date(elements->StartDate()),
            Variant(elements->MaxRows()),
            Variant(p_sSearch),
            Variant(p_iSearchOpt1),
            layout_codec::ToVariant(elements->GridLayoutDescription()),
            p_oSecGrid.GridColumns()->PertinantColumns(),
            Variant::Nothing(),
            RecordsetVariant(m_rsSecondary),
            Variant(),
            Variant(m_lListScope),
            Variant(elements->SectorCode()),
            Variant(elements->WatchListId())};
        CallMethod(*facade, search_arg::kMethod, args);
        m_rsSecondary = RecordsetOf(args[search_arg::kSecondaryRows.Position]);
        m_lListScope = args[search_arg::kListScope.Position].ToLong();
        elements->SetStartTimeId(args[search_arg::kStartTimeId.Position].ToLong());

        const std::shared_ptr<Recordset> rows = RecordsetOf(args[search_arg::kRows.Position]);
        if (HasRows(rows)) {
            p_oPriGrid.SetDataSource(rows);
            rows->MoveFirst();
            elements->SetBSHCaption(TotalCaption(*rows));
        } else {
            p_bNoRecords = true;
        }
        p_oSecGrid.SetDataSource(m_rsSecondary);
        const auto& control = p_oSecGrid.GridObject();
        if (control && control->Row() >= 0) {
            const char* field = elements->SectorCode() < 0 ? "indcode" : "sectorcode";
            elements->SetSecGridFilter(CurrentValue(p_oSecGrid, field));
        }
        SetVisibility(p_oPriGrid, p_oSecGrid, true);
    });
}

void IndustryViewer::ApplyLayout(Grid& p_oPriGrid, Grid& p_oSecGrid,
                                 const LayoutDescription& p_layout) {
    ViewerElements()->GridLayout()->SetId(p_layout.Header.Id);
    p_oPriGrid.PopulateColumns(p_layout, -1);
    p_oSecGrid.PopulateColumns(p_layout, kSecondaryDataType);
    AssignSplits(p_oPriGrid, p_oSecGrid);
}

// The sector grid of a watch list does not follow the industry row: its sector-name column is
// hidden and its other columns stay in the frozen split.
void IndustryViewer::AssignSplits(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    AssignKeySplits(*p_oPriGrid.GridColumns(), {kKeyColumn});
    const bool watchList = ViewerElements()->WatchListId() >= 1;
    for (const auto& column : *p_oSecGrid.GridColumns()) {
        if (column->ParameterId() != kSectorNameColumn) {
            column->SetSplitNumber(watchList ? 0 : 1);
        } else if (watchList) {
            column->SetGridColumn_State_Setting(csHidden);
            column->SetSplitNumber(1);
        } else {
            column->SetSplitNumber(0);
        }
    }
}

}  // namespace qv
