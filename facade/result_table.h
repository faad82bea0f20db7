// Rows handed from the storage to the facade components, in plain C++ types: named, typed
// columns and one value per column and row. The components turn a table into a recordset whose
// field names are the column names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "facade/field_catalogue.h"

namespace qv::facade {

// No value (NULL), an integer (also booleans, 0 or 1), a number (also dates, as day serials) or
// a text.
using FieldValue = std::variant<std::monostate, int64_t, double, std::string>;

struct ResultColumn {
    std::string m_sName;
    FieldKind m_eKind = FieldKind::Text;
};

struct ResultTable {
    std::vector<ResultColumn> m_aColumns;
    std::vector<std::vector<FieldValue>> m_aRows;

    // The index of a column by name without regard to letter case, or -1.
    int ColumnIndex(std::string_view p_sName) const;
    // The value in row p_lRow of the named column; NULL when there is no such column.
    const FieldValue& Value(size_t p_lRow, std::string_view p_sName) const;
};

}  // namespace qv::facade
