// The pages of the chart family: the graphs (page types 10, 11, 12), the
// quick test and the dividends, each drawn from the pages component. The page router asks for
// them by their request.
//
//     router.SetPageBuilder(NewChartFamilyPage);
#pragma once

#include "shell/page_address.h"

#include <QString>

class QTableWidget;
class QWidget;

namespace qv {

// The page of p_oPage, or nullptr for a page of another family (the watch list's average graph
// is not built yet: the router says so, as for every such page).
QWidget* NewChartFamilyPage(const PageRequest& p_oPage);

// A read-only table of p_header columns; its rows are the caller's.
QTableWidget* NewPageTable(const QStringList& p_header, int p_iRows, QWidget* p_pParent);

}  // namespace qv
