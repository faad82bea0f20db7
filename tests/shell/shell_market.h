// The market of the main-window and headless tests: a small generated market with the demo
// owner in a temporary folder, made once, and a platform of test services with the facade
// components on it.
#pragma once

#include "outside/scripted_services.h"

#include <memory>
#include <string>

namespace qv {
class MarketSession;
}

namespace qv::test {

// The last trading day of the market.
constexpr int32_t kMarketLastDay = 46356;

MarketSession& SharedMarket();

// Test services with the market's facade components, installed for the scope, and the market's
// owner logged in afresh (a headless run on the same file logs in as the owner too).
class MarketPlatform : public ScopedTestPlatform {
  public:
    MarketPlatform();
};

}  // namespace qv::test
