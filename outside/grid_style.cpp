#include "outside/grid_style.h"

#include "outside/dispatch_table.h"

namespace qv {

namespace {

Variant ColorVariant(std::optional<int32_t> p_lColor) {
    return p_lColor ? Variant(*p_lColor) : Variant();
}

// Empty clears the colour, so that a caller can hand back what it read.
std::optional<int32_t> ColorOf(const Variant& p_vValue) {
    if (p_vValue.IsEmpty()) {
        return std::nullopt;
    }
    return p_vValue.ToLong();
}

const DispatchTable& StyleTable() {
    static const DispatchTable table =
        DispatchTable::Builder<GridStyle>()
            .Property(
                "Name", [](GridStyle& self) { return Variant(self.Name()); },
                [](GridStyle& self, const Variant& value) { self.SetName(value.ToString()); })
            .Property(
                "ForeColor", [](GridStyle& self) { return ColorVariant(self.ForeColor()); },
                [](GridStyle& self, const Variant& value) { self.SetForeColor(ColorOf(value)); })
            .Property(
                "BackColor", [](GridStyle& self) { return ColorVariant(self.BackColor()); },
                [](GridStyle& self, const Variant& value) { self.SetBackColor(ColorOf(value)); })
            .Build();
    return table;
}

}  // namespace

std::string GridColorName(int32_t p_lColor) {
    switch (p_lColor) {
        case grid_colors::kWhite:
            return "white";
        case grid_colors::kBlack:
            return "black";
        case grid_colors::kRed:
            return "red";
        case grid_colors::kGreen:
            return "green";
        case grid_colors::kYellow:
            return "yellow";
        case grid_colors::kLightGrey:
            return "lightgrey";
        default:
            break;
    }
    return HexColorText(p_lColor);
}

Variant GridStyle::Invoke(std::string_view p_sName, InvokeKind p_eKind, std::span<Variant> p_args) {
    return StyleTable().Invoke(*this, p_sName, p_eKind, p_args);
}

void GridStyle::SetForeColor(std::optional<int32_t> p_lColor) {
    if (p_lColor != m_lForeColor) {
        m_lForeColor = p_lColor;
        m_hook.ColumnsChanged();
    }
}

void GridStyle::SetBackColor(std::optional<int32_t> p_lColor) {
    if (p_lColor != m_lBackColor) {
        m_lBackColor = p_lColor;
        m_hook.ColumnsChanged();
    }
}

void GridStyle::Overlay(const GridStyle& p_oOther) {
    if (p_oOther.m_lForeColor) {
        m_lForeColor = p_oOther.m_lForeColor;
    }
    if (p_oOther.m_lBackColor) {
        m_lBackColor = p_oOther.m_lBackColor;
    }
}

std::string GridStyle::ColorText() const {
    std::string text = m_lForeColor ? GridColorName(*m_lForeColor) : "";
    if (m_lBackColor) {
        text += text.empty() ? "on " : " on ";
        text += GridColorName(*m_lBackColor);
    }
    return text;
}

GridStyleSet MakeGridStyleSet() {
    static constexpr std::array<const char*, kGridStyleKinds> kNames = {
        "Normal", "Heading", "HighlightRow", "EvenRow", "OddRow", "Inactive", "Selected"};
    GridStyleSet styles;
    for (size_t i = 0; i < kGridStyleKinds; ++i) {
        styles[i] = std::make_shared<GridStyle>(kNames[i]);
    }
    return styles;
}

}  // namespace qv
