// Format and IsNumeric with the automation runtime's rules (US locale: "." decimal point, ","
// thousands separator, "$" currency, month/day/year dates).
//
// Format(value, format) turns a value into display text:
//   - Null and Empty give "". Objects and arrays are error 13.
//   - An empty format gives the value's plain text (Variant::ToString).
//   - Text that is numeric (IsNumeric) is formatted as that number; other text comes back
//     unchanged. With a date format, date text ("12/6/2026") is formatted as that date.
//   - Booleans are -1 and 0 for numeric formats; dates are their day serial.
//
// Named formats, case-insensitive:
//   "General Number"  the number with up to 15 significant digits, no separators: "1234.5"
//   "Currency"        "$#,##0.00;($#,##0.00)": "$1,234.50", "($5.00)"
//   "Fixed"           "0.00": "1234.50", "-0.50"
//   "Standard"        "#,##0.00": "1,234.50"
//   "Percent"         "0.00%": 0.125 gives "12.50%"
//   "Scientific"      "0.00E+00": 1234.5 gives "1.23E+03"
//   "Yes/No", "True/False", "On/Off"   zero gives the second word, anything else the first
//   "General Date"    the default date text: "12/6/2026 3:04:05 PM"
//   "Long Date"       "dddd, mmmm d, yyyy": "Sunday, December 6, 2026"
//   "Medium Date"     "dd-mmm-yy": "06-Dec-26"
//   "Short Date"      "m/d/yyyy": "12/6/2026"
//   "Long Time"       "h:mm:ss AM/PM": "3:04:05 PM"
//   "Medium Time"     "hh:mm AM/PM": "03:04 PM"
//   "Short Time"      "hh:mm" on a 24-hour clock: "15:04"
//
// User-defined number formats, up to three sections "positive;negative;zero":
//   0   a digit, or 0 where the number has none. Integer digits beyond the placeholders are all
//       shown, at the leftmost placeholder.
//   #   a digit, or nothing. A number below 1 with only "#" before the point shows no integer
//       digit: Format(0.5, "#.00") is ".50", and Format(0, "#") is "".
//   .   the decimal point. The number of decimal places is the count of placeholders after the
//       point; a "0" after the point makes every place up to it shown, and "#" places after the
//       last "0" are dropped when they would show trailing zeros. The point itself is always
//       written, so Format(5, "0.##") is "5." as the runtime has it.
//   ,   between integer placeholders: thousands separators ("#,##0" gives "1,234,567"); right
//       before the point or the end of the integer placeholders: divide by 1000 per comma.
//   %   multiply by 100 and write "%".
//   E+ E- e+ e-   scientific notation; E+ writes the exponent's sign always, E- only when negative.
//   "text" and \c are literal; other characters ($ + - ( ) space and letters) stand for themselves.
// Numbers are rounded half away from zero at the last shown place, on the value's 15-digit decimal
// form (so 2.675 gives "2.68" with "0.00"). A single section writes "-" before a negative number;
// a negative section writes no sign of its own. When a negative number shows only zeros, no "-" is
// written (Format(-0.001, "0.00") is "0.00"), so that a zero never reads as a loss. The zero
// section is used for a value that is exactly zero; an empty section falls back to the first.
//
// The default column format "##0.#0" always shows two decimal places:
//   1.5 -> "1.50"   1234.567 -> "1234.57"   -0.5 -> "-0.50"   0 -> "0.00"
// and "#,##0.#0" gives 1234.567 -> "1,234.57"; "0" gives 2.5 -> "3" and -2.5 -> "-3".
//
// Date formats (a format with any of d m y h n s w q and no "0" or "#"), letters case-insensitive:
//   d dd ddd dddd   day 6, 06, Sun, Sunday;  ddddd the short date, dddddd the long date
//   m mm mmm mmmm   month 12, 12, Dec, December; m or mm right after an hour, or before seconds,
//                   is the minute
//   yy yyyy y       year 26, 2026; day of the year
//   h hh  n nn  s ss   hour, minute, second; with AM/PM anywhere the hour is on a 12-hour clock
//   AM/PM am/pm A/P a/p   written in the case given
//   w ww q          weekday (1 Sunday), week of the year (the week of 1 January is week 1,
//                   weeks start on Sunday), quarter
//   c  ttttt        the default date text, the long time
//   / :             the date and time separators
// So "mm/dd/yy" gives "12/06/26" and "M/D/YY" gives "12/6/26".
#pragma once

#include "outside/variant.h"

#include <string>
#include <string_view>

namespace qv {

std::string Format(const Variant& p_vValue, std::string_view p_sFormat = "");

// True for numbers, booleans, Empty and text the runtime reads as a number ("(5)", "-3",
// "1,234", " 7 ", "1E3", "&HFF"); false for Null, dates, objects, arrays, other text ("5-3",
// "", "abc", "nan", "inf") and a Double that is NaN or infinite.
bool IsNumeric(const Variant& p_vValue);

}  // namespace qv
