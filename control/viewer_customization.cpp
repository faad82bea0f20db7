// The viewer control's field customization: choosing the fields its grids show.
#include "control/viewer.h"

#include "columns/column_utilities.h"
#include "columns/grid_columns.h"
#include "columns/grid_layout.h"
#include "columns/layout_utilities.h"
#include "columns/recordset_utilities.h"
#include "control/viewer_events.h"
#include "grid/grid.h"
#include "grid/grid_utilities.h"
#include "outside/column_selector.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/field.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/support_utility.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <array>

namespace qv {

namespace {

// The grid control's properties that the rebuild of the columns must not disturb; 17 is turned
// off while the columns change.
constexpr int32_t kPropertyHeld = 17;
constexpr int32_t kPropertyAlsoHeld = 18;

// The system's own sort columns, never offered.
constexpr int32_t kSortKeyIds[] = {38, 39};
// The key parameters, offered only where the list has that key.
constexpr int32_t kKeyIds[] = {4, 5, 35, 36, 38, 39, 41};

bool IsOneOf(int32_t p_lValue, std::span<const int32_t> p_values) {
    return std::find(p_values.begin(), p_values.end(), p_lValue) != p_values.end();
}

int32_t LongOrZero(const Variant& p_vValue) {
    return p_vValue.IsNull() || p_vValue.IsEmpty() ? 0 : p_vValue.ToLong();
}

std::string TextOrEmpty(const Variant& p_vValue) {
    return p_vValue.IsNull() || p_vValue.IsEmpty() ? std::string() : p_vValue.ToString();
}

// The catalogue's data type of the rows a viewer type shows.
int32_t FieldDataType(const ViewerElements& p_oElements) {
    switch (p_oElements.ViewerType()) {
        case vt_Industries:
        case vt_IndustryHistory:
            return 1;
        case vt_Sectors:
        case vt_SectorHistory:
            return 2;
        case vt_FinderResults:
            return p_oElements.ResultType();
        case vt_Portfolio:
            return 3;
        default:
            return 0;
    }
}

bool IsKeyOffered(int32_t p_lParameterId, int32_t p_lViewerType, int32_t p_lDataType) {
    switch (p_lViewerType) {
        case vt_Stocks:
        case vt_IndustryHistory:
        case vt_Portfolio:
            return p_lParameterId == 35 || p_lParameterId == 36;
        case vt_Industries:
        case vt_SectorHistory:
            return p_lParameterId == 36;
        case vt_StockHistory:
            return IsOneOf(p_lParameterId, std::array{4, 5, 35, 36});
        case vt_FinderResults:
            if (p_lDataType == 0) {
                return p_lParameterId == 35 || p_lParameterId == 36;
            }
            return p_lDataType == 1 && p_lParameterId == 36;
        default:
            return false;
    }
}

bool IsDataTypeOffered(int32_t p_lDataTypeId, int32_t p_lViewerType) {
    if (p_lDataTypeId == 24 || p_lDataTypeId == 26) {
        return false;
    }
    if (p_lDataTypeId >= 21 && p_lDataTypeId <= 23) {
        return p_lViewerType == vt_Portfolio;
    }
    return true;
}

std::shared_ptr<Recordset> NewFieldList() {
    std::shared_ptr<Recordset> list = RecordsetUtilities::NewClientRecordset();
    Fields& fields = list->Fields();
    fields.Append("parameter_id", adInteger, 0, adFldUnspecified);
    fields.Append("column_name", adVarChar, 50, adFldUnspecified);
    fields.Append("selected", adBoolean, 0, adFldUnspecified);
    fields.Append("Sequence", adInteger, 0, adFldUnspecified);
    fields.Append("State", adInteger, 0, adFldUnspecified);
    fields.Append("SQLColumn", adVarChar, 50, adFldUnspecified);
    fields.Append("Column_Format", adChar, 20, adFldUnspecified);
    list->Open();
    return list;
}

// A column of the layout that the person may choose or drop.
bool IsChoosableColumn(int32_t p_lParameterId, int32_t p_lState, int32_t p_lSequence) {
    return !IsOneOf(p_lParameterId, kSortKeyIds) &&
           (p_lState == csVisible || p_lState == csHidden) && p_lSequence >= 1 &&
           p_lParameterId >= 1;
}

void AddField(Recordset& p_rList, int32_t p_lParameterId, const std::string& p_sCaption,
              int32_t p_lSequence, int32_t p_lState, const std::string& p_sSQLColumn) {
    p_rList.SetFilter("Parameter_ID = " + std::to_string(p_lParameterId));
    const bool held = p_rList.RecordCount() > 0;
    p_rList.SetFilter("");
    if (held) {
        return;
    }
    p_rList.AddNew();
    p_rList.SetValue("parameter_id", p_lParameterId);
    p_rList.SetValue("column_name", p_sCaption);
    p_rList.SetValue("selected", p_lState == csVisible || p_lState == csAlwaysVisible);
    p_rList.SetValue("Sequence", p_lSequence);
    p_rList.SetValue("State", p_lState);
    p_rList.SetValue("SQLColumn", p_sSQLColumn);
    p_rList.Update();
}

// The catalogue's fields that the viewer offers and the layout does not hold yet.
void AddCatalogueFields(Recordset& p_rList, Recordset& p_rCatalogue, int32_t p_lViewerType,
                        int32_t p_lDataType) {
    if (p_rCatalogue.State() != adStateOpen) {
        return;
    }
    for (p_rCatalogue.MoveFirst(); !p_rCatalogue.IsEOF(); p_rCatalogue.MoveNext()) {
        const int32_t id = LongOrZero(p_rCatalogue.Value("Parameter_ID"));
        const bool offered =
            IsOneOf(id, kKeyIds)
                ? IsKeyOffered(id, p_lViewerType, p_lDataType)
                : LongOrZero(p_rCatalogue.Value("Group")) >= 0 &&
                      GridUtilities::IsBitSet(p_lDataType,
                                              LongOrZero(p_rCatalogue.Value("Table_Mask"))) &&
                      IsDataTypeOffered(LongOrZero(p_rCatalogue.Value("DataType_ID")),
                                        p_lViewerType);
        if (offered) {
            AddField(p_rList, id, TextOrEmpty(p_rCatalogue.Value("Caption")), -1, csHidden,
                     TextOrEmpty(p_rCatalogue.Value("Column_Name")));
        }
    }
}

std::shared_ptr<Recordset> CatalogueCopy(const std::shared_ptr<Recordset>& p_rGiven,
                                         const ViewerElements& p_oElements) {
    if (!p_rGiven) {
        return RecordsetUtilities::CopyRecordset(p_oElements.ParameterList());
    }
    p_rGiven->SetFilter("");
    return RecordsetUtilities::CopyRecordset(p_rGiven);
}

}  // namespace

std::shared_ptr<Recordset> Viewer::CreateFieldRecordset(
    const std::shared_ptr<Recordset>& p_rParamters) {
    return Reported("Viewer: CreateFieldRecordset", std::shared_ptr<Recordset>(), [&] {
        const std::shared_ptr<ViewerElements> elements = Elements();
        const std::shared_ptr<Recordset> catalogue = CatalogueCopy(p_rParamters, *elements);
        std::shared_ptr<Recordset> list = NewFieldList();
        for (const auto& column : *m_oPriGrid->GridColumns()) {
            const int32_t state = column->GridColumn_State_Setting();
            if (IsChoosableColumn(column->ParameterId(), state, column->Sequence())) {
                AddField(*list, column->ParameterId(), column->Caption(), column->Sequence(), state,
                         column->SQLColumn());
            }
        }
        if (catalogue) {
            AddCatalogueFields(*list, *catalogue, elements->ViewerType(), FieldDataType(*elements));
        }
        return list;
    });
}

std::shared_ptr<Recordset> Viewer::CreateFieldRSFromLayout(
    const std::shared_ptr<Recordset>& p_rParameters, const LayoutDescription& p_vLayoutInfo) {
    return Reported("Viewer: CreateFieldRSFromLayot", std::shared_ptr<Recordset>(), [&] {
        const std::shared_ptr<ViewerElements> elements = Elements();
        const std::shared_ptr<Recordset> catalogue = CatalogueCopy(p_rParameters, *elements);
        std::shared_ptr<Recordset> list = NewFieldList();
        for (const LayoutColumn& column : p_vLayoutInfo.Columns) {
            if (IsChoosableColumn(column.ParameterId, column.State, column.Sequence)) {
                AddField(*list, column.ParameterId, column.Caption, column.Sequence, column.State,
                         column.SQLColumn);
            }
        }
        if (catalogue) {
            AddCatalogueFields(*list, *catalogue, elements->ResultType(), FieldDataType(*elements));
        }
        return list;
    });
}

bool Viewer::Customize(const std::shared_ptr<Recordset>& p_rParameters, bool& p_bSave) {
    ErrorScope scope("Viewer:Customize");
    try {
        const std::shared_ptr<ViewerElements> elements = Elements();
        // Finder results come without the field catalogue, and without it no chosen field can be
        // put into the layout: the choice would leave the layout as it was.
        if (!p_rParameters && !elements->ParameterList() && m_oStrategy) {
            m_oStrategy->ReFillParams();
        }
        const std::shared_ptr<Recordset> catalogue =
            p_rParameters ? p_rParameters : elements->ParameterList();
        const LayoutDescription before = elements->GridLayoutDescription();

        std::shared_ptr<Recordset> current = CreateFieldRecordset(catalogue);
        if (!current) {
            return false;
        }
        current->SetSort("Sequence asc");

        std::shared_ptr<Recordset> defaults;
        bool useDefault = false;
        bool defaultInUse = false;
        if (m_bPrintLayoutMode && !m_vPrePrintLayout.IsEmpty()) {
            const LayoutDescription held = layout_codec::Parse(m_vPrePrintLayout);
            defaults = CreateFieldRSFromLayout(catalogue, held);
            useDefault = before.Header.Id == held.Header.Id;
            defaultInUse = useDefault;
        } else if (elements->GridLayout()->OwnerId() == 0) {
            defaults = RecordsetUtilities::CopyRecordset(current);
            useDefault = true;
            defaultInUse = true;
        } else {
            int16_t viewerType = -1;
            int16_t finderType = -1;
            int32_t ownerId = -1;
            const Variant fetched = FetchDefaultLayout(viewerType, finderType, ownerId);
            if (!fetched.IsEmpty()) {
                defaults = CreateFieldRSFromLayout(catalogue, layout_codec::Parse(fetched));
            }
        }

        std::array<Variant, 7> args{RecordsetVariant(current),
                                    Variant::Nothing(),
                                    Variant(),
                                    Variant(true),
                                    Variant(false),
                                    RecordsetVariant(defaults),
                                    Variant(useDefault)};
        if (!m_dlgColSel ||
            !CallMethodById(*m_dlgColSel, DialogColumnSelector::kChooseLayoutFields, args)
                 .ToBool()) {
            return false;
        }
        const Variant& chosen = args[2];
        if (chosen.IsNull()) {
            MsgBox("Layout must contain at least one field", vbOKOnly, vbExclamation,
                   "Layout Warning");
            return false;
        }
        if (!args[6].ToBool()) {
            ApplyFieldChoice(before, catalogue, chosen);
            if (p_bSave) {
                SaveLayout(false);
            }
            RaiseEvent([](ViewerEvents& sink) { sink.LayoutCustomized(); });
            return true;
        }
        if (defaultInUse) {
            return false;
        }
        bool userOnly = m_bPrintLayoutMode ? p_rParameters == nullptr : true;
        RestoreDefaultLayout(userOnly);
        RaiseEvent([](ViewerEvents& sink) { sink.LayoutCustomized(); });
        return true;
    } catch (...) {
        scope.Capture();
        return false;
    }
}

void Viewer::ApplyFieldChoice(const LayoutDescription& p_before,
                              const std::shared_ptr<Recordset>& p_rCatalogue,
                              const Variant& p_vChosen) {
    const std::shared_ptr<ViewerElements> elements = Elements();
    const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy;
    const std::shared_ptr<Grid> priGrid = m_oPriGrid;
    const std::shared_ptr<Grid> secGrid = m_oSecGrid;
    const Variant held = GetPropertyById(*m_olePriGrid, kPropertyHeld);
    const Variant alsoHeld = GetPropertyById(*m_olePriGrid, kPropertyAlsoHeld);
    LetPropertyById(*m_olePriGrid, kPropertyHeld, Variant(int32_t{-1}));

    LayoutDescription layout = p_before;
    LayoutUtilities::BuildLayoutColumns(layout, p_rCatalogue, p_vChosen, elements->ViewerType(),
                                        elements->FinderResultsType());
    elements->SetGridLayoutDescription(layout);
    priGrid->SetGridColumns(elements->GridColumns(gtPrimary));

    if (GridUtilities::LayoutFieldsMissing(m_olePriGrid->DataSource(), layout,
                                           elements->MainResultData())) {
        UpdateViewer(false, false);
    } else {
        strategy->SynchronizeColumns(*priGrid, *secGrid, true);
    }
    LetPropertyById(*m_olePriGrid, kPropertyHeld, held);
    LetPropertyById(*m_olePriGrid, kPropertyAlsoHeld, alsoHeld);
    priGrid->ResetLeftColumn();
    secGrid->ResetLeftColumn();
}

void Viewer::Customize() {
    bool save = true;
    Customize(nullptr, save);
}

void Viewer::AddFieldToLayout(std::vector<LayoutColumn>& p_vLayoutFields, int32_t p_lParamId,
                              int32_t p_lState, const std::string& p_sFieldName,
                              const std::string& p_sFieldCaption, int32_t p_lTableMask) {
    ColumnUtilities::AddFieldToLayout(p_vLayoutFields, p_lParamId,
                                      static_cast<ColumnState>(p_lState), p_sFieldName,
                                      p_sFieldCaption, p_lTableMask, "#.#0");
}

void Viewer::ReFillParams() {
    if (const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy) {
        strategy->ReFillParams();
    }
}

}  // namespace qv
