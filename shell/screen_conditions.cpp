#include "shell/screen_conditions.h"

#include "outside/text_util.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>

namespace qv {

namespace {

bool IsPlainNumber(std::string_view p_sText) {
    double value = 0;
    const char* const end = p_sText.data() + p_sText.size();
    const auto [last, error] = std::from_chars(p_sText.data(), end, value);
    return !p_sText.empty() && error == std::errc() && last == end;
}

std::string NumberText(double p_dValue) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, p_dValue);
    return error == std::errc() ? std::string(text, end) : std::string("1");
}

// A value that is no number is a text; its quotes are the kind it does not hold.
std::string ValueText(const std::string& p_sValue) {
    if (IsPlainNumber(p_sValue)) {
        return p_sValue;
    }
    const char quote = p_sValue.find('\'') == std::string::npos ? '\'' : '"';
    return quote + p_sValue + quote;
}

// One word of the criteria: a field, a number, a text (its quotes kept), an operator, "*", a
// keyword, or any other character alone.
std::vector<std::string> Words(std::string_view p_sText) {
    std::vector<std::string> words;
    size_t at = 0;
    const auto wordChar = [](char p_c) {
        return std::isalnum(static_cast<unsigned char>(p_c)) != 0 || p_c == '_' || p_c == '.' ||
               static_cast<unsigned char>(p_c) >= 0x80;
    };
    while (at < p_sText.size()) {
        const char c = p_sText[at];
        size_t end = at + 1;
        if (IsWhitespace(c)) {
            ++at;
            continue;
        }
        if (c == '[' || c == '\'' || c == '"') {
            const size_t close = p_sText.find(c == '[' ? ']' : c, at + 1);
            end = close == std::string_view::npos ? p_sText.size() : close + 1;
        } else if (c == '-' && end < p_sText.size() &&
                   std::isdigit(static_cast<unsigned char>(p_sText[end])) != 0) {
            while (end < p_sText.size() && wordChar(p_sText[end])) {
                ++end;
            }
        } else if (c == '<' || c == '>' || c == '!') {
            if (end < p_sText.size() &&
                (p_sText[end] == '=' || (c == '<' && p_sText[end] == '>'))) {
                ++end;
            }
        } else if (wordChar(c)) {
            while (end < p_sText.size() && wordChar(p_sText[end])) {
                ++end;
            }
        }
        words.emplace_back(p_sText.substr(at, end - at));
        at = end;
    }
    return words;
}

bool IsOperator(const std::string& p_sWord) {
    return std::find(std::begin(kScreenOperators), std::end(kScreenOperators), p_sWord) !=
           std::end(kScreenOperators);
}

bool IsField(const std::string& p_sWord) {
    if (p_sWord.size() >= 2 && p_sWord.front() == '[' && p_sWord.back() == ']') {
        return true;
    }
    const unsigned char first = static_cast<unsigned char>(p_sWord.front());
    return (std::isalpha(first) != 0 || first == '_') && !EqualsIgnoreCase(p_sWord, "AND") &&
           !EqualsIgnoreCase(p_sWord, "OR") && !EqualsIgnoreCase(p_sWord, "NOT");
}

bool IsText(const std::string& p_sWord) {
    return p_sWord.size() >= 2 && (p_sWord.front() == '\'' || p_sWord.front() == '"') &&
           p_sWord.back() == p_sWord.front();
}

// Reads one row from p_words at p_lAt; false when the words there are no row.
bool ReadCondition(const std::vector<std::string>& p_words, size_t& p_lAt,
                   ScreenCondition& p_oCondition) {
    const auto word = [&](size_t p_lOffset) -> const std::string& {
        static const std::string none;
        return p_lAt + p_lOffset < p_words.size() ? p_words[p_lAt + p_lOffset] : none;
    };
    if (word(0).empty() || !IsField(word(0)) || !IsOperator(word(1)) || word(2).empty()) {
        return false;
    }
    p_oCondition.m_sField = word(0);
    p_oCondition.m_sOperator = word(1);
    const std::string& right = word(2);
    if (IsPlainNumber(right) && word(3) == "*" && !word(4).empty() && IsField(word(4))) {
        p_oCondition.m_dFactor = std::stod(right);
        p_oCondition.m_sOtherField = word(4);
        p_lAt += 5;
    } else if (IsField(right)) {
        p_oCondition.m_sOtherField = right;
        p_lAt += 3;
    } else if (IsText(right)) {
        p_oCondition.m_sValue = right.substr(1, right.size() - 2);
        p_lAt += 3;
    } else if (IsPlainNumber(right)) {
        p_oCondition.m_sValue = right;
        p_lAt += 3;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string ConditionsText(const std::vector<ScreenCondition>& p_aConditions) {
    std::string text;
    for (const ScreenCondition& condition : p_aConditions) {
        // A row still being filled in says nothing yet.
        if (condition.m_sField.empty() ||
            (condition.m_sValue.empty() && condition.m_sOtherField.empty())) {
            continue;
        }
        if (!text.empty()) {
            text +=
                " " + (condition.m_sJoin.empty() ? std::string("AND") : condition.m_sJoin) + " ";
        }
        text += condition.m_sField + " " + condition.m_sOperator + " ";
        if (condition.m_sOtherField.empty()) {
            text += ValueText(condition.m_sValue);
        } else if (condition.m_dFactor == 1.0) {
            text += condition.m_sOtherField;
        } else {
            text += NumberText(condition.m_dFactor) + " * " + condition.m_sOtherField;
        }
    }
    return text;
}

std::optional<std::vector<ScreenCondition>> ConditionsOf(std::string_view p_sCriteria) {
    const std::vector<std::string> words = Words(p_sCriteria);
    std::vector<ScreenCondition> conditions;
    size_t at = 0;
    while (at < words.size()) {
        ScreenCondition condition;
        if (!conditions.empty()) {
            if (!EqualsIgnoreCase(words[at], "AND") && !EqualsIgnoreCase(words[at], "OR")) {
                return std::nullopt;
            }
            condition.m_sJoin = ToUpperAscii(words[at]);
            ++at;
        }
        if (!ReadCondition(words, at, condition)) {
            return std::nullopt;
        }
        conditions.push_back(std::move(condition));
    }
    return conditions;
}

}  // namespace qv
