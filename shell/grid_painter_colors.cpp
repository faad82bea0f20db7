#include "shell/grid_painter_colors.h"

#include "outside/color.h"
#include "outside/grid_style.h"
#include "shell/grid_cell_reader.h"
#include "shell/qt_color.h"

#include <QPalette>

#include <algorithm>

namespace qv {

namespace {

// Shares of the selection colour over a row's background: a stripe is barely there, a selected
// row is plainly tinted yet light enough for coloured text.
constexpr double kStripeShare = 0.07;
constexpr double kSelectionShare = 0.28;

bool IsNeutral(int32_t p_lColor) {
    return p_lColor == grid_colors::kBlack || p_lColor == grid_colors::kWhite;
}

}  // namespace

GridPalette GridPaletteOf(const QPalette& p_palette) {
    GridPalette palette;
    palette.Base = ToRgbColor(p_palette.color(QPalette::Base));
    palette.Text = ToRgbColor(p_palette.color(QPalette::Text));
    palette.Highlight = ToRgbColor(p_palette.color(QPalette::Highlight));
    palette.Dark = RelativeLuminance(palette.Base) < RelativeLuminance(palette.Text);
    return palette;
}

int32_t PaletteBack(int32_t p_lColor, const GridPalette& p_palette) {
    if (!p_palette.Dark) {
        return p_lColor;
    }
    float hue = 0;
    float saturation = 0;
    float lightness = 0;
    ToQColor(p_lColor).getHslF(&hue, &saturation, &lightness);
    const QColor turned = QColor::fromHslF(hue, saturation, 1.0F - lightness);
    const auto add = [](int32_t p_lFirst, int p_iSecond) {
        return std::min(p_lFirst + p_iSecond, 255);
    };
    return RgbColor(add(RedOf(p_palette.Base), turned.red()),
                    add(GreenOf(p_palette.Base), turned.green()),
                    add(BlueOf(p_palette.Base), turned.blue()));
}

int32_t PaletteFore(int32_t p_lColor, const GridPalette& p_palette) {
    return p_palette.Dark && p_lColor == grid_colors::kBlack ? p_palette.Text : p_lColor;
}

PaintColors CellPaintColors(const GridCell& p_cell, const GridPalette& p_palette) {
    if (p_cell.OwnBack) {
        // A signal pair (white on green): the control's colours on every palette.
        if (IsNeutral(p_cell.ForeColor)) {
            return {p_cell.ForeColor,
                    ReadableColor(p_cell.BackColor, p_cell.ForeColor, kMinimumContrast)};
        }
        return {ReadableColor(p_cell.ForeColor, p_cell.BackColor, kMinimumContrast),
                p_cell.BackColor};
    }
    // On a dark palette the control's selection colour, made for white text, gives way to the
    // desktop's.
    const int32_t selection =
        p_palette.Dark || !p_cell.SelectionColor ? p_palette.Highlight : *p_cell.SelectionColor;
    int32_t back = PaletteBack(p_cell.BackColor, p_palette);
    if (p_cell.Striped) {
        back = MixColors(selection, back, kStripeShare);
    }
    if (p_cell.Selected) {
        back = MixColors(selection, back, kSelectionShare);
    }
    return {ReadableColor(PaletteFore(p_cell.ForeColor, p_palette), back, kMinimumContrast), back};
}

PaintColors HeadingPaintColors(const GridStyle& p_style, const GridPalette& p_palette) {
    const int32_t back =
        PaletteBack(p_style.BackColor().value_or(grid_colors::kLightGrey), p_palette);
    const int32_t fore = PaletteFore(p_style.ForeColor().value_or(grid_colors::kBlack), p_palette);
    return {ReadableColor(fore, back, kMinimumContrast), back};
}

}  // namespace qv
