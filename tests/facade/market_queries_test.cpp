#include "facade/market_queries.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "facade/facade_test_files.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"

namespace qv::facade {
namespace {

using testing::SharedSampleMarket;

ListRequest Request(std::vector<std::string> p_aFields, std::string p_sNameStart = "",
                    std::string p_sSort = "") {
    ListRequest oRequest;
    oRequest.m_aFields = std::move(p_aFields);
    oRequest.m_sNameStart = std::move(p_sNameStart);
    oRequest.m_sSort = std::move(p_sSort);
    return oRequest;
}

class Queries : public ::testing::Test {
  protected:
    Queries() : m_oQueries(SharedSampleMarket().Database()) {}

    int64_t Count(const std::string& p_sSql) {
        return SharedSampleMarket().Database().QueryInt64(p_sSql);
    }

    MarketQueries m_oQueries;
};

TEST_F(Queries, AStockListHasTheAskedFieldsOfTheLastTradingDay) {
    const ListResult oResult = m_oQueries.Stocks(
        Request({"Symbol", "price", "REC", "RSRank", "Members", "NoSuchField", "Symbol"}));
    EXPECT_EQ(oResult.m_lTradingDay, Count("SELECT max(trade_date) FROM trading_days"));
    EXPECT_EQ(static_cast<int64_t>(oResult.m_oTable.RowCount()),
              Count("SELECT count(*) FROM stock_days WHERE trade_date = " +
                    std::to_string(oResult.m_lTradingDay)));
    ASSERT_EQ(oResult.m_oTable.Columns().size(), 6u);
    EXPECT_EQ(oResult.m_oTable.Columns()[1].m_sName, "Price");
    EXPECT_EQ(oResult.m_oTable.Columns()[1].m_eKind, FieldKind::Double);
    // "Members" belongs to industries and sectors, "NoSuchField" to nothing: both come back empty.
    // The recommendation follows the ranking: one per rank, sells lowest, buys highest.
    std::map<int64_t, std::set<std::string>> aByRank;
    for (size_t i = 0; i < oResult.m_oTable.RowCount(); ++i) {
        EXPECT_TRUE(std::holds_alternative<std::monostate>(oResult.m_oTable.Value(i, "Members")));
        EXPECT_TRUE(
            std::holds_alternative<std::monostate>(oResult.m_oTable.Value(i, "NoSuchField")));
        aByRank[std::get<int64_t>(oResult.m_oTable.Value(i, "RSRank"))].insert(
            std::get<std::string>(oResult.m_oTable.Value(i, "REC")));
    }
    std::string sOrder;
    for (const auto& [llRank, aRecommendations] : aByRank) {
        ASSERT_EQ(aRecommendations.size(), 1u) << "rank " << llRank;
        if (sOrder.empty() || sOrder.back() != aRecommendations.begin()->front()) {
            sOrder += *aRecommendations.begin();
        }
    }
    EXPECT_EQ(sOrder, "SHB");
}

// Texts that would change a statement pasted into SQL arrive as plain values: they find nothing
// and break nothing.
TEST_F(Queries, InjectionTextsAreHarmless) {
    const int64_t llStocks = Count("SELECT count(*) FROM stocks");
    HistoryRequest oHistory;
    oHistory.m_aFields = {"Price"};
    for (const std::string sAttack :
         {"'; DROP TABLE stocks; --", "x' OR '1'='1", "%' OR 1=1 --", "\"); DELETE FROM stocks; --",
          "1; DROP TABLE stock_days", "Price; DROP TABLE stocks",
          "[Symbol]) DESC; DROP TABLE x --"}) {
        ListRequest oRequest = Request({"Symbol", sAttack}, sAttack, sAttack);
        oRequest.m_aKeys = {sAttack};
        EXPECT_TRUE(m_oQueries.Stocks(oRequest).m_oTable.Empty()) << sAttack;
        EXPECT_TRUE(m_oQueries.Industries(oRequest).m_oTable.Empty()) << sAttack;
        EXPECT_TRUE(m_oQueries.StockHistory(sAttack, oHistory).Empty());
        EXPECT_EQ(static_cast<int64_t>(
                      m_oQueries.Stocks(Request({"Symbol"}, "", sAttack)).m_oTable.RowCount()),
                  llStocks);
    }
    // A name start with LIKE wildcards matches them literally.
    EXPECT_TRUE(m_oQueries.Stocks(Request({"Symbol"}, "%")).m_oTable.Empty());
    EXPECT_EQ(Count("SELECT count(*) FROM stocks"), llStocks);
    EXPECT_GT(Count("SELECT count(*) FROM stock_days"), 0);
}

}  // namespace
}  // namespace qv::facade
