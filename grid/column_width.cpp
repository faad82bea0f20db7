#include "grid/column_width.h"

#include "outside/platform_context.h"
#include "outside/text_measurer.h"

#include <algorithm>
#include <limits>

namespace qv {

namespace {

constexpr const char* kFontName = "MS Sans Serif";
constexpr double kFontSize = 8.25;
// Room for the cell's margins and the column divider.
constexpr int32_t kMargin = 100;

}  // namespace

int16_t CaptionColumnWidth(const std::string& p_sText, const std::string& p_sFontName,
                           double p_dFontSize) {
    FontSpec font;
    font.Name = p_sFontName.empty() ? kFontName : p_sFontName;
    font.Size = p_dFontSize > 0 ? p_dFontSize : kFontSize;
    font.Bold = true;
    const int64_t width =
        int64_t{PlatformContext::Current().Measurer().TextWidth(p_sText, font)} + kMargin;
    return static_cast<int16_t>(std::min<int64_t>(width, std::numeric_limits<int16_t>::max()));
}

}  // namespace qv
