// The graph pages of a stock, an industry group or a business sector (page types 10, 11, 12),
// drawn from the pages component's chart series.
//
// One code: its line (a stock's adjusted close, a group's equal-weight index) over its volume
// bars; in
// the advanced edition ("iwp=1") also its 50- and 200-day averages, a pane of its strength
// against the market, and a log scale to choose. Several codes: a line each, all taken as 100 on
// the first day shown, with a legend. The range buttons fetch the series again for the last three
// months, six months, one year or three years to the page's day; the view zooms and pans within
// them (chart_parts.h).
//
//     auto* page = new ChartPage(request, ChartRange::ThreeYears);
#pragma once

#include "shell/chart_series.h"
#include "shell/page_address.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;

namespace qv {

class ChartView;

enum class ChartRange { ThreeMonths, SixMonths, OneYear, ThreeYears };

// The query of a graph page's address over p_eRange ending on p_lLast (0: the latest day).
ChartQuery ChartQueryOf(const PageRequest& p_oPage, ChartRange p_eRange, int32_t p_lLast);

// The calendar days a range reaches back from its last day.
int32_t DaysOf(ChartRange p_eRange);

// The range buttons "3M", "6M", "1Y", "3Y" of p_pPage, p_eChecked checked; a click hands its range
// to p_fnShow.
QHBoxLayout* NewRangeBar(QWidget* p_pPage, ChartRange p_eChecked,
                         const std::function<void(ChartRange)>& p_fnShow);

// The facade's page kind of a graph page; -1 for a page that is no graph.
int32_t ChartKindOf(PageKind p_eKind);

class ChartPage : public QWidget {
  public:
    explicit ChartPage(const PageRequest& p_oPage, ChartRange p_eRange = ChartRange::OneYear,
                       QWidget* p_pParent = nullptr);

    void ShowRange(ChartRange p_eRange);
    void SetLogScale(bool p_bLog);

    const std::vector<ChartLine>& Lines() const { return m_lines; }
    // The panes shown, the price (or the lines) first; none when the facade refused the query.
    const std::vector<ChartView*>& Panes() const { return m_panes; }
    // Why the facade drew no graph; empty when it did.
    const QString& Problem() const { return m_sProblem; }

  private:
    void Load();
    void Draw();
    void ClearPanes();
    void AddPane(ChartView* p_pPane, int p_iHeight);
    ChartView* NewPricePane();
    ChartView* NewStrengthPane();
    ChartView* NewComparisonPane();

    PageRequest m_oPage;
    ChartRange m_eRange;
    bool m_bLog = false;
    // The day the page's ranges end on, once read.
    int32_t m_lLast = 0;
    std::vector<ChartLine> m_lines;
    std::vector<ChartView*> m_panes;
    QString m_sProblem;
    QLabel* m_pReadout = nullptr;
    QCheckBox* m_pLog = nullptr;
    QVBoxLayout* m_pPaneLayout;
};

}  // namespace qv
