#include "outside/vb_date.h"

#include "outside/automation_error.h"

#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace qv {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
// days_from_civil(1899, 12, 30): the zero date counted from 1970-01-01.
constexpr int64_t kZeroDateFromEpoch = -25569;

// Days since 1970-01-01 in the proleptic Gregorian calendar (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t p_lYear, int p_iMonth, int p_iDay) {
    p_lYear -= p_iMonth <= 2 ? 1 : 0;
    const int64_t era = (p_lYear >= 0 ? p_lYear : p_lYear - 399) / 400;
    const int64_t yearOfEra = p_lYear - era * 400;
    const int64_t dayOfYear = (153 * (p_iMonth + (p_iMonth > 2 ? -3 : 9)) + 2) / 5 + p_iDay - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t p_lDays, int& p_iYear, int& p_iMonth, int& p_iDay) {
    p_lDays += 719468;
    const int64_t era = (p_lDays >= 0 ? p_lDays : p_lDays - 146096) / 146097;
    const int64_t dayOfEra = p_lDays - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    p_iDay = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    p_iMonth = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    p_iYear = static_cast<int>(yearOfEra + era * 400 + (p_iMonth <= 2 ? 1 : 0));
}

bool IsLeapYear(int p_iYear) {
    return (p_iYear % 4 == 0 && p_iYear % 100 != 0) || p_iYear % 400 == 0;
}

int DaysInMonth(int p_iYear, int p_iMonth) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return p_iMonth == 2 && IsLeapYear(p_iYear) ? 29 : kDays[static_cast<size_t>(p_iMonth - 1)];
}

int ExpandYear(int p_iYear) {
    if (p_iYear >= 0 && p_iYear < 30) {
        return p_iYear + 2000;
    }
    if (p_iYear >= 30 && p_iYear < 100) {
        return p_iYear + 1900;
    }
    return p_iYear;
}

int64_t FloorDiv(int64_t p_lValue, int64_t p_lDivisor) {
    const int64_t quotient = p_lValue / p_lDivisor;
    return (p_lValue % p_lDivisor != 0 && (p_lValue < 0) != (p_lDivisor < 0)) ? quotient - 1
                                                                              : quotient;
}

// A serial on a plain number line (days plus forward fraction), which arithmetic can use.
double LinearFromSerial(double p_dSerial) {
    const double day = std::trunc(p_dSerial);
    return day + std::fabs(p_dSerial - day);
}

double SerialFromLinear(double p_dLinear) {
    if (p_dLinear >= 0) {
        return p_dLinear;
    }
    const double day = std::floor(p_dLinear);
    const double time = p_dLinear - day;
    return time == 0 ? day : day - time;
}

// Whole seconds since the zero date on the linear scale, rounded as the runtime rounds for display.
int64_t LinearSeconds(double p_dSerial) {
    return static_cast<int64_t>(std::llround(LinearFromSerial(p_dSerial) * kSecondsPerDay));
}

bool ReadDigits(std::string_view p_sText, size_t p_lFrom, size_t p_lCount, int& p_iValue) {
    p_iValue = 0;
    for (size_t i = p_lFrom; i < p_lFrom + p_lCount; ++i) {
        if (p_sText[i] < '0' || p_sText[i] > '9') {
            return false;
        }
        p_iValue = p_iValue * 10 + (p_sText[i] - '0');
    }
    return true;
}

bool ParseIsoDay(std::string_view p_sText, int32_t& p_lSerial) {
    if (p_sText.size() != 10 || p_sText[4] != '-' || p_sText[7] != '-') {
        return false;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    if (!ReadDigits(p_sText, 0, 4, year) || !ReadDigits(p_sText, 5, 2, month) ||
        !ReadDigits(p_sText, 8, 2, day)) {
        return false;
    }
    if (year < 100 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        return false;
    }
    p_lSerial = DaySerialFromCivil(year, month, day);
    return true;
}

std::string TimeText(const DateParts& p_parts) {
    const int hour12 = p_parts.Hour % 12 == 0 ? 12 : p_parts.Hour % 12;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour12, p_parts.Minute, p_parts.Second,
                  p_parts.Hour < 12 ? "AM" : "PM");
    return buffer;
}

std::string DayText(const DateParts& p_parts) {
    return std::to_string(p_parts.Month) + "/" + std::to_string(p_parts.Day) + "/" +
           std::to_string(p_parts.Year);
}

// --- Parsing -------------------------------------------------------------------------------

struct Token {
    bool Number = false;
    std::string Text;  // digits, or a lower-case word
};

std::vector<Token> Tokenize(std::string_view p_sText, bool& p_bBadCharacter) {
    std::vector<Token> tokens;
    p_bBadCharacter = false;
    size_t i = 0;
    while (i < p_sText.size()) {
        const unsigned char c = static_cast<unsigned char>(p_sText[i]);
        if (std::isdigit(c) || std::isalpha(c)) {
            const bool number = std::isdigit(c) != 0;
            Token token{number, {}};
            while (i < p_sText.size()) {
                const unsigned char next = static_cast<unsigned char>(p_sText[i]);
                if ((number && !std::isdigit(next)) || (!number && !std::isalpha(next))) {
                    break;
                }
                token.Text += static_cast<char>(std::tolower(next));
                ++i;
            }
            tokens.push_back(std::move(token));
            continue;
        }
        if (c != ' ' && c != '\t' && c != ',' && c != '/' && c != '-' && c != '.') {
            p_bBadCharacter = true;
        }
        ++i;
    }
    return tokens;
}

std::optional<int> MonthFromWord(std::string_view p_sWord) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "january", "february", "march",     "april",   "may",      "june",
        "july",    "august",   "september", "october", "november", "december"};
    if (p_sWord.size() < 3) {
        return std::nullopt;
    }
    for (size_t i = 0; i < kMonths.size(); ++i) {
        if (kMonths[i].substr(0, p_sWord.size()) == p_sWord) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

bool IsWeekdayWord(std::string_view p_sWord) {
    static constexpr std::array<std::string_view, 7> kDays = {
        "sunday", "monday", "tuesday", "wednesday", "thursday", "friday", "saturday"};
    if (p_sWord.size() < 3) {
        return false;
    }
    for (std::string_view day : kDays) {
        if (day.substr(0, p_sWord.size()) == p_sWord) {
            return true;
        }
    }
    return false;
}

std::optional<int> ToSmallNumber(const std::string& p_sDigits) {
    if (p_sDigits.empty() || p_sDigits.size() > 4) {
        return std::nullopt;
    }
    return std::stoi(p_sDigits);
}

std::optional<int> YearFromToken(const Token& p_token) {
    std::optional<int> year = ToSmallNumber(p_token.Text);
    if (!year) {
        return std::nullopt;
    }
    if (p_token.Text.size() <= 2) {
        return ExpandYear(*year);
    }
    return *year;
}

std::optional<double> DayFromFields(int p_iYear, int p_iMonth, int p_iDay) {
    if (p_iYear < 100 || p_iYear > 9999 || p_iMonth < 1 || p_iMonth > 12 || p_iDay < 1 ||
        p_iDay > DaysInMonth(p_iYear, p_iMonth)) {
        return std::nullopt;
    }
    return static_cast<double>(DaysFromCivil(p_iYear, p_iMonth, p_iDay) - kZeroDateFromEpoch);
}

std::optional<double> ParseDayPart(std::string_view p_sText) {
    bool badCharacter = false;
    std::vector<Token> tokens = Tokenize(p_sText, badCharacter);
    if (badCharacter) {
        return std::nullopt;
    }
    if (!tokens.empty() && !tokens.front().Number && IsWeekdayWord(tokens.front().Text)) {
        tokens.erase(tokens.begin());
    }
    if (tokens.size() != 3) {
        return std::nullopt;
    }
    std::vector<const Token*> numbers;
    std::optional<int> namedMonth;
    for (const Token& token : tokens) {
        if (token.Number) {
            numbers.push_back(&token);
            continue;
        }
        if (namedMonth) {
            return std::nullopt;
        }
        namedMonth = MonthFromWord(token.Text);
        if (!namedMonth) {
            return std::nullopt;
        }
    }
    if (namedMonth) {
        if (numbers.size() != 2) {
            return std::nullopt;
        }
        const bool yearFirst = numbers[0]->Text.size() > 2;
        const Token& dayToken = yearFirst ? *numbers[1] : *numbers[0];
        const Token& yearToken = yearFirst ? *numbers[0] : *numbers[1];
        std::optional<int> day = ToSmallNumber(dayToken.Text);
        std::optional<int> year = YearFromToken(yearToken);
        if (!day || !year || dayToken.Text.size() > 2) {
            return std::nullopt;
        }
        return DayFromFields(*year, *namedMonth, *day);
    }
    if (tokens[0].Text.size() > 2) {
        std::optional<int> year = YearFromToken(tokens[0]);
        std::optional<int> month = ToSmallNumber(tokens[1].Text);
        std::optional<int> day = ToSmallNumber(tokens[2].Text);
        if (!year || !month || !day) {
            return std::nullopt;
        }
        return DayFromFields(*year, *month, *day);
    }
    std::optional<int> month = ToSmallNumber(tokens[0].Text);
    std::optional<int> day = ToSmallNumber(tokens[1].Text);
    std::optional<int> year = YearFromToken(tokens[2]);
    if (!year || !month || !day || tokens[1].Text.size() > 2) {
        return std::nullopt;
    }
    return DayFromFields(*year, *month, *day);
}

// "15:04", "15:04:05", "3:04 PM", "3:04:05pm", "3 PM".
std::optional<double> ParseTimePart(std::string_view p_sText) {
    bool badCharacter = false;
    std::string colonFree;
    size_t colons = 0;
    for (char c : p_sText) {
        if (c == ':') {
            ++colons;
            colonFree += ' ';
        } else {
            colonFree += c;
        }
    }
    std::vector<Token> tokens = Tokenize(colonFree, badCharacter);
    if (badCharacter || tokens.empty()) {
        return std::nullopt;
    }
    int pm = -1;  // -1 no designator, 0 AM, 1 PM
    if (!tokens.back().Number) {
        const std::string& word = tokens.back().Text;
        if (word == "am" || word == "a") {
            pm = 0;
        } else if (word == "pm" || word == "p") {
            pm = 1;
        } else {
            return std::nullopt;
        }
        tokens.pop_back();
    }
    if (tokens.empty() || tokens.size() > 3 || tokens.size() != colons + 1 ||
        (colons == 0 && pm < 0)) {
        return std::nullopt;
    }
    std::array<int, 3> fields = {0, 0, 0};
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].Number || tokens[i].Text.size() > 2) {
            return std::nullopt;
        }
        fields[i] = std::stoi(tokens[i].Text);
    }
    int hour = fields[0];
    if (pm >= 0) {
        if (hour < 1 || hour > 12) {
            if (hour != 0 || pm == 1) {
                return std::nullopt;
            }
        }
        hour = hour % 12 + (pm == 1 ? 12 : 0);
    }
    if (hour > 23 || fields[1] > 59 || fields[2] > 59) {
        return std::nullopt;
    }
    return (hour * 3600.0 + fields[1] * 60.0 + fields[2]) / kSecondsPerDay;
}

// Where the time starts: at the number before the first ':', or at a trailing "3 PM".
size_t TimeStart(std::string_view p_sText) {
    const size_t colon = p_sText.find(':');
    size_t start = colon;
    if (colon == std::string_view::npos) {
        size_t end = p_sText.size();
        while (end > 0 && std::isalpha(static_cast<unsigned char>(p_sText[end - 1]))) {
            --end;
        }
        std::string_view word = p_sText.substr(end);
        if (word.size() > 2 || word.empty() ||
            (std::tolower(static_cast<unsigned char>(word[0])) != 'a' &&
             std::tolower(static_cast<unsigned char>(word[0])) != 'p')) {
            return std::string_view::npos;
        }
        start = end;
        while (start > 0 && p_sText[start - 1] == ' ') {
            --start;
        }
    }
    while (start > 0 && std::isdigit(static_cast<unsigned char>(p_sText[start - 1]))) {
        --start;
    }
    return start;
}

}  // namespace

double DateSerial(int p_iYear, int p_iMonth, int p_iDay) {
    const int64_t monthIndex = static_cast<int64_t>(ExpandYear(p_iYear)) * 12 + (p_iMonth - 1);
    const int64_t year = FloorDiv(monthIndex, 12);
    const int month = static_cast<int>(monthIndex - year * 12) + 1;
    if (year < 0 || year > 10000) {
        RaiseRuntimeError(errors::kOverflow);
    }
    const double serial =
        static_cast<double>(DaysFromCivil(year, month, 1) - kZeroDateFromEpoch) + (p_iDay - 1);
    if (!IsValidDateSerial(serial)) {
        RaiseRuntimeError(errors::kOverflow);
    }
    return serial;
}

double TimeSerial(int p_iHour, int p_iMinute, int p_iSecond) {
    const int64_t seconds =
        static_cast<int64_t>(p_iHour) * 3600 + static_cast<int64_t>(p_iMinute) * 60 + p_iSecond;
    return SerialFromLinear(static_cast<double>(seconds) / kSecondsPerDay);
}

double CombineDateTime(double p_dDaySerial, double p_dTimeOfDay) {
    return SerialFromLinear(LinearFromSerial(p_dDaySerial) + p_dTimeOfDay);
}

bool IsValidDateSerial(double p_dSerial) {
    return std::isfinite(p_dSerial) && p_dSerial > kMinDateSerial - 1 &&
           p_dSerial < kMaxDateSerial + 1;
}

DateParts SplitDate(double p_dSerial) {
    if (!IsValidDateSerial(p_dSerial)) {
        RaiseRuntimeError(errors::kOverflow);
    }
    const int64_t seconds = LinearSeconds(p_dSerial);
    const int64_t days = FloorDiv(seconds, kSecondsPerDay);
    const int64_t secondOfDay = seconds - days * kSecondsPerDay;
    DateParts parts;
    CivilFromDays(days + kZeroDateFromEpoch, parts.Year, parts.Month, parts.Day);
    parts.Hour = static_cast<int>(secondOfDay / 3600);
    parts.Minute = static_cast<int>(secondOfDay / 60 % 60);
    parts.Second = static_cast<int>(secondOfDay % 60);
    return parts;
}

int Weekday(double p_dSerial) {
    const int64_t days = FloorDiv(LinearSeconds(p_dSerial), kSecondsPerDay);
    const int64_t fromSunday = ((days + 6) % 7 + 7) % 7;
    return static_cast<int>(fromSunday) + 1;
}

std::string DefaultDateText(double p_dSerial) {
    const DateParts parts = SplitDate(p_dSerial);
    const bool hasTime = parts.Hour != 0 || parts.Minute != 0 || parts.Second != 0;
    const bool zeroDay = parts.Year == 1899 && parts.Month == 12 && parts.Day == 30;
    if (zeroDay) {
        return TimeText(parts);
    }
    if (!hasTime) {
        return DayText(parts);
    }
    return DayText(parts) + " " + TimeText(parts);
}

bool ParseDateText(std::string_view p_sText, double& p_dSerial) {
    const size_t timeStart = TimeStart(p_sText);
    std::optional<double> time = 0.0;
    std::string_view dayText = p_sText;
    if (timeStart != std::string_view::npos) {
        time = ParseTimePart(p_sText.substr(timeStart));
        dayText = p_sText.substr(0, timeStart);
    }
    if (!time) {
        return false;
    }
    bool badCharacter = false;
    const bool dayEmpty = Tokenize(dayText, badCharacter).empty() && !badCharacter;
    if (dayEmpty && timeStart == std::string_view::npos) {
        return false;
    }
    std::optional<double> day = dayEmpty ? std::optional<double>(0.0) : ParseDayPart(dayText);
    if (!day) {
        return false;
    }
    p_dSerial = CombineDateTime(*day, *time);
    return true;
}

int32_t DaySerialFromCivil(int p_iYear, int p_iMonth, int p_iDay) {
    return static_cast<int32_t>(DaysFromCivil(p_iYear, p_iMonth, p_iDay) - kZeroDateFromEpoch);
}

DateParts CivilFromDaySerial(int32_t p_lSerial) {
    DateParts parts;
    CivilFromDays(p_lSerial + kZeroDateFromEpoch, parts.Year, parts.Month, parts.Day);
    return parts;
}

int IsoWeekday(int32_t p_lSerial) {
    // The zero date was a Saturday (6).
    const int offset = ((p_lSerial % 7) + 7) % 7;
    return (offset + 5) % 7 + 1;
}

bool ParseDayText(std::string_view p_sText, int32_t& p_lSerial) {
    if (ParseIsoDay(p_sText, p_lSerial)) {
        return true;
    }
    double serial = 0;
    if (!ParseDateText(p_sText, serial) || serial != std::floor(serial)) {
        return false;
    }
    p_lSerial = static_cast<int32_t>(serial);
    return true;
}

std::string IsoDateText(int32_t p_lSerial) {
    const DateParts parts = CivilFromDaySerial(p_lSerial);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts.Year, parts.Month, parts.Day);
    return text;
}

}  // namespace qv
