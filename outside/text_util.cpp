#include "outside/text_util.h"

#include <algorithm>

namespace qv {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

std::string HexByte(unsigned char p_cByte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {'\\', 'x', kDigits[p_cByte >> 4], kDigits[p_cByte & 0x0f]};
}

template <class IsPadding>
std::string_view TrimWhile(std::string_view p_sText, IsPadding p_fIsPadding) {
    while (!p_sText.empty() && p_fIsPadding(p_sText.front())) {
        p_sText.remove_prefix(1);
    }
    while (!p_sText.empty() && p_fIsPadding(p_sText.back())) {
        p_sText.remove_suffix(1);
    }
    return p_sText;
}

bool IsSpace(char p_c) {
    return p_c == ' ';
}

}  // namespace

bool IsBlank(char p_c) {
    return p_c == ' ' || p_c == '\t';
}

bool IsLineBlank(char p_c) {
    return IsBlank(p_c) || p_c == '\r' || p_c == '\n';
}

bool IsWhitespace(char p_c) {
    return IsLineBlank(p_c) || p_c == '\v' || p_c == '\f';
}

std::string_view TrimSpaces(std::string_view p_sText) {
    return TrimWhile(p_sText, IsSpace);
}

std::string_view TrimBlanks(std::string_view p_sText) {
    return TrimWhile(p_sText, IsBlank);
}

std::string_view TrimLineBlanks(std::string_view p_sText) {
    return TrimWhile(p_sText, IsLineBlank);
}

std::string_view TrimWhitespace(std::string_view p_sText) {
    return TrimWhile(p_sText, IsWhitespace);
}

std::string ToLowerAscii(std::string_view p_sText) {
    std::string lower(p_sText);
    for (char& c : lower) {
        c = ToLowerAscii(c);
    }
    return lower;
}

std::string ToUpperAscii(std::string_view p_sText) {
    std::string upper(p_sText);
    for (char& c : upper) {
        c = ToUpperAscii(c);
    }
    return upper;
}

bool EqualsIgnoreCase(std::string_view p_sLeft, std::string_view p_sRight) {
    if (p_sLeft.size() != p_sRight.size()) {
        return false;
    }
    for (size_t i = 0; i < p_sLeft.size(); ++i) {
        if (ToLowerAscii(p_sLeft[i]) != ToLowerAscii(p_sRight[i])) {
            return false;
        }
    }
    return true;
}

int CompareIgnoreCase(std::string_view p_sLeft, std::string_view p_sRight) {
    const size_t common = std::min(p_sLeft.size(), p_sRight.size());
    for (size_t i = 0; i < common; ++i) {
        const auto left = static_cast<unsigned char>(ToLowerAscii(p_sLeft[i]));
        const auto right = static_cast<unsigned char>(ToLowerAscii(p_sRight[i]));
        if (left != right) {
            return left < right ? -1 : 1;
        }
    }
    if (p_sLeft.size() == p_sRight.size()) {
        return 0;
    }
    return p_sLeft.size() < p_sRight.size() ? -1 : 1;
}

size_t IgnoreCaseHash::operator()(std::string_view p_sText) const {
    // FNV-1a over the folded bytes.
    size_t hash = 14695981039346656037ull;
    for (char c : p_sText) {
        hash ^= static_cast<unsigned char>(ToLowerAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

std::vector<std::string> SplitText(std::string_view p_sText, char p_cSeparator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t end = p_sText.find(p_cSeparator, start);
        if (end == std::string_view::npos) {
            parts.emplace_back(p_sText.substr(start));
            return parts;
        }
        parts.emplace_back(p_sText.substr(start, end - start));
        start = end + 1;
    }
}

std::string ReplaceAll(std::string_view p_sText, std::string_view p_sFind,
                       std::string_view p_sWith) {
    if (p_sFind.empty()) {
        return std::string(p_sText);
    }
    std::string replaced;
    size_t from = 0;
    for (size_t at = p_sText.find(p_sFind); at != std::string_view::npos;
         at = p_sText.find(p_sFind, from)) {
        replaced.append(p_sText.substr(from, at - from));
        replaced.append(p_sWith);
        from = at + p_sFind.size();
    }
    replaced.append(p_sText.substr(from));
    return replaced;
}

std::string UrlEncode(std::string_view p_sText) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(p_sText.size());
    for (const char c : p_sText) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '_' || c == '.' || c == '~') {
            out += c;
        } else {
            out += {'%', kDigits[byte >> 4], kDigits[byte & 0x0f]};
        }
    }
    return out;
}

size_t Utf8CharacterCount(std::string_view p_sText) {
    size_t count = 0;
    for (const char c : p_sText) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

bool IsUtf8(std::string_view p_sText) {
    for (size_t at = 0; at < p_sText.size();) {
        const size_t length = Utf8SequenceLength(p_sText, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

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
