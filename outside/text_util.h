// Checking and quoting text that comes from outside the program: files, callers, the command line.
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

namespace qv {

// The characters of input an excerpt shows at most.
constexpr size_t kExcerptChars = 40;

// Length of the UTF-8 sequence starting at p_sText[p_lAt], or 0 when it is not one (overlong
// forms, surrogates and values beyond U+10FFFF included).
size_t Utf8SequenceLength(std::string_view p_sText, size_t p_lAt);

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
