#include "outside/recordset_criteria.h"

#include "outside/automation_error.h"
#include "outside/fields.h"
#include "outside/recordset_criteria_nodes.h"
#include "outside/recordset_rows.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

#include <charconv>
#include <string>
#include <utility>

namespace qv {
namespace {

// Deeper nesting than any person writes; the limit keeps hostile text from exhausting the stack.
constexpr int kMaxNesting = 64;
constexpr size_t kMaxQuotedToken = 40;
constexpr size_t kMaxQuotedText = 200;

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
        return MakeJunction(false, std::move(children));
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
        return MakeJunction(true, std::move(children));
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
            return MakeNullTest(p_lColumn, p_eOp == CompareOp::Equal);
        }
        const Field& field = m_oFields.Item(static_cast<int32_t>(p_lColumn));
        const ColumnKind kind = ColumnKindOf(field.Type());
        if (p_eOp == CompareOp::Like &&
            (p_literal.Kind != LiteralKind::Text || IsNumericKind(kind))) {
            WrongType(field, p_literal);
        }
        if (kind == ColumnKind::Variant) {
            return MakeValueComparison(p_lColumn, p_eOp, LiteralValue(p_literal));
        }
        if (kind == ColumnKind::Text) {
            if (p_literal.Kind != LiteralKind::Text) {
                WrongType(field, p_literal);
            }
            return MakeTextComparison(p_lColumn, p_eOp, p_literal.Text);
        }
        const double number = p_literal.Kind == LiteralKind::Text
                                  ? NumberFromText(kind, p_literal, field)
                                  : p_literal.Number;
        return MakeNumberComparison(p_lColumn, p_eOp, number);
    }

    static Variant LiteralValue(const Literal& p_literal) {
        switch (p_literal.Kind) {
            case LiteralKind::Number:
                return Variant(p_literal.Number);
            case LiteralKind::Date:
                return Variant::Date(p_literal.Number);
            case LiteralKind::Boolean:
                return Variant(p_literal.Number != 0);
            case LiteralKind::Text:
                return Variant(p_literal.Text);
            case LiteralKind::Null:
                return Variant::Null();
        }
        return Variant::Null();
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
        while (offset < p_sText.size() && IsLineBlank(p_sText[offset])) {
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
           EqualsIgnoreCase(p_sText.substr(p_token.Offset, p_token.Length), p_sKeyword);
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

std::vector<uint32_t> SelectRows(const CriteriaNode& p_oCriteria, const RowStore& p_oRows) {
    const uint32_t count = p_oRows.RowCount();
    std::vector<uint8_t> matches(count);
    p_oCriteria.Evaluate(p_oRows, CriteriaRows{nullptr, count}, MatchMerge::Set, matches.data());
    if (p_oRows.LiveRows().size() < count) {
        for (uint32_t row = 0; row < count; ++row) {
            matches[row] &= p_oRows.IsDeleted(row) ? 0 : 1;
        }
    }
    std::vector<uint32_t> rows(count);
    size_t kept = 0;
    for (uint32_t row = 0; row < count; ++row) {
        rows[kept] = row;
        kept += matches[row];
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

std::string CriteriaText(std::string_view p_sText) {
    std::string quoted = "'";
    for (const char ch : p_sText) {
        quoted.push_back(ch);
        if (ch == '\'') {
            quoted.push_back(ch);
        }
    }
    return quoted + "'";
}

std::string LikeLiteral(std::string_view p_sText) {
    std::string pattern;
    for (const char ch : p_sText) {
        if (ch == '%' || ch == '*' || ch == '_' || ch == '[') {
            pattern += {'[', ch, ']'};
        } else {
            pattern.push_back(ch);
        }
    }
    return pattern;
}

}  // namespace qv
