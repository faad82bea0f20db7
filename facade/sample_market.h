// A deterministic sample market, so that the viewer always has something real-looking to show
// before any real data is imported: the same options and seed give the same database.
//
// Prices follow a factor model: each day a stock's log return is its market beta times the
// market's return, plus its sector's and its industry's return, plus its own noise, so stocks of
// one industry move together more than stocks of one sector, and those more than the market as
// a whole. Volume rises on days with large moves. The market trades on the exchange's trading
// days (market_calendar.h) and has no splits, so its traded and adjusted prices are the same.
// Each stock also gets fundamentals (earnings, sales, shares outstanding, growth, dividend yield)
// for the fields that need them. The derived
// metrics and group aggregates are then written exactly as after an import (market_rebuild.h).
//
//     MarketStore store(path, MarketStore::Access::ReadWrite);
//     GenerateSampleMarket(store, SampleMarketOptions{}, progress);
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "facade/progress.h"

namespace qv::facade {

class MarketStore;
class SqlDatabase;

struct SampleMarketOptions {
    int32_t m_lStocks = 3000;
    // Spread over the 11 sectors; at most the names available, and no more than the stocks, so
    // that every industry group has a member.
    int32_t m_lIndustries = 120;
    int32_t m_lTradingDays = 756;  // three years
    int32_t m_lLastDay = 46356;    // 2026-11-30
    uint64_t m_llSeed = 1;
    bool m_bDemoOwner = true;
};

// The most industry groups a sample market of p_lStocks stocks gets: the industry names the
// generator has, and no more than the stocks. A larger m_lIndustries is cut to this.
int32_t SampleIndustryLimit(int32_t p_lStocks);

// The demo owner of a new database.
constexpr int32_t kDemoOwnerId = 1;

// Fills an empty database. A database that already holds stocks is refused with a FacadeError,
// so that a sample never mixes with real data.
void GenerateSampleMarket(MarketStore& p_oStore, const SampleMarketOptions& p_oOptions,
                          const ProgressFn& p_fProgress);

// Creates the demo owner (kDemoOwnerId, "demo") on the market in the database: watch lists of
// stocks and of industry groups in folders, a portfolio with long and short trades (one stock
// bought twice, one held both long and short), and one layout of its own.
void CreateDemoOwner(SqlDatabase& p_oDatabase);

// Opens the database at p_sPath, and when it holds no market yet (a first run), generates the
// default sample market into it.
std::unique_ptr<MarketStore> OpenOrGenerateMarket(const std::string& p_sPath,
                                                  const ProgressFn& p_fProgress);

}  // namespace qv::facade
