// Finding rows through the viewer control next to doing the same by hand, on a generated market
// of 5,000 stocks:
//
//   BM_FindSingleStock     FindSingleStock of the last symbol of 100,000 rows (the stock list
//                          twenty times over, each copy's symbols made its own), which clears the
//                          selection, finds the row from the first and selects it
//   BM_SymbolLoop          a hand loop over the symbol column of the same rows, in their order,
//                          comparing without regard to case as the find does
//   BM_SearchCompanyNames  the Find dialog's company-name search on the server: the dialog asked
//                          for the names starting with "A", the facade's "SearchCompanyName", and
//                          the names listed in the dialog
//   BM_CompanyNamesSql     the same SQL statement prepared by hand, every value of every row read
//
// Times are the CPU time of the benchmark's thread, so that other processes on a shared machine
// do not enter the ratios.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_market.h"
#include "bench/ratio.h"
#include "control/forms/frm_search.h"
#include "control/viewer.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/field_catalogue.h"
#include "facade/market_schema.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/component_factory.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/scripted_services.h"
#include "outside/text_util.h"

namespace {

using namespace qv;

constexpr int32_t kOwnerId = facade::kDemoOwnerId + 1;
constexpr const char* kNameStart = "A";

struct Market {
    PlatformContext context;
    std::unique_ptr<ScopedPlatform> installed;
    ScriptedDialogRunner* dialogs = nullptr;
    std::shared_ptr<facade::MarketStore> store;
    double lastDay = 0;
    std::string timeCode;
};

Market& TheMarket() {
    static Market* market = [] {
        auto* created = new Market;
        const bench::GeneratedMarket generated = bench::GenerateMarket("find", 5000, 150, 260);
        created->store = generated.store;
        created->lastDay = generated.lastDay;
        created->timeCode = generated.backend->Login(kOwnerId, "");
        facade::RegisterFacadeComponents(created->context.Components(), generated.backend);
        auto dialogs = std::make_unique<ScriptedDialogRunner>();
        created->dialogs = dialogs.get();
        created->context.SetDialogs(std::move(dialogs));
        created->installed = std::make_unique<ScopedPlatform>(created->context);
        return created;
    }();
    return *market;
}

std::shared_ptr<Viewer> StockList(bool p_bReturnAll) {
    Market& market = TheMarket();
    auto viewer = std::make_shared<Viewer>();
    viewer->SetViewerType(vt_Stocks);
    viewer->SetOwnerId(kOwnerId);
    viewer->SetTimeCode(market.timeCode);
    viewer->SetStartDate(market.lastDay);
    viewer->SetMaxRows(10000);
    viewer->UpdateViewer();
    viewer->SetReturnAll(p_bReturnAll);
    return viewer;
}

// The stock list twenty times over, bound to the primary grid; each copy's symbols get the
// copy's number, so that the last row's symbol is found only at the end.
struct HundredThousand {
    std::shared_ptr<Viewer> viewer;
    std::string lastSymbol;
};

const HundredThousand& HundredThousandRows() {
    static const HundredThousand rows = [] {
        HundredThousand made{StockList(true), ""};
        const std::shared_ptr<Recordset> stocks = made.viewer->olePriGrid()->DataSource();
        const std::shared_ptr<Recordset> copy = stocks->Copy();
        const int32_t fields = stocks->Fields().Count();
        const int32_t symbol = stocks->Fields().IndexOf("Symbol");
        std::vector<Variant> values(static_cast<size_t>(fields));
        for (int copyNumber = 1; copyNumber < 20; ++copyNumber) {
            for (int32_t position = 0; position < stocks->ViewCount(); ++position) {
                const uint32_t row = stocks->ViewRowId(position);
                for (int32_t field = 0; field < fields; ++field) {
                    values[static_cast<size_t>(field)] = stocks->ValueAt(row, field);
                }
                values[static_cast<size_t>(symbol)] =
                    Variant(values[static_cast<size_t>(symbol)].ToString() + "." +
                            std::to_string(copyNumber));
                copy->AddNew(values);
            }
        }
        made.viewer->olePriGrid()->SetDataSource(copy);
        copy->MoveLast();
        made.lastSymbol = copy->Value("Symbol").ToString();
        return made;
    }();
    return rows;
}

void BM_FindSingleStock(benchmark::State& state) {
    const HundredThousand& rows = HundredThousandRows();
    Viewer& viewer = *rows.viewer;
    const int32_t last = viewer.olePriGrid()->DataSource()->RecordCount() - 1;
    for (auto _ : state) {
        std::string symbol = rows.lastSymbol;
        const double start = bench::ThreadSeconds();
        const bool found = viewer.FindSingleStock(symbol);
        state.SetIterationTime(bench::ThreadSeconds() - start);
        if (!found || viewer.olePriGrid()->Row() != last) {
            state.SkipWithError("the last symbol was not found on the last row");
            return;
        }
    }
}

void BM_SymbolLoop(benchmark::State& state) {
    const HundredThousand& rows = HundredThousandRows();
    const Recordset& recordset = *rows.viewer->olePriGrid()->DataSource();
    const std::vector<std::string>& symbols =
        recordset.Rows().Column(static_cast<size_t>(recordset.Fields().IndexOf("Symbol"))).Texts();
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        int32_t found = -1;
        for (int32_t position = 0; position < recordset.ViewCount(); ++position) {
            if (EqualsIgnoreCase(symbols[recordset.ViewRowId(position)], rows.lastSymbol)) {
                found = position;
                break;
            }
        }
        benchmark::DoNotOptimize(found);
        state.SetIterationTime(bench::ThreadSeconds() - start);
    }
}

void BM_SearchCompanyNames(benchmark::State& state) {
    Market& market = TheMarket();
    const std::shared_ptr<Viewer> viewer = StockList(false);
    size_t listed = 0;
    for (auto _ : state) {
        market.dialogs->QueueScriptFor<frmSearch>([&](frmSearch& form) {
            form.SetSearchTypeIndex(1);
            form.SetText(kNameStart);
            const double start = bench::ThreadSeconds();
            form.cmdOK_Click();
            state.SetIterationTime(bench::ThreadSeconds() - start);
            listed = form.Items().size();
            form.cmdCancel_Click();
        });
        viewer->SearchStocks("");
        if (listed < 2) {
            state.SkipWithError("the search listed no names");
            return;
        }
    }
}

// The statement the facade runs for the names: the two fields by the catalogue's expressions
// over the stock rows of the day, the names that start with the text, in name order.
std::string CompanyNamesSql() {
    const char* name = facade::FindFieldByName("CompanyName")->SqlFor(facade::RowKind::Stock);
    const char* symbol = facade::FindFieldByName("Symbol")->SqlFor(facade::RowKind::Stock);
    return std::string("SELECT ") + name + ", " + symbol +
           " FROM stocks s JOIN industries i ON i.ind_code = s.ind_code"
           " JOIN sectors c ON c.sector_code = i.sector_code"
           " JOIN stock_days d ON d.day_key = s.stock_id * " +
           std::to_string(facade::kDayKeyStride) +
           " + ?1 LEFT JOIN fundamentals f ON f.stock_id = s.stock_id"
           " WHERE 1 = 1 AND s.company_name LIKE ?2 ESCAPE '\\' ORDER BY (" +
           name + ") ASC, s.symbol";
}

void BM_CompanyNamesSql(benchmark::State& state) {
    Market& market = TheMarket();
    facade::SqlDatabase& database = market.store->Database();
    const std::string sql = CompanyNamesSql();
    for (auto _ : state) {
        const double start = bench::ThreadSeconds();
        facade::SqlStatement query = database.Prepare(sql);
        query.BindInt64(1, static_cast<int64_t>(market.lastDay));
        query.BindText(2, std::string(kNameStart) + "%");
        size_t rows = 0;
        while (query.Step()) {
            std::string name = query.ColumnText(0);
            std::string symbol = query.ColumnText(1);
            benchmark::DoNotOptimize(name);
            benchmark::DoNotOptimize(symbol);
            ++rows;
        }
        state.SetIterationTime(bench::ThreadSeconds() - start);
        if (rows < 2) {
            state.SkipWithError("the statement read no names");
            return;
        }
    }
}

BENCHMARK(BM_FindSingleStock)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SymbolLoop)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchCompanyNames)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompanyNamesSql)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunWithRatios(
        argc, argv,
        {{"find.local.100k", "BM_FindSingleStock/manual_time", "BM_SymbolLoop/manual_time", 2},
         {"search.server", "BM_SearchCompanyNames/manual_time", "BM_CompanyNamesSql/manual_time",
          1.5}});
}
