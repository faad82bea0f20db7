#include "outside/vb_format.h"

#include "outside/automation_error.h"
#include "outside/numeric_text.h"
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

char Lower(char p_c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(p_c)));
}

bool EqualsIgnoreCase(std::string_view p_sLeft, std::string_view p_sRight) {
    return std::equal(
        p_sLeft.begin(), p_sLeft.end(), p_sRight.begin(), p_sRight.end(),
        [](char p_cLeft, char p_cRight) { return Lower(p_cLeft) == Lower(p_cRight); });
}

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
        hasDateToken = hasDateToken ||
                       std::string_view("dmyhnswqc").find(Lower(p_c)) != std::string_view::npos;
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

NumberPattern ParseNumberPattern(std::string_view p_sSection) {
    NumberPattern pattern;
    std::vector<std::pair<char, bool>> characters;
    ScanFormat(p_sSection,
               [&](char p_c, bool p_bLiteral) { characters.emplace_back(p_c, p_bLiteral); });
    int pendingCommas = 0;  // commas after the last integer placeholder so far
    for (size_t i = 0; i < characters.size(); ++i) {
        const auto [c, literal] = characters[i];
        std::vector<PatternItem>& items = pattern.HasExponent ? pattern.Exponent
                                          : pattern.HasPoint  ? pattern.Fraction
                                                              : pattern.Integer;
        if (literal) {
            AddLiteral(pattern.HasExponent && CountPlaceholders(pattern.Exponent) > 0
                           ? pattern.Suffix
                           : items,
                       c);
            continue;
        }
        if (c == '0' || c == '#') {
            if (!pattern.HasPoint && !pattern.HasExponent && pendingCommas > 0) {
                pattern.Grouping = true;
                pendingCommas = 0;
            }
            items.push_back({c == '0' ? PatternItem::Zero : PatternItem::Hash, {}});
            continue;
        }
        if (c == ',' && !pattern.HasPoint && !pattern.HasExponent) {
            if (CountPlaceholders(pattern.Integer) > 0) {
                ++pendingCommas;
            }
            continue;
        }
        if (c == '.' && !pattern.HasPoint && !pattern.HasExponent) {
            pattern.HasPoint = true;
            continue;
        }
        if ((c == 'e' || c == 'E') && !pattern.HasExponent && i + 1 < characters.size() &&
            !characters[i + 1].second &&
            (characters[i + 1].first == '+' || characters[i + 1].first == '-')) {
            pattern.HasExponent = true;
            pattern.ExponentLetter = std::string(1, c);
            pattern.ExponentAlwaysSigned = characters[i + 1].first == '+';
            ++i;
            continue;
        }
        if (c == '%') {
            ++pattern.Percents;
        }
        if (c == ',') {
            continue;
        }
        AddLiteral(
            pattern.HasExponent && CountPlaceholders(pattern.Exponent) > 0 ? pattern.Suffix : items,
            c);
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

// The magnitude written with one section's pattern; p_bShowsDigits tells whether any non-zero
// digit was written.
std::string FormatMagnitude(double p_dMagnitude, const NumberPattern& p_pattern,
                            bool& p_bShowsDigits) {
    double value = p_dMagnitude * std::pow(100.0, p_pattern.Percents) /
                   std::pow(1000.0, p_pattern.ThousandsScale);
    const int decimals = CountPlaceholders(p_pattern.Fraction);
    int exponent = 0;
    if (p_pattern.HasExponent && value != 0) {
        const int integerPlaces = std::max(1, CountPlaceholders(p_pattern.Integer));
        exponent = static_cast<int>(std::floor(std::log10(value))) - (integerPlaces - 1);
        RoundedNumber probe = RoundDecimal(value / std::pow(10.0, exponent), decimals);
        if (static_cast<int>(probe.Integer.size()) > integerPlaces) {
            ++exponent;
        }
        value /= std::pow(10.0, exponent);
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
    while (end < p_sFormat.size() && Lower(p_sFormat[end]) == Lower(p_sFormat[p_iAt])) {
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
    return p_iAt < p_sFormat.size() && Lower(p_sFormat[p_iAt]) == 's';
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

std::string FormatDate(double p_dSerial, std::string_view p_sFormat);

std::string LongTimeText(const DateParts& p_parts) {
    const int hour = p_parts.Hour % 12 == 0 ? 12 : p_parts.Hour % 12;
    return std::to_string(hour) + ":" + TwoDigits(p_parts.Minute) + ":" +
           TwoDigits(p_parts.Second) + (p_parts.Hour < 12 ? " AM" : " PM");
}

std::string FormatDate(double p_dSerial, std::string_view p_sFormat) {
    const DateParts parts = SplitDate(p_dSerial);
    const bool twelveHour = HasClockDesignator(p_sFormat);
    const int clockHour = twelveHour ? (parts.Hour % 12 == 0 ? 12 : parts.Hour % 12) : parts.Hour;
    const bool morning = parts.Hour < 12;
    std::string text;
    bool afterHour = false;
    size_t i = 0;
    while (i < p_sFormat.size()) {
        const char c = p_sFormat[i];
        const char lower = Lower(c);
        if (c == '"') {
            const size_t close = p_sFormat.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? p_sFormat.size() : close;
            text += p_sFormat.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (c == '\\' && i + 1 < p_sFormat.size()) {
            text += p_sFormat[i + 1];
            i += 2;
            continue;
        }
        if (StartsWithIgnoreCase(p_sFormat, i, "am/pm")) {
            const bool upper = c == 'A';
            text += morning ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
            i += 5;
            continue;
        }
        if (StartsWithIgnoreCase(p_sFormat, i, "ampm")) {
            text += morning ? "AM" : "PM";
            i += 4;
            continue;
        }
        if (StartsWithIgnoreCase(p_sFormat, i, "a/p")) {
            text += morning ? (c == 'A' ? "A" : "a") : (c == 'A' ? "P" : "p");
            i += 3;
            continue;
        }
        if (StartsWithIgnoreCase(p_sFormat, i, "ttttt")) {
            text += LongTimeText(parts);
            i += 5;
            afterHour = false;
            continue;
        }
        const size_t run = RunLength(p_sFormat, i);
        switch (lower) {
            case 'd': {
                const size_t used = std::min<size_t>(run, 6);
                if (used == 1) {
                    text += std::to_string(parts.Day);
                } else if (used == 2) {
                    text += TwoDigits(parts.Day);
                } else if (used == 3) {
                    text += kDayNames[static_cast<size_t>(Weekday(p_dSerial) - 1)].substr(0, 3);
                } else if (used == 4) {
                    text += kDayNames[static_cast<size_t>(Weekday(p_dSerial) - 1)];
                } else if (used == 5) {
                    text += FormatDate(p_dSerial, "m/d/yyyy");
                } else {
                    text += FormatDate(p_dSerial, "dddd, mmmm d, yyyy");
                }
                i += used;
                afterHour = false;
                continue;
            }
            case 'm': {
                const size_t used = std::min<size_t>(run, 4);
                if (used <= 2 && (afterHour || SecondsFollow(p_sFormat, i + used))) {
                    text += used == 1 ? std::to_string(parts.Minute) : TwoDigits(parts.Minute);
                } else if (used == 1) {
                    text += std::to_string(parts.Month);
                } else if (used == 2) {
                    text += TwoDigits(parts.Month);
                } else if (used == 3) {
                    text += kMonthNames[static_cast<size_t>(parts.Month - 1)].substr(0, 3);
                } else {
                    text += kMonthNames[static_cast<size_t>(parts.Month - 1)];
                }
                i += used;
                afterHour = false;
                continue;
            }
            case 'y': {
                const size_t used = run >= 4 ? 4 : (run >= 2 ? 2 : 1);
                if (used == 4) {
                    text += std::to_string(parts.Year);
                } else if (used == 2) {
                    text += TwoDigits(parts.Year % 100);
                } else {
                    text += std::to_string(DayOfYear(parts));
                }
                i += used;
                afterHour = false;
                continue;
            }
            case 'h':
            case 'n':
            case 's': {
                const size_t used = std::min<size_t>(run, 2);
                const int value =
                    lower == 'h' ? clockHour : (lower == 'n' ? parts.Minute : parts.Second);
                text += used == 1 ? std::to_string(value) : TwoDigits(value);
                i += used;
                afterHour = lower == 'h';
                continue;
            }
            case 'w': {
                const size_t used = std::min<size_t>(run, 2);
                text += std::to_string(used == 1 ? Weekday(p_dSerial) : WeekOfYear(parts));
                i += used;
                afterHour = false;
                continue;
            }
            case 'q':
                text += std::to_string((parts.Month - 1) / 3 + 1);
                ++i;
                afterHour = false;
                continue;
            case 'c':
                text += DefaultDateText(p_dSerial);
                ++i;
                afterHour = false;
                continue;
            default:
                text += c;
                ++i;
        }
    }
    return text;
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
    if (p_vValue.IsEmpty() || p_vValue.IsNumber() || p_vValue.IsBool()) {
        return true;
    }
    if (p_vValue.IsString()) {
        return ParseNumericText(p_vValue.ToString()).has_value();
    }
    return false;
}

}  // namespace qv
