#include "strategies/stock_viewer.h"

#include "columns/column_utilities.h"
#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "columns/layout_utilities.h"
#include "grid/grid.h"
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

constexpr int32_t kDataType = 0;
constexpr int32_t kIndustryTable = 1;
constexpr int32_t kSectorTable = 2;
constexpr int32_t kSymbolColumn = 4;
constexpr int32_t kCompanyColumn = 5;
constexpr int32_t kIndustryNameColumn = 35;
constexpr int32_t kSectorNameColumn = 36;

namespace arg = facade_protocol::stock_viewer;
namespace search_arg = facade_protocol::search_stocks;

void SetColours(ViewerElements& p_oElements) {
    std::array<int32_t, 8> common = CommonColours(kStockRows);
    common[7] = RgbColor(225, 225, 225);
    SetListColours(p_oElements, common,
                   p_oElements.SectorCode() < 1 ? RgbColor(208, 221, 209) : kSectorSecondary);
}

int32_t ListScopeOf(const ViewerElements& p_oElements) {
    if (p_oElements.IndCode() > 0) {
        return 1;
    }
    return p_oElements.SectorCode() > 0 ? 2 : 0;
}

bool SectorGrid(const ViewerElements& p_oElements) {
    return p_oElements.SectorCode() >= 1;
}

// The field of the secondary grid's rows that the primary rows are matched on.
const char* SecondaryKeyField(const ViewerElements& p_oElements) {
    return SectorGrid(p_oElements) ? "sectorcode" : "indcode";
}

// SecGridFilter holds the code the secondary grid shows; Empty before the first filter, which
// compares as 0.
void TakeSecondaryFilter(ViewerElements& p_oElements, const Grid& p_oSecGrid) {
    const auto& control = p_oSecGrid.GridObject();
    if (control && control->Row() >= 0) {
        p_oElements.SetSecGridFilter(CurrentValue(p_oSecGrid, SecondaryKeyField(p_oElements)));
    }
}

}  // namespace

void StockViewer::Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported("StockViewer:Initialize", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        SetColours(*elements);
        elements->SetDoubleGrid(true);
        m_lListScope = ListScopeOf(*elements);
        LockSecondaryColumns(p_oSecGrid);
        if (elements->GridLayout()->Id() == 0) {
            elements->GridLayout()->SetId(elements->WatchListId() > 0 ? 9 : 3);
        }
        elements->SetFinderResultsType(kDataType);

        const LayoutDescription layout = elements->GridLayoutDescription();
        const std::shared_ptr<DispatchObject> facade = CreateFacade();
        const Variant secondaryColumns =
            !layout.Sort ? Variant()
                         : ColumnUtilities::TableSelectList(
                               layout, SectorGrid(*elements) ? kSectorTable : kIndustryTable);
        m_rsSecondary = nullptr;
        std::array<Variant, arg::kCount> args{Variant(elements->OwnerId()),
                                              Variant(elements->GridLayout()->Id()),
                                              Variant::Date(elements->StartDate()),
                                              LimitArgument(*elements),
                                              ReturnAllArgument(*elements),
                                              Variant(elements->AvgType()),
                                              layout_codec::ToVariant(layout),
                                              secondaryColumns,
                                              Variant::Nothing(),
                                              Variant::Nothing(),
                                              Variant(),
                                              Variant(elements->IndCode()),
                                              Variant(elements->SectorCode()),
                                              Variant(elements->WatchListId()),
                                              Variant(),
                                              Variant::Nothing(),
                                              Variant(elements->PortfolioID()),
                                              Variant(static_cast<int16_t>(m_lListScope)),
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
        elements->SetStartTimeId(args[arg::kStartTimeId.Position].ToLong());
        elements->SetWatchListName(args[arg::kWatchListName.Position].IsEmpty()
                                       ? std::string()
                                       : args[arg::kWatchListName.Position].ToString());
        if (std::shared_ptr<Recordset> catalogue =
                RecordsetOf(args[arg::kParameterList.Position])) {
            elements->SetParameterList(std::move(catalogue));
        }
        const LayoutDescription used = layout_codec::Parse(args[arg::kLayoutInfo.Position]);
        elements->SetGridLayoutDescription(used);

        ApplyLayout(p_oPriGrid, p_oSecGrid, used);
        elements->SetGridColumns(gtPrimary, p_oPriGrid.GridColumns());
        elements->SetGridColumns(gtSecondary, p_oSecGrid.GridColumns());
        p_oPriGrid.Initialize("StockLayout.grx", "Main Grid", kDataType, "Stock Viewer Report",
                              this, true, false, m_lListScope);
        if (SectorGrid(*elements)) {
            p_oSecGrid.Initialize("SecLayout.grx", "SecondaryGrid", kSectorTable,
                                  "Stock Viewer Sector Report", this, false, false, m_lListScope);
        } else {
            p_oSecGrid.Initialize("Industry.grx", "SecondaryGrid", kIndustryTable,
                                  "Stock Viewer Industry Report", this, false, false, m_lListScope);
        }

        p_oPriGrid.SetDataSource(RecordsetOf(args[arg::kRows.Position]));
        p_oSecGrid.SetDataSource(m_rsSecondary);
        if (elements->WatchListId() != 0) {
            TakeSecondaryFilter(*elements, p_oSecGrid);
        }
        if (LayoutUtilities::IsFieldInLayout(kRecommendationField, used)) {
            elements->SetBSHCaption(p_oPriGrid.GetBSHRatio());
        }
        SetVisibility(p_oPriGrid, p_oSecGrid, true);
    });
}

void StockViewer::FilterSecondaryGrid(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported("StockViewer:FilterSecondaryGrid", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        if (elements->WatchListId() >= 1) {
            return;
        }
        if (SectorGrid(*elements)) {
            const int32_t code = CurrentValue(p_oPriGrid, "sectorcode").ToLong();
            if (SameFilter(elements->SecGridFilter(), code)) {
                return;
            }
            const std::shared_ptr<DispatchObject> facade = CreateFacade();
            std::array<Variant, facade_protocol::get_sector_detail::kCount> args{
                Variant(elements->StartTimeId()), Variant(code), Variant(elements->AvgType()),
                ColumnUtilities::TableSelectList(elements->GridLayoutDescription(), kSectorTable)};
            const Variant rows =
                CallMethod(*facade, facade_protocol::get_sector_detail::kMethod, args);
            p_oSecGrid.SetDataSource(RecordsetOf(rows));
            elements->SetSecGridFilter(Variant(code));
            return;
        }
        if (elements->PortfolioID() >= 1) {
            return;
        }
        FilterSecondaryRows(*elements, m_rsSecondary, "indcode",
                            CurrentValue(p_oPriGrid, "indcode").ToLong());
    });
}

void StockViewer::SynchronizeColumns(Grid& p_oPriGrid, Grid& p_oSecGrid, bool) {
    Reported("StockViewer_SynchronizeColumns", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        AssignSplits(p_oPriGrid, p_oSecGrid);
        SyncColumns(elements->GridColumns(gtPrimary), p_oPriGrid);
        SyncColumns(elements->GridColumns(gtSecondary), p_oSecGrid);
    });
}

void StockViewer::Search(const std::string& p_sSearch, int16_t p_iSearchOpt1, int16_t p_iSearchOpt2,
                         bool& p_bNoRecords, Grid& p_oPriGrid, Grid& p_oSecGrid) {
    Reported("StockViewer:Search", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        const std::shared_ptr<DispatchObject> facade = CreateFacade();
        // The scope pair names the industry or the sector the list is limited to; the code
        // travels as a Long, the unused half as an Integer 0.
        Variant industry(int16_t{0});
        Variant sector(int16_t{0});
        if (m_lListScope == 1) {
            industry = Variant(elements->IndCode());
        } else if (m_lListScope == 2) {
            sector = Variant(elements->SectorCode());
        }
        std::array<Variant, search_arg::kCount> args{
            Variant(elements->OwnerId()),
            Variant(elements->GridLayout()->Id()),
            Variant::Date(elements->StartDate()),
            Variant(elements->MaxRows()),
            Variant(p_sSearch),
            Variant(p_iSearchOpt1),
            Variant(p_iSearchOpt2),
            layout_codec::ToVariant(elements->GridLayoutDescription()),
            p_oSecGrid.GridColumns()->PertinantColumns(),
            Variant::Nothing(),
            Variant::Nothing(),
            Variant(),
            Variant(elements->WatchListId()),
            industry,
            sector};
        CallMethod(*facade, search_arg::kMethod, args);
        m_rsSecondary = RecordsetOf(args[search_arg::kSecondaryRows.Position]);
        elements->SetStartTimeId(args[search_arg::kStartTimeId.Position].ToLong());

        const std::shared_ptr<Recordset> rows = RecordsetOf(args[search_arg::kRows.Position]);
        if (HasRows(rows)) {
            p_oPriGrid.SetDataSource(rows);
            rows->MoveFirst();
        } else {
            p_bNoRecords = true;
        }
        p_oSecGrid.SetDataSource(m_rsSecondary);
        TakeSecondaryFilter(*elements, p_oSecGrid);
        if (p_oPriGrid.GridColumns()->GetColumnByFieldName(kRecommendationField)) {
            elements->SetBSHCaption(p_oPriGrid.GetBSHRatio());
        }
        SetVisibility(p_oPriGrid, p_oSecGrid, true);
    });
}

void StockViewer::ApplyLayout(Grid& p_oPriGrid, Grid& p_oSecGrid,
                              const LayoutDescription& p_layout) {
    ViewerElements()->GridLayout()->SetId(p_layout.Header.Id);
    p_oPriGrid.PopulateColumns(p_layout, -1);
    p_oSecGrid.PopulateColumns(p_layout,
                               SectorGrid(*ViewerElements()) ? kSectorTable : kIndustryTable);
    AssignSplits(p_oPriGrid, p_oSecGrid);
}

// The secondary grid of a watch list or portfolio keeps the splits of its layout.
void StockViewer::AssignSplits(Grid& p_oPriGrid, Grid& p_oSecGrid) {
    const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
    AssignKeySplits(*p_oPriGrid.GridColumns(), {kSymbolColumn, kCompanyColumn});
    if (SectorGrid(*elements)) {
        AssignKeySplits(*p_oSecGrid.GridColumns(), {kSectorNameColumn});
    } else if (elements->WatchListId() < 1 && elements->PortfolioID() < 1) {
        AssignKeySplits(*p_oSecGrid.GridColumns(), {kIndustryNameColumn});
    }
}

}  // namespace qv
