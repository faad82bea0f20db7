// Colours as the automation runtime keeps them: one number, red + 256 * green + 65536 * blue, with
// the highest byte unused. The shell turns them into its toolkit's colours (shell/qt_color.h).
//
//     RgbColor(102, 153, 102)              // 10066278
//     GreenOf(RgbColor(102, 153, 102))     // 153
//     HexColorText(RgbColor(1, 2, 255))    // "#0102FF"
//     ContrastRatio(kWhite, kBlack)        // 21
//     ReadableColor(RgbColor(204, 0, 0), RgbColor(0, 80, 128), 4.5)   // a light red
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

// The share of white a colour's light carries, 0 for black to 1 for white: sRGB channels made
// linear, weighted by how bright each looks.
double RelativeLuminance(int32_t p_lColor);

// How far apart two colours read, 1 (the same light) to 21 (black and white); text needs 4.5 to
// read comfortably on its background.
double ContrastRatio(int32_t p_lFirst, int32_t p_lSecond);

// p_dShare of p_lFirst and the rest of p_lSecond, channel by channel (p_dShare from 0 to 1).
int32_t MixColors(int32_t p_lFirst, int32_t p_lSecond, double p_dShare);

// p_lColor itself when it reads against p_lAgainst with at least p_dRatio; otherwise the least
// mix of it with black or white (whichever stands further from p_lAgainst) that does, so that a
// red stays a red, darker on a light background and lighter on a dark one. A ratio no colour
// reaches gives black or white.
int32_t ReadableColor(int32_t p_lColor, int32_t p_lAgainst, double p_dRatio);

}  // namespace qv
