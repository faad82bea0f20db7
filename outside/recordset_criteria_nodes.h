// The nodes parsed criteria are made of, and how they test rows.
//
// A comparison is bound to its field's column when it is built, so that testing a row reads the
// typed array directly: a number comparison of a Long column compares int32 values, a text
// comparison compares strings without regard to case, a value comparison (Variant columns) uses
// CompareValues. Null never meets a comparison; MakeNullTest tests for it.
#pragma once

#include "outside/recordset_criteria.h"
#include "outside/variant.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace qv {

enum class CompareOp : uint8_t { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Like };

// "= Null" when p_bNull, "<> Null" otherwise.
std::unique_ptr<CriteriaNode> MakeNullTest(size_t p_lColumn, bool p_bNull);
// For Double, Date, Long, Integer and Boolean columns; booleans count as -1 and 0.
std::unique_ptr<CriteriaNode> MakeNumberComparison(size_t p_lColumn, CompareOp p_eOp,
                                                   double p_dValue);
// For Text columns; with Like, p_sValue is the pattern.
std::unique_ptr<CriteriaNode> MakeTextComparison(size_t p_lColumn, CompareOp p_eOp,
                                                 std::string_view p_sValue);
// For Variant columns; with Like, p_vValue is the pattern.
std::unique_ptr<CriteriaNode> MakeValueComparison(size_t p_lColumn, CompareOp p_eOp,
                                                  const Variant& p_vValue);
// AND of p_children when p_bAll, OR otherwise.
std::unique_ptr<CriteriaNode> MakeJunction(bool p_bAll,
                                           std::vector<std::unique_ptr<CriteriaNode>> p_children);

// LIKE matching: % and * match any run of characters, _ one character (a whole UTF-8 sequence),
// [c] the one byte c itself (LikeLiteral writes it); p_sFoldedPattern must have been folded with
// ToLowerAscii.
bool LikeMatches(std::string_view p_sValue, std::string_view p_sFoldedPattern);

}  // namespace qv
