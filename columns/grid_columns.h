// The columns of one grid: an insertion-ordered collection of GridColumn objects, keyed by their
// field names without regard to letter case.
//
// A column added with a field name is stored under that name, so adding the same field again
// updates the column already there; a column added without a field name has no key and is
// reached by position or enumeration only. Positions are 1-based. Item and Remove fail as the
// runtime's Collection does: a position outside 1..Count is error 9 (Subscript out of range), a
// key that is not present error 5 (Invalid procedure call or argument).
//
//     auto columns = std::make_shared<GridColumns>();
//     columns->Add("Symbol", csAlwaysVisible, "Symbol", 4, 1, 1, 0, "Left");
//     columns->Item("SYMBOL")->Sequence();      // 1
//     for (const auto& column : *columns) { ... }
#pragma once

#include "columns/column_state.h"
#include "columns/grid_column.h"
#include "outside/layout_description.h"
#include "outside/text_util.h"
#include "outside/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv {

class GridColumns {
  public:
    using const_iterator = std::vector<std::shared_ptr<GridColumn>>::const_iterator;

    // The column that now holds the values: the existing column of p_sSQLColumn, updated, or a
    // new one. State, caption and format are only set when given (non-zero, non-empty); the
    // parameter id, sequence, table mask and grid column number always are.
    std::shared_ptr<GridColumn> Add(const std::string& p_sSQLColumn, ColumnState p_lState,
                                    const std::string& p_sCaption, int32_t p_lParameterId,
                                    int32_t p_lSequence, int32_t p_lTableMask,
                                    int32_t p_lGridColumnNumber,
                                    const std::string& p_sColumnFormat);

    // By key when p_vIndex holds text, otherwise by 1-based position.
    std::shared_ptr<GridColumn> Item(const Variant& p_vIndex) const;
    void Remove(const Variant& p_vIndex);
    int32_t Count() const { return static_cast<int32_t>(m_columns.size()); }
    void Clear();

    // For-each support, in insertion order. Adding or removing columns invalidates iterators.
    const_iterator begin() const { return m_columns.begin(); }
    const_iterator end() const { return m_columns.end(); }

    // The first column whose TrueGridColumnNumber is p_lPosition, or null.
    std::shared_ptr<GridColumn> GetColumnByGridPosition(int32_t p_lPosition) const;
    // The column stored under the field name, or null (also for an empty name).
    std::shared_ptr<GridColumn> GetColumnByFieldName(std::string_view p_sFieldName) const;

    int32_t NumVisibleCols() const { return CountInState(csVisible); }
    int32_t NumSystemCols() const { return CountInState(csSystem); }
    int32_t NumAlwaysVisibleCols() const { return CountInState(csAlwaysVisible); }

    // The fields to fetch: a 0-based array of the SQLColumn of every system, visible and always
    // visible column in collection order; Empty when there are none.
    Variant PertinantColumns() const;
    // The column table of a layout description, one entry per column in collection order; as
    // a Variant (rows 0 to 6 by entry), Empty without columns.
    std::vector<LayoutColumn> LayoutColumns() const;
    Variant ColumnInfo() const;
    // The number of columns in split 0.
    int16_t ColsLeftOfSplit() const;

    // Renumbers Sequence after the user dragged the grid columns p_lStartCol..p_lEndCol (0-based
    // display positions) onto p_lNewPosition. Moving left puts the block where the target
    // column was; moving right puts it just before the target column. A drop onto the block
    // itself and a reversed range change nothing.
    void Move(int32_t p_lStartCol, int32_t p_lEndCol, int32_t p_lNewPosition);

  private:
    int32_t CountInState(ColumnState p_eState) const;
    size_t PositionOf(const Variant& p_vIndex) const;

    std::vector<std::shared_ptr<GridColumn>> m_columns;
    // The key each column was stored under ("" for none), parallel to m_columns: a column's
    // SQLColumn may change after it was added, its key does not.
    std::vector<std::string> m_keys;
    std::unordered_map<std::string, std::shared_ptr<GridColumn>, IgnoreCaseHash, IgnoreCaseEqual>
        m_byKey;
};

}  // namespace qv
