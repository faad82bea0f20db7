#include "columns/layout_utilities.h"

#include "columns/column_utilities.h"
#include "outside/automation_error.h"
#include "outside/recordset.h"
#include "outside/text_util.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qv::LayoutUtilities {
namespace {

struct KeyColumn {
    int32_t ParameterId;
    ColumnState State;
};

// The kind of rows a finder result holds, by its result type; -1 for kinds without columns.
ViewerType FinderListType(int32_t p_lFinderResultsType) {
    switch (p_lFinderResultsType) {
        case 0:
        case 3:
        case 5:
            return vt_Stocks;
        case 1:
            return vt_Industries;
        case 2:
            return vt_Sectors;
        default:
            return static_cast<ViewerType>(-1);
    }
}

std::vector<KeyColumn> LeadingColumns(ViewerType p_eViewerType, int32_t p_lFinderResultsType) {
    switch (p_eViewerType) {
        case vt_Stocks:
        case vt_Portfolio:
            return {{4, csAlwaysVisible}, {5, csAlwaysVisible}};
        case vt_Industries:
            return {{35, csAlwaysVisible}};
        case vt_Sectors:
            return {{36, csAlwaysVisible}};
        case vt_StockHistory:
            return {{41, csAlwaysVisible}, {5, csSystem}};
        case vt_IndustryHistory:
        case vt_SectorHistory:
            return {{41, csAlwaysVisible}};
        case vt_FinderResults:
            return LeadingColumns(FinderListType(p_lFinderResultsType), p_lFinderResultsType);
        default:
            return {};
    }
}

std::vector<int32_t> TrailingSystemColumns(ViewerType p_eViewerType, int32_t p_lFinderResultsType) {
    switch (p_eViewerType) {
        case vt_Stocks:
        case vt_StockHistory:
            return {1418, 38, 39};
        case vt_Industries:
            return {38, 39};
        case vt_Sectors:
            return {39};
        case vt_IndustryHistory:
            return {1418, 38, 39, 35};
        case vt_SectorHistory:
            return {39, 36};
        case vt_FinderResults:
            return TrailingSystemColumns(FinderListType(p_lFinderResultsType),
                                         p_lFinderResultsType);
        case vt_Portfolio:
            return {1418, 38, 39, 237, 1483, 1393};
        default:
            return {};
    }
}

bool HasRows(const std::shared_ptr<Recordset>& p_rParameters) {
    return p_rParameters && p_rParameters->State() == adStateOpen &&
           p_rParameters->RecordCount() > 0;
}

// The parameter ids of the chosen fields, in their order.
std::vector<int32_t> ChosenIds(const Variant& p_vChosenFields) {
    if (!p_vChosenFields.IsArray()) {
        RaiseRuntimeError(errors::kTypeMismatch, "the chosen fields are not an array");
    }
    const VariantArray& chosen = p_vChosenFields.Array();
    if (chosen.Dimensions() != 2 || chosen.LBound(2) > 0 || chosen.UBound(2) < 0) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange,
                          "the chosen fields need two dimensions with element 0 of the second");
    }
    std::vector<int32_t> ids;
    for (int32_t field = chosen.LBound(1); field <= chosen.UBound(1); ++field) {
        try {
            ids.push_back(chosen.At(field, 0).ToLong());
        } catch (const AutomationError& error) {
            RaiseRuntimeError(error.Number(),
                              "chosen field " + std::to_string(field) + " is not a 32-bit integer");
        }
    }
    return ids;
}

void AppendChosenFields(std::vector<LayoutColumn>& p_columnTable, Recordset& p_rParameters,
                        const std::vector<int32_t>& p_ids) {
    try {
        for (int32_t id : p_ids) {
            p_rParameters.SetFilter("parameter_id = " + std::to_string(id));
            if (!p_rParameters.IsEOF()) {
                LayoutColumn entry = ColumnUtilities::CatalogueEntry(p_rParameters, csVisible);
                entry.Sequence = static_cast<int32_t>(p_columnTable.size()) + 1;
                p_columnTable.push_back(std::move(entry));
            }
        }
    } catch (...) {
        // The catalogue is the viewer's shared ParameterList: never leave it filtered.
        p_rParameters.SetFilter("");
        throw;
    }
    p_rParameters.SetFilter("");
}

}  // namespace

void BuildLayoutColumns(LayoutDescription& p_layout,
                        const std::shared_ptr<Recordset>& p_rParameters,
                        const Variant& p_vChosenFields, ViewerType p_eViewerType,
                        int32_t p_lFinderResultsType) {
    if (!HasRows(p_rParameters) || p_vChosenFields.IsNull()) {
        return;
    }
    const std::vector<int32_t> chosenIds = ChosenIds(p_vChosenFields);

    std::vector<LayoutColumn> table;
    for (const KeyColumn& key : LeadingColumns(p_eViewerType, p_lFinderResultsType)) {
        ColumnUtilities::AddCatalogueField(table, key.State, p_rParameters, key.ParameterId);
    }
    AppendChosenFields(table, *p_rParameters, chosenIds);
    for (int32_t id : TrailingSystemColumns(p_eViewerType, p_lFinderResultsType)) {
        ColumnUtilities::AddCatalogueField(table, csSystem, p_rParameters, id);
    }
    if (p_eViewerType == vt_Stocks) {
        ColumnUtilities::AddFieldToLayout(table, 37, csAlwaysVisible, "RTRanking", "RT Ranking", 6,
                                          "0");
    }
    p_layout.Columns = std::move(table);
}

void GrowColumnTable(std::vector<LayoutColumn>& p_columnTable, int32_t p_lNewUpper) {
    if (p_lNewUpper < -1) {
        RaiseRuntimeError(errors::kSubscriptOutOfRange,
                          "a column table cannot end at entry " + std::to_string(p_lNewUpper));
    }
    p_columnTable.resize(static_cast<size_t>(p_lNewUpper) + 1);
}

bool IsFieldInLayout(std::string_view p_sFieldName, const LayoutDescription& p_layout) {
    return std::any_of(p_layout.Columns.begin(), p_layout.Columns.end(),
                       [&](const LayoutColumn& p_column) {
                           return EqualsIgnoreCase(p_column.SQLColumn, p_sFieldName);
                       });
}

}  // namespace qv::LayoutUtilities
