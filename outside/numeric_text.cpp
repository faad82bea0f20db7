#include "outside/numeric_text.h"

#include "outside/text_util.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace qv {
namespace {

bool IsDigit(char p_c) {
    return p_c >= '0' && p_c <= '9';
}

std::optional<double> ParseHex(std::string_view p_sDigits) {
    if (p_sDigits.empty() || p_sDigits.size() > 8) {
        return std::nullopt;
    }
    uint32_t value = 0;
    auto [end, error] =
        std::from_chars(p_sDigits.data(), p_sDigits.data() + p_sDigits.size(), value, 16);
    if (error != std::errc() || end != p_sDigits.data() + p_sDigits.size()) {
        return std::nullopt;
    }
    // The runtime types a hex number by its digit count, as it types a hex literal.
    if (p_sDigits.size() <= 4) {
        return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(value)));
    }
    return static_cast<double>(static_cast<int32_t>(value));
}

// An unsigned decimal number: digits with thousands separators, a point, an exponent. Returns the
// text with the separators removed, ready for from_chars, or nothing.
std::optional<std::string> CleanMantissa(std::string_view p_sText) {
    std::string clean;
    size_t i = 0;
    size_t digits = 0;
    while (i < p_sText.size() && (IsDigit(p_sText[i]) || (p_sText[i] == ',' && digits > 0))) {
        if (p_sText[i] != ',') {
            clean += p_sText[i];
            ++digits;
        }
        ++i;
    }
    if (i < p_sText.size() && p_sText[i] == '.') {
        clean += p_sText[i++];
        while (i < p_sText.size() && IsDigit(p_sText[i])) {
            clean += p_sText[i++];
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < p_sText.size() && (p_sText[i] == 'e' || p_sText[i] == 'E')) {
        clean += 'e';
        ++i;
        if (i < p_sText.size() && (p_sText[i] == '+' || p_sText[i] == '-')) {
            clean += p_sText[i++];
        }
        size_t exponentDigits = 0;
        while (i < p_sText.size() && IsDigit(p_sText[i])) {
            clean += p_sText[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != p_sText.size()) {
        return std::nullopt;
    }
    return clean;
}

std::optional<double> ParseUnsigned(std::string_view p_sText) {
    std::optional<std::string> clean = CleanMantissa(p_sText);
    if (!clean) {
        return std::nullopt;
    }
    double value = 0;
    auto [end, error] = std::from_chars(clean->data(), clean->data() + clean->size(), value);
    if (error != std::errc() || end != clean->data() + clean->size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

double RoundHalfToEven(double p_dValue) {
    const double floor = std::floor(p_dValue);
    const double fraction = p_dValue - floor;
    if (fraction > 0.5) {
        return floor + 1;
    }
    if (fraction < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

}  // namespace

std::optional<int64_t> RoundToWholeNumber(double p_dValue) {
    // 2^63 is exact as a double while INT64_MAX is not: the bounds are compared as doubles.
    constexpr double kBound = 9223372036854775808.0;
    const double rounded = RoundHalfToEven(p_dValue);
    if (!(rounded >= -kBound && rounded < kBound)) {
        return std::nullopt;
    }
    return static_cast<int64_t>(rounded);
}

std::optional<double> ParseNumericText(std::string_view p_sText) {
    std::string_view text = TrimLineBlanks(p_sText);
    if (text.size() > 2 && text[0] == '&' && (text[1] == 'h' || text[1] == 'H')) {
        return ParseHex(text.substr(2));
    }
    bool negative = false;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = TrimLineBlanks(text.substr(1, text.size() - 2));
    } else if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text = TrimLineBlanks(text.substr(1));
    }
    std::optional<double> value = ParseUnsigned(text);
    if (!value) {
        return std::nullopt;
    }
    return negative ? -*value : *value;
}

}  // namespace qv
