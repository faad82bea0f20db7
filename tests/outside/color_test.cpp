// The contrast of two colours as readers of text feel it, and the nearest colour to a given one
// that reads on a background.
#include "outside/color.h"

#include <gtest/gtest.h>

#include <tuple>

namespace qv {
namespace {

constexpr int32_t kWhite = RgbColor(255, 255, 255);
constexpr int32_t kRed = RgbColor(204, 0, 0);
constexpr int32_t kGreen = RgbColor(102, 153, 102);
constexpr int32_t kNavy = RgbColor(0, 80, 128);

TEST(ColorContrast, RatiosOfKnownPairs) {
    const std::tuple<int32_t, int32_t, double> cases[] = {{kWhite, RgbColor(0, 0, 0), 21.0},
                                                          {kRed, kRed, 1.0},
                                                          {kRed, kWhite, 5.89},
                                                          {kGreen, kWhite, 3.33},
                                                          {kWhite, kNavy, 8.54},
                                                          {RgbColor(118, 118, 118), kWhite, 4.54}};
    for (const auto& [first, second, ratio] : cases) {
        EXPECT_NEAR(ContrastRatio(first, second), ratio, 0.01) << HexColorText(first);
        EXPECT_EQ(ContrastRatio(first, second), ContrastRatio(second, first));
    }
}

TEST(ColorContrast, AReadableColourMovesAwayFromItsBackgroundNoFurtherThanNeeded) {
    const std::tuple<int32_t, int32_t, bool> cases[] = {{kGreen, kWhite, true},
                                                        {kRed, RgbColor(184, 206, 220), true},
                                                        {kRed, kNavy, false},
                                                        {kGreen, RgbColor(35, 35, 35), false},
                                                        {kWhite, kGreen, true}};
    for (const auto& [color, against, darker] : cases) {
        const int32_t readable = ReadableColor(color, against, 4.5);
        const std::string pair = HexColorText(color) + " on " + HexColorText(against);
        EXPECT_GE(ContrastRatio(readable, against), 4.5) << pair;
        EXPECT_LT(ContrastRatio(readable, against), 4.8) << pair;  // not all the way to black
        EXPECT_EQ(RelativeLuminance(readable) < RelativeLuminance(color), darker) << pair;
    }
    EXPECT_EQ(ReadableColor(kRed, kWhite, 4.5), kRed);
    EXPECT_EQ(ReadableColor(kRed, kWhite, 30), RgbColor(0, 0, 0));
}

}  // namespace
}  // namespace qv
