#include "facade/sample_market.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "facade/day_serial.h"
#include "facade/layout_store.h"
#include "facade/market_rebuild.h"
#include "facade/market_store.h"
#include "facade/owner_store.h"
#include "facade/portfolio_store.h"
#include "facade/sample_names.h"
#include "facade/sample_random.h"
#include "facade/sqlite_database.h"
#include "facade/system_layouts.h"
#include "facade/watch_list_store.h"

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

bool IsHoliday(int32_t p_lDay) {
    const CivilDate oDate = CivilFromDaySerial(p_lDay);
    return (oDate.m_lMonth == 1 && oDate.m_lDay == 1) ||
           (oDate.m_lMonth == 7 && oDate.m_lDay == 4) ||
           (oDate.m_lMonth == 12 && oDate.m_lDay == 25);
}

std::vector<int32_t> TradingCalendar(int32_t p_lLastDay, int32_t p_lCount) {
    std::vector<int32_t> aDays;
    for (int32_t lDay = p_lLastDay; static_cast<int32_t>(aDays.size()) < p_lCount; --lDay) {
        if (IsoWeekday(lDay) <= 5 && !IsHoliday(lDay)) {
            aDays.push_back(lDay);
        }
    }
    std::reverse(aDays.begin(), aDays.end());
    return aDays;
}

struct SampleIndustry {
    std::string m_sName;
    size_t m_lSector = 0;
    double m_dWeight = 1;
    double m_dVolatility = 0;
};

// Takes industry names from the sectors in turn, so every sector gets its share.
std::vector<SampleIndustry> ChooseIndustries(int32_t p_lCount, SampleRandom p_oRandom) {
    const std::vector<SampleSector>& aSectors = SampleSectors();
    std::vector<SampleIndustry> aIndustries;
    for (size_t lRound = 0; static_cast<int32_t>(aIndustries.size()) < p_lCount; ++lRound) {
        bool bAny = false;
        for (size_t lSector = 0; lSector < aSectors.size(); ++lSector) {
            if (lRound >= aSectors[lSector].m_aIndustries.size() ||
                static_cast<int32_t>(aIndustries.size()) == p_lCount) {
                continue;
            }
            bAny = true;
            aIndustries.push_back({aSectors[lSector].m_aIndustries[lRound], lSector,
                                   std::exp(0.6 * p_oRandom.Normal()),
                                   p_oRandom.Uniform(0.004, 0.009)});
        }
        if (!bAny) {
            break;
        }
    }
    return aIndustries;
}

class NameMaker {
  public:
    explicit NameMaker(SampleRandom p_oRandom) : m_oRandom(p_oRandom) {}

    // A company name and symbol, both unique in the market.
    std::pair<std::string, std::string> Make(const SampleSector& p_oSector) {
        for (;;) {
            const std::string sStem =
                std::string(Pick(CompanyNameStarts())) + Pick(CompanyNameEnds());
            const std::string sWord =
                m_oRandom.Uniform() < 0.6 ? std::string(" ") + Pick(p_oSector.m_aCompanyWords) : "";
            const std::string sName = sStem + sWord + " " + Pick(CompanySuffixes());
            if (m_aNames.insert(sName).second) {
                return {sName, MakeSymbol(sStem + sWord)};
            }
        }
    }

  private:
    const char* Pick(const std::vector<const char*>& p_aChoices) {
        return p_aChoices[m_oRandom.Below(p_aChoices.size())];
    }

    std::string MakeSymbol(const std::string& p_sName) {
        std::string sLetters;
        for (const char cChar : p_sName) {
            if (std::isalpha(static_cast<unsigned char>(cChar))) {
                sLetters.push_back(
                    static_cast<char>(std::toupper(static_cast<unsigned char>(cChar))));
            }
        }
        const std::string aCandidates[] = {sLetters.substr(0, 3), sLetters.substr(0, 4),
                                           sLetters.substr(0, 2) + sLetters.back(),
                                           sLetters.substr(0, 1) + sLetters.substr(2, 2)};
        for (const std::string& sCandidate : aCandidates) {
            if (sCandidate.size() >= 2 && m_aSymbols.insert(sCandidate).second) {
                return sCandidate;
            }
        }
        for (;;) {
            std::string sSymbol = sLetters.substr(0, 1);
            while (sSymbol.size() < 4) {
                sSymbol.push_back(static_cast<char>('A' + m_oRandom.Below(26)));
            }
            if (m_aSymbols.insert(sSymbol).second) {
                return sSymbol;
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
    std::vector<double> aReturns(p_lDays);
    for (double& dReturn : aReturns) {
        dReturn = p_dDrift + p_dVolatility * p_oRandom.Normal();
    }
    return aReturns;
}

struct Factors {
    std::vector<double> m_aMarket;
    std::vector<std::vector<double>> m_aSectors;
    std::vector<std::vector<double>> m_aIndustries;
};

Factors MakeFactors(const SampleRandom& p_oRoot, const std::vector<SampleIndustry>& p_aIndustries,
                    size_t p_lDays) {
    Factors oFactors;
    oFactors.m_aMarket = FactorReturns(p_oRoot.Fork(kMarketStream), p_lDays, 0.0003, 0.009);
    for (size_t lSector = 0; lSector < SampleSectors().size(); ++lSector) {
        SampleRandom oRandom = p_oRoot.Fork(kSectorStreams + lSector);
        const double dVolatility = oRandom.Uniform(0.004, 0.008);
        oFactors.m_aSectors.push_back(FactorReturns(oRandom, p_lDays, 0, dVolatility));
    }
    for (size_t lIndustry = 0; lIndustry < p_aIndustries.size(); ++lIndustry) {
        oFactors.m_aIndustries.push_back(FactorReturns(p_oRoot.Fork(kIndustryStreams + lIndustry),
                                                       p_lDays, 0,
                                                       p_aIndustries[lIndustry].m_dVolatility));
    }
    return oFactors;
}

double Cents(double p_dPrice) {
    return std::max(0.01, std::round(p_dPrice * 100.0) / 100.0);
}

StockSeries MakeBars(SampleRandom p_oRandom, int64_t p_llStockId, size_t p_lSector,
                     size_t p_lIndustry, const Factors& p_oFactors,
                     const std::vector<int32_t>& p_aDays) {
    const double dMarketBeta = p_oRandom.Uniform(0.6, 1.5);
    const double dSectorBeta = p_oRandom.Uniform(0.6, 1.3);
    const double dIndustryBeta = p_oRandom.Uniform(0.6, 1.3);
    const double dVolatility = p_oRandom.Uniform(0.008, 0.028);
    const double dDrift = 0.0004 * p_oRandom.Normal();
    const double dBaseVolume = std::clamp(std::exp(std::log(1.2e6) + p_oRandom.Normal()), 3e4, 8e7);
    double dPrice = std::clamp(std::exp(std::log(35.0) + 0.9 * p_oRandom.Normal()), 2.0, 900.0);
    // A few stocks were listed during the period, as in any real market.
    const size_t lFirstDay = p_oRandom.Uniform() < 0.04
                                 ? static_cast<size_t>(p_oRandom.Below(p_aDays.size() * 2 / 3 + 1))
                                 : 0;
    StockSeries oSeries{p_llStockId, {}};
    oSeries.m_aBars.reserve(p_aDays.size() - lFirstDay);
    for (size_t lDay = lFirstDay; lDay < p_aDays.size(); ++lDay) {
        const double dReturn = dDrift + dMarketBeta * p_oFactors.m_aMarket[lDay] +
                               dSectorBeta * p_oFactors.m_aSectors[p_lSector][lDay] +
                               dIndustryBeta * p_oFactors.m_aIndustries[p_lIndustry][lDay] +
                               dVolatility * p_oRandom.Normal();
        const double dOpen = dPrice * std::exp(0.25 * dVolatility * p_oRandom.Normal());
        dPrice = std::max(0.5, dPrice * std::exp(dReturn));
        DailyBar oBar;
        oBar.m_lDate = p_aDays[lDay];
        oBar.m_dOpen = Cents(dOpen);
        oBar.m_dClose = Cents(dPrice);
        oBar.m_dHigh = Cents(std::max(dOpen, dPrice) *
                             std::exp(0.4 * dVolatility * std::fabs(p_oRandom.Normal())));
        oBar.m_dLow = Cents(std::min(dOpen, dPrice) *
                            std::exp(-0.4 * dVolatility * std::fabs(p_oRandom.Normal())));
        oBar.m_dAdjClose = oBar.m_dClose;
        oBar.m_llVolume = std::llround(dBaseVolume * std::exp(0.35 * p_oRandom.Normal()) *
                                       (1.0 + 30.0 * std::fabs(dReturn)));
        oSeries.m_aBars.push_back(oBar);
    }
    return oSeries;
}

void WriteFundamentals(SqliteStatement& p_oInsert, SampleRandom p_oRandom, int64_t p_llStockId,
                       double p_dLastClose) {
    const double dShares = std::clamp(std::exp(std::log(150.0) + p_oRandom.Normal()), 5.0, 9000.0);
    const double dEarningsYield = 0.05 + 0.04 * p_oRandom.Normal();
    const double dPriceToSales = std::exp(std::log(2.0) + 0.7 * p_oRandom.Normal());
    p_oInsert.BindInt64(1, p_llStockId);
    p_oInsert.BindDouble(2, std::round(p_dLastClose * dEarningsYield * 100.0) / 100.0);
    p_oInsert.BindDouble(3, std::round(p_dLastClose * dShares / dPriceToSales * 10.0) / 10.0);
    p_oInsert.BindDouble(4, std::round(dShares * 10.0) / 10.0);
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
    double dTotal = 0;
    for (const SampleIndustry& oIndustry : p_aIndustries) {
        dTotal += oIndustry.m_dWeight;
    }
    std::vector<size_t> aAssigned;
    for (int32_t lStock = 0; lStock < p_lStocks; ++lStock) {
        if (static_cast<size_t>(lStock) < p_aIndustries.size()) {
            aAssigned.push_back(static_cast<size_t>(lStock));
            continue;
        }
        double dPoint = p_oRandom.Uniform() * dTotal;
        size_t lIndustry = 0;
        while (lIndustry + 1 < p_aIndustries.size() &&
               dPoint >= p_aIndustries[lIndustry].m_dWeight) {
            dPoint -= p_aIndustries[lIndustry++].m_dWeight;
        }
        aAssigned.push_back(lIndustry);
    }
    return aAssigned;
}

void WriteReferenceData(SqliteDatabase& p_oDatabase,
                        const std::vector<SampleIndustry>& p_aIndustries,
                        const std::vector<SampleStock>& p_aStocks) {
    SqliteStatement oSector =
        p_oDatabase.Prepare("INSERT INTO sectors (sector_code, name) VALUES (?1, ?2)");
    for (size_t i = 0; i < SampleSectors().size(); ++i) {
        oSector.BindInt64(1, static_cast<int64_t>(i + 1));
        oSector.BindText(2, SampleSectors()[i].m_sName);
        oSector.Run();
    }
    SqliteStatement oIndustry = p_oDatabase.Prepare(
        "INSERT INTO industries (ind_code, name, sector_code) VALUES (?1, ?2, ?3)");
    for (size_t i = 0; i < p_aIndustries.size(); ++i) {
        oIndustry.BindInt64(1, static_cast<int64_t>(i + 1));
        oIndustry.BindText(2, p_aIndustries[i].m_sName);
        oIndustry.BindInt64(3, static_cast<int64_t>(p_aIndustries[i].m_lSector + 1));
        oIndustry.Run();
    }
    SqliteStatement oStock = p_oDatabase.Prepare(
        "INSERT INTO stocks (stock_id, symbol, company_name, ind_code) VALUES (?1, ?2, ?3, ?4)");
    for (size_t i = 0; i < p_aStocks.size(); ++i) {
        oStock.BindInt64(1, static_cast<int64_t>(i + 1));
        oStock.BindText(2, p_aStocks[i].m_sSymbol);
        oStock.BindText(3, p_aStocks[i].m_sName);
        oStock.BindInt64(4, static_cast<int64_t>(p_aStocks[i].m_lIndustry + 1));
        oStock.Run();
    }
}

std::vector<std::string> Texts(SqliteDatabase& p_oDatabase, const char* p_sSql) {
    SqliteStatement oQuery = p_oDatabase.Prepare(p_sSql);
    std::vector<std::string> aTexts;
    while (oQuery.Step()) {
        aTexts.push_back(oQuery.ColumnText(0));
    }
    return aTexts;
}

// Stock id and close of p_sSymbol p_lBarsBack bars before its last bar.
std::optional<std::pair<int64_t, DailyBar>> PastBar(SqliteDatabase& p_oDatabase,
                                                    const std::string& p_sSymbol,
                                                    int32_t p_lBarsBack) {
    SqliteStatement oQuery = p_oDatabase.Prepare(
        "SELECT d.stock_id, d.trade_date, d.close FROM stocks s JOIN stock_days d "
        "ON d.day_key BETWEEN s.stock_id * 4194304 AND s.stock_id * 4194304 + 4194303 "
        "WHERE s.symbol = ?1 ORDER BY d.day_key DESC LIMIT 1 OFFSET ?2");
    oQuery.BindText(1, p_sSymbol);
    oQuery.BindInt64(2, p_lBarsBack);
    if (!oQuery.Step()) {
        return std::nullopt;
    }
    DailyBar oBar;
    oBar.m_lDate = static_cast<int32_t>(oQuery.ColumnInt64(1));
    oBar.m_dClose = oQuery.ColumnDouble(2);
    return std::make_pair(oQuery.ColumnInt64(0), oBar);
}

void AddDemoTrades(SqliteDatabase& p_oDatabase, int32_t p_lPortfolioId,
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
    const DemoTrade aTrades[] = {
        {p_aLeaders, 0, 250, 100, false, 0},   {p_aLeaders, 1, 120, 200, false, 0},
        {p_aLeaders, 0, 60, 50, false, 125.5}, {p_aLaggards, 0, 90, 100, true, 0},
        {p_aLaggards, 1, 30, 300, true, 0},    {p_aLaggards, 2, 200, 150, false, 0},
        {p_aLeaders, 1, 10, 60, true, 0},      {p_aLeaders, 2, 40, 80, false, 0},
    };
    PortfolioStore oPortfolios(p_oDatabase);
    for (const DemoTrade& oTrade : aTrades) {
        if (oTrade.m_lPick >= oTrade.m_aFrom.size()) {
            continue;
        }
        const auto oBar = PastBar(p_oDatabase, oTrade.m_aFrom[oTrade.m_lPick], oTrade.m_lBarsBack);
        if (!oBar) {
            continue;
        }
        TradeRecord oRecord;
        oRecord.m_llStockId = oBar->first;
        oRecord.m_lBuyDate = oBar->second.m_lDate;
        oRecord.m_dShares = oTrade.m_dShares;
        oRecord.m_dInitialPrice = oBar->second.m_dClose;
        oRecord.m_dCommission = 9.95;
        oRecord.m_bShort = oTrade.m_bShort;
        oRecord.m_dRealizedGain = oTrade.m_dRealized;
        oPortfolios.AddTrade(p_lPortfolioId, oRecord);
    }
}

}  // namespace

void CreateDemoOwner(SqliteDatabase& p_oDatabase) {
    SqliteTransaction oWork(p_oDatabase);
    OwnerStore(p_oDatabase).PutOwner(kDemoOwnerId, "demo");
    const std::vector<std::string> aLeaders =
        Texts(p_oDatabase,
              "SELECT s.symbol FROM stocks s JOIN stock_days d ON d.day_key = s.stock_id * 4194304 "
              "+ (SELECT max(trade_date) FROM trading_days) WHERE d.rs_rank IS NOT NULL "
              "ORDER BY d.rs_rank DESC, s.symbol LIMIT 10");
    const std::vector<std::string> aLaggards =
        Texts(p_oDatabase,
              "SELECT s.symbol FROM stocks s JOIN stock_days d ON d.day_key = s.stock_id * 4194304 "
              "+ (SELECT max(trade_date) FROM trading_days) WHERE d.rs_rank IS NOT NULL "
              "ORDER BY d.rs_rank, s.symbol LIMIT 10");
    const std::vector<std::string> aIncome =
        Texts(p_oDatabase,
              "SELECT s.symbol FROM fundamentals f JOIN stocks s ON s.stock_id = f.stock_id "
              "ORDER BY f.dividend_pct DESC, s.symbol LIMIT 10");
    const std::vector<std::string> aFirstSector =
        Texts(p_oDatabase,
              "SELECT s.symbol FROM stocks s JOIN industries i ON i.ind_code = s.ind_code "
              "WHERE i.sector_code = (SELECT min(sector_code) FROM sectors) ORDER BY s.symbol "
              "LIMIT 12");
    const std::vector<std::string> aStrongGroups =
        Texts(p_oDatabase,
              "SELECT group_code FROM group_days WHERE group_kind = 1 AND trade_date = "
              "(SELECT max(trade_date) FROM trading_days) ORDER BY avg_rank DESC, group_code "
              "LIMIT 8");

    WatchListStore oLists(p_oDatabase);
    const int32_t lIdeas = oLists.CreateFolder(kDemoOwnerId, 0, watch_list_type::kStocks, "Ideas");
    oLists.CreateWatchList(kDemoOwnerId, lIdeas, watch_list_type::kStocks, "Leaders",
                           "The strongest stocks", aLeaders);
    oLists.CreateWatchList(kDemoOwnerId, lIdeas, watch_list_type::kStocks, "Laggards",
                           "The weakest stocks", aLaggards);
    const int32_t lIncome =
        oLists.CreateFolder(kDemoOwnerId, lIdeas, watch_list_type::kStocks, "Income");
    oLists.CreateWatchList(kDemoOwnerId, lIncome, watch_list_type::kStocks, "Dividend Payers",
                           "Highest dividend yields", aIncome);
    oLists.CreateWatchList(kDemoOwnerId, 0, watch_list_type::kStocks, "First Sector", "",
                           aFirstSector);
    const int32_t lGroups =
        oLists.CreateFolder(kDemoOwnerId, 0, watch_list_type::kIndustries, "Groups to Watch");
    oLists.CreateWatchList(kDemoOwnerId, lGroups, watch_list_type::kIndustries, "Strong Groups",
                           "Industry groups with the best average ranking", aStrongGroups);

    const int32_t lPortfolio =
        PortfolioStore(p_oDatabase).CreatePortfolio(kDemoOwnerId, "Demo Portfolio");
    AddDemoTrades(p_oDatabase, lPortfolio, aLeaders, aLaggards);

    LayoutRecord oLayout;
    oLayout.Header.Id = kFirstOwnerLayoutId;
    oLayout.Header.Name = "Momentum";
    oLayout.Header.Description = "Strength and distance from the highs";
    oLayout.Header.ParentId = system_layout::kStockList;
    oLayout.Header.OwnerId = kDemoOwnerId;
    oLayout.m_lDataType = 0;
    oLayout.Sort = MakeLayoutSort(9, 1, 5, 0);
    oLayout.Columns = BuildLayoutColumns({2, 6, 9, 24, 18, 20, 16, 8, 35}, 0, -1);
    LayoutStore(p_oDatabase).PutLayout(oLayout);
    oWork.Commit();
}

int32_t SampleIndustryLimit(int32_t p_lStocks) {
    size_t lNames = 0;
    for (const SampleSector& oSector : SampleSectors()) {
        lNames += oSector.m_aIndustries.size();
    }
    return std::min(static_cast<int32_t>(lNames), std::max(p_lStocks, 1));
}

void GenerateSampleMarket(MarketStore& p_oStore, const SampleMarketOptions& p_oOptions,
                          const ProgressFn& p_fProgress) {
    SqliteDatabase& oDatabase = p_oStore.Database();
    SqliteTransaction oWork(oDatabase);
    if (oDatabase.QueryInt64("SELECT count(*) FROM stocks") > 0) {
        throw FacadeError(p_oStore.Path(), 0,
                          "the database already holds a market; a sample is only generated into "
                          "an empty database");
    }
    const SampleRandom oRoot(p_oOptions.m_llSeed);
    const std::vector<int32_t> aDays =
        TradingCalendar(p_oOptions.m_lLastDay, std::max(p_oOptions.m_lTradingDays, 1));
    const std::vector<SampleIndustry> aIndustries = ChooseIndustries(
        std::clamp(p_oOptions.m_lIndustries, 1, SampleIndustryLimit(p_oOptions.m_lStocks)),
        oRoot.Fork(kIndustryStream));
    const std::vector<size_t> aAssigned = AssignIndustries(
        std::max(p_oOptions.m_lStocks, 0), aIndustries, oRoot.Fork(kIndustryStream + 10));
    const Factors oFactors = MakeFactors(oRoot, aIndustries, aDays.size());

    NameMaker oNames(oRoot.Fork(kNameStream));
    std::vector<SampleStock> aStocks;
    for (const size_t lIndustry : aAssigned) {
        auto [sName, sSymbol] = oNames.Make(SampleSectors()[aIndustries[lIndustry].m_lSector]);
        aStocks.push_back({std::move(sSymbol), std::move(sName), lIndustry});
    }

    WriteReferenceData(oDatabase, aIndustries, aStocks);
    SqliteStatement oFundamentals = oDatabase.Prepare(
        "INSERT INTO fundamentals (stock_id, eps, sales_musd, shares_m, growth_pct, dividend_pct) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    std::vector<StockSeries> aSeries;
    aSeries.reserve(aStocks.size());
    const auto llStocks = static_cast<int64_t>(aStocks.size());
    for (size_t i = 0; i < aStocks.size(); ++i) {
        SampleRandom oRandom = oRoot.Fork(kStockStreams + i);
        const size_t lIndustry = aStocks[i].m_lIndustry;
        aSeries.push_back(MakeBars(oRandom, static_cast<int64_t>(i + 1),
                                   aIndustries[lIndustry].m_lSector, lIndustry, oFactors, aDays));
        WriteFundamentals(oFundamentals, oRandom, static_cast<int64_t>(i + 1),
                          aSeries.back().m_aBars.back().m_dClose);
        if (static_cast<int32_t>(i) % kProgressStocks == 0) {
            ReportProgress(p_fProgress, "Generating prices", static_cast<int64_t>(i), llStocks);
        }
    }
    ReportProgress(p_fProgress, "Generating prices", llStocks, llStocks);
    RewriteDailyData(oDatabase, aSeries, p_fProgress);
    if (p_oOptions.m_bDemoOwner) {
        CreateDemoOwner(oDatabase);
    }
    oWork.Commit();
}

std::unique_ptr<MarketStore> OpenOrGenerateMarket(const std::string& p_sPath,
                                                  const ProgressFn& p_fProgress) {
    auto oStore = std::make_unique<MarketStore>(p_sPath, MarketStore::Access::ReadWrite);
    if (oStore->Database().QueryInt64("SELECT count(*) FROM stocks") == 0) {
        if (oStore->IsReadOnly()) {
            throw FacadeError(p_sPath, 0,
                              "the database holds no market yet, and it is read-only, so the "
                              "sample market cannot be made in it");
        }
        GenerateSampleMarket(*oStore, SampleMarketOptions{}, p_fProgress);
    }
    return oStore;
}

}  // namespace qv::facade
