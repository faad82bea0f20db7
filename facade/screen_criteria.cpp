#include "facade/screen_criteria.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "facade/market_queries.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

// Parentheses, NOT and signs inside one another: deeper than people nest them, and shallow
// enough for SQLite's parser, whose stack (100 entries) each level takes up to seven of, around
// the list query and the deepest catalogue expression.
constexpr int kMaxNesting = 10;
// Fields and values of one screen. SQLite refuses statements whose expressions nest deeper than
// 1000, and a chain of n terms nests n deep there.
constexpr size_t kMaxTerms = 256;

enum class TokenKind {
    End,
    Name,
    Bracketed,
    Number,
    Text,
    Compare,
    Plus,
    Minus,
    Times,
    Divide,
    Open,
    Close,
};

struct Token {
    TokenKind m_eKind = TokenKind::End;
    size_t m_lOffset = 0;
    size_t m_lLength = 0;
    const char* m_sSql = "";  // the SQL operator of a comparison
};

// Typed as a person may type them, written as SQL has them. Longer signs first, so that "<="
// is not read as "<" followed by "=".
constexpr std::pair<std::string_view, const char*> kComparisons[] = {
    {"<>", "<>"},     {"!=", "<>"},     {"<=", "<="}, {">=", ">="}, {"\u2264", "<="},
    {"\u2265", ">="}, {"\u2260", "<>"}, {"=", "="},   {"<", "<"},   {">", ">"},
};

bool IsNameStart(char p_c) {
    return (p_c >= 'a' && p_c <= 'z') || (p_c >= 'A' && p_c <= 'Z') || p_c == '_';
}

bool IsDigit(char p_c) {
    return p_c >= '0' && p_c <= '9';
}

size_t DigitsFrom(std::string_view p_sText, size_t p_lAt) {
    while (p_lAt < p_sText.size() && IsDigit(p_sText[p_lAt])) {
        ++p_lAt;
    }
    return p_lAt;
}

// Digits, a fraction and an exponent: "80", "1.5", ".5", "2e6".
size_t NumberLength(std::string_view p_sText) {
    size_t end = DigitsFrom(p_sText, 0);
    if (end < p_sText.size() && p_sText[end] == '.') {
        end = DigitsFrom(p_sText, end + 1);
    }
    if (end < p_sText.size() && (p_sText[end] == 'e' || p_sText[end] == 'E')) {
        size_t exponent = end + 1;
        if (exponent < p_sText.size() && (p_sText[exponent] == '+' || p_sText[exponent] == '-')) {
            ++exponent;
        }
        if (exponent < p_sText.size() && IsDigit(p_sText[exponent])) {
            end = DigitsFrom(p_sText, exponent);
        }
    }
    return end;
}

// Length of a text in p_cQuote quotes, a doubled quote standing for one; 0 when it is not closed.
size_t QuotedLength(std::string_view p_sText, char p_cQuote) {
    for (size_t i = 1; i < p_sText.size(); ++i) {
        if (p_sText[i] != p_cQuote) {
            continue;
        }
        if (i + 1 < p_sText.size() && p_sText[i + 1] == p_cQuote) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return 0;
}

std::string Unquoted(std::string_view p_sQuoted) {
    const char quote = p_sQuoted.front();
    std::string text;
    for (size_t i = 1; i + 1 < p_sQuoted.size(); ++i) {
        text.push_back(p_sQuoted[i]);
        i += p_sQuoted[i] == quote ? 1 : 0;
    }
    return text;
}

// A text as a person reads it in a description: in single quotes, a quote in it doubled.
std::string QuotedText(std::string_view p_sText) {
    return "'" + ReplaceAll(p_sText, "'", "''") + "'";
}

std::string_view RowsName(RowKind p_eRows) {
    switch (p_eRows) {
        case RowKind::Industry:
            return "industry groups";
        case RowKind::Sector:
            return "sectors";
        default:
            return "stocks";
    }
}

// Holdings are screened by their stocks' fields, so a field of holdings alone is never one.
const char* ScreenSqlFor(const FieldDefinition& p_oField, RowKind p_eRows) {
    return p_oField.SqlFor(p_eRows == RowKind::Holding ? RowKind::Stock : p_eRows);
}

// By "Column_Name", else (in brackets) by "Caption"; of fields sharing a caption, the one the row
// kind has a value for.
const FieldDefinition* FindScreenField(std::string_view p_sName, bool p_bCaptions,
                                       RowKind p_eRows) {
    if (const FieldDefinition* field = FindFieldByName(p_sName)) {
        return field;
    }
    if (!p_bCaptions) {
        return nullptr;
    }
    const FieldDefinition* found = nullptr;
    for (const FieldDefinition& field : FieldDefinitions()) {
        if (!EqualsIgnoreCase(field.m_sCaption, p_sName)) {
            continue;
        }
        if (ScreenSqlFor(field, p_eRows) != nullptr) {
            return &field;
        }
        found = found != nullptr ? found : &field;
    }
    return found;
}

// 1-based, in characters; a byte that is not UTF-8 counts as one, as Excerpt shows it.
size_t CharacterPosition(std::string_view p_sText, size_t p_lOffset) {
    size_t position = 1;
    for (size_t i = 0; i < p_lOffset; ++position) {
        const size_t length = Utf8SequenceLength(p_sText, i);
        i += length == 0 ? 1 : length;
    }
    return position;
}

std::string Described(size_t p_lPosition, const std::string& p_sToken, const std::string& p_sWhy,
                      std::string_view p_sCriteria) {
    if (TrimWhitespace(p_sCriteria).empty()) {
        return p_sWhy;
    }
    const std::string where = " at position " + std::to_string(p_lPosition);
    const std::string in = " in " + Excerpt(p_sCriteria);
    if (p_sToken.empty()) {
        return p_sWhy + where + " (end of text)" + in;
    }
    return p_sWhy + " " + Excerpt(p_sToken) + where + in;
}

enum class PieceType { Number, Text, Condition };

// A part of the criteria already translated: its SQL with the values it binds, in order, and
// its description. The SQL is one operand wherever it goes ("?", or in parentheses, or a call),
// so parentheses the person typed need none of their own: SQLite's parser has room for only so
// many open ones.
struct Piece {
    PieceType m_eType = PieceType::Number;
    std::string m_sSql;
    std::string m_sDescription;
    std::vector<ScreenValue> m_aValues;
    Token m_oFirst;           // where it starts, for the errors about it
    bool m_bLiteral = false;  // a number as typed, signs folded in: its only value
};

// A recursive-descent reader that translates as it reads: each rule gives back the Piece of what
// it read. OR binds loosest, then AND, NOT, a comparison, + and -, * and /, a sign.
class CriteriaParser {
  public:
    CriteriaParser(std::string_view p_sText, RowKind p_eRows) : m_sText(p_sText), m_eRows(p_eRows) {
        Advance();
    }

    ScreenSql Compile() {
        if (TrimWhitespace(m_sText).empty()) {
            Fail(m_oToken, "a screen needs criteria");
        }
        Piece whole = ParseOr();
        if (m_oToken.m_eKind != TokenKind::End) {
            Fail(m_oToken, "unexpected");
        }
        RequireCondition(whole);
        return {std::move(whole.m_sSql), std::move(whole.m_aValues),
                std::move(whole.m_sDescription)};
    }

  private:
    using Rule = Piece (CriteriaParser::*)();

    [[noreturn]] void Fail(const Token& p_oToken, const std::string& p_sWhy) const {
        throw ScreenCriteriaError(CharacterPosition(m_sText, p_oToken.m_lOffset),
                                  std::string(TokenText(p_oToken)), p_sWhy, m_sText);
    }

    std::string_view TokenText(const Token& p_oToken) const {
        return m_sText.substr(p_oToken.m_lOffset, p_oToken.m_lLength);
    }

    bool IsKeyword(std::string_view p_sKeyword) const {
        return m_oToken.m_eKind == TokenKind::Name &&
               EqualsIgnoreCase(TokenText(m_oToken), p_sKeyword);
    }

    bool IsAnyKeyword() const { return IsKeyword("AND") || IsKeyword("OR") || IsKeyword("NOT"); }

    // Moves to the token after the current one.
    void Advance() {
        size_t offset = m_oToken.m_lOffset + m_oToken.m_lLength;
        while (offset < m_sText.size() && IsWhitespace(m_sText[offset])) {
            ++offset;
        }
        m_oToken = Token{TokenKind::End, offset, 0, ""};
        if (offset < m_sText.size()) {
            Classify(m_sText.substr(offset));
        }
    }

    void Classify(std::string_view p_sRest) {
        const char first = p_sRest.front();
        const char second = p_sRest.size() > 1 ? p_sRest[1] : '\0';
        if (IsNameStart(first)) {
            size_t end = 1;
            while (end < p_sRest.size() && (IsNameStart(p_sRest[end]) || IsDigit(p_sRest[end]))) {
                ++end;
            }
            Set(TokenKind::Name, end);
        } else if (IsDigit(first) || (first == '.' && IsDigit(second))) {
            Set(TokenKind::Number, NumberLength(p_sRest));
        } else if (first == '\'' || first == '"') {
            Set(TokenKind::Text, QuotedLength(p_sRest, first));
            FailWhenOpen(p_sRest, "a text without its closing quote");
        } else if (first == '[') {
            const size_t close = p_sRest.find(']');
            Set(TokenKind::Bracketed, close == std::string_view::npos ? 0 : close + 1);
            FailWhenOpen(p_sRest, "a field name without its closing bracket");
        } else {
            ClassifySign(p_sRest);
        }
    }

    void ClassifySign(std::string_view p_sRest) {
        static constexpr std::pair<char, TokenKind> kSigns[] = {
            {'(', TokenKind::Open},  {')', TokenKind::Close}, {'+', TokenKind::Plus},
            {'-', TokenKind::Minus}, {'*', TokenKind::Times}, {'/', TokenKind::Divide},
        };
        for (const auto& [sign, kind] : kSigns) {
            if (p_sRest.front() == sign) {
                Set(kind, 1);
                return;
            }
        }
        for (const auto& [typed, sql] : kComparisons) {
            if (p_sRest.starts_with(typed)) {
                Set(TokenKind::Compare, typed.size());
                m_oToken.m_sSql = sql;
                return;
            }
        }
        const size_t length = Utf8SequenceLength(p_sRest, 0);
        Set(TokenKind::End, length == 0 ? 1 : length);
        Fail(m_oToken, "unexpected character");
    }

    void Set(TokenKind p_eKind, size_t p_lLength) {
        m_oToken.m_eKind = p_eKind;
        m_oToken.m_lLength = p_lLength;
    }

    // A quote or a bracket left open takes the rest of the text, which the error quotes.
    void FailWhenOpen(std::string_view p_sRest, const char* p_sWhy) {
        if (m_oToken.m_lLength == 0) {
            m_oToken.m_lLength = p_sRest.size();
            Fail(m_oToken, p_sWhy);
        }
    }

    // Parentheses, NOT and signs open a level; the reader's own recursion follows the levels.
    void Enter(const Token& p_oToken) {
        if (++m_lNesting > kMaxNesting) {
            Fail(p_oToken, "criteria nested too deeply");
        }
    }

    void Leave() { --m_lNesting; }

    void CountTerm(const Token& p_oToken) {
        if (++m_lTerms > kMaxTerms) {
            Fail(p_oToken, "too many terms in the criteria");
        }
    }

    void RequireCondition(const Piece& p_oPiece) const {
        if (p_oPiece.m_eType != PieceType::Condition) {
            Fail(p_oPiece.m_oFirst, "not a comparison");
        }
    }

    void RequireNumber(const Piece& p_oPiece) const {
        if (p_oPiece.m_eType == PieceType::Condition) {
            Fail(p_oPiece.m_oFirst, "a condition cannot be computed");
        }
        if (p_oPiece.m_eType == PieceType::Text) {
            Fail(p_oPiece.m_oFirst, "a text cannot be computed");
        }
    }

    static void Append(Piece& p_oLeft, std::string_view p_sSql, std::string_view p_sDescription,
                       Piece&& p_oRight) {
        p_oLeft.m_sSql.append(p_sSql).append(p_oRight.m_sSql);
        p_oLeft.m_sDescription.append(p_sDescription).append(p_oRight.m_sDescription);
        for (ScreenValue& value : p_oRight.m_aValues) {
            p_oLeft.m_aValues.push_back(std::move(value));
        }
        p_oLeft.m_bLiteral = false;
    }

    Piece ParseOr() { return ParseJoined("OR", &CriteriaParser::ParseAnd); }

    Piece ParseAnd() { return ParseJoined("AND", &CriteriaParser::ParseNot); }

    // Conditions joined by one keyword, as one chain: "(a OR b OR c)".
    Piece ParseJoined(std::string_view p_sKeyword, Rule p_fOperand) {
        Piece left = (this->*p_fOperand)();
        if (!IsKeyword(p_sKeyword)) {
            return left;
        }
        RequireCondition(left);
        const std::string sql = " " + std::string(p_sKeyword) + " ";
        const std::string description = ToLowerAscii(sql);
        left.m_sSql.insert(0, "(");
        while (IsKeyword(p_sKeyword)) {
            Advance();
            Piece right = (this->*p_fOperand)();
            RequireCondition(right);
            Append(left, sql, description, std::move(right));
        }
        left.m_sSql += ")";
        return left;
    }

    // A comparison is false where one side has no value, so NOT of it is true there, as the
    // criteria read, rather than unknown as SQL would have it: a condition is true, false or NULL.
    Piece ParseNot() {
        if (!IsKeyword("NOT")) {
            return ParseComparison();
        }
        const Token word = m_oToken;
        Enter(word);
        Advance();
        Piece operand = ParseNot();
        Leave();
        RequireCondition(operand);
        operand.m_sSql = "(" + operand.m_sSql + " IS NOT TRUE)";
        operand.m_sDescription.insert(0, "not ");
        operand.m_oFirst = word;
        return operand;
    }

    Piece ParseComparison() {
        Piece left = ParseSum();
        if (m_oToken.m_eKind != TokenKind::Compare) {
            return left;
        }
        const std::string sign = std::string(" ") + m_oToken.m_sSql + " ";
        Advance();
        Piece right = ParseSum();
        for (const Piece* side : {&left, &right}) {
            if (side->m_eType == PieceType::Condition) {
                Fail(side->m_oFirst, "a condition cannot be compared");
            }
        }
        if (left.m_eType != right.m_eType) {
            Fail((left.m_eType == PieceType::Text ? left : right).m_oFirst,
                 "a text compared with a number");
        }
        const bool texts = left.m_eType == PieceType::Text;
        left.m_sSql.insert(0, "(");
        Append(left, sign, sign, std::move(right));
        left.m_sSql += texts ? " COLLATE NOCASE)" : ")";
        left.m_eType = PieceType::Condition;
        return left;
    }

    Piece ParseSum() {
        return ParseChain(TokenKind::Plus, TokenKind::Minus, &CriteriaParser::ParseProduct);
    }

    Piece ParseProduct() {
        return ParseChain(TokenKind::Times, TokenKind::Divide, &CriteriaParser::ParseUnary);
    }

    // Numbers joined by two operators of one precedence, left to right: "(a + b - c)".
    Piece ParseChain(TokenKind p_eOne, TokenKind p_eOther, Rule p_fOperand) {
        Piece left = (this->*p_fOperand)();
        const auto atOperator = [&] {
            return m_oToken.m_eKind == p_eOne || m_oToken.m_eKind == p_eOther;
        };
        if (!atOperator()) {
            return left;
        }
        RequireNumber(left);
        left.m_sSql.insert(0, "(");
        while (atOperator()) {
            const TokenKind kind = m_oToken.m_eKind;
            const std::string sign = " " + std::string(TokenText(m_oToken)) + " ";
            Advance();
            Piece right = (this->*p_fOperand)();
            RequireNumber(right);
            const std::string sql = kind == TokenKind::Divide ? Divisor(right) : sign;
            Append(left, sql, sign, std::move(right));
        }
        left.m_sSql += ")";
        return left;
    }

    // Division is real division, as people mean it, of whole-number fields (volumes, ranks) too:
    // the operator's SQL, which makes what it divides a real number unless the divisor is one. A
    // row's division by zero is NULL in SQLite and so meets no comparison; a typed one is an error.
    std::string Divisor(Piece& p_oDivisor) const {
        if (!p_oDivisor.m_bLiteral) {
            return " * 1.0 / ";
        }
        ScreenValue& value = p_oDivisor.m_aValues.front();
        const double number = std::holds_alternative<int64_t>(value)
                                  ? static_cast<double>(std::get<int64_t>(value))
                                  : std::get<double>(value);
        if (number == 0) {
            Fail(p_oDivisor.m_oFirst, "division by zero");
        }
        value = number;
        return " / ";
    }

    Piece ParseUnary() {
        if (m_oToken.m_eKind != TokenKind::Minus) {
            return ParsePrimary();
        }
        const Token sign = m_oToken;
        Enter(sign);
        Advance();
        Piece operand = ParseUnary();
        Leave();
        RequireNumber(operand);
        if (operand.m_bLiteral) {
            // A typed number is at most the largest int64_t, so its negation always fits.
            ScreenValue& value = operand.m_aValues.front();
            if (auto* whole = std::get_if<int64_t>(&value)) {
                *whole = -*whole;
            } else {
                std::get<double>(value) = -std::get<double>(value);
            }
        } else {
            operand.m_sSql = "(-" + operand.m_sSql + ")";
        }
        operand.m_sDescription.insert(0, "-");
        operand.m_oFirst = sign;
        return operand;
    }

    Piece ParsePrimary() {
        const Token token = m_oToken;
        switch (token.m_eKind) {
            case TokenKind::Number:
                return Value(token, NumberOf(token), PieceType::Number);
            case TokenKind::Text: {
                std::string text = Unquoted(TokenText(token));
                return Value(token, std::move(text), PieceType::Text);
            }
            case TokenKind::Name:
                if (IsAnyKeyword()) {
                    Fail(token, "a value expected");
                }
                return Field(token, TokenText(token), false);
            case TokenKind::Bracketed: {
                const std::string_view inner = TokenText(token).substr(1, token.m_lLength - 2);
                return Field(token, TrimWhitespace(inner), true);
            }
            case TokenKind::Open:
                return ParseParenthesised();
            default:
                Fail(token, "a value expected");
        }
    }

    Piece ParseParenthesised() {
        const Token open = m_oToken;
        Enter(open);
        Advance();
        Piece inner = ParseOr();
        if (m_oToken.m_eKind != TokenKind::Close) {
            Fail(m_oToken, "a closing parenthesis expected");
        }
        Advance();
        Leave();
        inner.m_sDescription = "(" + inner.m_sDescription + ")";
        inner.m_oFirst = open;
        return inner;
    }

    ScreenValue NumberOf(const Token& p_oToken) const {
        const std::string_view text = TokenText(p_oToken);
        const char* end = text.data() + text.size();
        if (text.find_first_of(".eE") == std::string_view::npos) {
            int64_t whole = 0;
            const auto [stop, error] = std::from_chars(text.data(), end, whole);
            if (error == std::errc() && stop == end) {
                return whole;
            }
        }
        double number = 0;
        const auto [stop, error] = std::from_chars(text.data(), end, number);
        if (error != std::errc() || stop != end || !std::isfinite(number)) {
            Fail(p_oToken, "a number out of range");
        }
        return number;
    }

    Piece Value(const Token& p_oToken, ScreenValue p_vValue, PieceType p_eType) {
        CountTerm(p_oToken);
        Piece piece;
        piece.m_eType = p_eType;
        piece.m_sSql = "?";
        piece.m_sDescription = p_eType == PieceType::Text
                                   ? QuotedText(std::get<std::string>(p_vValue))
                                   : std::string(TokenText(p_oToken));
        piece.m_aValues.push_back(std::move(p_vValue));
        piece.m_oFirst = p_oToken;
        piece.m_bLiteral = p_eType == PieceType::Number;
        Advance();
        return piece;
    }

    Piece Field(const Token& p_oToken, std::string_view p_sName, bool p_bCaptions) {
        CountTerm(p_oToken);
        const FieldDefinition* field = FindScreenField(p_sName, p_bCaptions, m_eRows);
        if (field == nullptr) {
            Fail(p_oToken, "unknown field");
        }
        const char* sql = ScreenSqlFor(*field, m_eRows);
        if (sql == nullptr) {
            Fail(p_oToken, "not a field of " + std::string(RowsName(m_eRows)));
        }
        Piece piece;
        piece.m_eType = field->m_eKind == FieldKind::Text ? PieceType::Text : PieceType::Number;
        piece.m_sSql = std::string("(") + sql + ")";
        piece.m_sDescription = field->m_sCaption;
        piece.m_oFirst = p_oToken;
        Advance();
        return piece;
    }

    std::string_view m_sText;
    RowKind m_eRows;
    Token m_oToken;
    int m_lNesting = 0;
    size_t m_lTerms = 0;
};

}  // namespace

ScreenCriteriaError::ScreenCriteriaError(size_t p_lPosition, std::string p_sToken,
                                         const std::string& p_sWhy, std::string_view p_sCriteria)
    : std::runtime_error(Described(p_lPosition, p_sToken, p_sWhy, p_sCriteria)),
      m_lPosition(p_lPosition),
      m_sToken(std::move(p_sToken)),
      m_sWhy(p_sWhy) {}

ScreenSql CompileScreenCriteria(std::string_view p_sCriteria, RowKind p_eRows) {
    return CriteriaParser(p_sCriteria, p_eRows).Compile();
}

int64_t CountScreenRows(SqlDatabase& p_oDatabase, RowKind p_eRows, const ScreenSql& p_oScreen,
                        int32_t p_lDate) {
    ListRequest request;
    request.m_lDate = p_lDate;
    request.m_oScreen = p_oScreen;
    return MarketQueries(p_oDatabase).Count(p_eRows, request);
}

}  // namespace qv::facade
