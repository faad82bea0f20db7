#include "columns/layout_description.h"

#include "outside/automation_error.h"

#include <utility>

namespace qv::LayoutDescription {
namespace {

constexpr const char* kRowNames[kColumnRows] = {
    "parameter id", "state", "SQL column", "caption", "table mask", "sequence", "column format",
};

[[noreturn]] void RaiseMalformed(int32_t p_lNumber, std::string_view p_sDetail) {
    RaiseRuntimeError(p_lNumber, "layout description: " + std::string(p_sDetail));
}

bool Covers(const VariantArray& p_array, int p_iDimension, int32_t p_lLower, int32_t p_lUpper) {
    return p_array.LBound(p_iDimension) <= p_lLower && p_array.UBound(p_iDimension) >= p_lUpper;
}

const VariantArray& CheckedVector(const Variant& p_vValue, int32_t p_lUpper,
                                  std::string_view p_sWhat) {
    if (!p_vValue.IsArray()) {
        RaiseMalformed(errors::kTypeMismatch, std::string(p_sWhat) + " is not an array");
    }
    const VariantArray& array = p_vValue.Array();
    if (array.Dimensions() != 1 || !Covers(array, 1, 0, p_lUpper)) {
        RaiseMalformed(errors::kSubscriptOutOfRange,
                       std::string(p_sWhat) + " needs elements 0 to " + std::to_string(p_lUpper));
    }
    return array;
}

void CheckColumnTable(const VariantArray& p_table) {
    if (p_table.Dimensions() != 2) {
        RaiseMalformed(errors::kSubscriptOutOfRange, "the column table is not two-dimensional");
    }
    if (!Covers(p_table, 1, 0, kColumnRows - 1)) {
        RaiseMalformed(errors::kSubscriptOutOfRange, "the column table needs rows 0 to 6");
    }
    const bool noEntries = p_table.UBound(2) < p_table.LBound(2);
    if (!noEntries && p_table.LBound(2) != 0) {
        RaiseMalformed(errors::kSubscriptOutOfRange,
                       "the entries of the column table must start at index 0");
    }
}

std::string CellName(ColumnRow p_eRow, int32_t p_lEntry) {
    return "column entry " + std::to_string(p_lEntry) + " row " + std::to_string(p_eRow) + " (" +
           kRowNames[p_eRow] + ")";
}

}  // namespace

const VariantArray& Elements(const Variant& p_vDescription) {
    return CheckedVector(p_vDescription, kColumnTable, "the description");
}

VariantArray& Elements(Variant& p_vDescription) {
    Elements(static_cast<const Variant&>(p_vDescription));
    return p_vDescription.Array();
}

const VariantArray& FiveElements(const Variant& p_vValue, std::string_view p_sWhat) {
    return CheckedVector(p_vValue, 4, p_sWhat);
}

const VariantArray* ColumnTable(const Variant& p_vTable) {
    if (p_vTable.IsEmpty()) {
        return nullptr;
    }
    if (!p_vTable.IsArray()) {
        RaiseMalformed(errors::kTypeMismatch, "the column table is not an array");
    }
    CheckColumnTable(p_vTable.Array());
    return &p_vTable.Array();
}

VariantArray* ColumnTable(Variant& p_vTable) {
    return ColumnTable(static_cast<const Variant&>(p_vTable)) ? &p_vTable.Array() : nullptr;
}

int32_t EntryCount(const VariantArray& p_table) {
    const int32_t upper = p_table.UBound(2);
    return upper < p_table.LBound(2) ? 0 : upper + 1;
}

int32_t LongCell(const VariantArray& p_table, ColumnRow p_eRow, int32_t p_lEntry) {
    return ToLongNamed(p_table.At(p_eRow, p_lEntry), CellName(p_eRow, p_lEntry));
}

std::string TextCell(const VariantArray& p_table, ColumnRow p_eRow, int32_t p_lEntry) {
    return ToTextNamed(p_table.At(p_eRow, p_lEntry), CellName(p_eRow, p_lEntry));
}

ColumnEntry ReadEntry(const VariantArray& p_table, int32_t p_lEntry) {
    ColumnEntry entry;
    entry.ParameterId = LongCell(p_table, kParameterIdRow, p_lEntry);
    entry.State = static_cast<ColumnState>(LongCell(p_table, kStateRow, p_lEntry));
    entry.SQLColumn = TextCell(p_table, kSQLColumnRow, p_lEntry);
    entry.Caption = TextCell(p_table, kCaptionRow, p_lEntry);
    entry.TableMask = LongCell(p_table, kTableMaskRow, p_lEntry);
    entry.Sequence = LongCell(p_table, kSequenceRow, p_lEntry);
    entry.ColumnFormat = TextCell(p_table, kColumnFormatRow, p_lEntry);
    return entry;
}

void GrowTable(Variant& p_vTable, int32_t p_lNewUpper) {
    if (p_lNewUpper < -1) {
        RaiseMalformed(errors::kSubscriptOutOfRange,
                       "a column table cannot end at entry " + std::to_string(p_lNewUpper));
    }
    VariantArray* table = ColumnTable(p_vTable);
    if (!table) {
        p_vTable = VariantArray::Table(kColumnRows, p_lNewUpper + 1);
        return;
    }
    table->RedimPreserve(p_lNewUpper);
}

int32_t AppendEntry(Variant& p_vTable, ColumnEntry p_entry) {
    const VariantArray* table = ColumnTable(p_vTable);
    const int32_t index = table ? EntryCount(*table) : 0;
    GrowTable(p_vTable, index);
    VariantArray& grown = p_vTable.Array();
    grown.At(kParameterIdRow, index) = p_entry.ParameterId;
    grown.At(kStateRow, index) = static_cast<int32_t>(p_entry.State);
    grown.At(kSQLColumnRow, index) = std::move(p_entry.SQLColumn);
    grown.At(kCaptionRow, index) = std::move(p_entry.Caption);
    grown.At(kTableMaskRow, index) = p_entry.TableMask;
    grown.At(kSequenceRow, index) = index + 1;
    grown.At(kColumnFormatRow, index) = std::move(p_entry.ColumnFormat);
    return index;
}

int32_t ToLongNamed(const Variant& p_vValue, std::string_view p_sWhat) {
    try {
        return p_vValue.ToLong();
    } catch (const AutomationError& error) {
        RaiseMalformed(error.Number(), std::string(p_sWhat) + " is not a 32-bit integer");
    }
}

std::string ToTextNamed(const Variant& p_vValue, std::string_view p_sWhat) {
    try {
        return p_vValue.ToString();
    } catch (const AutomationError& error) {
        RaiseMalformed(error.Number(), std::string(p_sWhat) + " is not text");
    }
}

}  // namespace qv::LayoutDescription
