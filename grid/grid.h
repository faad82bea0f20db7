// Grid: one grid control with everything it needs to show one list of the viewer.
//
// The Grid holds the control (GridObject), the columns of its list (GridColumns, built by
// PopulateColumns from a layout description) and a reference to the viewer state of the
// strategy that owns it. Initialize turns the state's columns into the control's columns and
// splits through the layout loader (grid_utilities.h); the strategy then binds its rows.
//
// The Grid listens to its control: a header click sets the header-clicked flag, which the next
// double click consumes; the Delete key (46) raises Delete with the keys of the selected rows,
// joined by "','". Its own events go to GridEvents sinks (grid_events.h).
//
// The state is read through the strategy handed to Initialize, as a GridStateSource
// (state/grid_state_source.h), and the Grid keeps no strategy alive: it holds the strategy's
// ViewerElements weakly, which is the strategy's for its whole life, so a Grid that outlives its
// strategy simply has no state to read.
//
//     auto grid = std::make_shared<Grid>();
//     grid->SetGridObject(control);
//     grid->PopulateColumns(strategy.ViewerElements()->GridLayoutDescription(), 0);
//     strategy.ViewerElements()->SetGridColumns(gtPrimary, grid->GridColumns());
//     grid->Initialize("StockLayout.grx", "Main Grid", 0, "Stock Viewer Report", &strategy,
//                      true, false, 0);
//     grid->SetDataSource(rows);
//
// Procedures that talk to the control catch their own failures and report them with their tags
// ("Grid:Initialize", "LoadLayout 3", "Grid: GridSort", "Grid: GetSelectedItems"); the caller
// sees no failure and the control stays as far as the procedure got.
#pragma once

#include "grid/grid_events.h"
#include "outside/grid_control_events.h"
#include "outside/popup_menu.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class DispatchObject;
class GridColumns;
class GridControl;
class GridStateSource;
class Recordset;
class Variant;
class ViewerElements;
struct LayoutDescription;

class Grid : private GridControlEvents {
  public:
    // The layout-file argument of Initialize that only hands over the data type and strategy.
    static constexpr const char* kInitializeComplete = "INITIALIZE COMPLETE";
    static constexpr int16_t kDeleteKey = 46;

    Grid();
    // Detaches from the control and releases the columns and the column selector. The columns
    // are released, not cleared: the viewer state holds the same collection.
    ~Grid() override;
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;

    // The date handed to the quick test.
    double CurrentDate() const { return m_dCurrentDate; }
    void SetCurrentDate(double p_dDate) { m_dCurrentDate = p_dDate; }

    // Which rows the grid lists (0 stocks, 1 industries, 2 sectors, 3 holdings, 5 stocks), and
    // which TableMask bit makes a column apply to it.
    int32_t ViewerDataType() const { return m_lViewerDataType; }
    void SetViewerDataType(int32_t p_lType) { m_lViewerDataType = p_lType; }

    // The column-selection component, held for the control.
    const std::shared_ptr<DispatchObject>& ColumnSelector() const { return m_oColumnSelector; }
    void SetColumnSelector(std::shared_ptr<DispatchObject> p_oSelector);

    // The wrapped control; setting it moves the Grid's handlers to the new control.
    const std::shared_ptr<GridControl>& GridObject() const { return m_oGrid; }
    void SetGridObject(std::shared_ptr<GridControl> p_oGrid);

    // This grid's columns; reading creates an empty collection when none is held.
    std::shared_ptr<qv::GridColumns> GridColumns();
    void SetGridColumns(std::shared_ptr<qv::GridColumns> p_oColumns);

    // The control's visibility; false, and nothing is set, without a control.
    bool Visible() const;
    void SetVisible(bool p_bVisible);

    // The sort of the bound recordset. Setting ignores a sort the recordset refuses; reading
    // reports a failure as "Grid: GridSort" and gives "".
    std::string GridSort() const;
    void SetGridSort(const std::string& p_sSort);

    // Binds p_rRecordset to the control (null empties it). Grid columns bound to a field the
    // rows lack stay empty and are reported, each as error 3265 under "Grid: DataSource".
    void SetDataSource(std::shared_ptr<Recordset> p_rRecordset);

    // Stores the data type and the strategy; unless p_sLayoutFile is "INITIALIZE COMPLETE" (any
    // case), also stores the scope and title and (re)builds the control from the strategy's
    // columns: layout, splits, scroll bars, switches. The strategy may be null (no state).
    void Initialize(const std::string& p_sLayoutFile, const std::string& p_sGridName,
                    int32_t p_lViewerDataType, const std::string& p_sReportTitle,
                    const GridStateSource* p_oStrategy, bool p_bPrimary, bool p_bSingleSplit,
                    int32_t p_lListScope);

    // Replaces GridColumns with the columns of the layout that apply to p_lViewerDataType (all
    // of them for -1), closing the gaps in Sequence that the others leave. Does nothing for a
    // layout without columns.
    void PopulateColumns(const LayoutDescription& p_layout, int32_t p_lViewerDataType);

    // Scrolls the last split back to the first displayed column.
    void ResetLeftColumn();
    // Remembers the left column of split 1 (of the grid with one split) and scrolls back to it;
    // restoring does nothing before a save or when the column is gone.
    void SaveLeftColumnPosition();
    void RestoreLeftColumnPosition();

    // The key field values ("symbol", "indcode" or "sectorcode" by data type) of the selected
    // rows, joined by ","; "" for a data type without a key field.
    std::string GetSelKeys();
    // The values of p_sFieldName in the selected rows, in selection order, joined by ",".
    std::string GetSelectedItems(const std::string& p_sFieldName);

    // The buy/sell/hold caption of the bound rows' "REC" values: "Buys: 3 (30.0%)  Sells: ...
    // Holds: ...  Total: 10". Counted on a clone, so the grid keeps its rows, filter and current
    // row; with no rows every share is 0.0%. A failure (no rows bound, no "REC" field) is
    // reported as "GetBSHRatio" and gives "".
    std::string GetBSHRatio() const;

    const std::string& ReportTitle() const { return m_sReportTitle; }
    int32_t ListScope() const { return m_lListScope; }
    // Set by a header click until the next double click.
    bool HeaderClicked() const { return m_bHeaderClicked; }
    // The state of the strategy given to Initialize; null without one or once it is gone.
    std::shared_ptr<qv::ViewerElements> ViewerElements() const { return m_oViewerElements.lock(); }

    void AddSink(GridEvents* p_oSink) { m_sinks.Add(p_oSink); }
    void RemoveSink(GridEvents* p_oSink) { m_sinks.Remove(p_oSink); }

    // --- The context menu and navigation (grid_menu.cpp, grid_navigation.cpp) -----------------
    // The row context menu, as last built.
    const qv::PopupMenu& PopupMenu() const { return m_oPopupMenu; }
    // Builds the menu for the rows, the viewer type, the report title and the selection (the
    // current row is selected first when none is); false when a failure stopped it, which is
    // reported as "Grid:MouseUp".
    bool BuildMenu();
    // Runs the menu's item p_lIndex as if a person had chosen it.
    void m_oPopupMenu_Click(int32_t p_lIndex);
    // A command of the host's menus given as a menu item id (6, 7, 9): the menu is built without
    // being shown, its first enabled item of that id runs, and the menu is cleared again.
    void HandleExMenuClick(int32_t p_lItemId);
    // Raises Navigate with the page of p_lNavigateType (0 to 14) for the selected rows; the
    // several-graph types first ask how many rows to graph when fewer than 2 are selected.
    void RaiseNavigate(int32_t p_lNavigateType, int32_t p_lWatchListId);
    // Raises DblClick with the page of the current row.
    void RaiseDoubleClick();
    void LinkToNews(const std::string& p_sSymbol);
    void LinkToDividendViewer();
    // Starts the options program on the selected rows' symbols for trade p_sTradeId, or offers
    // its installation when it is not installed.
    void HandleMarluneClick(double p_dDate, const std::string& p_sTradeId);
    // The options program's executable within its folder, and the words its command line has.
    static constexpr const char* kMarluneProgram = "Marlune.exe";
    static std::vector<std::string> MarluneArguments(int32_t p_lOwnerId,
                                                     const std::string& p_sTimeCode,
                                                     const std::string& p_sSymbols,
                                                     const std::string& p_sDate,
                                                     const std::string& p_sTradeId);

    // --- The quick test (grid_quick_test.cpp) --------------------------------------------------
    // Raises Navigate with the quick-test page of the ids after the "=" of p_sQuickTest
    // ("QuickTest=101,102"), titled p_sReportTitle. An empty p_sQuickTest becomes "QuickTest="
    // and the selected rows' ids: "Stock_ID" of stock rows, "IndCode" and "SectorCode" of
    // industry and sector rows. Without ids nothing is raised; failures are reported as
    // "Grid:ShowQuicktest".
    void ShowQuikTest(std::string& p_sQuickTest, const std::string& p_sReportTitle);

    // --- Export (grid_export.cpp) ---------------------------------------------------------------
    // Export type 6 writes all rows, 7 the selected rows in the order selected: the person ticks
    // and orders the columns and chooses the file in the column selector, and is told how it
    // went. Every other type does nothing. The file is replaced only once it is complete.
    // Failures outside the writing are reported as "Grid: Export".
    void Export(int32_t p_enExportType);
    // The export text of every row in view order with the shown export columns in Sequence
    // order, as an export without a column choice writes it; "" without rows or such columns.
    std::string ExportText();

  private:
    void ExportColumns(bool p_bSelectedOnly);
    // p_vColumns: the columns table of the column choice (Empty when none was ticked), or
    // Missing for the shown export columns.
    void ExportAllRows(const Variant& p_vColumns);
    void ExportSelectedRows(const Variant& p_vColumns);
    // Asks for the file, writes the text of the rows p_rowIds and tells the person how it went;
    // a cancelled file choice writes nothing and tells nothing.
    void WriteExport(const Variant& p_vColumns, const Recordset& p_rRows,
                     const std::vector<uint32_t>& p_rowIds);
    // The last file exported to, as the "ExportDir" setting holds it, when it still exists;
    // otherwise the library's "Export" folder, made when missing.
    static std::string GetExportPath();
    static void SaveExportPath(const std::string& p_sPath);

  private:
    void MouseUp(int16_t p_iButton, int16_t p_iShift, int32_t p_lX, int32_t p_lY) override;
    // Adds the options-analysis groups and trades under p_lParent.
    void AddMarluneMenuItems(int32_t p_lParent);
    void ShowMarlune(const std::string& p_sFolder, const std::string& p_sSymbols,
                     const std::string& p_sDate, const std::string& p_sTradeId);
    // Adds up to p_iCount rows to the selection, from the current row on.
    void SelectFromCurrent(int16_t p_iCount);
    qv::PopupMenu m_oPopupMenu;
    bool m_bExternalClick = false;
    // Expires with the Grid: a menu shown runs the event loop, which may release the Grid.
    std::shared_ptr<bool> m_oAlive = std::make_shared<bool>(true);

    // --- Printing (grid_print.cpp) --------------------------------------------------------------
  public:
    // The page setup dialog, then every row of p_oGrid printed; Cancel prints nothing.
    void PrintFromPage(const std::shared_ptr<GridControl>& p_oGrid);
    // Prints p_lRows (0 all rows, 1 the selected rows) of p_oGrid under the list's page header,
    // on the page setup of "pagesetup.dat". With p_bAskPageSetup the page setup dialog comes
    // first: its Cancel prints and saves nothing, its OK is saved for the next print.
    void PrintRows(GridControl& p_oGrid, int32_t p_lRows, bool p_bAskPageSetup = true);
    // The page header of the list this grid shows (ViewerType, list scope, watch list), set on
    // p_oGrid's print settings; left unchanged for a list without one.
    void SetPageHeader(GridControl& p_oGrid);
    // The page setup of "pagesetup.dat" in the library folder, given to p_oGrid; a file that
    // cannot be used is deleted, said once in the run, and the grid keeps its settings.
    void LoadPageSetup(GridControl& p_oGrid);
    // p_oGrid's page setup written to "pagesetup.dat", replacing it whole.
    void SavePageSetup(GridControl& p_oGrid);

  private:
    // The menu's "Page Setup": the dialog alone, saved on OK.
    void ShowPageSetup();

  private:
    void HeadClick(int16_t p_iColIndex) override;
    void DblClick() override;
    void KeyDown(int16_t& p_iKeyCode, int16_t p_iShift) override;

    void InitializeLayout(bool p_bPrimary, bool p_bSingleSplit);
    void ReportMissingField(int32_t p_lColumn) const;
    // The values of p_sFieldName in the selected rows; reports as "Grid: GetSelectedItems".
    std::vector<std::string> SelectedValues(const std::string& p_sFieldName);

    std::shared_ptr<GridControl> m_oGrid;
    std::shared_ptr<DispatchObject> m_oColumnSelector;
    std::shared_ptr<qv::GridColumns> m_oColumns;
    std::weak_ptr<qv::ViewerElements> m_oViewerElements;
    int32_t m_lViewerDataType = 0;
    std::string m_sReportTitle;
    int32_t m_lListScope = 0;
    bool m_bHeaderClicked = false;
    int16_t m_iLeftCol = 0;
    double m_dCurrentDate = 0;
    GridEventList m_sinks;
};

namespace GridUtilities {

// Empties both grids' controls (those that have one).
void ClearGridData(Grid& p_oPriGrid, Grid& p_oSecGrid);

}  // namespace GridUtilities

}  // namespace qv
