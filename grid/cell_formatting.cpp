#include "grid/cell_formatting.h"

#include "columns/grid_columns.h"
#include "outside/automation_error.h"
#include "outside/fields.h"
#include "outside/grid_control_column.h"
#include "outside/grid_style.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "outside/vb_format.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace qv::GridUtilities {

namespace {

// The expressions match the displayed text: a minus sign anywhere is a negative value, "0", any
// character and "00" at the start a zero value, and the letters the recommendations.
constexpr std::string_view kNegative = "-";
constexpr std::string_view kZero = "^0.00";
constexpr std::array<std::string_view, 3> kRecommendations = {"B", "H", "S"};

enum class CaptionRule { None, Recommendation, Performance, Signed };

struct CaptionEntry {
    std::string_view Caption;
    CaptionRule Rule;
};

// Sorted by length, so that the captions of one length are neighbours.
constexpr std::array<CaptionEntry, 16> kCaptionRules = {{
    {"EY", CaptionRule::Signed},
    {"REC", CaptionRule::Recommendation},
    {"ROI", CaptionRule::Performance},
    {"GRT", CaptionRule::Signed},
    {"EPS", CaptionRule::Signed},
    {"P/E", CaptionRule::Signed},
    {"GPE", CaptionRule::Signed},
    {"SPS", CaptionRule::Signed},
    {"%PRC", CaptionRule::Performance},
    {"GAIN", CaptionRule::Performance},
    {"%VOL", CaptionRule::Signed},
    {"$ CHANGE", CaptionRule::Performance},
    {"SALES($M)", CaptionRule::Signed},
    {"SALES ($M)", CaptionRule::Signed},
    {"GAIN / SHARE", CaptionRule::Performance},
    {"REALIZED GAIN", CaptionRule::Performance},
}};
static_assert(std::is_sorted(kCaptionRules.begin(), kCaptionRules.end(),
                             [](const CaptionEntry& p_left, const CaptionEntry& p_right) {
                                 return p_left.Caption.size() < p_right.Caption.size();
                             }));

constexpr size_t kLongestCaption = 13;

// Element n: the index of the first caption of n or more characters.
constexpr std::array<uint8_t, kLongestCaption + 2> FirstOfLength() {
    std::array<uint8_t, kLongestCaption + 2> first{};
    for (size_t length = 0; length < first.size(); ++length) {
        for (const CaptionEntry& entry : kCaptionRules) {
            first[length] += entry.Caption.size() < length ? 1 : 0;
        }
    }
    return first;
}
constexpr std::array<uint8_t, kLongestCaption + 2> kFirstOfLength = FirstOfLength();

// Captions compare in capitals, that is without regard to ASCII letter case. Every column of
// every layout load is looked up here, so only the captions of its length are compared.
CaptionRule RuleOf(std::string_view p_sCaption) {
    if (p_sCaption.size() > kLongestCaption) {
        return CaptionRule::None;
    }
    for (size_t i = kFirstOfLength[p_sCaption.size()]; i < kFirstOfLength[p_sCaption.size() + 1];
         ++i) {
        if (EqualsIgnoreCase(kCaptionRules[i].Caption, p_sCaption)) {
            return kCaptionRules[i].Rule;
        }
    }
    return CaptionRule::None;
}

std::shared_ptr<GridStyle> Colours(std::optional<int32_t> p_lFore, std::optional<int32_t> p_lBack) {
    auto style = std::make_shared<GridStyle>();
    style->SetForeColor(p_lFore);
    style->SetBackColor(p_lBack);
    return style;
}

// The conditional styles, made once and shared by every column: a column only reads the
// styles it is given, and nothing here changes them.
struct CellStyles {
    std::shared_ptr<GridStyle> Buy = Colours(grid_colors::kWhite, grid_colors::kGreen);
    std::shared_ptr<GridStyle> Hold = Colours(grid_colors::kBlack, grid_colors::kYellow);
    std::shared_ptr<GridStyle> Sell = Colours(grid_colors::kWhite, grid_colors::kRed);
    std::shared_ptr<GridStyle> Negative = Colours(grid_colors::kRed, std::nullopt);
    std::shared_ptr<GridStyle> Zero = Colours(grid_colors::kBlack, std::nullopt);
};

const CellStyles& Styles() {
    static const CellStyles styles;
    return styles;
}

// Replaces the styles of p_sRegex with p_oStyle.
void SetCellStyle(GridControlColumn& p_oColumn, std::string_view p_sRegex,
                  const std::shared_ptr<GridStyle>& p_oStyle) {
    if (p_oColumn.RegexCellStyleCount() > 0) {
        p_oColumn.RemoveRegexCellStyle(gcNormalCell, p_sRegex);
    }
    p_oColumn.AddRegexCellStyle(gcNormalCell, p_oStyle, p_sRegex);
}

void ApplyRecommendationStyles(GridControlColumn& p_oColumn) {
    if (p_oColumn.RegexCellStyleCount() > 0) {
        for (std::string_view letter : kRecommendations) {
            p_oColumn.RemoveRegexCellStyle(gcNormalCell, letter);
        }
    }
    p_oColumn.AddRegexCellStyle(gcNormalCell, Styles().Buy, "B");
    p_oColumn.AddRegexCellStyle(gcNormalCell, Styles().Hold, "H");
    p_oColumn.AddRegexCellStyle(gcNormalCell, Styles().Sell, "S");
}

void ApplyPerformanceStyles(GridControlColumn& p_oColumn) {
    p_oColumn.SetForeColor(grid_colors::kGreen);
    SetCellStyle(p_oColumn, kNegative, Styles().Negative);
    SetCellStyle(p_oColumn, kZero, Styles().Zero);
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

// The text of a value in an export line: no comma (the field separator), no control character
// or line break (the line's end), valid UTF-8. Plain text, the usual case, is taken as it is.
void AppendSafeText(std::string_view p_sText, std::string& p_sOut) {
    const bool plain = std::all_of(p_sText.begin(), p_sText.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x7f && c != ',';
    });
    if (plain) {
        p_sOut += p_sText;
        return;
    }
    std::string text(p_sText);
    std::erase(text, ',');
    std::replace(text.begin(), text.end(), '\r', '\x01');
    std::replace(text.begin(), text.end(), '\n', '\x01');
    p_sOut += ReplaceUnsafeBytes(text);
}

std::string WithoutCommas(std::string p_sText) {
    std::erase(p_sText, ',');
    return p_sText;
}

// The cell text by the column's trimmed format, before the commas and unsafe bytes go. The value
// is formatted as its text, as the grid shows it. A number's text is its 15-digit decimal form,
// on which Format rounds a number as well, so a number goes to Format as it is: the same text
// without writing it out and reading it back, which was most of an export's time.
std::string FormattedCell(const std::string& p_sFormat, const Variant& p_vValue) {
    if (p_vValue.IsNull()) {
        return std::string();
    }
    const bool asText = p_sFormat == "Left" || p_sFormat == "Center";
    if (!asText && p_sFormat != "Short Date" && p_vValue.IsNumber()) {
        return std::string(TrimSpaces(Format(p_vValue, p_sFormat)));
    }
    const std::string text = p_vValue.ToString();
    if (asText) {
        return text;
    }
    if (p_sFormat == "Short Date") {
        return std::string(TrimSpaces(Format(Variant(text), p_sFormat)));
    }
    return std::string(TrimSpaces(Format(Variant(WithoutCommas(text)), p_sFormat)));
}

std::string ColumnFormatOf(const GridColumns& p_oColumns, std::string_view p_sFieldName) {
    const std::shared_ptr<GridColumn> column = p_oColumns.GetColumnByFieldName(p_sFieldName);
    return std::string(column ? TrimSpaces(column->ColumnFormat()) : std::string_view());
}

}  // namespace

void ApplyColumnFormat(GridControlColumn& p_oColumn, std::string_view p_sColumnFormat) {
    const std::string_view format = TrimSpaces(p_sColumnFormat);
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
    switch (RuleOf(p_oColumn.Caption())) {
        case CaptionRule::Recommendation:
            ApplyRecommendationStyles(p_oColumn);
            return;
        case CaptionRule::Performance:
            ApplyPerformanceStyles(p_oColumn);
            return;
        case CaptionRule::Signed:
            SetCellStyle(p_oColumn, kNegative, Styles().Negative);
            return;
        case CaptionRule::None:
            return;
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
    std::string text;
    AppendSafeText(FormattedCell(ColumnFormatOf(p_oColumns, p_sFieldName), p_vValue), text);
    return text;
}

ExportRowWriter::ExportRowWriter(const GridColumns& p_oColumns, const Recordset& p_rRows,
                                 const std::vector<std::string>& p_fields) {
    m_cells.reserve(p_fields.size());
    for (const std::string& field : p_fields) {
        const int32_t index = p_rRows.Fields().IndexOf(field);
        if (index < 0) {
            RaiseRuntimeError(errors::kItemNotFound, "field '" + field + "'");
        }
        m_cells.push_back({index, ColumnFormatOf(p_oColumns, field)});
    }
}

void ExportRowWriter::AppendRow(const Recordset& p_rRows, uint32_t p_lRowId,
                                std::string& p_sOut) const {
    for (size_t i = 0; i < m_cells.size(); ++i) {
        if (i > 0) {
            p_sOut += ',';
        }
        AppendSafeText(
            FormattedCell(m_cells[i].Format, p_rRows.ValueAt(p_lRowId, m_cells[i].Field)), p_sOut);
    }
    p_sOut += "\r\n";
}

}  // namespace qv::GridUtilities
