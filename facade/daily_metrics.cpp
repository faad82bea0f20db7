#include "facade/daily_metrics.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace qv::facade {

namespace {

constexpr double kSmallestSplit = 1.25;
constexpr double kSplitTolerance = 0.002;
constexpr int kLargestSplitDenominator = 4;

// The factor that puts an as-traded price on the adjusted basis.
double AdjustmentFactor(const DailyBar& p_oBar) {
    if (p_oBar.m_dClose > 0 && p_oBar.m_dAdjClose > 0) {
        return p_oBar.m_dAdjClose / p_oBar.m_dClose;
    }
    return 1.0;
}

// Rolling extreme of the last p_lWindow values (a monotonic queue of indexes), O(1) per bar.
class RollingExtreme {
  public:
    RollingExtreme(int p_lWindow, bool p_bMaximum) : m_lWindow(p_lWindow), m_bMaximum(p_bMaximum) {}

    void Push(int64_t p_llIndex, double p_dValue) {
        while (!m_aIndexes.empty() && !Keeps(m_aValues.back(), p_dValue)) {
            m_aIndexes.pop_back();
            m_aValues.pop_back();
        }
        m_aIndexes.push_back(p_llIndex);
        m_aValues.push_back(p_dValue);
        Expire(p_llIndex);
    }

    double Value() const { return m_aValues.empty() ? kNoValue : m_aValues.front(); }

  private:
    bool Keeps(double p_dOlder, double p_dNewer) const {
        return m_bMaximum ? p_dOlder > p_dNewer : p_dOlder < p_dNewer;
    }

    void Expire(int64_t p_llIndex) {
        while (!m_aIndexes.empty() && m_aIndexes.front() <= p_llIndex - m_lWindow) {
            m_aIndexes.pop_front();
            m_aValues.pop_front();
        }
    }

    int m_lWindow;
    bool m_bMaximum;
    std::deque<int64_t> m_aIndexes;
    std::deque<double> m_aValues;
};

// Mean of the values over the last p_lWindow bars ending at p_llIndex.
class RollingMean {
  public:
    explicit RollingMean(int p_lWindow) : m_lWindow(p_lWindow) {}

    void Push(const std::vector<double>& p_aValues, int64_t p_llIndex) {
        m_dSum += p_aValues[static_cast<size_t>(p_llIndex)];
        if (p_llIndex >= m_lWindow) {
            m_dSum -= p_aValues[static_cast<size_t>(p_llIndex - m_lWindow)];
        }
        m_llCount = std::min<int64_t>(p_llIndex + 1, m_lWindow);
    }

    bool Full() const { return m_llCount == m_lWindow; }
    double Mean() const {
        return m_llCount > 0 ? m_dSum / static_cast<double>(m_llCount) : kNoValue;
    }

  private:
    int m_lWindow;
    double m_dSum = 0;
    int64_t m_llCount = 0;
};

// A bar without a high or low (some sources leave them out) ranges over its close.
double HighOf(const DailyBar& p_oBar) {
    return std::isnan(p_oBar.m_dHigh) ? p_oBar.m_dClose : p_oBar.m_dHigh;
}

double LowOf(const DailyBar& p_oBar) {
    return std::isnan(p_oBar.m_dLow) ? p_oBar.m_dClose : p_oBar.m_dLow;
}

double PeriodReturn(const std::vector<DailyBar>& p_aBars, size_t p_lIndex, size_t p_lBars) {
    const size_t from = p_lIndex - std::min(p_lIndex, p_lBars);
    return p_aBars[p_lIndex].m_dAdjClose / p_aBars[from].m_dAdjClose - 1.0;
}

// Each bar's price and share factors onto the basis of the last bar.
void SetBasisFactors(const std::vector<DailyBar>& p_aBars, std::vector<DailyMetrics>& p_aMetrics) {
    if (p_aBars.empty()) {
        return;
    }
    const double latest = AdjustmentFactor(p_aBars.back());
    double shares = 1;
    for (size_t i = p_aBars.size(); i-- > 0;) {
        const double factor = AdjustmentFactor(p_aBars[i]);
        p_aMetrics[i].m_dPriceFactor = factor / latest;
        p_aMetrics[i].m_dShareFactor = shares;
        if (i > 0) {
            shares *= SplitRatio(factor / AdjustmentFactor(p_aBars[i - 1]));
        }
    }
}

}  // namespace

double SplitRatio(double p_dFactorStep) {
    if (!std::isfinite(p_dFactorStep) || p_dFactorStep <= 0) {
        return 1;
    }
    const double size = std::max(p_dFactorStep, 1 / p_dFactorStep);
    if (size < kSmallestSplit * (1 - kSplitTolerance)) {
        return 1;
    }
    for (int denominator = 1; denominator <= kLargestSplitDenominator; ++denominator) {
        const double ratio = std::round(size * denominator) / denominator;
        if (std::abs(size / ratio - 1) <= kSplitTolerance) {
            return p_dFactorStep >= 1 ? ratio : 1 / ratio;
        }
    }
    return 1;
}

std::vector<DailyMetrics> ComputeDailyMetrics(const std::vector<DailyBar>& p_aBars) {
    std::vector<DailyMetrics> metrics(p_aBars.size());
    SetBasisFactors(p_aBars, metrics);
    std::vector<double> adjusted(p_aBars.size());
    std::vector<double> volumes(p_aBars.size());
    RollingExtreme high(kYearBars, true);
    RollingExtreme low(kYearBars, false);
    RollingMean shortMean(kShortAverageBars);
    RollingMean longMean(kLongAverageBars);
    RollingMean volume(kAverageVolumeBars);
    for (size_t i = 0; i < p_aBars.size(); ++i) {
        const DailyBar& bar = p_aBars[i];
        const auto index = static_cast<int64_t>(i);
        DailyMetrics& day = metrics[i];
        const double factor = day.m_dPriceFactor;
        adjusted[i] = bar.m_dClose * factor;
        volumes[i] = static_cast<double>(bar.m_llVolume) * day.m_dShareFactor;
        if (i > 0) {
            const DailyBar& previous = p_aBars[i - 1];
            day.m_dPctChange = (bar.m_dAdjClose / previous.m_dAdjClose - 1.0) * 100.0;
            volume.Push(volumes, index - 1);
            day.m_dAvgVolume = volume.Mean();
        }
        high.Push(index, HighOf(bar) * factor);
        low.Push(index, LowOf(bar) * factor);
        day.m_dHigh52 = high.Value();
        day.m_dLow52 = low.Value();
        shortMean.Push(adjusted, index);
        longMean.Push(adjusted, index);
        day.m_dMa50 = shortMean.Full() ? shortMean.Mean() : kNoValue;
        day.m_dMa200 = longMean.Full() ? longMean.Mean() : kNoValue;
    }
    return metrics;
}

std::vector<double> StrengthScores(const std::vector<DailyBar>& p_aBars) {
    std::vector<double> scores(p_aBars.size(), kNoValue);
    for (size_t i = kMinimumStrengthBars; i < p_aBars.size(); ++i) {
        scores[i] = 2.0 * PeriodReturn(p_aBars, i, 63) + PeriodReturn(p_aBars, i, 126) +
                    PeriodReturn(p_aBars, i, 189) + PeriodReturn(p_aBars, i, 252);
    }
    return scores;
}

int32_t RankingFromPosition(int64_t p_llPosition, int64_t p_llCount) {
    if (p_llCount <= 1) {
        return 50;
    }
    return static_cast<int32_t>(1 + (98 * p_llPosition) / (p_llCount - 1));
}

}  // namespace qv::facade
