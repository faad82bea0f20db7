#include "facade/daily_metrics.h"

#include <gtest/gtest.h>

#include <cmath>
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

// A 2-for-1 split halves the traded price; the adjusted close carries on, so the day shows no
// crash and the past is put on the new share basis.
TEST(DailyMetrics, ASplitIsNotACrash) {
    std::vector<DailyBar> aBars = Bars(60);
    for (size_t i = 0; i < 50; ++i) {
        aBars[i].m_dOpen = aBars[i].m_dHigh = aBars[i].m_dLow = aBars[i].m_dClose = 200.0;
    }
    const std::vector<DailyMetrics> aMetrics = ComputeDailyMetrics(aBars);
    EXPECT_NEAR(aMetrics[50].m_dPctChange, 0.0, 1e-12);
    EXPECT_NEAR(aMetrics[55].m_dHigh52, 100.0, 1e-9);
    EXPECT_NEAR(aMetrics[55].m_dMa50, 100.0, 1e-9);
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
