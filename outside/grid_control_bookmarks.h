// The selected rows of the grid control, as a list of recordset bookmarks in the order they were
// selected. Bookmarks name rows, not positions, so a selection survives sorting and filtering of
// the bound recordset. Indexes are 0-based; adding a bookmark that is already selected changes
// nothing. A bookmark must be a number (error 13 otherwise), as the recordset's are. A change
// tells the grid's views (SelectionChanged).
#pragma once

#include "outside/dispatch.h"
#include "outside/grid_control_changes.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace qv {

class GridSelBookmarks : public DispatchObject {
  public:
    std::string_view DispatchClassName() const override { return "SelBookmarks"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;

    int32_t Count() const { return static_cast<int32_t>(m_bookmarks.size()); }
    const Variant& Item(int32_t p_lIndex) const;
    void Add(const Variant& p_vBookmark);
    void Remove(int32_t p_lIndex);
    void Clear();
    bool Contains(const Variant& p_vBookmark) const;
    // The same for a bookmark's number, without building a Variant.
    bool ContainsKey(double p_dBookmark) const { return m_keys.count(p_dBookmark) != 0; }

    GridChangeHook& Hook() { return m_hook; }

  private:
    std::vector<Variant> m_bookmarks;
    std::unordered_set<double> m_keys;
    GridChangeHook m_hook;
};

}  // namespace qv
