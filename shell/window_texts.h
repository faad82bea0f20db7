// The window's own texts, composed from what the control says: the caption line over the grid,
// the sort in column captions for the status bar, and why a list shows no rows.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class GridControl;

// The type caption and the name the other caption adds, with a separator: "Industry History —
// Semiconductors". A type caption that ends in ": " ("Stocks in Sector: ") is completed by the
// name itself; an other caption that repeats the type caption ("Portfolio") adds nothing. A
// subject ("XHSZ, Xanara Brands Inc.") follows the same way.
std::string CaptionLine(const std::string& p_sType, const std::string& p_sOther,
                        const std::string& p_sSubject = "");

// A sort clause ("RSRank DESC, Symbol ASC") in the captions of p_oGrid's columns with arrows
// ("RS Rank ↓, Symbol ↑"). A field no column shows keeps its name; a part that names no field
// (a layout whose sort field the control could not name) is left out.
std::string SortLine(const std::string& p_sSort, const GridControl& p_oGrid);

// What the window knows about a list that shows no rows.
struct EmptyListFacts {
    int32_t m_lViewerType = 0;
    // The watch list chosen, and whether it lists industry groups rather than stocks.
    bool m_bWatchList = false;
    bool m_bIndustryWatchList = false;
    // Why the query failed; empty when it did not.
    std::string m_sFailure;
    // Why the host's query found no rows, where it knows (a screen that nothing meets).
    std::string m_sNoRows{};
};

// The sentence shown in place of the rows.
std::string EmptyListText(const EmptyListFacts& p_oFacts);

}  // namespace qv
