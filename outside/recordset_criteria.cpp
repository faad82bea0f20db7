#include "outside/recordset_criteria.h"

#include "outside/automation_error.h"
#include "outside/fields.h"
#include "outside/recordset_rows.h"
#include "outside/vb_date.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace qv {
namespace {

// Deeper nesting than any person writes; the limit keeps hostile text from exhausting the stack.
constexpr int kMaxNesting = 64;
constexpr size_t kMaxQuotedToken = 40;
constexpr size_t kMaxQuotedText = 200;

bool IsBlank(char p_c) {
    return p_c == ' ' || p_c == '\t' || p_c == '\r' || p_c == '\n';
}

bool IsDigit(char p_c) {
    return p_c >= '0' && p_c <= '9';
}

// Letters, digits and underscore, and every byte of a multi-byte UTF-8 character.
bool IsNameChar(char p_c) {
    const auto c = static_cast<unsigned char>(p_c);
    return IsDigit(p_c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           c >= 0x80;
}

size_t NameCharsFrom(std::string_view p_sText, size_t p_lOffset) {
    size_t end = p_lOffset;
    while (end < p_sText.size() && IsNameChar(p_sText[end])) {
        ++end;
    }
    return end;
}

// Length of the text literal starting with a quote; 0 when it is not closed.
size_t TextLiteralLength(std::string_view p_sText) {
    for (size_t i = 1; i < p_sText.size(); ++i) {
        if (p_sText[i] != '\'') {
            continue;
        }
        if (i + 1 < p_sText.size() && p_sText[i + 1] == '\'') {
            ++i;
            continue;
        }
        return i + 1;
    }
    return 0;
}

size_t NumberLength(std::string_view p_sText) {
    size_t end = 0;
    if (p_sText[end] == '-' || p_sText[end] == '+') {
        ++end;
    }
    while (end < p_sText.size() && IsDigit(p_sText[end])) {
        ++end;
    }
    if (end < p_sText.size() && p_sText[end] == '.') {
        ++end;
        while (end < p_sText.size() && IsDigit(p_sText[end])) {
            ++end;
        }
    }
    if (end < p_sText.size() && (p_sText[end] == 'e' || p_sText[end] == 'E')) {
        size_t exponent = end + 1;
        if (exponent < p_sText.size() && (p_sText[exponent] == '-' || p_sText[exponent] == '+')) {
            ++exponent;
        }
        if (exponent < p_sText.size() && IsDigit(p_sText[exponent])) {
            end = exponent;
            while (end < p_sText.size() && IsDigit(p_sText[end])) {
                ++end;
            }
        }
    }
    return end;
}

bool StartsNumber(std::string_view p_sText) {
    size_t i = (p_sText[0] == '-' || p_sText[0] == '+') ? 1 : 0;
    if (i < p_sText.size() && p_sText[i] == '.') {
        ++i;
    }
    return i < p_sText.size() && IsDigit(p_sText[i]);
}

size_t ClosedBy(std::string_view p_sText, char p_cClose, CriteriaTokenKind p_eKind,
                CriteriaTokenKind& p_eKindOut) {
    const size_t close = p_sText.find(p_cClose, 1);
    if (close == std::string_view::npos) {
        p_eKindOut = CriteriaTokenKind::Invalid;
        return p_sText.size();
    }
    p_eKindOut = p_eKind;
    return close + 1;
}

size_t Operator(std::string_view p_sText, CriteriaTokenKind& p_eKind) {
    const char next = p_sText.size() > 1 ? p_sText[1] : '\0';
    if (p_sText[0] == '=') {
        p_eKind = CriteriaTokenKind::Equal;
        return 1;
    }
    if (p_sText[0] == '<') {
        if (next == '=' || next == '>') {
            p_eKind = next == '=' ? CriteriaTokenKind::LessEqual : CriteriaTokenKind::NotEqual;
            return 2;
        }
        p_eKind = CriteriaTokenKind::Less;
        return 1;
    }
    if (next == '=') {
        p_eKind = CriteriaTokenKind::GreaterEqual;
        return 2;
    }
    p_eKind = CriteriaTokenKind::Greater;
    return 1;
}

// --- evaluation -----------------------------------------------------------------------------

enum class CompareOp : uint8_t { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Like };

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

// Marks each row of p_rows that p_bMeets says yes to. Dense rows (no ids) make a loop the
// compiler can vectorize for the typed columns; the count and ids are copied first because a
// store through p_matches could otherwise alias them and force a reload on every row.
template <class Meets>
void MarkRows(const CriteriaRows& p_rows, uint8_t* p_matches, Meets p_bMeets) {
    const size_t count = p_rows.Count;
    const uint32_t* ids = p_rows.Ids;
    if (ids == nullptr) {
        for (size_t i = 0; i < count; ++i) {
            p_matches[i] = static_cast<uint8_t>(p_bMeets(i));
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        p_matches[i] = static_cast<uint8_t>(p_bMeets(ids[i]));
    }
}

template <class T, class ToNumber, class Number>
void MarkNumbers(const std::vector<T>& p_values, ToNumber p_toNumber, CompareOp p_eOp,
                 Number p_dValue, const CriteriaRows& p_rows, uint8_t* p_matches) {
    const T* values = p_values.data();
    switch (p_eOp) {
        case CompareOp::Equal:
            MarkRows(p_rows, p_matches,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) == p_dValue; });
            return;
        case CompareOp::NotEqual:
            MarkRows(p_rows, p_matches,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) != p_dValue; });
            return;
        case CompareOp::Less:
            MarkRows(p_rows, p_matches,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) < p_dValue; });
            return;
        case CompareOp::LessEqual:
            MarkRows(p_rows, p_matches,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) <= p_dValue; });
            return;
        case CompareOp::Greater:
            MarkRows(p_rows, p_matches,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) > p_dValue; });
            return;
        case CompareOp::GreaterEqual:
            MarkRows(p_rows, p_matches,
                     [=](size_t p_lRow) { return p_toNumber(values[p_lRow]) >= p_dValue; });
            return;
        case CompareOp::Like:
            std::fill_n(p_matches, p_rows.Count, uint8_t{0});
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
                       const CriteriaRows& p_rows, uint8_t* p_matches) {
    switch (p_oColumn.Kind()) {
        case ColumnKind::Double:
        case ColumnKind::Date:
            MarkNumbers(
                p_oColumn.Numbers(), [](double p_d) { return p_d; }, p_eOp, p_dValue, p_rows,
                p_matches);
            return;
        case ColumnKind::Long:
            if (IsWholeLong(p_dValue)) {
                MarkNumbers(
                    p_oColumn.Longs(), [](int32_t p_l) { return p_l; }, p_eOp,
                    static_cast<int32_t>(p_dValue), p_rows, p_matches);
                return;
            }
            MarkNumbers(
                p_oColumn.Longs(), [](int32_t p_l) { return static_cast<double>(p_l); }, p_eOp,
                p_dValue, p_rows, p_matches);
            return;
        case ColumnKind::Integer:
            if (IsWholeLong(p_dValue)) {
                MarkNumbers(
                    p_oColumn.Integers(), [](int16_t p_i) { return int32_t{p_i}; }, p_eOp,
                    static_cast<int32_t>(p_dValue), p_rows, p_matches);
                return;
            }
            MarkNumbers(
                p_oColumn.Integers(), [](int16_t p_i) { return static_cast<double>(p_i); }, p_eOp,
                p_dValue, p_rows, p_matches);
            return;
        case ColumnKind::Boolean:
            MarkNumbers(
                p_oColumn.Booleans(), [](uint8_t p_b) { return BooleanAsNumber(p_b); }, p_eOp,
                p_dValue, p_rows, p_matches);
            return;
        case ColumnKind::Text:
        case ColumnKind::Variant:
            std::fill_n(p_matches, p_rows.Count, uint8_t{0});
            return;
    }
}

void MarkTexts(const std::vector<std::string>& p_texts, CompareOp p_eOp,
               const std::string& p_sValue, const CriteriaRows& p_rows, uint8_t* p_matches) {
    const std::string* texts = p_texts.data();
    switch (p_eOp) {
        case CompareOp::Equal:
            MarkRows(p_rows, p_matches,
                     [&](size_t p_lRow) { return EqualsNoCase(texts[p_lRow], p_sValue); });
            return;
        case CompareOp::NotEqual:
            MarkRows(p_rows, p_matches,
                     [&](size_t p_lRow) { return !EqualsNoCase(texts[p_lRow], p_sValue); });
            return;
        case CompareOp::Like:
            MarkRows(p_rows, p_matches,
                     [&](size_t p_lRow) { return LikeMatches(texts[p_lRow], p_sValue); });
            return;
        default:
            MarkRows(p_rows, p_matches, [&](size_t p_lRow) {
                return OrderMeets(CompareNoCase(texts[p_lRow], p_sValue), p_eOp);
            });
            return;
    }
}

// Rows holding Null were given a placeholder, which must not be compared.
void MarkVariants(const RowColumn& p_oColumn, CompareOp p_eOp, const Variant& p_vValue,
                  const std::string& p_sFoldedPattern, const CriteriaRows& p_rows,
                  uint8_t* p_matches) {
    const Variant* values = p_oColumn.Variants().data();
    if (p_eOp == CompareOp::Like) {
        MarkRows(p_rows, p_matches, [&](size_t p_lRow) {
            return !p_oColumn.IsNull(p_lRow) &&
                   LikeMatches(values[p_lRow].ToString(), p_sFoldedPattern);
        });
        return;
    }
    MarkRows(p_rows, p_matches, [&](size_t p_lRow) {
        return !p_oColumn.IsNull(p_lRow) &&
               OrderMeets(CompareValues(values[p_lRow], p_vValue), p_eOp);
    });
}

void ClearNullRows(const RowColumn& p_oColumn, const CriteriaRows& p_rows, uint8_t* p_matches) {
    for (size_t i = 0; i < p_rows.Count; ++i) {
        const auto row = p_rows.Ids == nullptr ? static_cast<uint32_t>(i) : p_rows.Ids[i];
        if (p_oColumn.IsNull(row)) {
            p_matches[i] = 0;
        }
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

    void Evaluate(const RowStore& p_oRows, const CriteriaRows& p_rows,
                  uint8_t* p_matches) const override {
        const RowColumn& column = p_oRows.Column(m_lColumn);
        switch (m_eTest) {
            case Test::IsNull:
            case Test::IsNotNull: {
                const bool wanted = m_eTest == Test::IsNull;
                MarkRows(p_rows, p_matches,
                         [&](size_t p_lRow) { return column.IsNull(p_lRow) == wanted; });
                return;
            }
            case Test::Number:
                MarkColumnNumbers(column, m_eOp, m_dNumber, p_rows, p_matches);
                break;
            case Test::Text:
                MarkTexts(column.Texts(), m_eOp, m_sText, p_rows, p_matches);
                break;
            case Test::Value:
                MarkVariants(column, m_eOp, m_vValue, m_sText, p_rows, p_matches);
                return;
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

// AND and OR: every child marks all the rows, and the marks are combined. Passes that each
// vectorize beat skipping rows already decided, which needs a branch per row.
class JunctionNode final : public CriteriaNode {
  public:
    JunctionNode(bool p_bAll, std::vector<std::unique_ptr<CriteriaNode>> p_children)
        : m_bAll(p_bAll), m_children(std::move(p_children)) {}

    void Evaluate(const RowStore& p_oRows, const CriteriaRows& p_rows,
                  uint8_t* p_matches) const override {
        m_children.front()->Evaluate(p_oRows, p_rows, p_matches);
        const size_t count = p_rows.Count;
        std::vector<uint8_t> marks(count);
        const uint8_t* child = marks.data();
        for (size_t c = 1; c < m_children.size(); ++c) {
            m_children[c]->Evaluate(p_oRows, p_rows, marks.data());
            if (m_bAll) {
                for (size_t i = 0; i < count; ++i) {
                    p_matches[i] &= child[i];
                }
            } else {
                for (size_t i = 0; i < count; ++i) {
                    p_matches[i] |= child[i];
                }
            }
        }
    }

  private:
    bool m_bAll;
    std::vector<std::unique_ptr<CriteriaNode>> m_children;
};

// --- parsing --------------------------------------------------------------------------------

enum class LiteralKind : uint8_t { Number, Text, Date, Boolean, Null };

struct Literal {
    LiteralKind Kind = LiteralKind::Null;
    double Number = 0;
    std::string Text;
    CriteriaToken Token;
};

class CriteriaParser {
  public:
    CriteriaParser(std::string_view p_sText, const Fields& p_oFields)
        : m_sText(p_sText), m_oFields(p_oFields), m_tokens(TokenizeCriteria(p_sText)) {}

    std::unique_ptr<CriteriaNode> ParseFilter() {
        std::unique_ptr<CriteriaNode> node = ParseOr(0);
        ExpectEnd();
        return node;
    }

    std::unique_ptr<CriteriaNode> ParseFind() {
        std::unique_ptr<CriteriaNode> node = ParseComparison();
        if (IsKeyword(Peek(), "and") || IsKeyword(Peek(), "or")) {
            Fail(errors::kArgumentsWrongType, "Find takes a single comparison", Peek());
        }
        ExpectEnd();
        return node;
    }

  private:
    const CriteriaToken& Peek() const { return m_tokens[m_lNext]; }

    const CriteriaToken& Take() {
        const CriteriaToken& token = m_tokens[m_lNext];
        if (token.Kind == CriteriaTokenKind::Invalid) {
            Fail(errors::kArgumentsWrongType, InvalidTokenProblem(token), token);
        }
        if (token.Kind != CriteriaTokenKind::End) {
            ++m_lNext;
        }
        return token;
    }

    bool IsKeyword(const CriteriaToken& p_token, std::string_view p_sKeyword) const {
        return IsCriteriaKeyword(m_sText, p_token, p_sKeyword);
    }

    [[noreturn]] void Fail(int32_t p_lNumber, std::string_view p_sProblem,
                           const CriteriaToken& p_token) const {
        RaiseCriteriaError(p_lNumber, p_sProblem, m_sText, p_token);
    }

    std::string_view InvalidTokenProblem(const CriteriaToken& p_token) const {
        switch (m_sText[p_token.Offset]) {
            case '\'':
                return "text not closed";
            case '#':
                return "date not closed";
            case '[':
                return "field name not closed";
            default:
                return "invalid token";
        }
    }

    void ExpectEnd() {
        if (Peek().Kind == CriteriaTokenKind::Invalid) {
            Take();
        }
        if (Peek().Kind != CriteriaTokenKind::End) {
            Fail(errors::kArgumentsWrongType, "expected AND, OR or the end", Peek());
        }
    }

    std::unique_ptr<CriteriaNode> ParseOr(int p_iDepth) {
        std::vector<std::unique_ptr<CriteriaNode>> children;
        children.push_back(ParseAnd(p_iDepth));
        while (IsKeyword(Peek(), "or")) {
            Take();
            children.push_back(ParseAnd(p_iDepth));
        }
        if (children.size() == 1) {
            return std::move(children.front());
        }
        return std::make_unique<JunctionNode>(false, std::move(children));
    }

    std::unique_ptr<CriteriaNode> ParseAnd(int p_iDepth) {
        std::vector<std::unique_ptr<CriteriaNode>> children;
        children.push_back(ParseTerm(p_iDepth));
        while (IsKeyword(Peek(), "and")) {
            Take();
            children.push_back(ParseTerm(p_iDepth));
        }
        if (children.size() == 1) {
            return std::move(children.front());
        }
        return std::make_unique<JunctionNode>(true, std::move(children));
    }

    std::unique_ptr<CriteriaNode> ParseTerm(int p_iDepth) {
        if (Peek().Kind != CriteriaTokenKind::LeftParen) {
            return ParseComparison();
        }
        const CriteriaToken& open = Take();
        if (p_iDepth >= kMaxNesting) {
            Fail(errors::kArgumentsWrongType, "parentheses nested too deeply", open);
        }
        std::unique_ptr<CriteriaNode> node = ParseOr(p_iDepth + 1);
        if (Peek().Kind != CriteriaTokenKind::RightParen) {
            Fail(errors::kArgumentsWrongType, "expected ')'", Peek());
        }
        Take();
        return node;
    }

    std::unique_ptr<CriteriaNode> ParseComparison() {
        const CriteriaToken& field = Take();
        const bool isName = field.Kind == CriteriaTokenKind::QuotedName ||
                            (field.Kind == CriteriaTokenKind::Name && !IsReservedWord(field));
        if (!isName) {
            Fail(errors::kArgumentsWrongType, "expected a field name", field);
        }
        const std::string_view name = CriteriaTokenName(m_sText, field);
        if (name.empty()) {
            Fail(errors::kArgumentsWrongType, "empty field name", field);
        }
        const int32_t index = m_oFields.IndexOf(name);
        if (index < 0) {
            Fail(errors::kItemNotFound, "unknown field '" + std::string(name) + "'", field);
        }
        const CompareOp op = ParseOperator();
        const Literal literal = ParseLiteral();
        return Bind(static_cast<size_t>(index), op, literal);
    }

    bool IsReservedWord(const CriteriaToken& p_token) const {
        for (std::string_view word : {"and", "or", "like", "true", "false", "null"}) {
            if (IsKeyword(p_token, word)) {
                return true;
            }
        }
        return false;
    }

    CompareOp ParseOperator() {
        const CriteriaToken& token = Take();
        switch (token.Kind) {
            case CriteriaTokenKind::Equal:
                return CompareOp::Equal;
            case CriteriaTokenKind::NotEqual:
                return CompareOp::NotEqual;
            case CriteriaTokenKind::Less:
                return CompareOp::Less;
            case CriteriaTokenKind::LessEqual:
                return CompareOp::LessEqual;
            case CriteriaTokenKind::Greater:
                return CompareOp::Greater;
            case CriteriaTokenKind::GreaterEqual:
                return CompareOp::GreaterEqual;
            default:
                break;
        }
        if (IsKeyword(token, "like")) {
            return CompareOp::Like;
        }
        Fail(errors::kArgumentsWrongType, "expected a comparison operator", token);
    }

    Literal ParseLiteral() {
        Literal literal;
        literal.Token = Take();
        const std::string_view text = m_sText.substr(literal.Token.Offset, literal.Token.Length);
        switch (literal.Token.Kind) {
            case CriteriaTokenKind::Number:
                literal.Kind = LiteralKind::Number;
                literal.Number = ParseNumber(literal.Token);
                return literal;
            case CriteriaTokenKind::Text:
                literal.Kind = LiteralKind::Text;
                literal.Text = Unquote(text.substr(1, text.size() - 2));
                return literal;
            case CriteriaTokenKind::Date:
                literal.Kind = LiteralKind::Date;
                if (!ParseDateText(text.substr(1, text.size() - 2), literal.Number)) {
                    Fail(errors::kArgumentsWrongType, "invalid date", literal.Token);
                }
                return literal;
            default:
                break;
        }
        if (IsKeyword(literal.Token, "true") || IsKeyword(literal.Token, "false")) {
            literal.Kind = LiteralKind::Boolean;
            literal.Number = IsKeyword(literal.Token, "true") ? -1.0 : 0.0;
            return literal;
        }
        if (IsKeyword(literal.Token, "null")) {
            literal.Kind = LiteralKind::Null;
            return literal;
        }
        Fail(errors::kArgumentsWrongType, "expected a value", literal.Token);
    }

    double ParseNumber(const CriteriaToken& p_token) const {
        std::string_view text = m_sText.substr(p_token.Offset, p_token.Length);
        if (text.front() == '+') {
            text.remove_prefix(1);
        }
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size()) {
            Fail(errors::kArgumentsWrongType, "number out of range", p_token);
        }
        return value;
    }

    static std::string Unquote(std::string_view p_sInner) {
        std::string text;
        text.reserve(p_sInner.size());
        for (size_t i = 0; i < p_sInner.size(); ++i) {
            text += p_sInner[i];
            if (p_sInner[i] == '\'') {
                ++i;
            }
        }
        return text;
    }

    std::unique_ptr<CriteriaNode> Bind(size_t p_lColumn, CompareOp p_eOp,
                                       const Literal& p_literal) {
        if (p_literal.Kind == LiteralKind::Null) {
            if (p_eOp != CompareOp::Equal && p_eOp != CompareOp::NotEqual) {
                Fail(errors::kArgumentsWrongType, "Null can only be compared with = or <>",
                     p_literal.Token);
            }
            const Test test = p_eOp == CompareOp::Equal ? Test::IsNull : Test::IsNotNull;
            return std::make_unique<ComparisonNode>(p_lColumn, p_eOp, test);
        }
        const Field& field = m_oFields.Item(static_cast<int32_t>(p_lColumn));
        const ColumnKind kind = ColumnKindOf(field.Type());
        if (kind == ColumnKind::Variant) {
            return BindVariant(p_lColumn, p_eOp, p_literal, field);
        }
        if (kind == ColumnKind::Text) {
            return BindText(p_lColumn, p_eOp, p_literal, field);
        }
        if (p_eOp == CompareOp::Like) {
            WrongType(field, p_literal);
        }
        auto node = std::make_unique<ComparisonNode>(p_lColumn, p_eOp, Test::Number);
        node->SetNumber(p_literal.Kind == LiteralKind::Text ? NumberFromText(kind, p_literal, field)
                                                            : p_literal.Number);
        return node;
    }

    std::unique_ptr<CriteriaNode> BindText(size_t p_lColumn, CompareOp p_eOp,
                                           const Literal& p_literal, const Field& p_oField) {
        if (p_literal.Kind != LiteralKind::Text) {
            WrongType(p_oField, p_literal);
        }
        auto node = std::make_unique<ComparisonNode>(p_lColumn, p_eOp, Test::Text);
        node->SetText(p_eOp == CompareOp::Like ? FoldText(p_literal.Text) : p_literal.Text);
        return node;
    }

    std::unique_ptr<CriteriaNode> BindVariant(size_t p_lColumn, CompareOp p_eOp,
                                              const Literal& p_literal, const Field& p_oField) {
        auto node = std::make_unique<ComparisonNode>(p_lColumn, p_eOp, Test::Value);
        switch (p_literal.Kind) {
            case LiteralKind::Number:
                node->SetValue(Variant(p_literal.Number));
                break;
            case LiteralKind::Date:
                node->SetValue(Variant::Date(p_literal.Number));
                break;
            case LiteralKind::Boolean:
                node->SetValue(Variant(p_literal.Number != 0));
                break;
            case LiteralKind::Text:
                node->SetValue(Variant(p_literal.Text));
                break;
            case LiteralKind::Null:
                break;
        }
        if (p_eOp == CompareOp::Like) {
            if (p_literal.Kind != LiteralKind::Text) {
                WrongType(p_oField, p_literal);
            }
            node->SetText(FoldText(p_literal.Text));
        }
        return node;
    }

    // Numeric text against a number field compares as its number, as the runtime converts it.
    double NumberFromText(ColumnKind p_eKind, const Literal& p_literal,
                          const Field& p_oField) const {
        try {
            const Variant text(p_literal.Text);
            if (p_eKind == ColumnKind::Date) {
                return text.ToDate();
            }
            if (p_eKind == ColumnKind::Boolean) {
                return text.ToBool() ? -1.0 : 0.0;
            }
            return text.ToDouble();
        } catch (const AutomationError&) {
            WrongType(p_oField, p_literal);
        }
    }

    [[noreturn]] void WrongType(const Field& p_oField, const Literal& p_literal) const {
        Fail(errors::kTypeMismatch, "value of the wrong type for field '" + p_oField.Name() + "'",
             p_literal.Token);
    }

    std::string_view m_sText;
    const Fields& m_oFields;
    std::vector<CriteriaToken> m_tokens;
    size_t m_lNext = 0;
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

}  // namespace

size_t CriteriaTokenLength(std::string_view p_sText, CriteriaTokenKind& p_eKind) {
    if (p_sText.empty()) {
        p_eKind = CriteriaTokenKind::End;
        return 0;
    }
    const char first = p_sText[0];
    switch (first) {
        case '(':
            p_eKind = CriteriaTokenKind::LeftParen;
            return 1;
        case ')':
            p_eKind = CriteriaTokenKind::RightParen;
            return 1;
        case ',':
            p_eKind = CriteriaTokenKind::Comma;
            return 1;
        case '=':
        case '<':
        case '>':
            return Operator(p_sText, p_eKind);
        case '[':
            return ClosedBy(p_sText, ']', CriteriaTokenKind::QuotedName, p_eKind);
        case '#':
            return ClosedBy(p_sText, '#', CriteriaTokenKind::Date, p_eKind);
        case '\'': {
            const size_t length = TextLiteralLength(p_sText);
            p_eKind = length == 0 ? CriteriaTokenKind::Invalid : CriteriaTokenKind::Text;
            return length == 0 ? p_sText.size() : length;
        }
        default:
            break;
    }
    if (StartsNumber(p_sText)) {
        const size_t length = NumberLength(p_sText);
        // "12abc" is neither a number nor a name.
        const size_t end = NameCharsFrom(p_sText, length);
        p_eKind = end == length ? CriteriaTokenKind::Number : CriteriaTokenKind::Invalid;
        return end;
    }
    if (IsNameChar(first)) {
        p_eKind = CriteriaTokenKind::Name;
        return NameCharsFrom(p_sText, 0);
    }
    p_eKind = CriteriaTokenKind::Invalid;
    return 1;
}

std::vector<CriteriaToken> TokenizeCriteria(std::string_view p_sText) {
    std::vector<CriteriaToken> tokens;
    size_t offset = 0;
    while (true) {
        while (offset < p_sText.size() && IsBlank(p_sText[offset])) {
            ++offset;
        }
        CriteriaToken token;
        token.Offset = offset;
        token.Length = CriteriaTokenLength(p_sText.substr(offset), token.Kind);
        tokens.push_back(token);
        if (token.Kind == CriteriaTokenKind::End || token.Kind == CriteriaTokenKind::Invalid) {
            if (token.Kind == CriteriaTokenKind::Invalid) {
                tokens.push_back(CriteriaToken{CriteriaTokenKind::End, p_sText.size(), 0});
            }
            return tokens;
        }
        offset += token.Length;
    }
}

bool IsCriteriaKeyword(std::string_view p_sText, const CriteriaToken& p_token,
                       std::string_view p_sKeyword) {
    return p_token.Kind == CriteriaTokenKind::Name &&
           EqualsNoCase(p_sText.substr(p_token.Offset, p_token.Length), p_sKeyword);
}

std::string_view CriteriaTokenName(std::string_view p_sText, const CriteriaToken& p_token) {
    const std::string_view text = p_sText.substr(p_token.Offset, p_token.Length);
    if (p_token.Kind == CriteriaTokenKind::QuotedName) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

void RaiseCriteriaError(int32_t p_lNumber, std::string_view p_sProblem, std::string_view p_sText,
                        const CriteriaToken& p_token) {
    std::string detail(p_sProblem);
    detail += " at position " + std::to_string(p_token.Offset + 1);
    if (p_token.Kind == CriteriaTokenKind::End) {
        detail += " (end of text)";
    } else {
        const std::string_view token = p_sText.substr(p_token.Offset, p_token.Length);
        detail += ", '" + std::string(token.substr(0, kMaxQuotedToken));
        detail += token.size() > kMaxQuotedToken ? "...'" : "'";
    }
    detail += " in \"" + std::string(p_sText.substr(0, kMaxQuotedText));
    detail += p_sText.size() > kMaxQuotedText ? "...\"" : "\"";
    RaiseRuntimeError(p_lNumber, detail);
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
        if (at < pattern.size() && pattern[at] == '_') {
            value += CharacterLength(p_sValue, value);
            ++at;
            continue;
        }
        if (at < pattern.size() && FoldAscii(p_sValue[value]) == pattern[at]) {
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

std::vector<uint32_t> SelectRows(const CriteriaNode& p_oCriteria, const RowStore& p_oRows) {
    const uint32_t count = p_oRows.RowCount();
    std::vector<uint8_t> matches(count);
    p_oCriteria.Evaluate(p_oRows, CriteriaRows{nullptr, count}, matches.data());
    std::vector<uint32_t> rows(count);
    size_t kept = 0;
    for (uint32_t row = 0; row < count; ++row) {
        rows[kept] = row;
        kept += matches[row] & (p_oRows.IsDeleted(row) ? 0 : 1);
    }
    rows.resize(kept);
    return rows;
}

std::unique_ptr<CriteriaNode> ParseFilterCriteria(std::string_view p_sText,
                                                  const Fields& p_oFields) {
    return CriteriaParser(p_sText, p_oFields).ParseFilter();
}

std::unique_ptr<CriteriaNode> ParseFindCriteria(std::string_view p_sText, const Fields& p_oFields) {
    return CriteriaParser(p_sText, p_oFields).ParseFind();
}

}  // namespace qv
