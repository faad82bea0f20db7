#include "facade/page_dividends.h"

#include <algorithm>
#include <cmath>

#include "facade/sqlite_database.h"

namespace qv::facade {

namespace {

// Four prices kept to ten-thousandths move a factor step by at most about 2e-4 for prices of a
// unit or more; a dividend of less than 0.05 % of the price is not told from that.
constexpr double kSmallestStep = 1.0005;
constexpr size_t kCadenceDividends = 4;

// Every bar of the stocks as traded, stock by stock in the order given, oldest first.
std::string BarsSql() {
    return std::string("WITH RECURSIVE ") + kIdListCte +
           " SELECT k.pos, d.trade_date, d.close, d.adj_close FROM ids k JOIN stock_days_traded d"
           " ON d.day_key BETWEEN k.id * 4194304 AND k.id * 4194304 + 4194303 WHERE k.pos > 0"
           " ORDER BY k.pos, d.day_key";
}

void AppendDividend(ResultTable& p_oRows, const std::string& p_sSymbol, int32_t p_lDate,
                    double p_dAmount, bool p_bEstimated) {
    p_oRows.AppendRow(
        {p_sSymbol, static_cast<double>(p_lDate), p_dAmount, int64_t{p_bEstimated ? 1 : 0}});
}

void AppendStock(ResultTable& p_oRows, const std::string& p_sSymbol,
                 const std::vector<DailyBar>& p_aBars) {
    const std::vector<InferredDividend> dividends = InferDividends(p_aBars);
    for (const InferredDividend& dividend : dividends) {
        AppendDividend(p_oRows, p_sSymbol, dividend.m_lExDate, dividend.m_dAmount, false);
    }
    if (const std::optional<int32_t> next = EstimateNextDividend(dividends)) {
        AppendDividend(p_oRows, p_sSymbol, *next, dividends.back().m_dAmount, true);
    }
}

}  // namespace

std::vector<InferredDividend> InferDividends(const std::vector<DailyBar>& p_aBars) {
    std::vector<InferredDividend> dividends;
    for (size_t i = 1; i < p_aBars.size(); ++i) {
        const DailyBar& before = p_aBars[i - 1];
        const DailyBar& bar = p_aBars[i];
        if (before.m_dClose <= 0 || before.m_dAdjClose <= 0 || bar.m_dClose <= 0 ||
            bar.m_dAdjClose <= 0) {
            continue;
        }
        const double step =
            (bar.m_dAdjClose / bar.m_dClose) / (before.m_dAdjClose / before.m_dClose);
        const double residual = step / SplitRatio(step);
        if (residual >= kSmallestStep) {
            dividends.push_back({bar.m_lDate, before.m_dClose * (1 - 1 / residual)});
        }
    }
    return dividends;
}

std::optional<int32_t> EstimateNextDividend(const std::vector<InferredDividend>& p_aDividends) {
    if (p_aDividends.size() < 2) {
        return std::nullopt;
    }
    const size_t count = std::min(p_aDividends.size(), kCadenceDividends);
    const InferredDividend& first = p_aDividends[p_aDividends.size() - count];
    const double spacing =
        static_cast<double>(p_aDividends.back().m_lExDate - first.m_lExDate) / (count - 1);
    return p_aDividends.back().m_lExDate + static_cast<int32_t>(std::lround(spacing));
}

ResultTable DividendRows(SqlDatabase& p_oDatabase, const std::vector<PageCode>& p_aStocks) {
    ResultTable rows({{"Symbol", FieldKind::Text},
                      {"ExDate", FieldKind::Date},
                      {"Amount", FieldKind::Double},
                      {"Estimated", FieldKind::Boolean}});
    SqlStatement query = p_oDatabase.Prepare(BarsSql());
    query.BindText(1, IdList(p_aStocks));
    std::vector<DailyBar> bars;
    int64_t position = 1;
    while (query.Step()) {
        const int64_t at = query.ColumnInt64(0);
        if (at != position) {
            AppendStock(rows, p_aStocks[static_cast<size_t>(position - 1)].m_sCode, bars);
            bars.clear();
            position = at;
        }
        DailyBar bar;
        bar.m_lDate = static_cast<int32_t>(query.ColumnInt64(1));
        bar.m_dClose = query.ColumnDouble(2);
        bar.m_dAdjClose = query.ColumnDouble(3);
        bars.push_back(bar);
    }
    if (!bars.empty()) {
        AppendStock(rows, p_aStocks[static_cast<size_t>(position - 1)].m_sCode, bars);
    }
    return rows;
}

}  // namespace qv::facade
