// Which of the viewer's two grids a value belongs to; indexes the column collections of the
// viewer state.
#pragma once

#include <cstdint>

namespace qv {

enum GridType : int32_t {
    gtPrimary = 0,
    gtSecondary = 1,
};

}  // namespace qv
