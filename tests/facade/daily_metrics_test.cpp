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

// A stock worth 98 a share and trading 1000 shares a day on the latest basis all along: a 2:1
// split at bar 100, a 2 % dividend from bar 150, a 4:1 split at bar 200, and the source's adjusted
// closes on a basis of their own (half the latest). Every row reads the same around each event.
TEST(DailyMetrics, EveryFigureOfARowIsOnTheLatestBasisAroundSplitsAndADividend) {
    std::vector<DailyBar> aBars = Bars(300);
    for (size_t i = 0; i < aBars.size(); ++i) {
        const double dShares = i < 100 ? 8.0 : i < 200 ? 4.0 : 1.0;
        aBars[i].m_dClose = (i < 150 ? 100.0 : 98.0) * dShares;
        aBars[i].m_dHigh = aBars[i].m_dClose * 1.01;
        aBars[i].m_dLow = aBars[i].m_dClose * 0.99;
        aBars[i].m_dAdjClose = 49.0;
        aBars[i].m_llVolume = static_cast<int64_t>(1000 / dShares);
    }
    const std::vector<DailyMetrics> aMetrics = ComputeDailyMetrics(aBars);
    for (const size_t lBar : {99, 100, 101, 149, 150, 199, 200, 201, 299}) {
        const DailyMetrics& oDay = aMetrics[lBar];
        EXPECT_NEAR(aBars[lBar].m_dClose * oDay.m_dPriceFactor, 98.0, 1e-9) << lBar;
        EXPECT_NEAR(oDay.m_dPctChange, 0.0, 1e-9) << lBar;
        EXPECT_NEAR(static_cast<double>(aBars[lBar].m_llVolume) * oDay.m_dShareFactor, 1000, 1e-9);
        EXPECT_NEAR(oDay.m_dAvgVolume, 1000.0, 1e-9) << lBar;
        EXPECT_NEAR(oDay.m_dMa50, 98.0, 1e-9) << lBar;
        EXPECT_NEAR(lBar < 199 ? 98.0 : oDay.m_dMa200, 98.0, 1e-9) << lBar;
        EXPECT_NEAR(oDay.m_dHigh52, 98.98, 1e-9) << lBar;
        EXPECT_NEAR(oDay.m_dLow52, 97.02, 1e-9) << lBar;
    }
}

// Steps of the adjustment factor seen in real data: splits are exact ratios; spin-offs and
// special dividends (2.0116, 1.487, 1.238, 1.0632) are not, and must not rescale volumes.
TEST(DailyMetrics, OnlyAStepOfASplitRatioIsASplit) {
    for (const auto& [dStep, dSplit] : {std::pair{4.0, 4.0},
                                        {1.5, 1.5},
                                        {1.25, 1.25},
                                        {0.3333, 1.0 / 3},
                                        {0.1, 0.1},
                                        {20.0, 20.0},
                                        {2.0116, 1.0},
                                        {1.487, 1.0},
                                        {1.238, 1.0},
                                        {1.0632, 1.0},
                                        {0.0, 1.0}}) {
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
