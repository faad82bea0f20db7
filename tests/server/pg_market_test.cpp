// The facade's components on a PostgreSQL store answer as they do on the embedded SQLite store:
// the same sample market generated into both, the same calls made on each, the answers compared
// as the wire carries them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sql_database.h"
#include "facade/wire_format.h"
#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/variant.h"
#include "pg_test_database.h"
#include "server/pg_schema.h"

namespace qv::server {
namespace {

using facade::FacadeBackend;
using facade::MarketStore;
using test::ScratchSchema;
using test::TestPostgresUrl;
namespace prog_id = facade::prog_id;

const Variant kNone = Variant();
const Variant kNothing = Variant::Nothing();

constexpr facade::SampleMarketOptions kMarket = {
    .m_lStocks = 40, .m_lIndustries = 8, .m_lTradingDays = 80, .m_llSeed = 5};

// One store with the components registered on it and the demo owner logged in.
struct Facade {
    explicit Facade(std::shared_ptr<MarketStore> p_oStore)
        : m_oBackend(std::make_shared<FacadeBackend>(std::move(p_oStore))) {
        facade::GenerateSampleMarket(m_oBackend->Store(), kMarket, {});
        facade::RegisterFacadeComponents(m_oFactory, m_oBackend);
        m_oBackend->Login(facade::kDemoOwnerId, "");
    }

    // The answer as the wire would carry it: the result and every argument after the call, or
    // the error.
    std::string Answer(std::string_view p_sProgId, const std::string& p_sMethod,
                       std::vector<Variant> p_aArgs) {
        facade::WireResponse response;
        try {
            response.m_vResult =
                CallMethod(*m_oFactory.CreateObject(p_sProgId), p_sMethod, p_aArgs);
            response.m_aArgs = std::move(p_aArgs);
        } catch (const AutomationError& error) {
            response.m_oError = error;
        }
        return facade::EncodeResponse(response);
    }

    int64_t Query(const std::string& p_sSql) { return m_oBackend->Database().QueryInt64(p_sSql); }

    std::shared_ptr<FacadeBackend> m_oBackend;
    ComponentFactory m_oFactory;
};

struct Markets {
    explicit Markets(const std::string& p_sUrl)
        : m_oSchema(p_sUrl),
          m_sFile((std::filesystem::temp_directory_path() /
                   ("qv_pg_market_" + std::to_string(getpid()) + ".db"))
                      .string()),
          m_oSqlite(std::make_shared<MarketStore>(m_sFile, MarketStore::Access::ReadWrite)),
          m_oPostgres(OpenPgMarketStore(m_oSchema.Url())) {}
    ~Markets() { std::filesystem::remove(m_sFile); }

    ScratchSchema m_oSchema;
    std::string m_sFile;
    Facade m_oSqlite;
    Facade m_oPostgres;
};

struct CallCase {
    std::string_view m_sProgId;
    std::string m_sMethod;
    std::vector<Variant> m_aArgs;
};

// Where two answers part: the path to the first value that differs, and the two values. Doubles
// may differ in their last bits, as SQLite sums them with compensation and PostgreSQL without.
std::string Difference(const nlohmann::json& p_oLeft, const nlohmann::json& p_oRight,
                       const std::string& p_sPath) {
    if (p_oLeft.is_number_float() || p_oRight.is_number_float()) {
        const double left = p_oLeft.is_number() ? p_oLeft.get<double>() : 0;
        const double right = p_oRight.is_number() ? p_oRight.get<double>() : 0;
        const bool close = std::abs(left - right) <= 1e-12 * std::max(std::abs(left), 1.0);
        return p_oLeft.is_number() && p_oRight.is_number() && close
                   ? ""
                   : p_sPath + ": " + p_oLeft.dump() + " against " + p_oRight.dump();
    }
    if (p_oLeft.type() != p_oRight.type() || p_oLeft.size() != p_oRight.size() ||
        p_oLeft.is_primitive()) {
        return p_oLeft == p_oRight ? ""
                                   : p_sPath + ": " + p_oLeft.dump().substr(0, 300) + "\nagainst " +
                                         p_oRight.dump().substr(0, 300);
    }
    for (auto left = p_oLeft.begin(), right = p_oRight.begin(); left != p_oLeft.end();
         ++left, ++right) {
        const std::string where =
            p_oLeft.is_object() ? p_sPath + "." + left.key()
                                : p_sPath + "[" + std::to_string(left - p_oLeft.begin()) + "]";
        if (std::string found = Difference(*left, *right, where); !found.empty()) {
            return found;
        }
    }
    return "";
}

class PgMarketTest : public testing::Test {
  protected:
    void SetUp() override {
        QV_REQUIRE_POSTGRES(url);
        static Markets s_oMarkets(*url);
        m_oMarkets = &s_oMarkets;
    }

    static std::vector<Variant> StockViewer(int32_t p_lIndCode, int32_t p_lList,
                                            int32_t p_lPortfolio) {
        return {facade::kDemoOwnerId,
                3,
                Variant::Date(0),
                -1,
                false,
                "A",
                kNone,
                kNone,
                kNothing,
                kNothing,
                kNone,
                p_lIndCode,
                0,
                p_lList,
                kNone,
                kNothing,
                p_lPortfolio,
                int16_t{0},
                "",
                kNone};
    }

    std::vector<CallCase> ReadCalls() {
        Facade& sqlite = m_oMarkets->m_oSqlite;
        const int32_t owner = facade::kDemoOwnerId;
        const double last =
            static_cast<double>(sqlite.Query("SELECT max(trade_date) FROM trading_days"));
        const Variant today = Variant::Date(0);
        const Variant start = Variant::Date(last - 20), end = Variant::Date(last);
        const auto list = static_cast<int32_t>(sqlite.Query(
            "SELECT min(watch_list_id) FROM watch_lists WHERE owner_id = 1 AND is_folder = 0"));
        const auto portfolio = static_cast<int32_t>(
            sqlite.Query("SELECT min(portfolio_id) FROM portfolios WHERE owner_id = 1"));
        const std::string symbol = Symbol(0), second = Symbol(1);
        return {
            {prog_id::kViewerReader, "StockViewer", StockViewer(0, 0, 0)},
            {prog_id::kViewerReader, "StockViewer", StockViewer(1, 0, 0)},
            {prog_id::kViewerReader, "StockViewer", StockViewer(0, list, 0)},
            {prog_id::kViewerReader, "StockViewer", StockViewer(0, 0, portfolio)},
            {prog_id::kViewerReader,
             "IndustryViewer",
             {owner, today, -1, false, "A", kNone, kNone, kNothing, kNothing, kNone, 0, 0, 0,
              kNothing, kNone, "", kNone}},
            {prog_id::kViewerReader,
             "SectorViewer",
             {owner, today, -1, false, "A", kNone, kNothing, kNone, kNothing, "", kNone}},
            {prog_id::kViewerReader,
             "SearchStocks",
             {owner, 3, today, -1, "a", int16_t{0}, int16_t{0}, kNone, kNone, kNothing, kNothing,
              kNone, 0, 0, 0}},
            {prog_id::kViewerReader,
             "HistoryIndustryEX",
             {end, start, 1, kNone, kNothing, owner, -1, false}},
            {prog_id::kViewerReader, "SearchCompanyName", {"A", 0, 0, list, "", owner}},
            {prog_id::kViewerReader, "GetLayout", {owner, 3}},
            {prog_id::kWatchListReader, "GetWatchLists", {owner, 0}},
            {prog_id::kScreens, "GetScreens", {owner}},
            {prog_id::kScreens, "CheckScreen", {owner, 1, "PctAdvancing >= 50", today, kNone}},
            {prog_id::kViewerReader, "RunScreen", {owner, 1, kNone, today, 10}},
            {prog_id::kViewerReader, "RunScreen", {owner, 2, kNone, today, 10}},
            {prog_id::kPortfolioReader, "GetPortfolios", {owner}},
            {prog_id::kPortfolioReader,
             "GetCurrentHoldings",
             {portfolio, owner, kNone, true, kNothing, kNone, true, kNothing}},
            {prog_id::kPortfolioWriter, "GetTrades", {owner, portfolio}},
            {prog_id::kViewerReader,
             "HistoryStockEX",
             {end, start, symbol, kNone, kNothing, owner, -1, false}},
            {prog_id::kPages, "SectorDetail", {1, today, kNothing}},
            {prog_id::kPages, "IndustryDetail", {1, today, kNothing}},
            {prog_id::kPages, "StockDetail", {symbol, today}},
            {prog_id::kPages, "ChartSeries", {0, symbol + "," + second, last - 30, last, true}},
            {prog_id::kPages, "ChartSeries", {1, "1,2", last - 30, last, true}},
            {prog_id::kPages,
             "QuickTest",
             {0, symbol, last - 30, last, kNothing, kNone, kNone, kNone, kNone, kNone, kNone}},
            {prog_id::kPages, "Dividends", {symbol}},
            {prog_id::kPages, "WatchListMembers", {owner, list, kNone, kNone}},
            {prog_id::kPages, "InvestmentDetails", {owner, portfolio, symbol, today, kNothing}},
        };
    }

    // Writes of the demo owner, made in this order on each store.
    std::vector<CallCase> WriteCalls() {
        const int32_t owner = facade::kDemoOwnerId;
        const double last = static_cast<double>(
            m_oMarkets->m_oSqlite.Query("SELECT max(trade_date) FROM trading_days"));
        const std::string symbol = Symbol(0);
        Variant items = VariantArray::Vector(0, 1);
        items.Array().At(0) = symbol;
        items.Array().At(1) = Symbol(1);
        const std::vector<Variant> trade{owner, 0,     0,     symbol, Variant::Date(last),
                                         0.0,   10.0,  5.0,   false,  50.0,
                                         30.0,  kNone, kNone, 0};
        return {
            {prog_id::kWatchListWriter, "NewWatchListAndItems", {0, items, 0, "Mine", "", owner}},
            {prog_id::kWatchListWriter, "NewWatchListFolder", {0, 0, "Folder", owner}},
            {prog_id::kWatchListReader, "GetWatchLists", {owner, 0}},
            {prog_id::kScreens, "SaveScreen", {owner, 0, "Mine", 0, "RSRank >= 80"}},
            {prog_id::kScreens, "SaveScreen", {owner, 0, "MINE", 0, "RSRank >= 70"}},
            {prog_id::kScreens, "GetScreens", {owner}},
            {prog_id::kPortfolioWriter, "NewPortfolio", {owner, "Kept"}},
            {prog_id::kPortfolioWriter, "NewPortfolio", {owner, "kept"}},
            {prog_id::kPortfolioWriter, "SaveTrade", trade},
            {prog_id::kPortfolioWriter,
             "ImportTrades",
             {owner, 0, "Symbol,BuyDate,Shares,Price\n" + symbol + ",2026-11-02,5,12.5", true}},
            {prog_id::kPortfolioReader, "GetPortfolios", {owner}},
            {prog_id::kViewerWriter, "RestoreDefaultLayout", {owner, 0, -1, true}},
            {prog_id::kViewerReader, "StockViewer", StockViewer(0, 0, 0)},
        };
    }

    std::string Symbol(int p_lSkip) {
        facade::SqlStatement query = m_oMarkets->m_oSqlite.m_oBackend->Database().Prepare(
            "SELECT symbol FROM stocks ORDER BY stock_id LIMIT 1 OFFSET ?1");
        query.BindInt64(1, p_lSkip);
        return query.Step() ? query.ColumnText(0) : "";
    }

    void ExpectSameAnswers(const std::vector<CallCase>& p_aCalls) {
        for (const CallCase& call : p_aCalls) {
            const std::string expected =
                m_oMarkets->m_oSqlite.Answer(call.m_sProgId, call.m_sMethod, call.m_aArgs);
            const std::string actual =
                m_oMarkets->m_oPostgres.Answer(call.m_sProgId, call.m_sMethod, call.m_aArgs);
            const std::string difference = Difference(nlohmann::json::parse(expected),
                                                      nlohmann::json::parse(actual), "answer");
            if (!difference.empty()) {
                ADD_FAILURE() << call.m_sMethod << " answers otherwise at " << difference;
            }
        }
    }

    Markets* m_oMarkets = nullptr;
};

// The first column of every row, as text.
std::vector<std::string> Texts(facade::SqlDatabase& p_oDatabase, const std::string& p_sSql,
                               const std::optional<std::string>& p_sBinding = std::nullopt) {
    facade::SqlStatement query = p_oDatabase.Prepare(p_sSql);
    if (p_sBinding) {
        query.BindText(1, *p_sBinding);
    }
    std::vector<std::string> texts;
    while (query.Step()) {
        texts.push_back(query.ColumnText(0));
    }
    return texts;
}

TEST_F(PgMarketTest, TheSchemaHasTheEmbeddedStoresTablesColumnsAndIndexes) {
    facade::SqlDatabase& sqlite = m_oMarkets->m_oSqlite.m_oBackend->Database();
    facade::SqlDatabase& postgres = m_oMarkets->m_oPostgres.m_oBackend->Database();
    const auto sqliteTables =
        Texts(sqlite,
              "SELECT name FROM sqlite_schema WHERE type IN ('table', 'view') "
              "AND name <> 'schema_version' AND name <> ?1 ORDER BY name",
              "");
    const auto postgresTables =
        Texts(postgres,
              "SELECT table_name FROM information_schema.tables WHERE table_schema = "
              "current_schema() AND table_name <> 'schema_migrations' "
              "ORDER BY table_name COLLATE \"C\"");
    EXPECT_EQ(postgresTables, sqliteTables);
    for (const std::string& table : sqliteTables) {
        EXPECT_EQ(Texts(postgres,
                        "SELECT column_name FROM information_schema.columns WHERE table_schema = "
                        "current_schema() AND table_name = ?1 ORDER BY ordinal_position",
                        table),
                  Texts(sqlite, "SELECT name FROM pragma_table_xinfo(?1) ORDER BY cid", table))
            << table;
    }
    EXPECT_EQ(Texts(postgres,
                    "SELECT indexname FROM pg_indexes WHERE schemaname = current_schema() AND "
                    "indexdef NOT LIKE '%UNIQUE%' ORDER BY indexname COLLATE \"C\""),
              Texts(sqlite,
                    "SELECT name FROM sqlite_schema WHERE type = 'index' AND sql IS NOT NULL AND "
                    "sql NOT LIKE '%UNIQUE%' ORDER BY name"));
}

TEST_F(PgMarketTest, ReadCallsAnswerAsOnTheEmbeddedStore) {
    ExpectSameAnswers(ReadCalls());
}

TEST_F(PgMarketTest, WritesAnswerAsOnTheEmbeddedStore) {
    ExpectSameAnswers(WriteCalls());
}

}  // namespace
}  // namespace qv::server
