#include "outside/text_util.h"

namespace qv {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

std::string HexByte(unsigned char p_cByte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {'\\', 'x', kDigits[p_cByte >> 4], kDigits[p_cByte & 0x0f]};
}

}  // namespace

size_t Utf8SequenceLength(std::string_view p_sText, size_t p_lAt) {
    const auto lead = static_cast<unsigned char>(p_sText[p_lAt]);
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        low = lead == 0xe0 ? 0xa0 : 0x80;
        high = lead == 0xed ? 0x9f : 0xbf;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        low = lead == 0xf0 ? 0x90 : 0x80;
        high = lead == 0xf4 ? 0x8f : 0xbf;
    } else {
        return 0;
    }
    if (p_lAt + length > p_sText.size()) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(p_sText[p_lAt + i]);
        if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xbf)) {
            return 0;
        }
    }
    return length;
}

bool IsControlByte(unsigned char p_cByte) {
    return p_cByte < 0x20 || p_cByte == 0x7f;
}

std::string Excerpt(std::string_view p_sText) {
    std::string out = "'";
    size_t chars = 0;
    size_t i = 0;
    while (i < p_sText.size() && chars < kExcerptChars) {
        const auto c = static_cast<unsigned char>(p_sText[i]);
        const size_t length = Utf8SequenceLength(p_sText, i);
        if (length == 0 || IsControlByte(c)) {
            out += HexByte(c);
            ++i;
        } else {
            out.append(p_sText.substr(i, length));
            i += length;
        }
        ++chars;
    }
    if (i == p_sText.size()) {
        return out + "'";
    }
    return out + "...' (" + std::to_string(p_sText.size()) + " bytes)";
}

std::string NameTextFault(std::string_view p_sText) {
    for (size_t i = 0; i < p_sText.size();) {
        const auto c = static_cast<unsigned char>(p_sText[i]);
        if (IsControlByte(c)) {
            return "a control character (" + HexByte(c) + ") at byte " + std::to_string(i);
        }
        const size_t length = Utf8SequenceLength(p_sText, i);
        if (length == 0) {
            return "a byte that is not UTF-8 (" + HexByte(c) + ") at byte " + std::to_string(i);
        }
        i += length;
    }
    return {};
}

std::string ReplaceUnsafeBytes(std::string_view p_sText) {
    std::string out;
    out.reserve(p_sText.size());
    for (size_t i = 0; i < p_sText.size();) {
        const auto c = static_cast<unsigned char>(p_sText[i]);
        const size_t length = Utf8SequenceLength(p_sText, i);
        const bool plainControl = c == '\t' || c == '\r' || c == '\n';
        if (length == 0 || (IsControlByte(c) && !plainControl)) {
            out += kReplacementCharacter;
            ++i;
            continue;
        }
        out.append(p_sText.substr(i, length));
        i += length;
    }
    return out;
}

}  // namespace qv
