// Screens compiled from the screen language against the same SQL written by hand:
//
//   screen_run_5k      five conditions compiled and run as the screen list of one day of a
//                      generated market of 5,000 stocks over 260 trading days: the rows with
//                      their fields, sorted by ranking
//   sql_run_5k         the same list query with the conditions written by hand, its rows read
//                      into the same kind of table
//   screen_count_100k  the live count of a screen as a person types it (compiled, then counted)
//                      on a generated market of 100,000 stocks
//   sql_count_100k     a hand-written COUNT(*) of the same rows
//
// The 100,000-stock market has only 2 trading days of bars, so that generating it takes seconds
// rather than many minutes; its screen uses the fields a day and the one before it give.
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
#include "facade/market_screen.h"
#include "facade/market_store.h"
#include "facade/result_table.h"
#include "facade/screen_criteria.h"
#include "facade/sqlite_database.h"

namespace {

using namespace qv;
using namespace qv::facade;

constexpr const char* kRunCriteria =
    "RSRank >= 60 AND Price > MA200 AND Volume >= 0.5 * AvgVolume AND PctChange > -2 AND "
    "SectorName <> 'Utilities'";
constexpr const char* kRunSql =
    "SELECT s.symbol, s.company_name, c.name, d.close, d.pct_change, d.volume, d.rs_rank,"
    " d.ma_200"
    " FROM stocks s JOIN industries i ON i.ind_code = s.ind_code"
    " JOIN sectors c ON c.sector_code = i.sector_code"
    " JOIN stock_days d ON d.day_key = s.stock_id * 4194304 + ?1"
    " WHERE d.rs_rank >= ?2 AND d.close > d.ma_200 AND d.volume >= ?3 * d.avg_volume_50"
    " AND d.pct_change > ?4 AND c.name <> ?5 COLLATE NOCASE"
    " ORDER BY d.rs_rank DESC, s.symbol";
const std::vector<std::string> kRunFields = {"Symbol",    "CompanyName", "SectorName", "Price",
                                             "PctChange", "Volume",      "RSRank",     "MA200"};

constexpr const char* kCountCriteria =
    "Price > 20 AND PctChange > -1 AND Volume >= 1000 AND SectorName <> 'Utilities' AND "
    "CompanyName >= 'B'";
constexpr const char* kCountSql =
    "SELECT count(*)"
    " FROM stocks s JOIN industries i ON i.ind_code = s.ind_code"
    " JOIN sectors c ON c.sector_code = i.sector_code"
    " JOIN stock_days d ON d.day_key = s.stock_id * 4194304 + ?1"
    " WHERE d.close > ?2 AND d.pct_change > ?3 AND d.volume >= ?4"
    " AND c.name <> ?5 COLLATE NOCASE AND s.company_name >= ?6 COLLATE NOCASE";

// The generated markets' folders, removed at the end.
std::vector<std::filesystem::path> s_aFolders;

struct Market {
    bench::GeneratedMarket m_oMarket;
    int32_t m_lDay = 0;

    SqlDatabase& Database() { return m_oMarket.store->Database(); }
};

Market Generate(const char* p_sName, int32_t p_lStocks, int32_t p_lIndustries, int32_t p_lDays) {
    Market market;
    market.m_oMarket = bench::GenerateMarket(p_sName, p_lStocks, p_lIndustries, p_lDays);
    s_aFolders.push_back(std::filesystem::path(market.m_oMarket.store->Name()).parent_path());
    market.m_lDay = static_cast<int32_t>(
        market.Database().QueryInt64("SELECT max(trade_date) FROM trading_days"));
    return market;
}

Market& Market5k() {
    static Market s_oMarket = Generate("screen-5k", 5000, 150, 260);
    return s_oMarket;
}

Market& Market100k() {
    static Market s_oMarket = Generate("screen-100k", 100000, 150, 2);
    return s_oMarket;
}

void ScreenRun5k(benchmark::State& p_oState) {
    Market& oMarket = Market5k();
    size_t lRows = 0;
    for (auto _ : p_oState) {
        const double dStart = bench::ThreadSeconds();
        ScreenRequest oRequest;
        oRequest.m_lDate = oMarket.m_lDay;
        oRequest.m_aFields = kRunFields;
        oRequest.m_sSort = "RSRank DESC";
        oRequest.m_oScreen = CompileScreenCriteria(kRunCriteria, RowKind::Stock);
        const ResultTable oRows = RunScreen(oMarket.Database(), oRequest);
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        lRows = oRows.RowCount();
    }
    p_oState.counters["rows"] = static_cast<double>(lRows);
    if (lRows == 0) {
        p_oState.SkipWithError("the screen found no rows");
    }
}

void SqlRun5k(benchmark::State& p_oState) {
    Market& oMarket = Market5k();
    std::vector<ResultColumn> aColumns;
    for (const std::string& sField : kRunFields) {
        aColumns.push_back({sField, FindFieldByName(sField)->m_eKind});
    }
    size_t lRows = 0;
    for (auto _ : p_oState) {
        const double dStart = bench::ThreadSeconds();
        ResultTable oRows(aColumns);
        SqlStatement oQuery = oMarket.Database().Prepare(kRunSql);
        oQuery.BindInt64(1, oMarket.m_lDay);
        oQuery.BindInt64(2, 60);
        oQuery.BindDouble(3, 0.5);
        oQuery.BindInt64(4, -2);
        oQuery.BindText(5, "Utilities");
        AppendStatementRows(oQuery, oRows);
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        lRows = oRows.RowCount();
    }
    p_oState.counters["rows"] = static_cast<double>(lRows);
}

void ScreenCount100k(benchmark::State& p_oState) {
    Market& oMarket = Market100k();
    int64_t llCount = 0;
    for (auto _ : p_oState) {
        const double dStart = bench::ThreadSeconds();
        const ScreenSql oScreen = CompileScreenCriteria(kCountCriteria, RowKind::Stock);
        llCount = CountScreenRows(oMarket.Database(), RowKind::Stock, oScreen, oMarket.m_lDay);
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
    }
    p_oState.counters["rows"] = static_cast<double>(llCount);
    if (llCount == 0) {
        p_oState.SkipWithError("the screen counted no rows");
    }
}

void SqlCount100k(benchmark::State& p_oState) {
    Market& oMarket = Market100k();
    int64_t llCount = 0;
    for (auto _ : p_oState) {
        const double dStart = bench::ThreadSeconds();
        SqlStatement oQuery = oMarket.Database().Prepare(kCountSql);
        oQuery.BindInt64(1, oMarket.m_lDay);
        oQuery.BindInt64(2, 20);
        oQuery.BindInt64(3, -1);
        oQuery.BindInt64(4, 1000);
        oQuery.BindText(5, "Utilities");
        oQuery.BindText(6, "B");
        llCount = oQuery.Step() ? oQuery.ColumnInt64(0) : 0;
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
    }
    p_oState.counters["rows"] = static_cast<double>(llCount);
}

}  // namespace

int main(int argc, char** argv) {
    struct Case {
        const char* m_sName;
        void (*m_fRun)(benchmark::State&);
    };
    for (const Case& oCase :
         {Case{"screen_run_5k", ScreenRun5k}, Case{"sql_run_5k", SqlRun5k},
          Case{"screen_count_100k", ScreenCount100k}, Case{"sql_count_100k", SqlCount100k}}) {
        benchmark::RegisterBenchmark(oCase.m_sName, oCase.m_fRun)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    const int lStatus = qv::bench::RunWithRatios(
        argc, argv,
        {{"screen.run.5k", "screen_run_5k/manual_time", "sql_run_5k/manual_time", 1.5},
         {"screen.count.100k", "screen_count_100k/manual_time", "sql_count_100k/manual_time",
          1.5}});
    for (const std::filesystem::path& oFolder : s_aFolders) {
        std::filesystem::remove_all(oFolder);
    }
    return lStatus;
}
