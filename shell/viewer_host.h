// The host side of the viewer control: it places a Viewer on the market of a MarketSession in a
// host framework (HostFrame: headless unless a window gives its own) and shows a ViewerRequest
// through the control master: the request becomes a start-up array (StartupArray) and the master
// sets the control's properties and runs the query. The main window and the headless modes both
// show lists through it.
//
// What the start-up array cannot carry is handed to the control just before the start-up's first
// query (HostFrame's pending extras): a history's last day, the finder's rows, a portfolio's
// holdings and name, a second scope code, the programs mask where the array ends at a portfolio,
// the row limit asked of a watch list and the layout kept for the kind of list. A watch list is a
// watch-list-mode start-up whose list the watch-list panel holds as current; a portfolio scope
// is one in which the portfolio panel chooses the portfolio ("ITEMSELECTED").
//
// Finder results come from the request's screen (shell/screen_calls.h), run by the facade on the
// request's day within its row limit and handed to the control as results of the screen's kind,
// under the screen's name. A request that names no screen shows the shipped "Rated Buy"; one
// whose criteria do not parse is the facade's error and changes nothing, as a screen name the
// owner has no screen of is a RequestError. A portfolio is handed its holdings on the day, read
// from the portfolio facade.
//
// A request is checked against the market before anything is shown: a stock, industry group,
// sector, watch list or portfolio it does not hold, or a day outside its data, is a RequestError;
// so is a stock watch list on the industry list, while an industry watch list on the stock list
// shows no stocks and says so in a note.
// A day without trading shows the trading day before it, and a history asked for with a row
// limit (0 for every row) reaches back to the market's first day rather than 90 days.
//
//     ViewerHost host(session);
//     host.Frame().SetOnControlEvent(log);
//     ViewerRequest request;
//     request.m_lViewerType = vt_Industries;
//     host.Show(request);
#pragma once

#include "outside/variant.h"
#include "shell/host_frame.h"
#include "shell/viewer_request.h"

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

class DispatchObject;
class MarketSession;
class Recordset;
class Viewer;

// A request the market cannot answer; the message names what was not found.
class RequestError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class ViewerHost {
  public:
    // Without a frame, the host makes a headless one.
    explicit ViewerHost(const MarketSession& p_oSession,
                        std::unique_ptr<HostFrame> p_oFrame = nullptr);
    ~ViewerHost();
    ViewerHost(const ViewerHost&) = delete;
    ViewerHost& operator=(const ViewerHost&) = delete;

    Viewer& Control() { return *m_oViewer; }
    const std::shared_ptr<Viewer>& ControlPtr() const { return m_oViewer; }
    const MarketSession& Session() const { return m_oSession; }
    HostFrame& Frame() const { return *m_oFrame; }

    // Starts the request's list through the control master; true when the primary grid shows
    // rows. A request the market cannot answer is a RequestError and changes nothing; an unknown
    // viewer type is the control's error 911. What the master reports goes to the error reporter.
    bool Show(const ViewerRequest& p_oRequest);
    // After the master changed the list in an event (a watch list or portfolio chosen in its
    // panel, a new day or row limit from the helper strip): the request is what the control now
    // shows.
    void FollowControl();
    // False until a request got as far as the control: before that the control has no list kind,
    // and nothing of it (captions, grids) can be read.
    bool HasList() const { return m_bHasList; }
    // The request last shown, with its trading day and history subject filled in.
    const ViewerRequest& Request() const { return m_oRequest; }
    // How the list last shown differs from what was asked, a sentence each: the trading day
    // shown for a day without trading, a row limit that may have left rows out, shown columns
    // the market has no values for.
    const std::vector<std::string>& Notes() const { return m_aNotes; }
    // Why the finder list last shown has no rows (one of the notes); empty when it has rows or
    // is no finder list.
    const std::string& NoRowsNote() const { return m_sNoRowsNote; }

    // The control tells its container "disable" when a newer login of the owner elsewhere has
    // taken the session over (the list query reports the conflict): p_fnTakenOver runs then, and
    // LoginTakenOver is true until the next list is shown.
    void SetOnLoginTakenOver(std::function<void()> p_fnTakenOver);
    bool LoginTakenOver() const { return m_bTakenOver; }

    // The caption of the list shown: the type caption and the other caption, as one line, a
    // stock history's with the stock's symbol and name.
    std::string Caption() const;

    // The stocks of a day (0: the latest) as the stock list shows them, every row.
    std::shared_ptr<Recordset> StockRows(int32_t p_lDate) const;
    // The holdings of one of the owner's portfolios on a day (0: the latest).
    std::shared_ptr<Recordset> HoldingRows(int32_t p_lPortfolioId, int32_t p_lDate) const;
    // The rows of the request's screen (criteria given) on its day, within its row limit.
    std::shared_ptr<Recordset> ScreenRows(const ViewerRequest& p_oRequest) const;

  private:
    ViewerRequest Completed(const ViewerRequest& p_oRequest,
                            std::vector<std::string>& p_aNotes) const;
    int32_t TradingDayOf(int32_t p_lDate, std::vector<std::string>& p_aNotes) const;
    // A portfolio asked for by name becomes its id; an unknown name lists the owner's.
    void FindPortfolio(ViewerRequest& p_oRequest) const;
    void CheckNames(const ViewerRequest& p_oRequest, std::vector<std::string>& p_aNotes) const;
    // The criteria, name and kind of the request's screen.
    void CompleteScreen(ViewerRequest& p_oRequest) const;
    // Why a screen found no rows: "No stock meets RS >= 99 on 12/4/2026".
    std::string NoRowsReason(const ViewerRequest& p_oRequest) const;
    // What the start-up array cannot carry, just before the first query.
    void ApplyExtras(const ViewerRequest& p_oRequest);
    void ApplyScope(const ViewerRequest& p_oRequest);
    // The row limit the list shown was cut to; 0 for none.
    int32_t RowLimitInForce() const;
    void NameSortFields();
    void NoteResult(std::vector<std::string>& p_aNotes);
    // The layout in use goes with its kind of list: kept when another list replaces it, put
    // back when a list of that kind is shown again; the first list of a kind shows the owner's
    // own default layout, where the owner has one.
    static int32_t LayoutKind(const ViewerRequest& p_oRequest);
    void KeepLayout();
    void TakeLayout(const ViewerRequest& p_oRequest);
    Variant OwnDefaultLayout(const ViewerRequest& p_oRequest) const;

    const MarketSession& m_oSession;
    std::shared_ptr<Viewer> m_oViewer;
    // The control holds its container weakly: the host keeps it.
    std::shared_ptr<DispatchObject> m_oContainer;
    std::function<void()> m_fnTakenOver;
    bool m_bTakenOver = false;
    ViewerRequest m_oRequest;
    bool m_bHasList = false;
    std::vector<std::string> m_aNotes;
    std::string m_sNoRowsNote;
    // A finder list's rows, run before the list starts, for the control to take.
    std::shared_ptr<Recordset> m_oScreenRows;
    std::map<int32_t, Variant> m_layouts;
    // After the control: the frame lets go of the control's events first.
    std::unique_ptr<HostFrame> m_oFrame;
};

}  // namespace qv
