// The runtime's RGB colour values (red + 256 * green + 65536 * blue) as Qt colours.
#pragma once

#include <QColor>

#include <cstdint>

namespace qv {

inline QColor ToQColor(int32_t p_lColor) {
    return QColor(p_lColor & 0xFF, (p_lColor >> 8) & 0xFF, (p_lColor >> 16) & 0xFF);
}

}  // namespace qv
