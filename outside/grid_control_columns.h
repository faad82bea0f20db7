// The grid control's Columns collection: every column of the grid, by creation index, with the
// display order as a permutation of them and the per-split settings of each column kept in step
// with the grid's splits.
//
// Indexes are 0-based. An item is found by index or by bound field (without regard to case); an
// index or field the collection lacks is error 9. A new column takes the display position of its
// index and, in every split, the default width and visibility.
//
// Every change of the collection or of one of its columns tells the grid's views once
// (ColumnsChanged, grid_control_changes.h).
#pragma once

#include "outside/dispatch.h"
#include "outside/grid_control_changes.h"
#include "outside/grid_control_column.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace qv {

class GridControlColumns : public DispatchObject {
  public:
    GridControlColumns() = default;
    // Detaches the columns, which callers may still hold.
    ~GridControlColumns() override;
    GridControlColumns(const GridControlColumns&) = delete;
    GridControlColumns& operator=(const GridControlColumns&) = delete;

    std::string_view DispatchClassName() const override { return "Columns"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;

    int32_t Count() const { return static_cast<int32_t>(m_byIndex.size()); }
    const std::shared_ptr<GridControlColumn>& Item(int32_t p_lIndex) const;
    const std::shared_ptr<GridControlColumn>& Item(std::string_view p_sDataField) const;
    // A number is an index, text a bound field.
    const std::shared_ptr<GridControlColumn>& Item(const Variant& p_vIndex) const;
    // The index of the column bound to p_sDataField, or -1.
    int32_t IndexOfField(std::string_view p_sDataField) const;

    // Inserts a column at p_lIndex (0 to Count; error 9 otherwise); later columns move up one.
    std::shared_ptr<GridControlColumn> Add(int32_t p_lIndex);
    void Remove(int32_t p_lIndex);
    void Clear();

    // The columns by index.
    const std::vector<std::shared_ptr<GridControlColumn>>& ByIndex() const { return m_byIndex; }
    // The columns by display position.
    const std::vector<std::shared_ptr<GridControlColumn>>& DisplayOrder() const {
        return m_byOrder;
    }
    // Moves p_oColumn to display position p_lOrder, clamped to 0 to Count - 1.
    void SetOrder(GridControlColumn& p_oColumn, int32_t p_lOrder);
    // Puts p_block, in their present display order, right before p_oTarget, or last when there
    // is no target. Columns no longer in the collection are passed over; doing it twice changes
    // nothing more.
    void MoveBefore(const std::vector<std::shared_ptr<GridControlColumn>>& p_block,
                    const GridControlColumn* p_oTarget);

    // Split bookkeeping for GridControlSplits, which tells the views once the split is in place:
    // every column gets (or loses) the settings of split p_lSplit; a new split copies those of
    // split p_lCopyFrom, or takes defaults when it is -1.
    int32_t SplitCount() const { return m_lSplitCount; }
    void InsertSplit(int32_t p_lSplit, int32_t p_lCopyFrom);
    void RemoveSplit(int32_t p_lSplit);

    // The grid's way to its views, for the columns and the splits.
    GridChangeHook& Hook() { return m_hook; }
    const GridChangeHook& Hook() const { return m_hook; }

  private:
    void Renumber();
    void DetachAll();

    std::vector<std::shared_ptr<GridControlColumn>> m_byIndex;
    std::vector<std::shared_ptr<GridControlColumn>> m_byOrder;
    int32_t m_lSplitCount = 1;
    GridChangeHook m_hook;
};

}  // namespace qv
