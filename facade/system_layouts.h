// The layouts every owner starts from (owner 0): one default per viewer type, print type and
// finder result type, plus the watch-list variants and an alternative finder layout. Their column
// tables are built the way the viewer builds a table from a choice of fields (key columns of the
// viewer type first, then the chosen fields, then the system columns the viewer needs), so a
// system layout looks exactly like one a user saved.
#pragma once

#include <cstdint>
#include <vector>

#include "facade/layout_store.h"

namespace qv::facade {

class SqlDatabase;

// Ids the viewer relies on.
namespace system_layout {
constexpr int32_t kStockList = 3;
constexpr int32_t kIndustryList = 4;
constexpr int32_t kSectorList = 5;
constexpr int32_t kStockHistory = 6;
constexpr int32_t kIndustryHistory = 7;
constexpr int32_t kSectorHistory = 8;
constexpr int32_t kStockWatchList = 9;
constexpr int32_t kIndustryWatchList = 10;
constexpr int32_t kPortfolio = 14;
constexpr int32_t kFinderFirst = 20;  // + finder result type (0, 1, 2, 3, 5)
// A finder layout for stocks whose buy/sell/hold caption the viewer never computes.
constexpr int32_t kFinderWithoutCaption = 297;
constexpr int32_t kPrintOffset = 100;       // print type + 100 (109 to 114, 116)
constexpr int32_t kFinderPrintFirst = 150;  // + finder result type
}  // namespace system_layout

// The column table for p_aChosenIds as the viewer builds it for p_lViewerType (0 to 7) and, for
// finder results, p_lFinderType; ids that are not in the catalogue are skipped.
std::vector<LayoutColumn> BuildLayoutColumns(const std::vector<int32_t>& p_aChosenIds,
                                             int32_t p_lViewerType, int32_t p_lFinderType);

// The sort block for a primary and a secondary field (-1: none), directions 0 ascending and 1
// descending, with the text the viewer composes ("PctChange DESC, Symbol ASC").
LayoutSort MakeLayoutSort(int32_t p_lPriSortId, int32_t p_lPriSortDir, int32_t p_lSecSortId,
                          int32_t p_lSecSortDir);

std::vector<LayoutRecord> SystemLayouts();

// Writes the system layouts and makes them the system defaults.
void SeedSystemLayouts(SqlDatabase& p_oDatabase);

}  // namespace qv::facade
