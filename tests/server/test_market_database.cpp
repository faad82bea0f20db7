#include "test_market_database.h"

#include <unistd.h>

#include "facade/market_command.h"
#include "facade/market_store.h"
#include "server/pg_schema.h"

namespace qv::server::test {

TestMarketDatabase::TestMarketDatabase(const std::string& p_sName) {
    if (const std::optional<std::string> url = TestPostgresUrl()) {
        m_oSchema.emplace(*url);
        return;
    }
    m_oFolder = std::filesystem::temp_directory_path() /
                ("qv-" + p_sName + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_oFolder);
}

TestMarketDatabase::~TestMarketDatabase() {
    if (!m_oFolder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_oFolder, ignored);
    }
}

std::shared_ptr<facade::MarketStore> TestMarketDatabase::Open() const {
    if (m_oSchema) {
        return OpenPgMarketStore(m_oSchema->Url());
    }
    return facade::OpenMarketFile((m_oFolder / "market.db").string(),
                                  facade::MarketStore::Access::ReadWrite);
}

}  // namespace qv::server::test
