#include "shell/shell_market.h"

#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "shell/market_session.h"

#include <filesystem>
#include <random>

namespace qv::test {

namespace {

// The folder of the market, removed when the test program ends.
struct MarketFolder {
    std::filesystem::path m_path = std::filesystem::temp_directory_path() /
                                   ("qv-shell-market-" + std::to_string(std::random_device()()));
    MarketFolder() { std::filesystem::create_directories(m_path); }
    ~MarketFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
};

}  // namespace

MarketSession& SharedMarket() {
    // Made first, the folder is removed after the session is gone.
    static const MarketFolder s_folder;
    static MarketSession s_session = [] {
        auto store = std::make_shared<facade::MarketStore>((s_folder.m_path / "market.db").string(),
                                                           facade::MarketStore::Access::ReadWrite);
        const facade::SampleMarketOptions options{.m_lStocks = 80,
                                                  .m_lIndustries = 12,
                                                  .m_lTradingDays = 40,
                                                  .m_lLastDay = kMarketLastDay,
                                                  .m_llSeed = 7};
        facade::GenerateSampleMarket(*store, options, {});
        return MarketSession(store);
    }();
    return s_session;
}

MarketPlatform::MarketPlatform() {
    SharedMarket().LogIn();
    SharedMarket().Register(Components());
}

}  // namespace qv::test
