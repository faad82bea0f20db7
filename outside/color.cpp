#include "outside/color.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qv {

namespace {

constexpr int32_t kBlackColor = RgbColor(0, 0, 0);
constexpr int32_t kWhiteColor = RgbColor(255, 255, 255);
// Mixes are tried in steps this fine: finer than a step of one in any channel.
constexpr int32_t kMixSteps = 256;

double LinearChannel(int32_t p_lChannel) {
    const double value = p_lChannel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

int32_t MixChannel(int32_t p_lFirst, int32_t p_lSecond, double p_dShare) {
    const double value = p_lFirst * p_dShare + p_lSecond * (1.0 - p_dShare);
    return std::clamp(static_cast<int32_t>(std::lround(value)), 0, 255);
}

}  // namespace

std::string HexColorText(int32_t p_lColor) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(p_lColor), GreenOf(p_lColor),
                  BlueOf(p_lColor));
    return text;
}

double RelativeLuminance(int32_t p_lColor) {
    return 0.2126 * LinearChannel(RedOf(p_lColor)) + 0.7152 * LinearChannel(GreenOf(p_lColor)) +
           0.0722 * LinearChannel(BlueOf(p_lColor));
}

double ContrastRatio(int32_t p_lFirst, int32_t p_lSecond) {
    const double first = RelativeLuminance(p_lFirst);
    const double second = RelativeLuminance(p_lSecond);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

int32_t MixColors(int32_t p_lFirst, int32_t p_lSecond, double p_dShare) {
    return RgbColor(MixChannel(RedOf(p_lFirst), RedOf(p_lSecond), p_dShare),
                    MixChannel(GreenOf(p_lFirst), GreenOf(p_lSecond), p_dShare),
                    MixChannel(BlueOf(p_lFirst), BlueOf(p_lSecond), p_dShare));
}

int32_t ReadableColor(int32_t p_lColor, int32_t p_lAgainst, double p_dRatio) {
    if (ContrastRatio(p_lColor, p_lAgainst) >= p_dRatio) {
        return p_lColor;
    }
    const int32_t extreme =
        ContrastRatio(kBlackColor, p_lAgainst) >= ContrastRatio(kWhiteColor, p_lAgainst)
            ? kBlackColor
            : kWhiteColor;
    // Moving towards the extreme only widens the gap, so the first mix that reads is the least.
    for (int32_t step = 1; step < kMixSteps; ++step) {
        const int32_t mixed = MixColors(extreme, p_lColor, static_cast<double>(step) / kMixSteps);
        if (ContrastRatio(mixed, p_lAgainst) >= p_dRatio) {
            return mixed;
        }
    }
    return extreme;
}

}  // namespace qv
