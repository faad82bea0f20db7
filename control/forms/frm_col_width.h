// The column-width form: measures a caption so that a grid column without a width of its own
// shows its header in full.
//
//     frmColWidth form;
//     int16_t width = form.GetColWidth("Gain / Share", "Arial", 9);   // twips
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class frmColWidth {
  public:
    // The width of p_sText drawn in bold in the named font, plus room for the cell's margins, in
    // twips, as grid/column_width.h measures it for the grid routines. An empty font name or a
    // size of 0 or less takes the form's font. A text too wide for a 16-bit width gets the
    // widest one.
    int16_t GetColWidth(const std::string& p_sText, const std::string& p_sFontName,
                        double p_dFontSize) const;
};

}  // namespace qv
