// A generated market in a folder of its own under the temporary directory, for the programs that
// run the control on the embedded facade: the store, a backend on it and the market's last day.
//
//     const GeneratedMarket market = GenerateMarket("find", 5000, 150, 260);
//     facade::RegisterFacadeComponents(context.Components(), market.backend);
#pragma once

#include <cstdint>
#include <memory>

namespace qv::facade {
class FacadeBackend;
class MarketStore;
}  // namespace qv::facade

namespace qv::bench {

struct GeneratedMarket {
    std::shared_ptr<facade::MarketStore> store;
    std::shared_ptr<facade::FacadeBackend> backend;
    double lastDay = 0;
};

// p_sName names the folder ("qv-bench-<name>-XXXXXX") so that a left-over one says whose it is.
GeneratedMarket GenerateMarket(const char* p_sName, int32_t p_lStocks, int32_t p_lIndustries,
                               int32_t p_lTradingDays);

}  // namespace qv::bench
