// Measuring text with Qt's font metrics, in twips at the screen's logical resolution. A font
// the system lacks ("MS Sans Serif") is measured in the font Qt substitutes for it, which is the
// one the shell draws with; a font without a name is the application's.
#pragma once

#include "outside/text_measurer.h"

namespace qv {

class QtTextMeasurer : public TextMeasurer {
  public:
    int32_t TextWidth(std::string_view p_sText, const FontSpec& p_font) const override;
};

}  // namespace qv
