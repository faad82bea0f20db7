// The facade through its server against the facade in the viewer's own process, on a generated
// market of 5,000 stocks:
//
//   embedded_stocklist_5k   "StockViewer" for the whole 5,000-stock list (every row, the industry
//                           groups below), on components registered in this process
//   remote_stocklist_5k     the same call through the remote proxies to qorvant-facade-server's
//                           front on loopback: the message encoded, served by a worker of the
//                           server on the same store, the rows decoded back into recordsets
//
// and, as a figure of its own, how the server serves viewers at once:
//
//   remote.scale.16         the wall time of 16 viewers each making N calls at the same time,
//                           divided by 16 times the wall time of one viewer making N calls
//                           (1 for a server that serves one call at a time; lower is better)
//
// The server's store is the PostgreSQL database $QV_BENCH_POSTGRES names (a cluster of
// scripts/pg-cluster; the market is generated into it when it is empty, and a second run reuses
// it), else the market file the embedded calls use. Times are wall times: the
// server's work happens on its own threads.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_market.h"
#include "bench/ratio.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_command.h"
#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/remote_connection.h"
#include "facade/sample_market.h"
#include "facade/session_store.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "server/facade_server.h"
#include "server/password_hash.h"
#include "server/pg_schema.h"

namespace {

using namespace qv;
namespace sv = facade_protocol::stock_viewer;
namespace prog_id = facade_protocol::prog_id;

constexpr int32_t kStocks = 5000;
constexpr int kViewers = 16;
constexpr int kScaleCalls = 40;
constexpr int32_t kScaleRows = 100;
constexpr char kPassword[] = "bench";

struct Setup {
    bench::GeneratedMarket m_oMarket;
    std::string m_sServerStore;
    std::unique_ptr<server::FacadeServer> m_oServer;
    std::thread m_oServing;
    std::string m_sAddress;
    ComponentFactory m_oEmbedded;

    ~Setup() {
        if (m_oServer) {
            m_oServer->Stop();
            m_oServing.join();
        }
    }
};

std::shared_ptr<facade::MarketStore> OpenServerStore(const Setup& p_oSetup) {
    if (p_oSetup.m_sServerStore.empty()) {
        return facade::OpenMarketFile(p_oSetup.m_oMarket.store->Name(),
                                      facade::MarketStore::Access::ReadWrite);
    }
    return server::OpenPgMarketStore(p_oSetup.m_sServerStore);
}

// Owners 1..16 get the bench's password, in whichever store the server uses.
void AddViewers(facade::MarketStore& p_oStore) {
    facade::SessionStore accounts(p_oStore.Database());
    for (int32_t owner = 1; owner <= kViewers; ++owner) {
        facade::OwnerStore(p_oStore.Database()).PutOwner(owner, "viewer" + std::to_string(owner));
        accounts.SetPasswordHash(owner,
                                 server::HashPassword(kPassword, server::PasswordCost::Minimal));
    }
}

Setup& TheSetup() {
    static Setup* s_oSetup = [] {
        auto* setup = new Setup;
        setup->m_oMarket = bench::GenerateMarket("remote", kStocks, 150, 260);
        if (const char* url = std::getenv("QV_BENCH_POSTGRES"); url != nullptr && *url != '\0') {
            setup->m_sServerStore = url;
            const auto store = server::OpenPgMarketStore(url);
            if (store->Database().QueryInt64("SELECT count(*) FROM stocks") == 0) {
                facade::GenerateSampleMarket(
                    *store, {.m_lStocks = kStocks, .m_lIndustries = 150, .m_lTradingDays = 260},
                    {});
            }
        }
        AddViewers(*OpenServerStore(*setup));
        facade::RegisterFacadeComponents(setup->m_oEmbedded, setup->m_oMarket.backend);
        setup->m_oMarket.backend->Login(1, "");
        server::FacadeServerOptions options;
        options.m_lPort = 0;
        options.m_lThreads = kViewers;
        setup->m_oServer = std::make_unique<server::FacadeServer>(
            [setup] { return OpenServerStore(*setup); }, options);
        setup->m_sAddress = "http://127.0.0.1:" + std::to_string(setup->m_oServer->Bind());
        setup->m_oServing = std::thread([setup] { setup->m_oServer->Serve(); });
        std::printf("server store: %s\n", setup->m_sServerStore.empty()
                                              ? "the market file"
                                              : setup->m_sServerStore.c_str());
        return setup;
    }();
    return *s_oSetup;
}

std::vector<Variant> StockListArgs(int32_t p_lOwnerId, int32_t p_lMaxRows, bool p_bReturnAll) {
    std::vector<Variant> args(sv::kCount);
    args[sv::kOwnerId.Position] = p_lOwnerId;
    args[sv::kLayoutId.Position] = 3;
    args[sv::kStartDate.Position] = Variant::Date(0);
    args[sv::kMaxRows.Position] = p_lMaxRows;
    args[sv::kReturnAll.Position] = p_bReturnAll;
    args[sv::kAvgType.Position] = "A";
    args[sv::kRows.Position] = Variant::Nothing();
    args[sv::kSecondaryRows.Position] = Variant::Nothing();
    args[sv::kParameterList.Position] = Variant::Nothing();
    return args;
}

void CheckRows(benchmark::State& p_oState, const std::vector<Variant>& p_aArgs, int32_t p_lRows) {
    const auto rows = p_aArgs[sv::kRows.Position].ToObjectAs<Recordset>();
    if (!rows || rows->RecordCount() != p_lRows) {
        p_oState.SkipWithError("the list did not answer every row");
    }
}

void EmbeddedStockList(benchmark::State& p_oState) {
    Setup& setup = TheSetup();
    for (auto _ : p_oState) {
        std::vector<Variant> args = StockListArgs(1, -1, true);
        const auto start = std::chrono::steady_clock::now();
        CallMethod(*setup.m_oEmbedded.CreateObject(prog_id::kViewerReader), sv::kMethod, args);
        p_oState.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        CheckRows(p_oState, args, kStocks);
    }
}

void RemoteStockList(benchmark::State& p_oState) {
    Setup& setup = TheSetup();
    facade::RemoteConnection connection(setup.m_sAddress);
    connection.Login("viewer1", kPassword);
    for (auto _ : p_oState) {
        std::vector<Variant> args = StockListArgs(1, -1, true);
        args[sv::kTimeCode.Position] = connection.TimeCode();
        const auto start = std::chrono::steady_clock::now();
        connection.Call(prog_id::kViewerReader, sv::kMethod, args);
        p_oState.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        CheckRows(p_oState, args, kStocks);
    }
}

// The wall time of p_lViewers viewers, each logged in as an owner of its own, making kScaleCalls
// calls of a 100-row list at the same time.
double ViewersSeconds(int p_lViewers) {
    Setup& setup = TheSetup();
    std::vector<std::unique_ptr<facade::RemoteConnection>> connections;
    for (int viewer = 1; viewer <= p_lViewers; ++viewer) {
        connections.push_back(std::make_unique<facade::RemoteConnection>(setup.m_sAddress));
        connections.back()->Login("viewer" + std::to_string(viewer), kPassword);
    }
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (int viewer = 0; viewer < p_lViewers; ++viewer) {
        threads.emplace_back([&connections, viewer] {
            facade::RemoteConnection& connection = *connections[static_cast<size_t>(viewer)];
            for (int call = 0; call < kScaleCalls; ++call) {
                std::vector<Variant> args = StockListArgs(viewer + 1, kScaleRows, false);
                args[sv::kTimeCode.Position] = connection.TimeCode();
                connection.Call(prog_id::kViewerReader, sv::kMethod, args);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The better of three runs of each, so that a moment of another process's work on a shared
// machine does not decide the figure.
double ScaleRatio() {
    double one = 1e9;
    double sixteen = 1e9;
    for (int run = 0; run < 3; ++run) {
        one = std::min(one, ViewersSeconds(1));
        sixteen = std::min(sixteen, ViewersSeconds(kViewers));
    }
    std::printf("remote.scale.16: one viewer %.3f s, %d viewers %.3f s for %d calls each\n", one,
                kViewers, sixteen, kScaleCalls);
    return sixteen / (kViewers * one);
}

}  // namespace

int main(int argc, char** argv) {
    // Each list case runs five times and counts by its median run: the remote one waits on three
    // processes, which a moment of other work on a shared machine holds up more than the one.
    benchmark::RegisterBenchmark("embedded_stocklist_5k", EmbeddedStockList)
        ->UseManualTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("remote_stocklist_5k", RemoteStockList)
        ->UseManualTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
    int status =
        bench::RunWithRatios(argc, argv,
                             {{"remote.stocklist.5k", "remote_stocklist_5k/repeats:5/manual_time",
                               "embedded_stocklist_5k/repeats:5/manual_time", 3}});
    const double scale = ScaleRatio();
    bench::PrintRatio("remote.scale.16", scale, 0.6);
    if (scale > 0.6) {
        status = 1;
    }
    return status;
}
