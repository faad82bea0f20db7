#include "facade/field_catalogue.h"

#include <algorithm>

#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

using namespace data_type;
using namespace table_mask;
using namespace field_group;

constexpr FieldKind kInt = FieldKind::Integer;
constexpr FieldKind kReal = FieldKind::Double;
constexpr FieldKind kText = FieldKind::Text;
constexpr FieldKind kDay = FieldKind::Date;
constexpr FieldKind kBool = FieldKind::Boolean;

// Aliases of the SQL expressions: s stocks, i industries, c sectors, d stock_days of the row's day,
// f fundamentals, g group_days of the industry or sector, t trades, p portfolios. A stock's
// prices, volumes and derived values are on the basis of its latest bar (daily_metrics.h); a
// holding's d is the bar as traded (market_schema.cpp). Percentages are in percent (1.5 means
// 1.5 %).
//
// Columns: id, Column_Name, Caption, DataType_ID, Table_Mask, Group, Column_Format, kind,
//          stock SQL, industry SQL, sector SQL, holding SQL, meaning.
const std::vector<FieldDefinition> kFields = {
    // Keys of the rows.
    {4, "CompanyName", "Company", kKeyText, kStockRows, kGroupKey, "Left", kText, "s.company_name",
     nullptr, nullptr, nullptr, "name of the company; key column of stock lists"},
    {5, "Symbol", "Symbol", kKeyText, kStockRows, kGroupKey, "Left", kText, "s.symbol", nullptr,
     nullptr, nullptr, "ticker symbol; key column of stock lists and the default sort field"},
    {35, "IndName", "Industry Group", kKeyText, kStockAndIndustryRows, kGroupKey, "Left", kText,
     "i.name", "i.name", nullptr, nullptr, "name of the industry group; key of industry lists"},
    {36, "SectorName", "Sector", kKeyText, kAllRows, kGroupKey, "Left", kText, "c.name", "c.name",
     "c.name", nullptr, "name of the business sector; key of sector lists"},
    {41, "Trading_Date", "Trading Date", kDate, kHistoryRows, kGroupDateKey, "MM/DD/YYYY", kDay,
     "d.trade_date", "g.trade_date", "g.trade_date", nullptr,
     "trading day of a history row; key of histories"},
    {38, "IndCode", "Industry Code", kIdentifier, kStockAndIndustryRows, kGroupSystem, "0", kInt,
     "s.ind_code", "i.ind_code", nullptr, nullptr,
     "code of the industry group; filters the industry grid below a stock list"},
    {39, "SectorCode", "Sector Code", kIdentifier, kAllRows, kGroupSystem, "0", kInt,
     "i.sector_code", "c.sector_code", "c.sector_code", nullptr,
     "code of the business sector; filters the sector grid below a list"},
    {1418, "Stock_ID", "Stock Id", kIdentifier, kStockRows, kGroupSystem, "0", kInt, "s.stock_id",
     nullptr, nullptr, nullptr, "internal id of the stock; quick test and dividend pages use it"},

    // Prices and volume of the day.
    {2, "Price", "Price", kPrice, kStockRows, kGroupPrice, "#,##0.00", kReal, "d.close", nullptr,
     nullptr, nullptr, "closing price of the day"},
    {1, "Open", "Open", kPrice, kStockRows, kGroupPrice, "#,##0.00", kReal, "d.open", nullptr,
     nullptr, nullptr, "opening price of the day"},
    {3, "High", "High", kPrice, kStockRows, kGroupPrice, "#,##0.00", kReal, "d.high", nullptr,
     nullptr, nullptr, "highest price of the day"},
    {10, "Low", "Low", kPrice, kStockRows, kGroupPrice, "#,##0.00", kReal, "d.low", nullptr,
     nullptr, nullptr, "lowest price of the day"},
    {40, "PrevClose", "Prev Close", kPrice, kStockRows, kGroupPrice, "#,##0.00", kReal,
     "d.close * 100.0 / (100.0 + d.pct_change)", nullptr, nullptr, nullptr,
     "previous close on the day's share basis (splits accounted for)"},
    {7, "PriceChange", "$ Change", kPrice, kAllRows, kGroupPrice, "#,##0.00", kReal,
     "d.close - d.close * 100.0 / (100.0 + d.pct_change)",
     "g.index_value - g.index_value * 100.0 / (100.0 + g.avg_pct_change)",
     "g.index_value - g.index_value * 100.0 / (100.0 + g.avg_pct_change)", nullptr,
     "change from the previous close; for industries and sectors the change of their "
     "equal-weight index"},
    {6, "PctChange", "%Prc", kPercent, kAllRows, kGroupPrice, "##0.00", kReal, "d.pct_change",
     "g.avg_pct_change", "g.avg_pct_change", nullptr,
     "percent change from the previous close; for industries and sectors the average of their "
     "members, which is also the return of their equal-weight index"},
    {11, "GapPct", "Gap%", kPercent, kStockRows, kGroupPrice, "##0.00", kReal,
     "d.open * (100.0 + d.pct_change) / d.close - 100.0", nullptr, nullptr, nullptr,
     "opening gap: percent from the previous close to the open"},
    {318, "RangePct", "Rng%", kPercent, kStockRows, kGroupPrice, "##0.00", kReal,
     "(d.high - d.low) * 100.0 / d.close", nullptr, nullptr, nullptr,
     "the day's range (high less low) in percent of the close"},
    {16, "Volume", "Volume", kVolume, kStockRows, kGroupPrice, "#,##0", kInt, "d.volume", nullptr,
     nullptr, nullptr, "shares traded on the day"},
    {17, "AvgVolume", "Avg Volume", kVolume, kStockRows, kGroupPrice, "#,##0", kReal,
     "d.avg_volume_50", nullptr, nullptr, nullptr,
     "average daily volume of the 50 trading days before the day"},
    {8, "RelVolumePct", "%Vol", kPercent, kStockRows, kGroupPrice, "##0.0", kReal,
     "d.volume * 100.0 / d.avg_volume_50 - 100.0", nullptr, nullptr, nullptr,
     "relative volume: percent above (or below, negative) the 50-day average volume"},
    {32, "DollarVolume", "$ Volume(K)", kPrice, kStockRows, kGroupPrice, "#,##0", kReal,
     "d.close * d.volume / 1000.0", nullptr, nullptr, nullptr,
     "value traded on the day in thousands of dollars"},

    // Trend and strength.
    {12, "MA50", "50 Day MA", kPrice, kStockRows, kGroupTechnical, "#,##0.00", kReal, "d.ma_50",
     nullptr, nullptr, nullptr, "average close of the last 50 trading days"},
    {13, "MA200", "200 Day MA", kPrice, kStockRows, kGroupTechnical, "#,##0.00", kReal, "d.ma_200",
     nullptr, nullptr, nullptr, "average close of the last 200 trading days"},
    {14, "High52", "52 Wk High", kPrice, kStockRows, kGroupTechnical, "#,##0.00", kReal,
     "d.high_52w", nullptr, nullptr, nullptr,
     "highest price of the last 52 weeks (252 trading days)"},
    {15, "Low52", "52 Wk Low", kPrice, kStockRows, kGroupTechnical, "#,##0.00", kReal, "d.low_52w",
     nullptr, nullptr, nullptr, "lowest price of the last 52 weeks (252 trading days)"},
    {18, "PctFromMA50", "% 50 MA", kPercent, kStockRows, kGroupTechnical, "##0.0", kReal,
     "(d.close / d.ma_50 - 1.0) * 100.0", nullptr, nullptr, nullptr,
     "percent of the close above its 50-day average"},
    {19, "PctFromMA200", "% 200 MA", kPercent, kStockRows, kGroupTechnical, "##0.0", kReal,
     "(d.close / d.ma_200 - 1.0) * 100.0", nullptr, nullptr, nullptr,
     "percent of the close above its 200-day average"},
    {20, "PctFromHigh", "% Off Hi", kPercent, kStockRows, kGroupTechnical, "##0.0", kReal,
     "(d.close / d.high_52w - 1.0) * 100.0", nullptr, nullptr, nullptr,
     "percent of the close below the 52-week high (zero or negative)"},
    {21, "PctFromLow", "% Off Lo", kPercent, kStockRows, kGroupTechnical, "##0.0", kReal,
     "(d.close / d.low_52w - 1.0) * 100.0", nullptr, nullptr, nullptr,
     "percent of the close above the 52-week low"},
    {9, "RSRank", "RS", kRank, kStockRows, kGroupTechnical, "0", kInt, "d.rs_rank", nullptr,
     nullptr, nullptr,
     "relative-strength ranking 1 to 99 among all stocks of the day (99 strongest)"},
    {24, "REC", "Rec", kCode, kStockRows, kGroupTechnical, "Center", kText,
     "CASE WHEN d.rs_rank >= 70 THEN 'B' WHEN d.rs_rank <= 30 THEN 'S' "
     "WHEN d.rs_rank IS NOT NULL THEN 'H' END",
     nullptr, nullptr, nullptr,
     "recommendation from the ranking: B (buy) at 70 or more, S (sell) at 30 or less, else H "
     "(hold)"},
    {23, "Trend", "Tr", kCode, kStockRows, kGroupDescriptive, "Center", kText,
     "CASE WHEN d.ma_50 IS NULL THEN NULL WHEN d.close >= d.ma_50 THEN 'U' ELSE 'D' END", nullptr,
     nullptr, nullptr, "U when the close is at or above its 50-day average, D below it"},
    {37, "RTRanking", "RT Ranking", kRank, kGroups, kGroupTechnical, "0", kReal, nullptr,
     "g.avg_rank", "g.avg_rank", nullptr,
     "average relative-strength ranking of the members of the group"},

    // Fundamentals (the sample market has them; imported price data does not).
    {25, "EPS", "EPS", kPrice, kStockRows, kGroupFundamental, "##0.00", kReal, "f.eps", nullptr,
     nullptr, nullptr, "earnings per share of the last twelve months"},
    {22, "PE", "P/E", kRatio, kStockRows, kGroupFundamental, "##0.0", kReal,
     "CASE WHEN f.eps > 0 THEN d.close / f.eps END", nullptr, nullptr, nullptr,
     "price to earnings ratio (none when earnings are not positive)"},
    {26, "EarningsYield", "EY", kPercent, kStockRows, kGroupFundamental, "##0.00", kReal,
     "f.eps * 100.0 / d.close", nullptr, nullptr, nullptr,
     "earnings yield: earnings per share in percent of the price"},
    {27, "GrowthPE", "GPE", kRatio, kStockRows, kGroupFundamental, "##0.00", kReal,
     "CASE WHEN f.eps > 0 THEN f.growth_pct * f.eps / d.close END", nullptr, nullptr, nullptr,
     "earnings growth rate divided by the P/E ratio"},
    {28, "Sales", "Sales($M)", kPrice, kStockRows, kGroupFundamental, "#,##0.0", kReal,
     "f.sales_musd", nullptr, nullptr, nullptr,
     "sales of the last twelve months in millions of dollars"},
    {29, "MarketCap", "Mkt Cap($M)", kPrice, kStockRows, kGroupFundamental, "#,##0", kReal,
     "d.close * f.shares_m", nullptr, nullptr, nullptr,
     "market capitalisation in millions of dollars"},
    {30, "SharesOut", "Shares(M)", kRatio, kStockRows, kGroupFundamental, "#,##0.0", kReal,
     "f.shares_m", nullptr, nullptr, nullptr, "shares outstanding in millions"},
    {31, "GrowthRate", "GRT", kPercent, kStockRows, kGroupFundamental, "##0.0", kReal,
     "f.growth_pct", nullptr, nullptr, nullptr, "yearly earnings growth rate in percent"},
    {33, "SalesPerShare", "SPS", kPrice, kStockRows, kGroupFundamental, "##0.00", kReal,
     "f.sales_musd / f.shares_m", nullptr, nullptr, nullptr, "sales per share"},
    {34, "DividendYield", "Yield %", kPercent, kStockRows, kGroupFundamental, "##0.00", kReal,
     "f.dividend_pct", nullptr, nullptr, nullptr, "dividend yield in percent of the price"},

    // Industry and sector aggregates of their members on the day.
    {221, "IndexValue", "Index", kPrice, kGroups, kGroupAggregate, "#,##0.00", kReal, nullptr,
     "g.index_value", "g.index_value", nullptr,
     "equal-weight index of the members, 100 on the group's first trading day"},
    {225, "Members", "No. of Stocks", kCount, kGroups, kGroupAggregate, "#,##0", kInt, nullptr,
     "g.member_count", "g.member_count", nullptr, "number of member stocks traded on the day"},
    {251, "Advancing", "Advancing", kCount, kGroups, kGroupAggregate, "#,##0", kInt, nullptr,
     "g.advancing", "g.advancing", nullptr, "number of members that closed higher"},
    {228, "PctAdvancing", "% Up", kPercent, kGroups, kGroupAggregate, "##0.0", kReal, nullptr,
     "g.advancing * 100.0 / g.member_count", "g.advancing * 100.0 / g.member_count", nullptr,
     "share of the members that closed higher, in percent"},
    {1347, "GroupVolume", "Volume (M)", kVolume, kGroups, kGroupAggregate, "#,##0.0", kReal,
     nullptr, "g.total_volume / 1000000.0", "g.total_volume / 1000000.0", nullptr,
     "shares of all members traded on the day, in millions"},
    {236, "IndustryCount", "Industries", kCount, kSectors, kGroupAggregate, "#,##0", kInt, nullptr,
     nullptr, "(SELECT count(*) FROM industries x WHERE x.sector_code = c.sector_code)", nullptr,
     "number of industry groups in the sector"},
    {1411, "GroupSales", "Sales ($M)", kPrice, kGroups, kGroupAggregate, "#,##0", kReal, nullptr,
     "(SELECT sum(xf.sales_musd) FROM stocks xs JOIN fundamentals xf ON xf.stock_id = xs.stock_id "
     "WHERE xs.ind_code = i.ind_code)",
     "(SELECT sum(xf.sales_musd) FROM industries xi JOIN stocks xs ON xs.ind_code = xi.ind_code "
     "JOIN fundamentals xf ON xf.stock_id = xs.stock_id WHERE xi.sector_code = c.sector_code)",
     nullptr, "sales of all members in millions of dollars"},

    // Portfolio holdings: one row per trade, valued at the close of the day.
    {237, "Trade_ID", "Trade Id", kIdentifier, kHoldingRows, kGroupSystem, "0", kInt, nullptr,
     nullptr, nullptr, "t.trade_id", "id of the trade behind a holding"},
    {1483, "Short", "Short", kInternal, kHoldingRows, kGroupSystem, "Center", kBool, nullptr,
     nullptr, nullptr, "t.is_short", "true for a short sale"},
    {1393, "NumShares", "Num Shares", kInternal, kHoldingRows, kGroupSystem, "#,##0", kReal,
     nullptr, nullptr, nullptr, "t.shares",
     "shares of the trade, read by the viewer to sum holdings"},
    {1409, "TradeType", "Type", kPortfolioText, kHoldingRows, kGroupPortfolio, "Center", kText,
     nullptr, nullptr, nullptr, "CASE WHEN t.is_short <> 0 THEN 'Short' ELSE 'Long' END",
     "Long or Short"},
    {1388, "BuyDate", "Buy Date", kPortfolioText, kHoldingRows, kGroupPortfolio, "MM/DD/YYYY", kDay,
     nullptr, nullptr, nullptr, "t.buy_date", "day the position was opened"},
    {1389, "PriceDate", "Price Date", kPortfolioText, kHoldingRows, kGroupPortfolio, "MM/DD/YYYY",
     kDay, nullptr, nullptr, nullptr, "d.trade_date", "day of the close the holding is valued at"},
    {1387, "DaysHeld", "Days", kPortfolioNumber, kHoldingRows, kGroupPortfolio, "#,##0", kInt,
     nullptr, nullptr, nullptr, "d.trade_date - t.buy_date",
     "calendar days since the position was opened"},
    {1390, "Shares", "Shares", kPortfolioNumber, kHoldingRows, kGroupPortfolio, "#,##0", kReal,
     nullptr, nullptr, nullptr, "t.shares",
     "shares bought or sold short, counted after the splits since"},
    {1396, "InitialPrice", "Buy Price", kPortfolioMoney, kHoldingRows, kGroupPortfolio, "#,##0.00",
     kReal, nullptr, nullptr, nullptr, "t.initial_price",
     "price per share when the position was opened, after the splits since"},
    {1397, "CurrentPrice", "Cur. Price", kPortfolioMoney, kHoldingRows, kGroupPortfolio, "#,##0.00",
     kReal, nullptr, nullptr, nullptr, "d.close", "closing price the holding is valued at"},
    {1395, "Commission", "Commission", kPortfolioMoney, kHoldingRows, kGroupPortfolio, "#,##0.00",
     kReal, nullptr, nullptr, nullptr, "t.commission", "commission paid to open the position"},
    {1391, "CostBasis", "Cost Basis", kPortfolioMoney, kHoldingRows, kGroupPortfolio, "#,##0.00",
     kReal, nullptr, nullptr, nullptr, "t.shares * t.initial_price + t.commission",
     "shares times buy price plus commission"},
    {1392, "MarketValue", "Market Value", kPortfolioMoney, kHoldingRows, kGroupPortfolio,
     "#,##0.00", kReal, nullptr, nullptr, nullptr, "t.shares * d.close",
     "shares times the current price"},
    {1399, "GainPerShare", "Gain / Share", kPortfolioMoney, kHoldingRows, kGroupPortfolio,
     "#,##0.00", kReal, nullptr, nullptr, nullptr,
     "CASE WHEN t.is_short <> 0 THEN t.initial_price - d.close ELSE d.close - t.initial_price END",
     "gain per share: price rise for a long position, price fall for a short one"},
    {1400, "Gain", "Gain", kPortfolioMoney, kHoldingRows, kGroupPortfolio, "#,##0.00", kReal,
     nullptr, nullptr, nullptr,
     "(CASE WHEN t.is_short <> 0 THEN t.initial_price - d.close ELSE d.close - t.initial_price "
     "END) "
     "* t.shares - t.commission",
     "unrealised gain of the position after commission"},
    {1401, "ROI", "ROI", kPortfolioNumber, kHoldingRows, kGroupPortfolio, "##0.00", kReal, nullptr,
     nullptr, nullptr,
     "((CASE WHEN t.is_short <> 0 THEN t.initial_price - d.close ELSE d.close - t.initial_price "
     "END) "
     "* t.shares - t.commission) * 100.0 / (t.shares * t.initial_price + t.commission)",
     "return on investment: gain in percent of the cost basis"},
    {1406, "AnnualROI", "Annual ROI", kPortfolioNumber, kHoldingRows, kGroupPortfolio, "##0.00",
     kReal, nullptr, nullptr, nullptr,
     "((CASE WHEN t.is_short <> 0 THEN t.initial_price - d.close ELSE d.close - t.initial_price "
     "END) "
     "* t.shares - t.commission) * 100.0 / (t.shares * t.initial_price + t.commission) * 365.0 "
     "/ CASE WHEN d.trade_date - t.buy_date > 1 THEN d.trade_date - t.buy_date ELSE 1 END",
     "return on investment per year held"},
    {1402, "RealizedGain", "Realized Gain", kPortfolioMoney, kHoldingRows, kGroupPortfolio,
     "#,##0.00", kReal, nullptr, nullptr, nullptr, "t.realized_gain",
     "gain already realised on shares of the trade that were closed"},
    {1407, "TotalGain", "Total Gain", kPortfolioMoney, kHoldingRows, kGroupPortfolio, "#,##0.00",
     kReal, nullptr, nullptr, nullptr,
     "(CASE WHEN t.is_short <> 0 THEN t.initial_price - d.close ELSE d.close - t.initial_price "
     "END) "
     "* t.shares - t.commission + t.realized_gain",
     "unrealised plus realised gain"},
    {1405, "DayGain", "Day Gain", kPortfolioMoney, kHoldingRows, kGroupPortfolio, "#,##0.00", kReal,
     nullptr, nullptr, nullptr,
     "(d.close - d.close * 100.0 / (100.0 + d.pct_change)) * t.shares * "
     "(CASE WHEN t.is_short <> 0 THEN -1 ELSE 1 END)",
     "gain of the position on the day"},
    {1394, "InitialReq", "Initial Req %", kPortfolioNumber, kHoldingRows, kGroupPortfolio, "##0.0",
     kReal, nullptr, nullptr, nullptr, "t.initial_req",
     "initial margin requirement in percent of the position"},
    {1398, "MaintenancePercent", "Maint. %", kPortfolioNumber, kHoldingRows, kGroupPortfolio,
     "##0.0", kReal, nullptr, nullptr, nullptr, "t.maintenance_pct",
     "maintenance margin in percent of the market value"},
    {1403, "MarginRequired", "Margin Req.", kPortfolioMoney, kHoldingRows, kGroupPortfolio,
     "#,##0.00", kReal, nullptr, nullptr, nullptr, "t.shares * d.close * t.maintenance_pct / 100.0",
     "maintenance margin the position needs at the current price"},
    {1404, "Equity", "Equity", kPortfolioMoney, kHoldingRows, kGroupPortfolio, "#,##0.00", kReal,
     nullptr, nullptr, nullptr,
     "t.shares * t.initial_price * t.initial_req / 100.0 + (CASE WHEN t.is_short <> 0 THEN "
     "t.initial_price - d.close ELSE d.close - t.initial_price END) * t.shares - t.commission",
     "initial margin deposit plus the gain"},
    {1408, "Weight", "Weight %", kPortfolioNumber, kHoldingRows, kGroupPortfolio, "##0.0", kReal,
     nullptr, nullptr, nullptr, "t.shares * d.close * 100.0 / sum(t.shares * d.close) OVER ()",
     "market value in percent of all holdings listed"},
    {1410, "PortfolioName", "Portfolio", kPortfolioText, kHoldingRows, kGroupPortfolio, "Left",
     kText, nullptr, nullptr, nullptr, "p.name", "name of the portfolio"},
};

}  // namespace

const char* FieldDefinition::SqlFor(RowKind p_eKind) const {
    switch (p_eKind) {
        case RowKind::Stock:
            return m_sStockSql;
        case RowKind::Industry:
            return m_sIndustrySql;
        case RowKind::Sector:
            return m_sSectorSql;
        case RowKind::Holding:
            return m_sHoldingSql != nullptr ? m_sHoldingSql : m_sStockSql;
    }
    return nullptr;
}

const std::vector<FieldDefinition>& FieldDefinitions() {
    return kFields;
}

const FieldDefinition* FindField(int32_t p_lParameterId) {
    const auto it = std::find_if(kFields.begin(), kFields.end(), [&](const FieldDefinition& field) {
        return field.m_lParameterId == p_lParameterId;
    });
    return it != kFields.end() ? &*it : nullptr;
}

const FieldDefinition* FindFieldByName(std::string_view p_sColumnName) {
    const auto it = std::find_if(kFields.begin(), kFields.end(), [&](const FieldDefinition& field) {
        return EqualsIgnoreCase(field.m_sColumnName, p_sColumnName);
    });
    return it != kFields.end() ? &*it : nullptr;
}

void SeedFieldCatalogue(SqlDatabase& p_oDatabase) {
    p_oDatabase.Execute("DELETE FROM field_catalogue");
    SqlStatement insert = p_oDatabase.Prepare(
        "INSERT INTO field_catalogue (parameter_id, column_name, caption, data_type_id, "
        "table_mask, group_id, column_format, sort_order, meaning) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    int64_t order = 0;
    for (const FieldDefinition& field : kFields) {
        insert.BindInt64(1, field.m_lParameterId);
        insert.BindText(2, field.m_sColumnName);
        insert.BindText(3, field.m_sCaption);
        insert.BindInt64(4, field.m_lDataTypeId);
        insert.BindInt64(5, field.m_lTableMask);
        insert.BindInt64(6, field.m_lGroup);
        insert.BindText(7, field.m_sColumnFormat);
        insert.BindInt64(8, ++order);
        insert.BindText(9, field.m_sMeaning);
        insert.Run();
    }
}

void RealignHoldingMasks(SqlDatabase& p_oDatabase) {
    SeedFieldCatalogue(p_oDatabase);
    SqlStatement update = p_oDatabase.Prepare(
        "UPDATE layout_columns SET table_mask = ?1 WHERE parameter_id = ?2 AND table_mask = ?3");
    for (const FieldDefinition& field : kFields) {
        if (field.m_lTableMask != kHoldingRows) {
            continue;
        }
        update.BindInt64(1, kHoldingRows);
        update.BindInt64(2, field.m_lParameterId);
        update.BindInt64(3, kPortfolio);
        update.Run();
    }
}

}  // namespace qv::facade
