// "QorvantOnlineFacade.ViewerFNtr" called through dispatch as the strategies and the viewer call
// it, checked against the generated market read with SQL of the test's own.
#include "facade/viewer_reader_component.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "facade/component_test_support.h"
#include "facade/field_catalogue.h"
#include "facade/layout_access.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "facade/watch_list_store.h"
#include "outside/text_util.h"

namespace qv::facade {
namespace {

using namespace testing;
namespace stocks = facade_protocol::stock_viewer;
namespace industries = facade_protocol::industry_viewer;

constexpr std::string_view kReader = prog_id::kViewerReader;
const std::string kGroupsOfDay =
    "SELECT count(DISTINCT s.ind_code) FROM stock_days d JOIN stocks s ON s.stock_id = "
    "d.stock_id JOIN industries i ON i.ind_code = s.ind_code WHERE d.trade_date = ?1";

class ViewerReader : public ComponentTest {
  protected:
    int32_t WatchListNamed(int32_t p_lType, const std::string& p_sName) {
        for (const WatchListEntry& oEntry :
             WatchListStore(Database()).WatchLists(kDemoOwnerId, p_lType)) {
            if (oEntry.m_sName == p_sName) {
                return oEntry.m_lId;
            }
        }
        ADD_FAILURE() << "no watch list " << p_sName;
        return 0;
    }

    // The stocks with a bar on the day, optionally of one industry or sector.
    int64_t StocksOfDay(int32_t p_lDay, const std::string& p_sCondition = "") {
        return Count(
            "SELECT count(*) FROM stock_days d JOIN stocks s ON s.stock_id = d.stock_id "
            "JOIN industries i ON i.ind_code = s.ind_code WHERE d.trade_date = ?1" +
                p_sCondition,
            p_lDay);
    }

    static std::string InSector(int64_t p_llSector) {
        return " AND i.sector_code = " + std::to_string(p_llSector);
    }

    int32_t First(const std::string& p_sSql) { return std::stoi(Strings(p_sSql)[0]); }
};

// The viewer's description before its first query names the layout: no sort block, no columns.
TEST_F(ViewerReader, AFirstStockQueryAnswersEveryByReferenceResult) {
    const Variant vHeader = VariantArray::Vector({3, Variant(""), Variant(""), 0, 0});
    std::vector<Variant> aArgs =
        StockViewerCall{.m_vLayoutInfo = VariantArray::Vector({vHeader, Variant(), Variant()})}
            .Args();
    const Variant vResult = Call(kReader, "StockViewer", aArgs);

    const std::shared_ptr<Recordset> rRows = RowsAt(aArgs, stocks::kRows);
    ASSERT_TRUE(rRows);
    EXPECT_EQ(RecordsetOf(vResult), rRows);
    EXPECT_EQ(aArgs[stocks::kStartTimeId.Position], Variant(LastDay()));
    const std::optional<LayoutRecord> oLayout = LayoutOf(aArgs[stocks::kLayoutInfo.Position]);
    ASSERT_TRUE(oLayout);
    EXPECT_EQ(SortTextOf(*oLayout), "RSRank DESC, Symbol ASC");
    EXPECT_EQ(FieldNames(*rRows), FetchedFields(*oLayout));
    EXPECT_EQ(rRows->RecordCount(), StocksOfDay(LastDay()));
    EXPECT_EQ(RowsAt(aArgs, stocks::kSecondaryRows)->RecordCount(), Count(kGroupsOfDay, LastDay()));
    EXPECT_EQ(RowsAt(aArgs, stocks::kParameterList)->RecordCount(),
              static_cast<int32_t>(FieldDefinitions().size()));
}

// The whole market of the day (or of the trading day before it) up to a row limit, an industry,
// a sector (the industry wins over both, as the stock list's scope 1 says), a portfolio, a watch
// list, and nothing of another owner's portfolio or list.
TEST_F(ViewerReader, AStockListListsTheStocksItsCallAsksFor) {
    const int32_t lLast = LastDay();
    int32_t lClosed = lLast;
    while (Count("SELECT count(*) FROM trading_days WHERE trade_date = ?1", lClosed) > 0) {
        --lClosed;
    }
    const int32_t lFirst = First("SELECT min(trade_date) FROM trading_days");
    const int32_t lInd = First("SELECT min(ind_code) FROM industries");
    const int32_t lSector =
        First("SELECT sector_code FROM industries WHERE ind_code = " + std::to_string(lInd));
    const int32_t lOther = First("SELECT min(sector_code) FROM sectors WHERE sector_code <> " +
                                 std::to_string(lSector));
    const int64_t llInd = StocksOfDay(lLast, " AND s.ind_code = " + std::to_string(lInd));
    const int32_t lPortfolio = First("SELECT min(portfolio_id) FROM portfolios WHERE owner_id = 1");
    const int64_t llHeld =
        Count("SELECT count(DISTINCT stock_id) FROM trades WHERE portfolio_id = ?1", lPortfolio);
    const int32_t lLeaders = WatchListNamed(0, "Leaders");
    const int64_t llLeaders =
        Count("SELECT count(*) FROM watch_list_items WHERE watch_list_id = ?1", lLeaders);
    const int32_t lStranger = NewOwner();
    struct Case {
        StockViewerCall m_oCall;
        int64_t m_llRows;
        int32_t m_lDay;  // the trading day written back
    };
    const int32_t lBefore = DayBefore(lClosed + 1);
    const int64_t llSector = StocksOfDay(lLast, InSector(lSector));
    const Case aCases[] = {
        {{.m_lMaxRows = 10}, 10, lLast},
        {{.m_lMaxRows = 10, .m_bReturnAll = true}, StocksOfDay(lLast), lLast},
        {{.m_vStartDate = Variant::Date(lClosed + 0.75)}, StocksOfDay(lBefore), lBefore},
        {{.m_vStartDate = Variant::Date(lFirst - 30.0)}, 0, 0},
        {{.m_lIndCode = lInd, .m_iListScope = 1}, llInd, lLast},
        {{.m_lSectorCode = lSector, .m_iListScope = 2}, llSector, lLast},
        {{.m_lIndCode = lInd, .m_lSectorCode = lOther, .m_iListScope = 1}, llInd, lLast},
        {{.m_lOwnerId = kDemoOwnerId, .m_lPortfolioId = lPortfolio}, llHeld, lLast},
        {{.m_lOwnerId = lStranger, .m_lPortfolioId = lPortfolio}, 0, lLast},
        {{.m_lOwnerId = kDemoOwnerId, .m_lWatchListId = lLeaders}, llLeaders, lLast},
        {{.m_lOwnerId = lStranger, .m_lWatchListId = lLeaders}, 0, lLast},
    };
    for (const Case& oCase : aCases) {
        if (oCase.m_oCall.m_lOwnerId > 0) {
            LogIn(oCase.m_oCall.m_lOwnerId);
        }
        const std::vector<Variant> aArgs = Run(oCase.m_oCall);
        EXPECT_EQ(RowsAt(aArgs, stocks::kRows)->RecordCount(), oCase.m_llRows) << &oCase - aCases;
        EXPECT_EQ(aArgs[stocks::kStartTimeId.Position], Variant(oCase.m_lDay)) << &oCase - aCases;
        EXPECT_EQ(aArgs[stocks::kMaxRows.Position],
                  Variant(oCase.m_oCall.m_lMaxRows > 0 ? 10 : 500));
    }
    // Below a list limited by a sector code, the sector grid shows that sector's row.
    for (const auto& [lIndCode, lSectorCode] : {std::pair{lInd, 0}, {0, lSector}, {lInd, lOther}}) {
        const std::shared_ptr<Recordset> rBelow =
            RowsAt(Run(StockViewerCall{.m_lIndCode = lIndCode, .m_lSectorCode = lSectorCode}),
                   stocks::kSecondaryRows);
        ASSERT_EQ(rBelow->RecordCount(), 1);
        EXPECT_EQ(rBelow->Value(lSectorCode > 0 ? "SectorCode" : "IndCode").ToLong(),
                  lSectorCode > 0 ? lSectorCode : lInd);
    }
}

// A watch list's summary row below names the list and sums up its rows.
TEST_F(ViewerReader, AWatchListSumsUpItsRowsBelow) {
    const auto Sum = [](Recordset& p_rRows, const char* p_sField) {
        double dSum = 0;
        for (const Variant& vValue : Column(p_rRows, p_sField)) {
            dSum += vValue.ToDouble();
        }
        return dSum;
    };
    const std::vector<Variant> aStocks = Run(StockViewerCall{
        .m_lOwnerId = kDemoOwnerId, .m_lWatchListId = WatchListNamed(0, "Leaders")});
    const std::vector<Variant> aGroups = Run(IndustryViewerCall{
        .m_lOwnerId = kDemoOwnerId, .m_lWatchListId = WatchListNamed(1, "Strong Groups")});
    const std::shared_ptr<Recordset> rRows = RowsAt(aStocks, stocks::kRows);
    const std::shared_ptr<Recordset> rSummary = RowsAt(aStocks, stocks::kSecondaryRows);
    const std::shared_ptr<Recordset> rGroups = RowsAt(aGroups, industries::kSecondaryRows);
    ASSERT_EQ(rSummary->RecordCount(), 1);
    ASSERT_EQ(rGroups->RecordCount(), 1);
    EXPECT_EQ(aStocks[stocks::kWatchListName.Position], Variant("Leaders"));
    EXPECT_EQ(rSummary->Value("IndName"), Variant("Leaders"));
    EXPECT_EQ(rSummary->Value("Members").ToLong(), rRows->RecordCount());
    EXPECT_NEAR(rSummary->Value("PctChange").ToDouble(),
                Sum(*rRows, "PctChange") / rRows->RecordCount(), 1e-9);
    EXPECT_EQ(aGroups[industries::kWatchListName.Position], Variant("Strong Groups"));
    EXPECT_EQ(rGroups->Value("SectorName"), Variant("Strong Groups"));
    EXPECT_EQ(rGroups->Value("Members").ToDouble(),
              Sum(*RowsAt(aGroups, industries::kRows), "Members"));
}

TEST_F(ViewerReader, ALayoutInForceDecidesFieldsAndOrder) {
    LayoutRecord oLayout;
    oLayout.Header.Id = 3;
    oLayout.Sort = LayoutSort{"PctChange ASC", 6, 0, -1, 0};
    oLayout.Columns = {{5, 4, "Symbol", "Symbol", 1, 1, "Left"},
                       {6, 2, "PctChange", "%Prc", 1, 2, "##0.00"},
                       {2, 3, "Price", "Price", 1, 3, "#,##0.00"}};
    std::vector<Variant> aArgs =
        Run(StockViewerCall{.m_vLayoutInfo = layout_codec::ToVariant(oLayout)});
    EXPECT_EQ(aArgs[stocks::kLayoutInfo.Position], layout_codec::ToVariant(oLayout));
    const std::shared_ptr<Recordset> rRows = RowsAt(aArgs, stocks::kRows);
    // The hidden column is not fetched; the keys are added.
    EXPECT_EQ(FieldNames(*rRows),
              (std::vector<std::string>{"Symbol", "PctChange", "IndCode", "SectorCode"}));
    std::vector<double> aChanges;
    for (const Variant& vChange : Column(*rRows, "PctChange")) {
        aChanges.push_back(vChange.IsNull() ? -1e300 : vChange.ToDouble());
    }
    EXPECT_TRUE(std::is_sorted(aChanges.begin(), aChanges.end()));

    // Without its sort block the description takes the sort of the stored layout of its id.
    oLayout.Sort.reset();
    aArgs = Run(StockViewerCall{.m_vLayoutInfo = layout_codec::ToVariant(oLayout)});
    EXPECT_EQ(SortTextOf(*LayoutOf(aArgs[stocks::kLayoutInfo.Position])),
              "RSRank DESC, Symbol ASC");
}

// How many rows each list, search, history and screen gives: the recordset it returns, or the
// one it hands back in the argument at m_lPlace (the industry list's sectors below at kBelow).
TEST_F(ViewerReader, EachCallListsTheRowsItAsksFor) {
    const int32_t lLast = LastDay();
    const int32_t lSector = First("SELECT min(sector_code) FROM sectors");
    const int32_t lInd = First("SELECT min(ind_code) FROM industries");
    const int32_t lGroups = WatchListNamed(1, "Strong Groups");
    const std::vector<std::string> aSymbols = Symbols(2);
    const std::string sBoth = ToLowerAscii(aSymbols[0] + " ,, " + aSymbols[1]);
    const std::vector<std::string> aCodes = Strings("SELECT ind_code FROM industries LIMIT 2");
    const std::string sPrefix = Strings("SELECT substr(min(company_name), 1, 1) FROM stocks")[0];
    const std::string& sGroups = kGroupsOfDay;
    const int64_t llSectors = Count("SELECT count(*) FROM sectors");
    const int64_t llDays =
        Count("SELECT count(*) FROM trading_days WHERE trade_date BETWEEN ?1 - 30 AND ?1", lLast);
    VariantArray aCriteria = VariantArray::Table(3, 2);
    const std::vector<Variant> aCells{"PctChange", ">", 0, "RSRank", ">=", "50"};
    for (int32_t i = 0; i < 6; ++i) {
        aCriteria.At(i % 3, i / 3) = aCells[i];
    }
    const Variant vToday = Variant::Date(0);
    const int16_t i0 = 0;
    const int kBelow = industries::kSecondaryRows.Position;
    const int64_t llScreened = StocksOfDay(lLast, " AND d.pct_change > 0 AND d.rs_rank >= 50");
    struct Case {
        const char* m_sMethod;
        std::vector<Variant> m_aArgs;
        int m_lPlace;  // -1: the recordset returned
        int64_t m_llRows;
    };
    const Case aCases[] = {
        {"IndustryViewer", IndustryViewerCall{}.Args(), 7, Count(sGroups, lLast)},
        {"IndustryViewer", IndustryViewerCall{.m_lSectorCode = lSector, .m_lListScope = 3}.Args(),
         7, Count(sGroups + InSector(lSector), lLast)},
        {"IndustryViewer", IndustryViewerCall{.m_lOwnerId = 1, .m_lWatchListId = lGroups}.Args(), 7,
         Count("SELECT count(*) FROM watch_list_items WHERE watch_list_id = ?1", lGroups)},
        {"IndustryViewer", IndustryViewerCall{}.Args(), kBelow, llSectors},
        {"IndustryViewer", IndustryViewerCall{.m_lSectorCode = lSector, .m_lListScope = 3}.Args(),
         kBelow, 1},
        {"SectorViewer", SectorViewerCall{}.Args(), 6, llSectors},
        {"SearchStocks", SearchStocksArgs(0, sBoth), 9, 2},
        {"SearchStocks", SearchStocksArgs(0, "  "), 9, 0},
        {"SearchStocks", SearchStocksArgs(0, sPrefix, 1), 9,
         StocksOfDay(lLast, " AND s.company_name LIKE '" + sPrefix + "%'")},
        {"SearchIndustries", SearchIndustriesArgs(0, aCodes[0] + "," + aCodes[1]), 8, 2},
        {"HistoryStockEX", HistoryArgs(lLast, lLast - 30, aSymbols[0]), -1, llDays},
        {"HistoryIndustryEX", HistoryArgs(lLast, lLast - 30, lInd, 0, 5), -1, 5},
        {"SearchSectorName", {"", vToday}, -1, llSectors},
        {"RunScreen", {1, i0, aCriteria, vToday, 0}, -1, llScreened},
        {"RunScreen", {1, i0, "pctchange > 0 AND [RS] >= 50", vToday, 0}, -1, llScreened},
        {"RunScreen", {0, int16_t{2}, Variant(), vToday}, -1, llSectors},
        {"RunScreen", {0, i0, Variant(), vToday, 3, false}, -1, 3},
        {"RunScreen", {0, i0, Variant(), vToday, 3, true}, -1, StocksOfDay(lLast)},
    };
    for (const Case& oCase : aCases) {
        std::vector<Variant> aArgs = oCase.m_aArgs;
        const Variant vResult = Call(kReader, oCase.m_sMethod, aArgs);
        EXPECT_EQ(RecordsetOf(oCase.m_lPlace < 0 ? vResult : aArgs[oCase.m_lPlace])->RecordCount(),
                  oCase.m_llRows)
            << oCase.m_sMethod << ", case " << &oCase - aCases;
    }
}

TEST_F(ViewerReader, TheSectorDetailMatchesItsMembers) {
    const int32_t lSector = First("SELECT max(sector_code) FROM sectors");
    const int32_t lDay = DayBefore(LastDay());
    const VariantArray aFields = VariantArray::Vector(
        {Variant("SectorName as [SectorName]"), Variant("Members as [Members]")});
    const std::shared_ptr<Recordset> rSector =
        RecordsetOf(Call(kReader, "GetSectorDetail", {lDay, lSector, "A", aFields}));
    ASSERT_EQ(rSector->RecordCount(), 1);
    EXPECT_EQ(FieldNames(*rSector),
              (std::vector<std::string>{"SectorName", "Members", "SectorCode"}));
    EXPECT_EQ(rSector->Value("Members").ToLong(), StocksOfDay(lDay, InSector(lSector)));
}

// What the searches write back, and what names they find.
TEST_F(ViewerReader, SearchesWriteBackTheirDayAndLayoutAndFindNamesByTheirStart) {
    std::vector<Variant> aArgs = SearchStocksArgs(0, Symbols(1)[0]);
    Call(kReader, "SearchStocks", aArgs);
    EXPECT_EQ(aArgs[11], Variant(LastDay()));
    EXPECT_EQ(LayoutIdOf(aArgs[7]), 3);
    aArgs = SearchIndustriesArgs(0, "1");
    Call(kReader, "SearchIndustries", aArgs);
    EXPECT_EQ(aArgs[11], Variant(0));
    const std::string sPrefix = Strings("SELECT substr(min(company_name), 1, 2) FROM stocks")[0];
    const std::shared_ptr<Recordset> rCompanies = RecordsetOf(
        Call(kReader, "SearchCompanyName", {sPrefix, int16_t{0}, int16_t{0}, 0, "12/04/2099"}));
    EXPECT_GT(rCompanies->RecordCount(), 0);
    for (const std::string& sName : Texts(*rCompanies, "CompanyName")) {
        EXPECT_EQ(sName.substr(0, sPrefix.size()), sPrefix);
    }
}

TEST_F(ViewerReader, HistoriesListTheNewestDayFirstAndWriteBackTheirLimit) {
    for (const int32_t lMaxRows : {-1, 5}) {
        std::vector<Variant> aArgs =
            HistoryArgs(LastDay(), LastDay() - 30, Symbols(1)[0], 0, lMaxRows);
        const std::shared_ptr<Recordset> rDays =
            RecordsetOf(Call(kReader, "HistoryStockEX", aArgs));
        EXPECT_EQ(aArgs[6], Variant(lMaxRows > 0 ? lMaxRows : 500));
        const std::vector<Variant> aDates = Column(*rDays, "Trading_Date");
        for (size_t i = 1; i < aDates.size(); ++i) {
            EXPECT_GT(aDates[i - 1].ToDate(), aDates[i].ToDate()) << "newest day first";
        }
    }
}

TEST_F(ViewerReader, TheFieldCatalogueIsACopyForEachCaller) {
    const std::shared_ptr<Recordset> rFirst =
        RecordsetOf(Call(kReader, "GetCustomFieldList", {0, int16_t{0}}));
    rFirst->SetFilter("Parameter_ID = 5");
    ASSERT_EQ(rFirst->RecordCount(), 1);
    EXPECT_EQ(rFirst->Value("Column_Name"), Variant("Symbol"));
    EXPECT_EQ(RecordsetOf(Call(kReader, "GetCustomFieldList", {0, int16_t{3}}))->RecordCount(),
              static_cast<int32_t>(FieldDefinitions().size()));
}

}  // namespace
}  // namespace qv::facade
