#include "test_market_database.h"

#include <unistd.h>

#include "facade/market_command.h"
#include "facade/market_store.h"
#include "outside/facade_protocol.h"
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

std::vector<Variant> StockViewerArgs(int32_t p_lOwnerId, const std::string& p_sTimeCode) {
    namespace sv = facade_protocol::stock_viewer;
    std::vector<Variant> args(sv::kCount);
    args[sv::kOwnerId.Position] = p_lOwnerId;
    args[sv::kLayoutId.Position] = 3;
    args[sv::kStartDate.Position] = Variant::Date(0);
    args[sv::kMaxRows.Position] = -1;
    args[sv::kReturnAll.Position] = false;
    args[sv::kAvgType.Position] = "A";
    args[sv::kRows.Position] = Variant::Nothing();
    args[sv::kSecondaryRows.Position] = Variant::Nothing();
    args[sv::kParameterList.Position] = Variant::Nothing();
    args[sv::kTimeCode.Position] = p_sTimeCode;
    return args;
}

}  // namespace qv::server::test
