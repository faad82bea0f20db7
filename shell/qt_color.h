// The runtime's colour values (outside/color.h) as Qt colours.
#pragma once

#include "outside/color.h"

#include <QColor>

#include <cstdint>

namespace qv {

inline QColor ToQColor(int32_t p_lColor) {
    return QColor(RedOf(p_lColor), GreenOf(p_lColor), BlueOf(p_lColor));
}

}  // namespace qv
