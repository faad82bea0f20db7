// The pages of the chart family: the graphs (page types 10, 11, 12), the watch list's average
// graph (17), the option price (26), the quick test and the dividends, each drawn from the pages
// component. The page router asks for them by their request; the watch list's graph reads the
// list of p_lOwnerId and ends on p_lLastDay when its address names no day.
//
//     router.SetPageBuilder([&](const PageRequest& page) {
//         return NewChartFamilyPage(page, session.OwnerId(), session.LastDay()); });
#pragma once

#include "shell/page_address.h"

#include <QString>

#include <cstdint>

class QTableWidget;
class QWidget;

namespace qv {

// The page of p_oPage, or nullptr for a page of another family.
QWidget* NewChartFamilyPage(const PageRequest& p_oPage, int32_t p_lOwnerId, int32_t p_lLastDay);

// A read-only table of p_header columns; its rows are the caller's.
QTableWidget* NewPageTable(const QStringList& p_header, int p_iRows, QWidget* p_pParent);

}  // namespace qv
