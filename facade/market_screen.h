// A simple stock screen: the stocks, industry groups or sectors of a day whose catalogue fields
// meet every criterion ("PctChange > 2", "RSRank >= 80", "SectorName = Energy"), in the order of a
// sort clause and up to a row limit. Its result is what a host hands to the viewer as finder
// results.
//
// Criteria compare the values the lists deliver; no text of a criterion reaches SQL. A row whose
// field has no value meets no criterion on it. Texts compare without regard to letter case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "facade/field_catalogue.h"
#include "facade/result_table.h"

namespace qv::facade {

class SqliteDatabase;

enum class ScreenOperator { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

// "=", "<>", "<", "<=", ">" or ">="; nullopt for anything else.
std::optional<ScreenOperator> ScreenOperatorOf(std::string_view p_sText);

struct ScreenCriterion {
    std::string m_sField;  // a catalogue "Column_Name"
    ScreenOperator m_eOperator = ScreenOperator::Equal;
    FieldValue m_vValue;  // a number (int64_t or double) for numeric fields, else a text
};

bool MeetsCriterion(const FieldValue& p_vValue, const ScreenCriterion& p_oCriterion);

struct ScreenRequest {
    RowKind m_eRows = RowKind::Stock;  // Stock, Industry or Sector
    int32_t m_lDate = 0;
    std::vector<std::string> m_aFields;  // of the result
    std::string m_sSort;
    int32_t m_lMaxRows = -1;  // 0 or less: every row found
    std::vector<ScreenCriterion> m_aCriteria;
};

ResultTable RunScreen(SqliteDatabase& p_oDatabase, const ScreenRequest& p_oRequest);

}  // namespace qv::facade
