// The pages' calls: each on the shared test market, with what a caller can get wrong, and the
// quick test, the price history and the dividends on a market of four days written out here.
#include <gtest/gtest.h>

#include <cmath>

#include "facade/component_test_support.h"
#include "facade/facade_test_files.h"
#include "facade/market_rebuild.h"
#include "facade/market_store.h"
#include "facade/page_dividends.h"
#include "facade/page_option_price.h"
#include "facade/page_quick_test.h"
#include "facade/pages_component.h"
#include "facade/sqlite_database.h"
#include "outside/dispatch.h"
#include "outside/vb_date.h"

namespace qv::facade::testing {

namespace {

const Variant kNone = Variant();
const Variant kNothing = Variant::Nothing();

std::vector<Variant> QuickTestArgs(int32_t p_lKind, const std::string& p_sCodes, double p_dStart,
                                   double p_dEnd) {
    return {p_lKind,
            p_sCodes,
            Variant::Date(p_dStart),
            Variant::Date(p_dEnd),
            kNothing,
            kNone,
            kNone,
            kNone,
            kNone,
            kNone,
            kNone};
}

double Number(Recordset& p_rRows, std::string_view p_sField) {
    return p_rRows.Value(p_sField).ToDouble();
}

std::vector<double> Numbers(Recordset& p_rRows, std::string_view p_sField) {
    std::vector<double> aValues;
    for (const Variant& vValue : Column(p_rRows, p_sField)) {
        aValues.push_back(vValue.IsNull() ? NAN : vValue.ToDouble());
    }
    return aValues;
}

void ExpectNear(const std::vector<double>& p_aValues, const std::vector<double>& p_aExpected) {
    ASSERT_EQ(p_aValues.size(), p_aExpected.size());
    for (size_t i = 0; i < p_aValues.size(); ++i) {
        EXPECT_NEAR(p_aValues[i], p_aExpected[i], 1e-9) << i;
    }
}

}  // namespace

class PagesOnSample : public ComponentTest {
  protected:
    std::shared_ptr<Recordset> Pages(std::string_view p_sMethod, std::vector<Variant>& p_aArgs) {
        return RecordsetOf(Call(prog_id::kPages, p_sMethod, p_aArgs));
    }
    std::shared_ptr<Recordset> Pages(std::string_view p_sMethod, std::vector<Variant>&& p_aArgs) {
        return Pages(p_sMethod, p_aArgs);
    }
    static int32_t FirstDay() {
        return static_cast<int32_t>(Count("SELECT min(trade_date) FROM trading_days"));
    }
};

TEST_F(PagesOnSample, WhatACallerGetsWrongIsNamedInTheError) {
    const std::string sSymbol = Symbols(1)[0];
    const double dFirst = FirstDay(), dLast = LastDay();
    const Variant vBefore = Variant::Date(dFirst - 10), vAfter = Variant::Date(dLast + 30);
    struct Case {
        const char* m_sMethod;
        std::vector<Variant> m_aArgs;
        std::string m_sSaid;
    };
    const Case aCases[] = {
        {"StockDetail", {"  ", kNone}, "argument 1 (Symbol): no symbol"},
        {"StockDetail", {"NOPE", kNone}, "argument 1 (Symbol): unknown symbol 'NOPE'"},
        {"StockDetail", {sSymbol, vBefore}, "argument 2 (Date): " + IsoDateText(dFirst - 10)},
        {"StockDetail", {sSymbol, vAfter}, "is outside the trading days of the store"},
        {"PriceHistory", {sSymbol, dLast, dFirst}, "argument 2 (FirstDate): no trading day from"},
        {"PriceHistory", {sSymbol, kNone, vAfter}, "argument 3 (LastDate): "},
        {"IndustryDetail", {999, kNone, kNothing}, "argument 1 (Code): unknown industry 999"},
        {"IndustryDetail", {"abc", kNone, kNothing}, "argument 1 (Code): Type mismatch"},
        {"SectorDetail", {1, vBefore, kNothing}, "argument 2 (Date): "},
        {"SectorDetail", {-4, kNone, kNothing}, "unknown sector -4"},
        {"ChartSeries", {3, "1", kNone, kNone, false}, "argument 1 (Kind): kind 3 is none of"},
        {"ChartSeries", {0, " , ", kNone, kNone, false}, "argument 2 (Codes): no codes"},
        {"ChartSeries", {1, "1,x", kNone, kNone, false}, "argument 2 (Codes): Type mismatch"},
        {"ChartSeries",
         {0, sSymbol + ",ZZZ9, q'", kNone, kNone, true},
         "argument 2 (Codes): unknown stock symbols: 'ZZZ9', 'q''"},
        {"ChartSeries", {2, "1", vBefore, kNone, false}, "argument 3 (FirstDate): "},
        {"StockAnalysis", {"", kNone}, "argument 1 (Symbol): no symbol"},
        {"StockAnalysis", {sSymbol, vAfter}, "argument 2 (Date): "},
        {"QuickTest", QuickTestArgs(0, "", dFirst, dLast), "argument 2 (Codes): no codes"},
        {"QuickTest", QuickTestArgs(2, "77", dFirst, dLast), "unknown sector codes: '77'"},
        {"QuickTest", QuickTestArgs(0, sSymbol, dFirst, dLast + 30), "argument 4 (EndDate): "},
        {"QuickTest", QuickTestArgs(1, "1", dLast, dFirst), "argument 3 (StartDate): no trading"},
        {"Dividends", {""}, "argument 1 (Symbols): no codes"},
        {"Dividends", {sSymbol + ",NOPE"}, "unknown stock symbols: 'NOPE'"},
        {"OptionPrice", {sSymbol, kNone, 0.0, 30, 4.0, kNone}, "argument 3 (Strike): 0 is"},
        {"OptionPrice", {sSymbol, kNone, kNone, 0, 4.0, kNone}, "argument 4 (Days): 0 is"},
        {"OptionPrice", {sSymbol, kNone, kNone, 30, 90.0, kNone}, "argument 5 (Rate): 90 is"},
        {"OptionPrice", {sSymbol, kNone, kNone, 30, 4.0, "x"}, "argument 6 (Volatility): Type"},
    };
    for (const Case& oCase : aCases) {
        const AutomationError oError = CallError(prog_id::kPages, oCase.m_sMethod, oCase.m_aArgs);
        EXPECT_EQ(oError.Description().rfind(std::string(oCase.m_sMethod) + ": ", 0), 0u)
            << oError.Description();
        EXPECT_NE(oError.Description().find(oCase.m_sSaid), std::string::npos)
            << oCase.m_sMethod << " said: " << oError.Description();
    }
}

TEST_F(PagesOnSample, AStockOnADayHasTheBarOfTheTradingDayOnOrBeforeIt) {
    const std::string sSymbol = Symbols(1, 5)[0];
    const int32_t lLast = LastDay(), lBefore = DayBefore(lLast);
    // A day after a trading day that is not one itself reads that trading day.
    const int32_t lGap = lLast - lBefore > 1 ? lBefore + 1 : lBefore;
    for (const auto& [vDay, lExpected] :
         {std::pair{kNone, lLast}, {Variant::Date(lGap), lBefore}, {Variant(lLast), lLast}}) {
        std::shared_ptr<Recordset> rRow = Pages("StockDetail", {sSymbol, vDay});
        ASSERT_EQ(rRow->RecordCount(), 1);
        EXPECT_EQ(Number(*rRow, "TradeDate"), lExpected);
        // Symbols(1, 5) is the sixth stock by id.
        const int64_t lClose = Count(
            "SELECT round(close * 10000) FROM stock_days WHERE day_key = 4194304 * "
            "(SELECT stock_id FROM stocks ORDER BY stock_id LIMIT 1 OFFSET 5) + ?1",
            lExpected);
        EXPECT_EQ(std::round(Number(*rRow, "Close") * 10000), lClose);
        const int64_t lRank = rRow->Value("RSRank").ToLong();
        EXPECT_EQ(rRow->Value("REC").ToString(), lRank >= 70 ? "B" : lRank <= 30 ? "S" : "H");
        EXPECT_FALSE(rRow->Value("RelStrength").IsNull());
        EXPECT_FALSE(rRow->Value("SectorName").ToString().empty());
    }
}

TEST_F(PagesOnSample, AGroupsMembersAddUpToItsFigures) {
    for (const char* sMethod : {"IndustryDetail", "SectorDetail"}) {
        std::vector<Variant> aArgs{1, kNone, kNothing};
        std::shared_ptr<Recordset> rGroup = Pages(sMethod, aArgs);
        std::shared_ptr<Recordset> rMembers =
            RowsAt(aArgs, facade_protocol::group_detail::kMembers);
        ASSERT_EQ(rGroup->RecordCount(), 1) << sMethod;
        EXPECT_EQ(Number(*rGroup, "TradeDate"), LastDay());
        EXPECT_GE(rGroup->Value("Rank").ToLong(), 1);
        double dMembers = rMembers->RecordCount();
        if (std::string_view(sMethod) == "SectorDetail") {
            dMembers = 0;
            for (double dCount : Numbers(*rMembers, "MemberCount")) {
                dMembers += dCount;
            }
        }
        EXPECT_EQ(Number(*rGroup, "MemberCount"), dMembers) << sMethod;
    }
}

TEST_F(PagesOnSample, AnAnalysisSetsTheStockBesideItsIndustryAndSector) {
    std::shared_ptr<Recordset> rRows = Pages("StockAnalysis", {Symbols(1, 3)[0], kNone});
    ASSERT_EQ(Texts(*rRows, "Level"), (std::vector<std::string>{"Stock", "Industry", "Sector"}));
    const std::vector<double> aBuy = Numbers(*rRows, "Buy"), aHold = Numbers(*rRows, "Hold"),
                              aSell = Numbers(*rRows, "Sell"),
                              aMembers = Numbers(*rRows, "MemberCount");
    EXPECT_TRUE(std::isnan(aBuy[0]));
    for (size_t i : {1u, 2u}) {
        EXPECT_EQ(aBuy[i] + aHold[i] + aSell[i], aMembers[i]) << i;
    }
    EXPECT_LE(aMembers[1], aMembers[2]);
}

TEST_F(PagesOnSample, ChartSeriesGiveEveryCodeItsDaysInOneAnswer) {
    const std::vector<std::string> aSymbols = Symbols(2, 10);
    const int32_t lLast = LastDay();
    const double dDays = static_cast<double>(Count("SELECT count(*) FROM trading_days"));
    std::shared_ptr<Recordset> rRows =
        Pages("ChartSeries", {0, aSymbols[1] + "," + aSymbols[0], kNone, kNone, true});
    ASSERT_EQ(rRows->RecordCount(), 2 * dDays);
    EXPECT_EQ(Texts(*rRows, "Code")[0], aSymbols[1]);
    const std::vector<double> aMa50 = Numbers(*rRows, "MA50"), aMa200 = Numbers(*rRows, "MA200"),
                              aStrength = Numbers(*rRows, "RelStrength");
    EXPECT_TRUE(std::isnan(aMa50[48]));
    EXPECT_FALSE(std::isnan(aMa50[49]));
    EXPECT_TRUE(std::isnan(aMa200[198]));
    EXPECT_FALSE(std::isnan(aMa200[199]));
    EXPECT_DOUBLE_EQ(aStrength[0], 100);
    // A later first day still averages the bars before it.
    rRows = Pages("ChartSeries", {1, "1", lLast - 20, lLast, true});
    EXPECT_EQ(Number(*rRows, "TradeDate"), Count("SELECT min(trade_date) FROM trading_days "
                                                 "WHERE trade_date >= ?1",
                                                 lLast - 20));
    EXPECT_FALSE(rRows->Value("MA200").IsNull());
}

TEST_F(PagesOnSample, AWatchListsMembersComeInItsOrderForItsGraph) {
    const std::vector<std::string> aSymbols = Symbols(3);
    const int32_t lOthers = NewList(NewOwner(), {aSymbols[1]});
    const int32_t lOwner = NewOwner();
    struct Case {
        int32_t m_lList;
        std::string m_sCodes;
        int32_t m_lKind;
    };
    const Case aCases[] = {
        {NewList(lOwner, {aSymbols[2], aSymbols[0]}), aSymbols[2] + "," + aSymbols[0], 0},
        {NewList(lOwner, {"2", "1"}, 1), "2,1", 1},
        {NewList(lOwner, {}), "", 0},
        {lOthers, "", -1},
    };
    for (const Case& oCase : aCases) {
        std::vector<Variant> aArgs{lOwner, oCase.m_lList, kNone, kNone};
        EXPECT_EQ(Call(prog_id::kPages, "WatchListMembers", aArgs).ToString(), oCase.m_sCodes);
        EXPECT_EQ(aArgs[3].ToLong(), oCase.m_lKind);
        EXPECT_EQ(aArgs[2].ToString().empty(), oCase.m_lKind < 0);
    }
}

TEST_F(PagesOnSample, TheSummarySaysTheSampleIsTheSample) {
    std::vector<Variant> aArgs{kNone, kNone, kNone, kNone, kNone, kNone};
    EXPECT_EQ(Call(prog_id::kPages, "MarketSummary", aArgs), Variant(true));
    namespace summary = facade_protocol::market_summary;
    EXPECT_EQ(aArgs[summary::kLastDay.Position].ToDate(), LastDay());
    EXPECT_EQ(aArgs[summary::kIsSample.Position], Variant(true));
    EXPECT_EQ(aArgs[summary::kOrigin.Position].ToString().rfind("Generated sample market", 0), 0u);
}

// Textbook values: S = K = 100, one year, 5 % and 20 %.
TEST(PageOptionPrice, BlackScholesAgreesWithTheTextbook) {
    const OptionFigures oFigures = PriceOption({100, 100, 1, 0.05, 0.2});
    const std::pair<double, double> aCases[] = {
        {oFigures.m_dCall, 10.4506},           {oFigures.m_dPut, 5.5735},
        {oFigures.m_dCallDelta, 0.6368},       {oFigures.m_dPutDelta, -0.3632},
        {oFigures.m_dGamma, 0.01876},          {oFigures.m_dVega, 0.37524},
        {oFigures.m_dCallTheta * 365, -6.414}, {oFigures.m_dPutTheta * 365, -1.658}};
    for (const auto& [dValue, dExpected] : aCases) {
        EXPECT_NEAR(dValue, dExpected, 1e-3);
    }
}

TEST_F(PagesOnSample, AnOptionIsPricedFromTheCloseWithTheHistoricalVolatility) {
    const std::string sSymbol = Symbols(1)[0];
    std::shared_ptr<Recordset> rRow =
        Pages("OptionPrice", {sSymbol, kNone, kNone, 365, 5.0, kNone});
    ASSERT_EQ(rRow->RecordCount(), 1);
    EXPECT_DOUBLE_EQ(Number(*rRow, "Strike"), Number(*rRow, "Close"));
    EXPECT_DOUBLE_EQ(Number(*rRow, "Volatility"), Number(*rRow, "HistVolatility"));
    const OptionFigures oFigures = PriceOption({Number(*rRow, "Close"), Number(*rRow, "Close"), 1,
                                                0.05, Number(*rRow, "Volatility") / 100});
    EXPECT_NEAR(Number(*rRow, "CallPrice"), oFigures.m_dCall, 1e-9);
}

TEST_F(PagesOnSample, TheSampleKeepsNoDividendsInItsPrices) {
    const std::string sSymbols = Symbols(1)[0] + "," + Symbols(1, 1)[0];
    EXPECT_EQ(Pages("Dividends", {sSymbols})->RecordCount(), 0);
    std::shared_ptr<Recordset> rHistory = Pages("PriceHistory", {Symbols(1)[0], kNone, kNone});
    for (double dFactor : Numbers(*rHistory, "AdjFactor")) {
        ASSERT_DOUBLE_EQ(dFactor, 1);
    }
}

// Four days of three stocks in two industries and one that starts trading on the third day.
// AAA splits 2:1 on the third day; BBB goes ex-dividend 0.20 that day (its first closes as
// traded, 20.20, times 1 - 0.20 / 20.20 give the adjusted 20).
class PagesOnHandMarket : public ::testing::Test {
  protected:
    void SetUp() override {
        m_oStore = std::make_shared<MarketStore>(m_oFolder.File("hand.db"),
                                                 MarketStore::Access::ReadWrite);
        SqlDatabase& oDatabase = m_oStore->Database();
        oDatabase.Execute(
            "INSERT INTO sectors VALUES (1, 'Tech');"
            "INSERT INTO industries VALUES (10, 'Chips', 1), (11, 'Software', 1);"
            "INSERT INTO stocks VALUES (1, 'AAA', 'Alpha', 10), (2, 'BBB', 'Beta', 10),"
            " (3, 'CCC', 'Gamma', 11), (4, 'DDD', 'Delta', 11)");
        // A stock that starts trading later has bars on the last days only.
        const auto Series = [&](int64_t p_llId, std::vector<std::pair<double, double>> p_aBars) {
            return HandSeries(p_llId, std::span(m_aDays).last(p_aBars.size()), p_aBars);
        };
        SqlTransaction oWork(oDatabase);
        RewriteDailyData(oDatabase,
                         {Series(1, {{20, 10}, {22, 11}, {12, 12}, {9, 9}}),
                          Series(2, {{20.2, 20}, {20.2, 20}, {22, 22}, {24, 24}}),
                          Series(3, {{5, 5}, {6, 6}, {4, 4}, {5, 5}}), Series(4, {{7, 7}, {8, 8}})},
                         {});
        oWork.Commit();
        m_oPages = std::make_shared<PagesComponent>(std::make_shared<FacadeBackend>(m_oStore));
    }

    Variant Call(std::string_view p_sMethod, std::vector<Variant>& p_aArgs) {
        return CallMethod(*m_oPages, p_sMethod, p_aArgs);
    }

    // Monday 2 to Thursday 5 March 2026.
    const int32_t m_aDays[4] = {DaySerialFromCivil(2026, 3, 2), DaySerialFromCivil(2026, 3, 3),
                                DaySerialFromCivil(2026, 3, 4), DaySerialFromCivil(2026, 3, 5)};
    ScratchFolder m_oFolder;
    std::shared_ptr<MarketStore> m_oStore;
    std::shared_ptr<PagesComponent> m_oPages;
};

// The viewer's day arithmetic on a store of its own days: Monday 2 to Thursday 5 March.
TEST_F(PagesOnHandMarket, TheSummaryFindsTheTradingDayOnOrBeforeADay) {
    namespace summary = facade_protocol::market_summary;
    const std::pair<Variant, Variant> aCases[] = {
        {kNone, Variant::Date(m_aDays[3])},
        {Variant::Date(m_aDays[2]), Variant::Date(m_aDays[2])},
        {Variant::Date(m_aDays[0] - 1), kNone},
        {Variant::Date(m_aDays[3] + 3), Variant::Date(m_aDays[3])},
    };
    for (const auto& [vDay, vTradingDay] : aCases) {
        std::vector<Variant> aArgs{vDay, kNone, kNone, kNone, kNone, kNone};
        Call("MarketSummary", aArgs);
        EXPECT_EQ(aArgs[summary::kTradingDay.Position], vTradingDay) << vDay.ToString();
        EXPECT_EQ(aArgs[summary::kFirstDay.Position], Variant::Date(m_aDays[0]));
        EXPECT_EQ(aArgs[summary::kLastDay.Position], Variant::Date(m_aDays[3]));
        EXPECT_EQ(aArgs[summary::kIsSample.Position], Variant(false));
    }
}

// Bought at 10 and 20 on the first day, AAA grows by 1, 1.1, 1.2, 0.9 and BBB by 1, 1, 1.1, 1.2:
// the portfolio is 100, 105, 115, 105. The market adds CCC (1, 1.2, 0.8, 1), not DDD, which has
// no bar on the first day: 100, 110, 103.33, 103.33. Daily returns 5 %, 9.524 %, -8.696 %: a
// sample stdev of 0.094867, times sqrt(252) 150.597 %; the fall from 115 to 105 is 8.696 %; 5 %
// in three calendar days is 1.05^(365.25 / 3) - 1 a year.
TEST_F(PagesOnHandMarket, AQuickTestAgreesWithTheHandComputation) {
    std::vector<Variant> aArgs = QuickTestArgs(0, "aaa, 2", m_aDays[0], m_aDays[3]);
    std::shared_ptr<Recordset> rLines = RecordsetOf(Call("QuickTest", aArgs));
    const std::vector<double> aPortfolio = Numbers(*rLines, "Portfolio");
    const std::vector<double> aMarket = Numbers(*rLines, "Market");
    ExpectNear(aPortfolio, {100, 105, 115, 105});
    ExpectNear(aMarket, {100, 110, 310.0 / 3, 310.0 / 3});
    namespace quick = facade_protocol::quick_test;
    EXPECT_NEAR(aArgs[quick::kTotalReturn.Position].ToDouble(), 5, 1e-9);
    EXPECT_NEAR(aArgs[quick::kAnnualReturn.Position].ToDouble(),
                (std::pow(1.05, 365.25 / 3) - 1) * 100, 1e-6);
    EXPECT_NEAR(aArgs[quick::kMaxDrawdown.Position].ToDouble(), 8.695652, 1e-6);
    EXPECT_NEAR(aArgs[quick::kVolatility.Position].ToDouble(), 150.59665, 1e-5);
    EXPECT_EQ(aArgs[quick::kBestCode.Position].ToString(), "BBB");
    EXPECT_EQ(aArgs[quick::kWorstCode.Position].ToString(), "AAA");
    std::shared_ptr<Recordset> rMembers = RowsAt(aArgs, quick::kMembers);
    EXPECT_EQ(Texts(*rMembers, "Name"), (std::vector<std::string>{"Alpha", "Beta"}));
    ExpectNear(Numbers(*rMembers, "Return"), {-10, 20});
}

TEST_F(PagesOnHandMarket, ACodeWithoutAPriceOnTheFirstDayIsNotHeld) {
    std::vector<Variant> aArgs = QuickTestArgs(0, "CCC,DDD", m_aDays[0], m_aDays[3]);
    std::shared_ptr<Recordset> rLines = RecordsetOf(Call("QuickTest", aArgs));
    ExpectNear(Numbers(*rLines, "Portfolio"), {100, 120, 80, 100});
    std::shared_ptr<Recordset> rMembers = RowsAt(aArgs, facade_protocol::quick_test::kMembers);
    EXPECT_TRUE(std::isnan(Numbers(*rMembers, "StartPrice")[1]));
    aArgs = QuickTestArgs(0, "DDD", m_aDays[0], m_aDays[3]);
    try {
        Call("QuickTest", aArgs);
        ADD_FAILURE() << "a quick test of nothing held ran";
    } catch (const AutomationError& oError) {
        EXPECT_EQ(oError.Description(),
                  "QuickTest: argument 2 (Codes): no stock of the codes has a price on 2026-03-02");
    }
    // A summary of a single day has nothing to annualise or spread.
    aArgs = QuickTestArgs(0, "DDD", m_aDays[2], m_aDays[2]);
    Call("QuickTest", aArgs);
    EXPECT_TRUE(aArgs[facade_protocol::quick_test::kVolatility.Position].IsNull());
    EXPECT_TRUE(aArgs[facade_protocol::quick_test::kAnnualReturn.Position].IsNull());
}

TEST_F(PagesOnHandMarket, TheHistoryShowsTradedAndAdjustedPricesAndTheDividendsBetweenThem) {
    std::vector<Variant> aArgs{"AAA", kNone, kNone};
    std::shared_ptr<Recordset> rHistory = RecordsetOf(Call("PriceHistory", aArgs));
    EXPECT_EQ(Numbers(*rHistory, "Close"), (std::vector<double>{9, 12, 22, 20}));
    EXPECT_EQ(Numbers(*rHistory, "AdjClose"), (std::vector<double>{9, 12, 11, 10}));
    aArgs = {"AAA, BBB,CCC"};
    std::shared_ptr<Recordset> rDividends = RecordsetOf(Call("Dividends", aArgs));
    ASSERT_EQ(rDividends->RecordCount(), 1);
    EXPECT_EQ(rDividends->Value("Symbol").ToString(), "BBB");
    EXPECT_EQ(Number(*rDividends, "ExDate"), m_aDays[2]);
    EXPECT_NEAR(Number(*rDividends, "Amount"), 0.20, 1e-3);
    EXPECT_FALSE(rDividends->Value("Estimated").ToBool());
}

TEST(PageDividends, TheNextDateFollowsTheSpacingOfTheLastFour) {
    const std::pair<std::vector<int32_t>, std::optional<int32_t>> aCases[] = {
        {{}, std::nullopt},     {{100}, std::nullopt},
        {{100, 191}, 282},      {{0, 100, 191, 282, 373}, 464},
        {{100, 190, 281}, 372},
    };
    for (const auto& [aDates, lExpected] : aCases) {
        std::vector<InferredDividend> aDividends;
        for (int32_t lDate : aDates) {
            aDividends.push_back({lDate, 0.5});
        }
        EXPECT_EQ(EstimateNextDividend(aDividends), lExpected) << aDates.size();
    }
}

}  // namespace qv::facade::testing
