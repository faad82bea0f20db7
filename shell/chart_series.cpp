#include "shell/chart_series.h"

#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/facade_protocol.h"
#include "outside/recordset.h"

#include <array>

namespace qv {

namespace call = facade_protocol;

namespace {}  // namespace

Variant DayArgument(int32_t p_lDay) {
    return p_lDay == 0 ? Variant() : Variant::Date(static_cast<double>(p_lDay));
}

Variant CallPages(std::string_view p_sMethod, std::span<Variant> p_args) {
    return CallMethod(*CreateObject(call::prog_id::kPages), p_sMethod, p_args);
}

std::string JoinCodes(const std::vector<std::string>& p_codes) {
    std::string joined;
    for (const std::string& code : p_codes) {
        joined += (joined.empty() ? "" : ",") + code;
    }
    return joined;
}

double FigureOf(const Variant& p_vValue) {
    return p_vValue.IsNull() || p_vValue.IsEmpty() ? kNoFigure : p_vValue.ToDouble();
}

std::shared_ptr<Recordset> ChartSeriesRows(const ChartQuery& p_oQuery) {
    std::array<Variant, call::chart_series::kCount> args{
        Variant(p_oQuery.m_lKind), Variant(JoinCodes(p_oQuery.m_codes)),
        DayArgument(p_oQuery.m_lFirst), DayArgument(p_oQuery.m_lLast),
        Variant(p_oQuery.m_bAdvanced)};
    return RecordsetOf(CallPages(call::chart_series::kMethod, args));
}

// The fields are found by name once, not on every row of a long series.
std::vector<ChartLine> ChartLinesOf(Recordset& p_oRows, bool p_bAdvanced) {
    const Fields& fields = p_oRows.Fields();
    const int32_t code = fields.IndexOf("Code");
    const int32_t day = fields.IndexOf("TradeDate");
    const int32_t value = fields.IndexOf("Value");
    const int32_t volume = fields.IndexOf("Volume");
    const int32_t ma50 = p_bAdvanced ? fields.IndexOf("MA50") : -1;
    const int32_t ma200 = p_bAdvanced ? fields.IndexOf("MA200") : -1;
    const int32_t strength = p_bAdvanced ? fields.IndexOf("RelStrength") : -1;
    std::vector<ChartLine> lines;
    for (p_oRows.MoveFirst(); !p_oRows.IsEOF(); p_oRows.MoveNext()) {
        std::string rowCode = p_oRows.Value(code).ToString();
        if (lines.empty() || lines.back().m_sCode != rowCode) {
            lines.push_back(ChartLine{std::move(rowCode), {}});
        }
        ChartPoint point;
        point.m_lDay = static_cast<int32_t>(p_oRows.Value(day).ToDate());
        point.m_dValue = FigureOf(p_oRows.Value(value));
        point.m_dVolume = FigureOf(p_oRows.Value(volume));
        if (p_bAdvanced) {
            point.m_dMA50 = FigureOf(p_oRows.Value(ma50));
            point.m_dMA200 = FigureOf(p_oRows.Value(ma200));
            point.m_dRelStrength = FigureOf(p_oRows.Value(strength));
        }
        lines.back().m_points.push_back(point);
    }
    return lines;
}

std::vector<ChartLine> ReadChartSeries(const ChartQuery& p_oQuery) {
    const std::shared_ptr<Recordset> rows = ChartSeriesRows(p_oQuery);
    if (!rows || rows->RecordCount() == 0) {
        return {};
    }
    return ChartLinesOf(*rows, p_oQuery.m_bAdvanced);
}

int32_t TradingDayOf(const ChartQuery& p_oQuery, int32_t p_lDay) {
    Variant answer;
    if (p_oQuery.m_lKind == call::page_kind::kStocks) {
        std::array<Variant, call::stock_detail::kCount> args{Variant(p_oQuery.m_codes.front()),
                                                             DayArgument(p_lDay)};
        answer = CallPages(call::stock_detail::kMethod, args);
    } else {
        std::array<Variant, call::group_detail::kCount> args{
            Variant(std::stoi(p_oQuery.m_codes.front())), DayArgument(p_lDay), Variant::Nothing()};
        answer = CallPages(p_oQuery.m_lKind == call::page_kind::kIndustries
                               ? call::group_detail::kIndustryMethod
                               : call::group_detail::kSectorMethod,
                           args);
    }
    const std::shared_ptr<Recordset> row = RecordsetOf(answer);
    return static_cast<int32_t>(row->Value("TradeDate").ToDate());
}

}  // namespace qv
