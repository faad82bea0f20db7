// "QorvantOnlineFacade.PagesFNTr": the figures of the shell's in-app pages, so that the shell
// draws a stock, an industry or a sector, its chart, its analysis, a quick test or a dividend
// calendar without computing a market figure of its own. The names, argument places and result
// fields are those of facade_protocol.h:
//
// StockDetail (returns a Recordset of one row)           1 Symbol String, 2 Date Date
// PriceHistory (returns a Recordset, newest day first)   1 Symbol String, 2 FirstDate Date,
//                                                         3 LastDate Date
// IndustryDetail, SectorDetail (return a Recordset of one row)
//    1 Code Long, 2 Date Date, 3 Members Recordset out
// ChartSeries (returns a Recordset)
//    1 Kind Long (0 stocks, 1 industries, 2 sectors), 2 Codes String ("A,B"), 3 FirstDate Date,
//    4 LastDate Date, 5 Advanced Boolean
// StockAnalysis (returns a Recordset of three rows)     1 Symbol String, 2 Date Date
// QuickTest (returns the daily lines)
//    1 Kind Long, 2 Codes String, 3 StartDate Date, 4 EndDate Date, 5 Members Recordset out,
//    6 TotalReturn, 7 AnnualReturn, 8 MaxDrawdown, 9 Volatility (Double out, Null when there is
//    too little to tell), 10 BestCode, 11 WorstCode (String out)
// Dividends (returns a Recordset)                        1 Symbols String ("A,B")
// WatchListMembers (returns the codes, String)
//    1 OwnerId Long, 2 WatchListId Long, 3 Name String out, 4 Kind Long out
// OptionPrice (returns a Recordset of one row)
//    1 Symbol String, 2 Date Date, 3 Strike Double, 4 Days Long, 5 Rate Double,
//    6 Volatility Double
// InvestmentDetails (returns the trades of a holding, page_investment.h)
//    1 OwnerId Long, 2 PortfolioId Long, 3 Symbol String, 4 Date Date,
//    5 Lines Recordset out: its value and the market's, day by day
// MarketSummary (returns True)
//    1 Day Date, 2 FirstDay, 3 LastDay, 4 TradingDay (Date out), 5 Origin (String out),
//    6 IsSample (Boolean out): the market's span and origin, and the trading day on or before Day
//
// Days: Empty means the latest trading day (for the start of a range, the first); a day is read
// as the trading day on or before it (for the start of a range, on or after it). The calls read
// market data only, so they need no session, but for WatchListMembers and InvestmentDetails, which
// read the session owner's list or portfolio (another owner's portfolio holds nothing). Whatever a
// caller got wrong is an automation error naming the argument and the value: an unknown symbol or
// code, a code that is not a number, no codes at all, a day outside the store's trading days, a
// range without trading days, a stock without a bar on the day, a quick test without a price on its
// first day.
#pragma once

#include "facade/facade_component.h"

namespace qv::facade {

class PagesComponent : public FacadeComponent {
  public:
    using FacadeComponent::FacadeComponent;

    std::string_view DispatchClassName() const override { return "PagesFNTr"; }

    Variant StockDetail(DispatchArgs p_args);
    Variant PriceHistory(DispatchArgs p_args);
    Variant GroupDetail(std::string_view p_sMethod, DispatchArgs p_args);
    Variant ChartSeries(DispatchArgs p_args);
    Variant StockAnalysis(DispatchArgs p_args);
    Variant QuickTest(DispatchArgs p_args);
    Variant Dividends(DispatchArgs p_args);
    Variant WatchListMembers(DispatchArgs p_args);
    Variant OptionPrice(DispatchArgs p_args);
    Variant InvestmentDetails(DispatchArgs p_args);
    Variant MarketSummary(DispatchArgs p_args);

  protected:
    const DispatchTable& Table() const override;
};

}  // namespace qv::facade
