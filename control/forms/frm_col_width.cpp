#include "control/forms/frm_col_width.h"

#include "outside/platform_context.h"
#include "outside/text_measurer.h"

#include <algorithm>
#include <limits>

namespace qv {

int16_t frmColWidth::GetColWidth(const std::string& p_sText, const std::string& p_sFontName,
                                 double p_dFontSize) const {
    FontSpec font;
    font.Name = p_sFontName.empty() ? kFontName : p_sFontName;
    font.Size = p_dFontSize > 0 ? p_dFontSize : kFontSize;
    font.Bold = true;
    const int64_t width =
        int64_t{PlatformContext::Current().Measurer().TextWidth(p_sText, font)} + kMargin;
    return static_cast<int16_t>(std::min<int64_t>(width, std::numeric_limits<int16_t>::max()));
}

}  // namespace qv
