// The kinds of list the viewer shows. A "_Print" member is its list's value plus 9 and selects
// the print layout of that list. The spellings are those of the control's published interface,
// misspellings included, because hosts refer to them by name.
#pragma once

#include <cstdint>

namespace qv {

enum ViewerType : int32_t {
    vt_Stocks = 0,
    vt_Industries = 1,
    vt_Sectors = 2,
    vt_StockHistory = 3,
    vt_IndustryHistory = 4,
    vt_SectorHistory = 5,
    vt_FinderResults = 6,
    vt_Portfolio = 7,
    vt_BuyFromSearch = 8,
    vt_Stocks_Print = 9,
    vt_Industries_Print = 10,
    vt_Sectrors_Print = 11,
    vt_StockHistory_Print = 12,
    vt_IndustryHistory_Print = 13,
    vt_SectorHistory_Print = 14,
    vt_FinderResults_Print = 15,
    vt_Portfolio_Print = 16,
};

}  // namespace qv
