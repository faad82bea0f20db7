// What the viewer strategies share: the colour settings, the facade call, the login-conflict
// notice, the split assignment of key columns and the column resynchronisation of one grid.
#pragma once

#include "outside/color.h"
#include "outside/facade_protocol.h"
#include "outside/layout_description.h"
#include "outside/variant.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qv {

class DispatchObject;
class Grid;
class GridColumns;
class GridControl;
class Recordset;
class ViewerElements;

namespace strategy_support {

constexpr std::string_view kViewerFacade = facade_protocol::prog_id::kViewerReader;
// The field of the buy, sell and hold recommendations that the buy/sell/hold caption counts.
constexpr const char* kRecommendationField = "REC";

constexpr int32_t kWhite = RgbColor(255, 255, 255);
constexpr int32_t kHighlight = RgbColor(0, 80, 128);
constexpr int32_t kGrey = RgbColor(202, 202, 202);
constexpr int32_t kStockRows = RgbColor(233, 240, 245);
constexpr int32_t kIndustryRows = RgbColor(228, 234, 221);
constexpr int32_t kSectorRows = RgbColor(255, 255, 220);
constexpr int32_t kSectorSecondary = RgbColor(253, 254, 231);

// The eight settings every list writes, with the even-row background of its kind.
std::array<int32_t, 8> CommonColours(int32_t p_lEvenRowBackColor);

// Writes colour settings 1 .. size of p_aColours, in the order of ViewerElements.
void SetColourSettings(ViewerElements& p_oElements, std::span<const int32_t> p_aColours);
// Writes the eight common settings, then the secondary grid's background and black text.
void SetListColours(ViewerElements& p_oElements, const std::array<int32_t, 8>& p_aCommon,
                    int32_t p_lSecondaryBackColor);

// The secondary grid's columns can be neither selected nor moved.
void LockSecondaryColumns(Grid& p_oSecGrid);

std::shared_ptr<DispatchObject> CreateFacade(std::string_view p_sProgId = kViewerFacade);

bool HasRows(const std::shared_ptr<Recordset>& p_rRows);
// "Total: " and the record count.
std::string TotalCaption(const Recordset& p_rRows);

// The limit and return-all flag a query sends: MaxRows and ReturnAll, or -1 and False when no
// limit is set.
Variant LimitArgument(const ViewerElements& p_oElements);
Variant ReturnAllArgument(const ViewerElements& p_oElements);

// Tells the user that another login took over the account and records it in TimeCodeFailed.
void ReportLoginConflict(ViewerElements& p_oElements);

// The value of p_sField in the current row of the grid's control; Empty without a control,
// rows or current row.
Variant CurrentValue(const Grid& p_oGrid, std::string_view p_sField);
// Whether the secondary grid is already filtered on p_lCode. SecGridFilter is Empty before the
// first filter (taken as 0) and the empty text after a new query, which matches no code.
bool SameFilter(const Variant& p_vFilter, int32_t p_lCode);
// Filters the secondary rows to "<p_sField> = <p_lCode>" unless SecGridFilter already holds
// that code, and records it there; no rows, no filter.
void FilterSecondaryRows(ViewerElements& p_oElements, const std::shared_ptr<Recordset>& p_rRows,
                         std::string_view p_sField, int32_t p_lCode);

// Key columns to split 0, all others to split 1.
void AssignKeySplits(const GridColumns& p_oColumns, std::initializer_list<int32_t> p_aKeyIds);

// Hides every column of the grid, then shows each visible column of p_oColumns in its split at
// its Sequence, taking the positions from left to right.
void SyncColumns(const std::shared_ptr<GridColumns>& p_oColumns, const Grid& p_oGrid);

void SetVisibility(Grid& p_oPriGrid, Grid& p_oSecGrid, bool p_bSecondaryVisible);

// The layout description a facade call returned; none for a value that is not an array (no
// layout).
std::optional<LayoutDescription> ReturnedLayout(const Variant& p_vLayoutInfo);

}  // namespace strategy_support
}  // namespace qv
