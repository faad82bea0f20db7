#include "facade/sample_market.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "facade/layout_store.h"
#include "facade/market_calendar.h"
#include "facade/market_rebuild.h"
#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/portfolio_store.h"
#include "facade/sample_names.h"
#include "facade/sample_random.h"
#include "facade/sqlite_database.h"
#include "facade/system_layouts.h"
#include "facade/watch_list_store.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

namespace qv::facade {

namespace {

// Streams of SampleRandom::Fork, kept apart so that adding a stock never changes another.
constexpr uint64_t kNameStream = 1;
constexpr uint64_t kIndustryStream = 2;
constexpr uint64_t kMarketStream = 3;
constexpr uint64_t kSectorStreams = 100;
constexpr uint64_t kIndustryStreams = 1000;
constexpr uint64_t kStockStreams = 1000000;
constexpr int32_t kProgressStocks = 100;

std::vector<int32_t> TradingCalendar(int32_t p_lLastDay, int32_t p_lCount) {
    std::vector<int32_t> days;
    for (int32_t day = p_lLastDay; static_cast<int32_t>(days.size()) < p_lCount; --day) {
        if (IsTradingDay(day)) {
            days.push_back(day);
        }
    }
    std::reverse(days.begin(), days.end());
    return days;
}

struct SampleIndustry {
    std::string m_sName;
    size_t m_lSector = 0;
    double m_dWeight = 1;
    double m_dVolatility = 0;
};

// Takes industry names from the sectors in turn, so every sector gets its share.
std::vector<SampleIndustry> ChooseIndustries(int32_t p_lCount, SampleRandom p_oRandom) {
    const std::vector<SampleSector>& sectors = SampleSectors();
    std::vector<SampleIndustry> industries;
    for (size_t round = 0; static_cast<int32_t>(industries.size()) < p_lCount; ++round) {
        bool any = false;
        for (size_t sector = 0; sector < sectors.size(); ++sector) {
            if (round >= sectors[sector].m_aIndustries.size() ||
                static_cast<int32_t>(industries.size()) == p_lCount) {
                continue;
            }
            any = true;
            industries.push_back({sectors[sector].m_aIndustries[round], sector,
                                  std::exp(0.6 * p_oRandom.Normal()),
                                  p_oRandom.Uniform(0.004, 0.009)});
        }
        if (!any) {
            break;
        }
    }
    return industries;
}

class NameMaker {
  public:
    explicit NameMaker(SampleRandom p_oRandom) : m_oRandom(p_oRandom) {}

    // A company name and symbol, both unique in the market.
    std::pair<std::string, std::string> Make(const SampleSector& p_oSector) {
        for (;;) {
            const std::string stem =
                std::string(Pick(CompanyNameStarts())) + Pick(CompanyNameEnds());
            const std::string word =
                m_oRandom.Uniform() < 0.6 ? std::string(" ") + Pick(p_oSector.m_aCompanyWords) : "";
            const std::string name = stem + word + " " + Pick(CompanySuffixes());
            if (m_aNames.insert(name).second) {
                return {name, MakeSymbol(stem + word)};
            }
        }
    }

  private:
    const char* Pick(const std::vector<const char*>& p_aChoices) {
        return p_aChoices[m_oRandom.Below(p_aChoices.size())];
    }

    std::string MakeSymbol(const std::string& p_sName) {
        std::string letters;
        for (const char ch : p_sName) {
            if (std::isalpha(static_cast<unsigned char>(ch))) {
                letters.push_back(ToUpperAscii(ch));
            }
        }
        const std::string candidates[] = {letters.substr(0, 3), letters.substr(0, 4),
                                          letters.substr(0, 2) + letters.back(),
                                          letters.substr(0, 1) + letters.substr(2, 2)};
        for (const std::string& candidate : candidates) {
            if (candidate.size() >= 2 && m_aSymbols.insert(candidate).second) {
                return candidate;
            }
        }
        for (;;) {
            std::string symbol = letters.substr(0, 1);
            while (symbol.size() < 4) {
                symbol.push_back(static_cast<char>('A' + m_oRandom.Below(26)));
            }
            if (m_aSymbols.insert(symbol).second) {
                return symbol;
            }
        }
    }

    SampleRandom m_oRandom;
    std::set<std::string> m_aNames;
    std::set<std::string> m_aSymbols;
};

struct SampleStock {
    std::string m_sSymbol;
    std::string m_sName;
    size_t m_lIndustry = 0;
};

// One return per trading day: the common moves of the market, a sector or an industry.
std::vector<double> FactorReturns(SampleRandom p_oRandom, size_t p_lDays, double p_dDrift,
                                  double p_dVolatility) {
    std::vector<double> returns(p_lDays);
    for (double& dayReturn : returns) {
        dayReturn = p_dDrift + p_dVolatility * p_oRandom.Normal();
    }
    return returns;
}

struct Factors {
    std::vector<double> m_aMarket;
    std::vector<std::vector<double>> m_aSectors;
    std::vector<std::vector<double>> m_aIndustries;
};

Factors MakeFactors(const SampleRandom& p_oRoot, const std::vector<SampleIndustry>& p_aIndustries,
                    size_t p_lDays) {
    Factors factors;
    factors.m_aMarket = FactorReturns(p_oRoot.Fork(kMarketStream), p_lDays, 0.0003, 0.009);
    for (size_t sector = 0; sector < SampleSectors().size(); ++sector) {
        SampleRandom random = p_oRoot.Fork(kSectorStreams + sector);
        const double volatility = random.Uniform(0.004, 0.008);
        factors.m_aSectors.push_back(FactorReturns(random, p_lDays, 0, volatility));
    }
    for (size_t industry = 0; industry < p_aIndustries.size(); ++industry) {
        factors.m_aIndustries.push_back(FactorReturns(p_oRoot.Fork(kIndustryStreams + industry),
                                                      p_lDays, 0,
                                                      p_aIndustries[industry].m_dVolatility));
    }
    return factors;
}

double Cents(double p_dPrice) {
    return std::max(0.01, std::round(p_dPrice * 100.0) / 100.0);
}

StockSeries MakeBars(SampleRandom p_oRandom, int64_t p_llStockId, size_t p_lSector,
                     size_t p_lIndustry, const Factors& p_oFactors,
                     const std::vector<int32_t>& p_aDays) {
    const double marketBeta = p_oRandom.Uniform(0.6, 1.5);
    const double sectorBeta = p_oRandom.Uniform(0.6, 1.3);
    const double industryBeta = p_oRandom.Uniform(0.6, 1.3);
    const double volatility = p_oRandom.Uniform(0.008, 0.028);
    const double drift = 0.0004 * p_oRandom.Normal();
    const double baseVolume = std::clamp(std::exp(std::log(1.2e6) + p_oRandom.Normal()), 3e4, 8e7);
    double price = std::clamp(std::exp(std::log(35.0) + 0.9 * p_oRandom.Normal()), 2.0, 900.0);
    // A few stocks were listed during the period, as in any real market.
    const size_t firstDay = p_oRandom.Uniform() < 0.04
                                ? static_cast<size_t>(p_oRandom.Below(p_aDays.size() * 2 / 3 + 1))
                                : 0;
    StockSeries series{p_llStockId, {}};
    series.m_aBars.reserve(p_aDays.size() - firstDay);
    for (size_t day = firstDay; day < p_aDays.size(); ++day) {
        const double dayReturn = drift + marketBeta * p_oFactors.m_aMarket[day] +
                                 sectorBeta * p_oFactors.m_aSectors[p_lSector][day] +
                                 industryBeta * p_oFactors.m_aIndustries[p_lIndustry][day] +
                                 volatility * p_oRandom.Normal();
        const double open = price * std::exp(0.25 * volatility * p_oRandom.Normal());
        price = std::max(0.5, price * std::exp(dayReturn));
        DailyBar bar;
        bar.m_lDate = p_aDays[day];
        bar.m_dOpen = Cents(open);
        bar.m_dClose = Cents(price);
        bar.m_dHigh = Cents(std::max(open, price) *
                            std::exp(0.4 * volatility * std::fabs(p_oRandom.Normal())));
        bar.m_dLow = Cents(std::min(open, price) *
                           std::exp(-0.4 * volatility * std::fabs(p_oRandom.Normal())));
        bar.m_dAdjClose = bar.m_dClose;
        bar.m_llVolume = std::llround(baseVolume * std::exp(0.35 * p_oRandom.Normal()) *
                                      (1.0 + 30.0 * std::fabs(dayReturn)));
        series.m_aBars.push_back(bar);
    }
    return series;
}

void WriteFundamentals(SqlStatement& p_oInsert, SampleRandom p_oRandom, int64_t p_llStockId,
                       double p_dLastClose) {
    const double shares = std::clamp(std::exp(std::log(150.0) + p_oRandom.Normal()), 5.0, 9000.0);
    const double earningsYield = 0.05 + 0.04 * p_oRandom.Normal();
    const double priceToSales = std::exp(std::log(2.0) + 0.7 * p_oRandom.Normal());
    p_oInsert.BindInt64(1, p_llStockId);
    p_oInsert.BindDouble(2, std::round(p_dLastClose * earningsYield * 100.0) / 100.0);
    p_oInsert.BindDouble(3, std::round(p_dLastClose * shares / priceToSales * 10.0) / 10.0);
    p_oInsert.BindDouble(4, std::round(shares * 10.0) / 10.0);
    p_oInsert.BindDouble(5, std::round((8.0 + 15.0 * p_oRandom.Normal()) * 10.0) / 10.0);
    p_oInsert.BindDouble(6, p_oRandom.Uniform() < 0.55
                                ? std::round(p_oRandom.Uniform(0.4, 5.0) * 100.0) / 100.0
                                : 0.0);
    p_oInsert.Run();
}

// Each industry gets one stock first (no empty groups), the rest by the industries' weights.
std::vector<size_t> AssignIndustries(int32_t p_lStocks,
                                     const std::vector<SampleIndustry>& p_aIndustries,
                                     SampleRandom p_oRandom) {
    double total = 0;
    for (const SampleIndustry& weighted : p_aIndustries) {
        total += weighted.m_dWeight;
    }
    std::vector<size_t> assigned;
    for (int32_t stock = 0; stock < p_lStocks; ++stock) {
        if (static_cast<size_t>(stock) < p_aIndustries.size()) {
            assigned.push_back(static_cast<size_t>(stock));
            continue;
        }
        double point = p_oRandom.Uniform() * total;
        size_t industryIndex = 0;
        while (industryIndex + 1 < p_aIndustries.size() &&
               point >= p_aIndustries[industryIndex].m_dWeight) {
            point -= p_aIndustries[industryIndex++].m_dWeight;
        }
        assigned.push_back(industryIndex);
    }
    return assigned;
}

void WriteReferenceData(SqlDatabase& p_oDatabase, const std::vector<SampleIndustry>& p_aIndustries,
                        const std::vector<SampleStock>& p_aStocks) {
    SqlStatement sector =
        p_oDatabase.Prepare("INSERT INTO sectors (sector_code, name) VALUES (?1, ?2)");
    for (size_t i = 0; i < SampleSectors().size(); ++i) {
        sector.BindInt64(1, static_cast<int64_t>(i + 1));
        sector.BindText(2, SampleSectors()[i].m_sName);
        sector.Run();
    }
    SqlStatement industry = p_oDatabase.Prepare(
        "INSERT INTO industries (ind_code, name, sector_code) VALUES (?1, ?2, ?3)");
    for (size_t i = 0; i < p_aIndustries.size(); ++i) {
        industry.BindInt64(1, static_cast<int64_t>(i + 1));
        industry.BindText(2, p_aIndustries[i].m_sName);
        industry.BindInt64(3, static_cast<int64_t>(p_aIndustries[i].m_lSector + 1));
        industry.Run();
    }
    SqlStatement stock = p_oDatabase.Prepare(
        "INSERT INTO stocks (stock_id, symbol, company_name, ind_code) VALUES (?1, ?2, ?3, ?4)");
    for (size_t i = 0; i < p_aStocks.size(); ++i) {
        stock.BindInt64(1, static_cast<int64_t>(i + 1));
        stock.BindText(2, p_aStocks[i].m_sSymbol);
        stock.BindText(3, p_aStocks[i].m_sName);
        stock.BindInt64(4, static_cast<int64_t>(p_aStocks[i].m_lIndustry + 1));
        stock.Run();
    }
}

std::vector<std::string> Texts(SqlDatabase& p_oDatabase, const char* p_sSql) {
    SqlStatement query = p_oDatabase.Prepare(p_sSql);
    std::vector<std::string> texts;
    while (query.Step()) {
        texts.push_back(query.ColumnText(0));
    }
    return texts;
}

// Stock id and traded close of p_sSymbol p_lBarsBack bars before its last bar.
std::optional<std::pair<int64_t, DailyBar>> PastBar(SqlDatabase& p_oDatabase,
                                                    const std::string& p_sSymbol,
                                                    int32_t p_lBarsBack) {
    SqlStatement query = p_oDatabase.Prepare(
        "SELECT d.stock_id, d.trade_date, d.close FROM stocks s JOIN stock_days_traded d "
        "ON d.day_key BETWEEN s.stock_id * 4194304 AND s.stock_id * 4194304 + 4194303 "
        "WHERE s.symbol = ?1 ORDER BY d.day_key DESC LIMIT 1 OFFSET ?2");
    query.BindText(1, p_sSymbol);
    query.BindInt64(2, p_lBarsBack);
    if (!query.Step()) {
        return std::nullopt;
    }
    DailyBar bar;
    bar.m_lDate = static_cast<int32_t>(query.ColumnInt64(1));
    bar.m_dClose = query.ColumnDouble(2);
    return std::make_pair(query.ColumnInt64(0), bar);
}

void AddDemoTrades(SqlDatabase& p_oDatabase, int32_t p_lPortfolioId,
                   const std::vector<std::string>& p_aLeaders,
                   const std::vector<std::string>& p_aLaggards) {
    struct DemoTrade {
        const std::vector<std::string>& m_aFrom;
        size_t m_lPick;
        int32_t m_lBarsBack;
        double m_dShares;
        bool m_bShort;
        double m_dRealized;
    };
    const DemoTrade trades[] = {
        {p_aLeaders, 0, 250, 100, false, 0},   {p_aLeaders, 1, 120, 200, false, 0},
        {p_aLeaders, 0, 60, 50, false, 125.5}, {p_aLaggards, 0, 90, 100, true, 0},
        {p_aLaggards, 1, 30, 300, true, 0},    {p_aLaggards, 2, 200, 150, false, 0},
        {p_aLeaders, 1, 10, 60, true, 0},      {p_aLeaders, 2, 40, 80, false, 0},
    };
    PortfolioStore portfolios(p_oDatabase);
    for (const DemoTrade& trade : trades) {
        if (trade.m_lPick >= trade.m_aFrom.size()) {
            continue;
        }
        const auto bar = PastBar(p_oDatabase, trade.m_aFrom[trade.m_lPick], trade.m_lBarsBack);
        if (!bar) {
            continue;
        }
        TradeRecord record;
        record.m_llStockId = bar->first;
        record.m_lBuyDate = bar->second.m_lDate;
        record.m_dShares = trade.m_dShares;
        record.m_dInitialPrice = bar->second.m_dClose;
        record.m_dCommission = 9.95;
        record.m_bShort = trade.m_bShort;
        record.m_dRealizedGain = trade.m_dRealized;
        portfolios.AddTrade(p_lPortfolioId, record);
    }
}

}  // namespace

void CreateDemoOwner(SqlDatabase& p_oDatabase) {
    SqlTransaction work(p_oDatabase);
    OwnerStore(p_oDatabase).PutOwner(kDemoOwnerId, "demo");
    const std::vector<std::string> leaders =
        Texts(p_oDatabase,
              "SELECT s.symbol FROM stocks s JOIN stock_days d ON d.day_key = s.stock_id * 4194304 "
              "+ (SELECT max(trade_date) FROM trading_days) WHERE d.rs_rank IS NOT NULL "
              "ORDER BY d.rs_rank DESC, s.symbol LIMIT 10");
    const std::vector<std::string> laggards =
        Texts(p_oDatabase,
              "SELECT s.symbol FROM stocks s JOIN stock_days d ON d.day_key = s.stock_id * 4194304 "
              "+ (SELECT max(trade_date) FROM trading_days) WHERE d.rs_rank IS NOT NULL "
              "ORDER BY d.rs_rank, s.symbol LIMIT 10");
    const std::vector<std::string> incomeSymbols =
        Texts(p_oDatabase,
              "SELECT s.symbol FROM fundamentals f JOIN stocks s ON s.stock_id = f.stock_id "
              "ORDER BY f.dividend_pct DESC, s.symbol LIMIT 10");
    const std::vector<std::string> firstSector =
        Texts(p_oDatabase,
              "SELECT s.symbol FROM stocks s JOIN industries i ON i.ind_code = s.ind_code "
              "WHERE i.sector_code = (SELECT min(sector_code) FROM sectors) ORDER BY s.symbol "
              "LIMIT 12");
    const std::vector<std::string> strongGroups =
        Texts(p_oDatabase,
              "SELECT group_code FROM group_days WHERE group_kind = 1 AND trade_date = "
              "(SELECT max(trade_date) FROM trading_days) ORDER BY avg_rank DESC, group_code "
              "LIMIT 8");

    WatchListStore lists(p_oDatabase);
    const int32_t ideas = lists.CreateFolder(kDemoOwnerId, 0, watch_list_type::kStocks, "Ideas");
    lists.CreateWatchList(kDemoOwnerId, ideas, watch_list_type::kStocks, "Leaders",
                          "The strongest stocks", leaders);
    lists.CreateWatchList(kDemoOwnerId, ideas, watch_list_type::kStocks, "Laggards",
                          "The weakest stocks", laggards);
    const int32_t incomeListId =
        lists.CreateFolder(kDemoOwnerId, ideas, watch_list_type::kStocks, "Income");
    lists.CreateWatchList(kDemoOwnerId, incomeListId, watch_list_type::kStocks, "Dividend Payers",
                          "Highest dividend yields", incomeSymbols);
    lists.CreateWatchList(kDemoOwnerId, 0, watch_list_type::kStocks, "First Sector", "",
                          firstSector);
    const int32_t groups =
        lists.CreateFolder(kDemoOwnerId, 0, watch_list_type::kIndustries, "Groups to Watch");
    lists.CreateWatchList(kDemoOwnerId, groups, watch_list_type::kIndustries, "Strong Groups",
                          "Industry groups with the best average ranking", strongGroups);

    const int32_t portfolio =
        PortfolioStore(p_oDatabase).CreatePortfolio(kDemoOwnerId, "Demo Portfolio");
    AddDemoTrades(p_oDatabase, portfolio, leaders, laggards);

    LayoutRecord layout;
    layout.Header.Id = kFirstOwnerLayoutId;
    layout.Header.Name = "Momentum";
    layout.Header.Description = "Strength and distance from the highs";
    layout.Header.ParentId = system_layout::kStockList;
    layout.Header.OwnerId = kDemoOwnerId;
    layout.m_lDataType = 0;
    layout.Sort = MakeLayoutSort(9, 1, 5, 0);
    layout.Columns = BuildLayoutColumns({2, 6, 9, 24, 18, 20, 16, 8, 35}, 0, -1);
    LayoutStore(p_oDatabase).PutLayout(layout);
    work.Commit();
}

int32_t SampleIndustryLimit(int32_t p_lStocks) {
    size_t names = 0;
    for (const SampleSector& sector : SampleSectors()) {
        names += sector.m_aIndustries.size();
    }
    return std::min(static_cast<int32_t>(names), std::max(p_lStocks, 1));
}

void GenerateSampleMarket(MarketStore& p_oStore, const SampleMarketOptions& p_oOptions,
                          const ProgressFn& p_fProgress) {
    SqlDatabase& database = p_oStore.Database();
    SqlTransaction work(database);
    if (database.QueryInt64("SELECT count(*) FROM stocks") > 0) {
        throw FacadeError(p_oStore.Name(), 0,
                          "the database already holds a market; a sample is only generated into "
                          "an empty database");
    }
    const SampleRandom root(p_oOptions.m_llSeed);
    const std::vector<int32_t> days =
        TradingCalendar(p_oOptions.m_lLastDay, std::max(p_oOptions.m_lTradingDays, 1));
    const std::vector<SampleIndustry> industries = ChooseIndustries(
        std::clamp(p_oOptions.m_lIndustries, 1, SampleIndustryLimit(p_oOptions.m_lStocks)),
        root.Fork(kIndustryStream));
    const std::vector<size_t> assigned = AssignIndustries(
        std::max(p_oOptions.m_lStocks, 0), industries, root.Fork(kIndustryStream + 10));
    const Factors factors = MakeFactors(root, industries, days.size());

    NameMaker names(root.Fork(kNameStream));
    std::vector<SampleStock> stocks;
    for (const size_t industry : assigned) {
        auto [name, symbol] = names.Make(SampleSectors()[industries[industry].m_lSector]);
        stocks.push_back({std::move(symbol), std::move(name), industry});
    }

    WriteReferenceData(database, industries, stocks);
    SqlStatement fundamentals = database.Prepare(
        "INSERT INTO fundamentals (stock_id, eps, sales_musd, shares_m, growth_pct, dividend_pct) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    std::vector<StockSeries> series;
    series.reserve(stocks.size());
    const auto stockCount = static_cast<int64_t>(stocks.size());
    for (size_t i = 0; i < stocks.size(); ++i) {
        SampleRandom random = root.Fork(kStockStreams + i);
        const size_t industry = stocks[i].m_lIndustry;
        series.push_back(MakeBars(random, static_cast<int64_t>(i + 1),
                                  industries[industry].m_lSector, industry, factors, days));
        WriteFundamentals(fundamentals, random, static_cast<int64_t>(i + 1),
                          series.back().m_aBars.back().m_dClose);
        if (static_cast<int32_t>(i) % kProgressStocks == 0) {
            ReportProgress(p_fProgress, "Generating prices", static_cast<int64_t>(i), stockCount);
        }
    }
    ReportProgress(p_fProgress, "Generating prices", stockCount, stockCount);
    RewriteDailyData(database, series, p_fProgress);
    RecordMarketOrigin(
        database, {MarketOrigin::Kind::Sample,
                   std::to_string(stocks.size()) + " stocks, " + std::to_string(industries.size()) +
                       " industry groups, " + std::to_string(days.size()) + " trading days to " +
                       IsoDateText(days.back()) + ", seed " + std::to_string(p_oOptions.m_llSeed),
                   0});
    if (p_oOptions.m_bDemoOwner) {
        CreateDemoOwner(database);
    }
    work.Commit();
}

std::unique_ptr<MarketStore> OpenOrGenerateMarket(const std::string& p_sPath,
                                                  const ProgressFn& p_fProgress) {
    auto store = std::make_unique<MarketStore>(p_sPath, MarketStore::Access::ReadWrite);
    if (store->Database().QueryInt64("SELECT count(*) FROM stocks") == 0) {
        if (store->IsReadOnly()) {
            throw FacadeError(p_sPath, 0,
                              "the database holds no market yet, and it is read-only, so the "
                              "sample market cannot be made in it");
        }
        GenerateSampleMarket(*store, SampleMarketOptions{}, p_fProgress);
    }
    return store;
}

}  // namespace qv::facade
