#include "shell/grid_accessible.h"

#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "shell/grid_cell_reader.h"
#include "shell/grid_geometry.h"
#include "shell/grid_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qv {

namespace {

// The table's columns, as slots for the cell reader (which reads no place or width from them).
std::vector<GridSlot> TableColumns(const GridControl& p_oGrid) {
    std::vector<GridSlot> columns;
    std::set<const GridControlColumn*> seen;
    const auto& order = p_oGrid.Columns()->DisplayOrder();
    for (const auto& split : p_oGrid.Splits()->All()) {
        const bool limited = split->SizeMode() == gsmNumberOfColumns;
        int32_t shown = 0;
        for (const auto& column : order) {
            if (limited && shown >= split->Size()) {
                break;
            }
            if (!column->SplitVisible(split->Index())) {
                continue;
            }
            ++shown;
            if (seen.insert(column.get()).second) {
                columns.push_back(GridSlot{column, split->Index(), 0, 0});
            }
        }
    }
    return columns;
}

int32_t TableColumnOf(const std::vector<GridSlot>& p_columns, int32_t p_lColIndex) {
    for (size_t i = 0; i < p_columns.size(); ++i) {
        if (p_columns[i].Column->ColIndex() == p_lColIndex) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

// The table column of the grid's current column; the first when that column is not in the table.
int CurrentTableColumn(const GridControl& p_oGrid) {
    return std::max(TableColumnOf(TableColumns(p_oGrid), p_oGrid.Col()), 0);
}

bool RowSelected(const GridControl& p_oGrid, int32_t p_lRow) {
    const auto& recordset = p_oGrid.DataSource();
    return p_lRow >= 0 && p_lRow < p_oGrid.RowCount() &&
           p_oGrid.SelBookmarks()->ContainsKey(
               GridControl::BookmarkOfRowId(recordset->ViewRowId(p_lRow)).ToDouble());
}

// The text the grid paints in a cell. A failing cell-style handler is reported, as a failing
// paint is, and the cell reads empty.
QString CellText(GridControl& p_oGrid, const GridSlot& p_column, int32_t p_lRow) {
    try {
        GridCellReader reader(p_oGrid, std::span(&p_column, 1));
        const std::vector<GridCell> cells = reader.ReadRow(p_lRow);
        return cells.empty() ? QString() : QString::fromStdString(cells.front().Text);
    } catch (const AutomationError& error) {
        PlatformContext::Current().Reporter().Report("GridView:Accessible", error);
    } catch (const std::exception& error) {
        PlatformContext::Current().Reporter().Report(
            "GridView:Accessible",
            AutomationError(errors::kInvalidProcedureCall, "GridView", error.what()));
    }
    return {};
}

class GridAccessibleTable;

GridAccessibleTable* TableOf(GridView* p_pView);

// A cell of the table, or with row -1 the header of its column.
class GridAccessibleCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    GridAccessibleCell(GridView* p_pView, int p_iRow, int p_iColumn)
        : m_pView(p_pView), m_iRow(p_iRow), m_iColumn(p_iColumn) {}

    bool isValid() const override { return Slot().has_value(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return m_pView ? m_pView->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_pView.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text p_eText) const override {
        const auto slot = Slot();
        if (p_eText != QAccessible::Name || !slot) {
            return {};
        }
        if (m_iRow < 0) {
            return QString::fromStdString(slot->Column->Caption());
        }
        return CellText(*m_pView->Grid(), *slot, m_iRow);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        const auto slot = Slot();
        if (!slot) {
            return {};
        }
        const int32_t col = slot->Column->ColIndex();
        const QRect local = m_iRow < 0 ? m_pView->HeaderRect(col) : m_pView->CellRect(m_iRow, col);
        if (local.isEmpty()) {
            return {};
        }
        return QRect(m_pView->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::Role role() const override {
        return m_iRow < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        const auto slot = Slot();
        if (!slot) {
            state.invalid = true;
            return state;
        }
        state.invisible = rect().isEmpty();
        if (m_iRow < 0) {
            return state;
        }
        const GridControl& grid = *m_pView->Grid();
        state.readOnly = true;
        state.selectable = true;
        state.focusable = true;
        state.selected = RowSelected(grid, m_iRow);
        state.focused =
            m_pView->hasFocus() && grid.Row() == m_iRow && CurrentTableColumn(grid) == m_iColumn;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType p_eType) override {
        if (p_eType == QAccessible::TableCellInterface && m_iRow >= 0) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        return nullptr;
    }

    bool isSelected() const override {
        return Slot() && m_iRow >= 0 && RowSelected(*m_pView->Grid(), m_iRow);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_iColumn; }
    int rowIndex() const override { return m_iRow; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    int Row() const { return m_iRow; }
    int Column() const { return m_iColumn; }

  private:
    // The column this cell stands in, while the view, its grid, the column and the row still
    // are.
    std::optional<GridSlot> Slot() const {
        if (!m_pView || !m_pView->Grid() || m_iRow >= m_pView->Grid()->RowCount()) {
            return std::nullopt;
        }
        const std::vector<GridSlot> columns = TableColumns(*m_pView->Grid());
        if (m_iColumn < 0 || m_iColumn >= static_cast<int>(columns.size())) {
            return std::nullopt;
        }
        return columns[static_cast<size_t>(m_iColumn)];
    }

    QPointer<GridView> m_pView;
    int m_iRow;
    int m_iColumn;
};

class GridAccessibleTable : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit GridAccessibleTable(GridView* p_pView)
        : QAccessibleWidget(p_pView, QAccessible::Table) {}
    ~GridAccessibleTable() override { DropCells(); }

    // The cell (row -1 for a header) as one interface for as long as the table's shape stands.
    QAccessibleInterface* Cell(int p_iRow, int p_iColumn) const {
        if (p_iRow < -1 || p_iRow >= rowCount() || p_iColumn < 0 || p_iColumn >= columnCount()) {
            return nullptr;
        }
        const std::pair key(p_iRow, p_iColumn);
        const auto found = m_cells.find(key);
        if (found != m_cells.end()) {
            return QAccessible::accessibleInterface(found->second);
        }
        auto* cell = new GridAccessibleCell(View(), p_iRow, p_iColumn);
        m_cells.emplace(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }

    void* interface_cast(QAccessible::InterfaceType p_eType) override {
        if (p_eType == QAccessible::TableInterface) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(p_eType);
    }

    // The headers come first, then the rows, each a line of columnCount children.
    int childCount() const override { return columnCount() * (rowCount() + 1); }
    QAccessibleInterface* child(int p_iIndex) const override {
        const int columns = columnCount();
        if (columns == 0 || p_iIndex < 0) {
            return nullptr;
        }
        return Cell(p_iIndex / columns - 1, p_iIndex % columns);
    }
    int indexOfChild(const QAccessibleInterface* p_pChild) const override {
        const auto* cell = dynamic_cast<const GridAccessibleCell*>(p_pChild);
        if (cell == nullptr || !cell->isValid() || cell->parent() != this) {
            return -1;
        }
        return (cell->Row() + 1) * columnCount() + cell->Column();
    }
    QAccessibleInterface* childAt(int p_iX, int p_iY) const override {
        GridControl* grid = Grid();
        if (grid == nullptr) {
            return nullptr;
        }
        const QPoint point = View()->viewport()->mapFromGlobal(QPoint(p_iX, p_iY));
        const GridGeometry geometry(*grid, View()->TwipsPerPixel());
        const GridHit hit = grid->HitTest(geometry.ToTwips(point.x()), geometry.ToTwips(point.y()));
        const int column = TableColumnOf(TableColumns(*grid), hit.Column);
        if (hit.Region == gcrColumnHeader) {
            return Cell(-1, column);
        }
        return hit.Region == gcrData ? Cell(hit.Row, column) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        GridControl* grid = Grid();
        if (grid == nullptr || grid->Row() < 0) {
            return nullptr;
        }
        return Cell(grid->Row(), CurrentTableColumn(*grid));
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int p_iRow, int p_iColumn) const override {
        return p_iRow < 0 ? nullptr : Cell(p_iRow, p_iColumn);
    }
    int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        const int columns = columnCount();
        for (int row : selectedRows()) {
            for (int column = 0; column < columns; ++column) {
                cells.append(Cell(row, column));
            }
        }
        return cells;
    }
    QString columnDescription(int p_iColumn) const override {
        GridControl* grid = Grid();
        if (grid == nullptr) {
            return {};
        }
        const std::vector<GridSlot> columns = TableColumns(*grid);
        if (p_iColumn < 0 || p_iColumn >= static_cast<int>(columns.size())) {
            return {};
        }
        return QString::fromStdString(columns[static_cast<size_t>(p_iColumn)].Column->Caption());
    }
    // The rows have no headers: the record selectors carry no text.
    QString rowDescription(int) const override { return {}; }
    // The grid selects rows, not columns.
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    QList<int> selectedRows() const override {
        QList<int> rows;
        GridControl* grid = Grid();
        for (int row = 0; grid != nullptr && row < grid->RowCount(); ++row) {
            if (RowSelected(*grid, row)) {
                rows.append(row);
            }
        }
        return rows;
    }
    bool isRowSelected(int p_iRow) const override {
        return Grid() != nullptr && RowSelected(*Grid(), p_iRow);
    }
    bool selectRow(int p_iRow) override {
        GridControl* grid = Grid();
        if (grid == nullptr || p_iRow < 0 || p_iRow >= grid->RowCount()) {
            return false;
        }
        if (!RowSelected(*grid, p_iRow)) {
            grid->SelBookmarks()->Add(
                GridControl::BookmarkOfRowId(grid->DataSource()->ViewRowId(p_iRow)));
        }
        return true;
    }
    bool unselectRow(int p_iRow) override {
        GridControl* grid = Grid();
        if (grid == nullptr || !RowSelected(*grid, p_iRow)) {
            return false;
        }
        GridSelBookmarks& selection = *grid->SelBookmarks();
        const Variant bookmark =
            GridControl::BookmarkOfRowId(grid->DataSource()->ViewRowId(p_iRow));
        for (int32_t i = 0; i < selection.Count(); ++i) {
            if (selection.Item(i).ToDouble() == bookmark.ToDouble()) {
                selection.Remove(i);
                return true;
            }
        }
        return false;
    }
    int rowCount() const override { return Grid() != nullptr ? Grid()->RowCount() : 0; }
    int columnCount() const override {
        return Grid() != nullptr ? static_cast<int>(TableColumns(*Grid()).size()) : 0;
    }

    // Cells stand by place: new values need nothing, a change of the rows or the columns drops
    // them, so that no reader keeps a cell that now stands elsewhere or nowhere.
    void modelChange(QAccessibleTableModelChangeEvent* p_pEvent) override {
        if (p_pEvent->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) {
            DropCells();
        }
    }

  private:
    GridView* View() const { return static_cast<GridView*>(widget()); }
    GridControl* Grid() const { return View() != nullptr ? View()->Grid().get() : nullptr; }

    void DropCells() {
        for (const auto& [place, id] : std::exchange(m_cells, {})) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    mutable std::map<std::pair<int, int>, QAccessible::Id> m_cells;
};

GridAccessibleTable* TableOf(GridView* p_pView) {
    return dynamic_cast<GridAccessibleTable*>(QAccessible::queryAccessibleInterface(p_pView));
}

QList<QAccessibleInterface*> GridAccessibleCell::columnHeaderCells() const {
    GridAccessibleTable* table = TableOf(m_pView.data());
    QAccessibleInterface* header = table != nullptr ? table->Cell(-1, m_iColumn) : nullptr;
    return header != nullptr ? QList<QAccessibleInterface*>{header}
                             : QList<QAccessibleInterface*>{};
}

QAccessibleInterface* GridAccessibleFactory(const QString& p_sClassName, QObject* p_pObject) {
    auto* view = qobject_cast<GridView*>(p_pObject);
    if (view == nullptr || p_sClassName != QLatin1String(GridView::staticMetaObject.className())) {
        return nullptr;
    }
    return new GridAccessibleTable(view);
}

GridAccessibleEventSink g_fnTell = &QAccessible::updateAccessibility;

// Telling costs a query for each event, so nothing is told while no reader listens.
bool Listening() {
    return g_fnTell != &QAccessible::updateAccessibility || QAccessible::isActive();
}

// Tells an assistive technology, when one listens, what changed in the grid the view shows.
class GridAccessibleNotifier : public QObject, private GridControlObserver {
  public:
    static constexpr const char* kName = "qv-grid-accessibility";

    explicit GridAccessibleNotifier(GridView& p_view) : QObject(&p_view), m_view(p_view) {
        setObjectName(QLatin1String(kName));
    }

    void Follow() {
        if (m_oGrid.lock() == m_view.Grid()) {
            return;
        }
        if (const auto previous = m_oGrid.lock()) {
            previous->RemoveObserver(this);
        }
        m_oGrid = m_view.Grid();
        if (m_view.Grid()) {
            m_view.Grid()->AddObserver(this);
        }
        m_columns = Columns();
        Reset();
    }

  private:
    void ModelReset() override { Reset(); }
    void LayoutChanged() override { Reset(); }
    void RowsInserted(int32_t p_lFirst, int32_t p_lLast) override {
        Rows(QAccessibleTableModelChangeEvent::RowsInserted, p_lFirst, p_lLast);
    }
    void RowsRemoved(int32_t p_lFirst, int32_t p_lLast) override {
        Rows(QAccessibleTableModelChangeEvent::RowsRemoved, p_lFirst, p_lLast);
    }
    void DataChanged(int32_t p_lFirstRow, int32_t p_lLastRow, int32_t, int32_t) override {
        Rows(QAccessibleTableModelChangeEvent::DataChanged, p_lFirstRow, p_lLastRow);
    }
    // Widths and scrolling change the columns too, which a reader need not hear of.
    void ColumnsChanged() override {
        if (!Listening()) {
            return;
        }
        auto columns = Columns();
        if (columns != m_columns) {
            m_columns = std::move(columns);
            Reset();
        }
    }
    void SelectionChanged() override {
        if (Listening()) {
            QAccessibleEvent event(&m_view, QAccessible::SelectionWithin);
            g_fnTell(&event);
        }
    }
    void CurrentChanged(int32_t, int32_t p_lRow) override {
        if (!Listening() || p_lRow < 0 || !m_view.hasFocus()) {
            return;
        }
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&m_view);
        QAccessibleInterface* cell = table != nullptr ? table->focusChild() : nullptr;
        if (cell != nullptr) {
            QAccessibleEvent event(cell, QAccessible::Focus);
            g_fnTell(&event);
        }
    }

    void Reset() {
        if (Listening()) {
            QAccessibleTableModelChangeEvent event(&m_view,
                                                   QAccessibleTableModelChangeEvent::ModelReset);
            g_fnTell(&event);
        }
    }
    void Rows(QAccessibleTableModelChangeEvent::ModelChangeType p_eType, int32_t p_lFirst,
              int32_t p_lLast) {
        if (!Listening()) {
            return;
        }
        QAccessibleTableModelChangeEvent event(&m_view, p_eType);
        event.setFirstRow(p_lFirst);
        event.setLastRow(p_lLast);
        event.setFirstColumn(0);
        event.setLastColumn(std::max(static_cast<int>(m_columns.size()) - 1, 0));
        g_fnTell(&event);
    }
    // What a reader hears of the columns: their order and captions.
    std::vector<std::string> Columns() const {
        std::vector<std::string> captions;
        if (m_view.Grid()) {
            for (const GridSlot& slot : TableColumns(*m_view.Grid())) {
                captions.push_back(slot.Column->Caption());
            }
        }
        return captions;
    }

    GridView& m_view;
    std::weak_ptr<GridControl> m_oGrid;
    std::vector<std::string> m_columns;
};

}  // namespace

GridAccessibleEventSink SetGridAccessibleEventSink(GridAccessibleEventSink p_fnSink) {
    return std::exchange(g_fnTell,
                         p_fnSink != nullptr ? p_fnSink : &QAccessible::updateAccessibility);
}

void FollowGridForAccessibility(GridView& p_view) {
    static const bool installed = [] {
        QAccessible::installFactory(GridAccessibleFactory);
        return true;
    }();
    (void)installed;
    // Found by name: the notifier has no meta-object of its own for findChild to tell it by.
    auto* notifier = dynamic_cast<GridAccessibleNotifier*>(p_view.findChild<QObject*>(
        QLatin1String(GridAccessibleNotifier::kName), Qt::FindDirectChildrenOnly));
    if (notifier == nullptr) {
        notifier = new GridAccessibleNotifier(p_view);
    }
    notifier->Follow();
}

}  // namespace qv
