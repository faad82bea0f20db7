// What a host asks the viewer to show: the kind of list, its day, its scope and its size. The
// main window builds one from its controls, the headless modes from the command line.
#pragma once

#include "columns/viewer_type.h"

#include <cstdint>
#include <string>

namespace qv {

struct ViewerRequest {
    int32_t m_lViewerType = vt_Stocks;
    // A day serial; 0 for the latest trading day.
    int32_t m_lDate = 0;
    // The scope of a list of stocks, industry groups or sectors; a watch list or a portfolio
    // wins over the codes. The industry, sector and symbol also say whose history is shown.
    int32_t m_lIndCode = 0;
    int32_t m_lSectorCode = 0;
    int32_t m_lWatchListId = 0;
    int32_t m_lPortfolioId = 0;
    std::string m_sSymbol;
    // Rows of a list: -1 for the owner's default, 0 for every row.
    int32_t m_lMaxRows = -1;
    // Calendar days a history reaches back from its day.
    int32_t m_lHistoryDays = 90;
    // The screen whose rows a finder list shows: its name, its criteria in the screen language
    // and the kind of rows it finds (0 stocks, 1 industry groups, 2 sectors). Without criteria,
    // the owner's or the shipped screen of that name; without a name either, "Rated Buy".
    std::string m_sScreenName{};
    std::string m_sScreenCriteria{};
    int32_t m_lScreenRows = 0;
    // A portfolio asked for by name (any letter case); the host finds its id among the owner's.
    std::string m_sPortfolioName{};
};

}  // namespace qv
