#include "facade/page_option_price.h"

#include <cmath>
#include <numbers>

namespace qv::facade {

namespace {

constexpr int kFewestReturns = 20;
constexpr double kDaysPerYear = 365.0;

double Normal(double p_dX) {
    return 0.5 * std::erfc(-p_dX / std::numbers::sqrt2);
}

double NormalDensity(double p_dX) {
    return std::exp(-0.5 * p_dX * p_dX) / std::sqrt(2 * std::numbers::pi);
}

}  // namespace

OptionFigures PriceOption(const OptionInputs& p_oInputs) {
    const double spot = p_oInputs.m_dSpot;
    const double strike = p_oInputs.m_dStrike;
    const double rootTime = std::sqrt(p_oInputs.m_dYears);
    const double spread = p_oInputs.m_dVolatility * rootTime;
    const double d1 =
        (std::log(spot / strike) +
         (p_oInputs.m_dRate + 0.5 * p_oInputs.m_dVolatility * p_oInputs.m_dVolatility) *
             p_oInputs.m_dYears) /
        spread;
    const double d2 = d1 - spread;
    const double discounted = strike * std::exp(-p_oInputs.m_dRate * p_oInputs.m_dYears);
    const double density = NormalDensity(d1);
    const double decay = -spot * density * p_oInputs.m_dVolatility / (2 * rootTime);
    OptionFigures figures;
    figures.m_dCall = spot * Normal(d1) - discounted * Normal(d2);
    figures.m_dPut = discounted * Normal(-d2) - spot * Normal(-d1);
    figures.m_dCallDelta = Normal(d1);
    figures.m_dPutDelta = Normal(d1) - 1;
    figures.m_dGamma = density / (spot * spread);
    figures.m_dVega = spot * density * rootTime / 100;
    figures.m_dCallTheta = (decay - p_oInputs.m_dRate * discounted * Normal(d2)) / kDaysPerYear;
    figures.m_dPutTheta = (decay + p_oInputs.m_dRate * discounted * Normal(-d2)) / kDaysPerYear;
    return figures;
}

double HistoricalVolatility(const std::vector<DailyBar>& p_aBars) {
    std::vector<double> returns;
    for (size_t i = 1; i < p_aBars.size(); ++i) {
        if (p_aBars[i - 1].m_dAdjClose > 0 && p_aBars[i].m_dAdjClose > 0) {
            returns.push_back(std::log(p_aBars[i].m_dAdjClose / p_aBars[i - 1].m_dAdjClose));
        }
    }
    if (static_cast<int>(returns.size()) < kFewestReturns) {
        return kNoValue;
    }
    double mean = 0;
    for (const double value : returns) {
        mean += value;
    }
    mean /= static_cast<double>(returns.size());
    double squares = 0;
    for (const double value : returns) {
        squares += (value - mean) * (value - mean);
    }
    const double deviation = std::sqrt(squares / static_cast<double>(returns.size() - 1));
    return deviation * std::sqrt(static_cast<double>(kYearBars)) * 100;
}

}  // namespace qv::facade
