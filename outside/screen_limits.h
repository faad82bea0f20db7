// The limits of a stock screen's name. The facade refuses a name that breaks them from any caller,
// and a dialog that names screens says the same thing in the same words before it calls.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

inline constexpr size_t kMaxScreenNameChars = 60;

// Why p_sName cannot name a screen (blank, too long, not text), in words for the person; "" when
// it can. Surrounding blanks do not count: the screen is named without them.
std::string ScreenNameFault(const std::string& p_sName);

}  // namespace qv
