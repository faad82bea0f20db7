// Watch lists through "QorvantOnlineFacade.WatchListFNTr" and "QorvantOnlineFacade.WatchListFTr",
// and portfolio holdings through "QorvantOnlineFacade.PortfolioFNTr", with the viewer's argument
// orders.
#include "facade/watch_list_writer_component.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "facade/component_test_support.h"
#include "facade/facade_components.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/automation_error.h"
#include "outside/text_util.h"

namespace qv::facade {
namespace {

using testing::Column;
using testing::ComponentTest;
using testing::FieldNames;
using testing::LayoutIdOf;
using testing::Texts;

constexpr std::string_view kListReader = prog_id::kWatchListReader;
constexpr std::string_view kListWriter = prog_id::kWatchListWriter;
constexpr std::string_view kPortfolios = prog_id::kPortfolioReader;

class WatchLists : public ComponentTest {
  protected:
    std::vector<std::string> Symbols(int p_lCount, int p_lSkip = 0) {
        SqliteStatement oQuery =
            Database().Prepare("SELECT symbol FROM stocks ORDER BY stock_id LIMIT ?1 OFFSET ?2");
        oQuery.BindInt64(1, p_lCount);
        oQuery.BindInt64(2, p_lSkip);
        std::vector<std::string> aSymbols;
        while (oQuery.Step()) {
            aSymbols.push_back(oQuery.ColumnText(0));
        }
        return aSymbols;
    }

    static Variant Items(const std::vector<std::string>& p_aKeys) {
        VariantArray aItems = VariantArray::Vector(0, static_cast<int32_t>(p_aKeys.size()) - 1);
        for (size_t i = 0; i < p_aKeys.size(); ++i) {
            aItems.At(static_cast<int32_t>(i)) = p_aKeys[i];
        }
        return aItems;
    }

    // The viewer's new list: folder, items, type, name, comments, owner.
    int32_t NewList(int32_t p_lOwnerId, const std::vector<std::string>& p_aKeys,
                    int32_t p_lType = 0, int32_t p_lFolderId = 0) {
        return Call(kListWriter, "NewWatchListAndItems",
                    {p_lFolderId, Items(p_aKeys), p_lType, Variant("List"), Variant("notes"),
                     p_lOwnerId})
            .ToLong();
    }

    std::vector<std::string> ListedSymbols(int32_t p_lOwnerId, int32_t p_lWatchListId) {
        testing::StockViewerCall oCall;
        oCall.m_lOwnerId = p_lOwnerId;
        oCall.m_lWatchListId = p_lWatchListId;
        oCall.m_bReturnAll = true;
        std::vector<Variant> aArgs = oCall.Args();
        Call(prog_id::kViewerReader, "StockViewer", aArgs);
        std::vector<std::string> aSymbols =
            Texts(*RecordsetOf(aArgs[facade_protocol::stock_viewer::kRows.Position]), "Symbol");
        std::sort(aSymbols.begin(), aSymbols.end());
        return aSymbols;
    }
};

TEST_F(WatchLists, AnOwnersListsAndFolders) {
    const std::shared_ptr<Recordset> rLists =
        RecordsetOf(Call(kListReader, "GetWatchLists", {kDemoOwnerId, 0}));
    EXPECT_EQ(FieldNames(*rLists), (std::vector<std::string>{"id", "parentid", "Name", "Comments",
                                                             "IsFolder", "ListType"}));
    const std::vector<std::string> aNames = Texts(*rLists, "Name");
    for (const char* sName : {"Ideas", "Income", "Leaders", "Laggards", "Dividend Payers"}) {
        EXPECT_NE(std::find(aNames.begin(), aNames.end(), sName), aNames.end()) << sName;
    }
    EXPECT_EQ(Column(*rLists, "IsFolder").front(), Variant(true)) << "folders come first";

    // The viewer appends the list it has just created to the recordset it was given.
    rLists->AddNew();
    rLists->SetValue("id", 77);
    rLists->SetValue("Name", "Appended");
    rLists->Update();
    EXPECT_EQ(rLists->Value("Name"), Variant("Appended"));

    EXPECT_EQ(RecordsetOf(Call(kListReader, "GetWatchLists", {kDemoOwnerId, 7}))->RecordCount(), 0);
    EXPECT_EQ(RecordsetOf(Call(kListReader, "GetWatchLists", {NewOwner(), 0}))->RecordCount(), 0);
}

TEST_F(WatchLists, ANewListHoldsTheItemsThatNameStocks) {
    const int32_t lOwner = NewOwner();
    const std::vector<std::string> aSymbols = Symbols(3);
    const std::string sLower = ToLowerAscii(aSymbols[1]);
    // Symbols in any case; unknown ones, repeats and SQL text are left out.
    std::vector<Variant> aArgs{
        0,
        Items({aSymbols[0], "nosuch", sLower, aSymbols[0], "'; DROP TABLE stocks; --"}),
        0,
        Variant("Mine's 100% ; --"),
        Variant("notes"),
        lOwner};
    const int32_t lId = Call(kListWriter, "NewWatchListAndItems", aArgs).ToLong();
    EXPECT_GT(lId, 0);
    std::vector<std::string> aExpected{aSymbols[0], aSymbols[1]};
    std::sort(aExpected.begin(), aExpected.end());
    EXPECT_EQ(ListedSymbols(lOwner, lId), aExpected);

    const std::shared_ptr<Recordset> rLists =
        RecordsetOf(Call(kListReader, "GetWatchLists", {lOwner, 0}));
    ASSERT_EQ(rLists->RecordCount(), 1);
    EXPECT_EQ(rLists->Value("id"), Variant(lId));
    EXPECT_EQ(rLists->Value("Name"), Variant("Mine's 100% ; --"));
    EXPECT_EQ(rLists->Value("Comments"), Variant("notes"));

    // Added items: only the new ones count.
    std::vector<Variant> aAdd{lId, Items({aSymbols[1], aSymbols[2]}), 0};
    EXPECT_EQ(Call(kListWriter, "AddWatchListItems", aAdd), Variant(1));
    EXPECT_EQ(ListedSymbols(lOwner, lId).size(), 3u);
}

TEST_F(WatchLists, ListsOfItemsMatchingOrNotMatchingAnother) {
    const int32_t lOwner = NewOwner();
    const std::vector<std::string> aSymbols = Symbols(4);
    const int32_t lOther = NewList(lOwner, {aSymbols[0], aSymbols[1]});
    const Variant vItems = Items({aSymbols[1], aSymbols[2], aSymbols[3]});
    const int32_t lMatching = Call(kListWriter, "NewWatchListMatchingItems",
                                   {0, lOther, vItems, 0, Variant("Both"), Variant(""), lOwner})
                                  .ToLong();
    const int32_t lOthers = Call(kListWriter, "NewWatchListNonMatchingItems",
                                 {0, lOther, vItems, 0, Variant("New"), Variant(""), lOwner})
                                .ToLong();
    EXPECT_EQ(ListedSymbols(lOwner, lMatching), (std::vector<std::string>{aSymbols[1]}));
    std::vector<std::string> aNew{aSymbols[2], aSymbols[3]};
    std::sort(aNew.begin(), aNew.end());
    EXPECT_EQ(ListedSymbols(lOwner, lOthers), aNew);
}

TEST_F(WatchLists, FoldersHoldListsOfTheirOwner) {
    const int32_t lOwner = NewOwner();
    std::vector<Variant> aFolder{0, 0, Variant("Ideas"), lOwner};
    const int32_t lFolder = Call(kListWriter, "NewWatchListFolder", aFolder).ToLong();
    std::vector<Variant> aArgs{lFolder,           Items(Symbols(1)), 0,
                               Variant("Inside"), Variant(""),       lOwner};
    const int32_t lInside = Call(kListWriter, "NewWatchListAndItems", aArgs).ToLong();
    EXPECT_EQ(aArgs[0], Variant(lFolder));
    // Given a list as its folder, a new list goes beside it.
    std::vector<Variant> aBeside{lInside,           Items(Symbols(1)), 0,
                                 Variant("Beside"), Variant(""),       lOwner};
    Call(kListWriter, "NewWatchListAndItems", aBeside);
    EXPECT_EQ(aBeside[0], Variant(lFolder));

    const std::shared_ptr<Recordset> rLists =
        RecordsetOf(Call(kListReader, "GetWatchLists", {lOwner, 0}));
    for (rLists->MoveFirst(); !rLists->IsEOF(); rLists->MoveNext()) {
        if (rLists->Value("IsFolder").ToBool()) {
            EXPECT_EQ(rLists->Value("parentid"), Variant(0));
        } else {
            EXPECT_EQ(rLists->Value("parentid"), Variant(lFolder));
        }
    }
}

TEST_F(WatchLists, IndustryListsTakeCodes) {
    const int32_t lOwner = NewOwner();
    SqliteStatement oCodes =
        Database().Prepare("SELECT ind_code FROM industries ORDER BY ind_code LIMIT 2");
    std::vector<int32_t> aCodes;
    while (oCodes.Step()) {
        aCodes.push_back(static_cast<int32_t>(oCodes.ColumnInt64(0)));
    }
    VariantArray aItems = VariantArray::Vector(
        {Variant(aCodes[0]), Variant(" " + std::to_string(aCodes[1]) + ".0 "), Variant(999999)});
    const int32_t lId = Call(kListWriter, "NewWatchListAndItems",
                             {0, aItems, 1, Variant("Groups"), Variant(""), lOwner})
                            .ToLong();
    testing::IndustryViewerCall oCall;
    oCall.m_lOwnerId = lOwner;
    oCall.m_lWatchListId = lId;
    std::vector<Variant> aArgs = oCall.Args();
    Call(prog_id::kViewerReader, "IndustryViewer", aArgs);
    EXPECT_EQ(RecordsetOf(aArgs[facade_protocol::industry_viewer::kRows.Position])->RecordCount(),
              2);
    // A stock list never lists an industry list.
    EXPECT_TRUE(ListedSymbols(lOwner, lId).empty());
}

TEST_F(WatchLists, AnotherOwnersListsAndBadRequestsAreRefused) {
    const int32_t lOwner = NewOwner();
    const int32_t lList = NewList(lOwner, Symbols(2));
    std::vector<Variant> aFolder{0, 0, Variant("Folder"), lOwner};
    const int32_t lFolder = Call(kListWriter, "NewWatchListFolder", aFolder).ToLong();
    const Variant vItems = Items(Symbols(1, 5));
    const int32_t lStranger = NewOwner();
    struct Case {
        int32_t m_lLoggedIn;
        const char* m_sMethod;
        std::vector<Variant> m_aArgs;
        const char* m_sSays;
    };
    const std::vector<Case> aCases = {
        {lStranger,
         "NewWatchListAndItems",
         {lFolder, vItems, 0, Variant("x"), Variant(""), lStranger},
         "not found"},
        {lStranger,
         "NewWatchListMatchingItems",
         {0, lList, vItems, 0, Variant("x"), Variant(""), lStranger},
         "not found"},
        {lStranger, "AddWatchListItems", {lList, vItems, 0, lStranger}, "not found"},
        {lOwner,
         "NewWatchListAndItems",
         {0, vItems, 0, Variant("  "), Variant(""), lOwner},
         "name"},
        {lOwner,
         "NewWatchListAndItems",
         {0, vItems, 2, Variant("x"), Variant(""), lOwner},
         "type 2"},
        {lOwner, "NewWatchListAndItems", {0, vItems, 0, Variant("x"), Variant(""), 0}, "owner 0"},
        {lOwner, "AddWatchListItems", {lList, vItems, 1}, "type"},
        {lOwner, "AddWatchListItems", {lFolder, vItems, 0}, "not found"},
        {lOwner, "AddWatchListItems", {999999, vItems, 0}, "not found"},
    };
    for (const Case& oCase : aCases) {
        Backend().Login(oCase.m_lLoggedIn, "");
        const AutomationError oError = CallError(kListWriter, oCase.m_sMethod, oCase.m_aArgs);
        EXPECT_NE(oError.Description().find(oCase.m_sSays), std::string::npos)
            << oCase.m_sMethod << ": " << oError.Description();
    }
    EXPECT_EQ(ListedSymbols(lOwner, lList).size(), 2u);
    Backend().Login(lStranger, "");
    EXPECT_EQ(RecordsetOf(Call(kListReader, "GetWatchLists", {lStranger, 0}))->RecordCount(), 0);
}

class Portfolios : public ComponentTest {
  protected:
    int32_t DemoPortfolio() {
        return static_cast<int32_t>(
            Count("SELECT min(portfolio_id) FROM portfolios WHERE owner_id = ?1", kDemoOwnerId));
    }

    // The viewer's call: portfolio, owner, a variant, False, an object, layout, True, catalogue.
    std::vector<Variant> HoldingsArgs(int32_t p_lOwnerId, Variant p_vDate = Variant(),
                                      bool p_bWithTrades = false) {
        return {DemoPortfolio(),    p_lOwnerId, p_vDate, p_bWithTrades,
                Variant::Nothing(), Variant(),  true,    Variant::Nothing()};
    }
};

TEST_F(Portfolios, HoldingsStartWithTheTradeFieldsAndCarryTheirGains) {
    std::vector<Variant> aArgs = HoldingsArgs(kDemoOwnerId);
    const std::shared_ptr<Recordset> rHoldings =
        RecordsetOf(Call(kPortfolios, "GetCurrentHoldings", aArgs));
    const std::vector<std::string> aFields = FieldNames(*rHoldings);
    const std::vector<std::string> aTradeFields{"Trade_ID",   "Symbol",       "BuyDate",
                                                "Commission", "InitialPrice", "Shares",
                                                "Short",      "InitialReq",   "MaintenancePercent"};
    ASSERT_GE(aFields.size(), aTradeFields.size());
    EXPECT_EQ(std::vector<std::string>(aFields.begin(), aFields.begin() + 9), aTradeFields);
    EXPECT_GE(rHoldings->Fields().IndexOf("NumShares"), 0);
    EXPECT_EQ(rHoldings->RecordCount(),
              Count("SELECT count(*) FROM trades WHERE portfolio_id = ?1", DemoPortfolio()));
    EXPECT_EQ(LayoutIdOf(aArgs[5]), 14);
    EXPECT_EQ(aArgs[2].ToDate(), LastDay());
    EXPECT_TRUE(RecordsetOf(aArgs[7]));
    EXPECT_TRUE(aArgs[4].IsNothing()) << "no trades asked for";

    for (rHoldings->MoveFirst(); !rHoldings->IsEOF(); rHoldings->MoveNext()) {
        SqliteStatement oClose = Database().Prepare(
            "SELECT d.close FROM stock_days d JOIN stocks s ON s.stock_id = d.stock_id "
            "WHERE s.symbol = ?1 AND d.trade_date = ?2");
        oClose.BindText(1, rHoldings->Value("Symbol").ToString());
        oClose.BindInt64(2, LastDay());
        ASSERT_TRUE(oClose.Step());
        const double dClose = oClose.ColumnDouble(0);
        const double dBuy = rHoldings->Value("InitialPrice").ToDouble();
        const double dShares = rHoldings->Value("Shares").ToDouble();
        const double dPerShare = rHoldings->Value("Short").ToBool() ? dBuy - dClose : dClose - dBuy;
        EXPECT_NEAR(rHoldings->Value("Gain").ToDouble(),
                    dPerShare * dShares - rHoldings->Value("Commission").ToDouble(), 1e-6);
    }
}

TEST_F(Portfolios, TradesOnRequestAndNothingForAnotherOwner) {
    std::vector<Variant> aArgs = HoldingsArgs(kDemoOwnerId, Variant::Date(LastDay() + 3.5), true);
    Call(kPortfolios, "GetCurrentHoldings", aArgs);
    const std::shared_ptr<Recordset> rTrades = RecordsetOf(aArgs[4]);
    ASSERT_TRUE(rTrades);
    EXPECT_GE(rTrades->Fields().IndexOf("TotalGain"), 0);
    EXPECT_EQ(aArgs[2].ToDate(), LastDay());
    const std::shared_ptr<Recordset> rPortfolios =
        RecordsetOf(Call(kPortfolios, "GetPortfolios", {kDemoOwnerId}));
    ASSERT_EQ(rPortfolios->RecordCount(), 1);
    EXPECT_EQ(rPortfolios->Value("id"), Variant(DemoPortfolio()));

    std::vector<Variant> aStranger = HoldingsArgs(NewOwner());
    const std::shared_ptr<Recordset> rNone =
        RecordsetOf(Call(kPortfolios, "GetCurrentHoldings", aStranger));
    EXPECT_EQ(rNone->RecordCount(), 0);
    EXPECT_GE(rNone->Fields().IndexOf("Trade_ID"), 0);
    EXPECT_EQ(RecordsetOf(Call(kPortfolios, "GetPortfolios", {NewOwner()}))->RecordCount(), 0);
}

}  // namespace
}  // namespace qv::facade
