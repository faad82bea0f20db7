// The shell's page router: every page address the viewer or the control master raises opens
// inside the window.
//
// A list page (stocks in an industry group or a sector, industry groups in a sector, and the
// three histories) shows that list in the window's grids; every other page opens in the page
// area, which keeps them in a history with back and forward. An address that names no page, or
// not all its page needs, opens a page that says what is wrong; a page not built yet says so and
// what it would show; the news page says where the news would come from. None is blank or silent.
//
// The news and dividend templates and the web server are read from the per-user settings at
// each address, so a changed setting counts at once: "NewsURL" and "DividendUrl" (application
// "Olmaris60", section "SharedServices"), and "WebServer" (section "Settings", beside
// "RemoteServer"), against which "Open in browser" resolves a relative address.
//
//     PageRouter router(area, [&](const PageRequest& list) { ShowList(list); });
//     router.Open("pagecontroller.aspx?pagetype=37&symbol=QA&date=12/4/2026");
//     router.Back();
#pragma once

#include "shell/page_address.h"
#include "shell/viewer_request.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace qv {

class PageArea;

// The list a list page names, keeping the day and row limit of p_oShown unless the address
// names a day; nothing for the other pages. A page of several codes shows the list of the first.
std::optional<ViewerRequest> ListOfPage(const PageRequest& p_oPage, const ViewerRequest& p_oShown);

class PageRouter {
  public:
    using ListFn = std::function<void(const PageRequest& p_oPage)>;
    // The page built for p_oPage, or nullptr where none is built (the page then says so).
    using BuildFn = std::function<QWidget*(const PageRequest& p_oPage)>;

    PageRouter(PageArea& p_oArea, ListFn p_fnShowList);

    void SetPageBuilder(BuildFn p_fnBuild) { m_fnBuild = std::move(p_fnBuild); }
    // After the area shows a page (the window brings the area into view).
    void SetOnPageShown(std::function<void()> p_fnShown) { m_fnShown = std::move(p_fnShown); }

    void Open(const std::string& p_sAddress);
    void Back();
    void Forward();
    bool CanGoBack() const { return m_lCurrent > 0; }
    bool CanGoForward() const { return m_lCurrent + 1 < m_history.size(); }

  private:
    void ShowCurrent();
    QWidget* NewPageFor(const std::string& p_sAddress, const PageParse& p_oParsed) const;

    PageArea& m_oArea;
    ListFn m_fnShowList;
    BuildFn m_fnBuild;
    std::function<void()> m_fnShown;
    // The pages opened in the area, oldest first; m_lCurrent is the one on show.
    std::vector<std::string> m_history;
    size_t m_lCurrent = 0;
};

}  // namespace qv
