#include "facade/market_screen.h"

#include <utility>
#include <variant>

#include "facade/market_queries.h"

namespace qv::facade {

namespace {

constexpr std::pair<std::string_view, ScreenOperator> kOperators[] = {
    {"=", ScreenOperator::Equal},   {"<>", ScreenOperator::NotEqual},
    {"<", ScreenOperator::Less},    {"<=", ScreenOperator::LessOrEqual},
    {">", ScreenOperator::Greater}, {">=", ScreenOperator::GreaterOrEqual},
};

std::string_view OperatorSql(ScreenOperator p_eOperator) {
    for (const auto& [text, op] : kOperators) {
        if (op == p_eOperator) {
            return text;
        }
    }
    return "=";
}

// "(<field>) <operator> ?" with its value, or nothing when no row can meet the criterion.
std::optional<std::string> Comparison(const ScreenCriterion& p_oCriterion, RowKind p_eRows) {
    const FieldDefinition* field = FindFieldByName(p_oCriterion.m_sField);
    const char* sql = field != nullptr ? field->SqlFor(p_eRows) : nullptr;
    if (sql == nullptr) {
        return std::nullopt;
    }
    const bool textField = field->m_eKind == FieldKind::Text;
    const bool textValue = std::holds_alternative<std::string>(p_oCriterion.m_vValue);
    if (std::holds_alternative<std::monostate>(p_oCriterion.m_vValue) || textField != textValue) {
        return std::nullopt;
    }
    std::string comparison = std::string("(") + sql + ") ";
    comparison.append(OperatorSql(p_oCriterion.m_eOperator));
    return comparison + (textField ? " ? COLLATE NOCASE" : " ?");
}

// A value Comparison accepted: a number or a text.
ScreenValue BoundValue(const FieldValue& p_vValue) {
    if (const auto* whole = std::get_if<int64_t>(&p_vValue)) {
        return *whole;
    }
    if (const auto* number = std::get_if<double>(&p_vValue)) {
        return *number;
    }
    return std::get<std::string>(p_vValue);
}

}  // namespace

std::optional<ScreenOperator> ScreenOperatorOf(std::string_view p_sText) {
    for (const auto& [text, op] : kOperators) {
        if (p_sText == text) {
            return op;
        }
    }
    return std::nullopt;
}

ScreenSql TableScreen(const std::vector<ScreenCriterion>& p_aCriteria, RowKind p_eRows) {
    ScreenSql screen;
    for (const ScreenCriterion& criterion : p_aCriteria) {
        const std::optional<std::string> comparison = Comparison(criterion, p_eRows);
        if (!comparison) {
            return ScreenSql{"0 = 1", {}, ""};
        }
        screen.m_sWhere += (screen.m_sWhere.empty() ? "" : " AND ") + *comparison;
        screen.m_aValues.push_back(BoundValue(criterion.m_vValue));
    }
    return screen;
}

ResultTable RunScreen(SqlDatabase& p_oDatabase, const ScreenRequest& p_oRequest) {
    ListRequest request;
    request.m_aFields = p_oRequest.m_aFields;
    request.m_lDate = p_oRequest.m_lDate;
    request.m_sSort = p_oRequest.m_sSort;
    request.m_lMaxRows = p_oRequest.m_lMaxRows;
    request.m_oScreen = p_oRequest.m_oScreen;
    return MarketQueries(p_oDatabase).List(p_oRequest.m_eRows, request).m_oTable;
}

}  // namespace qv::facade
