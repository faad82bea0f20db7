// The criteria language of a recordset's Filter and Find.
//
//     Group <> 5 and Group >= 0 or Group = -3 or [DataType_ID] = 12
//     CompanyName Like 'AB%'        Trading_Date >= #12/6/2026#        REC = Null
//
// A comparison puts a field (a bare name, or any name in brackets) before an operator and a
// literal: a number, 'text' (two quotes stand for one inside it), #date#, True, False or Null.
// The operators are = <> < > <= >= and LIKE, whose pattern takes % or * for any run of
// characters, _ for one character and [c] for the character c itself. AND binds tighter than
// OR and parentheses group. Field names, keywords and text compare without regard to case;
// numbers compare numerically. A field holding Null meets only "= Null", and "<> Null" is met by
// every other value.
//
// A literal must suit its field: text against a text field, a number, date, boolean or numeric
// text against a numeric, date or boolean field, any literal against a Variant field. Failures are
// automation errors whose description quotes the offending token, its position (1-based) and the
// whole text: 3001 for a syntax error, 3265 for an unknown field, 13 for a literal of the wrong
// type for its field.
//
//     auto criteria = ParseFilterCriteria("Symbol = 'A' or Symbol = 'B'", recordset.Fields());
//     std::vector<uint32_t> rows = SelectRows(*criteria, store);
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class Fields;
class RowStore;

enum class CriteriaTokenKind : uint8_t {
    End,
    Name,        // bare name or keyword
    QuotedName,  // [name]
    Number,
    Text,  // 'text'
    Date,  // #date#
    LeftParen,
    RightParen,
    Comma,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Invalid,  // a character no token starts with, or an unclosed quote, bracket or date
};

struct CriteriaToken {
    CriteriaTokenKind Kind = CriteriaTokenKind::End;
    size_t Offset = 0;
    size_t Length = 0;
};

// The length and kind of the token at the start of p_sText, which must not start with a blank.
// An empty text is an End token of length 0.
size_t CriteriaTokenLength(std::string_view p_sText, CriteriaTokenKind& p_eKind);

// The tokens of p_sText, blanks skipped, closed by an End token.
std::vector<CriteriaToken> TokenizeCriteria(std::string_view p_sText);

// Whether p_token of p_sText is the bare keyword p_sKeyword, in any case.
bool IsCriteriaKeyword(std::string_view p_sText, const CriteriaToken& p_token,
                       std::string_view p_sKeyword);

// The name a Name or QuotedName token stands for (brackets removed).
std::string_view CriteriaTokenName(std::string_view p_sText, const CriteriaToken& p_token);

// Raises error p_lNumber: p_sProblem, then the position of p_token, the token itself and the
// whole of p_sText.
[[noreturn]] void RaiseCriteriaError(int32_t p_lNumber, std::string_view p_sProblem,
                                     std::string_view p_sText, const CriteriaToken& p_token);

// Rows to test: the ids Ids[0] to Ids[Count-1], or when Ids is null the ids 0 to Count-1.
struct CriteriaRows {
    const uint32_t* Ids = nullptr;
    size_t Count = 0;
};

// How a node's answer for a row combines with the mark already there.
enum class MatchMerge : uint8_t { Set, And, Or };

class CriteriaNode {
  public:
    virtual ~CriteriaNode() = default;

    // Sets p_matches[i] (or ANDs or ORs into it, by p_eMerge) to 1 when the i-th row of p_rows
    // meets the criteria, else to 0. Comparing values of a Variant field that cannot be compared
    // is error 13.
    virtual void Evaluate(const RowStore& p_oRows, const CriteriaRows& p_rows, MatchMerge p_eMerge,
                          uint8_t* p_matches) const = 0;
};

// The ids of the rows that meet p_oCriteria and are not deleted, ascending.
std::vector<uint32_t> SelectRows(const CriteriaNode& p_oCriteria, const RowStore& p_oRows);

// Criteria texts built from what a person typed: CriteriaText quotes p_sText as a text literal
// (a quote inside it doubled), LikeLiteral writes p_sText as a LIKE pattern that matches it
// literally (its %, *, _ and [ bracketed), so that
//     "CompanyName Like " + CriteriaText(LikeLiteral(typed) + "%")
// finds the names that start with exactly what was typed.
std::string CriteriaText(std::string_view p_sText);
std::string LikeLiteral(std::string_view p_sText);

// Parses a Filter text against the fields it names.
std::unique_ptr<CriteriaNode> ParseFilterCriteria(std::string_view p_sText,
                                                  const Fields& p_oFields);

// Parses a Find text: a single comparison, without AND, OR or parentheses.
std::unique_ptr<CriteriaNode> ParseFindCriteria(std::string_view p_sText, const Fields& p_oFields);

}  // namespace qv
