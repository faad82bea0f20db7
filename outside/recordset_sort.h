// The Sort clause of a recordset: "[Price] DESC, Symbol ASC".
//
// Keys are separated by commas; each is a field name, bare or in brackets, optionally followed by
// ASC or DESC in any case (ascending when left out). Rows that tie on every key keep the order
// they had. Numbers, dates and booleans sort numerically (True is -1, as the runtime has it), text
// without regard to case; Null sorts first ascending and last descending. A Variant field sorts
// its numbers, dates and booleans before its text, and its text as text even where it is numeric:
// comparing "10" with 9 as numbers and with "9" as text gives no order to sort by.
//
//     std::vector<SortKey> keys = ParseSortKeys("[Price] DESC,Symbol ASC", recordset.Fields());
//     SortRows(store, keys, rows);
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

class Fields;
class RowStore;

struct SortKey {
    size_t Column = 0;
    bool Descending = false;
};

// The keys of p_sText, which must not be blank. Errors name the offending token, its position
// (1-based) and the text: 3001 for a syntax error, 3265 for an unknown field.
std::vector<SortKey> ParseSortKeys(std::string_view p_sText, const Fields& p_oFields);

// Sorts the row ids p_rows stably by p_keys. Comparing values of a Variant field that cannot be
// compared is error 13, and p_rows is then left in an unspecified order.
void SortRows(const RowStore& p_oRows, std::span<const SortKey> p_keys,
              std::vector<uint32_t>& p_rows);

}  // namespace qv
