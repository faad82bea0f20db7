#include "outside/ignore_case.h"

namespace qv {

namespace {

char FoldAscii(char p_c) {
    return (p_c >= 'A' && p_c <= 'Z') ? static_cast<char>(p_c - 'A' + 'a') : p_c;
}

}  // namespace

bool EqualsIgnoreCase(std::string_view p_sLeft, std::string_view p_sRight) {
    if (p_sLeft.size() != p_sRight.size()) {
        return false;
    }
    for (size_t i = 0; i < p_sLeft.size(); ++i) {
        if (FoldAscii(p_sLeft[i]) != FoldAscii(p_sRight[i])) {
            return false;
        }
    }
    return true;
}

std::string ToLowerAscii(std::string_view p_sText) {
    std::string lower(p_sText);
    for (char& c : lower) {
        c = FoldAscii(c);
    }
    return lower;
}

size_t IgnoreCaseHash::operator()(std::string_view p_sText) const {
    // FNV-1a over the folded bytes.
    size_t hash = 14695981039346656037ull;
    for (char c : p_sText) {
        hash ^= static_cast<unsigned char>(FoldAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace qv
