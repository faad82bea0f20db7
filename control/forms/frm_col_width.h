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
    // The form's own font, used where a caller gives none.
    static constexpr const char* kFontName = "MS Sans Serif";
    static constexpr double kFontSize = 8.25;
    // Room for the cell's margins and the column divider.
    static constexpr int32_t kMargin = 100;

    // The width of p_sText drawn in bold in the named font, plus kMargin, in twips, through the
    // platform's text measurer. An empty font name or a size of 0 or less takes the form's. A
    // text too wide for a 16-bit width gets the widest one.
    int16_t GetColWidth(const std::string& p_sText, const std::string& p_sFontName,
                        double p_dFontSize) const;
};

}  // namespace qv
