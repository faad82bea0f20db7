// The screen language: criteria over catalogue fields, compiled into one SQL condition over the
// aliases of a row kind's list query (market_queries.cpp), with every number and text the person
// typed kept apart as a bound value. Only the catalogue's own expressions and fixed operator text
// reach the SQL.
//
//     ScreenSql screen = CompileScreenCriteria("RSRank >= 80 AND Price > MA200", RowKind::Stock);
//     // m_sWhere "(((d.rs_rank) >= ?) AND ((d.close) > (d.ma_200)))", m_aValues {80},
//     // m_sDescription "RS >= 80 and Price > 200 Day MA"
//     int64_t found = CountScreenRows(database, RowKind::Stock, screen, 0);
//
// A comparison of a field without a value on a row, or of a division by zero on a row, is false
// (not unknown), so NOT of it is true: "NOT REC = 'S'" keeps the stocks without a ranking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "facade/field_catalogue.h"

namespace qv::facade {

class SqlDatabase;

using ScreenValue = std::variant<int64_t, double, std::string>;

struct ScreenSql {
    std::string m_sWhere;                // SQL condition over the row kind's aliases, "?" places
    std::vector<ScreenValue> m_aValues;  // bound in placeholder order
    std::string m_sDescription;          // "RS >= 80 and Price > 200 Day MA" (captions)
};

// Criteria that do not parse or do not fit the row kind. what() is the whole description:
// "unknown field 'Pirce' at position 1 in 'Pirce > 10'".
class ScreenCriteriaError : public std::runtime_error {
  public:
    ScreenCriteriaError(size_t p_lPosition, std::string p_sToken, const std::string& p_sWhy,
                        std::string_view p_sCriteria);

    // 1-based, in characters of the criteria (a byte that is not UTF-8 counts as one).
    size_t Position() const { return m_lPosition; }
    const std::string& Token() const { return m_sToken; }
    const std::string& Why() const { return m_sWhy; }

  private:
    size_t m_lPosition;
    std::string m_sToken;
    std::string m_sWhy;
};

// Throws ScreenCriteriaError. An empty (all blank) text is an error ("a screen needs criteria").
// p_eRows is Stock, Industry or Sector; fields of holdings only are unknown to every kind.
ScreenSql CompileScreenCriteria(std::string_view p_sCriteria, RowKind p_eRows);

// The rows of the kind meeting the screen on the trading day on or before p_lDate (0: latest).
int64_t CountScreenRows(SqlDatabase& p_oDatabase, RowKind p_eRows, const ScreenSql& p_oScreen,
                        int32_t p_lDate);

}  // namespace qv::facade
