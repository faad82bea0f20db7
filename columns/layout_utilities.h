// Building and reading the column table of a layout (outside/layout_description.h).
//
//     LayoutDescription layout = elements.GridLayoutDescription();
//     LayoutUtilities::BuildLayoutColumns(layout, catalogue, chosen, vt_Stocks, 0);
//     elements.SetGridLayoutDescription(layout);
#pragma once

#include "columns/viewer_type.h"
#include "outside/layout_description.h"
#include "outside/variant.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace qv {

class Recordset;

namespace LayoutUtilities {

// Replaces the columns of p_layout with a table built from the chosen fields:
// the key columns of the viewer type, then the chosen fields found in the field catalogue in
// their order (ids it lacks are skipped), then the viewer type's system columns. p_vChosenFields
// is a two-dimensional array whose first index is the chosen field and whose element 0 of the
// second index is its parameter id. Does nothing when the catalogue is missing, closed or empty,
// or when p_vChosenFields is Null. The catalogue is left without a filter.
void BuildLayoutColumns(LayoutDescription& p_layout,
                        const std::shared_ptr<Recordset>& p_rParameters,
                        const Variant& p_vChosenFields, ViewerType p_eViewerType,
                        int32_t p_lFinderResultsType);

// Grows a column table to entries 0..p_lNewUpper, keeping the existing entries; the new ones are
// blank. An upper index below -1 is error 9.
void GrowColumnTable(std::vector<LayoutColumn>& p_columnTable, int32_t p_lNewUpper);

// Whether an entry of the layout's column table shows the field, compared without regard to
// case.
bool IsFieldInLayout(std::string_view p_sFieldName, const LayoutDescription& p_layout);

}  // namespace LayoutUtilities
}  // namespace qv
