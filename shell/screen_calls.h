// The owner's stock screens through the screens component of the data facade
// ("QorvantOnlineFacade.ScreensFTr"), as the screens panel, the screen editor, the host of the
// finder list and the command line use them. Each call creates the component, as the viewer's
// facade calls do; a refusal is the component's automation error, passed on.
//
//     const std::vector<StockScreen> screens = ReadScreens(ownerId);
//     const StockScreen* buy = FindScreen(screens, "rated buy");
//     ScreenCheck check = CheckScreen(ownerId, 0, "RSRank >= 80", day);   // check.m_lCount rows
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// The kinds of row a screen finds: its result type.
enum ScreenRows : int32_t { srStocks = 0, srIndustries = 1, srSectors = 2 };

struct StockScreen {
    int32_t m_lScreenId = 0;
    // 0 for a screen shipped with the market, which no owner changes.
    int32_t m_lOwnerId = 0;
    std::string m_sName;
    int32_t m_lResultType = srStocks;
    std::string m_sCriteria;
    // The criteria as a person reads them, with the fields' captions.
    std::string m_sDescription;

    bool IsShipped() const { return m_lOwnerId == 0; }
};

// The screen the finder list shows when none was chosen, and its criteria where the market
// ships no screen of that name.
inline constexpr const char* kDefaultScreenName = "Rated Buy";
inline constexpr const char* kDefaultScreenCriteria = "REC = 'B'";

// The owner's screens by name, then the shipped ones by name.
std::vector<StockScreen> ReadScreens(int32_t p_lOwnerId);
// The screen of that name (any letter case), or nullptr; the owner's own wins over a shipped one.
const StockScreen* FindScreen(const std::vector<StockScreen>& p_aScreens,
                              const std::string& p_sName);
// The names of the screens, joined by ", ", for a message that lists them.
std::string ScreenNames(const std::vector<StockScreen>& p_aScreens);

// Saves p_oScreen for the owner (a new one for an id of 0 or a shipped screen's) and writes the id
// it has now back into it.
void SaveScreen(int32_t p_lOwnerId, StockScreen& p_oScreen);
void DeleteScreen(int32_t p_lOwnerId, int32_t p_lScreenId);

struct ScreenCheck {
    int32_t m_lCount = 0;
    std::string m_sDescription;
};

// How many rows of the kind meet the criteria on the day (a day serial), with no row limit.
ScreenCheck CheckScreen(int32_t p_lOwnerId, int32_t p_lResultType, const std::string& p_sCriteria,
                        int32_t p_lDate);

// "stocks", "industry groups", "sectors": the rows of a kind, for people.
std::string ScreenRowsText(int32_t p_lResultType);

}  // namespace qv
