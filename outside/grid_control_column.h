// One column of the grid control: the field it shows and how it shows it.
//
// Columns live in the grid's Columns collection (grid_control_columns.h): ColIndex is the place
// there (creation order), Order the place in the display. Every split of the grid shows the
// column with a visibility and a width of its own (grid_split.h); through the column itself,
// Visible and Width speak for all splits: setting them sets every split, Visible reads true when
// some split shows the column and Width reads the width in the first split that shows it.
//
// Conditional cell styles are kept in the order added; a cell takes, over the column's default
// text colour, the colours of every style whose condition it meets and whose regular expression
// (ECMAScript, searched anywhere in the displayed text) matches, later styles winning.
//
// A change of what the column shows (all but ids 1 and 42) tells the grid's views.
//
// Members reached by dispatch id: 14 ColIndex, 22 Visible, 43 Order, 17 NumberFormat, 8
// DataField, 23 Width, 5 Caption. Ids 1 and 42 (set to 1 and 2 when a column is added to a
// layout) have no meaning here and are kept as they were set.
#pragma once

#include "outside/dispatch.h"
#include "outside/grid_style.h"
#include "outside/text_measurer.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class DispatchTable;
class GridControlColumns;

// Left 0, right 1 and centre 2 as the callers set them; general 3, the default, puts numbers and
// dates on the right and text on the left.
enum GridAlignment : int16_t { gaLeft = 0, gaRight = 1, gaCenter = 2, gaGeneral = 3 };

// The cell states a conditional style is added for. A style for gcNormalCell applies to every
// cell; one for other states only to cells in all of them.
enum GridCellCondition : int16_t { gcNormalCell = 0, gcCurrentCell = 1, gcSelectedRow = 2 };

struct GridSplitColumnState {
    bool Visible = true;
    int32_t Width = 0;
};

class GridControlColumn : public DispatchObject {
  public:
    // 10 characters of the text rendering.
    static constexpr int32_t kDefaultWidth = 1050;

    // Shown, at the default width, in each of p_lSplitCount splits.
    explicit GridControlColumn(int32_t p_lSplitCount = 1);
    ~GridControlColumn() override;
    GridControlColumn(const GridControlColumn&) = delete;
    GridControlColumn& operator=(const GridControlColumn&) = delete;

    std::string_view DispatchClassName() const override { return "Column"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) override;

    // -1 once the column was removed from its grid.
    int32_t ColIndex() const { return m_lIndex; }
    int32_t Order() const { return m_lOrder; }
    // Moves the column to display position p_lOrder, clamped to the positions there are; the
    // columns between shift by one. Does nothing for a removed column.
    void SetOrder(int32_t p_lOrder);

    const std::string& Caption() const { return m_sCaption; }
    void SetCaption(std::string p_sCaption);
    // The bound field; empty for an unbound column, which shows empty cells.
    const std::string& DataField() const { return m_sDataField; }
    void SetDataField(std::string p_sDataField);
    // A Format text ("#,##0.#0", "Percent", "mm/dd/yy"); empty shows the value's plain text.
    const std::string& NumberFormat() const { return m_sNumberFormat; }
    void SetNumberFormat(std::string p_sFormat);
    GridAlignment Alignment() const { return m_eAlignment; }
    // Values outside 0 to 3 are error 5.
    void SetAlignment(int32_t p_lAlignment);
    const FontSpec& Font() const { return m_font; }
    void SetFont(FontSpec p_font);
    // The default text colour of the cells; unset leaves the grid's.
    std::optional<int32_t> ForeColor() const { return m_lForeColor; }
    void SetForeColor(std::optional<int32_t> p_lColor);

    bool Visible() const;
    void SetVisible(bool p_bVisible);
    // Twips; a negative width is error 5.
    int32_t Width() const;
    void SetWidth(int32_t p_lWidth);

    // Per split (0-based); a split the grid does not have is error 9.
    int32_t SplitCount() const { return static_cast<int32_t>(m_splits.size()); }
    bool SplitVisible(int32_t p_lSplit) const;
    void SetSplitVisible(int32_t p_lSplit, bool p_bVisible);
    int32_t SplitWidth(int32_t p_lSplit) const;
    void SetSplitWidth(int32_t p_lSplit, int32_t p_lWidth);

    // The expression is compiled here, once; an invalid one is error 5 and adds nothing. A null
    // style is error 91.
    void AddRegexCellStyle(int16_t p_iCondition, std::shared_ptr<GridStyle> p_oStyle,
                           std::string_view p_sRegex);
    // Removes every style added for this condition and this expression text.
    void RemoveRegexCellStyle(int16_t p_iCondition, std::string_view p_sRegex);
    int32_t RegexCellStyleCount() const;
    // Lays the column's default text colour and the matching conditional styles over
    // p_oStyle. p_iCellState holds the GridCellCondition flags of the cell.
    void ApplyCellStyles(std::string_view p_sText, int16_t p_iCellState, GridStyle& p_oStyle) const;

  private:
    friend class GridControlColumns;
    struct RegexCellStyle;

    static const DispatchTable& Table();
    void Changed() const;

    GridControlColumns* m_pOwner = nullptr;
    int32_t m_lIndex = -1;
    int32_t m_lOrder = -1;
    std::vector<GridSplitColumnState> m_splits;

    std::string m_sCaption;
    std::string m_sDataField;
    std::string m_sNumberFormat;
    GridAlignment m_eAlignment = gaGeneral;
    FontSpec m_font;
    std::optional<int32_t> m_lForeColor;
    std::vector<RegexCellStyle> m_cellStyles;
    Variant m_vMember1;
    Variant m_vMember42;
};

}  // namespace qv
