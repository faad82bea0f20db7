// Measuring text as a font would draw it, in twips (1440 to the inch, 20 to the point).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

struct FontSpec {
    std::string Name;    // "MS Sans Serif"
    double Size = 8.25;  // points
    bool Bold = false;
};

class TextMeasurer {
  public:
    virtual ~TextMeasurer() = default;
    // The advance width of p_sText (UTF-8) on one line in p_font.
    virtual int32_t TextWidth(std::string_view p_sText, const FontSpec& p_font) const = 0;
};

}  // namespace qv
