// The pages' quick test through dispatch against one hand-written statement computing the same
// daily lines, on a generated market of 1,500 stocks over three years (756 trading days):
//
//   quicktest_500     "QuickTest" of 500 stocks from the first to the last day, as the shell's
//                     page calls it: a component created by ProgID, the codes as one text, the
//                     daily lines, the members and the summary written back
//   sql_daily_500     one statement over the same bars: each stock's adjusted close against its
//                     close on the first day, averaged per day over the 500 stocks and over the
//                     market, every value of every row read
//
// Times are the CPU time of the benchmark's thread, so that other processes on a shared machine
// do not enter the ratio.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_market.h"
#include "bench/ratio.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/recordset.h"

namespace {

using namespace qv;
using namespace qv::facade;

constexpr int32_t kStocks = 1500;
constexpr int32_t kHeld = 500;

struct PagesMarket {
    bench::GeneratedMarket m_oMarket;
    ComponentFactory m_oComponents;
    std::string m_sSymbols;  // "A,B,..."
    std::vector<int64_t> m_aIds;
    int32_t m_lFirstDay = 0;
    int32_t m_lLastDay = 0;
};

// The folder of the generated market, once there is one.
std::filesystem::path s_oFolder;

PagesMarket& Market() {
    static PagesMarket s_oMarket = [] {
        PagesMarket oMarket;
        oMarket.m_oMarket = bench::GenerateMarket("pages", kStocks, 80, 756);
        s_oFolder = std::filesystem::path(oMarket.m_oMarket.store->Name()).parent_path();
        RegisterFacadeComponents(oMarket.m_oComponents, oMarket.m_oMarket.backend);
        SqlDatabase& oDatabase = oMarket.m_oMarket.store->Database();
        oMarket.m_lFirstDay =
            static_cast<int32_t>(oDatabase.QueryInt64("SELECT min(trade_date) FROM trading_days"));
        oMarket.m_lLastDay =
            static_cast<int32_t>(oDatabase.QueryInt64("SELECT max(trade_date) FROM trading_days"));
        // Every third stock, so that the held stocks spread over the market.
        SqlStatement oHeld = oDatabase.Prepare(
            "SELECT stock_id, symbol FROM stocks WHERE stock_id % 3 = 0 ORDER BY stock_id LIMIT " +
            std::to_string(kHeld));
        while (oHeld.Step()) {
            oMarket.m_aIds.push_back(oHeld.ColumnInt64(0));
            oMarket.m_sSymbols += oMarket.m_sSymbols.empty() ? "" : ",";
            oMarket.m_sSymbols += oHeld.ColumnText(1);
        }
        return oMarket;
    }();
    return s_oMarket;
}

void QuickTest(benchmark::State& p_oState) {
    PagesMarket& oMarket = Market();
    for (auto _ : p_oState) {
        std::vector<Variant> aArgs{0,
                                   oMarket.m_sSymbols,
                                   Variant::Date(oMarket.m_lFirstDay),
                                   Variant::Date(oMarket.m_lLastDay),
                                   Variant::Nothing(),
                                   Variant(),
                                   Variant(),
                                   Variant(),
                                   Variant(),
                                   Variant(),
                                   Variant()};
        const double dStart = bench::ThreadSeconds();
        const Variant vLines =
            CallMethod(*oMarket.m_oComponents.CreateObject(prog_id::kPages), "QuickTest", aArgs);
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        if (vLines.ToObjectAs<Recordset>()->RecordCount() == 0) {
            p_oState.SkipWithError("the quick test drew no lines");
        }
    }
}

// The held stocks as a list of bindings, "?3, ?4, ...".
std::string HeldBindings(size_t p_lCount) {
    std::string sBindings;
    for (size_t i = 0; i < p_lCount; ++i) {
        sBindings += (i == 0 ? "?" : ", ?") + std::to_string(i + 3);
    }
    return sBindings;
}

void SqlDaily(benchmark::State& p_oState) {
    PagesMarket& oMarket = Market();
    SqlDatabase& oDatabase = oMarket.m_oMarket.store->Database();
    const std::string sSql =
        "SELECT d.trade_date, 100.0 * avg(CASE WHEN s.stock_id IN (" +
        HeldBindings(oMarket.m_aIds.size()) +
        ") THEN d.adj_close / b.adj_close END), 100.0 * avg(d.adj_close / b.adj_close)"
        " FROM stocks s JOIN stock_days b ON b.day_key = s.stock_id * 4194304 + ?1"
        " JOIN stock_days d ON d.day_key BETWEEN b.day_key AND s.stock_id * 4194304 + ?2"
        " GROUP BY d.trade_date ORDER BY d.trade_date";
    for (auto _ : p_oState) {
        const double dStart = bench::ThreadSeconds();
        SqlStatement oQuery = oDatabase.Prepare(sSql);
        oQuery.BindInt64(1, oMarket.m_lFirstDay);
        oQuery.BindInt64(2, oMarket.m_lLastDay);
        for (size_t i = 0; i < oMarket.m_aIds.size(); ++i) {
            oQuery.BindInt64(static_cast<int>(i) + 3, oMarket.m_aIds[i]);
        }
        int64_t llRows = 0;
        while (oQuery.Step()) {
            benchmark::DoNotOptimize(oQuery.ColumnInt64(0));
            benchmark::DoNotOptimize(oQuery.ColumnDouble(1));
            benchmark::DoNotOptimize(oQuery.ColumnDouble(2));
            ++llRows;
        }
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        benchmark::DoNotOptimize(llRows);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("quicktest_500", QuickTest)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("sql_daily_500", SqlDaily)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    const int lStatus = qv::bench::RunWithRatios(
        argc, argv,
        {{"quicktest.500", "quicktest_500/manual_time", "sql_daily_500/manual_time", 2}});
    if (!s_oFolder.empty()) {
        std::filesystem::remove_all(s_oFolder);
    }
    return lStatus;
}
