#include "outside/color.h"

#include <cstdio>

namespace qv {

std::string HexColorText(int32_t p_lColor) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(p_lColor), GreenOf(p_lColor),
                  BlueOf(p_lColor));
    return text;
}

}  // namespace qv
