#include "facade/page_quick_test.h"

#include <algorithm>
#include <cmath>

#include "facade/sqlite_database.h"

namespace qv::facade {

namespace {

constexpr double kDaysPerYear = 365.25;
constexpr double kTradingDaysPerYear = 252;

// Each code's value on the first day (?2) and its last value up to the last day (?3).
std::string MembersSql(PageKind p_eKind) {
    const SeriesSource& source = SourceOf(p_eKind);
    const std::string table = source.m_sTable;
    const std::string key = source.m_sKey;
    const std::string base = source.m_sBase;
    return std::string("WITH RECURSIVE ") + kIdListCte + " SELECT (SELECT d." + source.m_sValue +
           " FROM " + table + " d WHERE d." + key + " = " + base + " + ?2), (SELECT d." +
           source.m_sValue + " FROM " + table + " d WHERE d." + key + " = (SELECT max(x." + key +
           ") FROM " + table + " x WHERE x." + key + " BETWEEN " + base + " + ?2 AND " + base +
           " + ?3)) FROM ids k WHERE k.pos > 0 ORDER BY k.pos";
}

// The daily lines of the held codes (?1) from the first day (?2) to the last (?3).
std::string LinesSql(PageKind p_eKind) {
    const SeriesSource& source = SourceOf(p_eKind);
    const std::string value = std::string("d.") + source.m_sValue;
    return std::string("WITH RECURSIVE ") + kIdListCte + ", held AS (SELECT d.trade_date AS day, " +
           value + " / first_value(" + value + ") OVER (PARTITION BY k.pos ORDER BY d." +
           source.m_sKey + ") AS growth FROM ids k JOIN " + source.m_sTable + " d ON d." +
           source.m_sKey + " BETWEEN " + source.m_sBase + " + ?2 AND " + source.m_sBase +
           " + ?3 WHERE k.pos > 0), portfolio AS (SELECT day, 100.0 * avg(growth) AS value" +
           " FROM held GROUP BY day), " + EqualWeightMarketCte("?2", "?3") +
           " SELECT p.day, p.value, m.value FROM portfolio p JOIN market m ON m.day = p.day" +
           " ORDER BY p.day";
}

double Percent(double p_dRatio) {
    return (p_dRatio - 1) * 100;
}

// The members with their returns; p_aHeld gets the codes with a start value.
ResultTable Members(SqlDatabase& p_oDatabase, PageKind p_eKind,
                    const std::vector<PageCode>& p_aCodes, DayRange p_oDays,
                    std::vector<PageCode>& p_aHeld, QuickTestResult& p_oResult) {
    ResultTable members(
        {{"Code", p_eKind == PageKind::Stocks ? FieldKind::Text : FieldKind::Integer},
         {"Name", FieldKind::Text},
         {"StartPrice", FieldKind::Double},
         {"EndPrice", FieldKind::Double},
         {"Return", FieldKind::Double}});
    SqlStatement query = p_oDatabase.Prepare(MembersSql(p_eKind));
    query.BindText(1, IdList(p_aCodes));
    query.BindInt64(2, p_oDays.m_lFirst);
    query.BindInt64(3, p_oDays.m_lLast);
    double best = -HUGE_VAL;
    double worst = HUGE_VAL;
    for (const PageCode& code : p_aCodes) {
        if (!query.Step()) {
            break;
        }
        const bool held = !query.ColumnIsNull(0);
        const double start = held ? query.ColumnDouble(0) : kNoValue;
        const double end = held ? query.ColumnDouble(1) : kNoValue;
        const double gain = Percent(end / start);
        if (p_eKind == PageKind::Stocks) {
            members.AppendText(0, code.m_sCode);
        } else {
            members.AppendInteger(0, code.m_llId);
        }
        members.AppendText(1, code.m_sName);
        for (size_t column = 2; const double value : {start, end, gain}) {
            if (held) {
                members.AppendNumber(column, value);
            } else {
                members.AppendNull(column);
            }
            ++column;
        }
        members.EndRow();
        if (!held) {
            continue;
        }
        p_aHeld.push_back(code);
        if (gain > best) {
            best = gain;
            p_oResult.m_sBestCode = code.m_sCode;
        }
        if (gain < worst) {
            worst = gain;
            p_oResult.m_sWorstCode = code.m_sCode;
        }
    }
    return members;
}

}  // namespace

QuickTestSummary SummariseLine(const std::vector<std::pair<int32_t, double>>& p_aLine) {
    QuickTestSummary summary;
    if (p_aLine.empty()) {
        return summary;
    }
    const double last = p_aLine.back().second;
    summary.m_dTotalReturn = last - 100;
    const double days = p_aLine.back().first - p_aLine.front().first;
    if (days > 0) {
        summary.m_dAnnualReturn = Percent(std::pow(last / 100, kDaysPerYear / days));
    }
    double peak = p_aLine.front().second;
    double drawdown = 0;
    double sum = 0;
    double squares = 0;
    for (size_t i = 1; i < p_aLine.size(); ++i) {
        const double value = p_aLine[i].second;
        const double change = value / p_aLine[i - 1].second - 1;
        sum += change;
        squares += change * change;
        peak = std::max(peak, value);
        drawdown = std::max(drawdown, 1 - value / peak);
    }
    summary.m_dMaxDrawdown = drawdown * 100;
    const auto returns = static_cast<double>(p_aLine.size() - 1);
    if (returns >= 2) {
        const double variance = (squares - sum * sum / returns) / (returns - 1);
        summary.m_dVolatility = std::sqrt(std::max(variance, 0.0) * kTradingDaysPerYear) * 100;
    }
    return summary;
}

QuickTestResult RunQuickTest(SqlDatabase& p_oDatabase, PageKind p_eKind,
                             const std::vector<PageCode>& p_aCodes, DayRange p_oDays) {
    QuickTestResult result;
    std::vector<PageCode> held;
    result.m_oMembers = Members(p_oDatabase, p_eKind, p_aCodes, p_oDays, held, result);
    result.m_oLines = ResultTable({{"TradeDate", FieldKind::Date},
                                   {"Portfolio", FieldKind::Double},
                                   {"Market", FieldKind::Double}});
    if (held.empty()) {
        return result;
    }
    SqlStatement query = p_oDatabase.Prepare(LinesSql(p_eKind));
    query.BindText(1, IdList(held));
    query.BindInt64(2, p_oDays.m_lFirst);
    query.BindInt64(3, p_oDays.m_lLast);
    std::vector<std::pair<int32_t, double>> line;
    while (query.Step()) {
        line.emplace_back(static_cast<int32_t>(query.ColumnInt64(0)), query.ColumnDouble(1));
        AppendStatementRow(query, result.m_oLines);
    }
    result.m_oSummary = SummariseLine(line);
    return result;
}

}  // namespace qv::facade
