// "QorvantOnlineFacade.ViewerFNtr" called through dispatch as the strategies and the viewer call
// it, checked against the generated market read with SQL of the test's own.
#include "facade/viewer_reader_component.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "facade/component_test_support.h"
#include "facade/facade_components.h"
#include "facade/field_catalogue.h"
#include "facade/layout_access.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "facade/watch_list_store.h"
#include "outside/automation_error.h"
#include "outside/text_util.h"

namespace qv::facade {
namespace {

using testing::Column;
using testing::ComponentTest;
using testing::FieldNames;
using testing::FreshDescription;
using testing::LayoutIdOf;
using testing::LayoutOf;
using testing::Texts;

constexpr std::string_view kReader = prog_id::kViewerReader;

class ViewerReader : public ComponentTest {
  protected:
    std::vector<std::string> Strings(const std::string& p_sSql, int64_t p_llBinding = 0) {
        SqliteStatement oQuery = Database().Prepare(p_sSql);
        if (oQuery.ColumnCount() > 0 && p_sSql.find("?1") != std::string::npos) {
            oQuery.BindInt64(1, p_llBinding);
        }
        std::vector<std::string> aTexts;
        while (oQuery.Step()) {
            aTexts.push_back(oQuery.ColumnText(0));
        }
        return aTexts;
    }

    int32_t WatchListNamed(int32_t p_lOwnerId, int32_t p_lType, const std::string& p_sName) {
        for (const WatchListEntry& oEntry :
             WatchListStore(Database()).WatchLists(p_lOwnerId, p_lType)) {
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
};

TEST_F(ViewerReader, AFirstStockQueryAnswersEveryByReferenceResult) {
    testing::StockViewerCall oCall;
    oCall.m_vLayoutInfo = FreshDescription(3);
    std::vector<Variant> aArgs = oCall.Args();
    const Variant vResult = Call(kReader, "StockViewer", aArgs);

    using namespace facade_protocol::stock_viewer;
    const std::shared_ptr<Recordset> rRows = RecordsetOf(aArgs[kRows.Position]);
    ASSERT_TRUE(rRows);
    EXPECT_EQ(RecordsetOf(vResult), rRows);
    EXPECT_EQ(aArgs[kMaxRows.Position], Variant(500));
    EXPECT_EQ(aArgs[kReturnAll.Position], Variant(false));
    EXPECT_EQ(aArgs[kStartTimeId.Position], Variant(LastDay()));
    EXPECT_EQ(aArgs[kWatchListName.Position], Variant(""));
    EXPECT_EQ(aArgs[kLoginConflict.Position], Variant(false));

    const std::optional<LayoutRecord> oLayout = LayoutOf(aArgs[kLayoutInfo.Position]);
    ASSERT_TRUE(oLayout);
    EXPECT_EQ(oLayout->Header.Id, 3);
    EXPECT_EQ(oLayout->Header.OwnerId, 0);
    EXPECT_EQ(SortTextOf(*oLayout), "RSRank DESC, Symbol ASC");
    EXPECT_EQ(FieldNames(*rRows), FetchedFields(*oLayout));
    EXPECT_EQ(rRows->RecordCount(), StocksOfDay(LastDay()));

    const std::vector<Variant> aRanks = Column(*rRows, "RSRank");
    const std::vector<std::string> aSymbols = Texts(*rRows, "Symbol");
    for (size_t i = 1; i < aRanks.size(); ++i) {
        if (aRanks[i].IsNull()) {
            continue;
        }
        ASSERT_FALSE(aRanks[i - 1].IsNull()) << "a row without a ranking sorts last";
        ASSERT_GE(aRanks[i - 1].ToLong(), aRanks[i].ToLong());
        if (aRanks[i - 1].ToLong() == aRanks[i].ToLong()) {
            EXPECT_LT(aSymbols[i - 1], aSymbols[i]);
        }
    }

    const std::shared_ptr<Recordset> rIndustries = RecordsetOf(aArgs[kSecondaryRows.Position]);
    ASSERT_TRUE(rIndustries);
    EXPECT_EQ(rIndustries->RecordCount(),
              Count("SELECT count(DISTINCT s.ind_code) FROM stock_days d JOIN stocks s "
                    "ON s.stock_id = d.stock_id WHERE d.trade_date = ?1",
                    LastDay()));
    EXPECT_GE(rIndustries->Fields().IndexOf("IndCode"), 0);
    EXPECT_GE(rIndustries->Fields().IndexOf("Members"), 0);

    const std::shared_ptr<Recordset> rCatalogue = RecordsetOf(aArgs[kParameterList.Position]);
    ASSERT_TRUE(rCatalogue);
    EXPECT_EQ(rCatalogue->RecordCount(), static_cast<int32_t>(FieldDefinitions().size()));
    for (const char* sField : {"Parameter_ID", "Column_Name", "Caption", "DataType_ID",
                               "Table_Mask", "Group", "Column_Format"}) {
        EXPECT_GE(rCatalogue->Fields().IndexOf(sField), 0) << sField;
    }
}

TEST_F(ViewerReader, RowLimitsAreHonouredAndWrittenBack) {
    struct Case {
        int32_t m_lMaxRows;
        bool m_bReturnAll;
        int32_t m_lExpectedMaxRows;
        bool m_bAllRows;
    };
    const int64_t llAll = StocksOfDay(LastDay());
    for (const Case& oCase : {Case{10, false, 10, false}, Case{10, true, 10, true},
                              Case{-1, false, 500, true}, Case{0, false, 500, true}}) {
        testing::StockViewerCall oCall;
        oCall.m_lMaxRows = oCase.m_lMaxRows;
        oCall.m_bReturnAll = oCase.m_bReturnAll;
        std::vector<Variant> aArgs = oCall.Args();
        Call(kReader, "StockViewer", aArgs);
        using namespace facade_protocol::stock_viewer;
        EXPECT_EQ(aArgs[kMaxRows.Position], Variant(oCase.m_lExpectedMaxRows)) << oCase.m_lMaxRows;
        EXPECT_EQ(aArgs[kReturnAll.Position], Variant(oCase.m_bReturnAll));
        EXPECT_EQ(RecordsetOf(aArgs[kRows.Position])->RecordCount(),
                  oCase.m_bAllRows ? llAll : oCase.m_lExpectedMaxRows);
    }
}

TEST_F(ViewerReader, StockListsOfAnIndustryOrASector) {
    const int32_t lIndCode = std::stoi(Strings("SELECT min(ind_code) FROM industries")[0]);
    const int32_t lSector =
        std::stoi(Strings("SELECT sector_code FROM industries WHERE ind_code = ?1", lIndCode)[0]);
    const int32_t lOtherSector = std::stoi(
        Strings("SELECT min(sector_code) FROM sectors WHERE sector_code <> ?1", lSector)[0]);
    struct Case {
        int32_t m_lIndCode;
        int32_t m_lSectorCode;
        int16_t m_iListScope;
        const char* m_sField;
        int32_t m_lExpected;
    };
    // With both codes the industry wins, as the stock list's scope 1 says.
    for (const Case& oCase :
         {Case{lIndCode, 0, 1, "IndCode", lIndCode}, Case{0, lSector, 2, "SectorCode", lSector},
          Case{lIndCode, lOtherSector, 1, "IndCode", lIndCode}}) {
        testing::StockViewerCall oCall;
        oCall.m_lIndCode = oCase.m_lIndCode;
        oCall.m_lSectorCode = oCase.m_lSectorCode;
        oCall.m_iListScope = oCase.m_iListScope;
        std::vector<Variant> aArgs = oCall.Args();
        Call(kReader, "StockViewer", aArgs);
        const std::shared_ptr<Recordset> rRows =
            RecordsetOf(aArgs[facade_protocol::stock_viewer::kRows.Position]);
        const std::string sCondition =
            std::string(" AND ") +
            (oCase.m_sField == std::string("IndCode") ? "s.ind_code" : "i.sector_code") + " = " +
            std::to_string(oCase.m_lExpected);
        EXPECT_EQ(rRows->RecordCount(), StocksOfDay(LastDay(), sCondition));
        for (const Variant& vCode : Column(*rRows, oCase.m_sField)) {
            EXPECT_EQ(vCode.ToLong(), oCase.m_lExpected);
        }
        // Below a list limited by a sector code, the sector grid shows that sector's row.
        const std::shared_ptr<Recordset> rBelow =
            RecordsetOf(aArgs[facade_protocol::stock_viewer::kSecondaryRows.Position]);
        if (oCase.m_lSectorCode > 0) {
            ASSERT_EQ(rBelow->RecordCount(), 1);
            EXPECT_EQ(rBelow->Value("SectorCode").ToLong(), oCase.m_lSectorCode);
        } else {
            ASSERT_EQ(rBelow->RecordCount(), 1);
            EXPECT_EQ(rBelow->Value("IndCode").ToLong(), lIndCode);
        }
    }
}

TEST_F(ViewerReader, AWatchListListsItsStocksWithASummaryRowBelow) {
    const int32_t lLeaders = WatchListNamed(kDemoOwnerId, 0, "Leaders");
    testing::StockViewerCall oCall;
    oCall.m_lOwnerId = kDemoOwnerId;
    oCall.m_lLayoutId = 9;
    oCall.m_lWatchListId = lLeaders;
    std::vector<Variant> aArgs = oCall.Args();
    Call(kReader, "StockViewer", aArgs);

    using namespace facade_protocol::stock_viewer;
    EXPECT_EQ(aArgs[kWatchListName.Position], Variant("Leaders"));
    EXPECT_EQ(LayoutIdOf(aArgs[kLayoutInfo.Position]), 9);
    const std::shared_ptr<Recordset> rRows = RecordsetOf(aArgs[kRows.Position]);
    std::vector<std::string> aSymbols = Texts(*rRows, "Symbol");
    std::vector<std::string> aMembers = Strings(
        "SELECT s.symbol FROM watch_list_items w JOIN stocks s ON s.stock_id = w.item_code "
        "WHERE w.watch_list_id = ?1",
        lLeaders);
    std::sort(aSymbols.begin(), aSymbols.end());
    std::sort(aMembers.begin(), aMembers.end());
    EXPECT_EQ(aSymbols, aMembers);

    const std::shared_ptr<Recordset> rSummary = RecordsetOf(aArgs[kSecondaryRows.Position]);
    ASSERT_EQ(rSummary->RecordCount(), 1);
    EXPECT_EQ(rSummary->Value("IndName"), Variant("Leaders"));
    EXPECT_EQ(rSummary->Value("Members").ToLong(), rRows->RecordCount());
    double dSum = 0;
    for (const Variant& vChange : Column(*rRows, "PctChange")) {
        dSum += vChange.ToDouble();
    }
    EXPECT_NEAR(rSummary->Value("PctChange").ToDouble(), dSum / rRows->RecordCount(), 1e-9);

    // The same list asked for by another owner lists nothing.
    oCall.m_lOwnerId = NewOwner();
    aArgs = oCall.Args();
    Call(kReader, "StockViewer", aArgs);
    EXPECT_EQ(RecordsetOf(aArgs[kRows.Position])->RecordCount(), 0);
    EXPECT_GE(RecordsetOf(aArgs[kRows.Position])->Fields().IndexOf("Symbol"), 0);
    EXPECT_EQ(aArgs[kWatchListName.Position], Variant(""));
    EXPECT_EQ(RecordsetOf(aArgs[kSecondaryRows.Position])->RecordCount(), 0);
}

TEST_F(ViewerReader, APortfolioListsTheStocksItHolds) {
    const int32_t lPortfolio = std::stoi(
        Strings("SELECT min(portfolio_id) FROM portfolios WHERE owner_id = ?1", kDemoOwnerId)[0]);
    testing::StockViewerCall oCall;
    oCall.m_lOwnerId = kDemoOwnerId;
    oCall.m_lPortfolioId = lPortfolio;
    std::vector<Variant> aArgs = oCall.Args();
    Call(kReader, "StockViewer", aArgs);
    EXPECT_EQ(
        RecordsetOf(aArgs[facade_protocol::stock_viewer::kRows.Position])->RecordCount(),
        Count("SELECT count(DISTINCT stock_id) FROM trades WHERE portfolio_id = ?1", lPortfolio));

    oCall.m_lOwnerId = NewOwner();
    aArgs = oCall.Args();
    Call(kReader, "StockViewer", aArgs);
    EXPECT_EQ(RecordsetOf(aArgs[facade_protocol::stock_viewer::kRows.Position])->RecordCount(), 0);
}

TEST_F(ViewerReader, ADayWithoutDataTakesTheTradingDayBeforeIt) {
    int32_t lClosed = LastDay();
    while (Count("SELECT count(*) FROM trading_days WHERE trade_date = ?1", lClosed) > 0) {
        --lClosed;
    }
    const int32_t lFirst =
        static_cast<int32_t>(Database().QueryInt64("SELECT min(trade_date) FROM trading_days"));
    struct Case {
        double m_dDate;
        int32_t m_lExpectedDay;
    };
    for (const Case& oCase :
         {Case{lClosed + 0.75, DayBefore(lClosed + 1)}, Case{lFirst - 30.0, 0}}) {
        testing::StockViewerCall oCall;
        oCall.m_vStartDate = Variant::Date(oCase.m_dDate);
        std::vector<Variant> aArgs = oCall.Args();
        Call(kReader, "StockViewer", aArgs);
        using namespace facade_protocol::stock_viewer;
        EXPECT_EQ(aArgs[kStartTimeId.Position], Variant(oCase.m_lExpectedDay));
        EXPECT_EQ(RecordsetOf(aArgs[kRows.Position])->RecordCount(),
                  oCase.m_lExpectedDay > 0 ? StocksOfDay(oCase.m_lExpectedDay) : 0);
    }
}

TEST_F(ViewerReader, ANewerLoginOfTheOwnerIsALoginConflict) {
    const int32_t lOwnerId = NewOwner();
    const std::string sFirst = Call(kReader, "Login", {lOwnerId, Variant("Ada")}).ToString();
    const std::string sSecond = Call(kReader, "Login", {lOwnerId}).ToString();
    EXPECT_NE(sFirst, sSecond);

    testing::StockViewerCall oCall;
    oCall.m_lOwnerId = lOwnerId;
    oCall.m_sTimeCode = sFirst;
    std::vector<Variant> aArgs = oCall.Args();
    EXPECT_TRUE(Call(kReader, "StockViewer", aArgs).IsNothing());
    using namespace facade_protocol::stock_viewer;
    EXPECT_EQ(aArgs[kLoginConflict.Position], Variant(true));
    EXPECT_TRUE(aArgs[kRows.Position].IsNothing());
    EXPECT_EQ(aArgs[kMaxRows.Position], Variant(-1));

    testing::IndustryViewerCall oIndustryCall;
    oIndustryCall.m_lOwnerId = lOwnerId;
    std::vector<Variant> aIndustries = oIndustryCall.Args();
    aIndustries[15] = sFirst;
    Call(kReader, "IndustryViewer", aIndustries);
    EXPECT_EQ(aIndustries[facade_protocol::industry_viewer::kLoginConflict.Position],
              Variant(true));
    testing::SectorViewerCall oSectorCall;
    oSectorCall.m_lOwnerId = lOwnerId;
    std::vector<Variant> aSectors = oSectorCall.Args();
    aSectors[9] = sFirst;
    Call(kReader, "SectorViewer", aSectors);
    EXPECT_EQ(aSectors[facade_protocol::sector_viewer::kLoginConflict.Position], Variant(true));

    // The current time code, and none at all (a caller that does not track logins), pass.
    for (const std::string& sTimeCode : {sSecond, std::string()}) {
        oCall.m_sTimeCode = sTimeCode;
        aArgs = oCall.Args();
        Call(kReader, "StockViewer", aArgs);
        EXPECT_EQ(aArgs[kLoginConflict.Position], Variant(false));
        EXPECT_GT(RecordsetOf(aArgs[kRows.Position])->RecordCount(), 0);
    }
}

TEST_F(ViewerReader, ALayoutInForceDecidesFieldsAndOrder) {
    LayoutRecord oLayout;
    oLayout.Header.Id = 3;
    oLayout.Header.Name = "Sent";
    oLayout.Sort = LayoutSort{"PctChange ASC", 6, 0, -1, 0};
    oLayout.Columns = {{5, 4, "Symbol", "Symbol", 1, 1, "Left"},
                       {6, 2, "PctChange", "%Prc", 1, 2, "##0.00"},
                       {2, 3, "Price", "Price", 1, 3, "#,##0.00"}};
    testing::StockViewerCall oCall;
    oCall.m_vLayoutInfo = layout_codec::ToVariant(oLayout);
    std::vector<Variant> aArgs = oCall.Args();
    Call(kReader, "StockViewer", aArgs);

    using namespace facade_protocol::stock_viewer;
    EXPECT_EQ(aArgs[kLayoutInfo.Position], layout_codec::ToVariant(oLayout));
    const std::shared_ptr<Recordset> rRows = RecordsetOf(aArgs[kRows.Position]);
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
    oCall.m_vLayoutInfo = layout_codec::ToVariant(oLayout);
    aArgs = oCall.Args();
    Call(kReader, "StockViewer", aArgs);
    EXPECT_EQ(SortTextOf(*LayoutOf(aArgs[kLayoutInfo.Position])), "RSRank DESC, Symbol ASC");
}

TEST_F(ViewerReader, TheProgIdIsFoundWhateverItsCase) {
    for (const char* sProgId :
         {"QorvantOnlineFacade.ViewerFNTr", "qorvantonlinefacade.viewerfntr"}) {
        std::vector<Variant> aArgs{0, Variant(), Variant(), 0};
        EXPECT_EQ(Call(sProgId, "getdefaultmaxrows", aArgs), Variant(500));
        EXPECT_EQ(aArgs[1], Variant(500));
        EXPECT_EQ(aArgs[2], Variant(false));
    }
}

TEST_F(ViewerReader, TheIndustryListWithItsSectorsBelow) {
    const int32_t lSector = std::stoi(Strings("SELECT min(sector_code) FROM sectors")[0]);
    for (const int32_t lSectorCode : {0, lSector}) {
        testing::IndustryViewerCall oCall;
        oCall.m_vLayoutInfo = FreshDescription(4);
        oCall.m_lSectorCode = lSectorCode;
        oCall.m_lListScope = lSectorCode > 0 ? 3 : 0;
        std::vector<Variant> aArgs = oCall.Args();
        Call(kReader, "IndustryViewer", aArgs);
        using namespace facade_protocol::industry_viewer;
        EXPECT_EQ(LayoutIdOf(aArgs[kLayoutInfo.Position]), 4);
        EXPECT_EQ(aArgs[kListScope.Position], Variant(lSectorCode > 0 ? 3 : 0));
        EXPECT_EQ(aArgs[kStartTimeId.Position], Variant(LastDay()));
        const std::shared_ptr<Recordset> rRows = RecordsetOf(aArgs[kRows.Position]);
        const std::string sCondition =
            lSectorCode > 0 ? " AND i.sector_code = " + std::to_string(lSectorCode) : "";
        EXPECT_EQ(rRows->RecordCount(),
                  Count("SELECT count(DISTINCT s.ind_code) FROM stock_days d JOIN stocks s ON "
                        "s.stock_id = d.stock_id JOIN industries i ON i.ind_code = s.ind_code "
                        "WHERE d.trade_date = ?1" +
                            sCondition,
                        LastDay()));
        for (const Variant& vMembers : Column(*rRows, "Members")) {
            EXPECT_GT(vMembers.ToLong(), 0);
        }
        const std::shared_ptr<Recordset> rSectors = RecordsetOf(aArgs[kSecondaryRows.Position]);
        EXPECT_EQ(rSectors->RecordCount(),
                  lSectorCode > 0 ? 1 : Database().QueryInt64("SELECT count(*) FROM sectors"));
        EXPECT_GE(rSectors->Fields().IndexOf("SectorCode"), 0);
    }
}

TEST_F(ViewerReader, AnIndustryWatchListSumsUpItsGroupsBelow) {
    const int32_t lGroups = WatchListNamed(kDemoOwnerId, 1, "Strong Groups");
    testing::IndustryViewerCall oCall;
    oCall.m_lOwnerId = kDemoOwnerId;
    oCall.m_lWatchListId = lGroups;
    std::vector<Variant> aArgs = oCall.Args();
    Call(kReader, "IndustryViewer", aArgs);
    using namespace facade_protocol::industry_viewer;
    EXPECT_EQ(LayoutIdOf(aArgs[kLayoutInfo.Position]), 10);
    EXPECT_EQ(aArgs[kWatchListName.Position], Variant("Strong Groups"));
    const std::shared_ptr<Recordset> rRows = RecordsetOf(aArgs[kRows.Position]);
    EXPECT_EQ(rRows->RecordCount(),
              Count("SELECT count(*) FROM watch_list_items WHERE watch_list_id = ?1", lGroups));
    int32_t lMembers = 0;
    for (const Variant& vMembers : Column(*rRows, "Members")) {
        lMembers += vMembers.ToLong();
    }
    const std::shared_ptr<Recordset> rSummary = RecordsetOf(aArgs[kSecondaryRows.Position]);
    ASSERT_EQ(rSummary->RecordCount(), 1);
    EXPECT_EQ(rSummary->Value("SectorName"), Variant("Strong Groups"));
    EXPECT_EQ(rSummary->Value("Members").ToLong(), lMembers);
}

TEST_F(ViewerReader, TheSectorListMatchesItsMembers) {
    std::vector<Variant> aArgs = testing::SectorViewerCall{}.Args();
    Call(kReader, "SectorViewer", aArgs);
    using namespace facade_protocol::sector_viewer;
    EXPECT_EQ(LayoutIdOf(aArgs[kLayoutInfo.Position]), 5);
    const std::shared_ptr<Recordset> rRows = RecordsetOf(aArgs[kRows.Position]);
    ASSERT_EQ(rRows->RecordCount(), Database().QueryInt64("SELECT count(*) FROM sectors"));
    for (rRows->MoveFirst(); !rRows->IsEOF(); rRows->MoveNext()) {
        const std::string sMembers =
            " AND i.sector_code = " + std::to_string(rRows->Value("SectorCode").ToLong());
        EXPECT_EQ(rRows->Value("Members").ToLong(), StocksOfDay(LastDay(), sMembers));
        SqliteStatement oAverage = Database().Prepare(
            "SELECT avg(d.pct_change) FROM stock_days d JOIN stocks s ON s.stock_id = d.stock_id "
            "JOIN industries i ON i.ind_code = s.ind_code WHERE d.trade_date = ?1" +
            sMembers);
        oAverage.BindInt64(1, LastDay());
        ASSERT_TRUE(oAverage.Step());
        EXPECT_NEAR(rRows->Value("PctChange").ToDouble(), oAverage.ColumnDouble(0), 1e-9);
    }
}

TEST_F(ViewerReader, ServerSearchesFindSymbolsCodesAndNames) {
    const std::vector<std::string> aSymbols =
        Strings("SELECT symbol FROM stocks ORDER BY stock_id LIMIT 2");
    const std::string sLower = ToLowerAscii(aSymbols[0] + " ,, " + aSymbols[1]);
    struct Case {
        std::string m_sText;
        int16_t m_iOption;
        int64_t m_llExpected;
    };
    const std::string sPrefix = Strings("SELECT substr(min(company_name), 1, 1) FROM stocks")[0];
    const int64_t llPrefixed = Count(
        "SELECT count(*) FROM stocks s JOIN stock_days d ON d.stock_id = s.stock_id WHERE "
        "d.trade_date = ?1 AND s.company_name LIKE '" +
            sPrefix + "%'",
        LastDay());
    for (const Case& oCase : {Case{sLower, 0, 2}, Case{"' OR '1'='1", 0, 0}, Case{"%", 1, 0},
                              Case{sPrefix, 1, llPrefixed}, Case{"  ", 0, 0}}) {
        std::vector<Variant> aArgs{0,
                                   3,
                                   Variant::Date(0),
                                   -1,
                                   oCase.m_sText,
                                   oCase.m_iOption,
                                   int16_t{0},
                                   Variant(),
                                   Variant(),
                                   Variant::Nothing(),
                                   Variant::Nothing(),
                                   Variant(),
                                   0,
                                   0,
                                   0};
        Call(kReader, "SearchStocks", aArgs);
        const std::shared_ptr<Recordset> rFound = RecordsetOf(aArgs[9]);
        EXPECT_EQ(rFound->RecordCount(), oCase.m_llExpected) << oCase.m_sText;
        EXPECT_EQ(aArgs[11], Variant(LastDay()));
        EXPECT_TRUE(RecordsetOf(aArgs[10]));
        EXPECT_EQ(LayoutIdOf(aArgs[7]), 3);
    }
    EXPECT_EQ(Database().QueryInt64("SELECT count(*) FROM stocks"), 120);

    const std::vector<std::string> aCodes =
        Strings("SELECT ind_code FROM industries ORDER BY ind_code LIMIT 2");
    std::vector<Variant> aIndustries{0,
                                     4,
                                     Variant::Date(0),
                                     -1,
                                     aCodes[0] + "," + aCodes[1],
                                     int16_t{0},
                                     Variant(),
                                     Variant(),
                                     Variant::Nothing(),
                                     Variant::Nothing(),
                                     Variant(),
                                     0,
                                     0,
                                     0};
    Call(kReader, "SearchIndustries", aIndustries);
    EXPECT_EQ(RecordsetOf(aIndustries[8])->RecordCount(), 2);
    EXPECT_EQ(aIndustries[11], Variant(0));

    const std::string sSector = Strings("SELECT name FROM sectors ORDER BY name LIMIT 1")[0];
    std::vector<Variant> aSectors{0,          5,  Variant::Date(0), sSector.substr(0, 3),
                                  int16_t{0}, -1, Variant(),        Variant::Nothing(),
                                  Variant()};
    Call(kReader, "SearchSector", aSectors);
    EXPECT_GE(RecordsetOf(aSectors[7])->RecordCount(), 1);
    for (const std::string& sName : Texts(*RecordsetOf(aSectors[7]), "SectorName")) {
        EXPECT_EQ(sName.substr(0, 3), sSector.substr(0, 3));
    }
}

TEST_F(ViewerReader, TheSectorDetailOfADay) {
    const int32_t lSector = std::stoi(Strings("SELECT max(sector_code) FROM sectors")[0]);
    const int32_t lDay = DayBefore(LastDay());
    std::vector<Variant> aArgs{lDay, lSector, Variant("A"),
                               VariantArray::Vector({Variant("SectorName as [SectorName]"),
                                                     Variant("Members as [Members]")})};
    const std::shared_ptr<Recordset> rSector = RecordsetOf(Call(kReader, "GetSectorDetail", aArgs));
    ASSERT_EQ(rSector->RecordCount(), 1);
    EXPECT_EQ(FieldNames(*rSector),
              (std::vector<std::string>{"SectorName", "Members", "SectorCode"}));
    EXPECT_EQ(rSector->Value("Members").ToLong(),
              StocksOfDay(lDay, " AND i.sector_code = " + std::to_string(lSector)));
}

TEST_F(ViewerReader, HistoriesListTheDaysBetweenTheDates) {
    const std::string sSymbol = Strings("SELECT symbol FROM stocks ORDER BY stock_id LIMIT 1")[0];
    const int32_t lLast = LastDay();
    const int32_t lFirst = lLast - 30;
    const int64_t llDays =
        Count("SELECT count(*) FROM trading_days WHERE trade_date BETWEEN ?1 - 30 AND ?1", lLast);
    const int32_t lIndCode = std::stoi(Strings("SELECT min(ind_code) FROM industries")[0]);
    struct Case {
        const char* m_sMethod;
        Variant m_vKey;
        int32_t m_lMaxRows;
        int64_t m_llExpected;
    };
    for (const Case& oCase :
         {Case{"HistoryStockEX", sSymbol, -1, llDays}, Case{"HistoryStockEX", "NOSUCH", -1, 0},
          Case{"HistoryIndustryEX", lIndCode, 5, 5},
          Case{"HistorySectorEX", Variant(999), -1, 0}}) {
        std::vector<Variant> aArgs{Variant::Date(lLast), Variant::Date(lFirst),
                                   oCase.m_vKey,         Variant(),
                                   Variant::Nothing(),   0,
                                   oCase.m_lMaxRows,     false};
        const std::shared_ptr<Recordset> rDays = RecordsetOf(Call(kReader, oCase.m_sMethod, aArgs));
        EXPECT_EQ(rDays->RecordCount(), oCase.m_llExpected) << oCase.m_sMethod;
        EXPECT_GE(rDays->Fields().IndexOf("Trading_Date"), 0);
        EXPECT_TRUE(RecordsetOf(aArgs[4]));
        EXPECT_EQ(aArgs[6], Variant(oCase.m_lMaxRows > 0 ? oCase.m_lMaxRows : 500));
        const std::vector<Variant> aDates = Column(*rDays, "Trading_Date");
        for (size_t i = 1; i < aDates.size(); ++i) {
            EXPECT_GT(aDates[i - 1].ToDate(), aDates[i].ToDate()) << "newest day first";
        }
    }
}

TEST_F(ViewerReader, NameSearchesTakeTheirTextAsData) {
    const std::string sDate = "12/04/2099";
    const std::string sPrefix = Strings("SELECT substr(min(company_name), 1, 2) FROM stocks")[0];
    const std::shared_ptr<Recordset> rCompanies = RecordsetOf(
        Call(kReader, "SearchCompanyName", {sPrefix, int16_t{0}, int16_t{0}, 0, sDate}));
    ASSERT_GT(rCompanies->RecordCount(), 0);
    for (const std::string& sName : Texts(*rCompanies, "CompanyName")) {
        EXPECT_EQ(sName.substr(0, 2), sPrefix);
    }
    EXPECT_GE(rCompanies->Fields().IndexOf("Symbol"), 0);
    for (const char* sText : {"x' OR 1=1 --", "%", "_", "'; DROP TABLE stocks; --"}) {
        EXPECT_EQ(RecordsetOf(
                      Call(kReader, "SearchCompanyName", {sText, int16_t{0}, int16_t{0}, 0, sDate}))
                      ->RecordCount(),
                  0)
            << sText;
        EXPECT_EQ(RecordsetOf(Call(kReader, "SearchIndustryName", {sText, int16_t{0}, 0, sDate}))
                      ->RecordCount(),
                  0);
        EXPECT_EQ(RecordsetOf(Call(kReader, "SearchSectorName", {sText, sDate}))->RecordCount(), 0);
    }
    EXPECT_EQ(Database().QueryInt64("SELECT count(*) FROM stocks"), 120);
    const std::shared_ptr<Recordset> rSectors =
        RecordsetOf(Call(kReader, "SearchSectorName", {"", sDate}));
    EXPECT_EQ(rSectors->RecordCount(), Database().QueryInt64("SELECT count(*) FROM sectors"));
    EXPECT_GE(rSectors->Fields().IndexOf("SectorCode"), 0);
}

TEST_F(ViewerReader, NameSearchesInAWatchListReadOnlyTheGivenOwnersList) {
    const int32_t lLeaders = WatchListNamed(kDemoOwnerId, 0, "Leaders");
    const int32_t lGroups = WatchListNamed(kDemoOwnerId, 1, "Strong Groups");
    const int64_t llLeaders =
        Count("SELECT count(*) FROM watch_list_items WHERE watch_list_id = ?1", lLeaders);
    const int64_t llGroups =
        Count("SELECT count(*) FROM watch_list_items WHERE watch_list_id = ?1", lGroups);
    ASSERT_GT(llLeaders, 0);
    const Variant vDate = Variant::Date(0);
    struct Case {
        Variant m_vOwner;  // Missing: the viewer's call, which sends no owner
        bool m_bListed;
    };
    for (const Case& oCase :
         {Case{Variant::Missing(), true}, Case{kDemoOwnerId, true}, Case{0, false}}) {
        const std::shared_ptr<Recordset> rCompanies =
            RecordsetOf(Call(kReader, "SearchCompanyName",
                             {"", int16_t{0}, int16_t{0}, lLeaders, vDate, oCase.m_vOwner}));
        EXPECT_EQ(rCompanies->RecordCount(), oCase.m_bListed ? llLeaders : 0);
        const std::shared_ptr<Recordset> rIndustries = RecordsetOf(
            Call(kReader, "SearchIndustryName", {"", int16_t{0}, lGroups, vDate, oCase.m_vOwner}));
        EXPECT_EQ(rIndustries->RecordCount(), oCase.m_bListed ? llGroups : 0);
    }
}

TEST_F(ViewerReader, AScreenKeepsTheRowsThatMeetEveryCriterion) {
    VariantArray aCriteria = VariantArray::Table(3, 2);
    aCriteria.At(0, 0) = "PctChange";
    aCriteria.At(1, 0) = ">";
    aCriteria.At(2, 0) = 0;
    aCriteria.At(0, 1) = "RSRank";
    aCriteria.At(1, 1) = ">=";
    aCriteria.At(2, 1) = "50";
    const std::shared_ptr<Recordset> rFound = RecordsetOf(
        Call(kReader, "RunScreen", {kDemoOwnerId, int16_t{0}, aCriteria, Variant::Date(0), 0}));
    EXPECT_EQ(rFound->RecordCount(),
              Count("SELECT count(*) FROM stock_days WHERE trade_date = ?1 AND pct_change > 0 "
                    "AND rs_rank >= 50",
                    LastDay()));
    for (const Variant& vChange : Column(*rFound, "PctChange")) {
        EXPECT_GT(vChange.ToDouble(), 0);
    }
    EXPECT_GE(rFound->Fields().IndexOf("Symbol"), 0);

    aCriteria.At(0, 1) = "NoSuchField";
    EXPECT_NE(CallError(kReader, "RunScreen", {0, int16_t{0}, aCriteria, Variant::Date(0)})
                  .Description()
                  .find("NoSuchField"),
              std::string::npos);
    EXPECT_EQ(
        CallError(kReader, "RunScreen", {0, int16_t{4}, Variant(), Variant::Date(0)}).Number(),
        kFacadeErrorNumber);
    const std::shared_ptr<Recordset> rSectors =
        RecordsetOf(Call(kReader, "RunScreen", {0, int16_t{2}, Variant(), Variant::Date(0)}));
    EXPECT_EQ(rSectors->RecordCount(), Database().QueryInt64("SELECT count(*) FROM sectors"));

    // A row limit, and every row found whatever the limit says.
    const int64_t llStocks =
        Count("SELECT count(*) FROM stock_days WHERE trade_date = ?1", LastDay());
    for (const auto& [vReturnAll, llRows] :
         {std::pair{Variant(false), int64_t{3}}, std::pair{Variant(true), llStocks}}) {
        const std::shared_ptr<Recordset> rLimited = RecordsetOf(Call(
            kReader, "RunScreen", {0, int16_t{0}, Variant(), Variant::Date(0), 3, vReturnAll}));
        EXPECT_EQ(rLimited->RecordCount(), llRows);
    }
}

TEST_F(ViewerReader, TheFieldCatalogueIsACopyForEachCaller) {
    const std::shared_ptr<Recordset> rFirst =
        RecordsetOf(Call(kReader, "GetCustomFieldList", {0, int16_t{0}}));
    rFirst->SetFilter("Parameter_ID = 5");
    ASSERT_EQ(rFirst->RecordCount(), 1);
    EXPECT_EQ(rFirst->Value("Column_Name"), Variant("Symbol"));
    const std::shared_ptr<Recordset> rSecond =
        RecordsetOf(Call(kReader, "GetCustomFieldList", {0, int16_t{3}}));
    EXPECT_EQ(rSecond->RecordCount(), static_cast<int32_t>(FieldDefinitions().size()));
}

}  // namespace
}  // namespace qv::facade
