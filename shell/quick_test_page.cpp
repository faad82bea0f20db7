#include "shell/quick_test_page.h"

#include "outside/automation_error.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "shell/chart_pages.h"
#include "shell/chart_parts.h"
#include "shell/chart_series.h"
#include "shell/page_views.h"

#include <QFormLayout>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace qv {

namespace call = facade_protocol::quick_test;
namespace kinds = facade_protocol::page_kind;

namespace {

constexpr int kLinesHeight = 320;

int32_t KindOf(const PageRequest& p_oPage) {
    if (p_oPage.m_sCodeKey == "indcodes") {
        return kinds::kIndustries;
    }
    return p_oPage.m_sCodeKey == "sectorcodes" ? kinds::kSectors : kinds::kStocks;
}

QString Percent(const Variant& p_vValue) {
    const double value = FigureOf(p_vValue);
    return std::isnan(value) ? QStringLiteral("n/a") : QString::number(value, 'f', 2) + '%';
}

QString Price(const Variant& p_vValue) {
    const double value = FigureOf(p_vValue);
    return std::isnan(value) ? QStringLiteral("not held") : QString::number(value, 'f', 2);
}

// What the held line stands for: the chosen rows, or the members of a watch list.
QString HeldName(const PageRequest& p_oPage) {
    return p_oPage.m_eKind == PageKind::WatchListGraph ? QStringLiteral("Watch list")
                                                       : QStringLiteral("Portfolio");
}

QTableWidget* NewMembersTable(Recordset& p_oMembers, QWidget* p_pParent) {
    QTableWidget* table =
        NewPageTable({QStringLiteral("Code"), QStringLiteral("Name"), QStringLiteral("Start price"),
                      QStringLiteral("End price"), QStringLiteral("Return")},
                     p_oMembers.RecordCount(), p_pParent);
    table->setObjectName(QStringLiteral("quickTestMembers"));
    int row = 0;
    for (p_oMembers.MoveFirst(); !p_oMembers.IsEOF(); p_oMembers.MoveNext(), ++row) {
        const bool held = !p_oMembers.Value("StartPrice").IsNull();
        const std::array<QString, 5> cells{
            QString::fromStdString(p_oMembers.Value("Code").ToString()),
            QString::fromStdString(p_oMembers.Value("Name").ToString()),
            Price(p_oMembers.Value("StartPrice")), held ? Price(p_oMembers.Value("EndPrice")) : "",
            held ? Percent(p_oMembers.Value("Return")) : ""};
        for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
            auto* item = new QTableWidgetItem(cells[static_cast<size_t>(column)]);
            if (column >= 2) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            table->setItem(row, column, item);
        }
    }
    table->resizeColumnsToContents();
    table->setMinimumHeight(std::min(400, 40 + 30 * p_oMembers.RecordCount()));
    return table;
}

QString Subject(const PageRequest& p_oPage, Recordset& p_oLines) {
    p_oLines.MoveFirst();
    const auto first = static_cast<int32_t>(p_oLines.Value("TradeDate").ToDate());
    p_oLines.MoveLast();
    const auto last = static_cast<int32_t>(p_oLines.Value("TradeDate").ToDate());
    return QStringLiteral(
               "Equal amounts in %1, bought at the close of %2 and held to %3, against "
               "the equal-weight market bought the same way.")
        .arg(p_oPage.m_eKind == PageKind::WatchListGraph ? QStringLiteral("each of its members")
                                                         : PageSubject(p_oPage),
             DayText(first), DayText(last));
}

}  // namespace

QuickTestPage::QuickTestPage(const PageRequest& p_oPage, QWidget* p_pParent,
                             StartBefore p_eStartBefore)
    : QWidget(p_pParent) {
    setObjectName(QStringLiteral("quickTestPage"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewPageHeading(QString::fromStdString(PageKindName(p_oPage.m_eKind)), this));
    if (!p_oPage.m_sTitle.empty()) {
        layout->addWidget(NewPageText(QString::fromStdString(p_oPage.m_sTitle), this));
    }
    std::array<Variant, call::kCount> args{
        Variant(KindOf(p_oPage)), Variant(JoinCodes(p_oPage.m_codes)), DayArgument(p_oPage.m_lDate),
        DayArgument(p_oPage.m_lEndDate), Variant::Nothing()};
    std::shared_ptr<Recordset> lines;
    try {
        try {
            lines = RecordsetOf(CallPages(call::kMethod, args));
        } catch (const AutomationError&) {
            if (p_eStartBefore == StartBefore::Refused || p_oPage.m_lDate == 0) {
                throw;
            }
            args[call::kStartDate.Position] = Variant();
            lines = RecordsetOf(CallPages(call::kMethod, args));
        }
    } catch (const AutomationError& error) {
        auto* problem = NewPageText(QStringLiteral("The quick test cannot be run: ") +
                                        QString::fromStdString(error.Description()),
                                    this);
        problem->setObjectName(QStringLiteral("quickTestProblem"));
        layout->addWidget(problem);
        layout->addStretch();
        return;
    }
    layout->addWidget(NewPageText(Subject(p_oPage, *lines), this));
    auto* summary = new QFormLayout;
    summary->setObjectName(QStringLiteral("quickTestSummary"));
    summary->addRow(QStringLiteral("Total return"),
                    NewPageText(Percent(args[call::kTotalReturn.Position]), this));
    summary->addRow(QStringLiteral("Annualised return"),
                    NewPageText(Percent(args[call::kAnnualReturn.Position]), this));
    summary->addRow(QStringLiteral("Maximum drawdown"),
                    NewPageText(Percent(args[call::kMaxDrawdown.Position]), this));
    summary->addRow(QStringLiteral("Volatility (annualised)"),
                    NewPageText(Percent(args[call::kVolatility.Position]), this));
    summary->addRow(
        QStringLiteral("Best member"),
        NewPageText(QString::fromStdString(args[call::kBestCode.Position].ToString()), this));
    summary->addRow(
        QStringLiteral("Worst member"),
        NewPageText(QString::fromStdString(args[call::kWorstCode.Position].ToString()), this));
    layout->addLayout(summary);
    const QString held = HeldName(p_oPage);
    m_pLines =
        NewHeldAndMarketView(*lines, "Portfolio", held,
                             QStringLiteral("%1 and market, 100 on the first day").arg(held), this);
    m_pLines->setMinimumHeight(kLinesHeight);
    layout->addWidget(m_pLines, 1);
    m_pMembers = NewMembersTable(*RecordsetOf(args[call::kMembers.Position]), this);
    layout->addWidget(m_pMembers);
}

}  // namespace qv
