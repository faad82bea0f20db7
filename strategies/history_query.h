// The query the three history strategies share: one grid with a row per date of one stock,
// industry or sector between StartDate and EndDate, the date column frozen on the left.
#pragma once

#include "outside/variant.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace qv {

class Grid;
class ViewerFunctionality;

// The date column, frozen on the left.
constexpr int32_t kHistoryKeyColumn = 41;

// What differs between the stock, industry and sector histories.
struct HistoryKind {
    std::string_view m_sMethod;  // the facade method
    int32_t m_lEvenRowBackColor;
    int32_t m_lResultType;  // also the data type of the grid
    const char* m_sReportTitle;
    const char* m_sLabel;  // the failure label of Initialize
    const char* m_sSyncLabel;
};

// The history query of p_oStrategy, with p_vKey (the symbol or the code) as the third argument.
// Failures are reported under the kind's label.
void InitializeHistory(ViewerFunctionality& p_oStrategy, const HistoryKind& p_oKind,
                       const Variant& p_vKey, Grid& p_oPriGrid, Grid& p_oSecGrid);

// Puts the columns of the grid back into their splits and order; p_oKeyIds are the frozen ones.
void SynchronizeSingleGrid(ViewerFunctionality& p_oStrategy, const char* p_sLabel,
                           std::initializer_list<int32_t> p_aKeyIds, Grid& p_oPriGrid);

}  // namespace qv
