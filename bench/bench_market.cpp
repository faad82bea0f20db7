#include "bench/bench_market.h"

#include "facade/facade_backend.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace qv::bench {

GeneratedMarket GenerateMarket(const char* p_sName, int32_t p_lStocks, int32_t p_lIndustries,
                               int32_t p_lTradingDays) {
    namespace fs = std::filesystem;
    std::string folder =
        (fs::temp_directory_path() / (std::string("qv-bench-") + p_sName + "-XXXXXX")).string();
    const fs::path path = fs::path(mkdtemp(folder.data())) / "market.db";
    GeneratedMarket market;
    market.store = std::make_shared<facade::MarketStore>(path.string(),
                                                         facade::MarketStore::Access::ReadWrite);
    facade::SampleMarketOptions options;
    options.m_lStocks = p_lStocks;
    options.m_lIndustries = p_lIndustries;
    options.m_lTradingDays = p_lTradingDays;
    facade::GenerateSampleMarket(*market.store, options, {});
    market.lastDay = options.m_lLastDay;
    market.backend = std::make_shared<facade::FacadeBackend>(market.store);
    return market;
}

}  // namespace qv::bench
