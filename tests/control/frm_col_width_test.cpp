#include "control/forms/frm_col_width.h"

#include "outside/afm_text_measurer.h"
#include "outside/scripted_services.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

TEST(FrmColWidthTest, MeasuresTheTextInBoldPlusAMargin) {
    ScopedTestPlatform platform;
    const frmColWidth form;
    // "Price" in bold at 8.25 points: 2446 thousandths of an em, 403.6 twips.
    EXPECT_EQ(form.GetColWidth("Price", "", 0), 404 + 100);
    EXPECT_EQ(form.GetColWidth("", "Arial", 9), 100);
    const FontSpec regular{"MS Sans Serif", 8.25, false};
    EXPECT_GT(form.GetColWidth("Price", "", 0),
              AfmTextMeasurer().TextWidth("Price", regular) + 100);
}

TEST(FrmColWidthTest, AnEmptyFontNameOrSizeTakesTheFormsFont) {
    ScopedTestPlatform platform;
    const frmColWidth form;
    const int16_t own = form.GetColWidth("Gain / Share", "", 0);
    EXPECT_EQ(form.GetColWidth("Gain / Share", "MS Sans Serif", 8.25), own);
    EXPECT_EQ(form.GetColWidth("Gain / Share", "Arial", 0), own);
    EXPECT_GT(form.GetColWidth("Gain / Share", "", 12), own);
    EXPECT_GT(form.GetColWidth("Gain / Share", "Courier New", 0), own);
}

TEST(FrmColWidthTest, AWidthBeyondSixteenBitsIsTheWidest) {
    ScopedTestPlatform platform;
    EXPECT_EQ(frmColWidth().GetColWidth(std::string(5000, 'W'), "", 0), 32767);
}

}  // namespace
}  // namespace qv
