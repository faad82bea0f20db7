#include "shell/viewer_surface.h"

#include "control/viewer.h"
#include "outside/grid_control.h"
#include "shell/grid_view.h"
#include "shell/running_indicator_panel.h"

#include <QChildEvent>
#include <QEvent>
#include <QFont>
#include <QPointer>
#include <QTimer>

#include <cmath>

namespace qv {

namespace {

constexpr double kGridPointSize = 8.0;

bool IsUserAction(QEvent::Type p_eType) {
    return p_eType == QEvent::MouseButtonRelease || p_eType == QEvent::MouseButtonDblClick ||
           p_eType == QEvent::KeyPress || p_eType == QEvent::Wheel;
}

}  // namespace

ViewerSurface::ViewerSurface(std::shared_ptr<Viewer> p_oViewer, QWidget* p_pParent)
    : QWidget(p_pParent),
      m_oViewer(std::move(p_oViewer)),
      m_pPrimary(new GridView(this)),
      m_pSecondary(new GridView(this)) {
    // The layouts' column widths were made for an 8-point font; at the desktop's usual 9 or 10
    // points most figures would not fit their columns.
    QFont gridFont = font();
    gridFont.setPointSizeF(kGridPointSize);
    m_pPrimary->setFont(gridFont);
    m_pSecondary->setFont(gridFont);
    m_pPrimary->SetGrid(m_oViewer->olePriGrid());
    m_pSecondary->SetGrid(m_oViewer->oleSecGrid());
    Watch(*m_pPrimary);
    Watch(*m_pSecondary);
    setMinimumSize(320, 200);
}

ViewerSurface::~ViewerSurface() = default;

void ViewerSurface::Watch(GridView& p_oView) {
    p_oView.installEventFilter(this);
    p_oView.viewport()->installEventFilter(this);
}

double ViewerSurface::TwipsPerPixel() const {
    return 1440.0 / std::max(logicalDpiX(), 1);
}

QRect ViewerSurface::ToPixels(int32_t p_lLeft, int32_t p_lTop, int32_t p_lWidth,
                              int32_t p_lHeight) const {
    const double scale = TwipsPerPixel();
    const auto pixels = [scale](int32_t p_lTwips) {
        return static_cast<int>(std::lround(p_lTwips / scale));
    };
    const int left = pixels(p_lLeft);
    const int top = pixels(p_lTop);
    return QRect(left, top, pixels(p_lLeft + p_lWidth) - left, pixels(p_lTop + p_lHeight) - top);
}

void ViewerSurface::Sync() {
    m_bSyncQueued = false;
    Place();
    if (m_fnSynced) {
        m_fnSynced();
    }
}

void ViewerSurface::Place() {
    const double scale = TwipsPerPixel();
    m_oViewer->SetExtent(static_cast<int32_t>(std::lround(width() * scale)),
                         static_cast<int32_t>(std::lround(height() * scale)));
    const TwipsRect& primary = m_oViewer->PrimaryGridRect();
    const TwipsRect& secondary = m_oViewer->SecondaryGridRect();
    m_pPrimary->setGeometry(ToPixels(primary.Left, primary.Top, primary.Width, primary.Height));
    m_pSecondary->setGeometry(
        ToPixels(secondary.Left, secondary.Top, secondary.Width, secondary.Height));
    if (auto* panel = findChild<RunningIndicatorPanel*>(QString(), Qt::FindDirectChildrenOnly)) {
        panel->installEventFilter(this);
        PlaceIndicator(*panel);
    }
}

void ViewerSurface::resizeEvent(QResizeEvent* p_pEvent) {
    QWidget::resizeEvent(p_pEvent);
    Place();
}

bool ViewerSurface::event(QEvent* p_pEvent) {
    // Polished, the child is a panel; when just added it is still being built.
    if (p_pEvent->type() == QEvent::ChildPolished) {
        auto* added = static_cast<QChildEvent*>(p_pEvent)->child();
        if (auto* panel = qobject_cast<RunningIndicatorPanel*>(added)) {
            panel->installEventFilter(this);
        }
    }
    return QWidget::event(p_pEvent);
}

void ViewerSurface::PlaceIndicator(QWidget& p_oPanel) {
    const TwipsRect& running = m_oViewer->RunningIndicatorRect();
    const QRect place = ToPixels(running.Left, running.Top, running.Width, running.Height);
    if (p_oPanel.geometry() != place) {
        p_oPanel.setGeometry(place);
    }
}

bool ViewerSurface::eventFilter(QObject* p_pWatched, QEvent* p_pEvent) {
    // The panel sizes and centres itself on its caption; the control says where it goes.
    if (auto* panel = qobject_cast<RunningIndicatorPanel*>(p_pWatched)) {
        const QEvent::Type type = p_pEvent->type();
        if (type == QEvent::Show || type == QEvent::Resize || type == QEvent::Move) {
            PlaceIndicator(*panel);
        }
        return QWidget::eventFilter(p_pWatched, p_pEvent);
    }
    if (IsUserAction(p_pEvent->type()) && !m_bSyncQueued) {
        m_bSyncQueued = true;
        QTimer::singleShot(0, this, [self = QPointer<ViewerSurface>(this)] {
            if (self) {
                self->Sync();
            }
        });
    }
    return QWidget::eventFilter(p_pWatched, p_pEvent);
}

}  // namespace qv
