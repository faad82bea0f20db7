// A text measurer that needs no fonts: the advance widths of a common sans-serif face (the
// Helvetica metrics every PDF reader knows, regular and bold), scaled to the point size. Widths
// are plausible for any proportional font and the same on every machine, which is what a
// process without a display, and every test, needs. Font names containing "Courier" or "Mono"
// measure as a fixed-pitch face; characters beyond ASCII count as an average letter.
#pragma once

#include "outside/text_measurer.h"

namespace qv {

class AfmTextMeasurer : public TextMeasurer {
  public:
    int32_t TextWidth(std::string_view p_sText, const FontSpec& p_font) const override;
};

}  // namespace qv
