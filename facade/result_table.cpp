#include "facade/result_table.h"

#include <limits>

#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace qv::facade {

ColumnKind StorageKindOf(FieldKind p_eKind) {
    switch (p_eKind) {
        case FieldKind::Integer:
            return ColumnKind::Long;
        case FieldKind::Double:
            return ColumnKind::Double;
        case FieldKind::Date:
            return ColumnKind::Date;
        case FieldKind::Boolean:
            return ColumnKind::Boolean;
        case FieldKind::Text:
            return ColumnKind::Text;
    }
    return ColumnKind::Text;
}

namespace {

bool FitsLong(int64_t p_llValue) {
    return p_llValue >= std::numeric_limits<int32_t>::min() &&
           p_llValue <= std::numeric_limits<int32_t>::max();
}

// The same values in a column of numbers, for an integer column that met a value beyond 32 bits.
RowColumn Widened(const RowColumn& p_oColumn) {
    RowColumn wide(ColumnKind::Double);
    for (uint32_t row = 0; row < p_oColumn.Size(); ++row) {
        if (p_oColumn.IsNull(row)) {
            wide.AppendNull();
        } else {
            wide.AppendNumber(p_oColumn.Longs()[row]);
        }
    }
    return wide;
}

}  // namespace

ResultTable::ResultTable(std::vector<ResultColumn> p_aColumns) : m_aColumns(std::move(p_aColumns)) {
    m_aValues.reserve(m_aColumns.size());
    for (const ResultColumn& column : m_aColumns) {
        m_aValues.emplace_back(StorageKindOf(column.m_eKind));
    }
}

int ResultTable::ColumnIndex(std::string_view p_sName) const {
    for (size_t i = 0; i < m_aColumns.size(); ++i) {
        if (EqualsIgnoreCase(m_aColumns[i].m_sName, p_sName)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

FieldValue ResultTable::Value(size_t p_lRow, size_t p_lColumn) const {
    const RowColumn& column = m_aValues.at(p_lColumn);
    const auto row = static_cast<uint32_t>(p_lRow);
    if (p_lRow >= m_lRowCount || column.IsNull(row)) {
        return std::monostate();
    }
    switch (column.Kind()) {
        case ColumnKind::Long:
            return int64_t{column.Longs()[row]};
        case ColumnKind::Boolean:
            return int64_t{column.Booleans()[row]};
        case ColumnKind::Text:
            return column.Texts()[row];
        case ColumnKind::Double:
            if (m_aColumns[p_lColumn].m_eKind == FieldKind::Integer) {
                return static_cast<int64_t>(column.Numbers()[row]);
            }
            return column.Numbers()[row];
        default:
            return column.Numbers()[row];
    }
}

FieldValue ResultTable::Value(size_t p_lRow, std::string_view p_sName) const {
    const int column = ColumnIndex(p_sName);
    return column < 0 ? FieldValue() : Value(p_lRow, static_cast<size_t>(column));
}

void ResultTable::AppendRow(std::vector<FieldValue> p_aRow) {
    for (size_t i = 0; i < m_aValues.size(); ++i) {
        FieldValue& value = p_aRow.at(i);
        if (const auto* integer = std::get_if<int64_t>(&value)) {
            AppendInteger(i, *integer);
        } else if (const auto* number = std::get_if<double>(&value)) {
            AppendNumber(i, *number);
        } else if (auto* text = std::get_if<std::string>(&value)) {
            AppendText(i, std::move(*text));
        } else {
            AppendNull(i);
        }
    }
    EndRow();
}

void ResultTable::AppendNull(size_t p_lColumn) {
    m_aValues[p_lColumn].AppendNull();
}

void ResultTable::AppendInteger(size_t p_lColumn, int64_t p_llValue) {
    RowColumn& column = m_aValues[p_lColumn];
    switch (column.Kind()) {
        case ColumnKind::Boolean:
            column.AppendBoolean(p_llValue != 0);
            return;
        case ColumnKind::Long:
            if (FitsLong(p_llValue)) {
                column.AppendLong(static_cast<int32_t>(p_llValue));
                return;
            }
            column = Widened(column);
            break;
        default:
            break;
    }
    column.AppendNumber(static_cast<double>(p_llValue));
}

void ResultTable::AppendNumber(size_t p_lColumn, double p_dValue) {
    m_aValues[p_lColumn].AppendNumber(p_dValue);
}

void ResultTable::AppendText(size_t p_lColumn, std::string p_sValue) {
    m_aValues[p_lColumn].AppendText(std::move(p_sValue));
}

void ResultTable::Truncate(size_t p_lRows) {
    for (; m_lRowCount > p_lRows; --m_lRowCount) {
        for (RowColumn& column : m_aValues) {
            column.PopBack();
        }
    }
}

std::vector<RowColumn> ResultTable::TakeValues() {
    std::vector<RowColumn> values = std::move(m_aValues);
    m_aValues.clear();
    for (const ResultColumn& column : m_aColumns) {
        m_aValues.emplace_back(StorageKindOf(column.m_eKind));
    }
    m_lRowCount = 0;
    return values;
}

void AppendStatementRow(const SqlStatement& p_oRow, ResultTable& p_oTable) {
    const std::vector<ResultColumn>& columns = p_oTable.Columns();
    for (size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i);
        if (p_oRow.ColumnIsNull(column)) {
            p_oTable.AppendNull(i);
            continue;
        }
        switch (columns[i].m_eKind) {
            case FieldKind::Integer:
            case FieldKind::Boolean:
                p_oTable.AppendInteger(i, p_oRow.ColumnInt64(column));
                break;
            case FieldKind::Double:
            case FieldKind::Date:
                p_oTable.AppendNumber(i, p_oRow.ColumnDouble(column));
                break;
            case FieldKind::Text:
                p_oTable.AppendText(i, p_oRow.ColumnText(column));
                break;
        }
    }
    p_oTable.EndRow();
}

void AppendStatementRows(SqlStatement& p_oRows, ResultTable& p_oTable) {
    while (p_oRows.Step()) {
        AppendStatementRow(p_oRows, p_oTable);
    }
}

}  // namespace qv::facade
