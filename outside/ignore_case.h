// Comparing names without regard to case, as automation does for member names, ProgIDs and
// settings keys. Only ASCII letters fold: the names involved are ASCII, and folding other scripts
// would need tables the standard library does not offer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

bool EqualsIgnoreCase(std::string_view p_sLeft, std::string_view p_sRight);
std::string ToLowerAscii(std::string_view p_sText);

// Hash and equality for unordered containers keyed by names; both accept string_view so that a
// lookup does not build a string.
struct IgnoreCaseHash {
    using is_transparent = void;
    size_t operator()(std::string_view p_sText) const;
};

struct IgnoreCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view p_sLeft, std::string_view p_sRight) const {
        return EqualsIgnoreCase(p_sLeft, p_sRight);
    }
};

}  // namespace qv
