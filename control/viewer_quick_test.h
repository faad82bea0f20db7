// The title a quick test's report carries, by the kind of list tested.
#pragma once

#include "columns/viewer_type.h"

#include <cstdint>
#include <string>

namespace qv {

// Stock and industry lists are named by their watch list when they show one (p_lWatchListId of 1
// or more), else stocks by p_sTypeCaption (the control's ViewerTypeCaption); finder results by
// their search. Lists without a quick test have no title.
std::string QuickTestTitle(ViewerType p_eType, const std::string& p_sTypeCaption,
                           int32_t p_lWatchListId, const std::string& p_sWatchListName,
                           const std::string& p_sSearchName);

}  // namespace qv
