// The market database a server test serves: a schema of its own on the PostgreSQL server of
// $QV_TEST_POSTGRES when the tests were given one, else a market file in a scratch folder.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "pg_test_database.h"

namespace qv::facade {
class MarketStore;
}

namespace qv::server::test {

class TestMarketDatabase {
  public:
    // p_sName names the scratch folder of a market file.
    explicit TestMarketDatabase(const std::string& p_sName);
    ~TestMarketDatabase();
    TestMarketDatabase(const TestMarketDatabase&) = delete;
    TestMarketDatabase& operator=(const TestMarketDatabase&) = delete;

    bool IsPostgres() const { return m_oSchema.has_value(); }
    // A new connection to the database, its schema made current.
    std::shared_ptr<facade::MarketStore> Open() const;

  private:
    std::optional<ScratchSchema> m_oSchema;
    std::filesystem::path m_oFolder;
};

}  // namespace qv::server::test
