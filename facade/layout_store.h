// Saved layouts: which fields a grid shows, in which order, with which captions and formats, and
// how the list is sorted. A layout belongs to an owner (owner 0 holds the system layouts) and to a
// data type: a viewer type 0 to 7 or a print type 9 to 16, with a finder result type for finder
// layouts (-1 for every other kind). Each owner may have one default layout per data type and
// finder type; an owner without one gets the system default.
//
// The record is the layout the viewer exchanges (outside/layout_description.h: a header, a sort
// block when the layout sorts, the column table) with the kind of list it is for.
//
//     LayoutStore layouts(store.Database());
//     std::optional<LayoutRecord> stockList = layouts.DefaultLayout(p_lOwnerId, 0, -1);
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "outside/layout_description.h"

namespace qv::facade {

class SqlDatabase;

// Column states as the viewer's column model numbers them.
namespace column_state {
constexpr int32_t kSystem = 1;
constexpr int32_t kVisible = 2;
constexpr int32_t kHidden = 3;
constexpr int32_t kAlwaysVisible = 4;
}  // namespace column_state

// Layouts of owners are numbered from here; the ids below belong to the system layouts.
constexpr int32_t kFirstOwnerLayoutId = 1000;

struct LayoutRecord : LayoutDescription {
    int32_t m_lDataType = 0;
    int32_t m_lFinderType = -1;

    bool operator==(const LayoutRecord&) const = default;
};

// The sort clause of a layout; empty when it has no sort block.
std::string SortTextOf(const LayoutDescription& p_oLayout);

class LayoutStore {
  public:
    explicit LayoutStore(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    std::optional<LayoutRecord> GetLayout(int32_t p_lLayoutId);

    // The owner's default for the data type and finder type, else the system default; for each a
    // default of finder type -1 stands in when there is none for the finder type asked.
    std::optional<LayoutRecord> DefaultLayout(int32_t p_lOwnerId, int32_t p_lDataType,
                                              int32_t p_lFinderType);

    // Stores p_oLayout for p_lOwnerId and returns its id. A layout id of -1 (a new layout), or the
    // id of a layout the owner does not own, creates a new layout (a system layout is never changed
    // by an owner); otherwise the owner's layout is replaced. The saved layout becomes the owner's
    // default for its data type and finder type. Nothing is saved for owner 0 or a negative
    // owner: a caller without a login must not change the layouts every user starts from.
    std::optional<int32_t> SaveLayout(int32_t p_lOwnerId, const LayoutRecord& p_oLayout);

    // Deletes one of the owner's own layouts; false when the owner does not own such a layout.
    bool DeleteLayout(int32_t p_lOwnerId, int32_t p_lLayoutId);

    // Forgets the owner's default for the data type and finder type, so that the system default
    // is used again. With p_bDeleteLayouts the owner's layouts of that kind are deleted as well.
    void ClearOwnerDefault(int32_t p_lOwnerId, int32_t p_lDataType, int32_t p_lFinderType,
                           bool p_bDeleteLayouts);

    // The ids and names of the layouts an owner may load for a data type: the owner's own and
    // the system's, the owner's first, each group by name.
    std::vector<std::pair<int32_t, std::string>> LayoutNames(int32_t p_lOwnerId,
                                                             int32_t p_lDataType);

    // Writes a layout under its own id and owner, replacing any layout with that id (used to seed
    // the system layouts).
    void PutLayout(const LayoutRecord& p_oLayout);
    void SetDefault(int32_t p_lOwnerId, int32_t p_lDataType, int32_t p_lFinderType,
                    int32_t p_lLayoutId);

  private:
    std::optional<int32_t> DefaultLayoutId(int32_t p_lOwnerId, int32_t p_lDataType,
                                           int32_t p_lFinderType);
    int32_t NextOwnerLayoutId();

    SqlDatabase& m_oDatabase;
};

}  // namespace qv::facade
