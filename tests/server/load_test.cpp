// Sixteen viewers on loopback against one facade server for a while ($QV_LOAD_SECONDS, 30 by
// default), each logged in as an owner of its own and making the mix of a desk: the market's
// stock and industry lists, searches, and watch-list writes, each write read back at once. No call
// may fail and no write may be lost: at the end every list holds exactly what was added to it.
// The calls' latencies are printed (p50, p99, the slowest), never asserted.
//
// The server runs on PostgreSQL when $QV_TEST_POSTGRES names one (scripts/test starts a throwaway
// cluster), else on a market file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/remote_connection.h"
#include "facade/sample_market.h"
#include "facade/session_store.h"
#include "outside/automation_error.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "server/facade_server.h"
#include "server/password_hash.h"
#include "test_market_database.h"

namespace qv::server {
namespace {

namespace fp = facade_protocol;
namespace prog_id = facade_protocol::prog_id;

constexpr int kClients = 16;
constexpr int32_t kFirstOwner = 701;
constexpr int32_t kStocks = 300;

int LoadSeconds() {
    const char* text = std::getenv("QV_LOAD_SECONDS");
    return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : 30;
}

std::string PasswordOf(int32_t p_lOwnerId) {
    return "load-" + std::to_string(p_lOwnerId);
}

// What one viewer did: the latency of every call, the failures, and the symbols it added to
// each of its watch lists.
struct ClientRecord {
    std::vector<double> m_aMilliseconds;
    std::vector<std::string> m_aFailures;
    std::vector<std::pair<int32_t, std::vector<std::string>>> m_aLists;
    int64_t m_llLostWrites = 0;
};

class LoadClient {
  public:
    LoadClient(const std::string& p_sServer, int32_t p_lOwnerId,
               const std::vector<std::string>& p_aSymbols)
        : m_oConnection(std::make_shared<facade::RemoteConnection>(p_sServer)),
          m_lOwnerId(p_lOwnerId),
          m_aSymbols(p_aSymbols),
          m_oRandom(static_cast<uint32_t>(p_lOwnerId)) {
        m_oConnection->Login("load" + std::to_string(p_lOwnerId), PasswordOf(p_lOwnerId));
    }

    void RunUntil(std::chrono::steady_clock::time_point p_oEnd) {
        while (std::chrono::steady_clock::now() < p_oEnd) {
            Step();
        }
        CheckEveryList();
    }

    ClientRecord& Record() { return m_oRecord; }

  private:
    void Step() {
        switch (std::uniform_int_distribution<int>(0, 9)(m_oRandom)) {
            case 0:
            case 1:
            case 2:
            case 3:
                Timed("StockViewer", [&] { StockList(); });
                break;
            case 4:
                Timed("IndustryViewer", [&] { IndustryList(); });
                break;
            case 5:
                Timed("SearchStocks", [&] { Search(); });
                break;
            default:
                WriteAndReadBack();
                break;
        }
    }

    template <class Work>
    bool Timed(const char* p_sWhat, Work p_fnWork) {
        const auto start = std::chrono::steady_clock::now();
        try {
            p_fnWork();
        } catch (const AutomationError& error) {
            m_oRecord.m_aFailures.push_back(std::string(p_sWhat) + ": " + error.Description());
            return false;
        }
        m_oRecord.m_aMilliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        return true;
    }

    Variant Call(std::string_view p_sProgId, std::string_view p_sMethod,
                 std::vector<Variant>& p_aArgs) {
        return m_oConnection->Call(p_sProgId, p_sMethod, p_aArgs);
    }

    void StockList() {
        namespace sv = fp::stock_viewer;
        std::vector<Variant> args(sv::kCount);
        args[sv::kOwnerId.Position] = m_lOwnerId;
        args[sv::kLayoutId.Position] = 3;
        args[sv::kStartDate.Position] = Variant::Date(0);
        args[sv::kMaxRows.Position] = -1;
        args[sv::kReturnAll.Position] = false;
        args[sv::kAvgType.Position] = "A";
        args[sv::kRows.Position] = Variant::Nothing();
        args[sv::kSecondaryRows.Position] = Variant::Nothing();
        args[sv::kParameterList.Position] = Variant::Nothing();
        args[sv::kTimeCode.Position] = m_oConnection->TimeCode();
        Call(prog_id::kViewerReader, sv::kMethod, args);
        const auto rows = args[sv::kRows.Position].ToObjectAs<Recordset>();
        if (!rows || rows->RecordCount() != kStocks) {
            Fail("StockViewer answered " + std::to_string(rows ? rows->RecordCount() : -1) +
                 " rows");
        }
        if (args[sv::kLoginConflict.Position].ToBool()) {
            Fail("StockViewer reported a login conflict");
        }
    }

    void IndustryList() {
        namespace iv = fp::industry_viewer;
        std::vector<Variant> args(iv::kCount);
        args[iv::kOwnerId.Position] = m_lOwnerId;
        args[iv::kStartDate.Position] = Variant::Date(0);
        args[iv::kMaxRows.Position] = -1;
        args[iv::kReturnAll.Position] = false;
        args[iv::kAvgType.Position] = "A";
        args[iv::kRows.Position] = Variant::Nothing();
        args[iv::kSecondaryRows.Position] = Variant::Nothing();
        args[iv::kParameterList.Position] = Variant::Nothing();
        args[iv::kTimeCode.Position] = m_oConnection->TimeCode();
        Call(prog_id::kViewerReader, iv::kMethod, args);
    }

    void Search() {
        namespace ss = fp::search_stocks;
        std::vector<Variant> args(ss::kCount);
        args[ss::kOwnerId.Position] = m_lOwnerId;
        args[ss::kLayoutId.Position] = 3;
        args[ss::kStartDate.Position] = Variant::Date(0);
        args[ss::kMaxRows.Position] = -1;
        args[ss::kSearchText.Position] = m_aSymbols[Pick()].substr(0, 1);
        args[ss::kSearchOpt1.Position] = int16_t{0};
        args[ss::kSearchOpt2.Position] = int16_t{0};
        args[ss::kRows.Position] = Variant::Nothing();
        args[ss::kSecondaryRows.Position] = Variant::Nothing();
        Call(prog_id::kViewerReader, ss::kMethod, args);
    }

    // Adds the next symbol to the client's current list (a new list once one holds every
    // symbol), then reads the list back: the symbol must be there at once.
    void WriteAndReadBack() {
        const std::string symbol = m_aSymbols[m_lNextSymbol % m_aSymbols.size()];
        const bool newList = m_oRecord.m_aLists.empty() || m_lNextSymbol % m_aSymbols.size() == 0;
        const bool written = Timed(newList ? "NewWatchListAndItems" : "AddWatchListItems", [&] {
            if (newList) {
                namespace nl = fp::new_watch_list_and_items;
                std::vector<Variant> args{0,  Items(symbol),
                                          0,  "Load " + std::to_string(m_oRecord.m_aLists.size()),
                                          "", m_lOwnerId};
                const int32_t id = Call(prog_id::kWatchListWriter, nl::kMethod, args).ToLong();
                m_oRecord.m_aLists.push_back({id, {}});
                return;
            }
            namespace al = fp::add_watch_list_items;
            std::vector<Variant> args{m_oRecord.m_aLists.back().first, Items(symbol), 0,
                                      m_lOwnerId};
            Call(prog_id::kWatchListWriter, al::kMethod, args);
        });
        if (!written) {
            return;
        }
        ++m_lNextSymbol;
        m_oRecord.m_aLists.back().second.push_back(symbol);
        Timed("WatchListMembers", [&] {
            const std::vector<std::string> members = Members(m_oRecord.m_aLists.back().first);
            if (std::find(members.begin(), members.end(), symbol) == members.end()) {
                ++m_oRecord.m_llLostWrites;
            }
        });
    }

    void CheckEveryList() {
        for (auto& [id, symbols] : m_oRecord.m_aLists) {
            Timed("WatchListMembers", [&] {
                std::vector<std::string> members = Members(id);
                std::vector<std::string> expected = symbols;
                std::sort(members.begin(), members.end());
                std::sort(expected.begin(), expected.end());
                if (members != expected) {
                    ++m_oRecord.m_llLostWrites;
                }
            });
        }
    }

    std::vector<std::string> Members(int32_t p_lListId) {
        namespace wm = fp::watch_list_members;
        std::vector<Variant> args{m_lOwnerId, p_lListId, Variant(), Variant()};
        const std::string codes = Call(prog_id::kPages, wm::kMethod, args).ToString();
        return codes.empty() ? std::vector<std::string>{} : SplitText(codes, ',');
    }

    static Variant Items(const std::string& p_sSymbol) {
        return VariantArray::Vector({Variant(p_sSymbol)});
    }

    size_t Pick() {
        return std::uniform_int_distribution<size_t>(0, m_aSymbols.size() - 1)(m_oRandom);
    }

    [[noreturn]] void Fail(const std::string& p_sWhat) {
        throw AutomationError(facade::kFacadeErrorNumber, "load test", p_sWhat);
    }

    std::shared_ptr<facade::RemoteConnection> m_oConnection;
    int32_t m_lOwnerId;
    const std::vector<std::string>& m_aSymbols;
    std::mt19937 m_oRandom;
    size_t m_lNextSymbol = 0;
    ClientRecord m_oRecord;
};

double Percentile(const std::vector<double>& p_aSorted, double p_dFraction) {
    if (p_aSorted.empty()) {
        return 0;
    }
    const auto at = static_cast<size_t>(p_dFraction * static_cast<double>(p_aSorted.size() - 1));
    return p_aSorted[at];
}

TEST(FacadeServerLoad, SixteenViewersWorkAtOnceWithoutAFailedCallOrALostWrite) {
    test::TestMarketDatabase database("load");
    std::vector<std::string> symbols;
    {
        const std::shared_ptr<facade::MarketStore> store = database.Open();
        facade::GenerateSampleMarket(
            *store, {.m_lStocks = kStocks, .m_lIndustries = 30, .m_lTradingDays = 60}, {});
        facade::OwnerStore owners(store->Database());
        facade::SessionStore accounts(store->Database());
        for (int32_t owner = kFirstOwner; owner < kFirstOwner + kClients; ++owner) {
            owners.PutOwner(owner, "load" + std::to_string(owner));
            accounts.SetPasswordHash(owner, HashPassword(PasswordOf(owner), PasswordCost::Minimal));
        }
        facade::SqlStatement query =
            store->Database().Prepare("SELECT symbol FROM stocks ORDER BY stock_id");
        while (query.Step()) {
            symbols.push_back(query.ColumnText(0));
        }
    }

    FacadeServerOptions options;
    options.m_lPort = 0;
    options.m_lThreads = kClients;
    FacadeServer server([&database] { return database.Open(); }, options);
    const std::string address = "http://127.0.0.1:" + std::to_string(server.Bind());
    std::thread serving([&server] { server.Serve(); });

    std::vector<std::unique_ptr<LoadClient>> clients;
    for (int32_t owner = kFirstOwner; owner < kFirstOwner + kClients; ++owner) {
        clients.push_back(std::make_unique<LoadClient>(address, owner, symbols));
    }
    const int seconds = LoadSeconds();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    for (const std::unique_ptr<LoadClient>& client : clients) {
        threads.emplace_back([&client, end] { client->RunUntil(end); });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    server.Stop();
    serving.join();

    std::vector<double> latencies;
    std::vector<std::string> failures;
    int64_t lost = 0;
    int64_t lists = 0;
    for (const std::unique_ptr<LoadClient>& client : clients) {
        ClientRecord& record = client->Record();
        latencies.insert(latencies.end(), record.m_aMilliseconds.begin(),
                         record.m_aMilliseconds.end());
        failures.insert(failures.end(), record.m_aFailures.begin(), record.m_aFailures.end());
        lost += record.m_llLostWrites;
        lists += static_cast<int64_t>(record.m_aLists.size());
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf(
        "LOAD %s: %d clients, %d s, %zu calls (%.0f a second), %lld watch lists written, "
        "p50 %.1f ms, p99 %.1f ms, slowest %.1f ms\n",
        database.IsPostgres() ? "PostgreSQL" : "market file", kClients, seconds, latencies.size(),
        static_cast<double>(latencies.size()) / seconds, static_cast<long long>(lists),
        Percentile(latencies, 0.5), Percentile(latencies, 0.99),
        latencies.empty() ? 0.0 : latencies.back());
    EXPECT_TRUE(failures.empty()) << failures.size()
                                  << " calls failed, the first: " << failures.front();
    EXPECT_EQ(lost, 0) << "writes not read back";
    EXPECT_GT(latencies.size(), static_cast<size_t>(kClients));
}

}  // namespace
}  // namespace qv::server
