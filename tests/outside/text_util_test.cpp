#include "outside/text_util.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

// Each trimming keeps what its texts may legitimately hold: a format keeps its tabs, a settings
// line its line breaks; mixing the variants up changes what a caller reads.
TEST(TextUtilTest, EachTrimmingRemovesOnlyItsOwnPadding) {
    const std::string padded = "\v\r\t x \t\n\f";
    EXPECT_EQ(TrimSpaces(padded), padded);
    EXPECT_EQ(TrimSpaces("  0.00 "), "0.00");
    EXPECT_EQ(TrimBlanks("\t x \t"), "x");
    EXPECT_EQ(TrimBlanks("\r\t x \t\n"), "\r\t x \t\n");
    EXPECT_EQ(TrimLineBlanks("\r\t x \t\n"), "x");
    EXPECT_EQ(TrimLineBlanks(padded), "\v\r\t x \t\n\f");
    EXPECT_EQ(TrimWhitespace(padded), "x");
    EXPECT_EQ(TrimWhitespace(" \t "), "");
}

TEST(TextUtilTest, SplittingKeepsEmptyParts) {
    EXPECT_EQ(SplitText("a//b", '/'), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitText("", '/'), std::vector<std::string>{""});
}

// Folding must not depend on the locale, and bytes past ASCII order as unsigned.
TEST(TextUtilTest, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_EQ(ToUpperAscii("ibm.n \xe9"), "IBM.N \xe9");
    EXPECT_EQ(ToLowerAscii("IBM.N \xC9"), "ibm.n \xC9");
    EXPECT_FALSE(EqualsIgnoreCase("\xe9", "\xC9"));
    EXPECT_EQ(CompareIgnoreCase("Ab", "a"), 1);
    EXPECT_EQ(CompareIgnoreCase("Z", "\xe9"), -1);
    EXPECT_EQ(CompareIgnoreCase("aBc", "AbC"), 0);
    EXPECT_EQ(IgnoreCaseHash()("Symbol"), IgnoreCaseHash()("SYMBOL"));
}

}  // namespace
}  // namespace qv
