#include "shell/chart_pages.h"

#include "shell/chart_page.h"
#include "shell/dividends_page.h"
#include "shell/quick_test_page.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qv {

QWidget* NewChartFamilyPage(const PageRequest& p_oPage) {
    switch (p_oPage.m_eKind) {
        case PageKind::StockGraph:
        case PageKind::IndustryGraph:
        case PageKind::SectorGraph:
            return new ChartPage(p_oPage);
        case PageKind::WatchListGraph:
            return NewWatchListGraphPage(p_oPage);
        case PageKind::QuickTest:
            return new QuickTestPage(p_oPage);
        case PageKind::Dividends:
            return new DividendsPage(p_oPage);
        default:
            return nullptr;
    }
}

QWidget* NewWatchListGraphPage(const PageRequest& p_oPage) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(NewPageHeading(QString::fromStdString(PageKindName(p_oPage.m_eKind)), page));
    layout->addWidget(NewPageLine(
        QStringLiteral("The average graph of watch list %1 is not available: its address names "
                       "the watch list, not the stocks or groups to average. A graph of a stock "
                       "or a group of the list opens from its row's menu.")
            .arg(p_oPage.m_lWatchListId),
        page));
    layout->addStretch();
    return page;
}

QLabel* NewPageHeading(const QString& p_sText, QWidget* p_pParent) {
    QLabel* label = NewPageLine(p_sText, p_pParent);
    label->setObjectName(QStringLiteral("pageHeading"));
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    label->setFont(font);
    return label;
}

QLabel* NewPageLine(const QString& p_sText, QWidget* p_pParent) {
    auto* label = new QLabel(p_sText, p_pParent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QTableWidget* NewPageTable(const QStringList& p_header, int p_iRows, QWidget* p_pParent) {
    auto* table = new QTableWidget(p_iRows, static_cast<int>(p_header.size()), p_pParent);
    table->setHorizontalHeaderLabels(p_header);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    return table;
}

}  // namespace qv
