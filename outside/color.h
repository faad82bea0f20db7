// Colours as the automation runtime keeps them: one number, red + 256 * green + 65536 * blue, with
// the highest byte unused. The shell turns them into its toolkit's colours (shell/qt_color.h).
//
//     RgbColor(102, 153, 102)              // 10066278
//     GreenOf(RgbColor(102, 153, 102))     // 153
//     HexColorText(RgbColor(1, 2, 255))    // "#0102FF"
#pragma once

#include <cstdint>
#include <string>

namespace qv {

constexpr int32_t RgbColor(int32_t p_lRed, int32_t p_lGreen, int32_t p_lBlue) {
    return p_lRed + 256 * p_lGreen + 65536 * p_lBlue;
}

constexpr int32_t RedOf(int32_t p_lColor) {
    return p_lColor & 0xFF;
}

constexpr int32_t GreenOf(int32_t p_lColor) {
    return (p_lColor >> 8) & 0xFF;
}

constexpr int32_t BlueOf(int32_t p_lColor) {
    return (p_lColor >> 16) & 0xFF;
}

// "#RRGGBB" in capital hexadecimal digits.
std::string HexColorText(int32_t p_lColor);

}  // namespace qv
