#include "outside/vb_format.h"

#include "outside/automation_error.h"
#include "outside/numeric_text.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace qv {
namespace {

bool StartsWithIgnoreCase(std::string_view p_sText, size_t p_iAt, std::string_view p_sPrefix) {
    return p_sText.size() - p_iAt >= p_sPrefix.size() &&
           EqualsIgnoreCase(p_sText.substr(p_iAt, p_sPrefix.size()), p_sPrefix);
}

// Splits at ";" outside quotes and escapes.
std::vector<std::string_view> SplitSections(std::string_view p_sFormat) {
    std::vector<std::string_view> sections;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i < p_sFormat.size(); ++i) {
        const char c = p_sFormat[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\\' && !quoted) {
            ++i;
        } else if (c == ';' && !quoted) {
            sections.push_back(p_sFormat.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(p_sFormat.substr(start));
    return sections;
}

// Calls p_visit(character, literal) for every character of a format, with quotes and escapes
// resolved: literal is true for quoted or escaped characters.
template <class Visitor>
void ScanFormat(std::string_view p_sFormat, Visitor p_visit) {
    bool quoted = false;
    for (size_t i = 0; i < p_sFormat.size(); ++i) {
        const char c = p_sFormat[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
            p_visit(c, true);
        } else if (c == '\\' && i + 1 < p_sFormat.size()) {
            p_visit(p_sFormat[++i], true);
        } else {
            p_visit(c, false);
        }
    }
}

bool IsDateFormat(std::string_view p_sFormat) {
    bool hasDigitPlaceholder = false;
    bool hasDateToken = false;
    ScanFormat(p_sFormat, [&](char p_c, bool p_bLiteral) {
        if (p_bLiteral) {
            return;
        }
        hasDigitPlaceholder = hasDigitPlaceholder || p_c == '0' || p_c == '#';
        hasDateToken = hasDateToken || std::string_view("dmyhnswqc").find(ToLowerAscii(p_c)) !=
                                           std::string_view::npos;
    });
    return hasDateToken && !hasDigitPlaceholder;
}

// --- Numbers -------------------------------------------------------------------------------

// A number rounded half away from zero to p_iDecimals places on its 15-digit decimal form:
// the integer digits (no leading zeros, possibly empty) and exactly p_iDecimals fraction digits.
struct RoundedNumber {
    std::string Integer;
    std::string Fraction;
    bool IsZero() const {
        return Integer.find_first_not_of('0') == std::string::npos &&
               Fraction.find_first_not_of('0') == std::string::npos;
    }
};

RoundedNumber RoundDecimal(double p_dMagnitude, int p_iDecimals) {
    std::string scaled;  // round(p_dMagnitude * 10^p_iDecimals) in decimal
    if (p_dMagnitude != 0) {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.14e", p_dMagnitude);
        const std::string text = buffer;
        const size_t ePosition = text.find('e');
        const int exponent = std::stoi(text.substr(ePosition + 1));
        std::string digits = text.substr(0, 1) + text.substr(2, ePosition - 2);
        const int keep = exponent + 1 + p_iDecimals;
        if (keep >= static_cast<int>(digits.size())) {
            scaled = digits + std::string(static_cast<size_t>(keep) - digits.size(), '0');
        } else if (keep >= 0) {
            const bool roundUp = digits[static_cast<size_t>(keep)] >= '5';
            scaled = "0" + digits.substr(0, static_cast<size_t>(keep));
            for (size_t i = scaled.size(); roundUp && i-- > 0;) {
                if (scaled[i] == '9') {
                    scaled[i] = '0';
                    continue;
                }
                ++scaled[i];
                break;
            }
        }
    }
    const size_t firstDigit = scaled.find_first_not_of('0');
    scaled = firstDigit == std::string::npos ? "" : scaled.substr(firstDigit);
    const size_t decimals = static_cast<size_t>(p_iDecimals);
    if (scaled.size() < decimals) {
        scaled.insert(0, decimals - scaled.size(), '0');
    }
    const size_t split = scaled.size() - decimals;
    return RoundedNumber{scaled.substr(0, split), scaled.substr(split)};
}

struct PatternItem {
    enum Kind { Zero, Hash, Literal } Type;
    std::string Text;  // for literals
};

// One section of a user-defined number format, taken apart.
struct NumberPattern {
    std::vector<PatternItem> Integer;
    bool HasPoint = false;
    std::vector<PatternItem> Fraction;
    bool Grouping = false;
    int ThousandsScale = 0;
    int Percents = 0;
    bool HasExponent = false;
    bool ExponentAlwaysSigned = false;
    std::string ExponentLetter;
    std::vector<PatternItem> Exponent;
    std::vector<PatternItem> Suffix;  // literals after the exponent digits
};

int CountPlaceholders(const std::vector<PatternItem>& p_items) {
    return static_cast<int>(std::count_if(
        p_items.begin(), p_items.end(),
        [](const PatternItem& p_item) { return p_item.Type != PatternItem::Literal; }));
}

void AddLiteral(std::vector<PatternItem>& p_items, char p_c) {
    if (!p_items.empty() && p_items.back().Type == PatternItem::Literal) {
        p_items.back().Text += p_c;
        return;
    }
    p_items.push_back({PatternItem::Literal, std::string(1, p_c)});
}

// Where the next placeholder or literal of a pattern goes.
std::vector<PatternItem>& CurrentItems(NumberPattern& p_pattern) {
    if (p_pattern.HasExponent) {
        return CountPlaceholders(p_pattern.Exponent) > 0 ? p_pattern.Suffix : p_pattern.Exponent;
    }
    return p_pattern.HasPoint ? p_pattern.Fraction : p_pattern.Integer;
}

NumberPattern ParseNumberPattern(std::string_view p_sSection) {
    std::vector<std::pair<char, bool>> characters;
    ScanFormat(p_sSection,
               [&](char p_c, bool p_bLiteral) { characters.emplace_back(p_c, p_bLiteral); });
    NumberPattern pattern;
    int pendingCommas = 0;  // commas after the last integer placeholder so far
    for (size_t i = 0; i < characters.size(); ++i) {
        const auto [c, literal] = characters[i];
        const bool inInteger = !pattern.HasPoint && !pattern.HasExponent;
        if (literal) {
            AddLiteral(CurrentItems(pattern), c);
        } else if (c == '0' || c == '#') {
            pattern.Grouping = pattern.Grouping || (inInteger && pendingCommas > 0);
            pendingCommas = inInteger ? 0 : pendingCommas;
            std::vector<PatternItem>& items =
                pattern.HasExponent ? pattern.Exponent : CurrentItems(pattern);
            items.push_back({c == '0' ? PatternItem::Zero : PatternItem::Hash, {}});
        } else if (c == ',') {
            // Commas elsewhere than after integer placeholders mean nothing.
            pendingCommas += inInteger && CountPlaceholders(pattern.Integer) > 0 ? 1 : 0;
        } else if (c == '.' && inInteger) {
            pattern.HasPoint = true;
        } else if ((c == 'e' || c == 'E') && !pattern.HasExponent && i + 1 < characters.size() &&
                   !characters[i + 1].second &&
                   (characters[i + 1].first == '+' || characters[i + 1].first == '-')) {
            pattern.HasExponent = true;
            pattern.ExponentLetter = std::string(1, c);
            pattern.ExponentAlwaysSigned = characters[++i].first == '+';
        } else {
            pattern.Percents += c == '%' ? 1 : 0;
            AddLiteral(CurrentItems(pattern), c);
        }
    }
    pattern.ThousandsScale = pendingCommas;
    return pattern;
}

std::string Reversed(std::string p_sText) {
    std::reverse(p_sText.begin(), p_sText.end());
    return p_sText;
}

// Writes the integer digits into the integer placeholders from the right; the leftmost
// placeholder takes every digit left over.
std::string FillInteger(const std::vector<PatternItem>& p_items, std::string p_sDigits,
                        bool p_bGrouping) {
    int minimumDigits = 0;
    bool seenZero = false;
    for (const PatternItem& item : p_items) {
        seenZero = seenZero || item.Type == PatternItem::Zero;
        if (seenZero && item.Type != PatternItem::Literal) {
            ++minimumDigits;
        }
    }
    if (static_cast<int>(p_sDigits.size()) < minimumDigits) {
        p_sDigits.insert(0, static_cast<size_t>(minimumDigits) - p_sDigits.size(), '0');
    }
    int placeholdersLeft = CountPlaceholders(p_items);
    std::string reversed;
    size_t written = 0;
    size_t next = p_sDigits.size();  // digits [0, next) are still to be written
    auto writeDigit = [&]() {
        if (p_bGrouping && written > 0 && written % 3 == 0) {
            reversed += ',';
        }
        reversed += p_sDigits[--next];
        ++written;
    };
    for (auto item = p_items.rbegin(); item != p_items.rend(); ++item) {
        if (item->Type == PatternItem::Literal) {
            reversed += Reversed(item->Text);
            continue;
        }
        --placeholdersLeft;
        if (placeholdersLeft == 0) {
            while (next > 0) {
                writeDigit();
            }
        } else if (next > 0) {
            writeDigit();
        }
    }
    return Reversed(reversed);
}

std::string FillFraction(const std::vector<PatternItem>& p_items, std::string p_sDigits) {
    int minimumDigits = 0;
    int position = 0;
    for (const PatternItem& item : p_items) {
        if (item.Type != PatternItem::Literal) {
            ++position;
        }
        if (item.Type == PatternItem::Zero) {
            minimumDigits = position;
        }
    }
    while (static_cast<int>(p_sDigits.size()) > minimumDigits && p_sDigits.back() == '0') {
        p_sDigits.pop_back();
    }
    std::string text;
    size_t next = 0;
    for (const PatternItem& item : p_items) {
        if (item.Type == PatternItem::Literal) {
            text += item.Text;
        } else if (next < p_sDigits.size()) {
            text += p_sDigits[next++];
        }
    }
    return text;
}

std::string FillExponent(const NumberPattern& p_pattern, int p_iExponent) {
    std::string digits = std::to_string(std::abs(p_iExponent));
    std::string text = p_pattern.ExponentLetter;
    if (p_iExponent < 0) {
        text += '-';
    } else if (p_pattern.ExponentAlwaysSigned) {
        text += '+';
    }
    return text + FillInteger(p_pattern.Exponent, digits == "0" ? "" : digits, false);
}

// p_dValue divided by 10^p_iExponent in two steps, so that neither power leaves the range of a
// Double for the smallest and largest values.
double DividePowerOfTen(double p_dValue, int p_iExponent) {
    const int half = p_iExponent / 2;
    return p_dValue / std::pow(10.0, half) / std::pow(10.0, p_iExponent - half);
}

// The exponent that leaves p_iIntegerPlaces integer digits in the mantissa after rounding.
int ScientificExponent(double p_dValue, int p_iIntegerPlaces, int p_iDecimals) {
    int exponent = static_cast<int>(std::floor(std::log10(p_dValue))) - (p_iIntegerPlaces - 1);
    const RoundedNumber probe = RoundDecimal(DividePowerOfTen(p_dValue, exponent), p_iDecimals);
    if (static_cast<int>(probe.Integer.size()) > p_iIntegerPlaces) {
        ++exponent;
    }
    return exponent;
}

// The magnitude written with one section's pattern; p_bShowsDigits tells whether any non-zero
// digit was written.
std::string FormatMagnitude(double p_dMagnitude, const NumberPattern& p_pattern,
                            bool& p_bShowsDigits) {
    double value = p_dMagnitude * std::pow(100.0, p_pattern.Percents) /
                   std::pow(1000.0, p_pattern.ThousandsScale);
    if (!std::isfinite(value)) {
        RaiseRuntimeError(errors::kOverflow);
    }
    const int decimals = CountPlaceholders(p_pattern.Fraction);
    int exponent = 0;
    if (p_pattern.HasExponent && value != 0) {
        exponent =
            ScientificExponent(value, std::max(1, CountPlaceholders(p_pattern.Integer)), decimals);
        value = DividePowerOfTen(value, exponent);
    }
    const RoundedNumber rounded = RoundDecimal(value, decimals);
    p_bShowsDigits = !rounded.IsZero();
    std::string text = FillInteger(p_pattern.Integer, rounded.Integer, p_pattern.Grouping);
    if (p_pattern.HasPoint) {
        text += "." + FillFraction(p_pattern.Fraction, rounded.Fraction);
    }
    if (p_pattern.HasExponent) {
        text += FillExponent(p_pattern, exponent);
    }
    for (const PatternItem& item : p_pattern.Suffix) {
        text += item.Text;
    }
    return text;
}

std::string FormatNumber(double p_dValue, std::string_view p_sFormat) {
    const std::vector<std::string_view> sections = SplitSections(p_sFormat);
    auto section = [&](size_t p_iIndex) {
        return p_iIndex < sections.size() && !sections[p_iIndex].empty() ? sections[p_iIndex]
                                                                         : sections[0];
    };
    bool showsDigits = false;
    if (p_dValue == 0 && sections.size() >= 3) {
        return FormatMagnitude(0, ParseNumberPattern(section(2)), showsDigits);
    }
    if (p_dValue < 0 && sections.size() >= 2 && !sections[1].empty()) {
        return FormatMagnitude(-p_dValue, ParseNumberPattern(sections[1]), showsDigits);
    }
    const std::string text =
        FormatMagnitude(std::fabs(p_dValue), ParseNumberPattern(sections[0]), showsDigits);
    return p_dValue < 0 && showsDigits ? "-" + text : text;
}

// --- Dates ---------------------------------------------------------------------------------

constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

std::string TwoDigits(int p_iValue) {
    return (p_iValue < 10 ? "0" : "") + std::to_string(p_iValue);
}

int DayOfYear(const DateParts& p_parts) {
    return static_cast<int>(DateSerial(p_parts.Year, p_parts.Month, p_parts.Day) -
                            DateSerial(p_parts.Year, 1, 1)) +
           1;
}

// Weeks start on Sunday and the week holding 1 January is week 1.
int WeekOfYear(const DateParts& p_parts) {
    const int firstWeekday = Weekday(DateSerial(p_parts.Year, 1, 1));
    return (DayOfYear(p_parts) + firstWeekday - 2) / 7 + 1;
}

size_t RunLength(std::string_view p_sFormat, size_t p_iAt) {
    size_t end = p_iAt;
    while (end < p_sFormat.size() &&
           ToLowerAscii(p_sFormat[end]) == ToLowerAscii(p_sFormat[p_iAt])) {
        ++end;
    }
    return end - p_iAt;
}

// Whether the next date token after p_iAt (past separators and spaces) is a seconds token.
bool SecondsFollow(std::string_view p_sFormat, size_t p_iAt) {
    while (p_iAt < p_sFormat.size() &&
           !std::isalpha(static_cast<unsigned char>(p_sFormat[p_iAt])) && p_sFormat[p_iAt] != '"') {
        ++p_iAt;
    }
    return p_iAt < p_sFormat.size() && ToLowerAscii(p_sFormat[p_iAt]) == 's';
}

bool HasClockDesignator(std::string_view p_sFormat) {
    bool quoted = false;
    for (size_t i = 0; i < p_sFormat.size(); ++i) {
        if (p_sFormat[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && (StartsWithIgnoreCase(p_sFormat, i, "am/pm") ||
                               StartsWithIgnoreCase(p_sFormat, i, "a/p") ||
                               StartsWithIgnoreCase(p_sFormat, i, "ampm"))) {
            return true;
        }
    }
    return false;
}

std::string LongTimeText(const DateParts& p_parts) {
    const int hour = p_parts.Hour % 12 == 0 ? 12 : p_parts.Hour % 12;
    return std::to_string(hour) + ":" + TwoDigits(p_parts.Minute) + ":" +
           TwoDigits(p_parts.Second) + (p_parts.Hour < 12 ? " AM" : " PM");
}

std::string FormatDate(double p_dSerial, std::string_view p_sFormat);

// Writes one date format into text, token by token.
class DateWriter {
  public:
    DateWriter(double p_dSerial, std::string_view p_sFormat)
        : m_dSerial(p_dSerial),
          m_sFormat(p_sFormat),
          m_parts(SplitDate(p_dSerial)),
          m_bTwelveHour(HasClockDesignator(p_sFormat)) {}

    std::string Write() {
        size_t i = 0;
        while (i < m_sFormat.size()) {
            i = WriteToken(i);
        }
        return m_sText;
    }

  private:
    // Writes the token at p_iAt and returns the position after it.
    size_t WriteToken(size_t p_iAt) {
        const char c = m_sFormat[p_iAt];
        if (c == '"') {
            const size_t close = m_sFormat.find('"', p_iAt + 1);
            const size_t end = close == std::string_view::npos ? m_sFormat.size() : close;
            m_sText += m_sFormat.substr(p_iAt + 1, end - p_iAt - 1);
            return end + 1;
        }
        if (c == '\\' && p_iAt + 1 < m_sFormat.size()) {
            m_sText += m_sFormat[p_iAt + 1];
            return p_iAt + 2;
        }
        if (size_t used = WriteDesignator(p_iAt); used > 0) {
            return p_iAt + used;
        }
        const size_t run = RunLength(m_sFormat, p_iAt);
        const char token = ToLowerAscii(c);
        const bool afterHour = m_bAfterHour;
        m_bAfterHour = token == 'h' || (afterHour && !std::isalpha(static_cast<unsigned char>(c)));
        switch (token) {
            case 'd':
                return p_iAt + WriteDay(std::min<size_t>(run, 6));
            case 'm':
                return p_iAt + WriteMonthOrMinute(p_iAt, std::min<size_t>(run, 4), afterHour);
            case 'y':
                return p_iAt + WriteYear(run >= 4 ? 4 : (run >= 2 ? 2 : 1));
            case 'h':
                return p_iAt + WriteNumber(ClockHour(), std::min<size_t>(run, 2));
            case 'n':
                return p_iAt + WriteNumber(m_parts.Minute, std::min<size_t>(run, 2));
            case 's':
                return p_iAt + WriteNumber(m_parts.Second, std::min<size_t>(run, 2));
            case 'w':
                return p_iAt + WriteWeek(std::min<size_t>(run, 2));
            case 'q':
                return p_iAt + WriteNumber((m_parts.Month - 1) / 3 + 1, 1);
            case 'c':
                m_sText += DefaultDateText(m_dSerial);
                return p_iAt + 1;
            default:
                m_sText += c;
                return p_iAt + 1;
        }
    }

    // AM/PM, am/pm, A/P, a/p, AMPM and ttttt; returns how many characters it used.
    size_t WriteDesignator(size_t p_iAt) {
        const bool morning = m_parts.Hour < 12;
        const bool upper = m_sFormat[p_iAt] == 'A';
        if (StartsWithIgnoreCase(m_sFormat, p_iAt, "am/pm")) {
            m_sText += morning ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
            return 5;
        }
        if (StartsWithIgnoreCase(m_sFormat, p_iAt, "ampm")) {
            m_sText += morning ? "AM" : "PM";
            return 4;
        }
        if (StartsWithIgnoreCase(m_sFormat, p_iAt, "a/p")) {
            m_sText += morning ? (upper ? "A" : "a") : (upper ? "P" : "p");
            return 3;
        }
        if (StartsWithIgnoreCase(m_sFormat, p_iAt, "ttttt")) {
            m_sText += LongTimeText(m_parts);
            m_bAfterHour = false;
            return 5;
        }
        return 0;
    }

    size_t WriteDay(size_t p_iLength) {
        const std::string_view name = kDayNames[static_cast<size_t>(Weekday(m_dSerial) - 1)];
        switch (p_iLength) {
            case 1:
                m_sText += std::to_string(m_parts.Day);
                break;
            case 2:
                m_sText += TwoDigits(m_parts.Day);
                break;
            case 3:
                m_sText += name.substr(0, 3);
                break;
            case 4:
                m_sText += name;
                break;
            case 5:
                m_sText += FormatDate(m_dSerial, "m/d/yyyy");
                break;
            default:
                m_sText += FormatDate(m_dSerial, "dddd, mmmm d, yyyy");
        }
        return p_iLength;
    }

    // "m" and "mm" are the minute right after an hour or right before seconds.
    size_t WriteMonthOrMinute(size_t p_iAt, size_t p_iLength, bool p_bAfterHour) {
        if (p_iLength <= 2 && (p_bAfterHour || SecondsFollow(m_sFormat, p_iAt + p_iLength))) {
            return WriteNumber(m_parts.Minute, p_iLength);
        }
        if (p_iLength <= 2) {
            return WriteNumber(m_parts.Month, p_iLength);
        }
        const std::string_view name = kMonthNames[static_cast<size_t>(m_parts.Month - 1)];
        m_sText += p_iLength == 3 ? name.substr(0, 3) : name;
        return p_iLength;
    }

    size_t WriteYear(size_t p_iLength) {
        if (p_iLength == 4) {
            m_sText += std::to_string(m_parts.Year);
        } else if (p_iLength == 2) {
            m_sText += TwoDigits(m_parts.Year % 100);
        } else {
            m_sText += std::to_string(DayOfYear(m_parts));
        }
        return p_iLength;
    }

    size_t WriteWeek(size_t p_iLength) {
        m_sText += std::to_string(p_iLength == 1 ? Weekday(m_dSerial) : WeekOfYear(m_parts));
        return p_iLength;
    }

    size_t WriteNumber(int p_iValue, size_t p_iLength) {
        m_sText += p_iLength == 1 ? std::to_string(p_iValue) : TwoDigits(p_iValue);
        return p_iLength;
    }

    int ClockHour() const {
        if (!m_bTwelveHour) {
            return m_parts.Hour;
        }
        return m_parts.Hour % 12 == 0 ? 12 : m_parts.Hour % 12;
    }

    double m_dSerial;
    std::string_view m_sFormat;
    DateParts m_parts;
    bool m_bTwelveHour;
    bool m_bAfterHour = false;
    std::string m_sText;
};

std::string FormatDate(double p_dSerial, std::string_view p_sFormat) {
    return DateWriter(p_dSerial, p_sFormat).Write();
}

// --- Named formats -------------------------------------------------------------------------

enum class NamedKind { Number, Date, Words };

struct NamedFormat {
    std::string_view Name;
    NamedKind Kind;
    std::string_view Pattern;  // the format it stands for, or "true word/false word"
};

constexpr std::array<NamedFormat, 16> kNamedFormats = {{
    {"General Number", NamedKind::Number, ""},
    {"Currency", NamedKind::Number, "$#,##0.00;($#,##0.00)"},
    {"Fixed", NamedKind::Number, "0.00"},
    {"Standard", NamedKind::Number, "#,##0.00"},
    {"Percent", NamedKind::Number, "0.00%"},
    {"Scientific", NamedKind::Number, "0.00E+00"},
    {"Yes/No", NamedKind::Words, "Yes/No"},
    {"True/False", NamedKind::Words, "True/False"},
    {"On/Off", NamedKind::Words, "On/Off"},
    {"General Date", NamedKind::Date, "c"},
    {"Long Date", NamedKind::Date, "dddd, mmmm d, yyyy"},
    {"Medium Date", NamedKind::Date, "dd-mmm-yy"},
    {"Short Date", NamedKind::Date, "m/d/yyyy"},
    {"Long Time", NamedKind::Date, "h:mm:ss AM/PM"},
    {"Medium Time", NamedKind::Date, "hh:mm AM/PM"},
    {"Short Time", NamedKind::Date, "hh:nn"},
}};

const NamedFormat* FindNamedFormat(std::string_view p_sFormat) {
    for (const NamedFormat& named : kNamedFormats) {
        if (EqualsIgnoreCase(named.Name, p_sFormat)) {
            return &named;
        }
    }
    return nullptr;
}

// The value as a number for number formats, or nothing for text that is not numeric.
std::optional<double> NumberOf(const Variant& p_vValue) {
    if (p_vValue.IsString()) {
        return ParseNumericText(p_vValue.ToString());
    }
    return p_vValue.ToDouble();
}

// The value as a day serial for date formats, or nothing for text that is neither a date nor a
// number.
std::optional<double> SerialOf(const Variant& p_vValue) {
    if (p_vValue.IsString()) {
        double serial = 0;
        if (ParseDateText(p_vValue.ToString(), serial)) {
            return serial;
        }
    }
    std::optional<double> number = NumberOf(p_vValue);
    if (number && !IsValidDateSerial(*number)) {
        RaiseRuntimeError(errors::kOverflow);
    }
    return number;
}

std::string FormatWords(double p_dValue, std::string_view p_sWords) {
    const size_t slash = p_sWords.find('/');
    return std::string(p_dValue != 0 ? p_sWords.substr(0, slash) : p_sWords.substr(slash + 1));
}

}  // namespace

std::string Format(const Variant& p_vValue, std::string_view p_sFormat) {
    if (p_vValue.IsNull() || p_vValue.IsEmpty()) {
        return "";
    }
    if (p_vValue.IsArray() || p_vValue.IsObject() || p_vValue.IsMissing()) {
        RaiseRuntimeError(errors::kTypeMismatch);
    }
    if (p_sFormat.empty()) {
        return p_vValue.ToString();
    }
    const NamedFormat* named = FindNamedFormat(p_sFormat);
    const bool dateFormat =
        named != nullptr ? named->Kind == NamedKind::Date : IsDateFormat(p_sFormat);
    if (dateFormat) {
        std::optional<double> serial = SerialOf(p_vValue);
        if (!serial) {
            return p_vValue.ToString();
        }
        return FormatDate(*serial, named != nullptr ? named->Pattern : p_sFormat);
    }
    std::optional<double> number = NumberOf(p_vValue);
    if (!number) {
        return p_vValue.ToString();
    }
    if (!std::isfinite(*number)) {
        RaiseRuntimeError(errors::kOverflow);
    }
    if (named == nullptr) {
        return FormatNumber(*number, p_sFormat);
    }
    if (named->Kind == NamedKind::Words) {
        return FormatWords(*number, named->Pattern);
    }
    if (named->Pattern.empty()) {
        return Variant(*number).ToString();
    }
    return FormatNumber(*number, named->Pattern);
}

bool IsNumeric(const Variant& p_vValue) {
    if (p_vValue.IsNumber()) {
        return std::isfinite(p_vValue.ToDouble());
    }
    if (p_vValue.IsEmpty() || p_vValue.IsBool()) {
        return true;
    }
    if (p_vValue.IsString()) {
        return ParseNumericText(p_vValue.ToString()).has_value();
    }
    return false;
}

}  // namespace qv
