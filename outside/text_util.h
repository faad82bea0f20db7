// Text: trimming, letter case, splitting, and checking and quoting text that comes from outside
// the program (files, callers, the command line).
//
// Each trimming names the characters it removes, because the texts differ in what may pad them:
// column formats and formatted cells are padded with spaces; settings lines and numbers inside a
// Variant with spaces and tabs; typed numbers and filter criteria may also carry a line break;
// names and values from callers and files lose all white space.
//
//     TrimSpaces("  0.00 ")       // "0.00"
//     TrimWhitespace("\tIBM\r\n")  // "IBM"
//     SplitText("a//b", '/')      // {"a", "", "b"}
//
// Letter case folds ASCII letters only: the names involved (members, ProgIDs, fields, settings
// keys, symbols) are ASCII, and folding other scripts would need tables the standard library does
// not offer. Folding by hand, rather than with std::tolower, keeps it the same in every locale.
//
// A message or a log line that quotes what a file or a caller gave quotes a short excerpt, so a
// 300 MB field does not become a 300 MB message, and shows the bytes that would garble a terminal
// or a log (control characters, bytes that are not UTF-8) as \xHH.
//
//     Excerpt("68.07")                        // "'68.07'"
//     Excerpt(std::string(300000000, 'x'))    // "'xxxx...xxxx...' (300000000 bytes)"
//     NameTextFault("Acme\x07")               // "a control character (\x07) at byte 4"
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// --- Trimming ----------------------------------------------------------------------------------

// A space or a tab.
bool IsBlank(char p_c);
// A blank, a carriage return or a line feed.
bool IsLineBlank(char p_c);
// A line blank, a vertical tab or a form feed: white space as the C locale has it.
bool IsWhitespace(char p_c);

std::string_view TrimSpaces(std::string_view p_sText);
std::string_view TrimBlanks(std::string_view p_sText);
std::string_view TrimLineBlanks(std::string_view p_sText);
std::string_view TrimWhitespace(std::string_view p_sText);

// --- Letter case -------------------------------------------------------------------------------

inline char ToLowerAscii(char p_c) {
    return (p_c >= 'A' && p_c <= 'Z') ? static_cast<char>(p_c - 'A' + 'a') : p_c;
}

inline char ToUpperAscii(char p_c) {
    return (p_c >= 'a' && p_c <= 'z') ? static_cast<char>(p_c - 'a' + 'A') : p_c;
}

std::string ToLowerAscii(std::string_view p_sText);
std::string ToUpperAscii(std::string_view p_sText);

bool EqualsIgnoreCase(std::string_view p_sLeft, std::string_view p_sRight);
// -1, 0 or 1 as the folded bytes order, unsigned; a text before every longer text it begins.
int CompareIgnoreCase(std::string_view p_sLeft, std::string_view p_sRight);

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

// --- Splitting ---------------------------------------------------------------------------------

// The parts between separators, empty ones included: n separators give n + 1 parts, and an empty
// text one empty part.
std::vector<std::string> SplitText(std::string_view p_sText, char p_cSeparator);

// p_sText with every occurrence of p_sFind (compared exactly) replaced by p_sWith, left to right;
// an empty p_sFind replaces nothing.
std::string ReplaceAll(std::string_view p_sText, std::string_view p_sFind,
                       std::string_view p_sWith);

// p_sText as one value of a page address's query: every byte but ASCII letters, digits and
// "-_.~" becomes %HH, so "A&B 1/2" gives "A%26B%201%2F2" and UTF-8 keeps its bytes.
std::string UrlEncode(std::string_view p_sText);

// --- Text from outside -------------------------------------------------------------------------

// The characters of input an excerpt shows at most.
constexpr size_t kExcerptChars = 40;

// Length of the UTF-8 sequence starting at p_sText[p_lAt], or 0 when it is not one (overlong
// forms, surrogates and values beyond U+10FFFF included).
size_t Utf8SequenceLength(std::string_view p_sText, size_t p_lAt);
// Whether every byte of p_sText belongs to a UTF-8 sequence.
bool IsUtf8(std::string_view p_sText);

// The characters of text known to be UTF-8 (NameTextFault says so): its bytes that start one.
size_t Utf8CharacterCount(std::string_view p_sText);

// C0 controls and DEL.
bool IsControlByte(unsigned char p_cByte);

// p_sText in single quotes, cut after kExcerptChars characters with its length said when longer:
// "'abc...' (300000000 bytes)".
std::string Excerpt(std::string_view p_sText);

// Why p_sText cannot be a name (a symbol, a company, a sector): "" when it is UTF-8 without
// control characters, else what and where the first fault is.
std::string NameTextFault(std::string_view p_sText);

// p_sText for a file other programs read (a CSV export): each control character other than tab,
// CR and LF, and each byte that is not UTF-8, becomes U+FFFD, the replacement character.
std::string ReplaceUnsafeBytes(std::string_view p_sText);

}  // namespace qv
