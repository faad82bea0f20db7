#include "shell/dividends_page.h"

#include "outside/automation_error.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "shell/chart_pages.h"
#include "shell/chart_parts.h"
#include "shell/chart_series.h"
#include "shell/page_views.h"

#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace qv {

namespace call = facade_protocol::dividends;

namespace {

QTableWidget* NewDividendsTable(Recordset& p_oRows, QWidget* p_pParent) {
    QTableWidget* table = NewPageTable({QStringLiteral("Symbol"), QStringLiteral("Ex-date"),
                                        QStringLiteral("Amount"), QStringLiteral("Kind")},
                                       p_oRows.RecordCount(), p_pParent);
    table->setObjectName(QStringLiteral("dividends"));
    int row = 0;
    for (p_oRows.MoveFirst(); !p_oRows.IsEOF(); p_oRows.MoveNext(), ++row) {
        const bool estimated = p_oRows.Value("Estimated").ToBool();
        const std::array<QString, 4> cells{
            QString::fromStdString(p_oRows.Value("Symbol").ToString()),
            DayText(static_cast<int32_t>(p_oRows.Value("ExDate").ToDate())),
            QString::number(p_oRows.Value("Amount").ToDouble(), 'f', 4),
            estimated ? QStringLiteral("estimate") : QStringLiteral("paid")};
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            auto* item = new QTableWidgetItem(cells[static_cast<size_t>(column)]);
            if (estimated) {
                QFont font = item->font();
                font.setItalic(true);
                item->setFont(font);
            }
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
    return table;
}

}  // namespace

DividendsPage::DividendsPage(const PageRequest& p_oPage, QWidget* p_pParent) : QWidget(p_pParent) {
    setObjectName(QStringLiteral("dividendsPage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewPageHeading(QString::fromStdString(PageKindName(p_oPage.m_eKind)), this));
    std::array<Variant, call::kCount> args{Variant(JoinCodes(p_oPage.m_codes))};
    std::shared_ptr<Recordset> rows;
    try {
        rows = RecordsetOf(CallPages(call::kMethod, args));
    } catch (const AutomationError& error) {
        layout->addWidget(NewPageText(QStringLiteral("The dividends cannot be shown: ") +
                                          QString::fromStdString(error.Description()),
                                      this));
        layout->addStretch();
        return;
    }
    layout->addWidget(NewPageText(
        QStringLiteral("Dividends inferred from the prices, where the adjusted and the traded "
                       "closes part by a step no split explains; amounts per share as traded the "
                       "day before. A stock's next date, labelled \"estimate\", follows the "
                       "average spacing of its last four; it is not announced."),
        this));
    if (rows->RecordCount() == 0) {
        layout->addWidget(
            NewPageText(QStringLiteral("The prices of the stocks with ids %1 show no dividend.")
                            .arg(QString::fromStdString(JoinCodes(p_oPage.m_codes))),
                        this));
        layout->addStretch();
        return;
    }
    m_pTable = NewDividendsTable(*rows, this);
    layout->addWidget(m_pTable, 1);
}

}  // namespace qv
