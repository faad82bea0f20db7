#include "outside/layout_description.h"

#include "outside/automation_error.h"

#include <string_view>
#include <utility>

namespace qv::layout_codec {
namespace {

constexpr int32_t kHeaderElement = 0;
constexpr int32_t kSortElement = 1;
constexpr int32_t kColumnElement = 2;
constexpr int32_t kLastElement = 2;
constexpr int32_t kLastHeaderElement = 4;
constexpr int32_t kLastSortElement = 4;
constexpr int32_t kColumnRows = 7;

constexpr const char* kRowNames[kColumnRows] = {
    "parameter id", "state", "SQL column", "caption", "table mask", "sequence", "column format",
};

[[noreturn]] void RaiseMalformed(int32_t p_lNumber, std::string_view p_sDetail) {
    RaiseRuntimeError(p_lNumber, "layout description: " + std::string(p_sDetail));
}

// Where a value sits, named only when reading it fails: reading a description must stay cheap.
struct Place {
    const char* Part;
    int32_t Entry = -1;  // a column entry, with Part the name of its row
    int32_t Row = 0;
};

std::string NameOf(const Place& p_place) {
    if (p_place.Entry < 0) {
        return p_place.Part;
    }
    return "column entry " + std::to_string(p_place.Entry) + " row " + std::to_string(p_place.Row) +
           " (" + p_place.Part + ")";
}

int32_t LongOf(const Variant& p_vValue, const Place& p_place) {
    try {
        return p_vValue.ToLong();
    } catch (const AutomationError& error) {
        RaiseMalformed(error.Number(), NameOf(p_place) + " is not a 32-bit integer");
    }
}

std::string TextOf(const Variant& p_vValue, const Place& p_place) {
    try {
        return p_vValue.ToString();
    } catch (const AutomationError& error) {
        RaiseMalformed(error.Number(), NameOf(p_place) + " is not text");
    }
}

bool Covers(const VariantArray& p_array, int p_iDimension, int32_t p_lLower, int32_t p_lUpper) {
    return p_array.LBound(p_iDimension) <= p_lLower && p_array.UBound(p_iDimension) >= p_lUpper;
}

const VariantArray& CheckedVector(const Variant& p_vValue, int32_t p_lUpper, const char* p_sWhat) {
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

const VariantArray& CheckedTable(const Variant& p_vTable) {
    if (!p_vTable.IsArray()) {
        RaiseMalformed(errors::kTypeMismatch, "the column table is not an array");
    }
    const VariantArray& table = p_vTable.Array();
    if (table.Dimensions() != 2) {
        RaiseMalformed(errors::kSubscriptOutOfRange, "the column table is not two-dimensional");
    }
    if (!Covers(table, 1, 0, kColumnRows - 1)) {
        RaiseMalformed(errors::kSubscriptOutOfRange, "the column table needs rows 0 to 6");
    }
    const bool noEntries = table.UBound(2) < table.LBound(2);
    if (!noEntries && table.LBound(2) != 0) {
        RaiseMalformed(errors::kSubscriptOutOfRange,
                       "the entries of the column table must start at index 0");
    }
    return table;
}

LayoutColumn ReadEntry(const VariantArray& p_table, int32_t p_lEntry) {
    const auto cell = [&](int32_t p_lRow) -> const Variant& {
        return p_table.At(p_lRow, p_lEntry);
    };
    const auto place = [&](int32_t p_lRow) { return Place{kRowNames[p_lRow], p_lEntry, p_lRow}; };
    LayoutColumn column;
    column.ParameterId = LongOf(cell(0), place(0));
    column.State = LongOf(cell(1), place(1));
    column.SQLColumn = TextOf(cell(2), place(2));
    column.Caption = TextOf(cell(3), place(3));
    column.TableMask = LongOf(cell(4), place(4));
    column.Sequence = LongOf(cell(5), place(5));
    column.ColumnFormat = TextOf(cell(6), place(6));
    return column;
}

}  // namespace

LayoutDescription Parse(const Variant& p_vDescription) {
    const VariantArray& elements = CheckedVector(p_vDescription, kLastElement, "the description");
    LayoutDescription layout;
    layout.Header = ParseHeader(elements.At(kHeaderElement));
    layout.Sort = ParseSortBlock(elements.At(kSortElement));
    layout.Columns = ParseColumnTable(elements.At(kColumnElement));
    return layout;
}

Variant ToVariant(const LayoutDescription& p_layout) {
    return VariantArray::Vector({HeaderToVariant(p_layout.Header),
                                 SortBlockToVariant(p_layout.Sort),
                                 ColumnTableToVariant(p_layout.Columns)});
}

LayoutHeader ParseHeader(const Variant& p_vHeader) {
    const VariantArray& header = CheckedVector(p_vHeader, kLastHeaderElement, "the layout header");
    LayoutHeader parsed;
    parsed.Id = LongOf(header.At(0), {"the layout id"});
    parsed.Name = TextOf(header.At(1), {"the layout name"});
    parsed.Description = TextOf(header.At(2), {"the layout's description"});
    parsed.ParentId = LongOf(header.At(3), {"the parent layout id"});
    parsed.OwnerId = LongOf(header.At(4), {"the layout's owner id"});
    return parsed;
}

Variant HeaderToVariant(const LayoutHeader& p_header) {
    return VariantArray::Vector(
        {p_header.Id, p_header.Name, p_header.Description, p_header.ParentId, p_header.OwnerId});
}

std::optional<LayoutSort> ParseSortBlock(const Variant& p_vSortBlock) {
    if (p_vSortBlock.IsEmpty()) {
        return std::nullopt;
    }
    const VariantArray& block = CheckedVector(p_vSortBlock, kLastSortElement, "the sort block");
    LayoutSort sort;
    sort.SortText = TextOf(block.At(0), {"the sort text"});
    sort.PriSortId = LongOf(block.At(1), {"the primary sort field id"});
    sort.PriSortDir = LongOf(block.At(2), {"the primary sort direction"});
    sort.SecSortId = LongOf(block.At(3), {"the secondary sort field id"});
    sort.SecSortDir = LongOf(block.At(4), {"the secondary sort direction"});
    return sort;
}

Variant SortBlockToVariant(const std::optional<LayoutSort>& p_sort) {
    if (!p_sort) {
        return Variant();
    }
    return VariantArray::Vector({p_sort->SortText, p_sort->PriSortId, p_sort->PriSortDir,
                                 p_sort->SecSortId, p_sort->SecSortDir});
}

std::vector<LayoutColumn> ParseColumnTable(const Variant& p_vTable) {
    std::vector<LayoutColumn> columns;
    if (p_vTable.IsEmpty()) {
        return columns;
    }
    const VariantArray& table = CheckedTable(p_vTable);
    const int32_t count = table.UBound(2) < table.LBound(2) ? 0 : table.UBound(2) + 1;
    columns.reserve(static_cast<size_t>(count));
    for (int32_t entry = 0; entry < count; ++entry) {
        columns.push_back(ReadEntry(table, entry));
    }
    return columns;
}

Variant ColumnTableToVariant(const std::vector<LayoutColumn>& p_columns) {
    if (p_columns.empty()) {
        return Variant();
    }
    VariantArray table = VariantArray::Table(kColumnRows, static_cast<int32_t>(p_columns.size()));
    int32_t entry = 0;
    for (const LayoutColumn& column : p_columns) {
        table.At(0, entry) = column.ParameterId;
        table.At(1, entry) = column.State;
        table.At(2, entry) = column.SQLColumn;
        table.At(3, entry) = column.Caption;
        table.At(4, entry) = column.TableMask;
        table.At(5, entry) = column.Sequence;
        table.At(6, entry) = column.ColumnFormat;
        ++entry;
    }
    return table;
}

}  // namespace qv::layout_codec
