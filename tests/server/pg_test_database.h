// A schema of its own on the PostgreSQL server the tests are given ($QV_TEST_POSTGRES, a URL such
// as scripts/pg-cluster prints), so that tests neither see each other's tables nor leave theirs
// behind. Without the variable the tests that need a server are skipped.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "server/pg_database.h"

namespace qv::server::test {

// The server's URL, when the tests were given one.
std::optional<std::string> TestPostgresUrl();

class ScratchSchema {
  public:
    // Creates the schema; p_sBaseUrl names the server.
    explicit ScratchSchema(const std::string& p_sBaseUrl);
    ~ScratchSchema();
    ScratchSchema(const ScratchSchema&) = delete;
    ScratchSchema& operator=(const ScratchSchema&) = delete;

    // A URL whose connections find their tables in this schema, whenever they connect.
    const std::string& Url() const { return m_sUrl; }
    // A connection outside the schema, for what a test does to the others (ending them).
    PgDatabase& Admin() { return m_oAdmin; }

  private:
    PgDatabase m_oAdmin;
    std::string m_sSchema;
    std::string m_sUrl;
};

}  // namespace qv::server::test

// Skips the test unless $QV_TEST_POSTGRES names a server.
#define QV_REQUIRE_POSTGRES(url)                                    \
    const std::optional<std::string> url = TestPostgresUrl();       \
    if (!url) {                                                     \
        GTEST_SKIP() << "set QV_TEST_POSTGRES to a PostgreSQL URL"; \
    }

namespace qv::server::test {

// A test on a scratch schema of its own, with one connection to it; skipped without a server.
class ScratchDatabaseTest : public testing::Test {
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

}  // namespace qv::server::test
