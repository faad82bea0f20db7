// The contrast of two colours as readers of text feel it, and the nearest colour to a given one
// that reads on a background.
#include "outside/color.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

constexpr int32_t kWhite = RgbColor(255, 255, 255);
constexpr int32_t kBlack = RgbColor(0, 0, 0);
constexpr int32_t kRed = RgbColor(204, 0, 0);
constexpr int32_t kGreen = RgbColor(102, 153, 102);
constexpr int32_t kNavy = RgbColor(0, 80, 128);

TEST(ColorContrast, RatiosOfKnownPairs) {
    struct Case {
        int32_t First, Second;
        double Ratio;
    };
    // The extremes, and pairs whose published ratios are known to two decimals.
    const Case cases[] = {{kWhite, kBlack, 21.0}, {kBlack, kWhite, 21.0},
                          {kRed, kRed, 1.0},      {RgbColor(118, 118, 118), kWhite, 4.54},
                          {kRed, kWhite, 5.89},   {kGreen, kWhite, 3.33},
                          {kWhite, kNavy, 8.54}};
    for (const Case& c : cases) {
        EXPECT_NEAR(ContrastRatio(c.First, c.Second), c.Ratio, 0.01)
            << HexColorText(c.First) << " on " << HexColorText(c.Second);
    }
}

TEST(ColorContrast, AReadableColourKeepsItsHueAndGoesNoFurtherThanNeeded) {
    struct Case {
        int32_t Color, Against;
        bool Darker;  // moved towards black, else towards white
    };
    const Case cases[] = {{kGreen, kWhite, true},
                          {kRed, RgbColor(184, 206, 220), true},
                          {kRed, kNavy, false},
                          {kGreen, RgbColor(35, 35, 35), false},
                          {kWhite, kGreen, true}};
    for (const Case& c : cases) {
        const int32_t readable = ReadableColor(c.Color, c.Against, 4.5);
        const std::string pair = HexColorText(c.Color) + " on " + HexColorText(c.Against);
        EXPECT_GE(ContrastRatio(readable, c.Against), 4.5) << pair;
        // No further than it had to: not all the way to black or white.
        EXPECT_LT(ContrastRatio(readable, c.Against), 4.5 + 0.3) << pair;
        EXPECT_EQ(RelativeLuminance(readable) < RelativeLuminance(c.Color), c.Darker) << pair;
    }
    EXPECT_EQ(ReadableColor(kRed, kWhite, 4.5), kRed);
    EXPECT_EQ(ReadableColor(kRed, kWhite, 30), kBlack);
}

}  // namespace
}  // namespace qv
