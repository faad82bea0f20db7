#include "server/pg_schema.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "facade/sqlite_database.h"
#include "pg_test_database.h"
#include "server/pg_database.h"

namespace qv::server {
namespace {

using facade::FacadeError;
using facade::SqlStatement;
using test::ScratchSchema;
using test::TestPostgresUrl;

class PgSchemaTest : public testing::Test {
  protected:
    void SetUp() override {
        QV_REQUIRE_POSTGRES(url);
        m_oSchema = std::make_unique<ScratchSchema>(*url);
        m_oDatabase = std::make_unique<PgDatabase>(m_oSchema->Url());
    }

    PgDatabase& Db() { return *m_oDatabase; }

    std::unique_ptr<ScratchSchema> m_oSchema;
    std::unique_ptr<PgDatabase> m_oDatabase;
};

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
