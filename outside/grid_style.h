// Cell styles of the grid control and the colours they carry.
//
// A style has a text (fore) colour and a background colour; either may be left unset, so that a
// style laid over another (a conditional style over a column's default) changes only what it
// sets. Colours are the runtime's RGB values (outside/color.h). A change of the colours of a
// style a grid or split owns tells the grid's views (ColumnsChanged); a style handed to
// AddRegexCellStyle is read as it is when a cell is drawn, so set its colours before adding.
//
//     auto style = std::make_shared<GridStyle>();
//     style->SetForeColor(RgbColor(255, 255, 255));
//     style->SetBackColor(RgbColor(102, 153, 102));
//     column.AddRegexCellStyle(gcNormalCell, style, "B");   // white on green where "B" shows
#pragma once

#include "outside/color.h"
#include "outside/dispatch.h"
#include "outside/grid_control_changes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qv {

// The colours the viewer paints with.
namespace grid_colors {
constexpr int32_t kWhite = RgbColor(255, 255, 255);
constexpr int32_t kBlack = RgbColor(0, 0, 0);
constexpr int32_t kRed = RgbColor(204, 0, 0);
constexpr int32_t kGreen = RgbColor(102, 153, 102);
constexpr int32_t kYellow = RgbColor(255, 255, 153);
constexpr int32_t kLightGrey = RgbColor(225, 225, 225);
}  // namespace grid_colors

// "white", "black", "red", "green", "yellow" and "lightgrey" for the colours above, "#RRGGBB"
// for any other.
std::string GridColorName(int32_t p_lColor);

class GridStyle : public DispatchObject {
  public:
    GridStyle() = default;
    explicit GridStyle(std::string p_sName) : m_sName(std::move(p_sName)) {}

    std::string_view DispatchClassName() const override { return "Style"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;

    const std::string& Name() const { return m_sName; }
    void SetName(std::string p_sName) { m_sName = std::move(p_sName); }

    std::optional<int32_t> ForeColor() const { return m_lForeColor; }
    void SetForeColor(std::optional<int32_t> p_lColor);
    std::optional<int32_t> BackColor() const { return m_lBackColor; }
    void SetBackColor(std::optional<int32_t> p_lColor);

    bool HasColor() const { return m_lForeColor || m_lBackColor; }
    // Takes the colours p_oOther sets and keeps the others; for building a cell's colours, so it
    // tells no views.
    void Overlay(const GridStyle& p_oOther);

    // The colours as the text rendering lists them: "red", "white on green", "on yellow"; empty
    // when none is set.
    std::string ColorText() const;

    // Attached for the styles of a grid and its splits only.
    GridChangeHook& Hook() { return m_hook; }

  private:
    std::string m_sName;
    std::optional<int32_t> m_lForeColor;
    std::optional<int32_t> m_lBackColor;
    GridChangeHook m_hook;
};

// The named styles a grid and each of its splits carry; the shell paints with them, the text
// rendering does not.
enum class GridStyleKind : uint8_t {
    Normal,
    Heading,
    HighlightRow,
    EvenRow,
    OddRow,
    Inactive,
    Selected
};
constexpr size_t kGridStyleKinds = 7;
using GridStyleSet = std::array<std::shared_ptr<GridStyle>, kGridStyleKinds>;

// A fresh set, each style named after its kind ("Normal", "Heading", ...) with no colour set.
GridStyleSet MakeGridStyleSet();

}  // namespace qv
