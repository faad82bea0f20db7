// The host side of the viewer control, without any window: it places a Viewer on the market of a
// MarketSession, turns a ViewerRequest into the control's properties and runs the query. The main
// window and the headless modes both show lists through it.
//
// Finder results come from a built-in screen: the stocks of the request's day whose
// recommendation is Buy, run on the stock list's recordset and handed to the control as results
// of type 0. A portfolio is handed its holdings on the day, read from the portfolio facade.
//
//     ViewerHost host(session);
//     host.Control().AddSink(events);
//     ViewerRequest request;
//     request.m_lViewerType = vt_Industries;
//     host.Show(request);
#pragma once

#include "shell/viewer_request.h"

#include <memory>
#include <string>

namespace qv {

class MarketSession;
class Recordset;
class Viewer;

class ViewerHost {
  public:
    // The criterion of the built-in screen.
    static constexpr const char* kScreenCriterion = "REC = 'B'";

    explicit ViewerHost(const MarketSession& p_oSession);
    ~ViewerHost();
    ViewerHost(const ViewerHost&) = delete;
    ViewerHost& operator=(const ViewerHost&) = delete;

    Viewer& Control() { return *m_oViewer; }
    const std::shared_ptr<Viewer>& ControlPtr() const { return m_oViewer; }
    const MarketSession& Session() const { return m_oSession; }

    // Sets the control's type and properties for the request and runs the query; true when the
    // primary grid shows rows. An unknown viewer type is the control's error 911.
    bool Show(const ViewerRequest& p_oRequest);
    // The request last shown, with its day and history subject filled in.
    const ViewerRequest& Request() const { return m_oRequest; }

    // The caption of the list shown: the type caption and the other caption, as one line.
    std::string Caption() const;

    // The stocks of a day (0: the latest) as the stock list shows them, every row.
    std::shared_ptr<Recordset> StockRows(int32_t p_lDate) const;
    // The holdings of one of the owner's portfolios on a day (0: the latest).
    std::shared_ptr<Recordset> HoldingRows(int32_t p_lPortfolioId, int32_t p_lDate) const;
    // The rows of the built-in screen on a day.
    std::shared_ptr<Recordset> ScreenRows(int32_t p_lDate) const;

  private:
    ViewerRequest Completed(const ViewerRequest& p_oRequest) const;
    void ApplyScope(const ViewerRequest& p_oRequest);
    void ApplyHistory(const ViewerRequest& p_oRequest);

    const MarketSession& m_oSession;
    std::shared_ptr<Viewer> m_oViewer;
    ViewerRequest m_oRequest;
};

}  // namespace qv
