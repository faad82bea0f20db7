// Saved layouts: which fields a grid shows, in which order, with which captions and formats, and
// how the list is sorted. A layout belongs to an owner (owner 0 holds the system layouts) and to a
// data type: a viewer type 0 to 7 or a print type 9 to 16, with a finder result type for finder
// layouts (-1 for every other kind). Each owner may have one default layout per data type and
// finder type; an owner without one gets the system default.
//
// The record mirrors the layout description the viewer exchanges: a header (id, name,
// description, parent id, owner id), a sort block (empty sort text = none) and the column table.
//
//     LayoutStore layouts(store.Database());
//     std::optional<LayoutRecord> stockList = layouts.DefaultLayout(p_lOwnerId, 0, -1);
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::facade {

class SqliteDatabase;

// Column states as the viewer's column model numbers them.
namespace column_state {
constexpr int32_t kSystem = 1;
constexpr int32_t kVisible = 2;
constexpr int32_t kHidden = 3;
constexpr int32_t kAlwaysVisible = 4;
}  // namespace column_state

// The id a caller sends to ask for a new layout.
constexpr int32_t kNewLayoutId = -1;
// Layouts of owners are numbered from here; the ids below belong to the system layouts.
constexpr int32_t kFirstOwnerLayoutId = 1000;

struct LayoutColumn {
    int32_t m_lParameterId = 0;
    int32_t m_lState = 0;
    std::string m_sSQLColumn;
    std::string m_sCaption;
    int32_t m_lTableMask = 0;
    int32_t m_lSequence = 0;
    std::string m_sColumnFormat;

    bool operator==(const LayoutColumn&) const = default;
};

struct LayoutSort {
    std::string m_sSortText;  // "Symbol ASC", "PctChange DESC, Symbol ASC"; empty: no sort block
    int32_t m_lPriSortId = 0;
    int32_t m_lPriSortDir = 0;
    int32_t m_lSecSortId = -1;
    int32_t m_lSecSortDir = 0;

    bool operator==(const LayoutSort&) const = default;
};

struct LayoutRecord {
    int32_t m_lId = kNewLayoutId;
    std::string m_sName;
    std::string m_sDescription;
    int32_t m_lParentId = 0;
    int32_t m_lOwnerId = 0;
    int32_t m_lDataType = 0;
    int32_t m_lFinderType = -1;
    LayoutSort m_oSort;
    std::vector<LayoutColumn> m_aColumns;

    bool operator==(const LayoutRecord&) const = default;
};

class LayoutStore {
  public:
    explicit LayoutStore(SqliteDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    std::optional<LayoutRecord> GetLayout(int32_t p_lLayoutId);

    // The owner's default for the data type and finder type, else the system default; for each a
    // default of finder type -1 stands in when there is none for the finder type asked.
    std::optional<LayoutRecord> DefaultLayout(int32_t p_lOwnerId, int32_t p_lDataType,
                                              int32_t p_lFinderType);

    // Stores p_oLayout for p_lOwnerId and returns its id. A layout id of kNewLayoutId, or the id
    // of a layout the owner does not own, creates a new layout (a system layout is never changed
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

    SqliteDatabase& m_oDatabase;
};

}  // namespace qv::facade
