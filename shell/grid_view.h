// The Qt view of a grid-control model (outside/grid_control.h): it draws the model and turns a
// person's mouse and keyboard actions into the model's user actions, whose events reach the
// model's sinks.
//
// The view keeps no state the model lacks. Rows on screen start at the model's TopRow, the
// scrolling split starts at its LeftCol, the selection is the model's SelBookmarks, and a point
// is mapped to a row and column by the model's own HitTest. A frame reads only the rows it
// paints, each by its position in the recordset's view, so a list of any length scrolls alike.
//
// The view is a thin forwarder of the model's notifications (grid_control_changes.h), whoever
// changed the model (a person, a handler, the viewer, an edit of the recordset through a
// clone): changed data, the current row and inserted or removed rows repaint only the rows they
// name (and the rows below an insertion or removal); a reset, an insertion or a removal sets the
// vertical scroll range again; a change of the columns sets the horizontal range, the scroll-bar
// policy and the header, and shows or hides the view as the model's Visible says.
// One custom-painted widget does it, not a pair of item views: item views would each keep a
// selection, a current index and a section order of their own that would have to be kept in
// step with the model, and their frozen-column arrangement would scroll by pixels where the
// model scrolls by rows and columns.
//
// What a person does, and what the model hears:
//   - press a mouse button: MouseDown; with the left button on a row, Click (which makes the row
//     current and selects it: alone, with Ctrl toggled, with Shift from the current row);
//   - release: MouseUp; on a header that was pressed and not dragged, HeaderClick;
//   - double click with the left button: DoubleClick;
//   - drag a header sideways (when the model allows column moves): MoveColumns, which raises
//     ColMove; the column goes before the column under the pointer, or after it past its middle;
//   - drag the border between two headings (kBorderZone pixels either side of the line): the
//     column left of it takes the new width, in the split it is shown in;
//   - move the pointer: MouseMove, also with no button held;
//   - a key: KeyDown. Unless a handler set the code to 0, Up, Down, Page Up, Page Down, Ctrl+Home
//     and Ctrl+End make another row current and select only it (with Shift, add the rows passed
//     over to the selection); Left and Right scroll the scrolling split by a column.
// The scroll bars and the wheel set the model's TopRow and the scrolling split's LeftCol.
//
// Columns are made wide enough for their caption and for the texts of the first kFitRows rows
// whenever the model's rows or columns are set anew; the view only widens them, and leaves alone
// a column a person has sized. The last column reaches the view's right edge. The colours follow
// the widget's palette (grid_painter_colors.h). What the model cannot tell (the sort the rows are
// in, the long names of the fields) comes from a GridHeaderSource: the headings show the sort
// arrows, and a heading's tool tip the field's long name and, when no row of the list has a value
// in the column, that it has none.
//
// A handler may change the model in any way, or give the view another model:
//
//     auto grid = std::make_shared<GridControl>();
//     GridView view;
//     view.SetGrid(grid);
//     grid->SetDataSource(recordset);   // the view hears the reset and shows the new rows
#pragma once

#include "outside/grid_control_changes.h"
#include "shell/grid_painter.h"

#include <QAbstractScrollArea>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class GridControl;
class GridControlColumn;
class GridGeometry;

// What a view shows beside the model: the sort keys of its rows and the long name of a field
// (empty when none is known). Either may be left out.
struct GridHeaderSource {
    std::function<std::vector<GridSortMark>()> Sort;
    std::function<std::string(const std::string& p_sField)> LongName;
};

class GridView : public QAbstractScrollArea, private GridControlObserver {
    Q_OBJECT

  public:
    // Pixels either side of a heading border that take a drag as a resize.
    static constexpr int32_t kBorderZone = 4;
    // Rows from the top of the list whose texts size the columns.
    static constexpr int32_t kFitRows = 500;

    explicit GridView(QWidget* p_pParent = nullptr);
    ~GridView() override;

    void SetHeaderSource(GridHeaderSource p_source);
    // The sort arrows the headings show, as the header source tells them.
    std::vector<GridSortMark> SortMarks() const;
    // The tool tip of the heading of column index p_lCol: the field's long name (its caption
    // when none is known), then a note when no row has a value in the column.
    QString HeaderToolTip(int32_t p_lCol) const;

    // The model shown, or none; the view holds it while it shows it.
    void SetGrid(std::shared_ptr<GridControl> p_oGrid);
    const std::shared_ptr<GridControl>& Grid() const { return m_oGrid; }

    // 1440 over the view's dots per inch.
    double TwipsPerPixel() const;
    // Rows that fit whole below the header.
    int32_t WholeRowsShown() const;
    // Where the header of column index p_lCol, or its cell in view row p_lRow, lies in the
    // viewport; empty when it is not on screen.
    QRect HeaderRect(int32_t p_lCol) const;
    QRect CellRect(int32_t p_lRow, int32_t p_lCol) const;

  protected:
    void paintEvent(QPaintEvent* p_pEvent) override;
    bool viewportEvent(QEvent* p_pEvent) override;
    void changeEvent(QEvent* p_pEvent) override;
    void mousePressEvent(QMouseEvent* p_pEvent) override;
    void mouseMoveEvent(QMouseEvent* p_pEvent) override;
    void mouseReleaseEvent(QMouseEvent* p_pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* p_pEvent) override;
    void keyPressEvent(QKeyEvent* p_pEvent) override;
    void resizeEvent(QResizeEvent* p_pEvent) override;
    void scrollContentsBy(int p_iDx, int p_iDy) override;

  private:
    struct HeaderPress {
        int32_t Column = -1;
        QPoint Start;
        bool Dragging = false;
    };
    struct BorderPress {
        std::weak_ptr<GridControlColumn> Column;
        int32_t Split = 0;
        int32_t StartX = 0;
        int32_t StartWidth = 0;  // pixels
    };

    void ModelReset() override;
    void RowsInserted(int32_t p_lFirst, int32_t p_lLast) override;
    void RowsRemoved(int32_t p_lFirst, int32_t p_lLast) override;
    void DataChanged(int32_t p_lFirstRow, int32_t p_lLastRow, int32_t p_lFirstCol,
                     int32_t p_lLastCol) override;
    void LayoutChanged() override;
    void ColumnsChanged() override;
    void SelectionChanged() override;
    void CurrentChanged(int32_t p_lPreviousRow, int32_t p_lRow) override;
    void TopRowChanged() override;

    // The whole model: both scroll bars, the visibility and the picture.
    void ShowAll();
    // The vertical scroll bar, from the rows there are; moves the model's top row up when the
    // rows would not fill the view.
    void UpdateRowBar();
    // The scroll-bar policy, the horizontal scroll bar and the visibility.
    void UpdateColumnBar();
    // Repaints the view rows p_lFirst to p_lLast (-1 for none) where they are on screen.
    void UpdateRows(int32_t p_lFirst, int32_t p_lLast);

    GridGeometry Geometry(const GridControl& p_oGrid) const;
    // The slot whose right border lies within kBorderZone of p_point in the header, or -1.
    int32_t BorderAt(const GridGeometry& p_geometry, QPoint p_point) const;
    // Widens the columns no person has sized to their caption and their first rows' texts.
    void FitColumns(GridControl& p_oGrid);
    bool SizedByPerson(const GridControlColumn& p_oColumn) const;
    // Gives the column whose border is dragged the width the pointer at p_lX makes.
    void Resize(int32_t p_lX);
    // Runs a user action on the model; reports a failure instead of letting it reach the event
    // loop. The model's notifications repaint what the action changed.
    void Act(const char* p_sLabel, const std::function<void(GridControl&)>& p_fnAction);
    void PressLeft(GridControl& p_oGrid, QPoint p_point, int16_t p_iShift);
    // The display position a dragged column would drop at, and the x of that place.
    std::pair<int32_t, int32_t> DropTarget(const GridControl& p_oGrid, int32_t p_lX) const;
    void MoveCurrentRow(GridControl& p_oGrid, int16_t p_iKeyCode, int16_t p_iShift);
    void ScrollColumns(GridControl& p_oGrid, int32_t p_lBy);
    // The columns the scrolling split can show, in display order, from its first.
    static std::vector<std::shared_ptr<GridControlColumn>> ScrollableColumns(
        const GridControl& p_oGrid);
    int32_t LastLeftColumn(const GridControl& p_oGrid,
                           const std::vector<std::shared_ptr<GridControlColumn>>& p_columns) const;
    void ApplyScrollBarPolicy(const GridControl& p_oGrid);

    std::shared_ptr<GridControl> m_oGrid;
    std::optional<HeaderPress> m_press;
    std::optional<BorderPress> m_border;
    // The columns a person has sized, which fitting leaves alone; the model keeps no such mark.
    std::vector<std::weak_ptr<GridControlColumn>> m_sized;
    GridHeaderSource m_header;
    bool m_bFitting = false;
    int32_t m_lDropX = -1;
    bool m_bSyncing = false;
};

}  // namespace qv
