#include "shell/window_texts.h"

#include "columns/viewer_type.h"
#include "outside/grid_control.h"
#include "outside/grid_control_columns.h"

#include <string_view>

namespace qv {

namespace {

// The separator between a caption and the name it is about.
constexpr std::string_view kNameSeparator = " \u2014 ";

std::string Joined(const std::string& p_sCaption, const std::string& p_sName) {
    if (p_sName.empty() || p_sName == p_sCaption) {
        return p_sCaption;
    }
    if (p_sCaption.empty()) {
        return p_sName;
    }
    if (p_sCaption.ends_with(": ")) {
        return p_sCaption + p_sName;
    }
    return p_sCaption + std::string(kNameSeparator) + p_sName;
}

std::string_view Trimmed(std::string_view p_sText) {
    const size_t first = p_sText.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return p_sText.substr(first, p_sText.find_last_not_of(' ') - first + 1);
}

// One part of a sort clause, "RSRank DESC", as "RS Rank ↓".
std::string SortPart(std::string_view p_sPart, const GridControl& p_oGrid) {
    std::string_view field = Trimmed(p_sPart);
    const char* arrow = "\u2191";
    if (const size_t space = field.rfind(' '); space != std::string_view::npos) {
        const std::string_view word = field.substr(space + 1);
        if (word == "DESC" || word == "desc") {
            arrow = "\u2193";
        }
        if (word == "DESC" || word == "desc" || word == "ASC" || word == "asc") {
            field = Trimmed(field.substr(0, space));
        }
    } else if (field == "DESC" || field == "ASC" || field == "desc" || field == "asc") {
        field = {};
    }
    if (field.empty()) {
        return {};
    }
    std::string caption(field);
    const GridControlColumns& columns = *p_oGrid.Columns();
    if (const int32_t index = columns.IndexOfField(field); index >= 0) {
        const std::string& shown = columns.Item(index)->Caption();
        caption = shown.empty() ? caption : shown;
    }
    return caption + " " + arrow;
}

}  // namespace

std::string CaptionLine(const std::string& p_sType, const std::string& p_sOther,
                        const std::string& p_sSubject) {
    return Joined(Joined(p_sType, p_sOther), p_sSubject);
}

std::string SortLine(const std::string& p_sSort, const GridControl& p_oGrid) {
    std::string line;
    std::string_view rest = p_sSort;
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string part = SortPart(rest.substr(0, comma), p_oGrid);
        if (!part.empty()) {
            line += (line.empty() ? "" : ", ") + part;
        }
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return line;
}

std::string EmptyListText(const EmptyListFacts& p_oFacts) {
    if (!p_oFacts.m_sFailure.empty()) {
        return "No rows: the query failed: " + p_oFacts.m_sFailure;
    }
    if (!p_oFacts.m_sNoRows.empty()) {
        return p_oFacts.m_sNoRows;
    }
    if (p_oFacts.m_bWatchList && p_oFacts.m_lViewerType == vt_Stocks) {
        return p_oFacts.m_bIndustryWatchList
                   ? "The industry watch list holds industry groups; choose the Industries list "
                     "to see it"
                   : "No stocks in this watch list";
    }
    return "No rows";
}

}  // namespace qv
