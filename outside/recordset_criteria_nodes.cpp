#include "outside/recordset_criteria_nodes.h"

#include "outside/recordset_rows.h"
#include "outside/text_util.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace qv {
namespace {

bool OrderMeets(int p_iOrder, CompareOp p_eOp) {
    switch (p_eOp) {
        case CompareOp::Equal:
            return p_iOrder == 0;
        case CompareOp::NotEqual:
            return p_iOrder != 0;
        case CompareOp::Less:
            return p_iOrder < 0;
        case CompareOp::LessEqual:
            return p_iOrder <= 0;
        case CompareOp::Greater:
            return p_iOrder > 0;
        case CompareOp::GreaterEqual:
            return p_iOrder >= 0;
        case CompareOp::Like:
            return false;
    }
    return false;
}

// Where a comparison writes whether each row meets it, and how it merges with what is there.
struct Marks {
    const CriteriaRows& Rows;
    MatchMerge Merge;
    uint8_t* Matches;
};

// Over dense rows (no ids) the compiler vectorizes the loop for integer columns. The count and
// ids are copied first because a store through the matches may alias them, which would force a
// reload on every row.
template <class Meets, class Merge>
void MarkEach(const CriteriaRows& p_rows, uint8_t* p_matches, Meets p_bMeets, Merge p_merge) {
    const size_t count = p_rows.Count;
    const uint32_t* ids = p_rows.Ids;
    if (ids == nullptr) {
        for (size_t i = 0; i < count; ++i) {
            p_matches[i] = p_merge(p_matches[i], static_cast<uint8_t>(p_bMeets(i)));
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        p_matches[i] = p_merge(p_matches[i], static_cast<uint8_t>(p_bMeets(ids[i])));
    }
}

template <class Meets>
void MarkRows(const Marks& p_marks, Meets p_bMeets) {
    switch (p_marks.Merge) {
        case MatchMerge::Set:
            MarkEach(p_marks.Rows, p_marks.Matches, p_bMeets,
                     [](uint8_t, uint8_t p_iMeets) { return p_iMeets; });
            return;
        case MatchMerge::And:
            MarkEach(p_marks.Rows, p_marks.Matches, p_bMeets, [](uint8_t p_iWas, uint8_t p_iMeets) {
                return static_cast<uint8_t>(p_iWas & p_iMeets);
            });
            return;
        case MatchMerge::Or:
            MarkEach(p_marks.Rows, p_marks.Matches, p_bMeets, [](uint8_t p_iWas, uint8_t p_iMeets) {
                return static_cast<uint8_t>(p_iWas | p_iMeets);
            });
            return;
    }
}

template <class T, class ToNumber, class Number>
void MarkNumbers(const std::vector<T>& p_values, ToNumber p_toNumber, CompareOp p_eOp,
                 Number p_dValue, const Marks& p_marks) {
    const T* values = p_values.data();
    switch (p_eOp) {
        case CompareOp::Equal:
            MarkRows(p_marks,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) == p_dValue; });
            return;
        case CompareOp::NotEqual:
            MarkRows(p_marks,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) != p_dValue; });
            return;
        case CompareOp::Less:
            MarkRows(p_marks, [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) < p_dValue; });
            return;
        case CompareOp::LessEqual:
            MarkRows(p_marks,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) <= p_dValue; });
            return;
        case CompareOp::Greater:
            MarkRows(p_marks, [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) > p_dValue; });
            return;
        case CompareOp::GreaterEqual:
            MarkRows(p_marks,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) >= p_dValue; });
            return;
        case CompareOp::Like:
            MarkRows(p_marks, [](size_t) { return false; });
            return;
    }
}

// Booleans compare as the runtime's numbers: True is -1.
double BooleanAsNumber(uint8_t p_b) {
    return p_b != 0 ? -1.0 : 0.0;
}

// Integer columns compared with a whole number compare as integers: the compiler vectorizes
// those loops, not the ones that convert each value to a Double.
bool IsWholeLong(double p_dValue) {
    return p_dValue == std::floor(p_dValue) && p_dValue >= std::numeric_limits<int32_t>::min() &&
           p_dValue <= std::numeric_limits<int32_t>::max();
}

void MarkColumnNumbers(const RowColumn& p_oColumn, CompareOp p_eOp, double p_dValue,
                       const Marks& p_marks) {
    switch (p_oColumn.Kind()) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            MarkNumbers(
                p_oColumn.Numbers(), [](double p_d) { return p_d; }, p_eOp, p_dValue, p_marks);
            return;
        case ColumnKind::Long:
            if (IsWholeLong(p_dValue)) {
                MarkNumbers(
                    p_oColumn.Longs(), [](int32_t p_l) { return p_l; }, p_eOp,
                    static_cast<int32_t>(p_dValue), p_marks);
                return;
            }
            MarkNumbers(
                p_oColumn.Longs(), [](int32_t p_l) { return static_cast<double>(p_l); }, p_eOp,
                p_dValue, p_marks);
            return;
        case ColumnKind::Integer:
            if (IsWholeLong(p_dValue)) {
                MarkNumbers(
                    p_oColumn.Integers(), [](int16_t p_i) { return int32_t{p_i}; }, p_eOp,
                    static_cast<int32_t>(p_dValue), p_marks);
                return;
            }
            MarkNumbers(
                p_oColumn.Integers(), [](int16_t p_i) { return static_cast<double>(p_i); }, p_eOp,
                p_dValue, p_marks);
            return;
        case ColumnKind::Boolean:
            MarkNumbers(
                p_oColumn.Booleans(), [](uint8_t p_b) { return BooleanAsNumber(p_b); }, p_eOp,
                p_dValue, p_marks);
            return;
        case ColumnKind::Text:
        case ColumnKind::Variant:
            MarkRows(p_marks, [](size_t) { return false; });
            return;
    }
}

void MarkTexts(const std::vector<std::string>& p_texts, CompareOp p_eOp,
               const std::string& p_sValue, const Marks& p_marks) {
    const std::string* texts = p_texts.data();
    switch (p_eOp) {
        case CompareOp::Equal:
            MarkRows(p_marks,
                     [&](size_t p_lRow) { return EqualsIgnoreCase(texts[p_lRow], p_sValue); });
            return;
        case CompareOp::NotEqual:
            MarkRows(p_marks,
                     [&](size_t p_lRow) { return !EqualsIgnoreCase(texts[p_lRow], p_sValue); });
            return;
        case CompareOp::Like:
            MarkRows(p_marks, [&](size_t p_lRow) { return LikeMatches(texts[p_lRow], p_sValue); });
            return;
        default:
            MarkRows(p_marks, [&](size_t p_lRow) {
                return OrderMeets(CompareIgnoreCase(texts[p_lRow], p_sValue), p_eOp);
            });
            return;
    }
}

// Rows holding Null were given a placeholder, which must not be compared.
void MarkVariants(const RowColumn& p_oColumn, CompareOp p_eOp, const Variant& p_vValue,
                  const std::string& p_sFoldedPattern, const Marks& p_marks) {
    const Variant* values = p_oColumn.Variants().data();
    if (p_eOp == CompareOp::Like) {
        MarkRows(p_marks, [&](size_t p_lRow) {
            return !p_oColumn.IsNull(p_lRow) &&
                   LikeMatches(values[p_lRow].ToString(), p_sFoldedPattern);
        });
        return;
    }
    MarkRows(p_marks, [&](size_t p_lRow) {
        return !p_oColumn.IsNull(p_lRow) &&
               OrderMeets(CompareValues(values[p_lRow], p_vValue), p_eOp);
    });
}

// Null meets no comparison. Clearing afterwards is right for Set and And merges, not for Or.
void ClearNullRows(const RowColumn& p_oColumn, const CriteriaRows& p_rows, uint8_t* p_matches) {
    for (size_t i = 0; i < p_rows.Count; ++i) {
        const auto row = p_rows.Ids == nullptr ? static_cast<uint32_t>(i) : p_rows.Ids[i];
        if (p_oColumn.IsNull(row)) {
            p_matches[i] = 0;
        }
    }
}

void MergeInto(const CriteriaRows& p_rows, MatchMerge p_eMerge, const uint8_t* p_own,
               uint8_t* p_matches) {
    const size_t count = p_rows.Count;
    for (size_t i = 0; i < count; ++i) {
        p_matches[i] =
            p_eMerge == MatchMerge::And ? (p_matches[i] & p_own[i]) : (p_matches[i] | p_own[i]);
    }
}

// What a comparison tests, decided when it is bound to its field.
enum class Test : uint8_t { IsNull, IsNotNull, Number, Text, Value };

class ComparisonNode final : public CriteriaNode {
  public:
    ComparisonNode(size_t p_lColumn, CompareOp p_eOp, Test p_eTest)
        : m_lColumn(p_lColumn), m_eOp(p_eOp), m_eTest(p_eTest) {}

    void SetNumber(double p_dNumber) { m_dNumber = p_dNumber; }
    void SetText(std::string p_sText) { m_sText = std::move(p_sText); }
    void SetValue(Variant p_vValue) { m_vValue = std::move(p_vValue); }

    void Evaluate(const RowStore& p_oRows, const CriteriaRows& p_rows, MatchMerge p_eMerge,
                  uint8_t* p_matches) const override {
        const RowColumn& column = p_oRows.Column(m_lColumn);
        if (column.HasNulls() && p_eMerge == MatchMerge::Or && m_eTest != Test::IsNull &&
            m_eTest != Test::IsNotNull) {
            std::vector<uint8_t> own(p_rows.Count);
            Evaluate(p_oRows, p_rows, MatchMerge::Set, own.data());
            MergeInto(p_rows, p_eMerge, own.data(), p_matches);
            return;
        }
        const Marks marks{p_rows, p_eMerge, p_matches};
        switch (m_eTest) {
            case Test::IsNull:
            case Test::IsNotNull: {
                const bool wanted = m_eTest == Test::IsNull;
                MarkRows(marks, [&](size_t p_lRow) { return column.IsNull(p_lRow) == wanted; });
                return;
            }
            case Test::Number:
                MarkColumnNumbers(column, m_eOp, m_dNumber, marks);
                break;
            case Test::Text:
                MarkTexts(column.Texts(), m_eOp, m_sText, marks);
                break;
            case Test::Value:
                MarkVariants(column, m_eOp, m_vValue, m_sText, marks);
                break;
        }
        if (column.HasNulls()) {
            ClearNullRows(column, p_rows, p_matches);
        }
    }

  private:
    size_t m_lColumn;
    CompareOp m_eOp;
    Test m_eTest;
    double m_dNumber = 0;
    std::string m_sText;  // the value of a text comparison, folded for LIKE
    Variant m_vValue;
};

// AND and OR: every child marks all the rows, merging into the marks of the children before it,
// which needs no branch per row. A junction that is itself merged into others' marks works in
// marks of its own first.
class JunctionNode final : public CriteriaNode {
  public:
    JunctionNode(bool p_bAll, std::vector<std::unique_ptr<CriteriaNode>> p_children)
        : m_bAll(p_bAll), m_children(std::move(p_children)) {}

    void Evaluate(const RowStore& p_oRows, const CriteriaRows& p_rows, MatchMerge p_eMerge,
                  uint8_t* p_matches) const override {
        if (p_eMerge != MatchMerge::Set) {
            std::vector<uint8_t> own(p_rows.Count);
            Evaluate(p_oRows, p_rows, MatchMerge::Set, own.data());
            MergeInto(p_rows, p_eMerge, own.data(), p_matches);
            return;
        }
        const MatchMerge merge = m_bAll ? MatchMerge::And : MatchMerge::Or;
        m_children.front()->Evaluate(p_oRows, p_rows, MatchMerge::Set, p_matches);
        for (size_t c = 1; c < m_children.size(); ++c) {
            m_children[c]->Evaluate(p_oRows, p_rows, merge, p_matches);
        }
    }

  private:
    bool m_bAll;
    std::vector<std::unique_ptr<CriteriaNode>> m_children;
};

// Byte length of the UTF-8 character starting at p_lOffset, so that _ takes a whole character.
size_t CharacterLength(std::string_view p_sText, size_t p_lOffset) {
    const auto lead = static_cast<unsigned char>(p_sText[p_lOffset]);
    size_t length = 1;
    if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    return std::min(length, p_sText.size() - p_lOffset);
}

bool IsWildcard(char p_c) {
    return p_c == '%' || p_c == '*';
}

// "[c]": the one character c itself, so that a pattern can hold %, *, _ and [ literally.
bool IsBracketedLiteral(std::string_view p_sPattern, size_t p_lAt) {
    return p_lAt + 2 < p_sPattern.size() && p_sPattern[p_lAt] == '[' &&
           p_sPattern[p_lAt + 2] == ']';
}

}  // namespace

std::unique_ptr<CriteriaNode> MakeNullTest(size_t p_lColumn, bool p_bNull) {
    return std::make_unique<ComparisonNode>(p_lColumn, CompareOp::Equal,
                                            p_bNull ? Test::IsNull : Test::IsNotNull);
}

std::unique_ptr<CriteriaNode> MakeNumberComparison(size_t p_lColumn, CompareOp p_eOp,
                                                   double p_dValue) {
    auto node = std::make_unique<ComparisonNode>(p_lColumn, p_eOp, Test::Number);
    node->SetNumber(p_dValue);
    return node;
}

std::unique_ptr<CriteriaNode> MakeTextComparison(size_t p_lColumn, CompareOp p_eOp,
                                                 std::string_view p_sValue) {
    auto node = std::make_unique<ComparisonNode>(p_lColumn, p_eOp, Test::Text);
    node->SetText(p_eOp == CompareOp::Like ? ToLowerAscii(p_sValue) : std::string(p_sValue));
    return node;
}

std::unique_ptr<CriteriaNode> MakeValueComparison(size_t p_lColumn, CompareOp p_eOp,
                                                  const Variant& p_vValue) {
    auto node = std::make_unique<ComparisonNode>(p_lColumn, p_eOp, Test::Value);
    node->SetValue(p_vValue);
    if (p_eOp == CompareOp::Like) {
        node->SetText(ToLowerAscii(p_vValue.ToString()));
    }
    return node;
}

std::unique_ptr<CriteriaNode> MakeJunction(bool p_bAll,
                                           std::vector<std::unique_ptr<CriteriaNode>> p_children) {
    return std::make_unique<JunctionNode>(p_bAll, std::move(p_children));
}

// Greedy matching that backtracks only to the last wildcard: linear in practice and never worse
// than value length times pattern length.
bool LikeMatches(std::string_view p_sValue, std::string_view p_sFoldedPattern) {
    const std::string_view pattern = p_sFoldedPattern;
    size_t value = 0;
    size_t at = 0;
    size_t starAt = std::string_view::npos;
    size_t starValue = 0;
    while (value < p_sValue.size()) {
        if (at < pattern.size() && IsWildcard(pattern[at])) {
            starAt = ++at;
            starValue = value;
            continue;
        }
        if (IsBracketedLiteral(pattern, at)) {
            if (ToLowerAscii(p_sValue[value]) == pattern[at + 1]) {
                ++value;
                at += 3;
                continue;
            }
        } else if (at < pattern.size() && pattern[at] == '_') {
            value += CharacterLength(p_sValue, value);
            ++at;
            continue;
        } else if (at < pattern.size() && ToLowerAscii(p_sValue[value]) == pattern[at]) {
            ++value;
            ++at;
            continue;
        }
        if (starAt == std::string_view::npos) {
            return false;
        }
        at = starAt;
        starValue += CharacterLength(p_sValue, starValue);
        value = starValue;
    }
    while (at < pattern.size() && IsWildcard(pattern[at])) {
        ++at;
    }
    return at == pattern.size();
}

}  // namespace qv
