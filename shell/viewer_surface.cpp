#include "shell/viewer_surface.h"

#include "control/viewer.h"
#include "outside/grid_control.h"
#include "shell/grid_view.h"
#include "shell/grid_view_header.h"
#include "shell/running_indicator_panel.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

#include <QChildEvent>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr double kGridPointSize = 8.0;
// The least height either grid keeps while the split is dragged.
constexpr int kLeastGridHeight = 40;
// The empty-list sentence sits below the header, clear of the first rows' place.
constexpr int kEmptyTextTop = 48;

bool IsUserAction(QEvent::Type p_eType) {
    return p_eType == QEvent::MouseButtonRelease || p_eType == QEvent::MouseButtonDblClick ||
           p_eType == QEvent::KeyPress || p_eType == QEvent::Wheel;
}

}  // namespace

// The gap between the two grids, dragged to share the height between them.
class SplitHandle : public QWidget {
  public:
    SplitHandle(ViewerSurface* p_pSurface, std::function<void(int)> p_fnDrag)
        : QWidget(p_pSurface), m_fnDrag(std::move(p_fnDrag)) {
        setObjectName(QStringLiteral("gridSplit"));
        setCursor(Qt::SplitVCursor);
    }

  protected:
    void mouseMoveEvent(QMouseEvent* p_pEvent) override {
        if (p_pEvent->buttons() & Qt::LeftButton) {
            m_fnDrag(mapToParent(p_pEvent->position().toPoint()).y());
        }
    }

  private:
    std::function<void(int)> m_fnDrag;
};

ViewerSurface::ViewerSurface(std::shared_ptr<Viewer> p_oViewer, QWidget* p_pParent)
    : QWidget(p_pParent),
      m_oViewer(std::move(p_oViewer)),
      m_pPrimary(new GridView(this)),
      m_pSecondary(new GridView(this)),
      m_pSplit(new SplitHandle(this, [this](int p_iY) { DragSplit(p_iY); })),
      m_pEmpty(new QLabel(m_pPrimary->viewport())) {
    // The layouts' column widths were made for an 8-point font; at the desktop's usual 9 or 10
    // points most figures would not fit their columns.
    QFont gridFont = font();
    gridFont.setPointSizeF(kGridPointSize);
    m_pPrimary->setFont(gridFont);
    m_pSecondary->setFont(gridFont);
    m_pPrimary->SetGrid(m_oViewer->olePriGrid());
    m_pSecondary->SetGrid(m_oViewer->oleSecGrid());
    m_pPrimary->SetHeaderSource(ViewerHeaderSource(m_oViewer, true));
    m_pSecondary->SetHeaderSource(ViewerHeaderSource(m_oViewer, false));
    Watch(*m_pPrimary);
    Watch(*m_pSecondary);
    setMinimumSize(320, 200);
    m_pEmpty->setObjectName(QStringLiteral("emptyList"));
    m_pEmpty->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_pEmpty->setWordWrap(true);
    m_pEmpty->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pEmpty->hide();
    m_pSplit->hide();
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
    QRect upper = ToPixels(primary.Left, primary.Top, primary.Width, primary.Height);
    QRect lower = ToPixels(secondary.Left, secondary.Top, secondary.Width, secondary.Height);
    const bool two = TwoGrids();
    if (two && m_iSecondaryHeight >= 0) {
        const int gap = lower.top() - upper.bottom() - 1;
        const int lowerHeight =
            std::clamp(m_iSecondaryHeight, kLeastGridHeight,
                       std::max(kLeastGridHeight, height() - gap - kLeastGridHeight));
        upper.setHeight(std::max(kLeastGridHeight, height() - gap - lowerHeight));
        lower = QRect(lower.left(), upper.bottom() + 1 + gap, lower.width(), lowerHeight);
    }
    m_pPrimary->setGeometry(upper);
    m_pSecondary->setGeometry(lower);
    m_pSplit->setGeometry(upper.left(), upper.bottom() + 1, upper.width(),
                          std::max(lower.top() - upper.bottom() - 1, 4));
    m_pSplit->setVisible(two);
    m_pSplit->raise();
    if (auto* panel = findChild<RunningIndicatorPanel*>(QString(), Qt::FindDirectChildrenOnly)) {
        panel->installEventFilter(this);
        PlaceIndicator(*panel);
    }
    PlaceEmptyText();
}

bool ViewerSurface::TwoGrids() const {
    const auto& strategy = m_oViewer->Strategy();
    return strategy && strategy->ViewerElements()->DoubleGrid() && m_pSecondary->isVisible();
}

void ViewerSurface::SetSecondaryHeight(int p_iHeight) {
    m_iSecondaryHeight = p_iHeight < 0 ? -1 : p_iHeight;
    Place();
}

void ViewerSurface::DragSplit(int p_iY) {
    m_iSecondaryHeight = std::max(kLeastGridHeight, height() - p_iY - m_pSplit->height());
    Place();
}

void ViewerSurface::SetEmptyText(const QString& p_sText) {
    m_pEmpty->setText(p_sText);
    PlaceEmptyText();
}

QString ViewerSurface::EmptyText() const {
    return m_pEmpty->text();
}

bool ViewerSurface::EmptyTextShown() const {
    return !m_pEmpty->isHidden();
}

void ViewerSurface::PlaceEmptyText() {
    const std::shared_ptr<GridControl>& grid = m_oViewer->olePriGrid();
    const bool empty = grid && (!grid->DataSource() || grid->RowCount() == 0);
    const QRect area = m_pPrimary->viewport()->rect();
    m_pEmpty->setGeometry(area.adjusted(12, kEmptyTextTop, -12, 0));
    m_pEmpty->setVisible(empty && !m_pEmpty->text().isEmpty());
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
