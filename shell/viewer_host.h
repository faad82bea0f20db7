// The host side of the viewer control, without any window: it places a Viewer on the market of a
// MarketSession, turns a ViewerRequest into the control's properties and runs the query. The main
// window and the headless modes both show lists through it.
//
// Finder results come from a built-in screen: the stocks of the request's day whose
// recommendation is Buy, with the fields of the finder layout, handed to the control as results
// of type 0. A portfolio is handed its holdings on the day, read from the portfolio facade.
//
// A request is checked against the market before anything is shown: a stock, industry group,
// sector, watch list or portfolio it does not hold, or a day outside its data, is a RequestError;
// so is a stock watch list on the industry list, while an industry watch list on the stock list
// shows no stocks and says so in a note.
// A day without trading shows the trading day before it, and a history asked for with a row
// limit (0 for every row) reaches back to the market's first day rather than 90 days.
//
//     ViewerHost host(session);
//     host.Control().AddSink(events);
//     ViewerRequest request;
//     request.m_lViewerType = vt_Industries;
//     host.Show(request);
#pragma once

#include "outside/variant.h"
#include "shell/viewer_request.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

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
    explicit ViewerHost(const MarketSession& p_oSession);
    ~ViewerHost();
    ViewerHost(const ViewerHost&) = delete;
    ViewerHost& operator=(const ViewerHost&) = delete;

    Viewer& Control() { return *m_oViewer; }
    const std::shared_ptr<Viewer>& ControlPtr() const { return m_oViewer; }
    const MarketSession& Session() const { return m_oSession; }

    // Sets the control's type and properties for the request and runs the query; true when the
    // primary grid shows rows. A request the market cannot answer is a RequestError and changes
    // nothing; an unknown viewer type is the control's error 911.
    bool Show(const ViewerRequest& p_oRequest);
    // False until a request got as far as the control: before that the control has no list kind,
    // and nothing of it (captions, grids) can be read.
    bool HasList() const { return m_bHasList; }
    // The request last shown, with its trading day and history subject filled in.
    const ViewerRequest& Request() const { return m_oRequest; }
    // How the list last shown differs from what was asked, a sentence each: the trading day
    // shown for a day without trading, a row limit that may have left rows out, shown columns
    // the market has no values for.
    const std::vector<std::string>& Notes() const { return m_aNotes; }

    // The caption of the list shown: the type caption and the other caption, as one line, a
    // stock history's with the stock's symbol and name.
    std::string Caption() const;

    // The stocks of a day (0: the latest) as the stock list shows them, every row.
    std::shared_ptr<Recordset> StockRows(int32_t p_lDate) const;
    // The holdings of one of the owner's portfolios on a day (0: the latest).
    std::shared_ptr<Recordset> HoldingRows(int32_t p_lPortfolioId, int32_t p_lDate) const;
    // The rows of the built-in screen on a day, at most p_lMaxRows of them (0 or less: all).
    std::shared_ptr<Recordset> ScreenRows(int32_t p_lDate, int32_t p_lMaxRows = 0) const;

  private:
    ViewerRequest Completed(const ViewerRequest& p_oRequest,
                            std::vector<std::string>& p_aNotes) const;
    int32_t TradingDayOf(int32_t p_lDate, std::vector<std::string>& p_aNotes) const;
    void CheckNames(const ViewerRequest& p_oRequest, std::vector<std::string>& p_aNotes) const;
    void ApplyScope(const ViewerRequest& p_oRequest);
    void ApplyHistory(const ViewerRequest& p_oRequest);
    // The row limit the list shown was cut to; 0 for none.
    int32_t RowLimitInForce() const;
    void NameSortFields();
    void NoteResult(std::vector<std::string>& p_aNotes) const;
    // The layout in use goes with its kind of list: kept when another list replaces it, put
    // back when a list of that kind is shown again; the first list of a kind shows the owner's
    // own default layout, where the owner has one.
    static int32_t LayoutKind(const ViewerRequest& p_oRequest);
    void KeepLayout();
    void TakeLayout(const ViewerRequest& p_oRequest);
    Variant OwnDefaultLayout(const ViewerRequest& p_oRequest) const;

    const MarketSession& m_oSession;
    std::shared_ptr<Viewer> m_oViewer;
    ViewerRequest m_oRequest;
    bool m_bHasList = false;
    std::vector<std::string> m_aNotes;
    std::map<int32_t, Variant> m_layouts;
};

}  // namespace qv
