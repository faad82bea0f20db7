// A portfolio's holdings and a trade file's import through dispatch, each against hand-written
// SQL doing the same work, on a generated market of 400 stocks over two years (504 trading days):
//
//   holdings_1k      "GetCurrentHoldings" of a portfolio of 1,000 trades in 300 stocks on the last
//                    day, as the portfolio viewer calls it: a component created by ProgID, the
//                    portfolio layout's fields, the holdings recordset
//   sql_holdings_1k  one statement computing the same sums: each open trade's shares after the
//                    splits since its buy, its cost, value, gain, gain in percent and weight, a
//                    stock's bar of a day its last on or before it (a stock need not trade every
//                    day), every value of every row read
//   import_10k       "ImportTrades" of a CSV text of 10,000 trades, committed into an empty
//                    portfolio
//   sql_import_10k   the same 10,000 trades inserted by one prepared statement in one transaction
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
#include "facade/portfolio_store.h"
#include "facade/sqlite_database.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/recordset.h"
#include "outside/vb_date.h"

namespace {

using namespace qv;
using namespace qv::facade;

constexpr int32_t kOwner = 9;
constexpr int32_t kStocks = 400;
constexpr int32_t kHeldStocks = 300;
constexpr int32_t kTrades = 1000;
constexpr int32_t kImported = 10000;

struct PortfolioMarket {
    bench::GeneratedMarket m_oMarket;
    ComponentFactory m_oComponents;
    std::vector<int32_t> m_aDays;
    std::vector<std::pair<int64_t, std::string>> m_aStocks;  // the held ones: id, symbol
    int32_t m_lPortfolio = 0;
    std::vector<TradeRecord> m_aImport;
    std::string m_sImportCsv;
};

std::filesystem::path s_oFolder;

// The i-th of a fixed spread of trades: stocks and days in turn, every fifth short, every
// seventh closed a year on.
TradeRecord SpreadTrade(const PortfolioMarket& p_oMarket, int32_t p_lIndex) {
    const auto& [stockId, symbol] =
        p_oMarket.m_aStocks[static_cast<size_t>(p_lIndex) % p_oMarket.m_aStocks.size()];
    const size_t lDay = static_cast<size_t>(p_lIndex * 37) % (p_oMarket.m_aDays.size() / 2);
    TradeRecord trade;
    trade.m_llStockId = stockId;
    trade.m_sSymbol = symbol;
    trade.m_lBuyDate = p_oMarket.m_aDays[lDay];
    trade.m_dShares = 10 + p_lIndex % 90;
    trade.m_dInitialPrice = 5 + (p_lIndex % 200) * 0.25;
    trade.m_dCommission = 4.95;
    trade.m_bShort = p_lIndex % 5 == 0;
    if (p_lIndex % 7 == 0) {
        trade.m_lSellDate = p_oMarket.m_aDays[lDay + 252];
        trade.m_dSellPrice = trade.m_dInitialPrice * 1.1;
    }
    return trade;
}

std::string ImportCsv(const std::vector<TradeRecord>& p_aTrades) {
    std::string sText = "Symbol,BuyDate,Shares,Price,Commission,Short,SellDate,SellPrice\n";
    for (const TradeRecord& oTrade : p_aTrades) {
        const bool bSold = oTrade.m_lSellDate > 0;
        sText += oTrade.m_sSymbol + "," + IsoDateText(oTrade.m_lBuyDate) + "," +
                 std::to_string(oTrade.m_dShares) + "," + std::to_string(oTrade.m_dInitialPrice) +
                 "," + std::to_string(oTrade.m_dCommission) + "," +
                 (oTrade.m_bShort ? "true" : "false") + "," +
                 (bSold ? IsoDateText(oTrade.m_lSellDate) : "") + "," +
                 (bSold ? std::to_string(oTrade.m_dSellPrice) : "") + "\n";
    }
    return sText;
}

PortfolioMarket& Market() {
    static PortfolioMarket s_oMarket = [] {
        PortfolioMarket oMarket;
        oMarket.m_oMarket = bench::GenerateMarket("portfolio", kStocks, 40, 504);
        s_oFolder = std::filesystem::path(oMarket.m_oMarket.store->Name()).parent_path();
        RegisterFacadeComponents(oMarket.m_oComponents, oMarket.m_oMarket.backend);
        oMarket.m_oMarket.backend->Login(kOwner, "");
        SqlDatabase& oDatabase = oMarket.m_oMarket.store->Database();
        SqlStatement oDays =
            oDatabase.Prepare("SELECT trade_date FROM trading_days ORDER BY trade_date");
        while (oDays.Step()) {
            oMarket.m_aDays.push_back(static_cast<int32_t>(oDays.ColumnInt64(0)));
        }
        SqlStatement oStocks =
            oDatabase.Prepare("SELECT stock_id, symbol FROM stocks ORDER BY stock_id LIMIT " +
                              std::to_string(kHeldStocks));
        while (oStocks.Step()) {
            oMarket.m_aStocks.emplace_back(oStocks.ColumnInt64(0), oStocks.ColumnText(1));
        }
        PortfolioStore oPortfolios(oDatabase);
        oMarket.m_lPortfolio = oPortfolios.CreatePortfolio(kOwner, "Held");
        std::vector<TradeRecord> aHeld;
        for (int32_t i = 0; i < kTrades; ++i) {
            aHeld.push_back(SpreadTrade(oMarket, i));
        }
        oPortfolios.AddTrades(oMarket.m_lPortfolio, aHeld);
        for (int32_t i = 0; i < kImported; ++i) {
            // Shares apart from the held trades', so that no imported row repeats another.
            TradeRecord oTrade = SpreadTrade(oMarket, i);
            oTrade.m_dShares = 100 + i;
            oMarket.m_aImport.push_back(oTrade);
        }
        oMarket.m_sImportCsv = ImportCsv(oMarket.m_aImport);
        return oMarket;
    }();
    return s_oMarket;
}

void Holdings(benchmark::State& p_oState) {
    PortfolioMarket& oMarket = Market();
    for (auto _ : p_oState) {
        std::vector<Variant> aArgs{oMarket.m_lPortfolio, kOwner,    Variant(), false,
                                   Variant::Nothing(),   Variant(), false,     Variant::Nothing()};
        const double dStart = bench::ThreadSeconds();
        const Variant vRows =
            CallMethod(*oMarket.m_oComponents.CreateObject(prog_id::kPortfolioReader),
                       "GetCurrentHoldings", aArgs);
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        if (vRows.ToObjectAs<Recordset>()->RecordCount() == 0) {
            p_oState.SkipWithError("the portfolio held nothing");
        }
    }
}

void SqlHoldings(benchmark::State& p_oState) {
    PortfolioMarket& oMarket = Market();
    SqlDatabase& oDatabase = oMarket.m_oMarket.store->Database();
    const std::string sSql =
        "SELECT t.trade_id, s.symbol, shares, cost, value, value - cost, (value - cost) * 100.0 / "
        "cost, value * 100.0 / sum(value) OVER () FROM (SELECT t.trade_id, t.stock_id, "
        "t.shares * b.share_factor / d.share_factor AS shares, "
        "t.shares * t.initial_price + t.commission AS cost, "
        "t.shares * b.share_factor / d.share_factor * d.close / 10000.0 AS value "
        "FROM trades t JOIN stock_bars b ON b.day_key = (SELECT z.day_key FROM stock_bars z "
        "WHERE z.day_key BETWEEN t.stock_id * 4194304 AND t.stock_id * 4194304 + t.buy_date "
        "ORDER BY z.day_key DESC LIMIT 1) "
        "JOIN stock_bars d ON d.day_key = (SELECT z.day_key FROM stock_bars z "
        "WHERE z.day_key BETWEEN t.stock_id * 4194304 AND t.stock_id * 4194304 + ?2 "
        "ORDER BY z.day_key DESC LIMIT 1) "
        "WHERE t.portfolio_id = ?1 AND (t.sell_date IS NULL OR t.sell_date > ?2)) t "
        "JOIN stocks s ON s.stock_id = t.stock_id ORDER BY t.trade_id";
    for (auto _ : p_oState) {
        const double dStart = bench::ThreadSeconds();
        SqlStatement oQuery = oDatabase.Prepare(sSql);
        oQuery.BindInt64(1, oMarket.m_lPortfolio);
        oQuery.BindInt64(2, oMarket.m_aDays.back());
        int64_t llRows = 0;
        while (oQuery.Step()) {
            benchmark::DoNotOptimize(oQuery.ColumnInt64(0));
            benchmark::DoNotOptimize(oQuery.ColumnText(1));
            for (int i = 2; i < 8; ++i) {
                benchmark::DoNotOptimize(oQuery.ColumnDouble(i));
            }
            ++llRows;
        }
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        benchmark::DoNotOptimize(llRows);
    }
}

// A new empty portfolio for each import, the last one deleted outside the time measured.
int32_t FreshPortfolio(PortfolioMarket& p_oMarket, int32_t p_lPrevious) {
    PortfolioStore oPortfolios(p_oMarket.m_oMarket.store->Database());
    if (p_lPrevious > 0) {
        oPortfolios.DeletePortfolio(p_lPrevious);
    }
    static int32_t s_lCount = 0;
    return oPortfolios.CreatePortfolio(kOwner, bench::Numbered("Import ", ++s_lCount));
}

void Import(benchmark::State& p_oState) {
    PortfolioMarket& oMarket = Market();
    int32_t lPortfolio = 0;
    for (auto _ : p_oState) {
        lPortfolio = FreshPortfolio(oMarket, lPortfolio);
        std::vector<Variant> aArgs{kOwner, lPortfolio, oMarket.m_sImportCsv, true};
        const double dStart = bench::ThreadSeconds();
        const Variant vRows = CallMethod(
            *oMarket.m_oComponents.CreateObject(prog_id::kPortfolioWriter), "ImportTrades", aArgs);
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        if (vRows.ToObjectAs<Recordset>()->RecordCount() != kImported) {
            p_oState.SkipWithError("the import did not read every row");
        }
    }
    FreshPortfolio(oMarket, lPortfolio);
}

void SqlImport(benchmark::State& p_oState) {
    PortfolioMarket& oMarket = Market();
    SqlDatabase& oDatabase = oMarket.m_oMarket.store->Database();
    int32_t lPortfolio = 0;
    for (auto _ : p_oState) {
        lPortfolio = FreshPortfolio(oMarket, lPortfolio);
        const double dStart = bench::ThreadSeconds();
        SqlTransaction oWork(oDatabase);
        SqlStatement oInsert = oDatabase.Prepare(
            "INSERT INTO trades (portfolio_id, stock_id, buy_date, shares, initial_price, "
            "commission, is_short, sell_date, sell_price) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
            "?9)");
        for (const TradeRecord& oTrade : oMarket.m_aImport) {
            oInsert.BindInt64(1, lPortfolio);
            oInsert.BindInt64(2, oTrade.m_llStockId);
            oInsert.BindInt64(3, oTrade.m_lBuyDate);
            oInsert.BindDouble(4, oTrade.m_dShares);
            oInsert.BindDouble(5, oTrade.m_dInitialPrice);
            oInsert.BindDouble(6, oTrade.m_dCommission);
            oInsert.BindInt64(7, oTrade.m_bShort ? 1 : 0);
            if (oTrade.m_lSellDate > 0) {
                oInsert.BindInt64(8, oTrade.m_lSellDate);
                oInsert.BindDouble(9, oTrade.m_dSellPrice);
            } else {
                oInsert.BindNull(8);
                oInsert.BindNull(9);
            }
            oInsert.Run();
        }
        oWork.Commit();
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
    }
    FreshPortfolio(oMarket, lPortfolio);
}

}  // namespace

int main(int argc, char** argv) {
    using Case = void (*)(benchmark::State&);
    const std::pair<const char*, Case> aCases[] = {{"holdings_1k", Holdings},
                                                   {"sql_holdings_1k", SqlHoldings},
                                                   {"import_10k", Import},
                                                   {"sql_import_10k", SqlImport}};
    for (const auto& [sName, fCase] : aCases) {
        benchmark::RegisterBenchmark(sName, fCase)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
    const int lStatus = qv::bench::RunWithRatios(
        argc, argv,
        {{"portfolio.holdings.1k", "holdings_1k/manual_time", "sql_holdings_1k/manual_time", 1.5},
         {"portfolio.import.10k", "import_10k/manual_time", "sql_import_10k/manual_time", 2}});
    if (!s_oFolder.empty()) {
        std::filesystem::remove_all(s_oFolder);
    }
    return lStatus;
}
