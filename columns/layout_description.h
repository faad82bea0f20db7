// Reading the layout description, the value that carries a layout between the data facade, the
// host and the viewer state:
//
//     element 0  header:       array 0..4: id, name, description, parent id, owner id
//     element 1  sort block:   array 0..4: sort text, primary id, primary direction,
//                              secondary id, secondary direction; Empty when there is no sort
//     element 2  column table: array (0..6, 0..n-1), one entry per column (rows below);
//                              Empty when the layout has no columns
//
// A description comes from outside (a host, the facade), so every accessor checks the shape it
// relies on and fails with an automation error that names the offending part: error 13 when a
// part is not an array or a value does not convert, error 9 when elements or rows are missing,
// and the conversion's own error (6 overflow, 94 Null) otherwise. Nothing reads out of bounds.
#pragma once

#include "columns/column_state.h"
#include "outside/variant.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::LayoutDescription {

// The rows of a column entry.
enum ColumnRow : int32_t {
    kParameterIdRow = 0,
    kStateRow = 1,
    kSQLColumnRow = 2,
    kCaptionRow = 3,
    kTableMaskRow = 4,
    kSequenceRow = 5,
    kColumnFormatRow = 6,
};
constexpr int32_t kColumnRows = 7;

enum Element : int32_t { kHeader = 0, kSortBlock = 1, kColumnTable = 2 };

// The three elements of a description.
const VariantArray& Elements(const Variant& p_vDescription);
VariantArray& Elements(Variant& p_vDescription);

// The five elements of a header or sort block; p_sWhat names it in errors.
const VariantArray& FiveElements(const Variant& p_vValue, std::string_view p_sWhat);

// The column table, or null when it is Empty.
const VariantArray* ColumnTable(const Variant& p_vTable);
VariantArray* ColumnTable(Variant& p_vTable);
// The number of entries of a checked column table.
int32_t EntryCount(const VariantArray& p_table);

// A cell of a checked column table, converted.
int32_t LongCell(const VariantArray& p_table, ColumnRow p_eRow, int32_t p_lEntry);
std::string TextCell(const VariantArray& p_table, ColumnRow p_eRow, int32_t p_lEntry);

// One entry of a column table, converted.
struct ColumnEntry {
    int32_t ParameterId = 0;
    ColumnState State = static_cast<ColumnState>(0);
    std::string SQLColumn;
    std::string Caption;
    int32_t TableMask = 0;
    int32_t Sequence = 0;
    std::string ColumnFormat;
};

ColumnEntry ReadEntry(const VariantArray& p_table, int32_t p_lEntry);

// Grows a column table to entries 0..p_lNewUpper, keeping the existing ones; an Empty table
// becomes a new one.
void GrowTable(Variant& p_vTable, int32_t p_lNewUpper);

// Appends p_entry with sequence = its index + 1 and returns that index.
int32_t AppendEntry(Variant& p_vTable, ColumnEntry p_entry);

// Conversions that name the value in their error.
int32_t ToLongNamed(const Variant& p_vValue, std::string_view p_sWhat);
std::string ToTextNamed(const Variant& p_vValue, std::string_view p_sWhat);

}  // namespace qv::LayoutDescription
