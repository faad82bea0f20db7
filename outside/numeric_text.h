// Reading numbers from text as the automation runtime does (US locale).
//
// One reader serves both IsNumeric and the Variant conversions, so that every text IsNumeric
// accepts converts and every text it rejects is a type mismatch. Accepted: blanks around the
// number, a leading "+" or "-" (blanks may follow it), digits with "," thousands separators in the
// integer part, one ".", an exponent ("1E+20", "2.5e-3"), parentheses for a negative amount
// ("(5)" is -5), and "&H" hexadecimal ("&HFF" is 255; four digits or fewer are a 16-bit value, so
// "&HFFFF" is -1). Rejected: empty or blank text, "5-3", "1e", "1.2.3", values beyond a Double,
// and "nan", "inf" or "infinity" in any case: what is not a finite number is not numeric.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qv {

std::optional<double> ParseNumericText(std::string_view p_sText);

// A double as a 64-bit whole number, rounded half to even as the runtime rounds (2.5 -> 2,
// 3.5 -> 4); nothing for NaN, an infinity or a value beyond the 64-bit range. Every conversion of
// a double to an integer goes through here, as a plain cast of such a value is undefined.
std::optional<int64_t> RoundToWholeNumber(double p_dValue);

}  // namespace qv
