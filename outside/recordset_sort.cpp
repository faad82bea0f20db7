#include "outside/recordset_sort.h"

#include "outside/automation_error.h"
#include "outside/fields.h"
#include "outside/recordset_criteria.h"
#include "outside/recordset_rows.h"
#include "outside/text_util.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace qv {
namespace {

int CompareNumbers(double p_dLeft, double p_dRight) {
    if (p_dLeft < p_dRight) {
        return -1;
    }
    return p_dLeft > p_dRight ? 1 : 0;
}

// Null first; NaN, which has no order, is ranked with Null so that the order stays strict.
uint32_t Rank(const RowColumn& p_oColumn, uint32_t p_lRow, double p_dValue) {
    return p_oColumn.IsNull(p_lRow) || std::isnan(p_dValue) ? 0 : 1;
}

double NumberAt(const RowColumn& p_oColumn, uint32_t p_lRow) {
    switch (p_oColumn.Kind()) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            return p_oColumn.Numbers()[p_lRow];
        case ColumnKind::Long:
            return p_oColumn.Longs()[p_lRow];
        case ColumnKind::Integer:
            return p_oColumn.Integers()[p_lRow];
        case ColumnKind::Boolean:
            return p_oColumn.Booleans()[p_lRow] != 0 ? -1.0 : 0.0;
        case ColumnKind::Text:
        case ColumnKind::Variant:
            return 0;
    }
    return 0;
}

// 0 blank, 1 number, date or boolean, 2 text; anything else cannot be sorted (error 13).
int VariantClass(const Variant& p_vValue) {
    if (p_vValue.IsNull() || p_vValue.IsEmpty()) {
        return 0;
    }
    if (p_vValue.IsNumber() || p_vValue.IsDate() || p_vValue.IsBool()) {
        return 1;
    }
    if (p_vValue.IsString()) {
        return 2;
    }
    RaiseRuntimeError(errors::kTypeMismatch, "a value that cannot be sorted");
}

// Numbers before text, even numeric text: CompareValues compares "10" with 9 as numbers but with
// "9" as text, which is no order at all, and a sort needs one.
int CompareVariants(const Variant& p_vLeft, const Variant& p_vRight) {
    const int leftClass = VariantClass(p_vLeft);
    const int rightClass = VariantClass(p_vRight);
    if (leftClass != rightClass || leftClass == 0) {
        return CompareNumbers(leftClass, rightClass);
    }
    if (leftClass == 2) {
        return CompareIgnoreCase(p_vLeft.ToString(), p_vRight.ToString());
    }
    const double left = p_vLeft.ToDouble();
    const double right = p_vRight.ToDouble();
    if (std::isnan(left) || std::isnan(right)) {
        return CompareNumbers(std::isnan(left) ? 0 : 1, std::isnan(right) ? 0 : 1);
    }
    return CompareNumbers(left, right);
}

int CompareCells(const RowColumn& p_oColumn, uint32_t p_lLeft, uint32_t p_lRight) {
    if (IsNumericKind(p_oColumn.Kind())) {
        const double left = NumberAt(p_oColumn, p_lLeft);
        const double right = NumberAt(p_oColumn, p_lRight);
        const uint32_t leftRank = Rank(p_oColumn, p_lLeft, left);
        const uint32_t rightRank = Rank(p_oColumn, p_lRight, right);
        if (leftRank != rightRank || leftRank == 0) {
            return CompareNumbers(leftRank, rightRank);
        }
        return CompareNumbers(left, right);
    }
    const bool leftNull = p_oColumn.IsNull(p_lLeft);
    const bool rightNull = p_oColumn.IsNull(p_lRight);
    if (leftNull || rightNull) {
        return leftNull == rightNull ? 0 : (leftNull ? -1 : 1);
    }
    if (p_oColumn.Kind() == ColumnKind::Text) {
        return CompareIgnoreCase(p_oColumn.Texts()[p_lLeft], p_oColumn.Texts()[p_lRight]);
    }
    return CompareVariants(p_oColumn.Variants()[p_lLeft], p_oColumn.Variants()[p_lRight]);
}

// The order of two rows by the keys from p_lFirst on.
class RowOrder {
  public:
    RowOrder(const RowStore& p_oRows, std::span<const SortKey> p_keys)
        : m_oRows(p_oRows), m_keys(p_keys) {}

    bool Less(uint32_t p_lLeft, uint32_t p_lRight, size_t p_lFirst) const {
        for (size_t k = p_lFirst; k < m_keys.size(); ++k) {
            const int order = CompareCells(m_oRows.Column(m_keys[k].Column), p_lLeft, p_lRight);
            if (order != 0) {
                return m_keys[k].Descending ? order > 0 : order < 0;
            }
        }
        return false;
    }

  private:
    const RowStore& m_oRows;
    std::span<const SortKey> m_keys;
};

// The first key is copied next to the row id, so that most comparisons read one contiguous
// array, as a hand-written sort of (key, row) pairs does.
template <class Key>
struct Entry {
    Key Value;
    uint32_t Row;
    uint32_t Rank;
};

template <class Key, class CompareKeys>
void SortEntries(std::vector<Entry<Key>>& p_entries, bool p_bDescending, CompareKeys p_compare,
                 const RowOrder& p_order, std::vector<uint32_t>& p_rows) {
    std::stable_sort(p_entries.begin(), p_entries.end(),
                     [&](const Entry<Key>& p_left, const Entry<Key>& p_right) {
                         int order = CompareNumbers(p_left.Rank, p_right.Rank);
                         if (order == 0 && p_left.Rank != 0) {
                             order = p_compare(p_left.Value, p_right.Value);
                         }
                         if (order != 0) {
                             return p_bDescending ? order > 0 : order < 0;
                         }
                         return p_order.Less(p_left.Row, p_right.Row, 1);
                     });
    for (size_t i = 0; i < p_entries.size(); ++i) {
        p_rows[i] = p_entries[i].Row;
    }
}

void SortByNumbers(const RowColumn& p_oColumn, bool p_bDescending, const RowOrder& p_order,
                   std::vector<uint32_t>& p_rows) {
    std::vector<Entry<double>> entries(p_rows.size());
    for (size_t i = 0; i < p_rows.size(); ++i) {
        const uint32_t row = p_rows[i];
        const double value = NumberAt(p_oColumn, row);
        entries[i] = Entry<double>{value, row, Rank(p_oColumn, row, value)};
    }
    SortEntries(entries, p_bDescending, CompareNumbers, p_order, p_rows);
}

void SortByTexts(const RowColumn& p_oColumn, bool p_bDescending, const RowOrder& p_order,
                 std::vector<uint32_t>& p_rows) {
    std::vector<Entry<const std::string*>> entries(p_rows.size());
    for (size_t i = 0; i < p_rows.size(); ++i) {
        const uint32_t row = p_rows[i];
        const uint32_t rank = p_oColumn.IsNull(row) ? 0 : 1;
        entries[i] = Entry<const std::string*>{&p_oColumn.Texts()[row], row, rank};
    }
    SortEntries(
        entries, p_bDescending,
        [](const std::string* p_sLeft, const std::string* p_sRight) {
            return CompareIgnoreCase(*p_sLeft, *p_sRight);
        },
        p_order, p_rows);
}

bool IsDirection(std::string_view p_sText, const CriteriaToken& p_token) {
    return IsCriteriaKeyword(p_sText, p_token, "asc") ||
           IsCriteriaKeyword(p_sText, p_token, "desc");
}

std::string_view ProblemAt(const CriteriaToken& p_token, std::string_view p_sExpected) {
    return p_token.Kind == CriteriaTokenKind::Invalid ? "invalid token" : p_sExpected;
}

}  // namespace

std::vector<SortKey> ParseSortKeys(std::string_view p_sText, const Fields& p_oFields) {
    const std::vector<CriteriaToken> tokens = TokenizeCriteria(p_sText);
    std::vector<SortKey> keys;
    size_t next = 0;
    while (true) {
        const CriteriaToken& field = tokens[next];
        if (field.Kind != CriteriaTokenKind::Name && field.Kind != CriteriaTokenKind::QuotedName) {
            RaiseCriteriaError(errors::kArgumentsWrongType,
                               ProblemAt(field, "expected a field name"), p_sText, field);
        }
        const std::string_view name = CriteriaTokenName(p_sText, field);
        const int32_t index = name.empty() ? -1 : p_oFields.IndexOf(name);
        if (index < 0) {
            RaiseCriteriaError(errors::kItemNotFound, "unknown field '" + std::string(name) + "'",
                               p_sText, field);
        }
        SortKey key{static_cast<size_t>(index), false};
        ++next;
        if (IsDirection(p_sText, tokens[next])) {
            key.Descending = IsCriteriaKeyword(p_sText, tokens[next], "desc");
            ++next;
        }
        keys.push_back(key);
        const CriteriaToken& separator = tokens[next];
        if (separator.Kind == CriteriaTokenKind::End) {
            return keys;
        }
        if (separator.Kind != CriteriaTokenKind::Comma) {
            RaiseCriteriaError(errors::kArgumentsWrongType,
                               ProblemAt(separator, "expected ASC, DESC, ',' or the end"), p_sText,
                               separator);
        }
        ++next;
    }
}

void SortRows(const RowStore& p_oRows, std::span<const SortKey> p_keys,
              std::vector<uint32_t>& p_rows) {
    if (p_keys.empty()) {
        return;
    }
    const RowOrder order(p_oRows, p_keys);
    const RowColumn& first = p_oRows.Column(p_keys.front().Column);
    const bool descending = p_keys.front().Descending;
    if (IsNumericKind(first.Kind())) {
        SortByNumbers(first, descending, order, p_rows);
        return;
    }
    if (first.Kind() == ColumnKind::Text) {
        SortByTexts(first, descending, order, p_rows);
        return;
    }
    std::stable_sort(p_rows.begin(), p_rows.end(), [&](uint32_t p_lLeft, uint32_t p_lRight) {
        return order.Less(p_lLeft, p_lRight, 0);
    });
}

}  // namespace qv
