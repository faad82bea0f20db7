// The width a grid column needs to show its caption in full, in twips: the caption drawn in bold
// through the platform's text measurer, plus room for the cell's margins and the column divider.
// The control's column-width form (frmColWidth) gives this; the grid routines sit below the
// control's forms and call it directly.
//
//     int16_t width = CaptionColumnWidth("Gain / Share", "Arial", 9);
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// An empty font name or a size of 0 or less takes the form's own font, 8.25-point "MS Sans
// Serif". A caption too wide for a 16-bit width gets the widest one.
int16_t CaptionColumnWidth(const std::string& p_sText, const std::string& p_sFontName,
                           double p_dFontSize);

}  // namespace qv
