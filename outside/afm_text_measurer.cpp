#include "outside/afm_text_measurer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace qv {

namespace {

// Advance widths in thousandths of the em for the characters 32 to 126, sixteen to a row.
// clang-format off
constexpr std::array<int16_t, 95> kRegular = {
    278,  278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,  //  !"#$%&'()*+,-./
    556,  556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,  // 0-9 :;<=>?
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // @ A-O
    667,  778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,  // P-Z [\]^_
    333,  556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,  // ` a-o
    556,  556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584,       // p-z {|}~
};

constexpr std::array<int16_t, 95> kBold = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278,  //  !"#$%&'()*+,-./
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611,  // 0-9 :;<=>?
    975, 722, 722, 722, 722, 667, 611, 778, 722, 278, 556, 722, 611, 833, 722, 778,  // @ A-O
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 333, 278, 333, 584, 556,  // P-Z [\]^_
    333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556, 278, 889, 611, 611,  // ` a-o
    611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584,       // p-z {|}~
};
// clang-format on

constexpr int kFixedPitch = 600;
constexpr int kAverageLetter = 556;
constexpr double kTwipsPerPoint = 20.0;

bool IsFixedPitch(std::string_view p_sFontName) {
    return p_sFontName.find("Courier") != std::string_view::npos ||
           p_sFontName.find("Mono") != std::string_view::npos;
}

int CharacterWidth(unsigned char p_c, const std::array<int16_t, 95>& p_widths) {
    if (p_c < 32 || p_c == 127) {
        return 0;
    }
    if (p_c > 127) {
        return kAverageLetter;
    }
    return p_widths[p_c - 32];
}

}  // namespace

int32_t AfmTextMeasurer::TextWidth(std::string_view p_sText, const FontSpec& p_font) const {
    const bool fixed = IsFixedPitch(p_font.Name);
    const std::array<int16_t, 95>& widths = p_font.Bold ? kBold : kRegular;
    long units = 0;
    for (char c : p_sText) {
        const auto byte = static_cast<unsigned char>(c);
        // A UTF-8 character counts once, at its lead byte.
        if ((byte & 0xc0) == 0x80) {
            continue;
        }
        units += fixed && byte >= 32 && byte != 127 ? kFixedPitch : CharacterWidth(byte, widths);
    }
    const double size = p_font.Size > 0 ? p_font.Size : 0.0;
    const double twips = static_cast<double>(units) * size * kTwipsPerPoint / 1000.0;
    return static_cast<int32_t>(std::lround(std::min(twips, double{INT32_MAX})));
}

}  // namespace qv
