// The window's kinds of list, in the order of its List box, and the data its boxes hold: what
// the window's files share (main_window.cpp builds the boxes, window_state.cpp keeps the choices
// between runs).
#pragma once

#include "columns/viewer_type.h"

#include <array>
#include <cstdint>
#include <utility>

class QComboBox;

namespace qv {

inline constexpr std::array<std::pair<const char*, int32_t>, 8> kListTypes = {{
    {"Stocks", vt_Stocks},
    {"Industry groups", vt_Industries},
    {"Sectors", vt_Sectors},
    {"Stock history", vt_StockHistory},
    {"Industry group history", vt_IndustryHistory},
    {"Sector history", vt_SectorHistory},
    {"Finder results", vt_FinderResults},
    {"Portfolio", vt_Portfolio},
}};

// Chooses the entry of p_oCombo whose data is p_lValue; the first entry when none has it.
void SelectData(QComboBox& p_oCombo, int32_t p_lValue);
int32_t DataOf(const QComboBox& p_oCombo);

}  // namespace qv
