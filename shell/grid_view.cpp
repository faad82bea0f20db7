#include "shell/grid_view.h"

#include "outside/automation_error.h"
#include "outside/grid_cell_text.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "shell/grid_accessible.h"
#include "shell/grid_geometry.h"
#include "shell/grid_painter.h"
#include "shell/key_codes.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace qv {

namespace {

constexpr double kTwipsPerInch = 1440.0;
// The narrowest a person can drag a column.
constexpr int32_t kMinimumColumnWidth = 8;

Qt::ScrollBarPolicy VerticalPolicy(GridScrollBars p_eScrollBars) {
    switch (p_eScrollBars) {
        case gsbNone:
        case gsbHorizontal:
            return Qt::ScrollBarAlwaysOff;
        case gsbVertical:
        case gsbBoth:
            return Qt::ScrollBarAlwaysOn;
        default:
            return Qt::ScrollBarAsNeeded;
    }
}

Qt::ScrollBarPolicy HorizontalPolicy(GridScrollBars p_eScrollBars) {
    switch (p_eScrollBars) {
        case gsbNone:
        case gsbVertical:
            return Qt::ScrollBarAlwaysOff;
        case gsbHorizontal:
        case gsbBoth:
            return Qt::ScrollBarAlwaysOn;
        default:
            return Qt::ScrollBarAsNeeded;
    }
}

Qt::ScrollBarPolicy Combined(Qt::ScrollBarPolicy p_eGrid, Qt::ScrollBarPolicy p_eSplit) {
    if (p_eGrid == Qt::ScrollBarAlwaysOff || p_eSplit == Qt::ScrollBarAlwaysOff) {
        return Qt::ScrollBarAlwaysOff;
    }
    if (p_eGrid == Qt::ScrollBarAsNeeded || p_eSplit == Qt::ScrollBarAsNeeded) {
        return Qt::ScrollBarAsNeeded;
    }
    return Qt::ScrollBarAlwaysOn;
}

// A bookmark is the row id plus one.
Variant BookmarkAt(const Recordset& p_rRecordset, int32_t p_lPosition) {
    return Variant(static_cast<double>(p_rRecordset.ViewRowId(p_lPosition)) + 1);
}

}  // namespace

GridView::GridView(QWidget* p_pParent) : QAbstractScrollArea(p_pParent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    FollowGridForAccessibility(*this);
}

GridView::~GridView() = default;

void GridView::SetGrid(std::shared_ptr<GridControl> p_oGrid) {
    if (m_oGrid) {
        m_oGrid->RemoveObserver(this);
    }
    m_oGrid = std::move(p_oGrid);
    if (m_oGrid) {
        m_oGrid->AddObserver(this);
    }
    m_press.reset();
    m_border.reset();
    m_lDropX = -1;
    FollowGridForAccessibility(*this);
    if (m_oGrid) {
        FitColumns(*m_oGrid);
    }
    ShowAll();
}

void GridView::SetHeaderSource(GridHeaderSource p_source) {
    m_header = std::move(p_source);
    viewport()->update();
}

std::vector<GridSortMark> GridView::SortMarks() const {
    return m_header.Sort ? m_header.Sort() : std::vector<GridSortMark>();
}

QString GridView::HeaderToolTip(int32_t p_lCol) const {
    if (!m_oGrid || p_lCol < 0 || p_lCol >= m_oGrid->Columns()->Count()) {
        return {};
    }
    const GridControlColumn& column = *m_oGrid->Columns()->Item(p_lCol);
    const std::string name = m_header.LongName ? m_header.LongName(column.DataField()) : "";
    QString tip = QString::fromStdString(name.empty() ? column.Caption() : name);
    const std::shared_ptr<Recordset>& rows = m_oGrid->DataSource();
    if (!rows || rows->State() != adStateOpen || rows->ViewCount() == 0) {
        return tip;
    }
    const int32_t field = rows->Fields().IndexOf(column.DataField());
    for (int32_t position = 0; field >= 0 && position < rows->ViewCount(); ++position) {
        const Variant value = rows->ValueAt(rows->ViewRowId(position), field);
        if (!GridCellText(value, column.NumberFormat()).empty()) {
            return tip;
        }
    }
    return tip + QStringLiteral("\nNo values: the market data has no source for this field");
}

double GridView::TwipsPerPixel() const {
    return kTwipsPerInch / std::max(logicalDpiX(), 1);
}

GridGeometry GridView::Geometry(const GridControl& p_oGrid) const {
    GridGeometry geometry(p_oGrid, TwipsPerPixel());
    // A text column takes the room left of the view; a number stretched away from its neighbours
    // or a coloured recommendation across the view would read worse than the blank.
    if (!geometry.Slots().empty()) {
        const GridControlColumn& last = *geometry.Slots().back().Column;
        const Recordset* rows = p_oGrid.DataSource().get();
        const int32_t field = rows != nullptr ? rows->Fields().IndexOf(last.DataField()) : -1;
        if (GridColumnAlignment(last, rows, field) == gaLeft) {
            geometry.StretchTo(viewport()->width());
        }
    }
    return geometry;
}

int32_t GridView::BorderAt(const GridGeometry& p_geometry, QPoint p_point) const {
    if (p_point.y() < 0 || p_point.y() >= p_geometry.HeaderHeight()) {
        return -1;
    }
    const std::vector<GridSlot>& placed = p_geometry.Slots();
    // From the right, so that of two narrow columns the one left of the pointer's line wins.
    for (auto i = static_cast<int32_t>(placed.size()) - 1; i >= 0; --i) {
        const GridSlot& slot = placed[static_cast<size_t>(i)];
        if (std::abs(p_point.x() - (slot.Left + slot.Width)) <= kBorderZone) {
            return i;
        }
    }
    return -1;
}

bool GridView::SizedByPerson(const GridControlColumn& p_oColumn) const {
    return std::any_of(m_sized.begin(), m_sized.end(),
                       [&](const std::weak_ptr<GridControlColumn>& sized) {
                           return sized.lock().get() == &p_oColumn;
                       });
}

void GridView::FitColumns(GridControl& p_oGrid) {
    if (m_bFitting) {
        return;
    }
    const bool fitting = std::exchange(m_bFitting, true);
    std::erase_if(m_sized,
                  [](const std::weak_ptr<GridControlColumn>& sized) { return sized.expired(); });
    const QFontMetrics heading(font());
    const std::shared_ptr<Recordset>& rows = p_oGrid.DataSource();
    const bool open = rows && rows->State() == adStateOpen;
    const int32_t count = open ? std::min(rows->ViewCount(), kFitRows) : 0;
    const double twipsPerPixel = TwipsPerPixel();
    for (const auto& column : p_oGrid.Columns()->ByIndex()) {
        if (!column->Visible() || SizedByPerson(*column)) {
            continue;
        }
        int32_t pixels = heading.horizontalAdvance(QString::fromStdString(column->Caption())) +
                         HeadingRoom(heading);
        const int32_t field = open ? rows->Fields().IndexOf(column->DataField()) : -1;
        const QFontMetrics cells(CellFont(*column, font()));
        for (int32_t position = 0; field >= 0 && position < count; ++position) {
            const std::string text = GridCellText(rows->ValueAt(rows->ViewRowId(position), field),
                                                  column->NumberFormat());
            pixels = std::max(pixels,
                              cells.horizontalAdvance(QString::fromStdString(text)) + CellRoom());
        }
        // A pixel more than asked: the edges are rounded from twips to pixels one by one.
        const auto twips = static_cast<int32_t>(std::ceil((pixels + 1) * twipsPerPixel));
        for (int32_t split = 0; split < p_oGrid.Splits()->Count(); ++split) {
            if (column->SplitVisible(split) && column->SplitWidth(split) < twips) {
                column->SetSplitWidth(split, twips);
            }
        }
    }
    m_bFitting = fitting;
}

int32_t GridView::WholeRowsShown() const {
    return m_oGrid ? Geometry(*m_oGrid).WholeLines(viewport()->height()) : 0;
}

QRect GridView::HeaderRect(int32_t p_lCol) const {
    if (!m_oGrid) {
        return {};
    }
    const GridGeometry geometry = Geometry(*m_oGrid);
    const int32_t slot = geometry.SlotOfColumn(p_lCol);
    if (slot < 0) {
        return {};
    }
    const GridSlot& found = geometry.Slots()[static_cast<size_t>(slot)];
    return QRect(found.Left, 0, found.Width, geometry.HeaderHeight()) & viewport()->rect();
}

QRect GridView::CellRect(int32_t p_lRow, int32_t p_lCol) const {
    const QRect header = HeaderRect(p_lCol);
    const int32_t line = p_lRow - (m_oGrid ? m_oGrid->TopRow() : 0);
    if (header.isEmpty() || p_lRow >= m_oGrid->RowCount() || line < 0) {
        return {};
    }
    const GridGeometry geometry = Geometry(*m_oGrid);
    return QRect(header.left(), geometry.LineTop(line), header.width(), geometry.LineHeight(line)) &
           viewport()->rect();
}

void GridView::ApplyScrollBarPolicy(const GridControl& p_oGrid) {
    // The bars belong to the scrolling split: the grid's setting can only take them away, and a
    // split that shows its bars as needed (as the viewer sets it) keeps a short grid free of
    // bars it has no use for.
    const GridScrollBars split =
        p_oGrid.Splits()->Item(p_oGrid.Splits()->Count() - 1)->ScrollBars();
    setVerticalScrollBarPolicy(
        Combined(VerticalPolicy(p_oGrid.ScrollBars()), VerticalPolicy(split)));
    setHorizontalScrollBarPolicy(
        Combined(HorizontalPolicy(p_oGrid.ScrollBars()), HorizontalPolicy(split)));
}

std::vector<std::shared_ptr<GridControlColumn>> GridView::ScrollableColumns(
    const GridControl& p_oGrid) {
    std::vector<std::shared_ptr<GridControlColumn>> columns;
    const int32_t split = p_oGrid.Splits()->Count() - 1;
    for (const auto& column : p_oGrid.Columns()->DisplayOrder()) {
        if (column->SplitVisible(split)) {
            columns.push_back(column);
        }
    }
    return columns;
}

int32_t GridView::LastLeftColumn(
    const GridControl& p_oGrid,
    const std::vector<std::shared_ptr<GridControlColumn>>& p_columns) const {
    const GridGeometry geometry = Geometry(p_oGrid);
    const int32_t split = p_oGrid.Splits()->Count() - 1;
    int32_t left = geometry.SelectorWidth();
    for (const GridSlot& slot : geometry.Slots()) {
        if (slot.Split < split) {
            left = slot.Left + slot.Width;
        }
    }
    // The last left column is the one from which the remaining columns fit the view.
    int32_t free = viewport()->width() - left;
    auto first = static_cast<int32_t>(p_columns.size());
    while (first > 0) {
        const int32_t width =
            geometry.ToPixels(p_columns[static_cast<size_t>(first - 1)]->SplitWidth(split));
        if (width > free) {
            break;
        }
        free -= width;
        --first;
    }
    return std::min(first, std::max(static_cast<int32_t>(p_columns.size()) - 1, 0));
}

void GridView::ShowAll() {
    UpdateColumnBar();
    UpdateRowBar();
    viewport()->update();
}

void GridView::UpdateRowBar() {
    const std::shared_ptr<GridControl> grid = m_oGrid;
    const bool syncing = std::exchange(m_bSyncing, true);
    if (!grid) {
        verticalScrollBar()->setRange(0, 0);
        m_bSyncing = syncing;
        return;
    }
    const int32_t lines = Geometry(*grid).WholeLines(viewport()->height());
    const int32_t lastTop = std::max(grid->RowCount() - lines, 0);
    verticalScrollBar()->setRange(0, lastTop);
    verticalScrollBar()->setPageStep(lines);
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setValue(grid->TopRow());
    m_bSyncing = syncing;
    // Last: the model tells of the new top row, which may come back here.
    if (grid->TopRow() > lastTop) {
        grid->SetTopRow(lastTop);
    }
}

void GridView::UpdateColumnBar() {
    const std::shared_ptr<GridControl> grid = m_oGrid;
    const bool syncing = std::exchange(m_bSyncing, true);
    if (!grid) {
        horizontalScrollBar()->setRange(0, 0);
        m_bSyncing = syncing;
        return;
    }
    ApplyScrollBarPolicy(*grid);
    const auto columns = ScrollableColumns(*grid);
    const int32_t split = grid->Splits()->Count() - 1;
    const auto shown = grid->Splits()->Item(split)->ShownColumns();
    const auto left =
        shown.empty() ? columns.end() : std::find(columns.begin(), columns.end(), shown.front());
    horizontalScrollBar()->setRange(0, LastLeftColumn(*grid, columns));
    horizontalScrollBar()->setPageStep(std::max(static_cast<int32_t>(shown.size()), 1));
    horizontalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setValue(
        left == columns.end() ? 0 : static_cast<int32_t>(left - columns.begin()));
    m_bSyncing = syncing;
    if (!isWindow()) {
        setVisible(grid->Visible());
    }
}

void GridView::UpdateRows(int32_t p_lFirst, int32_t p_lLast) {
    const std::shared_ptr<GridControl> grid = m_oGrid;
    if (!grid || p_lFirst < 0 || p_lLast < p_lFirst) {
        return;
    }
    const GridGeometry geometry = Geometry(*grid);
    const int32_t top = grid->TopRow();
    const int32_t lines = geometry.WholeLines(viewport()->height());
    // The partly shown row below the whole ones counts too.
    const int32_t firstLine = std::max(p_lFirst - top, 0);
    const int32_t lastLine = std::min(p_lLast - top, lines);
    if (lastLine < firstLine) {
        return;
    }
    const int32_t y = geometry.LineTop(firstLine);
    viewport()->update(QRect(0, y, viewport()->width(), geometry.LineTop(lastLine + 1) - y));
}

void GridView::ModelReset() {
    if (m_oGrid) {
        FitColumns(*m_oGrid);
    }
    ShowAll();
}

void GridView::LayoutChanged() {
    UpdateRowBar();
    viewport()->update();
}

// The rows below move: they are repainted down to the bottom of the view.
void GridView::RowsInserted(int32_t p_lFirst, int32_t) {
    UpdateRowBar();
    UpdateRows(p_lFirst, INT32_MAX);
}

void GridView::RowsRemoved(int32_t p_lFirst, int32_t) {
    UpdateRowBar();
    UpdateRows(p_lFirst, INT32_MAX);
}

void GridView::DataChanged(int32_t p_lFirstRow, int32_t p_lLastRow, int32_t, int32_t) {
    UpdateRows(p_lFirstRow, p_lLastRow);
}

void GridView::ColumnsChanged() {
    if (m_bFitting) {
        return;
    }
    if (m_oGrid) {
        FitColumns(*m_oGrid);
    }
    UpdateColumnBar();
    viewport()->update();
}

void GridView::SelectionChanged() {
    viewport()->update();
}

// The header too, whose active split follows the current column.
void GridView::CurrentChanged(int32_t p_lPreviousRow, int32_t p_lRow) {
    UpdateRows(p_lPreviousRow, p_lPreviousRow);
    UpdateRows(p_lRow, p_lRow);
    if (m_oGrid) {
        viewport()->update(QRect(0, 0, viewport()->width(), Geometry(*m_oGrid).HeaderHeight()));
    }
}

void GridView::TopRowChanged() {
    UpdateRowBar();
    viewport()->update();
}

void GridView::scrollContentsBy(int p_iDx, int p_iDy) {
    const std::shared_ptr<GridControl> grid = m_oGrid;
    if (m_bSyncing || !grid) {
        return;
    }
    // Only the bar that moved speaks: the other may show a clamped picture of the model.
    if (p_iDy != 0) {
        grid->SetTopRow(verticalScrollBar()->value());
    }
    if (p_iDx != 0) {
        const auto columns = ScrollableColumns(*grid);
        const auto index = static_cast<size_t>(horizontalScrollBar()->value());
        if (index < columns.size()) {
            grid->Splits()
                ->Item(grid->Splits()->Count() - 1)
                ->SetLeftCol(columns[index]->ColIndex());
        }
    }
    viewport()->update();
}

void GridView::resizeEvent(QResizeEvent* p_pEvent) {
    QAbstractScrollArea::resizeEvent(p_pEvent);
    ShowAll();
}

void GridView::paintEvent(QPaintEvent* p_pEvent) {
    QPainter painter(viewport());
    const std::shared_ptr<GridControl> grid = m_oGrid;
    if (!grid) {
        painter.fillRect(viewport()->rect(), palette().base());
        return;
    }
    GridPaintOptions options;
    options.DropX = m_lDropX;
    options.Palette = GridPaletteOf(palette());
    options.Sort = SortMarks();
    const GridGeometry geometry = Geometry(*grid);
    // Rect by rect, so that the rows between two repainted ones are not read.
    for (const QRect& area : p_pEvent->region()) {
        painter.setClipRect(area);
        PaintGrid(painter, *grid, geometry, area, viewport()->rect(), font(), options);
    }
}

bool GridView::viewportEvent(QEvent* p_pEvent) {
    if (p_pEvent->type() != QEvent::ToolTip || !m_oGrid) {
        return QAbstractScrollArea::viewportEvent(p_pEvent);
    }
    const auto* help = static_cast<QHelpEvent*>(p_pEvent);
    const GridGeometry geometry = Geometry(*m_oGrid);
    const int32_t slot = geometry.SlotAt(help->pos().x());
    if (help->pos().y() >= geometry.HeaderHeight() || slot < 0) {
        QToolTip::hideText();
        p_pEvent->ignore();
        return true;
    }
    const int32_t column = geometry.Slots()[static_cast<size_t>(slot)].Column->ColIndex();
    QToolTip::showText(help->globalPos(), HeaderToolTip(column), viewport());
    return true;
}

void GridView::changeEvent(QEvent* p_pEvent) {
    QAbstractScrollArea::changeEvent(p_pEvent);
    if (p_pEvent->type() == QEvent::PaletteChange) {
        viewport()->update();
    }
}

void GridView::Act(const char* p_sLabel, const std::function<void(GridControl&)>& p_fnAction) {
    // Held here, so that a handler that drops the model or the view pulls nothing away from the
    // action.
    const std::shared_ptr<GridControl> grid = m_oGrid;
    if (!grid) {
        return;
    }
    try {
        p_fnAction(*grid);
    } catch (const AutomationError& error) {
        PlatformContext::Current().Reporter().Report(p_sLabel, error);
    } catch (const std::exception& error) {
        PlatformContext::Current().Reporter().Report(
            p_sLabel, AutomationError(errors::kInvalidProcedureCall, "GridView", error.what()));
    }
}

void GridView::mousePressEvent(QMouseEvent* p_pEvent) {
    const QPoint point = p_pEvent->position().toPoint();
    const auto button = MouseButtonsOf(p_pEvent->button());
    const auto shift = ShiftStateOf(p_pEvent->modifiers());
    const bool left = p_pEvent->button() == Qt::LeftButton;
    const QPointer<GridView> self(this);
    Act("GridView:MouseDown", [&](GridControl& grid) {
        const GridGeometry geometry = Geometry(grid);
        grid.MouseDown(button, shift, geometry.ToTwips(point.x()), geometry.ToTwips(point.y()));
        if (left && self && m_oGrid.get() == &grid) {
            PressLeft(grid, point, shift);
        }
    });
}

void GridView::PressLeft(GridControl& p_oGrid, QPoint p_point, int16_t p_iShift) {
    const GridGeometry geometry = Geometry(p_oGrid);
    const int32_t border = BorderAt(geometry, p_point);
    if (border >= 0 && p_oGrid.Enabled()) {
        const GridSlot& slot = geometry.Slots()[static_cast<size_t>(border)];
        m_border = BorderPress{slot.Column, slot.Split, p_point.x(), slot.Width};
        return;
    }
    const GridHit hit = p_oGrid.HitTest(geometry.ToTwips(geometry.HitX(p_point.x())),
                                        geometry.ToTwips(p_point.y()));
    if (hit.Region == gcrColumnHeader) {
        m_press = HeaderPress{hit.Column, p_point, false};
        return;
    }
    p_oGrid.Click(hit.Row, hit.Column, p_iShift);
}

std::pair<int32_t, int32_t> GridView::DropTarget(const GridControl& p_oGrid, int32_t p_lX) const {
    const GridGeometry geometry = Geometry(p_oGrid);
    const auto& placed = geometry.Slots();
    if (placed.empty()) {
        return {p_oGrid.Columns()->Count(), -1};
    }
    const int32_t found = geometry.SlotAt(p_lX);
    if (found < 0) {
        if (p_lX < placed.front().Left) {
            return {placed.front().Column->Order(), placed.front().Left};
        }
        return {p_oGrid.Columns()->Count(), placed.back().Left + placed.back().Width - 1};
    }
    const GridSlot& slot = placed[static_cast<size_t>(found)];
    if (p_lX < slot.Left + slot.Width / 2) {
        return {slot.Column->Order(), slot.Left};
    }
    return {slot.Column->Order() + 1, slot.Left + slot.Width - 1};
}

void GridView::mouseMoveEvent(QMouseEvent* p_pEvent) {
    const QPoint point = p_pEvent->position().toPoint();
    const auto buttons = MouseButtonsOf(p_pEvent->buttons());
    const auto shift = ShiftStateOf(p_pEvent->modifiers());
    const bool dragging = m_press && (p_pEvent->buttons() & Qt::LeftButton) != 0;
    const bool sizing = m_border && (p_pEvent->buttons() & Qt::LeftButton) != 0;
    const int32_t dropX = m_lDropX;
    const QPointer<GridView> self(this);
    Act("GridView:MouseMove", [&](GridControl& grid) {
        const GridGeometry geometry = Geometry(grid);
        grid.MouseMove(buttons, shift, geometry.ToTwips(point.x()), geometry.ToTwips(point.y()));
        if (!self || m_oGrid.get() != &grid) {
            return;
        }
        if (sizing) {
            Resize(point.x());
            return;
        }
        if (BorderAt(geometry, point) >= 0 && !m_press) {
            viewport()->setCursor(Qt::SplitHCursor);
        } else {
            viewport()->unsetCursor();
        }
        if (!dragging || !m_press || !grid.AllowColMove() || !grid.Enabled()) {
            return;
        }
        if (!m_press->Dragging &&
            (point - m_press->Start).manhattanLength() < QApplication::startDragDistance()) {
            return;
        }
        m_press->Dragging = true;
        m_lDropX = DropTarget(grid, point.x()).second;
    });
    // The drop line is the view's own: the model tells nothing of it.
    if (self && m_lDropX != dropX) {
        viewport()->update();
    }
}

void GridView::mouseReleaseEvent(QMouseEvent* p_pEvent) {
    const QPoint point = p_pEvent->position().toPoint();
    const auto button = MouseButtonsOf(p_pEvent->button());
    const auto shift = ShiftStateOf(p_pEvent->modifiers());
    const std::optional<HeaderPress> press =
        p_pEvent->button() == Qt::LeftButton ? m_press : std::nullopt;
    if (p_pEvent->button() == Qt::LeftButton) {
        m_press.reset();
        m_border.reset();
        if (std::exchange(m_lDropX, -1) >= 0) {
            viewport()->update();
        }
    }
    const QPointer<GridView> self(this);
    Act("GridView:MouseUp", [&](GridControl& grid) {
        const GridGeometry geometry = Geometry(grid);
        const int32_t x = geometry.ToTwips(point.x());
        const int32_t y = geometry.ToTwips(point.y());
        if (press && press->Dragging) {
            const int32_t order = grid.Columns()->Item(press->Column)->Order();
            const int32_t target = DropTarget(grid, point.x()).first;
            // Dropped on either side of itself, the column stays where it is.
            if (target != order && target != order + 1) {
                grid.MoveColumns(order, order, target);
            }
        }
        grid.MouseUp(button, shift, x, y);
        if (!self || !press || press->Dragging) {
            return;
        }
        const GridHit hit = grid.HitTest(geometry.ToTwips(geometry.HitX(point.x())), y);
        if (hit.Region == gcrColumnHeader && hit.Column == press->Column) {
            grid.HeaderClick(press->Column);
        }
    });
}

void GridView::Resize(int32_t p_lX) {
    const std::shared_ptr<GridControlColumn> column = m_border ? m_border->Column.lock() : nullptr;
    if (!column) {
        return;
    }
    if (!SizedByPerson(*column)) {
        m_sized.push_back(column);
    }
    const int32_t pixels =
        std::max(m_border->StartWidth + p_lX - m_border->StartX, kMinimumColumnWidth);
    const auto twips = static_cast<int32_t>(std::lround(pixels * TwipsPerPixel()));
    if (twips != column->SplitWidth(m_border->Split)) {
        column->SetSplitWidth(m_border->Split, twips);
    }
}

void GridView::mouseDoubleClickEvent(QMouseEvent* p_pEvent) {
    if (p_pEvent->button() != Qt::LeftButton) {
        mousePressEvent(p_pEvent);
        return;
    }
    Act("GridView:DblClick", [](GridControl& grid) { grid.DoubleClick(); });
}

void GridView::keyPressEvent(QKeyEvent* p_pEvent) {
    const int16_t code = KeyCodeOf(p_pEvent->key());
    if (code == 0 || !m_oGrid) {
        QAbstractScrollArea::keyPressEvent(p_pEvent);
        return;
    }
    const auto shift = ShiftStateOf(p_pEvent->modifiers());
    const QPointer<GridView> self(this);
    Act("GridView:KeyDown", [&](GridControl& grid) {
        const int16_t left = grid.KeyDown(code, shift);
        if (left == 0 || !self || m_oGrid.get() != &grid || !grid.Enabled()) {
            return;
        }
        if (left == vbKeyLeft || left == vbKeyRight) {
            ScrollColumns(grid, left == vbKeyLeft ? -1 : 1);
            return;
        }
        MoveCurrentRow(grid, left, shift);
    });
}

void GridView::ScrollColumns(GridControl& p_oGrid, int32_t p_lBy) {
    const auto columns = ScrollableColumns(p_oGrid);
    const int32_t index =
        std::clamp(horizontalScrollBar()->value() + p_lBy, 0, LastLeftColumn(p_oGrid, columns));
    if (static_cast<size_t>(index) < columns.size()) {
        p_oGrid.Splits()
            ->Item(p_oGrid.Splits()->Count() - 1)
            ->SetLeftCol(columns[static_cast<size_t>(index)]->ColIndex());
    }
}

void GridView::MoveCurrentRow(GridControl& p_oGrid, int16_t p_iKeyCode, int16_t p_iShift) {
    const int32_t count = p_oGrid.RowCount();
    if (count == 0) {
        return;
    }
    const bool ctrl = (p_iShift & gssCtrl) != 0;
    const int32_t page = Geometry(p_oGrid).WholeLines(viewport()->height());
    const int32_t from = p_oGrid.Row();
    int32_t to = from;
    switch (p_iKeyCode) {
        case vbKeyUp:
            to = from - 1;
            break;
        case vbKeyDown:
            to = from + 1;
            break;
        case vbKeyPageUp:
            to = from - page;
            break;
        case vbKeyPageDown:
            to = from + page;
            break;
        case vbKeyHome:
            to = ctrl ? 0 : from;
            break;
        case vbKeyEnd:
            to = ctrl ? count - 1 : from;
            break;
        default:
            return;
    }
    to = std::clamp(to, 0, count - 1);
    if (to == from) {
        return;
    }
    const std::shared_ptr<Recordset> recordset = p_oGrid.DataSource();
    GridSelBookmarks& selection = *p_oGrid.SelBookmarks();
    // One notice of the new selection, not one for the clear and one for the row: a screen reader
    // announces each.
    const auto batch = p_oGrid.BatchChanges();
    if ((p_iShift & gssShift) != 0 && from >= 0) {
        const int32_t step = to > from ? 1 : -1;
        for (int32_t row = from; row != to + step; row += step) {
            selection.Add(BookmarkAt(*recordset, row));
        }
    } else {
        selection.Clear();
        selection.Add(BookmarkAt(*recordset, to));
    }
    p_oGrid.SetCurrentRow(to);
    if (to < p_oGrid.TopRow()) {
        p_oGrid.SetTopRow(to);
    } else if (to >= p_oGrid.TopRow() + page) {
        p_oGrid.SetTopRow(to - page + 1);
    }
}

}  // namespace qv
