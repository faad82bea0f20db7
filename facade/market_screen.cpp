#include "facade/market_screen.h"

#include <variant>

#include "facade/market_lists.h"
#include "facade/market_queries.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

std::optional<double> NumberOf(const FieldValue& p_vValue) {
    if (const auto* whole = std::get_if<int64_t>(&p_vValue)) {
        return static_cast<double>(*whole);
    }
    if (const auto* value = std::get_if<double>(&p_vValue)) {
        return *value;
    }
    return std::nullopt;
}

bool Holds(ScreenOperator p_eOperator, int p_lOrder) {
    switch (p_eOperator) {
        case ScreenOperator::Equal:
            return p_lOrder == 0;
        case ScreenOperator::NotEqual:
            return p_lOrder != 0;
        case ScreenOperator::Less:
            return p_lOrder < 0;
        case ScreenOperator::LessOrEqual:
            return p_lOrder <= 0;
        case ScreenOperator::Greater:
            return p_lOrder > 0;
        case ScreenOperator::GreaterOrEqual:
            return p_lOrder >= 0;
    }
    return false;
}

ListResult ReadRows(MarketQueries& p_oQueries, RowKind p_eRows, const ListRequest& p_oRequest) {
    switch (p_eRows) {
        case RowKind::Industry:
            return p_oQueries.Industries(p_oRequest);
        case RowKind::Sector:
            return p_oQueries.Sectors(p_oRequest);
        default:
            return p_oQueries.Stocks(p_oRequest);
    }
}

}  // namespace

std::optional<ScreenOperator> ScreenOperatorOf(std::string_view p_sText) {
    static constexpr std::pair<std::string_view, ScreenOperator> kOperators[] = {
        {"=", ScreenOperator::Equal},   {"<>", ScreenOperator::NotEqual},
        {"<", ScreenOperator::Less},    {"<=", ScreenOperator::LessOrEqual},
        {">", ScreenOperator::Greater}, {">=", ScreenOperator::GreaterOrEqual},
    };
    for (const auto& [text, op] : kOperators) {
        if (p_sText == text) {
            return op;
        }
    }
    return std::nullopt;
}

bool MeetsCriterion(const FieldValue& p_vValue, const ScreenCriterion& p_oCriterion) {
    if (std::holds_alternative<std::monostate>(p_vValue)) {
        return false;
    }
    const std::optional<double> numberValue = NumberOf(p_vValue);
    const std::optional<double> numberLimit = NumberOf(p_oCriterion.m_vValue);
    if (numberValue && numberLimit) {
        const int order = *numberValue < *numberLimit ? -1 : (*numberValue > *numberLimit ? 1 : 0);
        return Holds(p_oCriterion.m_eOperator, order);
    }
    const auto* textValue = std::get_if<std::string>(&p_vValue);
    const auto* textLimit = std::get_if<std::string>(&p_oCriterion.m_vValue);
    if (textValue == nullptr || textLimit == nullptr) {
        return false;
    }
    const int order = CompareIgnoreCase(*textValue, *textLimit);
    return Holds(p_oCriterion.m_eOperator, order < 0 ? -1 : (order > 0 ? 1 : 0));
}

ResultTable RunScreen(SqliteDatabase& p_oDatabase, const ScreenRequest& p_oRequest) {
    std::vector<std::string> criteriaFields;
    for (const ScreenCriterion& criterion : p_oRequest.m_aCriteria) {
        criteriaFields.push_back(criterion.m_sField);
    }
    ListRequest request;
    request.m_aFields = WithKeys(p_oRequest.m_aFields, criteriaFields);
    request.m_lDate = p_oRequest.m_lDate;
    request.m_sSort = p_oRequest.m_sSort;
    MarketQueries queries(p_oDatabase);
    ResultTable read = ReadRows(queries, p_oRequest.m_eRows, request).m_oTable;

    ResultTable found = EmptyTable(p_oRequest.m_aFields);
    std::vector<int> columns;
    for (const ResultColumn& resultColumn : found.Columns()) {
        columns.push_back(read.ColumnIndex(resultColumn.m_sName));
    }
    std::vector<int> criteriaColumns;
    for (const ScreenCriterion& criterion : p_oRequest.m_aCriteria) {
        criteriaColumns.push_back(read.ColumnIndex(criterion.m_sField));
    }
    for (size_t row = 0; row < read.RowCount(); ++row) {
        bool meets = true;
        for (size_t i = 0; i < criteriaColumns.size() && meets; ++i) {
            meets = criteriaColumns[i] >= 0 &&
                    MeetsCriterion(read.Value(row, static_cast<size_t>(criteriaColumns[i])),
                                   p_oRequest.m_aCriteria[i]);
        }
        if (!meets) {
            continue;
        }
        std::vector<FieldValue> kept;
        for (const int index : columns) {
            kept.push_back(index >= 0 ? read.Value(row, static_cast<size_t>(index)) : FieldValue());
        }
        found.AppendRow(std::move(kept));
        if (p_oRequest.m_lMaxRows > 0 &&
            found.RowCount() >= static_cast<size_t>(p_oRequest.m_lMaxRows)) {
            break;
        }
    }
    return found;
}

}  // namespace qv::facade
