#include "facade/market_queries.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "facade/facade_test_files.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "facade/watch_list_store.h"

namespace qv::facade {
namespace {

using testing::SharedSampleMarket;

ListRequest ListOf(std::vector<std::string> p_aFields) {
    ListRequest oRequest;
    oRequest.m_aFields = std::move(p_aFields);
    return oRequest;
}

HistoryRequest HistoryOf(std::vector<std::string> p_aFields) {
    HistoryRequest oRequest;
    oRequest.m_aFields = std::move(p_aFields);
    return oRequest;
}

class Queries : public ::testing::Test {
  protected:
    Queries() : m_oQueries(SharedSampleMarket().Database()) {}

    int64_t Count(const std::string& p_sSql) {
        return SharedSampleMarket().Database().QueryInt64(p_sSql);
    }

    static std::vector<std::string> Texts(const ResultTable& p_oTable, const char* p_sColumn) {
        std::vector<std::string> aTexts;
        for (size_t i = 0; i < p_oTable.m_aRows.size(); ++i) {
            aTexts.push_back(std::get<std::string>(p_oTable.Value(i, p_sColumn)));
        }
        return aTexts;
    }

    MarketQueries m_oQueries;
};

TEST_F(Queries, AStockListHasTheAskedFieldsOfTheLastTradingDay) {
    ListRequest oRequest;
    oRequest.m_aFields = {"Symbol", "price", "REC", "Members", "NoSuchField", "Symbol"};
    const ListResult oResult = m_oQueries.Stocks(oRequest);
    EXPECT_EQ(oResult.m_lTradingDay, Count("SELECT max(trade_date) FROM trading_days"));
    EXPECT_EQ(static_cast<int64_t>(oResult.m_oTable.m_aRows.size()),
              Count("SELECT count(*) FROM stock_days WHERE trade_date = " +
                    std::to_string(oResult.m_lTradingDay)));
    ASSERT_EQ(oResult.m_oTable.m_aColumns.size(), 5u);
    EXPECT_EQ(oResult.m_oTable.m_aColumns[1].m_sName, "Price");
    EXPECT_EQ(oResult.m_oTable.m_aColumns[1].m_eKind, FieldKind::Double);
    // "Members" belongs to industries and sectors, "NoSuchField" to nothing: both come back empty.
    for (size_t i = 0; i < oResult.m_oTable.m_aRows.size(); ++i) {
        EXPECT_TRUE(std::holds_alternative<std::monostate>(oResult.m_oTable.Value(i, "Members")));
        EXPECT_TRUE(
            std::holds_alternative<std::monostate>(oResult.m_oTable.Value(i, "NoSuchField")));
    }
    const std::vector<std::string> aRecommendations = Texts(oResult.m_oTable, "REC");
    EXPECT_EQ(std::set<std::string>(aRecommendations.begin(), aRecommendations.end()),
              (std::set<std::string>{"B", "H", "S"}));
}

TEST_F(Queries, TheRecommendationFollowsTheRanking) {
    ListRequest oRequest;
    oRequest.m_aFields = {"RSRank", "REC"};
    const ListResult oResult = m_oQueries.Stocks(oRequest);
    for (size_t i = 0; i < oResult.m_oTable.m_aRows.size(); ++i) {
        const int64_t llRank = std::get<int64_t>(oResult.m_oTable.Value(i, "RSRank"));
        const std::string sExpected = llRank >= 70 ? "B" : llRank <= 30 ? "S" : "H";
        EXPECT_EQ(std::get<std::string>(oResult.m_oTable.Value(i, "REC")), sExpected) << llRank;
    }
}

TEST_F(Queries, ListsNarrowToAnIndustryASectorOrAWatchList) {
    ListRequest oRequest;
    oRequest.m_aFields = {"Symbol", "IndCode", "SectorCode"};
    oRequest.m_lIndCode = 3;
    for (const ListResult& oResult : {m_oQueries.Stocks(oRequest)}) {
        ASSERT_FALSE(oResult.m_oTable.m_aRows.empty());
        for (size_t i = 0; i < oResult.m_oTable.m_aRows.size(); ++i) {
            EXPECT_EQ(std::get<int64_t>(oResult.m_oTable.Value(i, "IndCode")), 3);
        }
    }
    oRequest.m_lIndCode = 0;
    oRequest.m_lSectorCode = 2;
    const ListResult oIndustries = m_oQueries.Industries(oRequest);
    EXPECT_EQ(static_cast<int64_t>(oIndustries.m_oTable.m_aRows.size()),
              Count("SELECT count(*) FROM industries WHERE sector_code = 2"));

    const int32_t lLeaders =
        static_cast<int32_t>(Count("SELECT watch_list_id FROM watch_lists WHERE name = 'Leaders'"));
    ListRequest oWatch;
    oWatch.m_aFields = {"Symbol"};
    oWatch.m_lWatchListId = lLeaders;
    EXPECT_EQ(m_oQueries.Stocks(oWatch).m_oTable.m_aRows.size(), 10u);
}

TEST_F(Queries, SortsByTheLayoutClauseAndCutsAtTheRowLimit) {
    ListRequest oRequest;
    oRequest.m_aFields = {"Symbol", "PctChange"};
    oRequest.m_sSort = "[PctChange] DESC, Symbol ASC";
    oRequest.m_lMaxRows = 10;
    const ListResult oResult = m_oQueries.Stocks(oRequest);
    ASSERT_EQ(oResult.m_oTable.m_aRows.size(), 10u);
    EXPECT_TRUE(oResult.m_bMoreRows);
    for (size_t i = 1; i < 10; ++i) {
        EXPECT_GE(std::get<double>(oResult.m_oTable.Value(i - 1, "PctChange")),
                  std::get<double>(oResult.m_oTable.Value(i, "PctChange")));
    }
    oRequest.m_sSort = "Symbol asc";
    oRequest.m_lMaxRows = -1;
    const std::vector<std::string> aSymbols = Texts(m_oQueries.Stocks(oRequest).m_oTable, "Symbol");
    EXPECT_TRUE(std::is_sorted(aSymbols.begin(), aSymbols.end()));
}

TEST_F(Queries, FindsByKeysAndNameStart) {
    const ListResult oAll = m_oQueries.Stocks(ListOf({"Symbol", "CompanyName"}));
    const std::string sSymbol = std::get<std::string>(oAll.m_oTable.Value(0, "Symbol"));
    const std::string sName = std::get<std::string>(oAll.m_oTable.Value(0, "CompanyName"));
    ListRequest oRequest;
    oRequest.m_aFields = {"Symbol"};
    oRequest.m_aKeys = {" " + sSymbol + " "};
    std::transform(oRequest.m_aKeys[0].begin(), oRequest.m_aKeys[0].end(),
                   oRequest.m_aKeys[0].begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_EQ(Texts(m_oQueries.Stocks(oRequest).m_oTable, "Symbol"),
              std::vector<std::string>{sSymbol});
    oRequest.m_aKeys.clear();
    oRequest.m_sNameStart = sName.substr(0, 4);
    const std::vector<std::string> aFound = Texts(m_oQueries.Stocks(oRequest).m_oTable, "Symbol");
    EXPECT_NE(std::find(aFound.begin(), aFound.end(), sSymbol), aFound.end());
    ListRequest oIndustries;
    oIndustries.m_aFields = {"IndCode"};
    oIndustries.m_aKeys = {"3", "5.0", "x"};
    EXPECT_EQ(m_oQueries.Industries(oIndustries).m_oTable.m_aRows.size(), 2u);
}

TEST_F(Queries, ADayWithoutTradingShowsThePreviousTradingDay) {
    const int32_t lLast = static_cast<int32_t>(Count("SELECT max(trade_date) FROM trading_days"));
    EXPECT_EQ(m_oQueries.TradingDayOnOrBefore(lLast + 5), lLast);
    EXPECT_EQ(m_oQueries.TradingDayOnOrBefore(0), lLast);
    EXPECT_EQ(m_oQueries.TradingDayOnOrBefore(1000), 0);
    ListRequest oRequest;
    oRequest.m_aFields = {"Symbol"};
    oRequest.m_lDate = 1000;
    EXPECT_TRUE(m_oQueries.Stocks(oRequest).m_oTable.m_aRows.empty());
}

TEST_F(Queries, HistoriesListTheDaysOfTheRangeNewestFirst) {
    const std::string sSymbol =
        std::get<std::string>(m_oQueries.Stocks(ListOf({"Symbol"})).m_oTable.Value(0, "Symbol"));
    const int32_t lLast = static_cast<int32_t>(Count("SELECT max(trade_date) FROM trading_days"));
    HistoryRequest oRequest;
    oRequest.m_aFields = {"Trading_Date", "Price", "IndexValue"};
    oRequest.m_lFirstDate = lLast - 13;
    oRequest.m_lLastDate = lLast;
    const ResultTable oStock = m_oQueries.StockHistory(sSymbol, oRequest);
    ASSERT_EQ(oStock.m_aRows.size(), 10u);  // two weeks of weekdays
    EXPECT_EQ(std::get<double>(oStock.Value(0, "Trading_Date")), lLast);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(oStock.Value(0, "IndexValue")));
    EXPECT_EQ(m_oQueries.IndustryHistory(1, oRequest).m_aRows.size(), 10u);
    EXPECT_EQ(m_oQueries.SectorHistory(1, oRequest).m_aRows.size(), 10u);
    EXPECT_EQ(m_oQueries.StockHistory(sSymbol, HistoryOf({"Price"})).m_aRows.size(),
              static_cast<size_t>(Count("SELECT count(*) FROM trading_days")));
    EXPECT_TRUE(m_oQueries.StockHistory("NOPE", oRequest).m_aRows.empty());
}

TEST_F(Queries, HoldingsAreValuedAtTheDaysClose) {
    ListRequest oRequest;
    oRequest.m_aFields = {"Symbol",       "Shares", "Short",       "InitialPrice",
                          "CurrentPrice", "Gain",   "GainPerShare"};
    oRequest.m_lPortfolioId =
        static_cast<int32_t>(Count("SELECT min(portfolio_id) FROM portfolios"));
    const ListResult oResult = m_oQueries.Holdings(oRequest);
    ASSERT_GE(oResult.m_oTable.m_aRows.size(), 5u);
    for (size_t i = 0; i < oResult.m_oTable.m_aRows.size(); ++i) {
        const ResultTable& oTable = oResult.m_oTable;
        const bool bShort = std::get<int64_t>(oTable.Value(i, "Short")) != 0;
        const double dMove = std::get<double>(oTable.Value(i, "CurrentPrice")) -
                             std::get<double>(oTable.Value(i, "InitialPrice"));
        EXPECT_NEAR(std::get<double>(oTable.Value(i, "GainPerShare")), bShort ? -dMove : dMove,
                    1e-9);
        EXPECT_NEAR(std::get<double>(oTable.Value(i, "Gain")),
                    (bShort ? -dMove : dMove) * std::get<double>(oTable.Value(i, "Shares")) - 9.95,
                    1e-6);
    }
}

// Texts that would change a statement pasted into SQL arrive as plain values: they find nothing
// and break nothing.
TEST_F(Queries, InjectionTextsAreHarmless) {
    const int64_t llStocks = Count("SELECT count(*) FROM stocks");
    const std::vector<std::string> aAttacks = {"'; DROP TABLE stocks; --",
                                               "x' OR '1'='1",
                                               "%' OR 1=1 --",
                                               "\"); DELETE FROM stocks; --",
                                               "1; DROP TABLE stock_days",
                                               "Price; DROP TABLE stocks",
                                               "[Symbol]) DESC; DROP TABLE x --"};
    for (const std::string& sAttack : aAttacks) {
        ListRequest oRequest;
        oRequest.m_aFields = {"Symbol", sAttack};
        oRequest.m_aKeys = {sAttack};
        oRequest.m_sNameStart = sAttack;
        oRequest.m_sSort = sAttack;
        EXPECT_TRUE(m_oQueries.Stocks(oRequest).m_oTable.m_aRows.empty()) << sAttack;
        EXPECT_TRUE(m_oQueries.Industries(oRequest).m_oTable.m_aRows.empty()) << sAttack;
        EXPECT_TRUE(m_oQueries.StockHistory(sAttack, HistoryOf({"Price"})).m_aRows.empty())
            << sAttack;
        ListRequest oSorted;
        oSorted.m_aFields = {"Symbol"};
        oSorted.m_sSort = sAttack;
        EXPECT_EQ(static_cast<int64_t>(m_oQueries.Stocks(oSorted).m_oTable.m_aRows.size()),
                  llStocks);
    }
    // A name start with LIKE wildcards matches them literally.
    ListRequest oWildcards;
    oWildcards.m_aFields = {"Symbol"};
    oWildcards.m_sNameStart = "%";
    EXPECT_TRUE(m_oQueries.Stocks(oWildcards).m_oTable.m_aRows.empty());
    EXPECT_EQ(Count("SELECT count(*) FROM stocks"), llStocks);
    EXPECT_GT(Count("SELECT count(*) FROM stock_days"), 0);
}

}  // namespace
}  // namespace qv::facade
