// How the control master reaches what the host framework holds: the main control, the helper
// strip and the side panels, all by name, and the viewer types it tells apart.
//
// The master cannot see the control's own enumeration (it reaches the control only by dispatch),
// so the viewer types it acts on are repeated here with the control's numbers.
#pragma once

#include "outside/dispatch.h"
#include "outside/variant.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace qv::host_calls {

constexpr int32_t kStocks = 0;
constexpr int32_t kIndustries = 1;
constexpr int32_t kSectors = 2;
constexpr int32_t kStockHistory = 3;
constexpr int32_t kIndustryHistory = 4;
constexpr int32_t kSectorHistory = 5;
constexpr int32_t kPortfolio = 7;

// The three lists that have a watch-list mode, a date and limits of their own.
bool IsMarketList(int32_t p_eViewerType);
bool IsHistory(int32_t p_eViewerType);

// The support controls by name.
constexpr std::string_view kWatchListPanel = "ctlWatchListSupport";
constexpr std::string_view kPortfolioPanel = "ctlPortfolioSupport";
constexpr std::string_view kSearchPanel = "ctlSearchSupport";
constexpr std::string_view kHistoryHelper = "ctlHelper";

// The object a Variant holds; error 91 for Nothing, error 13 for a Variant that holds none.
std::shared_ptr<DispatchObject> ObjectOf(const Variant& p_vValue);

// The host's "maincontrolref" and "HelperControlRef" (error 91 when the host has none).
std::shared_ptr<DispatchObject> MainControl(DispatchObject& p_oHost);
std::shared_ptr<DispatchObject> HelperControl(DispatchObject& p_oHost);
// False when the host's "HelperControlRef" is Nothing.
bool HasHelperControl(DispatchObject& p_oHost);
// The panel of "SupportControlRef"(name): the "object" of what the host answers. A host that
// lacks the control fails as it does.
std::shared_ptr<DispatchObject> SupportControl(DispatchObject& p_oHost, std::string_view p_sName);

// A method call with arguments passed by value: what the callee writes back is dropped.
Variant CallWith(DispatchObject& p_oTarget, std::string_view p_sName, std::vector<Variant> p_args);

// The helper strip shows the list's sort and BSH captions; after anything that may change them.
void RefreshHelper(DispatchObject& p_oHelper, DispatchObject& p_oMain);

// The main control's "RecordCount" is above zero: the commands that need rows.
bool HasRows(DispatchObject& p_oMain);

}  // namespace qv::host_calls
