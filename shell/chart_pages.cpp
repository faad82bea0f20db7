#include "shell/chart_pages.h"

#include "shell/chart_page.h"
#include "shell/dividends_page.h"
#include "shell/option_price_page.h"
#include "shell/page_views.h"
#include "shell/quick_test_page.h"
#include "shell/watch_list_graph_page.h"

#include <QHeaderView>
#include <QTableWidget>

namespace qv {

QWidget* NewChartFamilyPage(const PageRequest& p_oPage, int32_t p_lOwnerId, int32_t p_lLastDay) {
    switch (p_oPage.m_eKind) {
        case PageKind::StockGraph:
        case PageKind::IndustryGraph:
        case PageKind::SectorGraph:
            return new ChartPage(p_oPage);
        case PageKind::QuickTest:
            return new QuickTestPage(p_oPage);
        case PageKind::Dividends:
            return new DividendsPage(p_oPage);
        case PageKind::WatchListGraph:
            return new WatchListGraphPage(p_oPage, p_lOwnerId, p_lLastDay);
        case PageKind::OptionPrice:
            return new OptionPricePage(p_oPage);
        default:
            return nullptr;
    }
}

QTableWidget* NewPageTable(const QStringList& p_header, int p_iRows, QWidget* p_pParent) {
    auto* table = new QTableWidget(p_iRows, static_cast<int>(p_header.size()), p_pParent);
    table->setHorizontalHeaderLabels(p_header);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    return table;
}

}  // namespace qv
