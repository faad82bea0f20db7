#include "server/pg_schema.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "facade/market_command.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "pg_test_database.h"
#include "server/pg_database.h"

namespace qv::server {
namespace {

using facade::FacadeError;
using facade::SqlStatement;

using PgSchemaTest = test::ScratchDatabaseTest;

TEST_F(PgSchemaTest, ANewDatabaseTakesTheLatestSchemaOnceWithItsShippedRows) {
    EXPECT_EQ(PgSchemaVersion(Db()), 0);
    MigratePgSchema(Db());
    MigratePgSchema(Db());
    EXPECT_EQ(PgSchemaVersion(Db()), LatestPgSchemaVersion());
    EXPECT_EQ(Db().QueryInt64("SELECT count(*) FROM schema_migrations"), 2);
    EXPECT_EQ(Db().QueryInt64("SELECT count(*) FROM owners WHERE owner_id = 0 AND name = 'system' "
                              "AND password_hash IS NULL"),
              1);
    EXPECT_EQ(Db().QueryInt64("SELECT count(*) FROM screens WHERE owner_id = 0"), 6);
}

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

// The two stores share their SQL, so a table, column or index one of them lacks is a query that
// fails on it.
TEST_F(PgSchemaTest, TheSchemaHasTheEmbeddedStoresTablesColumnsAndIndexes) {
    MigratePgSchema(Db());
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("qv_pg_schema_" + std::to_string(::getpid()) + ".db");
    std::shared_ptr<facade::MarketStore> store =
        facade::OpenMarketFile(file.string(), facade::MarketStore::Access::ReadWrite);
    facade::SqlDatabase& sqlite = store->Database();
    const auto sqliteTables =
        Texts(sqlite,
              "SELECT name FROM sqlite_schema WHERE type IN ('table', 'view') "
              "AND name <> 'schema_version' ORDER BY name");
    const auto postgresTables =
        Texts(Db(),
              "SELECT table_name FROM information_schema.tables WHERE table_schema = "
              "current_schema() AND table_name <> 'schema_migrations' "
              "ORDER BY table_name COLLATE \"C\"");
    EXPECT_EQ(postgresTables, sqliteTables);
    for (const std::string& table : sqliteTables) {
        EXPECT_EQ(Texts(Db(),
                        "SELECT column_name FROM information_schema.columns WHERE table_schema = "
                        "current_schema() AND table_name = ?1 ORDER BY ordinal_position",
                        table),
                  Texts(sqlite, "SELECT name FROM pragma_table_xinfo(?1) ORDER BY cid", table))
            << table;
    }
    EXPECT_EQ(Texts(Db(),
                    "SELECT indexname FROM pg_indexes WHERE schemaname = current_schema() AND "
                    "indexdef NOT LIKE '%UNIQUE%' ORDER BY indexname COLLATE \"C\""),
              Texts(sqlite,
                    "SELECT name FROM sqlite_schema WHERE type = 'index' AND sql IS NOT NULL AND "
                    "sql NOT LIKE '%UNIQUE%' ORDER BY name"));
    store.reset();
    std::filesystem::remove(file);
}

TEST_F(PgSchemaTest, ADatabaseOfANewerSchemaIsRefusedAndLeftAlone) {
    MigratePgSchema(Db());
    const int newer = LatestPgSchemaVersion() + 1;
    Db().Execute("INSERT INTO schema_migrations (version) VALUES (" + std::to_string(newer) + ")");
    try {
        MigratePgSchema(Db());
        FAIL() << "a newer schema was taken";
    } catch (const FacadeError& error) {
        EXPECT_NE(error.Message().find("newer version"), std::string::npos) << error.Message();
    }
    EXPECT_EQ(PgSchemaVersion(Db()), newer);
}

TEST_F(PgSchemaTest, ServersStartingTogetherMigrateOnce) {
    std::vector<std::string> failures(4);
    std::vector<std::thread> servers;
    for (std::string& failure : failures) {
        servers.emplace_back([this, &failure] {
            try {
                PgDatabase database(m_oSchema->Url());
                MigratePgSchema(database);
            } catch (const FacadeError& error) {
                failure = error.what();
            }
        });
    }
    for (std::thread& server : servers) {
        server.join();
    }
    for (const std::string& failure : failures) {
        EXPECT_EQ(failure, "");
    }
    EXPECT_EQ(Db().QueryInt64("SELECT count(*) FROM schema_migrations"), 2);
    EXPECT_EQ(Db().QueryInt64("SELECT count(*) FROM screens"), 6);
}

}  // namespace
}  // namespace qv::server
