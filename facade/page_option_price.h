// The option price page's figures: a European option on a stock priced by Black-Scholes, with the
// stock's historical volatility as the volatility a person starts from.
//
//     const double volatility = HistoricalVolatility(bars);   // percent a year, NaN when too few
//     const OptionFigures figures = PriceOption({close, strike, 30 / 365.0, 0.04, 0.25});
//
// No dividends are taken into account; the page says so.
#pragma once

#include <vector>

#include "facade/daily_metrics.h"

namespace qv::facade {

// Rate and volatility as fractions a year, time in years; all of them positive but the rate.
struct OptionInputs {
    double m_dSpot = 0;
    double m_dStrike = 0;
    double m_dYears = 0;
    double m_dRate = 0;
    double m_dVolatility = 0;
};

// Vega per point of volatility, thetas per calendar day.
struct OptionFigures {
    double m_dCall = 0;
    double m_dPut = 0;
    double m_dCallDelta = 0;
    double m_dPutDelta = 0;
    double m_dGamma = 0;
    double m_dVega = 0;
    double m_dCallTheta = 0;
    double m_dPutTheta = 0;
};

OptionFigures PriceOption(const OptionInputs& p_oInputs);

// The standard deviation of the daily log returns of the adjusted closes (oldest first), times
// sqrt(252), in percent; NaN under 20 returns.
double HistoricalVolatility(const std::vector<DailyBar>& p_aBars);

}  // namespace qv::facade
