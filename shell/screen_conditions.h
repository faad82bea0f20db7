// The rows of the screen editor and the criteria text they stand for: each row a field, an
// operator and a value or a second field (times a factor), joined by AND or OR.
//
//     ScreenCondition rank{"", "RSRank", ">=", "80"};
//     ScreenCondition trend{"AND", "Price", ">", "", "MA200", 1.0};
//     ConditionsText({rank, trend})          // "RSRank >= 80 AND Price > MA200"
//
// Criteria a person typed come back as rows where the rows can say them: no parentheses, NOT or
// sums beyond "factor * field". Fields stay as written (a column name, or a caption in brackets);
// the editor matches them to its catalogue.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct ScreenCondition {
    // "AND" or "OR" before the row; empty for the first.
    std::string m_sJoin;
    std::string m_sField;
    std::string m_sOperator;
    // A number, or a text (written in quotes).
    std::string m_sValue{};
    // Compared with a second field instead of a value when not empty.
    std::string m_sOtherField{};
    double m_dFactor = 1.0;

    bool operator==(const ScreenCondition&) const = default;
};

// The operators the rows offer, as written in the criteria.
inline constexpr std::string_view kScreenOperators[] = {">=", ">", "<=", "<", "=", "<>"};

// A row without its field, or without both value and second field, is left out.
std::string ConditionsText(const std::vector<ScreenCondition>& p_aConditions);
// The rows of p_sCriteria, or nothing where the rows cannot say them; empty criteria are no
// rows.
std::optional<std::vector<ScreenCondition>> ConditionsOf(std::string_view p_sCriteria);

}  // namespace qv
