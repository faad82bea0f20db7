#include "outside/grid_control_bookmarks.h"

#include "outside/automation_error.h"
#include "outside/dispatch_table.h"
#include "outside/grid_control_support.h"

namespace qv {

namespace {

double KeyOf(const Variant& p_vBookmark) {
    if (!p_vBookmark.IsNumber()) {
        RaiseRuntimeError(errors::kTypeMismatch, "a bookmark must be a number");
    }
    return p_vBookmark.ToDouble();
}

const DispatchTable& BookmarksTable() {
    static const DispatchTable table =
        DispatchTable::Builder<GridSelBookmarks>()
            .Get("Count", [](GridSelBookmarks& self) { return Variant(self.Count()); })
            .IndexedGet("Item", 1, 1,
                        [](GridSelBookmarks& self, DispatchArgs args) {
                            return self.Item(args[0].ToLong());
                        })
            .Method("Add", 1, 1,
                    [](GridSelBookmarks& self, DispatchArgs args) {
                        self.Add(args[0]);
                        return Variant();
                    })
            .Method("Remove", 1, 1,
                    [](GridSelBookmarks& self, DispatchArgs args) {
                        self.Remove(args[0].ToLong());
                        return Variant();
                    })
            .Build();
    return table;
}

}  // namespace

Variant GridSelBookmarks::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                 std::span<Variant> p_args) {
    return BookmarksTable().Invoke(*this, p_sName, p_eKind, p_args);
}

const Variant& GridSelBookmarks::Item(int32_t p_lIndex) const {
    RequireGridIndex(p_lIndex, Count(), "Selected bookmark");
    return m_bookmarks[static_cast<size_t>(p_lIndex)];
}

void GridSelBookmarks::Add(const Variant& p_vBookmark) {
    if (m_keys.insert(KeyOf(p_vBookmark)).second) {
        m_bookmarks.push_back(p_vBookmark);
        m_hook.SelectionChanged();
    }
}

void GridSelBookmarks::Remove(int32_t p_lIndex) {
    RequireGridIndex(p_lIndex, Count(), "Selected bookmark");
    m_keys.erase(m_bookmarks[static_cast<size_t>(p_lIndex)].ToDouble());
    m_bookmarks.erase(m_bookmarks.begin() + p_lIndex);
    m_hook.SelectionChanged();
}

void GridSelBookmarks::Clear() {
    if (m_bookmarks.empty()) {
        return;
    }
    m_bookmarks.clear();
    m_keys.clear();
    m_hook.SelectionChanged();
}

bool GridSelBookmarks::Contains(const Variant& p_vBookmark) const {
    return p_vBookmark.IsNumber() && ContainsKey(p_vBookmark.ToDouble());
}

}  // namespace qv
