#include "outside/watch_list_limits.h"

#include "outside/text_util.h"
#include "outside/variant.h"
#include "outside/vb_format.h"

namespace qv {

namespace {

std::string Count(size_t p_lCount) {
    return Format(Variant(static_cast<double>(p_lCount)), "#,##0");
}

std::string TextFault(std::string_view p_sText, const char* p_sWhat, size_t p_lMaxChars) {
    const std::string fault = NameTextFault(p_sText);
    if (!fault.empty()) {
        return std::string("The ") + p_sWhat + " cannot hold " + fault + ".";
    }
    const size_t chars = Utf8CharacterCount(p_sText);
    if (chars > p_lMaxChars) {
        return std::string("A watch list's ") + p_sWhat + " may hold at most " +
               Count(p_lMaxChars) + " characters; this one has " + Count(chars) + ".";
    }
    return {};
}

}  // namespace

std::string WatchListNameFault(const std::string& p_sName) {
    const std::string_view name = TrimWhitespace(p_sName);
    if (name.empty()) {
        return "A watch list needs a name.";
    }
    return TextFault(name, "name", kMaxWatchListNameChars);
}

std::string WatchListCommentsFault(const std::string& p_sComments) {
    // Comments may run over several lines.
    std::string flat = p_sComments;
    for (char& c : flat) {
        c = c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
    }
    return TextFault(flat, "comments", kMaxWatchListCommentChars);
}

std::string WatchListSizeFault(size_t p_lItems) {
    if (p_lItems <= kMaxWatchListItems) {
        return {};
    }
    return "A watch list holds at most " + Count(kMaxWatchListItems) + " items; " +
           Count(p_lItems) + " were chosen. Choose fewer rows.";
}

}  // namespace qv
