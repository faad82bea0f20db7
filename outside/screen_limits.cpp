#include "outside/screen_limits.h"

#include "outside/text_util.h"

namespace qv {

std::string ScreenNameFault(const std::string& p_sName) {
    const std::string_view name = TrimWhitespace(p_sName);
    if (name.empty()) {
        return "A screen needs a name.";
    }
    const std::string fault = NameTextFault(name);
    if (!fault.empty()) {
        return "The name cannot hold " + fault + ".";
    }
    const size_t chars = Utf8CharacterCount(name);
    if (chars > kMaxScreenNameChars) {
        return "A screen's name may hold at most " + std::to_string(kMaxScreenNameChars) +
               " characters; this one has " + std::to_string(chars) + ".";
    }
    return {};
}

}  // namespace qv
