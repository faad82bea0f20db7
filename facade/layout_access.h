// Which layouts an owner may read, and which layout a list call works with.
//
// An owner reads its own layouts and the system's (owner 0), never another owner's: a layout id
// of someone else answers like an id that does not exist. Each owner has a default layout per
// data type (a viewer or print type) and finder type; an owner without one, and a caller without
// an owner (0 or less), gets the system default.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "facade/layout_store.h"
#include "outside/variant.h"

namespace qv::facade {

class SqlDatabase;

struct LayoutInForce {
    LayoutRecord m_oLayout;
    bool m_bAsSent = false;  // the caller's own description, used unchanged
};

class LayoutAccess {
  public:
    explicit LayoutAccess(SqlDatabase& p_oDatabase) : m_oLayouts(p_oDatabase) {}

    std::optional<LayoutRecord> Readable(int32_t p_lOwnerId, int32_t p_lLayoutId);
    std::optional<LayoutRecord> Default(int32_t p_lOwnerId, int32_t p_lDataType,
                                        int32_t p_lFinderType);

    // The layout of a list call: the layout the caller sent when it holds columns (a layout in
    // force; a missing sort is taken from the stored layout of its id or the default); else
    // layout p_lLayoutId when the owner may read it and it is a layout of the data type (or of
    // its print type); else the owner's default. A data type without any layout is an
    // automation error of p_sMethod.
    LayoutInForce InForce(std::string_view p_sMethod, int32_t p_lOwnerId,
                          std::optional<LayoutDescription> p_oSent, int32_t p_lLayoutId,
                          int32_t p_lDataType, int32_t p_lFinderType);

  private:
    LayoutStore m_oLayouts;
};

// The layout a caller sent, as a record of no particular kind.
LayoutRecord RecordOf(LayoutDescription p_oLayout);

// Writes the layout a call used into the caller's by-reference description, unless it is the
// caller's own description, which stays as it was sent.
void WriteBackLayout(Variant& p_vDescription, const LayoutInForce& p_oUsed);

// The SQL columns a layout fetches: those of its entries in a state that is fetched (system,
// visible, always visible; not hidden), in layout order. With p_lTableBit 0 or more, only the
// entries whose table mask has that bit.
std::vector<std::string> FetchedFields(const LayoutRecord& p_oLayout, int32_t p_lTableBit = -1);

}  // namespace qv::facade
