#include "facade/screen_criteria.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "facade/facade_test_files.h"
#include "facade/market_screen.h"
#include "facade/market_store.h"

namespace qv::facade {
namespace {

constexpr int32_t kDay = 45000;

// Five stocks whose values make each case below come out differently under a wrong reading:
//
//   symbol  sector      price  MA200  volume  avg volume  RS   % change
//   AAA     Energy         50     40    3000        1000  90        2.0
//   BBB     Energy         20     25    1000        1000  75       -1.0
//   CCC     Utilities     300    250     500         100  85        0.5
//   DDD     Utilities      10   NULL     800           0  NULL     NULL
//   EEE     Technology    120    100    2500        1000  30        3.5
//
// The day before, every stock ranks 50.
constexpr const char* kMarketSql = R"sql(
INSERT INTO sectors VALUES (1, 'Energy'), (2, 'Utilities'), (3, 'Technology');
INSERT INTO industries VALUES (11, 'Oil', 1), (12, 'Gas', 1), (21, 'Power', 2), (31, 'Chips', 3);
INSERT INTO stocks VALUES (1, 'AAA', 'Alpha Oil', 11), (2, 'BBB', 'Beta Gas', 12),
    (3, 'CCC', 'Gamma Power', 21), (4, 'DDD', 'Delta Grid', 21), (5, 'EEE', 'Echo Chips', 31);
INSERT INTO trading_days VALUES (44999), (45000);
INSERT INTO stock_bars (day_key, open, high, low, close, basis_close, adj_close, volume,
    pct_change, avg_volume_50, ma_200, rs_rank) VALUES
    (1 * 4194304 + 45000, 500000, 500000, 500000, 500000, 500000, 500000, 3000, 2.0, 1000,
     400000, 90),
    (2 * 4194304 + 45000, 200000, 200000, 200000, 200000, 200000, 200000, 1000, -1.0, 1000,
     250000, 75),
    (3 * 4194304 + 45000, 3000000, 3000000, 3000000, 3000000, 3000000, 3000000, 500, 0.5, 100,
     2500000, 85),
    (4 * 4194304 + 45000, 100000, 100000, 100000, 100000, 100000, 100000, 800, NULL, 0,
     NULL, NULL),
    (5 * 4194304 + 45000, 1200000, 1200000, 1200000, 1200000, 1200000, 1200000, 2500, 3.5, 1000,
     1000000, 30);
INSERT INTO stock_bars (day_key, close, basis_close, adj_close, volume, rs_rank)
    SELECT stock_id * 4194304 + 44999, 100000, 100000, 100000, 1, 50 FROM stocks;
INSERT INTO group_days (group_key, member_count, advancing, declining, avg_pct_change,
    index_value, total_volume) VALUES
    ((1048576 + 11) * 4194304 + 45000, 1, 1, 0, 2.0, 100, 3000),
    ((1048576 + 12) * 4194304 + 45000, 1, 0, 1, -1.0, 100, 1000),
    ((1048576 + 21) * 4194304 + 45000, 2, 1, 0, 0.5, 100, 1300),
    ((1048576 + 31) * 4194304 + 45000, 1, 1, 0, 3.5, 100, 2500),
    ((2 * 1048576 + 1) * 4194304 + 45000, 2, 1, 1, 0.5, 100, 4000),
    ((2 * 1048576 + 2) * 4194304 + 45000, 2, 1, 0, 0.5, 100, 1300),
    ((2 * 1048576 + 3) * 4194304 + 45000, 1, 1, 0, 3.5, 100, 2500);
)sql";

struct SmallMarket {
    SmallMarket() : m_oStore(m_oFolder.File("market.db"), MarketStore::Access::ReadWrite) {
        m_oStore.Database().Execute(kMarketSql);
    }

    testing::ScratchFolder m_oFolder;
    MarketStore m_oStore;
};

SqlDatabase& Database() {
    static SmallMarket market;
    return market.m_oStore.Database();
}

// The keys of the rows a screen finds, in name order, separated by spaces.
std::string Found(RowKind p_eRows, const ScreenSql& p_oScreen) {
    ScreenRequest request;
    request.m_eRows = p_eRows;
    const char* key = p_eRows == RowKind::Stock
                          ? "Symbol"
                          : (p_eRows == RowKind::Industry ? "IndName" : "SectorName");
    request.m_aFields = {key};
    request.m_oScreen = p_oScreen;
    const ResultTable rows = RunScreen(Database(), request);
    std::string keys;
    for (size_t i = 0; i < rows.RowCount(); ++i) {
        keys += (keys.empty() ? "" : " ") + std::get<std::string>(rows.Value(i, 0));
    }
    return keys;
}

TEST(ScreenCriteria, FindTheRowsMeetingThem) {
    struct Case {
        RowKind m_eRows;
        const char* m_sCriteria;
        const char* m_sFound;
    };
    const RowKind kStock = RowKind::Stock;
    const Case aCases[] = {
        {kStock, "RSRank >= 80", "AAA CCC"},
        {kStock, "rsrank >= 80 and PRICE > 100", "CCC"},
        // AND binds tighter than OR; parentheses change that.
        {kStock, "RSRank < 50 OR RSRank > 80 AND Price < 100", "AAA EEE"},
        {kStock, "(RSRank < 50 OR RSRank > 80) AND Price < 100", "AAA"},
        // NOT binds tighter than AND, and a comparison without a value is false, so NOT of it is
        // true: DDD has no ranking and so no recommendation.
        {kStock, "NOT SectorName = 'Energy' AND Price > 100", "CCC EEE"},
        {kStock, "NOT REC = 'B'", "DDD EEE"},
        {kStock, "NOT NOT REC = 'B'", "AAA BBB CCC"},
        {kStock, "REC <> 'S'", "AAA BBB CCC"},
        {kStock, "RSRank < 1000", "AAA BBB CCC EEE"},
        // Fields with fields, and arithmetic: * before -, left to right, division as real
        // numbers, and a row's division by zero (DDD) meeting nothing.
        {kStock, "Price > MA200", "AAA CCC EEE"},
        {kStock, "Volume >= 2 * AvgVolume", "AAA CCC DDD EEE"},
        {kStock, "Volume / AvgVolume > 2", "AAA CCC EEE"},
        {kStock, "Price - MA200 * 2 > -40", "AAA BBB"},
        {kStock, "Price - 10 - 20 > 15", "AAA CCC EEE"},
        {kStock, "-Price < -(100 + 50)", "CCC"},
        // Captions in brackets, other signs, numbers, texts in any letter case and either quote.
        {kStock, "[RS] >= 80 AND [ 200 Day MA ] < 100", "AAA"},
        {kStock, "[Sector] = 'utilities'", "CCC DDD"},
        {kStock, "Symbol = \"ccc\" OR CompanyName < 'b'", "AAA CCC"},
        {kStock, "RSRank \u2265 85 AND Price \u2260 50", "CCC"},
        {kStock, "RSRank != 90 AND RSRank <= 85", "BBB CCC EEE"},
        {kStock, "PctChange > -.5 AND PctChange < 2.5e0", "AAA CCC"},
        {kStock, "Price > 1000", ""},
        {kStock, "SectorName = 'x'' OR ''a'' = ''a'", ""},
        {RowKind::Industry, "PctChange > 0 AND SectorName <> 'Technology'", "Oil Power"},
        {RowKind::Sector, "PctChange < 1", "Energy Utilities"},
    };
    for (const Case& oCase : aCases) {
        const ScreenSql oScreen = CompileScreenCriteria(oCase.m_sCriteria, oCase.m_eRows);
        const std::string sFound = Found(oCase.m_eRows, oScreen);
        EXPECT_EQ(sFound, oCase.m_sFound) << oCase.m_sCriteria;
        const size_t lCount =
            sFound.empty() ? 0 : std::count(sFound.begin(), sFound.end(), ' ') + 1;
        EXPECT_EQ(CountScreenRows(Database(), oCase.m_eRows, oScreen, 0),
                  static_cast<int64_t>(lCount))
            << oCase.m_sCriteria;
    }
}

TEST(ScreenCriteria, CountOnTheTradingDayOnOrBeforeTheDate) {
    const ScreenSql oScreen = CompileScreenCriteria("RSRank >= 50", RowKind::Stock);
    EXPECT_EQ(CountScreenRows(Database(), RowKind::Stock, oScreen, kDay), 3);
    EXPECT_EQ(CountScreenRows(Database(), RowKind::Stock, oScreen, kDay + 30), 3);
    EXPECT_EQ(CountScreenRows(Database(), RowKind::Stock, oScreen, kDay - 1), 5);
    EXPECT_EQ(CountScreenRows(Database(), RowKind::Stock, oScreen, kDay - 2), 0);
}

TEST(ScreenCriteria, KeepTypedValuesOutOfTheSqlAndDescribeThemWithCaptions) {
    const ScreenSql oScreen = CompileScreenCriteria(
        "rsrank >= 80 AND NOT (price > ma200 OR [% Off Hi] \u2265 -5) or SectorName = 'It''s'",
        RowKind::Stock);
    EXPECT_EQ(oScreen.m_sDescription,
              "RS >= 80 and not (Price > 200 Day MA or % Off Hi >= -5) or Sector = 'It''s'");
    EXPECT_EQ(oScreen.m_aValues,
              (std::vector<ScreenValue>{int64_t{80}, int64_t{-5}, std::string("It's")}));
    EXPECT_EQ(std::count(oScreen.m_sWhere.begin(), oScreen.m_sWhere.end(), '?'), 3);
    EXPECT_EQ(oScreen.m_sWhere.find("It"), std::string::npos);
}

std::string ManyComparisons(int p_lCount) {
    std::string criteria = "Price > 1";
    for (int i = 1; i < p_lCount; ++i) {
        criteria += " OR Price > 1";
    }
    return criteria;
}

TEST(ScreenCriteria, SayWhereAndWhyTheyCannotBeRead) {
    struct Case {
        RowKind m_eRows;
        std::string m_sCriteria;
        size_t m_lPosition;
        const char* m_sToken;
        const char* m_sWhy;
    };
    const RowKind kStock = RowKind::Stock;
    const Case aCases[] = {
        {kStock, "Pirce > 10", 1, "Pirce", "unknown field"},
        {kStock, "RSRank \u2265 80 AND [Pirce] > 1", 17, "[Pirce]", "unknown field"},
        {kStock, "Members > 3", 1, "Members", "not a field of stocks"},
        {kStock, "Gain > 0", 1, "Gain", "not a field of stocks"},
        {RowKind::Sector, "SectorName = 'x' AND Price > 3", 22, "Price", "not a field of sectors"},
        {kStock, "Price > 'ten'", 9, "'ten'", "a text compared with a number"},
        {kStock, "SectorName = 5", 1, "SectorName", "a text compared with a number"},
        {kStock, "SectorName + 1 = 2", 1, "SectorName", "a text cannot be computed"},
        {kStock, "Price / 0 > 1", 9, "0", "division by zero"},
        {kStock, "Price / (-0.0) > 1", 9, "(", "division by zero"},
        {kStock, "Price >", 8, "", "a value expected"},
        {kStock, "Price > 10 AND AND", 16, "AND", "a value expected"},
        {kStock, "(Price > 10", 12, "", "a closing parenthesis expected"},
        {kStock, "Price > 10)", 11, ")", "unexpected"},
        {kStock, "Price > 1 < 3", 11, "<", "unexpected"},
        {kStock, "Price", 1, "Price", "not a comparison"},
        {kStock, "Price > 10 AND Volume", 16, "Volume", "not a comparison"},
        {kStock, "(Price > 1) > 2", 1, "(", "a condition cannot be compared"},
        {kStock, "-(Price > 1) > 2", 2, "(", "a condition cannot be computed"},
        {kStock, "Price # 10", 7, "#", "unexpected character"},
        {kStock, "Price \u00a7 10", 7, "\u00a7", "unexpected character"},
        {kStock, "SectorName = 'Energy", 14, "'Energy", "a text without its closing quote"},
        {kStock, "[% Off Hi > 3", 1, "[% Off Hi > 3", "a field name without its closing bracket"},
        {kStock, "Price > 1e999", 9, "1e999", "a number out of range"},
        {kStock, std::string(100, '(') + "Price > 1" + std::string(100, ')'), 11, "(",
         "criteria nested too deeply"},
        {kStock, std::string(200, '-') + "Price > 1", 11, "-", "criteria nested too deeply"},
        {kStock, "Price > 1" + std::string(200, '+') + "1", 11, "+", "a value expected"},
        // The 257th term, the first of the 129th comparison after the first.
        {kStock, ManyComparisons(130), 13 * 128 + 1, "Price", "too many terms in the criteria"},
        {kStock, " \t", 3, "", "a screen needs criteria"},
    };
    for (const Case& oCase : aCases) {
        try {
            CompileScreenCriteria(oCase.m_sCriteria, oCase.m_eRows);
            ADD_FAILURE() << oCase.m_sCriteria << " compiled";
        } catch (const ScreenCriteriaError& oError) {
            EXPECT_EQ(oError.Position(), oCase.m_lPosition) << oCase.m_sCriteria;
            EXPECT_EQ(oError.Token(), oCase.m_sToken) << oCase.m_sCriteria;
            EXPECT_EQ(oError.Why(), oCase.m_sWhy) << oCase.m_sCriteria;
        }
    }
}

std::string Repeated(const std::string& p_sText, int p_lTimes) {
    std::string repeated;
    for (int i = 0; i < p_lTimes; ++i) {
        repeated += p_sText;
    }
    return repeated;
}

// Regression: SQLite refused criteria nested a dozen deep ("parser stack overflow") after they
// compiled. Each nesting the reader accepts must prepare, around the deepest expressions too.
TEST(ScreenCriteria, TheDeepestCriteriaAcceptedStillRun) {
    const int n = 10;
    const std::string sValue = "1 < " + Repeated("1 + 2 * (", n) + "GroupSales" + Repeated(")", n);
    const std::string sCondition = "SectorName = 'x'";
    const std::string sConditions =
        Repeated(sCondition + " OR " + sCondition + " AND (", n) + sCondition + Repeated(")", n);
    const std::string sDivisions =
        Repeated("1 - 2 / (", n) + "GroupSales" + Repeated(")", n) + " > 1";
    for (const std::string& sCriteria : {sValue, sConditions, sDivisions}) {
        const ScreenSql oScreen = CompileScreenCriteria(sCriteria, RowKind::Industry);
        EXPECT_NO_THROW(CountScreenRows(Database(), RowKind::Industry, oScreen, 0)) << sCriteria;
        EXPECT_THROW(CompileScreenCriteria("(" + sCriteria + ")", RowKind::Industry),
                     ScreenCriteriaError);
    }
}

TEST(ScreenCriteria, DescribeAFaultWithTheTokenAndTheCriteria) {
    const auto Description = [](std::string_view p_sCriteria) {
        try {
            CompileScreenCriteria(p_sCriteria, RowKind::Stock);
        } catch (const ScreenCriteriaError& oError) {
            return std::string(oError.what());
        }
        return std::string("compiled");
    };
    EXPECT_EQ(Description("Pirce > 10"), "unknown field 'Pirce' at position 1 in 'Pirce > 10'");
    EXPECT_EQ(Description("Price >"), "a value expected at position 8 (end of text) in 'Price >'");
    EXPECT_EQ(Description(""), "a screen needs criteria");
}

// The older table of criteria: each a field, an operator and a value, all of which a row meets.
TEST(ScreenCriteria, TheTableFormMeetsEveryCriterion) {
    using Table = std::vector<ScreenCriterion>;
    using Op = ScreenOperator;
    struct Case {
        Table m_aCriteria;
        const char* m_sFound;
    };
    const Case aCases[] = {
        {{{"RSRank", Op::GreaterOrEqual, int64_t{80}}, {"SectorName", Op::Equal, "energy"}}, "AAA"},
        {{{"Price", Op::Less, 100.0}}, "AAA BBB DDD"},
        {{{"MA200", Op::Less, 1000.0}}, "AAA BBB CCC EEE"},
        {{{"Price", Op::NotEqual, "50"}}, ""},
        {{{"Members", Op::Greater, int64_t{0}}}, ""},
        {{}, "AAA BBB CCC DDD EEE"},
    };
    for (const Case& oCase : aCases) {
        EXPECT_EQ(Found(RowKind::Stock, TableScreen(oCase.m_aCriteria, RowKind::Stock)),
                  oCase.m_sFound)
            << &oCase - aCases;
    }
}

}  // namespace
}  // namespace qv::facade
