#include "control/forms/frm_col_width.h"

#include "grid/column_width.h"

namespace qv {

int16_t frmColWidth::GetColWidth(const std::string& p_sText, const std::string& p_sFontName,
                                 double p_dFontSize) const {
    return CaptionColumnWidth(p_sText, p_sFontName, p_dFontSize);
}

}  // namespace qv
