// The pages drawn from the pages component ("QorvantOnlineFacade.PagesFNTr"): the details of a
// stock, of an industry group and its stocks, of a business sector and its industry groups, the
// analysis of a stock beside its industry group and sector. Each is a heading, the figures as
// labelled lines, and a table where the page has rows. (The quick test and the dividends are the
// chart family's: chart_pages.h.)
//
// The figures are the facade's; the page only lays them out. What the facade refuses (an unknown
// symbol, a day outside the data) becomes a page that says so, never a blank one.
//
//     router.SetPageBuilder(NewFacadePage);
#pragma once

class QWidget;

namespace qv {

struct PageRequest;

// The page of p_oPage, or nullptr for the kinds the facade does not draw here.
QWidget* NewFacadePage(const PageRequest& p_oPage);

}  // namespace qv
