// The quick test of the pages: equal amounts put into each chosen stock (or group index) at the
// close of the first day and held, against the equal-weight market bought the same way.
//
// The daily lines of a set of codes come from one statement: window functions over the adjusted
// closes give each holding's growth since the first day, and the day's portfolio value is 100
// times their average; the market line is the same average over every stock with a bar on the
// first day. The start and end value of each code come from a second, small statement, which
// also tells which codes are held at all (those with a value on the first day).
//
//     QuickTestResult result = RunQuickTest(database, PageKind::Stocks, codes, {first, last});
//     if (result.m_oLines.Empty()) ...   // none of the codes has a value on the first day
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "facade/daily_metrics.h"
#include "facade/page_queries.h"
#include "facade/result_table.h"

namespace qv::facade {

class SqlDatabase;

// In percent; NaN where there is too little to tell (an annual return of a single day, a
// volatility of fewer than two daily returns).
struct QuickTestSummary {
    double m_dTotalReturn = kNoValue;
    double m_dAnnualReturn = kNoValue;
    double m_dMaxDrawdown = kNoValue;
    double m_dVolatility = kNoValue;
};

struct QuickTestResult {
    ResultTable m_oLines;    // "TradeDate", "Portfolio", "Market"
    ResultTable m_oMembers;  // "Code", "Name", "StartPrice", "EndPrice", "Return"
    QuickTestSummary m_oSummary;
    std::string m_sBestCode;  // empty when nothing is held
    std::string m_sWorstCode;
};

// The summary of a portfolio line (day serial, value), oldest first, starting at 100.
QuickTestSummary SummariseLine(const std::vector<std::pair<int32_t, double>>& p_aLine);

// p_aCodes must all be known (m_llId > 0).
QuickTestResult RunQuickTest(SqlDatabase& p_oDatabase, PageKind p_eKind,
                             const std::vector<PageCode>& p_aCodes, DayRange p_oDays);

}  // namespace qv::facade
