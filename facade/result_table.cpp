#include "facade/result_table.h"

#include <algorithm>
#include <cctype>

namespace qv::facade {

int ResultTable::ColumnIndex(std::string_view p_sName) const {
    for (size_t i = 0; i < m_aColumns.size(); ++i) {
        const std::string& column = m_aColumns[i].m_sName;
        const bool same = std::equal(column.begin(), column.end(), p_sName.begin(), p_sName.end(),
                                     [](char p_cLeft, char p_cRight) {
                                         return std::tolower(static_cast<unsigned char>(p_cLeft)) ==
                                                std::tolower(static_cast<unsigned char>(p_cRight));
                                     });
        if (same) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const FieldValue& ResultTable::Value(size_t p_lRow, std::string_view p_sName) const {
    static const FieldValue kNull;
    const int column = ColumnIndex(p_sName);
    return column < 0 ? kNull : m_aRows.at(p_lRow).at(static_cast<size_t>(column));
}

}  // namespace qv::facade
