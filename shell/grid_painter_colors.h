// The colours the grid painter draws with: the grid control's own colours on a light desktop
// palette, mapped onto a dark one, and every text colour made to read on its background.
//
// Stripes and selection have one look in every list: a faint and a stronger tint of the
// selection colour over the row's background. The rows keep their own text colours when
// selected, so that a loss stays red and a gain green on a selected row; a cell whose own style
// gives it a background (a recommendation) keeps it. Whatever the grid or a handler sets, text
// is drawn with a contrast of at least kMinimumContrast to its background: a text colour that
// falls short is moved towards black or white until it reads, or, on a cell with a background
// of its own and black or white text, the background is.
#pragma once

#include <cstdint>

class QPalette;

namespace qv {

struct GridCell;
class GridStyle;

inline constexpr double kMinimumContrast = 4.5;

// The desktop palette's colours the grid follows, as runtime colours.
struct GridPalette {
    bool Dark = false;
    int32_t Base = 0xFFFFFF;
    int32_t Text = 0;
    int32_t Highlight = 0;
};

GridPalette GridPaletteOf(const QPalette& p_palette);

struct PaintColors {
    int32_t Fore = 0;
    int32_t Back = 0;
};

// A background the grid control gives (the grid's, a row's, a heading's, a line's), as the
// palette shows it: itself on a light palette; on a dark one the same hue with its lightness
// turned over and laid on the palette's base, so white becomes the base and a pale tint a dark
// one.
int32_t PaletteBack(int32_t p_lColor, const GridPalette& p_palette);
// A text colour the grid control gives: black is the palette's text on a dark palette.
int32_t PaletteFore(int32_t p_lColor, const GridPalette& p_palette);

PaintColors CellPaintColors(const GridCell& p_cell, const GridPalette& p_palette);
// The colours of a heading drawn in p_style (its fore colour black when unset).
PaintColors HeadingPaintColors(const GridStyle& p_style, const GridPalette& p_palette);

}  // namespace qv
