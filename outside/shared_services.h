// The support library's shared services, as the grid's context menu uses them: the addresses of
// the news and dividend pages, which programs the user holds, the user's options-analysis trades,
// and the machine settings of installed programs.
//
// The page addresses are templates from the per-user settings (application "Olmaris60", section
// "SharedServices", keys "NewsURL" and "DividendUrl") with relative pages as defaults; the menu
// puts the symbol in place of "***SYMBOL***" and the stock ids in place of "***StockIds***".
//
// The programs a user holds are the bits of the viewer's ProgramsMask, which the host sets from
// the user's subscription: kAdvancedGraphProgram for the advanced graph edition ("Tavrenex"
// graphs), kOptionsProgram for the options analysis ("Marlune"). With neither bit the menu offers
// the standard graphs only and no options trades.
//
// The machine settings stand in for the per-machine registry of the original platform: the value
// p_sValueName of the key p_sKey is the per-user setting of application "Machine", section p_sKey.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qv {

class Recordset;

class SharedServices {
  public:
    static constexpr std::string_view kApplication = "Olmaris60";
    static constexpr std::string_view kSection = "SharedServices";
    static constexpr std::string_view kDefaultNewsUrl = "news.aspx?symbol=***SYMBOL***";
    static constexpr std::string_view kDefaultDividendUrl =
        "dividends.aspx?stockids=***StockIds***";
    static constexpr int32_t kAdvancedGraphProgram = 1;
    static constexpr int32_t kOptionsProgram = 2;
    static constexpr std::string_view kMachineApplication = "Machine";

    std::string GetValue(std::string_view p_sName) const;
    bool AdvancedGraphs(int32_t p_lProgramsMask) const {
        return (p_lProgramsMask & kAdvancedGraphProgram) != 0;
    }
    bool HasOptionsProduct(int32_t p_lProgramsMask) const {
        return (p_lProgramsMask & kOptionsProgram) != 0;
    }
    // The owner's options trades from the portfolio facade: "Name", "Group_ID" and "tradeID",
    // a group's own row with tradeID -1. A failure of the facade propagates.
    std::shared_ptr<Recordset> OptionsTrades(int32_t p_lOwnerId) const;

    // Error 911 with the registry reader's text when the value is not there (or is empty).
    std::string MachineValue(std::string_view p_sKey, std::string_view p_sValueName) const;
};

}  // namespace qv
