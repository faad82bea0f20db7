// A new watch list of 1,000 selected rows through the viewer control, next to the facade call
// that makes it, on a generated market of 1,200 stocks:
//
//   BM_NewListThroughControl   AddToWatchList of the control as the grid's menu runs it: the
//                              owner's lists fetched, the two dialogs answered at once (the
//                              selected rows, a new list at the top, a name), the keys of the
//                              1,000 selected rows read, "NewWatchListAndItems" called, the new
//                              list appended to the lists and announced
//   BM_FacadeCall              "NewWatchListAndItems" alone with the same 1,000 symbols
//
// The lists of the iteration before are removed outside the timing, so that neither case meets a
// growing number of lists. The ratio is the control's own share of the command; times are the CPU
// time of the benchmark's thread.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_market.h"
#include "bench/ratio.h"
#include "control/viewer.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/component_factory.h"
#include "outside/facade_protocol.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/watch_list_dialogs.h"

namespace {

using namespace qv;

constexpr int32_t kOwnerId = facade::kDemoOwnerId + 1;
constexpr int32_t kSelected = 1000;

// The person who answers both dialogs at once, with a name of its own each time.
class AnsweringRunner : public DialogRunner {
  public:
    void ShowModal(ModalDialog& p_oDialog) override {
        if (auto* rows = dynamic_cast<WatchListRowChoice*>(&p_oDialog)) {
            rows->ChooseRows(WatchListRows::Selected);
            rows->NewList(0);
            rows->Confirm();
        } else if (auto* naming = dynamic_cast<NewWatchListNaming*>(&p_oDialog)) {
            naming->SetName("Picked " + std::to_string(++m_lNamed));
            naming->Confirm();
        }
    }

  private:
    int32_t m_lNamed = 0;
};

struct Market {
    PlatformContext context;
    std::unique_ptr<ScopedPlatform> installed;
    std::shared_ptr<facade::FacadeBackend> backend;
    std::shared_ptr<Viewer> viewer = std::make_shared<Viewer>();
    Variant symbols;
};

Market& TheMarket() {
    static Market* market = [] {
        auto* created = new Market;
        const bench::GeneratedMarket generated = bench::GenerateMarket("lists", 1200, 24, 30);
        created->backend = generated.backend;
        created->backend->Login(kOwnerId, "");
        facade::RegisterFacadeComponents(created->context.Components(), created->backend);
        created->context.SetDialogs(std::make_unique<AnsweringRunner>());
        created->installed = std::make_unique<ScopedPlatform>(created->context);

        Viewer& viewer = *created->viewer;
        viewer.SetViewerType(vt_Stocks);
        viewer.SetOwnerId(kOwnerId);
        viewer.SetReturnAll(true);
        viewer.SetStartDate(generated.lastDay);
        viewer.UpdateViewer();
        Recordset& rows = *viewer.olePriGrid()->DataSource();
        if (rows.RecordCount() < kSelected) {
            throw std::runtime_error("the stock list has fewer rows than the benchmark selects");
        }
        const auto selection = viewer.olePriGrid()->SelBookmarks();
        selection->Clear();
        VariantArray symbols = VariantArray::Vector(0, kSelected - 1);
        const int32_t symbol = rows.Fields().IndexOf("Symbol");
        for (int32_t i = 0; i < kSelected; ++i) {
            selection->Add(GridControl::BookmarkOfRowId(rows.ViewRowId(i)));
            symbols.At(i) = rows.ValueAt(rows.ViewRowId(i), symbol);
        }
        created->symbols = Variant(std::move(symbols));
        return created;
    }();
    return *market;
}

// The owner's lists and their items, removed before each iteration.
void RemoveLists(benchmark::State& state, Market& market) {
    state.PauseTiming();
    market.backend->Database().Execute("DELETE FROM watch_lists WHERE owner_id = " +
                                       std::to_string(kOwnerId));
    state.ResumeTiming();
}

int64_t ItemCount(Market& market) {
    facade::SqlStatement count = market.backend->Database().Prepare(
        "SELECT count(*) FROM watch_list_items JOIN watch_lists USING (watch_list_id) "
        "WHERE owner_id = ?1");
    count.BindInt64(1, kOwnerId);
    return count.Step() ? count.ColumnInt64(0) : 0;
}

void BM_NewListThroughControl(benchmark::State& state) {
    Market& market = TheMarket();
    const size_t reports = market.context.Reporter().Reports().size();
    for (auto _ : state) {
        RemoveLists(state, market);
        market.viewer->AddToWatchList();
    }
    if (ItemCount(market) != kSelected || market.context.Reporter().Reports().size() != reports) {
        state.SkipWithError("the list did not hold the selected rows, or a failure was reported");
    }
}
BENCHMARK(BM_NewListThroughControl)->Unit(benchmark::kMillisecond);

void BM_FacadeCall(benchmark::State& state) {
    Market& market = TheMarket();
    namespace call = facade_protocol::new_watch_list_and_items;
    int32_t named = 0;
    for (auto _ : state) {
        RemoveLists(state, market);
        std::array<Variant, call::kCount> args{Variant(0),
                                               market.symbols,
                                               Variant(0),
                                               Variant("Picked " + std::to_string(++named)),
                                               Variant(std::string()),
                                               Variant(kOwnerId)};
        benchmark::DoNotOptimize(CallMethod(
            *CreateObject(facade_protocol::prog_id::kWatchListWriter), call::kMethod, args));
    }
}
BENCHMARK(BM_FacadeCall)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return qv::bench::RunWithRatios(
        argc, argv, {{"watchlist.create.1k", "BM_NewListThroughControl", "BM_FacadeCall", 1.3}});
}
