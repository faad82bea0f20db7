// The state of a column in a layout: whether its field is fetched and whether the grid shows it.
#pragma once

#include <cstdint>

namespace qv {

// 0 is "no state given", the state of a new column; it is neither fetched nor shown.
enum ColumnState : int32_t {
    csSystem = 1,         // fetched, never shown
    csVisible = 2,        // shown because the user chose it
    csHidden = 3,         // kept in the layout, neither shown nor fetched
    csAlwaysVisible = 4,  // always shown (key columns)
};

}  // namespace qv
