#include "facade/daily_metrics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace qv::facade {
namespace {

// Flat bars at 100 with 1000 shares a day.
std::vector<DailyBar> Bars(size_t p_lCount) {
    std::vector<DailyBar> aBars(p_lCount, DailyBar{0, 100, 100, 100, 100, 100, 1000});
    for (size_t i = 0; i < p_lCount; ++i) {
        aBars[i].m_lDate = static_cast<int32_t>(40000 + i);
    }
    return aBars;
}

TEST(DailyMetrics, AveragesStartWithAFullWindowAndTheYearHighExpires) {
    std::vector<DailyBar> aBars = Bars(300);
    for (size_t i = 0; i < aBars.size(); ++i) {
        aBars[i].m_dClose = aBars[i].m_dAdjClose = static_cast<double>(i + 1);
    }
    aBars[10].m_dHigh = 150.0;
    aBars[259].m_llVolume = 1000000;
    const std::vector<DailyMetrics> aMetrics = ComputeDailyMetrics(aBars);
    EXPECT_TRUE(std::isnan(aMetrics[0].m_dPctChange));
    EXPECT_TRUE(std::isnan(aMetrics[0].m_dAvgVolume));
    EXPECT_TRUE(std::isnan(aMetrics[48].m_dMa50));
    EXPECT_DOUBLE_EQ(aMetrics[49].m_dMa50, 25.5);    // mean of 1..50
    EXPECT_DOUBLE_EQ(aMetrics[199].m_dMa50, 175.5);  // mean of 151..200
    EXPECT_TRUE(std::isnan(aMetrics[198].m_dMa200));
    EXPECT_DOUBLE_EQ(aMetrics[199].m_dMa200, 100.5);
    // The average volume leaves the day out.
    EXPECT_DOUBLE_EQ(aMetrics[1].m_dAvgVolume, 1000.0);
    EXPECT_DOUBLE_EQ(aMetrics[259].m_dAvgVolume, 1000.0);
    EXPECT_EQ(aMetrics[261].m_dHigh52, 150.0);  // bars 10..261
    EXPECT_EQ(aMetrics[262].m_dHigh52, 100.0);
}

// 300 bars of a stock worth 98 a share on the latest basis all along, traded 1000 shares a day
// on that basis: a 2:1 split at bar 100, a 2 % dividend from bar 150, a 4:1 split at bar 200.
// The source's adjusted closes are on a basis of its own (half the latest, as after a later
// split), which the metrics must not carry into a row.
std::vector<DailyBar> SplitSeries() {
    std::vector<DailyBar> aBars = Bars(300);
    for (size_t i = 0; i < aBars.size(); ++i) {
        const double dShares = i < 100 ? 8.0 : i < 200 ? 4.0 : 1.0;
        const double dClose = (i < 150 ? 100.0 : 98.0) * dShares;
        aBars[i].m_dOpen = aBars[i].m_dClose = dClose;
        aBars[i].m_dHigh = dClose * 1.01;
        aBars[i].m_dLow = dClose * 0.99;
        aBars[i].m_dAdjClose = 49.0;
        aBars[i].m_llVolume = static_cast<int64_t>(1000 / dShares);
    }
    return aBars;
}

TEST(DailyMetrics, EveryFigureOfARowIsOnTheLatestBasisAroundSplitsAndADividend) {
    const std::vector<DailyBar> aBars = SplitSeries();
    const std::vector<DailyMetrics> aMetrics = ComputeDailyMetrics(aBars);
    for (const auto& [lBar, dShares] : {std::pair{99, 8.0},
                                        {100, 4.0},
                                        {101, 4.0},
                                        {149, 4.0},
                                        {150, 4.0},
                                        {199, 4.0},
                                        {200, 1.0},
                                        {201, 1.0},
                                        {249, 1.0},
                                        {299, 1.0}}) {
        const DailyBar& oBar = aBars[static_cast<size_t>(lBar)];
        const DailyMetrics& oDay = aMetrics[static_cast<size_t>(lBar)];
        EXPECT_NEAR(oBar.m_dClose * oDay.m_dPriceFactor, 98.0, 1e-9) << lBar;
        EXPECT_EQ(oDay.m_dShareFactor, dShares) << lBar;
        EXPECT_NEAR(oDay.m_dPctChange, 0.0, 1e-9) << lBar;
        EXPECT_NEAR(static_cast<double>(oBar.m_llVolume) * oDay.m_dShareFactor / oDay.m_dAvgVolume,
                    1.0, 1e-9)
            << lBar;
        EXPECT_NEAR(oDay.m_dMa50, 98.0, 1e-9) << lBar;
        EXPECT_NEAR(oDay.m_dHigh52, 98.0 * 1.01, 1e-9) << lBar;
        EXPECT_NEAR(oDay.m_dLow52, 98.0 * 0.99, 1e-9) << lBar;
        if (lBar >= 199) {
            EXPECT_NEAR(oDay.m_dMa200, 98.0, 1e-9) << lBar;
        }
    }
}

// Steps of the adjustment factor from the real data: splits are exact ratios, spin-offs and
// special dividends come near one now and then and must not rescale volumes.
TEST(DailyMetrics, OnlyAStepOfASplitRatioIsASplit) {
    for (const auto& [dStep, dSplit] : {std::pair{4.0, 4.0},
                                        {2.0, 2.0},
                                        {1.5, 1.5},
                                        {1.25, 1.25},
                                        {0.3333, 1.0 / 3},
                                        {0.1, 0.1},
                                        {20.0, 20.0},
                                        {2.0116, 1.0},
                                        {1.487, 1.0},
                                        {1.238, 1.0},
                                        {1.0632, 1.0},
                                        {1.004, 1.0},
                                        {0.8, 0.8},
                                        {0.0, 1.0},
                                        {kNoValue, 1.0}}) {
        EXPECT_DOUBLE_EQ(SplitRatio(dStep), dSplit) << dStep;
    }
}

TEST(DailyMetrics, StrengthNeedsTwentyBarsOfHistory) {
    std::vector<DailyBar> aBars = Bars(30);
    aBars[25].m_dAdjClose = 110.0;
    const std::vector<double> aScores = StrengthScores(aBars);
    EXPECT_TRUE(std::isnan(aScores[19]));
    EXPECT_DOUBLE_EQ(aScores[20], 0.0);
    // All four periods reach back to the first bar: 2 * 10 % + 10 % + 10 % + 10 %.
    EXPECT_NEAR(aScores[25], 0.5, 1e-12);
}

TEST(DailyMetrics, RankingsRunFromOneToNinetyNine) {
    for (const auto& [lPosition, lCount, lRanking] :
         {std::tuple{0, 500, 1}, {249, 500, 49}, {499, 500, 99}, {0, 1, 50}}) {
        EXPECT_EQ(RankingFromPosition(lPosition, lCount), lRanking) << lPosition << "/" << lCount;
    }
}

}  // namespace
}  // namespace qv::facade
