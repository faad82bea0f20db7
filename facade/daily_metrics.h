// The metrics derived from a stock's daily bars, and the relative-strength ranking across stocks.
//
// Prices in the bars are as traded (unadjusted); the adjusted close carries splits and dividends.
// Each derived price is put on the share basis of its own day: with f = adjusted close / close,
// a past value v of day s counts as v * f(s) / f(t) on day t. So a split does not show up as a
// crash, and the previous close, moving averages and 52-week range compare with the day's price.
//
//   percent change   (adj(t) / adj(t-1) - 1) * 100; so the previous bar's close on today's
//                    basis is close(t) / (1 + percent change / 100)
//   average volume   mean volume of the up to 50 bars before the day (the day excluded)
//   52-week high/low highest high / lowest low of the last 252 bars, the day included
//   moving averages  mean close of the last 50 / 200 bars, none until there are that many
//   strength score   2 * r(63) + r(126) + r(189) + r(252), r(n) the return over n bars, n cut to
//                    the bars available; none with fewer than 20 bars before the day
//   ranking          1 to 99 by the score among all stocks of the day, 99 the strongest
//   recommendation   B at a ranking of 70 or more, S at 30 or less, H otherwise (the REC field
//                    of the catalogue computes it from the stored ranking)
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace qv::facade {

constexpr int kAverageVolumeBars = 50;
constexpr int kYearBars = 252;
constexpr int kShortAverageBars = 50;
constexpr int kLongAverageBars = 200;
constexpr int kMinimumStrengthBars = 20;

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

struct DailyBar {
    int32_t m_lDate = 0;  // day serial
    double m_dOpen = kNoValue;
    double m_dHigh = kNoValue;
    double m_dLow = kNoValue;
    double m_dClose = 0;
    double m_dAdjClose = 0;
    int64_t m_llVolume = 0;
};

// NaN where a value does not exist yet (the first bar has no percent change, and so on).
struct DailyMetrics {
    double m_dPctChange = kNoValue;
    double m_dAvgVolume = kNoValue;
    double m_dHigh52 = kNoValue;
    double m_dLow52 = kNoValue;
    double m_dMa50 = kNoValue;
    double m_dMa200 = kNoValue;
};

// One entry per bar of p_aBars, which must be sorted by date without duplicates.
std::vector<DailyMetrics> ComputeDailyMetrics(const std::vector<DailyBar>& p_aBars);

// The strength score of each bar (NaN when there is too little history).
std::vector<double> StrengthScores(const std::vector<DailyBar>& p_aBars);

// The ranking of the stock at position p_llPosition (0 the weakest) among p_llCount stocks.
int32_t RankingFromPosition(int64_t p_llPosition, int64_t p_llCount);

}  // namespace qv::facade
