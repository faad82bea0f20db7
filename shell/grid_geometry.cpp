#include "shell/grid_geometry.h"

#include "outside/grid_control.h"

#include <algorithm>
#include <cmath>

namespace qv {

GridGeometry::GridGeometry(const GridControl& p_oGrid, double p_dTwipsPerPixel)
    : m_dTwipsPerPixel(p_dTwipsPerPixel),
      m_lHeaderHeight(ToPixels(GridControl::kHeaderHeight)),
      m_lSelectorWidth(p_oGrid.RecordSelectors() ? ToPixels(GridControl::kRecordSelectorWidth)
                                                 : 0) {
    // Edges are scaled from their place in twips, not summed from scaled widths, so rounding
    // never drifts from what HitTest sees.
    int32_t left = p_oGrid.RecordSelectors() ? GridControl::kRecordSelectorWidth : 0;
    for (const auto& split : p_oGrid.Splits()->All()) {
        for (auto& column : split->ShownColumns()) {
            const int32_t right = left + column->SplitWidth(split->Index());
            const int32_t pixelLeft = ToPixels(left);
            m_slots.push_back(GridSlot{std::move(column), split->Index(), pixelLeft,
                                       ToPixels(right) - pixelLeft});
            left = right;
        }
    }
    m_lModelRight = m_slots.empty() ? m_lSelectorWidth : ToPixels(left);
    m_lRight = m_lModelRight;
}

int32_t GridGeometry::ToPixels(int32_t p_lTwips) const {
    return static_cast<int32_t>(std::lround(p_lTwips / m_dTwipsPerPixel));
}

int32_t GridGeometry::ToTwips(int32_t p_lPixels) const {
    return static_cast<int32_t>(std::floor((p_lPixels + 0.5) * m_dTwipsPerPixel));
}

int32_t GridGeometry::LineTop(int32_t p_lLine) const {
    return ToPixels(GridControl::kHeaderHeight + p_lLine * GridControl::kRowHeight);
}

int32_t GridGeometry::WholeLines(int32_t p_lHeight) const {
    int32_t lines = 0;
    while (LineTop(lines + 1) <= p_lHeight) {
        ++lines;
    }
    return std::max(lines, 1);
}

int32_t GridGeometry::SlotOfColumn(int32_t p_lCol) const {
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].Column->ColIndex() == p_lCol) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

int32_t GridGeometry::SlotAt(int32_t p_lX) const {
    for (size_t i = 0; i < m_slots.size(); ++i) {
        if (p_lX >= m_slots[i].Left && p_lX < m_slots[i].Left + m_slots[i].Width) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

std::vector<int32_t> GridGeometry::SplitBoundaries() const {
    std::vector<int32_t> boundaries;
    for (size_t i = 0; i + 1 < m_slots.size(); ++i) {
        if (m_slots[i].Split != m_slots[i + 1].Split) {
            boundaries.push_back(m_slots[i].Left + m_slots[i].Width);
        }
    }
    return boundaries;
}

}  // namespace qv

namespace qv {

void GridGeometry::StretchTo(int32_t p_lRight) {
    if (m_slots.empty() || p_lRight <= m_lModelRight) {
        return;
    }
    m_slots.back().Width += p_lRight - m_lRight;
    m_lRight = p_lRight;
}

int32_t GridGeometry::HitX(int32_t p_lX) const {
    return p_lX >= m_lModelRight && p_lX < m_lRight ? m_lModelRight - 1 : p_lX;
}

}  // namespace qv
