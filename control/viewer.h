// Viewer: the control a host places to show one market-data list.
//
// The control holds little of its own: the strategy of its viewer type (which owns the viewer
// state, ViewerElements), the two Grid wrappers around its two grid controls, a few values and
// lists the host hands in, and the geometry of its surface. Every other property is forwarded
// to the strategy's ViewerElements, so a host must set ViewerType first; a forwarding property
// used before that is the automation error 91 (object not set).
//
//     auto viewer = std::make_shared<Viewer>();
//     viewer->AddSink(hostEvents);
//     viewer->SetViewerType(vt_Stocks);        // error 911 for a type without a strategy
//     viewer->SetOwnerId(7);
//     viewer->SetStartDate(day);
//     if (viewer->UpdateViewer()) { ... }      // the query; both grids now show rows
//
// A host that binds late calls the same members by name through Invoke, with the parameters,
// defaults and by-reference arguments of the control's dispatch interface.
//
// Everything runs on the host's one thread. The control yields to the host's message loop at a
// few points (a watch list after a query, a navigation from the grid), and a host event handler
// may then call the control again or release it: the control touches none of its members after
// an event whose handler released it.
#pragma once

#include "columns/viewer_type.h"
#include "control/viewer_forwarders.h"
#include "outside/dispatch.h"
#include "outside/layout_description.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class Grid;
class GridControl;
class GridControlEvents;
class GridEvents;
class Recordset;
class ViewerElements;
class ViewerEvents;
class ViewerFunctionality;
class DispatchTable;
class frmSearch;
class frmSearchEvents;

// A child control's place on the control's surface, in twips.
struct TwipsRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool operator==(const TwipsRect&) const = default;
};

// The declarations of the forwarding properties' accessors.
#define QV_DECLARE_FORWARDER(name, type, get, assign, member) \
    viewer_property::type::Value name() const;                \
    QV_VIEWER_ASSIGNABLE_##assign(void Set##name(viewer_property::type::Arg p_value);)

class Viewer : public DispatchObject {
  public:
    // The paths of the default server and layout addresses; the host part is the local server.
    static constexpr const char* kDefaultServerAddress = "http://localhost/olmaris/";
    static constexpr const char* kDefaultLayoutPath = "http://localhost/olmaris/gridlayouts/";
    // The designed sizes of the surface's children.
    static constexpr int32_t kSecondaryGridHeight = 705;
    static constexpr int32_t kRunningIndicatorWidth = 2880;
    static constexpr int32_t kRunningIndicatorHeight = 1200;

    Viewer();
    ~Viewer() override;
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    std::string_view DispatchClassName() const override { return "Viewer"; }
    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    // Whether a late-bound call of that name, kind and argument count reaches a member, for
    // callers that check what they will call before there is a control to call.
    static bool AnswersMember(std::string_view p_sName, InvokeKind p_eKind, int p_iArgs);

    // --- Host wiring ---------------------------------------------------------------------------
    // Sinks are held weakly; a sink released by its owner simply hears nothing more.
    void AddSink(const std::shared_ptr<ViewerEvents>& p_oSink);
    void RemoveSink(const std::shared_ptr<ViewerEvents>& p_oSink);
    // The host's container object, which receives "disable" when another login takes over.
    void SetParent(const std::shared_ptr<DispatchObject>& p_oParent) { m_oParent = p_oParent; }

    // The child grid controls (they live as long as the control) and the current wrappers.
    const std::shared_ptr<GridControl>& olePriGrid() const { return m_olePriGrid; }
    const std::shared_ptr<GridControl>& oleSecGrid() const { return m_oleSecGrid; }
    const std::shared_ptr<Grid>& PrimaryGrid() const { return m_oPriGrid; }
    const std::shared_ptr<Grid>& SecondaryGrid() const { return m_oSecGrid; }
    // The current strategy; null until ViewerType is first set.
    const std::shared_ptr<ViewerFunctionality>& Strategy() const { return m_oStrategy; }

    // --- Geometry --------------------------------------------------------------------------------
    // The host sizes the control; the children are laid out again.
    void SetExtent(int32_t p_lWidth, int32_t p_lHeight);
    int32_t Width() const { return m_lWidth; }
    int32_t Height() const { return m_lHeight; }
    const TwipsRect& PrimaryGridRect() const { return m_rcPriGrid; }
    const TwipsRect& SecondaryGridRect() const { return m_rcSecGrid; }
    const TwipsRect& RunningIndicatorRect() const { return m_rcRunning; }
    void ResizeMe();

    // --- Viewer type -----------------------------------------------------------------------------
    // 0 until a type is set.
    qv::ViewerType ViewerType() const;
    // Creates the strategy and both grid wrappers; error 911 "Invalid Viewer Type" for a value
    // without a strategy, which leaves the previous strategy in place.
    void SetViewerType(int32_t p_eViewerType);

    // --- Forwarding properties (viewer_forwarders.h; error 91 before ViewerType is set) ------
    QV_VIEWER_FORWARDERS(QV_DECLARE_FORWARDER)

    // --- Properties of the control itself --------------------------------------------------------
    const std::string& TimeCode() const { return m_sTimeCode; }
    void SetTimeCode(const std::string& p_sTimeCode) { m_sTimeCode = p_sTimeCode; }
    double PortFolioUpdatedDate() const { return m_dPortFolioUpdatedDate; }
    void SetPortFolioUpdatedDate(double p_dDate) { m_dPortFolioUpdatedDate = p_dDate; }
    // The host's lists for the searches.
    void SetCompanyList(std::shared_ptr<Recordset> p_rList) { m_rCompanyList = std::move(p_rList); }
    void SetSectorList(std::shared_ptr<Recordset> p_rList) { m_rSectorList = std::move(p_rList); }
    void SetIndustryList(std::shared_ptr<Recordset> p_rList) {
        m_rIndustryList = std::move(p_rList);
    }
    const std::shared_ptr<Recordset>& CompanyList() const { return m_rCompanyList; }
    const std::shared_ptr<Recordset>& SectorList() const { return m_rSectorList; }
    const std::shared_ptr<Recordset>& IndustryList() const { return m_rIndustryList; }
    // Rows of the primary grid's recordset; 0 without one.
    int32_t RecordCount() const;
    std::string ViewerTypeCaption() const;
    std::string ViewerOtherCaption() const;
    // A host's date text ("12.06.2026" or "12/06/2026") as StartDate.
    void SetStartDateStr(const std::string& p_sDate);
    // Remembers the host of a server address as the per-user "RemoteServer" setting.
    void SetRemoteServer(const std::string& p_sServer);
    // Always nothing.
    std::shared_ptr<DispatchObject> EventClass() const { return nullptr; }
    // Two "True" texts.
    Variant Win32Setup() const;
    // The keys of the selected rows, the primary grid's first; selects the current primary row
    // when neither grid has a selection.
    std::string Win32Key();
    // The data type of the grid with a selection, the primary first; -1 when neither has one.
    int16_t SelectedGridType();

    // --- The update cycle ----------------------------------------------------------------------
    // Runs the query; true when the primary grid shows at least one row.
    bool UpdateViewer(bool p_bReformat = true, bool p_bResetLeftCol = false);
    // Unbinds and hides both grids. Always Empty.
    Variant ClearViewer();
    // Drops the finder results and runs the query again, with p_vLayoutInfo as the layout when
    // given (not Missing).
    void ClearResults(const Variant& p_vLayoutInfo = Variant::Missing());
    void ChangeRunningStatus(const std::string& p_sCaption = "", bool p_bVisible = false);

    // --- Details ---------------------------------------------------------------------------------
    void ShowDetails();
    void ShowStockA();

    // Releases the grids, the strategy and the host's lists, as the control's termination does.
    void Destroy();

    // The search-selection flags and the last-used grid, for the modules that read them.
    bool PrimaryGridUsedLast() const { return m_bPriGridLastUsed; }

    // --- Field customization (viewer_customization.cpp) -----------------------------------------
    // The column-selection dialog over the primary grid's fields, with p_rParameters as the
    // catalogue (ParameterList when null); true when a new choice or the default layout was
    // applied. p_bSave: the applied choice is saved as a layout of the owner.
    bool Customize(const std::shared_ptr<Recordset>& p_rParameters, bool& p_bSave);
    // The field lists offered for a choice: the primary grid's columns, or those of p_layout,
    // then the catalogue's fields the viewer offers. A null catalogue means ParameterList.
    std::shared_ptr<Recordset> CreateFieldRecordset(const std::shared_ptr<Recordset>& p_rParamters);
    std::shared_ptr<Recordset> CreateFieldRSFromLayout(
        const std::shared_ptr<Recordset>& p_rParameters, const LayoutDescription& p_vLayoutInfo);
    void AddFieldToLayout(std::vector<LayoutColumn>& p_vLayoutFields, int32_t p_lParamId,
                          int32_t p_lState, const std::string& p_sFieldName,
                          const std::string& p_sFieldCaption, int32_t p_lTableMask);
    void ReFillParams();

    // --- Navigation (viewer_navigation.cpp) -----------------------------------------------------
    // The page of navigate type p_lNavigateType (0 to 14, Grid::RaiseNavigate) for the selected
    // rows of the grid used last; the secondary grid's with the WatchListId.
    void RaiseNavigate(int32_t p_lNavigateType);

  private:
    // Customize's rebuild of the primary grid's columns from the chosen fields: a new query only
    // when the rows lack a field the layout now shows.
    void ApplyFieldChoice(const LayoutDescription& p_before,
                          const std::shared_ptr<Recordset>& p_rCatalogue, const Variant& p_vChosen);

    class PrimaryControlSink;
    class SecondaryControlSink;
    class PrimaryWrapperSink;
    class SecondaryWrapperSink;

    static const DispatchTable& Table();

    // The strategy's state; error 91 without a strategy.
    std::shared_ptr<ViewerElements> Elements() const;
    std::shared_ptr<ViewerFunctionality> CreateStrategy(int32_t p_eViewerType) const;
    void UserControlResize();
    void Teardown();

    // Each raise returns false when a handler released the control.
    bool RaiseEvent(const std::function<void(ViewerEvents&)>& p_fnEvent);

    std::string GridColumnText(const std::shared_ptr<GridControl>& p_oGrid,
                               const std::string& p_sField) const;

    // The handlers of the grid controls' events (viewer_grid_events.cpp).
    void ClearSelection(GridControl& p_oGrid);
    void PrimaryClick();
    void SecondaryClick();
    void PrimaryMouseMove(int32_t p_lX, int32_t p_lY);
    void PrimaryMouseUp(int16_t p_iButton, int32_t p_lX, int32_t p_lY);
    void PrimaryDblClick();
    void PrimaryKeyDown(int16_t p_iKeyCode, int16_t p_iShift);
    void PrimaryColMove(int16_t p_iPosition);
    // The handlers of the Grid wrappers' events, and the grid menu's commands.
    void PrimaryNavigate(const std::string& p_sAddress);
    void GridMenuClick(int32_t p_lItemId, const std::string& p_sItemTag);

    // The modules below have a file each.
    // --- Layouts (viewer_layouts.cpp) -----------------------------------------------------------
    // Layouts live on the data facade. A load, save, delete or restore ends with LayoutInfo set
    // and the grids showing it; a layout is the user's own when its header's owner is OwnerId,
    // and only then is it saved in place or deleted.
  public:
    // The default layout of a viewer type (-1: ViewerType) and finder type (-1: the one the
    // viewer type implies); both come back as sent to the facade.
    void LoadDefaultLayout(int16_t& p_iViewerType, int16_t& p_iFinderResultsType);
    void LoadDefaultLayout();
    // With p_bFromPrint the sort in use is kept instead of the loaded layout's.
    void LoadLayout(int32_t p_lLayoutId, bool p_bFromPrint = false);
    // Always false, whatever happened; a refused save is told to the user.
    bool SaveLayout(bool p_bSaveAs = false);
    // Asks first; the user's own layouts only.
    void DeleteLayout();
    // p_bUserOnly comes back as the facade left it.
    void RestoreDefaultLayout(bool& p_bUserOnly);
    // Always 0; the menu is left as it is (the grid's context menu lists the layouts).
    int32_t CreateLayoutMenu(std::shared_ptr<DispatchObject>& p_oPopupMenu);
    // A command of the host's menus, forwarded to the grid used last: 1 and 2 on the primary
    // grid (export the selected rows, add to a watch list), 1 on the secondary grid (export all).
    void HandleExMenuClick(int32_t p_lViewerType);
    // Printing runs with this set: it may load a print layout, and saving, restoring and
    // customising then work on the print type, against the layout held from before.
    void SetPrintLayoutMode(bool p_bOn);
    bool PrintLayoutMode() const { return m_bPrintLayoutMode; }

  private:
    // The finder type a layout call sends for the current viewer type.
    int16_t LayoutFinderType() const;
    Variant FetchDefaultLayout(int16_t& p_iViewerType, int16_t& p_iFinderType, int32_t& p_lOwnerId);
    // Puts a layout from the facade into force and shows it; false, after telling the user why,
    // when there is none or it does not parse.
    bool ShowLoadedLayout(const Variant& p_vLayout);
    // ResetLeftColumn of both wrappers, LayoutLoaded (and ChangeSort) and a yield; false when
    // the control was released meanwhile.
    bool AnnounceLayout(int32_t p_lLayoutId, bool p_bSortChanged = false);
    // p_sItemTag: the grid menu's key text of the layout, numeric.
    void LoadLayoutFromMenu(const std::string& p_sItemTag);
    bool m_bPrintLayoutMode = false;
    Variant m_vPrePrintLayout;
    // Field customization (viewer_customization.cpp): with no recordset, saving.
    void Customize();
    // Sorting (viewer_sorting.cpp).
    void SortSecondaryGrid();
    void PrimaryHeadClick(int16_t p_iColIndex);

  public:
    // The sort dialog ("Sort Selection") over p_rParamList (its copy becomes the field catalogue)
    // or, when none is given, the catalogue in use; the chosen fields join the layout and, with
    // p_bRun, the list is fetched again. True only when new sort settings were stored.
    // p_sDeltaField is the dialog's, in and out.
    bool Sort(const std::shared_ptr<Recordset>& p_rParamList = nullptr, bool p_bRun = true,
              std::string* p_sDeltaField = nullptr);

  private:
    // The field a header click falls back to as the second key, by viewer type ("" and 0 when
    // the type has none).
    std::string GetDefaultSortField() const;
    int32_t GetDefaultSortFieldId() const;
    // The two ways a header click sorts on p_sField: the bound rows in place (they are all
    // there), or a new query through the strategy or, for finder results, the host.
    void SortInPlace(Recordset& p_rRows, const std::string& p_sField, int32_t p_lFieldId,
                     int32_t p_lDirection);
    void SortByQuery(int32_t p_lFieldId, int32_t p_lDirection);
    // A header click on a list that sorts only its grid (histories, holdings).
    void SortGrid(const std::string& p_sField);
    // The column last sorted by a header click while no primary sort field was set.
    struct LastHeadSort {
        std::string FieldName;
        int32_t Direction = 0;
    };
    LastHeadSort m_tLastHeadSort;
    std::shared_ptr<DispatchObject> m_dlgSort;
    // Watch lists (viewer_watch_lists.cpp).
    void SelectTop(int32_t p_lCount);
    void PrimaryAddToWatchList();
    void PrimaryDelete(const std::string& p_sKeys);

  public:
    // The rows of the primary grid, as the person chooses them (dlgSelectItem), go to a new
    // watch list (named in dlgAddNew) or to one of p_rlist, the owner's watch lists (fetched
    // when null; a new list is appended to it). p_lWatchlistType: 0 stocks, 1 industry groups;
    // finder results take theirs from FinderResultsType. What cannot be a list (no rows, no
    // keys, too many, a name too long or taken) is told to the person and changes nothing.
    void AddToWatchList(const std::shared_ptr<Recordset>& p_rlist = nullptr,
                        int32_t p_lWatchlistType = 0);
    // The holdings of the primary grid: a table (0..3, holding) of symbol, shares, short and
    // whether the symbol is empty, one holding per symbol and side; Empty without rows.
    Variant PortfolioItems();
    // The trades of the primary grid: a table (0..9, trade) of its nine trade fields and
    // whether it is the current row.
    Variant EditTrade();

  private:
    // The keys of the chosen rows (p_lMode: 0 the current row, 1 the selected rows, 2 all rows,
    // 3 p_lCount rows from the current one) as an array from 0; Null when p_eViewerType's rows
    // have no key field.
    Variant CreateWatchListArray(qv::ViewerType p_eViewerType, int32_t p_lMode, int32_t p_lCount);
    std::shared_ptr<DispatchObject> m_dlgSelectItem;
    std::shared_ptr<DispatchObject> m_dlgAddNew;
    // Asks how many rows to graph together (viewer_printing.cpp).
    void PrimaryMultipleGraphSelect(int16_t& p_iCount, bool& p_bCancel);

    // --- Printing (viewer_printing.cpp) ---------------------------------------------------------
  public:
    // The page setup, then every row of the primary grid printed under its page header; false
    // without a strategy or after a failure.
    bool PrintControl();
    // The print command: the owner's default print layout (unless a search chose the rows), the
    // "Print Options" form, then the rows chosen there printed under the list's report title;
    // the layout in use before comes back at the end. p_bAll is not read.
    void PrintSelected(bool p_bAll = false);
    // The print form's requests: the column choice (Customize), and the page setup, saved to
    // "pagesetup.dat" on OK.
    void frm_SelectColumns();
    void frm_ShowPageSetup();
    // The title printed over the list, by viewer type; "" for a type without one.
    std::string PrintReportTitle() const;

  private:
    // The id of the owner's default print layout for the list shown; 0 when there is none.
    int32_t DefaultPrintLayoutId();
    // Puts back the layout and the finder results held from before a print layout was loaded.
    void RestorePrePrintLayout(const Variant& p_vLayout,
                               const std::shared_ptr<Recordset>& p_rFinder);
    // Prints the rows of print selection p_iSelection (0 all, 1 selected, 2 p_lCount from the
    // current row) under p_sTitle on the primary grid's print settings.
    void PrintChosenRows(int16_t p_iSelection, int32_t p_lCount, const std::string& p_sTitle);

    std::shared_ptr<GridControl> m_olePriGrid;
    std::shared_ptr<GridControl> m_oleSecGrid;
    // The listeners of viewer_sinks.h, held as what they listen for, so that only the file that
    // makes them (the constructor's) needs their classes.
    std::unique_ptr<GridControlEvents> m_oPriControlSink;
    std::unique_ptr<GridControlEvents> m_oSecControlSink;
    std::unique_ptr<GridEvents> m_oPriWrapperSink;
    std::unique_ptr<GridEvents> m_oSecWrapperSink;

    std::shared_ptr<ViewerFunctionality> m_oStrategy;
    std::shared_ptr<Grid> m_oPriGrid;
    std::shared_ptr<Grid> m_oSecGrid;
    // The column-selection dialog handed to both wrappers; held for the field customization.
    std::shared_ptr<DispatchObject> m_dlgColSel;

    std::string m_sTimeCode;
    double m_dPortFolioUpdatedDate = 0;
    std::shared_ptr<Recordset> m_rCompanyList;
    std::shared_ptr<Recordset> m_rSectorList;
    std::shared_ptr<Recordset> m_rIndustryList;

    bool m_bPriGridLastUsed = false;
    bool m_bIgnoreDblClick = false;
    bool m_bSearchSelected = false;
    bool m_bSearchFound = false;

    int32_t m_lWidth = 0;
    int32_t m_lHeight = 0;
    TwipsRect m_rcPriGrid;
    TwipsRect m_rcSecGrid{0, 0, 0, kSecondaryGridHeight};
    TwipsRect m_rcRunning{0, 0, kRunningIndicatorWidth, kRunningIndicatorHeight};

    std::vector<std::weak_ptr<ViewerEvents>> m_sinks;
    std::weak_ptr<DispatchObject> m_oParent;
    // Expires when the control is destroyed, so that code after a raise can tell.
    std::shared_ptr<bool> m_oAlive = std::make_shared<bool>(true);

    // --- Export (viewer_export.cpp) --------------------------------------------------------------
  public:
    // Export type 6 (all rows) or 7 (the selected rows) of the grid the viewer type and the
    // selection (SelectedGridType) choose, through that Grid's Export; "No data to export." when
    // the primary grid is hidden or has no rows. Always false; failures are reported as
    // "Viewer:Export".
    bool Export(int32_t& p_enExportType);

    // --- Search and find (viewer_find.cpp) ------------------------------------------------------
  public:
    // The Find dialog over the list (not for histories and holdings, nor for a list without
    // rows); what the person chose runs when it closes: a find in the rows shown, or a search on
    // the server that replaces them. p_sSymbol is not used.
    void SearchStocks(const std::string& p_sSymbol = "");
    // Selects the row of a symbol (an industry or sector code in those lists), after clearing the
    // selection; false, after saying so, when no row has it. Failures reach the caller.
    bool FindSingleStock(std::string& p_sSymbol);
    // The Find dialog while SearchStocks shows it, else null.
    const std::shared_ptr<frmSearch>& SearchForm() const { return m_frmsearch; }
    // The two search-selection flags: a name list was asked for (or a symbol found), and a symbol
    // was found.
    bool SearchSelected() const { return m_bSearchSelected; }
    bool SearchFound() const { return m_bSearchFound; }
    // The finds in the rows shown (not part of the dispatch interface): the row of a symbol, or
    // of the next company, industry or sector whose name starts with the text; a find repeated
    // before the dialog's text or search type changes goes on from the row found last.
    void FindSymbolInList(const std::string& p_sText);
    void FindCompanyInList(const std::string& p_sText);
    void FindIndustryInList(const std::string& p_sText);
    void FindSectorInList(const std::string& p_sText);

  private:
    class SearchFormSink;
    // A find in the rows shown, by the list's key: symbol, industry or sector.
    void FindInList(const std::string& p_sText);
    // p_bCompany: a company find that finds nothing goes back near where it began.
    void FindNameInList(const char* p_sField, const char* p_sNotFound, const std::string& p_sText,
                        bool p_bCompany);
    // m_rsFind, taken from the primary grid when it is not set or no longer bound there; true when
    // it was already set.
    bool TakeFindRows();
    void ShowFirstSelectedRow();
    void SelectCurrentRowOnly(const Recordset& p_rRows);
    void FilterToList(const std::string& p_sText);
    std::string BuildListFilter(const std::string& p_sText);
    // The server search with the running indicator; the rows found replace the list.
    void SearchServer(const std::string& p_sText);
    // The strategy's search, or for finder results a filter of the host's rows, and the first
    // row then selected alone; false when nothing was found.
    bool SearchRows(const std::string& p_sText);
    void Searchdatabase(const std::string& p_sText);
    // p_lScope: the primary Grid's list scope.
    void ReportNoRecords(const std::string& p_sText, int32_t p_lScope);
    void ReportSymbolsNotFound(const std::string& p_sSymbols,
                               const std::shared_ptr<Recordset>& p_rFound, int32_t p_lScope);
    void m_frmsearch_FindNext(const std::string& p_sText);
    void m_frmsearch_GetLists(const std::string& p_sText);
    void m_frmsearch_SearchChanged();
    void m_frmsearch_ResetSearch();
    void FillListFromGrid(frmSearch& p_oForm);

    std::shared_ptr<frmSearch> m_frmsearch;
    std::shared_ptr<frmSearchEvents> m_oSearchSink;
    std::shared_ptr<Recordset> m_rsFind;
    bool m_bSymbolFound = false;

    // --- The quick test (viewer_quick_test.cpp) -------------------------------------------------
  public:
    // Opens the quick-test page of the rows a person picks in the print options form (in its
    // quick-test mode), or at once of the selected rows when several are; the current row is
    // selected first when none is. Nothing for histories, holdings and lists without rows.
    void ShowQuickTest();

  private:
    void PrimaryQuickTest();
};

#undef QV_DECLARE_FORWARDER

}  // namespace qv
