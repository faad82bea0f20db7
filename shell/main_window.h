// The main window of qorvant-viewer: a host of the viewer control.
//
// A menu bar: File (import market data from a folder, connect to a facade server or go back to
// the embedded store, log in again, export the list to CSV, print, print preview, page setup,
// quit), View (the kind of list,
// the day and the scope, as the controls below choose them, with keys) and Help (the keyboard
// shortcuts, and about: the version, the data and the database).
//
// Along the top, what to show: the kind of list, its day, its scope (an industry group, a sector,
// a watch list or a portfolio of the owner), the stock of a stock history and the row limit.
// Changing any of them sets the control's properties and runs its query (ViewerHost); a history
// chosen with no stock, industry group or sector named is that of the list's current row. Below,
// the list's caption (ViewerTypeCaption and ViewerOtherCaption), the host's notes on the list (the
// trading day shown for a day without trading, the day box then showing that day; a row limit
// reached; columns without values), the control's surface with its two grids, and a status bar
// with the sort in the columns' captions (SortCaption) and BSHCaption. While the market is the
// generated sample, a bar above the grid says how to import real data until it is dismissed; a
// portfolio's totals show in a strip under it (TotalsFooter); a list without rows says why.
//
// The window is the host framework of the control (WindowFrame): a person's command takes one
// path, widget -> frame -> control master (CControlMaster) -> control. The kinds of list along
// the top start their list through the master (ViewerHost::Show); the keys Ctrl+A, D, E, F, G, H,
// L, P, Q and W released in the list go to the master's KeyReleased; the toolbar's buttons
// ("WatchLists", "Find", "Portfolio", and those the master adds) to its HandleToolBarClick; the
// control's events, the helper strip's and the side panels' to its HandleEvents, but for the
// control's "Navigate", whose address goes to the navigator and on to the page router
// (PageRouter): a list page (the stocks of an industry group or a sector, the industry groups of
// a sector, a history) shows that list, every other page opens in the page area, docked beside
// the list (View > Pages brings it back). Every event is kept in the event log, never dropped.
// Opening a watch list or a portfolio in its panel starts that list when the list shown cannot take
// it. A right click on a row opens the grid's context menu, as the Menu key and Shift+F10 do for
// the current row, and Enter is the row's double click (WindowContextMenu). A handler that runs the
// control again does so once the event is over. Every failure the control or the master reports (a
// command not built yet, or a query that failed) is shown in the status bar too: nothing a person
// presses is silent. Delete with no row selected, which the control passes over, says how to select
// them.
//
// The store in use is named in the status bar for good ("Embedded store: <file>" or "Server
// <address> as <name>"). On a server, what needs the market file (importing market data) is
// disabled and says why. When another login of the owner takes the session over, the owner's
// calls are refused (each failure shown) and a list query reports the conflict: the control
// disables its container, and the window the list, until File > Log in again… (on a server, the
// connect dialog: the password is needed).
//
// A finder list shows the rows of a screen: the one chosen in the Screens side panel (its
// editor builds and saves screens), kept when the day, the row limit or the kind of list changes,
// and "Rated Buy" until one is chosen. A screen without rows says why in the status bar.
#pragma once

#include "shell/viewer_request.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QDateEdit;
class QDockWidget;
class QMenu;
class QSettings;
class QLabel;
class QLineEdit;

namespace qv {

class ConnectDialog;
class ErrorReporter;
struct ServerLogin;
class MarketSession;
class PageArea;
class PageRouter;
struct PageRequest;
class TotalsFooter;
class Variant;
struct ErrorReport;
class Viewer;
class ViewerHost;
class ViewerSurface;
class PortfolioPanel;
class ScreensPanel;
struct Trade;
class WatchListPanel;
class WindowFrame;

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // The platform services installed in the current context take the surface as their host.
    explicit MainWindow(MarketSession& p_oSession, QWidget* p_pParent = nullptr);
    ~MainWindow() override;

    ViewerHost& Host() const { return *m_oHost; }
    // The host framework the control master drives.
    WindowFrame& Frame() const { return *m_pFrame; }
    ViewerSurface& Surface() const { return *m_pSurface; }
    // The pages the navigator opens (window_pages.cpp), and the area that shows them.
    PageRouter& Pages() const { return *m_oPages; }
    PageArea& PageView() const { return *m_pPageArea; }

    // Sets the controls to the request and shows its list; false when the list has no rows or
    // the control refused the request (the reason is in the status bar).
    bool ShowList(const ViewerRequest& p_oRequest);
    // The request the controls describe.
    ViewerRequest RequestFromControls() const;
    // From now on the window keeps its size, place, list kind and scope between runs, in the
    // per-user settings (WindowSettings): restores what was kept and returns the list it showed
    // (on the latest day); what is missing, damaged or no longer in the market is the default.
    // The window keeps them when it closes, with the split between the grids and the column
    // widths of each kind of list (read before each list is shown and given back after it, as
    // the control lays the columns out afresh), and whether the person dismissed the import hint.
    ViewerRequest RememberState();
    // Imports the market data of p_sFolder behind a progress dialog (MarketImport) and, when it
    // imported, shows the lists of the new data; true when it imported. The outcome is in the
    // status bar.
    bool ImportMarketData(const QString& p_sFolder);
    // File > Connect to server… (window_store.cpp): the connect dialog, and the store it chose
    // taken into use, the lists shown read again from it.
    void ChooseStore();
    // A login made in the connect dialog: the address becomes the "RemoteServer" setting and,
    // while the window keeps its state, the name is kept for the next time.
    void RememberLogin(const ServerLogin& p_oLogin);
    // The status bar's label of the store in use.
    QString StoreText() const;
    // Shows p_sMessage in the status bar until the next one.
    void ShowMessage(const QString& p_sMessage);

    // Each event the control raised, as "Name(arg, ...)", oldest first.
    const std::vector<std::string>& EventLog() const { return m_eventLog; }
    QString CaptionText() const;
    // The host's notes on the list shown, one a line.
    QString NotesText() const;
    QString StatusText() const;
    // True while the hint on importing real data is on show.
    bool ImportHintShown() const;
    QString TotalsText() const;
    // The message the status bar shows for events and failures, kept until the next one.
    const QString& LastMessage() const { return m_sLastMessage; }
    // The Watch lists side panel (window_watch_lists.cpp), a support control of the frame.
    WatchListPanel& WatchLists() const { return *m_pWatchLists; }
    ScreensPanel& Screens() const { return *m_pScreens; }

  protected:
    void closeEvent(QCloseEvent* p_pEvent) override;
    void keyPressEvent(QKeyEvent* p_pEvent) override;
    bool eventFilter(QObject* p_pWatched, QEvent* p_pEvent) override;

  private:
    void BuildControls();
    void BuildMenus();
    void AddDayMenu(QMenu& p_oView);
    // A submenu of checkable actions, one for each choice of p_oCombo, that choose it.
    void AddChoiceMenu(QMenu& p_oMenu, const QString& p_sTitle, QComboBox& p_oCombo,
                       bool p_bNumbered);
    void SyncMenus();
    // Shows the list on p_lDay, or says p_sWhyNot when the list shows that day already.
    void GoToDay(int32_t p_lDay, const QString& p_sWhyNot);
    // The trading day before or after p_lDay; p_lDay itself at the market's first or last day.
    int32_t PreviousTradingDay(int32_t p_lDay) const;
    int32_t NextTradingDay(int32_t p_lDay) const;
    void ExportList();
    // The sort dialog on the current list.
    void SortList();
    // The host's part of a header click on a partial finder list.
    void RunSearchAgain();
    void ChooseImportFolder();
    // File > Print…, Print Preview… and Page Setup… (window_print.cpp): the control's print
    // command and its page setup, the preview by the printer service's preview.
    void AddPrintActions(QMenu& p_oFile);
    void PrintList(bool p_bPreview);
    void ShowPageSetup();
    void BuildHint(QWidget& p_oParent);
    void DismissHint();
    void ShowEmptyReason();
    // The column widths and split of the kind of list shown, kept for when it is shown again.
    void KeepLayout();
    void ApplyLayout();
    void SaveLayouts(QSettings& p_oSettings) const;
    void LoadLayouts(QSettings& p_oSettings);
    void FillChoiceMenu(QMenu& p_oMenu, QActionGroup& p_oGroup, QComboBox& p_oCombo,
                        bool p_bNumbered);
    // After an import: the scopes and their menus from the new market.
    void RefillScopes();
    void ShowAbout();
    void FillScopes();
    void SetControls(const ViewerRequest& p_oRequest);
    void ShowFirstList();
    void ApplyControls();
    // A history chosen without its subject is the history of the current row of the list shown.
    void TakeHistorySubject(ViewerRequest& p_oRequest) const;
    void ShowCaptions();
    // The window's log and status of each event the control raises.
    void OnViewerEvent(std::string_view p_sEvent, std::span<Variant> p_args);
    // A page the master or the control navigates to.
    void OpenPage(const std::string& p_sAddress);
    // The page area in its dock, with its entry in p_oView (window_pages.cpp).
    void BuildPages();
    void AddPagesAction(QMenu& p_oView);
    void ShowPageDock();
    // A list page: the list it names, once the event that opened it is over.
    void ShowListPage(const PageRequest& p_oPage);
    // After the master handled an event: the window shows what the control now shows.
    void AfterEvent(const std::string& p_sName);
    // A watch list or portfolio chosen in its panel that the list shown cannot take starts its
    // own list; true when it did.
    bool OnPanelEvent(const std::string& p_sName, const std::vector<Variant>& p_params);
    void ShowReport(const ErrorReport& p_oReport);
    // The Layout menu (main_window_layouts.cpp): filled afresh each time it opens.
    void BuildLayoutMenu();
    void FillLayoutMenu(QMenu& p_oMenu);
    void SaveLayoutAs();
    // Runs a layout command of the control and shows the grids it leaves.
    void RunLayoutCommand(const std::function<void(Viewer&)>& p_fnCommand);
    // The side panels (window_watch_lists.cpp) and their entries in p_oView, showing a watch
    // list, the command on the rows shown, and the window's part after a new watch list.
    void BuildWatchListPanel(QMenu& p_oView);
    void ShowWatchList(int32_t p_lWatchListId, int32_t p_lKind);
    void AddRowsToWatchList();
    void SyncWatchListPanel();
    void OnWatchListAdded();
    // The portfolio commands (window_portfolios.cpp): the Portfolios panel, the trades, the
    // editor from a holding or a stock row, trade files, and a holding's details page.
    PortfolioPanel* NewPortfolioPanel();
    void BuildPortfolioActions(QMenu& p_oFile);
    void OnPortfoliosChanged(int32_t p_lNewPortfolioId);
    // The portfolio shown, else the one in the Portfolio box; 0 (and said) for none.
    int32_t ChosenPortfolio();
    void RefreshHoldings();
    void OpenTrades(int32_t p_lPortfolioId);
    void RunTradeEditor(int32_t p_lPortfolioId, const Trade& p_oTrade);
    void EditCurrentTrade();
    void BuyCurrentStock();
    void ImportTradesFile();
    void ExportTradesFile();
    // The details of the holding of the current row of the portfolio list shown.
    QWidget* NewInvestmentDetailsPage();
    // The Screens side panel (window_screens.cpp): its entries in p_oView and the toolbar, the
    // finder list of a screen it runs, and the panel kept on the day and screen shown.
    void BuildScreensPanel(QMenu& p_oView);
    void ShowScreensPanel();
    void RunScreen(const std::vector<Variant>& p_params);
    void SyncScreensPanel();
    // The store commands (window_store.cpp): their menu entries and the store label, the
    // outcome of a connect dialog, the store taken into use, and a login taken over.
    void BuildStoreActions(QMenu& p_oFile);
    void RunConnectDialog(ConnectDialog& p_oDialog);
    void ApplyStore();
    void SyncStoreCommands();
    void OnLoginTakenOver();
    void LogInAgain();
    WatchListPanel* m_pWatchLists = nullptr;
    ScreensPanel* m_pScreens = nullptr;
    PageArea* m_pPageArea = nullptr;
    QDockWidget* m_pPageDock = nullptr;
    std::unique_ptr<PageRouter> m_oPages;

    MarketSession& m_oSession;
    ErrorReporter& m_oReporter;
    WindowFrame* m_pFrame;
    std::unique_ptr<ViewerHost> m_oHost;
    ViewerSurface* m_pSurface = nullptr;
    QComboBox* m_pType = nullptr;
    QDateEdit* m_pDate = nullptr;
    QComboBox* m_pIndustry = nullptr;
    QComboBox* m_pSector = nullptr;
    QComboBox* m_pWatchList = nullptr;
    QComboBox* m_pPortfolio = nullptr;
    QLineEdit* m_pSymbol = nullptr;
    QComboBox* m_pRows = nullptr;
    // The day and rows boxes with their labels, hidden while the helper strip or the history
    // helper shows its own.
    std::vector<QWidget*> m_dayTwins;
    std::vector<QWidget*> m_rowsTwins;
    QLabel* m_pCaption = nullptr;
    QLabel* m_pNotes = nullptr;
    QLabel* m_pSort = nullptr;
    QLabel* m_pBsh = nullptr;
    QLabel* m_pStore = nullptr;
    QAction* m_pImport = nullptr;
    QWidget* m_pHint = nullptr;
    TotalsFooter* m_pTotals = nullptr;
    // Per kind of list: the column widths ("Field=twips" by data field) and the lower grid's
    // height.
    std::map<int32_t, QString> m_columnWidths;
    std::map<int32_t, int> m_splits;
    int32_t m_lShownType = -1;
    QString m_sFailure;
    std::vector<std::pair<QComboBox*, QActionGroup*>> m_choiceMenus;
    std::vector<std::string> m_eventLog;
    QString m_sLastMessage;
    bool m_bApplying = false;
    bool m_bRemembering = false;
};

// The per-user settings file of the window (an INI file in the user's config folder, or where
// QSettings::setPath puts the user scope of the INI format).
std::unique_ptr<QSettings> WindowSettings();

}  // namespace qv
