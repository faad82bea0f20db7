// The layout description: the value that carries a layout (which fields a grid shows, in which
// order, with which captions and formats, and how it is sorted) between the data facade, the host
// and the viewer, and its parsed form, which is what travels inside the process.
//
//     element 0  header:       array 0..4: id, name, description, parent id, owner id
//     element 1  sort block:   array 0..4: sort text, primary id, primary direction,
//                              secondary id, secondary direction; Empty when there is no sort
//     element 2  column table: array (0..6, 0..n-1), one entry per column: parameter id, state,
//                              SQL column, caption, table mask, sequence, column format;
//                              Empty when the layout has no columns
//
// A description comes from outside (a host, the facade, a caller of the facade), so parsing
// checks the shape it relies on and fails with an automation error that names the offending
// part: error 13 when a part is not an array or a value does not convert, error 9 when elements
// or rows are missing, and the conversion's own error (6 overflow, 94 Null) otherwise. Values
// convert as the automation runtime converts them, so numbers sent as text are accepted. Parts
// hold at least the indices above (extra elements and rows are ignored); the entries of a column
// table start at index 0.
//
// A Variant is made only where a description crosses dispatch (a facade call, the viewer's
// LayoutInfo, a host); everything else passes the parsed form.
//
//     LayoutDescription layout = layout_codec::Parse(args[6]);
//     layout.Columns.push_back({13, 2, "Price", "Price", 1, 4, "##0.00"});
//     args[6] = layout_codec::ToVariant(layout);
#pragma once

#include "outside/variant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct LayoutHeader {
    int32_t Id = 0;
    std::string Name;
    std::string Description;
    int32_t ParentId = 0;
    int32_t OwnerId = 0;

    bool operator==(const LayoutHeader&) const = default;
};

// An ADO sort clause ("PctChange DESC, Symbol ASC") and the fields it was composed from.
// Directions: 0 ascending, any other value descending; a secondary id of -1 means none.
struct LayoutSort {
    std::string SortText;
    int32_t PriSortId = 0;
    int32_t PriSortDir = 0;
    int32_t SecSortId = -1;
    int32_t SecSortDir = 0;

    bool operator==(const LayoutSort&) const = default;
};

// One entry of the column table. State is a column state of the column model (1 system,
// 2 visible, 3 hidden, 4 always visible); SQLColumn is the recordset field, the entry's key.
struct LayoutColumn {
    int32_t ParameterId = 0;
    int32_t State = 0;
    std::string SQLColumn;
    std::string Caption;
    int32_t TableMask = 0;
    int32_t Sequence = 0;
    std::string ColumnFormat;

    bool operator==(const LayoutColumn&) const = default;
};

struct LayoutDescription {
    LayoutHeader Header;
    std::optional<LayoutSort> Sort;  // none: the sort block is Empty
    std::vector<LayoutColumn> Columns;

    bool operator==(const LayoutDescription&) const = default;
};

namespace layout_codec {

LayoutDescription Parse(const Variant& p_vDescription);
Variant ToVariant(const LayoutDescription& p_layout);

// The parts on their own, for the callers that send or keep one part (a header record, a column
// table saved apart from its header).
LayoutHeader ParseHeader(const Variant& p_vHeader);
Variant HeaderToVariant(const LayoutHeader& p_header);
// Empty gives none.
std::optional<LayoutSort> ParseSortBlock(const Variant& p_vSortBlock);
Variant SortBlockToVariant(const std::optional<LayoutSort>& p_sort);
// Empty gives no entries.
std::vector<LayoutColumn> ParseColumnTable(const Variant& p_vTable);
Variant ColumnTableToVariant(const std::vector<LayoutColumn>& p_columns);

}  // namespace layout_codec
}  // namespace qv
