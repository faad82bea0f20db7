#include "grid/column_width.h"

#include "outside/scripted_services.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

TEST(ColumnWidthTest, MeasuresTheTextInBoldPlusAMargin) {
    ScopedTestPlatform platform;
    // "Price" in bold at 8.25 points: 2446 thousandths of an em, 403.6 twips.
    EXPECT_EQ(CaptionColumnWidth("Price", "", 0), 404 + 100);
    EXPECT_EQ(CaptionColumnWidth("", "Arial", 9), 100);
}

TEST(ColumnWidthTest, AnEmptyFontNameOrSizeTakesTheFormsFont) {
    ScopedTestPlatform platform;
    const int16_t own = CaptionColumnWidth("Gain / Share", "", 0);
    EXPECT_EQ(CaptionColumnWidth("Gain / Share", "MS Sans Serif", 8.25), own);
    EXPECT_EQ(CaptionColumnWidth("Gain / Share", "Arial", 0), own);
    EXPECT_GT(CaptionColumnWidth("Gain / Share", "", 12), own);
}

TEST(ColumnWidthTest, AWidthBeyondSixteenBitsIsTheWidest) {
    ScopedTestPlatform platform;
    EXPECT_EQ(CaptionColumnWidth(std::string(5000, 'W'), "", 0), 32767);
}

}  // namespace
}  // namespace qv
