#include "shell/watch_list_graph_page.h"

#include "outside/automation_error.h"
#include "outside/facade_protocol.h"
#include "outside/text_util.h"
#include "shell/chart_series.h"
#include "shell/page_views.h"
#include "shell/quick_test_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <array>

namespace qv {

namespace call = facade_protocol::watch_list_members;
namespace kinds = facade_protocol::page_kind;

WatchListGraphPage::WatchListGraphPage(const PageRequest& p_oPage, int32_t p_lOwnerId,
                                       int32_t p_lLastDay, QWidget* p_pParent)
    : QWidget(p_pParent), m_lLastDay(p_oPage.m_lTimeId > 0 ? p_oPage.m_lTimeId : p_lLastDay) {
    setObjectName(QStringLiteral("watchListGraphPage"));
    auto* layout = new QVBoxLayout(this);
    std::array<Variant, call::kCount> args{Variant(p_lOwnerId), Variant(p_oPage.m_lWatchListId),
                                           Variant(), Variant()};
    try {
        const std::string codes = CallPages(call::kMethod, args).ToString();
        if (!codes.empty()) {
            m_codes = SplitText(codes, ',');
        }
        m_sName = args[call::kName.Position].ToString();
        m_sCodeKey =
            args[call::kKind.Position].ToLong() == kinds::kIndustries ? "indcodes" : "symbols";
        if (args[call::kKind.Position].ToLong() < 0) {
            m_sProblem = QStringLiteral("Watch list %1 is not one of your watch lists.")
                             .arg(p_oPage.m_lWatchListId);
        } else if (m_codes.empty()) {
            m_sProblem = QStringLiteral("The watch list \"%1\" has no members to average yet.")
                             .arg(QString::fromStdString(m_sName));
        }
    } catch (const AutomationError& error) {
        m_sProblem = QStringLiteral("The watch list cannot be read: ") +
                     QString::fromStdString(error.Description());
    }
    m_lWatchListId = p_oPage.m_lWatchListId;
    if (!m_sProblem.isEmpty()) {
        layout->addWidget(
            NewPageHeading(QString::fromStdString(PageKindName(p_oPage.m_eKind)), this));
        auto* problem = NewPageText(m_sProblem, this);
        problem->setObjectName(QStringLiteral("watchListGraphProblem"));
        layout->addWidget(problem);
        layout->addStretch();
        return;
    }
    ShowRange(ChartRange::OneYear);
}

void WatchListGraphPage::ShowRange(ChartRange p_eRange) {
    PageRequest test;
    // The quick test's page under the graph's heading.
    test.m_eKind = PageKind::WatchListGraph;
    test.m_lWatchListId = m_lWatchListId;
    test.m_sCodeKey = m_sCodeKey;
    test.m_codes = m_codes;
    test.m_lDate = m_lLastDay - DaysOf(p_eRange);
    test.m_lEndDate = m_lLastDay;
    test.m_sTitle = "The average of the watch list \"" + m_sName + "\"";
    auto* average = new QuickTestPage(test, this, QuickTestPage::StartBefore::FirstDay);
    // Under the page's heading; the page is made again for each range.
    QHBoxLayout* bar =
        NewRangeBar(average, p_eRange, [this](ChartRange p_eShown) { ShowRange(p_eShown); });
    bar->addStretch();
    static_cast<QVBoxLayout*>(average->layout())->insertLayout(1, bar);
    if (m_pAverage == nullptr) {
        layout()->addWidget(average);
    } else {
        delete layout()->replaceWidget(m_pAverage, average);
        // The old page's range button is still handing out its click.
        m_pAverage->hide();
        m_pAverage->deleteLater();
    }
    m_pAverage = average;
}

}  // namespace qv
