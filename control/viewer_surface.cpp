// The viewer control's surface: the places of its two grids and of the running indicator.
#include "control/viewer.h"

#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <algorithm>

namespace qv {

namespace {

constexpr int32_t kWhite = 16777215;

// The grid control's back colour, which the viewer sets by dispatch id.
constexpr int32_t kBackColorId = 196;

}  // namespace

void Viewer::SetExtent(int32_t p_lWidth, int32_t p_lHeight) {
    m_lWidth = p_lWidth;
    m_lHeight = p_lHeight;
    UserControlResize();
}

void Viewer::ResizeMe() {
    UserControlResize();
}

void Viewer::UserControlResize() {
    m_rcPriGrid.Left = 30;
    m_rcSecGrid.Left = 30;
    m_rcPriGrid.Width = std::max(0, m_lWidth - 60);
    m_rcSecGrid.Width = m_rcPriGrid.Width;

    m_rcRunning.Left = m_rcRunning.Width + 60 >= m_lWidth ? 30 : (m_lWidth - m_rcRunning.Width) / 2;
    m_rcRunning.Top =
        m_rcRunning.Height + 60 >= m_lHeight ? 30 : (m_lHeight - m_rcRunning.Height) / 2;

    m_rcPriGrid.Top = 0;
    if (!m_oStrategy || !m_oStrategy->ViewerElements()->DoubleGrid()) {
        m_rcPriGrid.Height = std::max(0, m_lHeight - m_rcPriGrid.Top);
        return;
    }
    const double margin = 0.015 * m_lHeight;
    m_rcPriGrid.Height = std::max(0, static_cast<int32_t>(m_lHeight - margin - 705));
    m_rcSecGrid.Top = static_cast<int32_t>(m_rcPriGrid.Height + margin);
}

void Viewer::ChangeRunningStatus(const std::string& p_sCaption, bool p_bVisible) {
    LetPropertyById(*m_olePriGrid, kBackColorId, Variant(kWhite));
    RunningIndicator& indicator = PlatformContext::Current().Indicator();
    if (p_sCaption.find("Sorting") != std::string::npos || ViewerType() == vt_FinderResults) {
        indicator.SetStatus("", false);
        return;
    }
    indicator.SetStatus(p_sCaption, p_bVisible);
}

}  // namespace qv
