#include "facade/market_screen.h"

#include <variant>

#include "facade/market_lists.h"
#include "facade/market_queries.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

std::optional<double> NumberOf(const FieldValue& p_vValue) {
    if (const auto* llValue = std::get_if<int64_t>(&p_vValue)) {
        return static_cast<double>(*llValue);
    }
    if (const auto* dValue = std::get_if<double>(&p_vValue)) {
        return *dValue;
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
    for (const auto& [sText, eOperator] : kOperators) {
        if (p_sText == sText) {
            return eOperator;
        }
    }
    return std::nullopt;
}

bool MeetsCriterion(const FieldValue& p_vValue, const ScreenCriterion& p_oCriterion) {
    if (std::holds_alternative<std::monostate>(p_vValue)) {
        return false;
    }
    const std::optional<double> dValue = NumberOf(p_vValue);
    const std::optional<double> dLimit = NumberOf(p_oCriterion.m_vValue);
    if (dValue && dLimit) {
        const int lOrder = *dValue < *dLimit ? -1 : (*dValue > *dLimit ? 1 : 0);
        return Holds(p_oCriterion.m_eOperator, lOrder);
    }
    const auto* sValue = std::get_if<std::string>(&p_vValue);
    const auto* sLimit = std::get_if<std::string>(&p_oCriterion.m_vValue);
    if (sValue == nullptr || sLimit == nullptr) {
        return false;
    }
    const int lOrder = CompareIgnoreCase(*sValue, *sLimit);
    return Holds(p_oCriterion.m_eOperator, lOrder < 0 ? -1 : (lOrder > 0 ? 1 : 0));
}

ResultTable RunScreen(SqliteDatabase& p_oDatabase, const ScreenRequest& p_oRequest) {
    std::vector<std::string> aCriteriaFields;
    for (const ScreenCriterion& oCriterion : p_oRequest.m_aCriteria) {
        aCriteriaFields.push_back(oCriterion.m_sField);
    }
    ListRequest oRequest;
    oRequest.m_aFields = WithKeys(p_oRequest.m_aFields, aCriteriaFields);
    oRequest.m_lDate = p_oRequest.m_lDate;
    oRequest.m_sSort = p_oRequest.m_sSort;
    MarketQueries oQueries(p_oDatabase);
    ResultTable oRead = ReadRows(oQueries, p_oRequest.m_eRows, oRequest).m_oTable;

    ResultTable oFound = EmptyTable(p_oRequest.m_aFields);
    std::vector<int> aColumns;
    for (const ResultColumn& oColumn : oFound.m_aColumns) {
        aColumns.push_back(oRead.ColumnIndex(oColumn.m_sName));
    }
    std::vector<int> aCriteriaColumns;
    for (const ScreenCriterion& oCriterion : p_oRequest.m_aCriteria) {
        aCriteriaColumns.push_back(oRead.ColumnIndex(oCriterion.m_sField));
    }
    for (std::vector<FieldValue>& aRow : oRead.m_aRows) {
        bool bMeets = true;
        for (size_t i = 0; i < aCriteriaColumns.size() && bMeets; ++i) {
            bMeets = aCriteriaColumns[i] >= 0 &&
                     MeetsCriterion(aRow[static_cast<size_t>(aCriteriaColumns[i])],
                                    p_oRequest.m_aCriteria[i]);
        }
        if (!bMeets) {
            continue;
        }
        std::vector<FieldValue> aKept;
        for (const int lColumn : aColumns) {
            aKept.push_back(lColumn >= 0 ? std::move(aRow[static_cast<size_t>(lColumn)])
                                         : FieldValue());
        }
        oFound.m_aRows.push_back(std::move(aKept));
        if (p_oRequest.m_lMaxRows > 0 &&
            oFound.m_aRows.size() >= static_cast<size_t>(p_oRequest.m_lMaxRows)) {
            break;
        }
    }
    return oFound;
}

}  // namespace qv::facade
