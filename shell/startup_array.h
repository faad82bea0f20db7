// The start-up array through which a host framework hands the control master a list to show
// (CControlMaster::InitMainControl): the kind of list, its owner, row limit, day, scope and
// history reach, as the master copies them into the control's properties.
//
// Element by element: 0 the viewer type; 1 the owner; 2 unused; 3 the row limit as "n,False"
// ("0,True" for every row); 4 the list's day and 5 the helper strip's day (the same day); 6 the
// helper code, 7 or 8 when element 8 is a sector code (of a stock or an industry list), else 0;
// 7 watch-list mode, for a list of stocks, industry groups or sectors that shows a watch list or
// the stocks of a portfolio, which the side panels then choose; 8 the industry code, sector code
// or symbol that scopes the list or names a history's subject; 9 the day a history starts (the
// zero date otherwise); then either 10, a portfolio scope's id, which ends the array, or 11, the
// programs mask.
//
//     Variant startup = StartupArray({request, ownerId, historyStart, programsMask});
//     master.InitMainControl(startup, frame);
#pragma once

#include "outside/variant.h"
#include "shell/viewer_request.h"

#include <cstdint>

namespace qv {

struct StartupValues {
    // A request with its day and subject filled in (ViewerHost::Completed).
    ViewerRequest m_oRequest;
    int32_t m_lOwnerId = 0;
    // The first day of a history; ignored for other lists.
    int32_t m_lHistoryStart = 0;
    int32_t m_lProgramsMask = 0;
};

// Helper codes that make element 8 a sector code.
constexpr int16_t kStocksInSectorCode = 7;
constexpr int16_t kIndustriesInSectorCode = 8;

// True when the request is a watch-list-mode start-up: a list of stocks, industry groups or
// sectors scoped to a watch list or a portfolio.
bool IsWatchListStartup(const ViewerRequest& p_oRequest);
// True when the array carries a portfolio scope in element 10.
bool IsPortfolioScope(const ViewerRequest& p_oRequest);

Variant StartupArray(const StartupValues& p_oValues);

}  // namespace qv
