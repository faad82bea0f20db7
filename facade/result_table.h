// Rows handed from the storage to the facade components: named, typed columns, each held as the
// typed array a recordset keeps its values in, so that a list read from the database becomes a
// recordset without another copy. The components turn a table into a recordset whose field
// names are the column names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "facade/field_catalogue.h"
#include "outside/recordset_rows.h"

namespace qv::facade {

class SqlStatement;

// No value (NULL), an integer (also booleans, 0 or 1), a number (also dates, as day serials) or
// a text.
using FieldValue = std::variant<std::monostate, int64_t, double, std::string>;

struct ResultColumn {
    std::string m_sName;
    FieldKind m_eKind = FieldKind::Text;
};

class ResultTable {
  public:
    ResultTable() = default;
    explicit ResultTable(std::vector<ResultColumn> p_aColumns);

    const std::vector<ResultColumn>& Columns() const { return m_aColumns; }
    size_t RowCount() const { return m_lRowCount; }
    bool Empty() const { return m_lRowCount == 0; }
    // The index of a column by name without regard to letter case, or -1.
    int ColumnIndex(std::string_view p_sName) const;
    FieldValue Value(size_t p_lRow, size_t p_lColumn) const;
    // The value in row p_lRow of the named column; NULL when there is no such column.
    FieldValue Value(size_t p_lRow, std::string_view p_sName) const;

    // One value per column, in column order.
    void AppendRow(std::vector<FieldValue> p_aRow);
    // Appends one value to a column; a reader fills each column of a row in turn, then ends the
    // row with EndRow.
    void AppendNull(size_t p_lColumn);
    void AppendInteger(size_t p_lColumn, int64_t p_llValue);
    void AppendNumber(size_t p_lColumn, double p_dValue);
    void AppendText(size_t p_lColumn, std::string p_sValue);
    void EndRow() { ++m_lRowCount; }
    // Keeps the first p_lRows rows.
    void Truncate(size_t p_lRows);

    // The values, column by column, leaving the table without rows.
    std::vector<RowColumn> TakeValues();

  private:
    std::vector<ResultColumn> m_aColumns;
    std::vector<RowColumn> m_aValues;
    size_t m_lRowCount = 0;
};

// The kind of array a column of p_eKind starts in; an integer column moves to numbers when a
// value does not fit 32 bits.
ColumnKind StorageKindOf(FieldKind p_eKind);

// The statement's current row into the table's columns, each value straight into its column's
// typed array: the statement's columns are the table's, in the table's order.
void AppendStatementRow(const SqlStatement& p_oRow, ResultTable& p_oTable);
// Every row the statement gives, to its end.
void AppendStatementRows(SqlStatement& p_oRows, ResultTable& p_oTable);

}  // namespace qv::facade
