// The layout description as it crosses the automation boundary, and the stored layout record.
//
//     element 0  header:       array 0..4: id, name, description, parent id, owner id
//     element 1  sort block:   array 0..4: sort text, primary id, primary direction,
//                              secondary id, secondary direction; Empty when there is no sort
//     element 2  column table: array (0..6, 0..n-1): parameter id, state, SQL column, caption,
//                              table mask, sequence, column format; Empty without columns
//
// A description comes from a caller, so reading checks every part it relies on and fails with an
// automation error that names the part ("layout description, column table: ..."). Values are
// converted as the automation runtime converts them, so numbers sent as text are accepted.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "facade/layout_store.h"
#include "outside/variant.h"

namespace qv::facade {

Variant LayoutToVariant(const LayoutRecord& p_oLayout);

// The id in the header of a description; 0 when there is no readable header.
int32_t LayoutIdOfVariant(const Variant& p_vDescription);

// A description that holds a column table (a layout in force) as a record; nullopt when it holds
// none (Empty, or a description whose column table is Empty). The sort block is taken when
// present; otherwise the record's sort stays empty. Data type and finder type are not part of a
// description and stay at their defaults.
std::optional<LayoutRecord> LayoutFromVariant(const Variant& p_vDescription);

// A column table sent on its own (the save call sends the parts of a description separately).
std::vector<LayoutColumn> ColumnsFromVariant(const Variant& p_vTable);

}  // namespace qv::facade
