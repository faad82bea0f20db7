// Building and reading the column table of a layout description (layout_description.h).
//
//     Variant description = elements.GridLayoutInfo();
//     LayoutUtilities::BuildLayoutColumns(description, catalogue, chosen, vt_Stocks, 0);
//     elements.SetGridLayoutInfo(description);
#pragma once

#include "columns/viewer_type.h"
#include "outside/variant.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace qv {

class Recordset;

namespace LayoutUtilities {

// Replaces the column table (element 2) of p_vLayoutInfo with one built from the chosen fields:
// the key columns of the viewer type, then the chosen fields found in the field catalogue in
// their order (ids it lacks are skipped), then the viewer type's system columns. p_vChosenFields
// is a two-dimensional array whose first index is the chosen field and whose element 0 of the
// second index is its parameter id. Does nothing when the catalogue is missing, closed or empty,
// or when p_vChosenFields is Null. The catalogue is left without a filter.
void BuildLayoutColumns(Variant& p_vLayoutInfo, const std::shared_ptr<Recordset>& p_rParameters,
                        const Variant& p_vChosenFields, ViewerType p_eViewerType,
                        int32_t p_lFinderResultsType);

// Grows a column table to entries 0..p_lNewUpper, keeping the existing entries; an Empty table
// becomes a new one.
void GrowColumnTable(Variant& p_vColumnTable, int32_t p_lNewUpper);

// Whether an entry of the description's column table shows the field, compared without regard
// to case.
bool IsFieldInLayout(std::string_view p_sFieldName, const Variant& p_vLayoutInfo);

}  // namespace LayoutUtilities
}  // namespace qv
