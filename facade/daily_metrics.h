// The metrics derived from a stock's daily bars, and the relative-strength ranking across stocks.
//
// Prices in the bars are as traded; the adjusted close carries splits and dividends. Every value
// of a row is put on one basis, that of the stock's latest bar, so a history reads as one series:
// no jump in price at a split, and a change, an average or a 52-week range that compares with the
// price beside it. With f = adjusted close / close, a price v of day s counts as
// v * f(s) / f(last) (the price factor); on the latest bar that is the traded price itself.
//
// Volumes are put on the same share basis by the split part of the factor alone (the share
// factor), so a volume stays a count of shares and the volume of a day compares with the average
// before it across a split. The whole factor would also scale volumes for dividends and
// spin-offs, which change no share count: old volumes would grow by every distribution since.
// Volume times price is then the traded dollar amount times the distribution part of the price
// factor, the same discount every adjusted price carries.
//
// A split is a step of f from one bar to the next of at least 5:4 (or 4:5) that lies within 0.2 %
// of a ratio p:q or q:p with q up to 4 (2:1, 3:2, 5:4, 1:10, ...). A spin-off or special dividend
// rarely lands that close to such a ratio (the real data has spin-offs at 1.487 and 2.0116 beside
// exact 2.0, 3.0, 1.5 and 1/3 splits), and so it only moves prices, as a dividend does.
//
//   percent change   (adj(t) / adj(t-1) - 1) * 100; so the previous bar's close on the row's
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

// NaN where a value does not exist yet (the first bar has no percent change, and so on). Prices
// and volumes are on the latest bar's basis; the factors put the bar's own figures there.
struct DailyMetrics {
    double m_dPriceFactor = 1;
    double m_dShareFactor = 1;
    double m_dPctChange = kNoValue;
    double m_dAvgVolume = kNoValue;
    double m_dHigh52 = kNoValue;
    double m_dLow52 = kNoValue;
    double m_dMa50 = kNoValue;
    double m_dMa200 = kNoValue;
};

// One entry per bar of p_aBars, which must be sorted by date without duplicates.
std::vector<DailyMetrics> ComputeDailyMetrics(const std::vector<DailyBar>& p_aBars);

// The split in a step of the adjustment factor from one bar to the next (f(t) / f(t-1)): the
// number of new shares per old share, 1 when the step is no split.
double SplitRatio(double p_dFactorStep);

// The strength score of each bar (NaN when there is too little history).
std::vector<double> StrengthScores(const std::vector<DailyBar>& p_aBars);

// The ranking of the stock at position p_llPosition (0 the weakest) among p_llCount stocks.
int32_t RankingFromPosition(int64_t p_llPosition, int64_t p_llCount);

}  // namespace qv::facade
