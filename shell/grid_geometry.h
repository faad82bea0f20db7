// Where the parts of a grid control lie in a view, in pixels.
//
// The model lays its grid out in twips (grid_control.h): the header, the rows from TopRow, the
// record selectors, then the splits left to right, each with the columns it shows at their widths
// in that split. The geometry is that layout scaled to pixels, edge by edge, so that a point the
// view hands to the model's HitTest (ToTwips) lands in the cell the view painted there. It is
// taken afresh for every frame and every user action: the view keeps no layout of its own.
//
// A view may stretch the last column to its right edge (StretchTo) rather than leave a blank
// band beside the grid; the model knows nothing of it, so a point in the stretched part is
// handed to HitTest as the column's last pixel (HitX).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace qv {

class GridControl;
class GridControlColumn;

// One column as a split shows it.
struct GridSlot {
    std::shared_ptr<GridControlColumn> Column;
    int32_t Split = 0;
    int32_t Left = 0;  // pixels from the view's left edge
    int32_t Width = 0;
};

class GridGeometry {
  public:
    // p_dTwipsPerPixel is 1440 over the view's dots per inch.
    GridGeometry(const GridControl& p_oGrid, double p_dTwipsPerPixel);

    int32_t ToPixels(int32_t p_lTwips) const;
    // The twips of a pixel's centre.
    int32_t ToTwips(int32_t p_lPixels) const;

    int32_t HeaderHeight() const { return m_lHeaderHeight; }
    int32_t SelectorWidth() const { return m_lSelectorWidth; }
    // The top of the line p_lLine rows below the header (0 is the first row on screen).
    int32_t LineTop(int32_t p_lLine) const;
    int32_t LineHeight(int32_t p_lLine) const { return LineTop(p_lLine + 1) - LineTop(p_lLine); }
    // Rows that fit whole in p_lHeight pixels below the header; at least 1.
    int32_t WholeLines(int32_t p_lHeight) const;

    const std::vector<GridSlot>& Slots() const { return m_slots; }
    // The slot showing column index p_lCol, or -1.
    int32_t SlotOfColumn(int32_t p_lCol) const;
    // The slot under x, or -1.
    int32_t SlotAt(int32_t p_lX) const;
    // The right edge of each split that shows a column, left to right, but for the last split.
    std::vector<int32_t> SplitBoundaries() const;

    // Widens the last column, when it ends left of p_lRight, up to p_lRight.
    void StretchTo(int32_t p_lRight);
    // p_lX, or the last pixel of the last column as the model has it when p_lX lies in its
    // stretched part.
    int32_t HitX(int32_t p_lX) const;

  private:
    double m_dTwipsPerPixel;
    int32_t m_lHeaderHeight;
    int32_t m_lSelectorWidth;
    std::vector<GridSlot> m_slots;
    // The right edge of the last column as the model lays it out, and as stretched.
    int32_t m_lModelRight = 0;
    int32_t m_lRight = 0;
};

}  // namespace qv
