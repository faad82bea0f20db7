// The grid control's Splits collection. A grid always has at least one split; removing the last
// one is error 5. A new split copies the column settings (visibility, width) of the split before
// it, or of the first split when it is inserted first, as dividing a pane in two does.
#pragma once

#include "outside/dispatch.h"
#include "outside/grid_split.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

class GridControlColumns;

class GridControlSplits : public DispatchObject {
  public:
    explicit GridControlSplits(std::shared_ptr<GridControlColumns> p_oColumns);
    // Marks the splits removed, since callers may hold them.
    ~GridControlSplits() override;
    GridControlSplits(const GridControlSplits&) = delete;
    GridControlSplits& operator=(const GridControlSplits&) = delete;

    std::string_view DispatchClassName() const override { return "Splits"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;

    int32_t Count() const { return static_cast<int32_t>(m_splits.size()); }
    const std::shared_ptr<GridSplit>& Item(int32_t p_lIndex) const;
    const std::vector<std::shared_ptr<GridSplit>>& All() const { return m_splits; }
    // Inserts a split at p_lIndex (0 to Count; error 9 otherwise).
    std::shared_ptr<GridSplit> Add(int32_t p_lIndex);
    std::shared_ptr<GridSplit> Add() { return Add(Count()); }
    void Remove(int32_t p_lIndex);

  private:
    void Renumber();

    std::shared_ptr<GridControlColumns> m_oColumns;
    std::vector<std::shared_ptr<GridSplit>> m_splits;
};

}  // namespace qv
