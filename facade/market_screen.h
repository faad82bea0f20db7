// A stock screen: the stocks, industry groups or sectors of a day that meet a screen's condition,
// in the order of a sort clause and up to a row limit, found by one query. Its result is what a
// host hands to the viewer as finder results.
//
// The condition is the screen language compiled (screen_criteria.h), or the older table of
// criteria, each comparing one catalogue field with a value ("PctChange > 2", "RSRank >= 80",
// "SectorName = Energy"), all of which a row must meet. Either way no text of a criterion reaches
// SQL: fields become the catalogue's expressions and values are bound.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "facade/field_catalogue.h"
#include "facade/result_table.h"
#include "facade/screen_criteria.h"

namespace qv::facade {

class SqlDatabase;

enum class ScreenOperator { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

// "=", "<>", "<", "<=", ">" or ">="; nullopt for anything else.
std::optional<ScreenOperator> ScreenOperatorOf(std::string_view p_sText);

struct ScreenCriterion {
    std::string m_sField;  // a catalogue "Column_Name"
    ScreenOperator m_eOperator = ScreenOperator::Equal;
    FieldValue m_vValue;  // a number (int64_t or double) for numeric fields, else a text
};

// The criteria ANDed into one condition (without a description). A row whose field has no value
// meets no criterion on it; texts compare without regard to letter case. A criterion on a field
// the rows lack, or whose value is not of the field's kind (a text for a number, no value), is
// met by no row.
ScreenSql TableScreen(const std::vector<ScreenCriterion>& p_aCriteria, RowKind p_eRows);

struct ScreenRequest {
    RowKind m_eRows = RowKind::Stock;  // Stock, Industry or Sector
    int32_t m_lDate = 0;
    std::vector<std::string> m_aFields;  // of the result
    std::string m_sSort;
    int32_t m_lMaxRows = -1;  // 0 or less: every row found
    ScreenSql m_oScreen;      // an empty m_sWhere: every row
};

ResultTable RunScreen(SqlDatabase& p_oDatabase, const ScreenRequest& p_oRequest);

}  // namespace qv::facade
