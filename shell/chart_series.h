// The series a chart page draws, as the pages component answers them ("ChartSeries"), and the
// day a page's range ends on. The figures are the facade's; the shell only reads them out.
//
//     ChartQuery query{page_kind::kStocks, {"QA"}, first, last, true};
//     const std::vector<ChartLine> lines = ReadChartSeries(query);
//     lines.front().m_points.back().m_dMA50
#pragma once

#include "outside/variant.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class Recordset;

// NaN where the facade answers Null (an average before it has its days).
constexpr double kNoFigure = std::numeric_limits<double>::quiet_NaN();

struct ChartPoint {
    int32_t m_lDay = 0;
    double m_dValue = kNoFigure;
    double m_dVolume = kNoFigure;
    double m_dMA50 = kNoFigure;
    double m_dMA200 = kNoFigure;
    double m_dRelStrength = kNoFigure;
};

struct ChartLine {
    std::string m_sCode;
    std::vector<ChartPoint> m_points;  // oldest first
};

struct ChartQuery {
    int32_t m_lKind = 0;  // facade_protocol::page_kind
    std::vector<std::string> m_codes;
    // Day serials; 0 for the market's first (m_lFirst) and latest (m_lLast) trading day.
    int32_t m_lFirst = 0;
    int32_t m_lLast = 0;
    bool m_bAdvanced = false;
};

// A day as the pages component reads it: Empty for 0, "the first" or "the latest" day.
Variant DayArgument(int32_t p_lDay);

// Calls p_sMethod of the pages component with p_args, which takes back what the call writes.
// Throws the facade's AutomationError.
Variant CallPages(std::string_view p_sMethod, std::span<Variant> p_args);

// The answer of "ChartSeries" for p_oQuery, unread.
std::shared_ptr<Recordset> ChartSeriesRows(const ChartQuery& p_oQuery);

// The rows of ChartSeriesRows split by code, in the order the facade gives them.
std::vector<ChartLine> ReadChartSeries(const ChartQuery& p_oQuery);
std::vector<ChartLine> ChartLinesOf(Recordset& p_oRows, bool p_bAdvanced);

// The trading day p_lDay stands for (the latest for 0) of the first code of p_oQuery, as the
// detail call of its kind answers it.
int32_t TradingDayOf(const ChartQuery& p_oQuery, int32_t p_lDay);

// The codes joined as the facade reads a list ("QA,QB").
std::string JoinCodes(const std::vector<std::string>& p_codes);

// A figure of a row: NaN for Null or Empty.
double FigureOf(const Variant& p_vValue);

}  // namespace qv
