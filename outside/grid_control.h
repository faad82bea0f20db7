// The grid control: a headless model of the data-bound grid that shows the viewer's lists.
//
// State: the bound recordset (DataSource), the Columns (grid_control_columns.h) and Splits
// (grid_control_splits.h), the selected rows as bookmarks (SelBookmarks), the current row and
// column, the switches and colours the viewer sets, the print settings and the members the viewer
// reaches only by dispatch id. The current row is the bound recordset's current record: Row is
// its 0-based position in the recordset's view, not a line on screen.
//
// Views hear what to draw again through GridControlObserver (grid_control_changes.h): the grid
// raises its own changes and those of its parts, and passes on what happens to the bound
// recordset (an edit or a deletion made through any clone, a filter, a sort, a cursor move). A
// view thus keeps nothing of its own and reads only what changed.
//
// Events go to GridControlEvents sinks (grid_control_events.h). The user-action entry points
// (Click, DoubleClick, HeaderClick, Mouse*, KeyDown, MoveColumns) are what the shell calls when a
// person acts; they do nothing while the grid is disabled. A sink may destroy the grid inside an
// event: no entry point touches the grid after a raise that reports it gone.
//
// Geometry, for mapping a point to what lies under it: the header is kHeaderHeight twips high,
// each row kRowHeight; the record selectors, when shown, are kRecordSelectorWidth wide; then come
// the splits left to right, each with its shown columns at their widths in that split. Rows start
// at TopRow.
//
// Dispatch by name: DataSource (get, set), RowCount, Columns, Splits, SelBookmarks (each with an
// optional index for an item), Row, Col, Bookmark, TopRow, LeftCol, SelStartCol, SelEndCol,
// Visible, Enabled, ScrollBars, AllowColSelect, AllowColMove, RecordSelectors, ExtendRightColumn,
// Appearance, RowContaining(y), ColContaining(x). By id (and name where it has one):
//   196 BackColor, 165 PointAt(x, y) -> region, 180 PrintInfos, 181 PrintInfo;
//   17, 18, 43, 75, 86, 87: kept as set (Empty until then), with no effect here. The viewer
//   sets 75 = 5, 86 = True and 87 = False after a query, 43 = 1 on a column move in a grid with
//   several splits, and saves 17 and 18 (setting 17 to -1) around a rebuild of the columns.
//
// RenderText(first, count) writes the header and the view rows first .. first+count-1 (only
// those rows are read), each line ended by "\n":
//
//       Symbol Company    |    Price    %Prc Rec
//     > IBM    Intl Busi~ |   140.50   -1.20  B  {%Prc: red; Rec: white on green}
//      *MSFT   Microsoft  |   310.00    2.10  H  {%Prc: green; Rec: black on yellow}
//       ACME   Acme       | 1,234.57    0.00  S  {%Prc: black; Rec: white on red}
//
//   - A two-character gutter: ">" on the current row, "*" on a selected row.
//   - The splits left to right (the frozen split first), each with its shown columns; cells are
//     separated by one blank, splits by " | ".
//   - A cell is its width in twips / kTwipsPerCharacter characters wide (rounded, at least one);
//     its text is the field's value through the column's number format (Format), aligned as the
//     column says (general: number and date fields right, others left), headers aligned alike;
//     a text too long for its cell is cut and ends in "~". Widths count characters, not bytes.
//   - Blanks at the end of a line are dropped. Cells with colours of their own (the column's text
//     colour, a conditional style, a cell-style handler (event 59)) are listed after the row in
//     braces, by caption, in the order they appear: text colour, then "on" and the background.
#pragma once

#include "outside/dispatch.h"
#include "outside/grid_control_bookmarks.h"
#include "outside/grid_control_changes.h"
#include "outside/grid_control_columns.h"
#include "outside/grid_control_events.h"
#include "outside/grid_control_print.h"
#include "outside/grid_control_splits.h"
#include "outside/grid_style.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace qv {

class DispatchTable;
class Recordset;

// What lies under a point (PointAt). The viewer tests for gcrColumnHeader.
enum GridRegion : int16_t {
    gcrOutside = 0,
    gcrRecordSelector = 4,
    gcrColumnHeader = 6,
    gcrData = 9,
};

struct GridHit {
    GridRegion Region = gcrOutside;
    int32_t Split = -1;
    int32_t Column = -1;  // column index
    int32_t Row = -1;     // view position
};

enum GridAppearance : int16_t { gapFlat = 0, gap3D = 1 };

class GridControl : public DispatchObject {
  public:
    static constexpr int32_t kTwipsPerCharacter = 105;
    static constexpr int32_t kHeaderHeight = 300;
    static constexpr int32_t kRowHeight = 240;
    static constexpr int32_t kRecordSelectorWidth = 300;

    // A new grid has one split and two unbound columns, as a grid just placed on a form does.
    GridControl();
    ~GridControl() override;
    GridControl(const GridControl&) = delete;
    GridControl& operator=(const GridControl&) = delete;

    std::string_view DispatchClassName() const override { return "GridControl"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args) override;

    // Data. Binding (or unbinding) clears the selection and scrolls to the top.
    const std::shared_ptr<Recordset>& DataSource() const { return m_rDataSource; }
    void SetDataSource(std::shared_ptr<Recordset> p_rRecordset);
    // Rows in the bound recordset's view; 0 when none is bound or it is closed.
    int32_t RowCount() const;
    // Replaces the columns with one per field of the bound recordset, captioned with its name.
    void RetrieveFields();

    const std::shared_ptr<GridControlColumns>& Columns() const { return m_oColumns; }
    const std::shared_ptr<GridControlSplits>& Splits() const { return m_oSplits; }
    const std::shared_ptr<GridSelBookmarks>& SelBookmarks() const { return m_oSelBookmarks; }
    const std::shared_ptr<GridPrintInfos>& PrintInfos() const { return m_oPrintInfos; }
    const std::shared_ptr<GridPrintInfo>& PrintInfo() const { return m_oPrintInfos->Default(); }
    const std::shared_ptr<GridStyle>& Style(GridStyleKind p_eKind) const {
        return m_styles[static_cast<size_t>(p_eKind)];
    }

    // Current row (view position, -1 when the recordset is at BOF or EOF or none is bound) and
    // column (index, -1 for none).
    int32_t Row() const;
    // Moves the recordset to view position p_lRow (error 9 outside the view) and raises
    // RowColChange when the row changed.
    void SetCurrentRow(int32_t p_lRow);
    int32_t Col() const { return m_lCol; }
    // -1 or a column index (error 9 otherwise); raises RowColChange when the column changed.
    void SetCurrentColumn(int32_t p_lCol);
    // The current row's bookmark; Null when there is none.
    Variant Bookmark() const;

    // The first view row on screen; clamped to the rows there are.
    int32_t TopRow() const { return m_lTopRow; }
    void SetTopRow(int32_t p_lRow);
    // The left column of the last split, which is the scrolling one.
    int32_t LeftCol() const;
    void SetLeftCol(int32_t p_lColumn);
    // The selected display positions of a column move; -1 when none.
    int32_t SelStartCol() const { return m_lSelStartCol; }
    int32_t SelEndCol() const { return m_lSelEndCol; }
    void SetSelectedColumns(int32_t p_lFirst, int32_t p_lLast);

    bool Visible() const { return m_bVisible; }
    void SetVisible(bool p_bVisible);
    bool Enabled() const { return m_bEnabled; }
    void SetEnabled(bool p_bEnabled) { m_bEnabled = p_bEnabled; }
    GridScrollBars ScrollBars() const { return m_eScrollBars; }
    void SetScrollBars(int32_t p_lScrollBars);
    bool AllowColSelect() const { return m_bAllowColSelect; }
    void SetAllowColSelect(bool p_bAllow) { m_bAllowColSelect = p_bAllow; }
    bool AllowColMove() const { return m_bAllowColMove; }
    void SetAllowColMove(bool p_bAllow) { m_bAllowColMove = p_bAllow; }
    bool RecordSelectors() const { return m_bRecordSelectors; }
    void SetRecordSelectors(bool p_bShow);
    bool ExtendRightColumn() const { return m_bExtendRightColumn; }
    void SetExtendRightColumn(bool p_bExtend);
    GridAppearance Appearance() const { return m_eAppearance; }
    void SetAppearance(int32_t p_lAppearance);
    int32_t BackColor() const { return m_lBackColor; }
    void SetBackColor(int32_t p_lColor);

    // The members known by id only (17, 18, 43, 75, 86, 87). Setting one tells the views, since
    // 86 turns the alternating row styles on.
    Variant IdProperty(int32_t p_lDispId) const;
    void SetIdProperty(int32_t p_lDispId, const Variant& p_vValue);

    // Events.
    void AddSink(GridControlEvents* p_oSink) { m_sinks.Add(p_oSink); }
    void RemoveSink(GridControlEvents* p_oSink) { m_sinks.Remove(p_oSink); }

    // Views.
    void AddObserver(GridControlObserver* p_oObserver) { m_oChanges->Add(p_oObserver); }
    void RemoveObserver(GridControlObserver* p_oObserver) { m_oChanges->Remove(p_oObserver); }
    // Holds back what the views hear of columns, selection and the current cell until the batch
    // ends, for a caller that changes many properties in one go.
    std::unique_ptr<GridChangeBatch> BatchChanges() const {
        return std::make_unique<GridChangeBatch>(m_oChanges);
    }

    // User actions. Click makes the cell current (RowColChange when it moved), selects its row
    // (only it; with Ctrl it toggles; with Shift the rows from the previous current row) and
    // raises Click; a row outside the view only raises Click.
    void Click(int32_t p_lRow, int32_t p_lCol, int16_t p_iShift = 0);
    void DoubleClick();
    void HeaderClick(int32_t p_lCol);
    void MouseMove(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY);
    void MouseDown(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY);
    void MouseUp(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY);
    // Returns the key code as the handlers left it; the grid itself acts on no key, the shell
    // moves the current row unless a handler set the code to 0.
    int16_t KeyDown(int16_t p_iKeyCode, int16_t p_iShift);
    // Selects the columns at display positions p_lFirst to p_lLast and raises ColMove; unless a
    // handler cancels, puts them before the column at display position p_lPosition (last for
    // Count). Returns whether they moved; false when column moving is off. Positions outside
    // the columns are error 9.
    bool MoveColumns(int32_t p_lFirst, int32_t p_lLast, int32_t p_lPosition);

    // Geometry.
    GridHit HitTest(int32_t p_lX, int32_t p_lY) const;
    GridRegion PointAt(int32_t p_lX, int32_t p_lY) const { return HitTest(p_lX, p_lY).Region; }
    // The view row under y (-1 for the header or past the rows), the column under x (-1 for none).
    int32_t RowContaining(int32_t p_lY) const;
    int32_t ColContaining(int32_t p_lX) const;

    // The displayed text of a cell: the field's value in the row of p_vBookmark through the
    // column's number format; empty for an unbound column or a field the recordset lacks.
    std::string CellText(int32_t p_lCol, const Variant& p_vBookmark) const;

    // Asks the sinks for the colours of one cell that the shell paints itself, as the text
    // rendering asks for each cell it writes (FetchCellStyle, event 59, in the normal state):
    // p_oStyle holds the cell's colours so far and takes the handlers'. False when a handler
    // destroyed the grid.
    bool FetchCellStyle(int32_t p_lSplit, const Variant& p_vBookmark, int32_t p_lCol,
                        std::string_view p_sText, GridStyle& p_oStyle);

    std::string RenderText(int32_t p_lFirstRow, int32_t p_lRowCount);

    // The bookmark of a row of the bound recordset, as SelBookmarks holds it.
    static Variant BookmarkOfRowId(uint32_t p_lRowId);

  private:
    class SourceWatch;

    static const DispatchTable& Table();
    // Held by the caller while it tells: an observer may destroy the grid.
    std::shared_ptr<GridChanges> Changes() const { return m_oChanges; }
    // Moves to view row p_lRow (none for -1) and column p_lCol, telling the views and raising
    // RowColChange when either changed. False when a handler destroyed the grid.
    bool ChangeCurrent(int32_t p_lRow, int32_t p_lCol);
    // The same without the event; the caller holds a batch open.
    bool MoveCurrent(int32_t p_lRow, int32_t p_lCol);
    bool RaiseRowColChange(const Variant& p_vPreviousRow, int32_t p_lPreviousCol);
    void SelectByClick(int32_t p_lRow, int32_t p_lPreviousRow, int16_t p_iShift);
    // The current row as the views last heard of it: NoteCurrent takes it as it is now,
    // AnnounceCurrent also tells them when another record became current.
    void NoteCurrent();
    bool AnnounceCurrent();
    // The indexes of the first and last columns showing field p_lField of the data source.
    std::pair<int32_t, int32_t> ColumnsShowing(int32_t p_lField) const;

    std::shared_ptr<GridChanges> m_oChanges;
    std::unique_ptr<SourceWatch> m_oSourceWatch;
    std::shared_ptr<Recordset> m_rDataSource;
    std::shared_ptr<GridControlColumns> m_oColumns;
    std::shared_ptr<GridControlSplits> m_oSplits;
    std::shared_ptr<GridSelBookmarks> m_oSelBookmarks;
    std::shared_ptr<GridPrintInfos> m_oPrintInfos;
    GridStyleSet m_styles = MakeGridStyleSet();
    GridEventSinks m_sinks;

    int32_t m_lCol = -1;
    int32_t m_lTopRow = 0;
    int32_t m_lSelStartCol = -1;
    int32_t m_lSelEndCol = -1;
    bool m_bVisible = true;
    bool m_bEnabled = true;
    GridScrollBars m_eScrollBars = gsbAutomatic;
    bool m_bAllowColSelect = true;
    bool m_bAllowColMove = true;
    bool m_bRecordSelectors = true;
    bool m_bExtendRightColumn = false;
    GridAppearance m_eAppearance = gap3D;
    int32_t m_lBackColor = grid_colors::kWhite;
    std::map<int32_t, Variant> m_idProperties;
    int32_t m_lAnnouncedRow = -1;
    int64_t m_lAnnouncedRowId = -1;
};

}  // namespace qv
