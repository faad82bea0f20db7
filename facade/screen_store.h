// Stock screens an owner keeps, and the screens shipped with the market (owner 0), which every
// owner reads and none changes. A screen finds rows of one kind (a result type: 0 stocks,
// 1 industry groups, 2 sectors) by its criteria, a text of the screen language kept as it was
// saved: whether the text parses is for the caller to check (screen_criteria.h), when it saves and
// again when it reads, since a field a screen names may leave the catalogue.
//
// An owner's screens have names unique without regard to case; a shipped screen's name does not
// count, so an owner may keep a changed copy of a shipped screen under the same name.
//
//     ScreenStore screens(store.Database());
//     ScreenRecord movers{.m_sName = "Movers", .m_lResultType = 0, .m_sCriteria = "PctChange > 5"};
//     std::optional<int32_t> id = screens.SaveScreen(owner, movers);   // none: the name is taken
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv::facade {

class SqlDatabase;

// Screens of owners are numbered from here; the ids below belong to the shipped screens.
constexpr int32_t kFirstOwnerScreenId = 1000;

struct ScreenRecord {
    int32_t m_lScreenId = 0;
    int32_t m_lOwnerId = 0;
    std::string m_sName;
    int32_t m_lResultType = 0;
    std::string m_sCriteria;
    double m_dModified = 0;  // a Date

    bool operator==(const ScreenRecord&) const = default;
};

class ScreenStore {
  public:
    explicit ScreenStore(SqlDatabase& p_oDatabase) : m_oDatabase(p_oDatabase) {}

    // The owner's screens by name, then the shipped ones by name (letter case aside); for owner 0
    // the shipped ones alone.
    std::vector<ScreenRecord> Screens(int32_t p_lOwnerId);
    std::optional<ScreenRecord> Find(int32_t p_lScreenId);

    // Stores p_oScreen for p_lOwnerId and returns its id. An id of 0 or less, or the id of a
    // screen the owner does not own (a shipped one, another owner's), creates a new screen;
    // otherwise the owner's screen is replaced. Nothing is saved, and none returned, when another
    // of the owner's screens has the name, or for owner 0 or a negative owner.
    std::optional<int32_t> SaveScreen(int32_t p_lOwnerId, const ScreenRecord& p_oScreen);

    // Deletes one of the owner's own screens; false when the owner has no screen of that id.
    bool DeleteScreen(int32_t p_lOwnerId, int32_t p_lScreenId);

  private:
    bool NameTaken(int32_t p_lOwnerId, const std::string& p_sName, int32_t p_lExceptId);
    int32_t NextOwnerScreenId();

    SqlDatabase& m_oDatabase;
};

}  // namespace qv::facade
