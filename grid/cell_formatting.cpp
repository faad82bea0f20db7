#include "grid/cell_formatting.h"

#include "grid/grid_columns.h"
#include "outside/grid_control_column.h"
#include "outside/grid_style.h"
#include "outside/recordset.h"
#include "outside/vb_format.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <optional>

namespace qv::GridUtilities {

namespace {

constexpr std::array<std::string_view, 6> kPerformanceCaptions = {
    "%PRC", "$ CHANGE", "GAIN / SHARE", "GAIN", "ROI", "REALIZED GAIN"};
constexpr std::array<std::string_view, 9> kSignedCaptions = {
    "GRT", "EPS", "EY", "P/E", "GPE", "%VOL", "SALES($M)", "SPS", "SALES ($M)"};

// The expressions match the displayed text: a minus sign anywhere is a negative value, "0", any
// character and "00" at the start a zero value, and the letters the recommendations.
constexpr std::string_view kNegative = "-";
constexpr std::string_view kZero = "^0.00";
constexpr std::array<std::string_view, 3> kRecommendations = {"B", "H", "S"};

std::string_view TrimBlanks(std::string_view p_sText) {
    const size_t first = p_sText.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return p_sText.substr(first, p_sText.find_last_not_of(' ') - first + 1);
}

std::string UpperAscii(std::string_view p_sText) {
    std::string upper(p_sText);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

template <size_t N>
bool IsOneOf(const std::string& p_sCaption, const std::array<std::string_view, N>& p_captions) {
    return std::find(p_captions.begin(), p_captions.end(), p_sCaption) != p_captions.end();
}

std::shared_ptr<GridStyle> Colours(std::optional<int32_t> p_lFore, std::optional<int32_t> p_lBack) {
    auto style = std::make_shared<GridStyle>();
    style->SetForeColor(p_lFore);
    style->SetBackColor(p_lBack);
    return style;
}

// Replaces the styles of p_sRegex with one of the given colours.
void SetCellStyle(GridControlColumn& p_oColumn, std::string_view p_sRegex,
                  std::optional<int32_t> p_lFore, std::optional<int32_t> p_lBack = std::nullopt) {
    p_oColumn.RemoveRegexCellStyle(gcNormalCell, p_sRegex);
    p_oColumn.AddRegexCellStyle(gcNormalCell, Colours(p_lFore, p_lBack), p_sRegex);
}

void ApplyRecommendationStyles(GridControlColumn& p_oColumn) {
    for (std::string_view letter : kRecommendations) {
        p_oColumn.RemoveRegexCellStyle(gcNormalCell, letter);
    }
    SetCellStyle(p_oColumn, "B", grid_colors::kWhite, grid_colors::kGreen);
    SetCellStyle(p_oColumn, "H", grid_colors::kBlack, grid_colors::kYellow);
    SetCellStyle(p_oColumn, "S", grid_colors::kWhite, grid_colors::kRed);
}

void ApplyPerformanceStyles(GridControlColumn& p_oColumn) {
    p_oColumn.SetForeColor(grid_colors::kGreen);
    SetCellStyle(p_oColumn, kNegative, grid_colors::kRed);
    SetCellStyle(p_oColumn, kZero, grid_colors::kBlack);
}

// A minus sign that is not the sign of an exponent.
bool HasMinusSign(std::string_view p_sText) {
    for (size_t i = 0; i < p_sText.size(); ++i) {
        if (p_sText[i] != '-') {
            continue;
        }
        if (i == 0 || (p_sText[i - 1] != 'E' && p_sText[i - 1] != 'e')) {
            return true;
        }
    }
    return false;
}

std::string WithoutCommas(std::string p_sText) {
    std::erase(p_sText, ',');
    return p_sText;
}

std::string ValueText(const Variant& p_vValue) {
    return p_vValue.IsNull() ? std::string() : p_vValue.ToString();
}

}  // namespace

void ApplyColumnFormat(GridControlColumn& p_oColumn, std::string_view p_sColumnFormat) {
    const std::string_view format = TrimBlanks(p_sColumnFormat);
    if (format == "Left") {
        p_oColumn.SetAlignment(gaLeft);
        p_oColumn.SetNumberFormat("");
        return;
    }
    if (format == "Center") {
        p_oColumn.SetAlignment(gaCenter);
        p_oColumn.SetNumberFormat("");
        return;
    }
    p_oColumn.SetNumberFormat(std::string(format));
    p_oColumn.SetAlignment(format.find("M/D") != std::string_view::npos ? gaLeft : gaRight);
}

void ApplyColumnStyles(GridControlColumn& p_oColumn) {
    const std::string caption = UpperAscii(p_oColumn.Caption());
    if (caption == "REC") {
        ApplyRecommendationStyles(p_oColumn);
    } else if (IsOneOf(caption, kPerformanceCaptions)) {
        ApplyPerformanceStyles(p_oColumn);
    } else if (IsOneOf(caption, kSignedCaptions)) {
        SetCellStyle(p_oColumn, kNegative, grid_colors::kRed);
    }
}

bool IsNegativeNumberText(std::string_view p_sCellText) {
    const bool signedText =
        p_sCellText.find_first_of("()") != std::string_view::npos || HasMinusSign(p_sCellText);
    return signedText && IsNumeric(Variant(p_sCellText));
}

void ApplyNegativeNumberStyle(std::string_view p_sCellText, GridStyle& p_oCellStyle) {
    if (IsNegativeNumberText(p_sCellText)) {
        p_oCellStyle.SetForeColor(grid_colors::kRed);
    }
}

std::string ExportCellText(const GridColumns& p_oColumns, const std::string& p_sFieldName,
                           const Variant& p_vValue) {
    const std::shared_ptr<GridColumn> column = p_oColumns.GetColumnByFieldName(p_sFieldName);
    const std::string format(column ? TrimBlanks(column->ColumnFormat()) : std::string_view());
    const std::string text = ValueText(p_vValue);
    if (format == "Left" || format == "Center") {
        return WithoutCommas(text);
    }
    if (format == "Short Date") {
        return std::string(TrimBlanks(Format(Variant(text), format)));
    }
    return std::string(TrimBlanks(Format(Variant(WithoutCommas(text)), format)));
}

std::string ExportRowText(const GridColumns& p_oColumns, const Recordset& p_rRecordset,
                          const std::vector<std::string>& p_fields) {
    std::string line;
    for (size_t i = 0; i < p_fields.size(); ++i) {
        if (i > 0) {
            line += ",";
        }
        line += ExportCellText(p_oColumns, p_fields[i], p_rRecordset.Value(p_fields[i]));
    }
    return line + "\r\n";
}

}  // namespace qv::GridUtilities
