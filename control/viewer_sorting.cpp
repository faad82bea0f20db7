// Sorting in the viewer control: the sort dialog, a click on a header of the primary grid, and
// the secondary grid following the primary grid's row.
#include "control/viewer.h"

#include "columns/column_utilities.h"
#include "columns/grid_column.h"
#include "columns/grid_columns.h"
#include "columns/recordset_utilities.h"
#include "control/viewer_events.h"
#include "grid/grid.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/grid_control_column.h"
#include "outside/grid_control_columns.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/sort_dialog.h"
#include "outside/text_util.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <array>

namespace qv {

namespace {

// The fields the sort dialog offers: the catalogue's ordinary groups, the generated ones (-3),
// dates (data type 12) and the industry and sector names.
constexpr const char* kSortFieldFilter =
    "Group <> 5 and Group >= 0 or Group = -3 or DataType_ID = 12 or Parameter_ID = 35 or "
    "Parameter_ID = 36";

// Key fields the grids always show, or that stand for another field: never added to a layout
// for a sort.
bool IsKeySortField(int32_t p_lParameterId) {
    return p_lParameterId == 4 || p_lParameterId == 5 || p_lParameterId == 38 ||
           p_lParameterId == 39;
}

// The field applies to rows of p_lResultType, by its table mask; a field missing from the
// catalogue applies to none.
bool AppliesToResult(Recordset& p_rFields, int32_t p_lParameterId, int32_t p_lResultType) {
    p_rFields.SetFilter(Variant("parameter_id = " + std::to_string(p_lParameterId)));
    if (p_rFields.IsEOF()) {
        return false;
    }
    const Variant mask = p_rFields.Value("Table_Mask");
    if (mask.IsNull() || p_lResultType < 0 || p_lResultType > 30) {
        return false;
    }
    return (mask.ToLong() & (int32_t{1} << p_lResultType)) != 0;
}

std::string DirectionWord(int32_t p_lDirection) {
    return p_lDirection == 0 ? "ASC" : "DESC";
}

}  // namespace

// --- The sort dialog ---------------------------------------------------------------------------

bool Viewer::Sort(const std::shared_ptr<Recordset>& p_rParamList, bool p_bRun,
                  std::string* p_sDeltaField) {
    const std::weak_ptr<bool> alive = m_oAlive;
    return Reported("Viewer:Sort", false, [&] {
        PointerReset reset;
        const std::shared_ptr<ViewerElements> elements = Elements();
        const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy;
        const std::shared_ptr<Grid> priGrid = m_oPriGrid;
        const std::shared_ptr<Grid> secGrid = m_oSecGrid;
        std::shared_ptr<Recordset> fields = p_rParamList;
        if (fields) {
            fields->SetFilter(Variant(""));
            elements->SetParameterList(RecordsetUtilities::CopyRecordset(fields));
        } else {
            fields = elements->ParameterList();
        }
        if (!fields) {
            return false;
        }
        fields->SetFilter(Variant(kSortFieldFilter));

        const qv::ViewerType type = elements->ViewerType();
        const bool stockList = type == vt_Stocks || type == vt_StockHistory;
        if (!m_dlgSort) {
            m_dlgSort = std::make_shared<SortDialog>();
        }
        const std::shared_ptr<DispatchObject> dialog = m_dlgSort;
        LetPropertyById(*dialog, kSortDialogWin32Id, Variant(elements->IsWin32()));
        std::array<Variant, 9> args{RecordsetVariant(fields),
                                    Variant(elements->PriSortFieldId()),
                                    Variant(elements->PriSortDir()),
                                    Variant(elements->SecSortFieldId()),
                                    Variant(elements->SecSortDir()),
                                    Variant(elements->OwnerId()),
                                    Variant(static_cast<int32_t>(type)),
                                    Variant(stockList),
                                    Variant(p_sDeltaField ? *p_sDeltaField : std::string())};
        const bool confirmed = CallMethodById(*dialog, kSortDialogShowId, args).ToBool();
        if (p_sDeltaField) {
            *p_sDeltaField = args[8].ToString();
        }
        if (!confirmed) {
            strategy->ReFillParams();
            return false;
        }
        const int32_t priId = args[1].ToLong();
        const int32_t priDir = args[2].ToLong();
        const int32_t secId = args[3].ToLong();
        const int32_t secDir = args[4].ToLong();
        DoEvents();
        if (alive.expired()) {
            return false;
        }
        SetMousePointer(vbHourglass);
        DoEvents();
        if (alive.expired()) {
            return false;
        }
        strategy->ReFillParams();

        const int32_t resultType = elements->ResultType();
        bool valid = AppliesToResult(*fields, priId, resultType);
        if (secId >= 1) {
            valid = valid && AppliesToResult(*fields, secId, resultType);
        }
        if (!valid) {
            MsgBox("The selected fields are not valid for the results type.", vbOKOnly,
                   vbExclamation, "Olmaris Lumetra v6.0");
            return false;
        }

        priGrid->SaveLeftColumnPosition();
        secGrid->SaveLeftColumnPosition();
        LayoutDescription layout = elements->GridLayoutDescription();
        if (!IsKeySortField(priId)) {
            ColumnUtilities::AddCatalogueField(layout.Columns, csVisible, fields, priId);
        }
        // A secondary of 0 or less is no field (the dialog's "none" is -1).
        if (secId >= 1 && !IsKeySortField(secId)) {
            ColumnUtilities::AddCatalogueField(layout.Columns, csVisible, fields, secId);
        }
        // A list shown without a sort has no sort block to write back; the new one follows.
        if (!layout.Sort) {
            layout.Sort = LayoutSort{"", priId, priDir, secId, secDir};
        }
        elements->SetGridLayoutDescription(layout);
        elements->SetSortInfo(priId, priDir, secId, secDir);
        if (p_bRun) {
            strategy->Initialize(*priGrid, *secGrid);
        }
        priGrid->RestoreLeftColumnPosition();
        secGrid->RestoreLeftColumnPosition();
        const int32_t storedPriId = elements->PriSortFieldId();
        const int32_t storedPriDir = elements->PriSortDir();
        const int32_t storedSecId = elements->SecSortFieldId();
        const int32_t storedSecDir = elements->SecSortDir();
        if (!RaiseEvent([&](ViewerEvents& sink) {
                sink.SortCriteriaEdited(storedPriId, storedPriDir, storedSecId, storedSecDir,
                                        false);
            })) {
            return true;
        }
        RaiseEvent([](ViewerEvents& sink) { sink.ChangeSort(); });
        return true;
    });
}

// --- The header click --------------------------------------------------------------------------

std::string Viewer::GetDefaultSortField() const {
    switch (GetDefaultSortFieldId()) {
        case 5:
            return "Symbol";
        case 35:
            return "IndName";
        case 36:
            return "SectorName";
        case 41:
            return "Trading_Date";
        default:
            return "";
    }
}

int32_t Viewer::GetDefaultSortFieldId() const {
    const std::shared_ptr<ViewerElements> elements = Elements();
    switch (elements->ViewerType()) {
        case vt_Stocks:
        case vt_Portfolio:
        case vt_BuyFromSearch:
            return 5;
        case vt_Industries:
            return 35;
        case vt_Sectors:
            return 36;
        case vt_StockHistory:
        case vt_IndustryHistory:
        case vt_SectorHistory:
            return 41;
        case vt_FinderResults:
            break;
        default:
            return 0;
    }
    switch (elements->FinderResultsType()) {
        case 0:
        case 3:
        case 5:
            return 5;
        case 1:
            return 35;
        case 2:
            return 36;
        default:
            return 0;
    }
}

void Viewer::PrimaryHeadClick(int16_t p_iColIndex) {
    const std::weak_ptr<bool> alive = m_oAlive;
    const std::shared_ptr<Grid> priGrid = m_oPriGrid;
    const std::shared_ptr<Grid> secGrid = m_oSecGrid;
    Reported("Viewer: olePriGrid_HeadClick", [&] {
        struct Finish {
            Viewer& viewer;
            const std::weak_ptr<bool>& alive;
            ~Finish() {
                if (!alive.expired()) {
                    viewer.ChangeRunningStatus("", false);
                }
                SetMousePointer(vbDefault);
            }
        } finish{*this, alive};
        if (!priGrid || !secGrid) {
            return;
        }
        const std::shared_ptr<ViewerElements> elements = Elements();
        priGrid->SaveLeftColumnPosition();
        secGrid->SaveLeftColumnPosition();
        ChangeRunningStatus("Sorting . . .", true);
        SetMousePointer(vbHourglass);

        const std::string clicked = m_olePriGrid->Columns()->Item(p_iColIndex)->DataField();
        const qv::ViewerType type = elements->ViewerType();
        if (type != vt_Stocks && type != vt_Industries && type != vt_Sectors &&
            type != vt_FinderResults) {
            SortGrid(clicked);
        } else {
            // Finder results come without the field catalogue, and without it the stored sort
            // names no field: neither the sort line nor the host's new query could use it.
            if (!elements->ParameterList() && m_oStrategy) {
                m_oStrategy->ReFillParams();
            }
            const std::string current = elements->PriSortField();
            std::string field = clicked;
            int32_t direction = 1;
            if (current.empty()) {
                const bool again = clicked == m_tLastHeadSort.FieldName;
                direction = again && m_tLastHeadSort.Direction != 0 ? 0 : 1;
            } else if (EqualsIgnoreCase(current, clicked)) {
                field = current;
                direction = elements->PriSortDir() == 0 ? 1 : 0;
            }
            m_tLastHeadSort = {field, direction};

            const std::shared_ptr<GridColumn> column =
                priGrid->GridColumns()->GetColumnByFieldName(field);
            const int32_t fieldId = column ? column->ParameterId() : 0;
            const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
            if (rows && elements->ReturnAll()) {
                SortInPlace(*rows, field, fieldId, direction);
            } else if (column && fieldId == 0) {
                MsgBox("You cannot sort by a generated field such as " + column->Caption() +
                           " unless you choose return all and run the search again.",
                       vbOKOnly, vbInformation, "Can't Sort");
                return;
            } else if (column) {
                SortByQuery(fieldId, direction);
            }
        }
        if (alive.expired()) {
            return;
        }
        priGrid->RestoreLeftColumnPosition();
        secGrid->RestoreLeftColumnPosition();
    });
}

void Viewer::SortInPlace(Recordset& p_rRows, const std::string& p_sField, int32_t p_lFieldId,
                         int32_t p_lDirection) {
    const std::shared_ptr<ViewerElements> elements = Elements();
    const std::string secondary = elements->SecSortField();
    const int32_t secondaryDir = elements->SecSortDir();
    const std::string defaultField = GetDefaultSortField();
    std::string sort = "[" + p_sField + "] " + DirectionWord(p_lDirection);
    if (!secondary.empty()) {
        sort += ",[" + secondary + "] " + DirectionWord(secondaryDir);
        p_rRows.SetSort(sort);
        elements->SetSortInfo(p_lFieldId, p_lDirection == 0 ? 0 : 1, elements->SecSortFieldId(),
                              secondaryDir);
    } else if (p_lDirection != 0 && !EqualsIgnoreCase(p_sField, defaultField)) {
        // Equal values of a descending column read best in the list's own order.
        p_rRows.SetSort(sort + "," + defaultField + " ASC");
        elements->SetSortInfo(p_lFieldId, 1, GetDefaultSortFieldId(), 0);
    } else {
        p_rRows.SetSort(sort);
        elements->SetSortInfo(p_lFieldId, p_lDirection == 0 ? 0 : 1, kNoSortField, 0);
    }
    ChangeRunningStatus("", false);
    SetMousePointer(vbDefault);
    if (elements->PriSortFieldId() != 0) {
        RaiseEvent([](ViewerEvents& sink) { sink.ChangeSort(); });
    }
}

void Viewer::SortByQuery(int32_t p_lFieldId, int32_t p_lDirection) {
    const std::shared_ptr<ViewerElements> elements = Elements();
    const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy;
    elements->SetSortInfo(p_lFieldId, p_lDirection, kNoSortField, kNoSortField);
    if (elements->ViewerType() == vt_FinderResults) {
        const int32_t priId = elements->PriSortFieldId();
        const int32_t priDir = elements->PriSortDir();
        const int32_t secId = elements->SecSortFieldId();
        const int32_t secDir = elements->SecSortDir();
        RaiseEvent([&](ViewerEvents& sink) {
            sink.SortCriteriaEdited(priId, priDir, secId, secDir, true);
        });
        return;
    }
    strategy->Initialize(*m_oPriGrid, *m_oSecGrid);
    RaiseEvent([](ViewerEvents& sink) { sink.ChangeSort(); });
}

void Viewer::SortGrid(const std::string& p_sField) {
    const std::string key = "[" + p_sField + "]";
    const std::string current = m_oPriGrid->GridSort();
    if (!current.starts_with(key)) {
        m_oPriGrid->SetGridSort(key + " DESC");
        return;
    }
    const bool ascending = ToUpperAscii(current).find("ASC") != std::string::npos;
    m_oPriGrid->SetGridSort(key + (ascending ? " DESC" : " ASC"));
}

// --- The secondary grid ------------------------------------------------------------------------

void Viewer::SortSecondaryGrid() {
    Reported("Viewer: SortSecondaryGrid", [&] {
        const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy;
        const std::shared_ptr<Grid> priGrid = m_oPriGrid;
        const std::shared_ptr<Grid> secGrid = m_oSecGrid;
        if (!strategy || !priGrid || !secGrid || !m_olePriGrid->Visible() ||
            !m_oleSecGrid->Visible() || m_olePriGrid->Row() < 0) {
            return;
        }
        PointerReset reset;
        secGrid->SaveLeftColumnPosition();
        SetMousePointer(vbHourglass);
        strategy->FilterSecondaryGrid(*priGrid, *secGrid);
        secGrid->RestoreLeftColumnPosition();
    });
}

}  // namespace qv
