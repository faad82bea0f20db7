// The pages of the chart family: the graphs (page types 10, 11, 12 and the watch list's 17), the
// quick test and the dividends, each drawn from the pages component. The page router asks for
// them by their request.
//
//     router.SetPageBuilder(NewChartFamilyPage);
#pragma once

#include "shell/page_address.h"

#include <QString>

class QLabel;
class QTableWidget;
class QVBoxLayout;
class QWidget;

namespace qv {

// The page of p_oPage, or nullptr for a page of another family.
QWidget* NewChartFamilyPage(const PageRequest& p_oPage);

// The watch list's average graph: the address names the watch list, not its codes, so it says
// that it is not available.
QWidget* NewWatchListGraphPage(const PageRequest& p_oPage);

// A page's bold heading, and a selectable line of text; the parts the family's pages share.
QLabel* NewPageHeading(const QString& p_sText, QWidget* p_pParent);
QLabel* NewPageLine(const QString& p_sText, QWidget* p_pParent);

// A read-only table of p_header columns; its rows are the caller's.
QTableWidget* NewPageTable(const QStringList& p_header, int p_iRows, QWidget* p_pParent);

}  // namespace qv
