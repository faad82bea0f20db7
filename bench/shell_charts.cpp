// Opening a chart page against drawing its line straight from the facade, on a generated market
// of 300 stocks over 900 trading days (more than three years):
//
//   ChartOpen3y      the three-year graph page of one stock, as the window builds it on the
//                    market's latest day: the facade's call for the series, then the page with
//                    its range buttons, price pane with volume bars, axes and read-out
//   LineFromQuery    the same "ChartSeries" call, and one QLineSeries of its values on a chart in
//                    a view
//
// Times are the CPU time of the benchmark's thread, so that other processes on a shared machine
// do not enter the ratio.
#include "bench/bench_market.h"
#include "bench/ratio.h"
#include "bench/shell_bench.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "outside/facade_protocol.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "shell/chart_page.h"
#include "shell/chart_parts.h"
#include "shell/chart_series.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QLineSeries>

#include <memory>
#include <string>

namespace {

using namespace qv;

struct ChartMarket {
    ChartMarket() : m_oMarket(bench::GenerateMarket("charts", 300, 30, 900)) {
        facade::RegisterFacadeComponents(m_oContext.Components(), m_oMarket.backend);
        facade::SqlStatement oFirst = m_oMarket.store->Database().Prepare(
            "SELECT symbol FROM stocks ORDER BY stock_id LIMIT 1");
        oFirst.Step();
        m_sSymbol = oFirst.ColumnText(0);
    }

    bench::GeneratedMarket m_oMarket;
    PlatformContext m_oContext;
    std::string m_sSymbol;
};

ChartMarket& Market() {
    static ChartMarket s_oMarket;
    return s_oMarket;
}

// As the window asks for it: on the market's latest day, which the window knows.
PageRequest GraphOf(const std::string& p_sSymbol, int32_t p_lLastDay) {
    PageRequest page;
    page.m_lDate = p_lLastDay;
    page.m_eKind = PageKind::StockGraph;
    page.m_lPageType = 10;
    page.m_sCodeKey = "symbol";
    page.m_codes = {p_sSymbol};
    return page;
}

void ChartOpen3y(benchmark::State& p_oState) {
    ChartMarket& oMarket = Market();
    ScopedPlatform installed(oMarket.m_oContext);
    const PageRequest page =
        GraphOf(oMarket.m_sSymbol, static_cast<int32_t>(oMarket.m_oMarket.lastDay));
    for (auto _ : p_oState) {
        const double dStart = bench::ThreadSeconds();
        const ChartPage chart(page, ChartRange::ThreeYears);
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        if (chart.Panes().empty()) {
            p_oState.SkipWithError("the page drew no graph");
        }
    }
}
BENCHMARK(ChartOpen3y)->UseManualTime();

void LineFromQuery(benchmark::State& p_oState) {
    ChartMarket& oMarket = Market();
    ScopedPlatform installed(oMarket.m_oContext);
    const int32_t last = static_cast<int32_t>(oMarket.m_oMarket.lastDay);
    const ChartQuery query =
        ChartQueryOf(GraphOf(oMarket.m_sSymbol, last), ChartRange::ThreeYears, last);
    for (auto _ : p_oState) {
        const double dStart = bench::ThreadSeconds();
        const std::shared_ptr<Recordset> rows = ChartSeriesRows(query);
        const int32_t lDay = rows->Fields().IndexOf("TradeDate");
        const int32_t lValue = rows->Fields().IndexOf("Value");
        QList<QPointF> aPoints;
        aPoints.reserve(rows->RecordCount());
        for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
            aPoints.append(QPointF(DayPosition(static_cast<int32_t>(rows->Value(lDay).ToDate())),
                                   rows->Value(lValue).ToDouble()));
        }
        auto* line = new QLineSeries;
        line->replace(aPoints);
        auto* chart = new QChart;
        chart->addSeries(line);
        const QChartView view(chart);
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        benchmark::DoNotOptimize(line->count());
    }
}
BENCHMARK(LineFromQuery)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunShellWithRatios(
        argc, argv,
        {{"chart.open.3y", "ChartOpen3y/manual_time", "LineFromQuery/manual_time", 1.5}});
}
