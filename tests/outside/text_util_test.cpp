#include "outside/text_util.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace qv {
namespace {

// A regression: a bad field was echoed whole into messages and the log (a 300 MB message).
TEST(TextUtilTest, AnExcerptIsShortSaysTheLengthAndEscapesUnsafeBytes) {
    const std::string forty(40, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"68.07", "'68.07'"},
        {"", "''"},
        {forty, "'" + forty + "'"},
        {forty + "y", "'" + forty + "...' (41 bytes)"},
        {std::string(300000, 'z'), "'" + std::string(40, 'z') + "...' (300000 bytes)"},
        {std::string("a\0b\x1b[2J", 7), "'a\\x00b\\x1B[2J'"},
        {"caf\xe9", "'caf\\xE9'"},
        // A character of several bytes counts once and is never cut.
        {std::string(39, 'x') + "\xE2\x82\xAC\xE2\x82\xAC",
         "'" + std::string(39, 'x') + "\xE2\x82\xAC...' (45 bytes)"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Excerpt(text), expected) << expected;
    }
}

TEST(TextUtilTest, NamesMustBeUtf8WithoutControlCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"Nestl\xC3\xA9 S.A.", ""},
        {std::string("A\0B", 3), "a control character (\\x00) at byte 1"},
        // An overlong form and a surrogate are not UTF-8 either.
        {"\xC0\xAF", "a byte that is not UTF-8 (\\xC0) at byte 0"},
        {"\xED\xA0\x80", "a byte that is not UTF-8 (\\xED) at byte 0"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(NameTextFault(text), expected) << expected;
    }
}

}  // namespace
}  // namespace qv
