// Watch lists through "QorvantOnlineFacade.WatchListFNTr" and "QorvantOnlineFacade.WatchListFTr",
// and portfolio holdings through "QorvantOnlineFacade.PortfolioFNTr", with the viewer's argument
// orders.
#include "facade/watch_list_writer_component.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "facade/component_test_support.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/text_util.h"
#include "outside/watch_list_limits.h"

namespace qv::facade {
namespace {

using namespace testing;

constexpr std::string_view kListReader = prog_id::kWatchListReader;
constexpr std::string_view kListWriter = prog_id::kWatchListWriter;
constexpr std::string_view kPortfolios = prog_id::kPortfolioReader;

class WatchLists : public ComponentTest {
  protected:
    std::vector<std::string> ListedSymbols(int32_t p_lOwnerId, int32_t p_lWatchListId) {
        const std::vector<Variant> aArgs = Run(StockViewerCall{
            .m_lOwnerId = p_lOwnerId, .m_bReturnAll = true, .m_lWatchListId = p_lWatchListId});
        std::vector<std::string> aSymbols =
            Texts(*RowsAt(aArgs, facade_protocol::stock_viewer::kRows), "Symbol");
        std::sort(aSymbols.begin(), aSymbols.end());
        return aSymbols;
    }

    std::shared_ptr<Recordset> ListsOf(int32_t p_lOwnerId, int32_t p_lType = 0) {
        return RecordsetOf(Call(kListReader, "GetWatchLists", {p_lOwnerId, p_lType}));
    }

    static std::vector<std::string> Sorted(std::vector<std::string> p_aTexts) {
        std::sort(p_aTexts.begin(), p_aTexts.end());
        return p_aTexts;
    }
};

TEST_F(WatchLists, AnOwnersListsAndFolders) {
    const std::shared_ptr<Recordset> rLists = ListsOf(kDemoOwnerId);
    EXPECT_EQ(FieldNames(*rLists), (std::vector<std::string>{"id", "parentid", "Name", "Comments",
                                                             "IsFolder", "ListType"}));
    const std::vector<std::string> aNames = Texts(*rLists, "Name");
    EXPECT_NE(std::find(aNames.begin(), aNames.end(), "Leaders"), aNames.end());
    EXPECT_EQ(Column(*rLists, "IsFolder").front(), Variant(true)) << "folders come first";
    // The viewer appends the list it has just created to the recordset it was given.
    rLists->AddNew();
    rLists->SetValue("Name", "Appended");
    EXPECT_NO_THROW(rLists->Update());
    EXPECT_EQ(ListsOf(kDemoOwnerId, 7)->RecordCount(), 0);
}

TEST_F(WatchLists, ANewListHoldsTheItemsThatNameStocks) {
    const int32_t lOwner = NewOwner();
    const std::vector<std::string> aSymbols = Symbols(3);
    // Symbols in any case; unknown ones, repeats and SQL text are left out.
    const Variant vItems = Items({aSymbols[0], "nosuch", ToLowerAscii(aSymbols[1]), aSymbols[0],
                                  "'; DROP TABLE stocks; --"});
    const int32_t lId = Call(kListWriter, "NewWatchListAndItems",
                             {0, vItems, 0, "Mine's 100% ; --", "notes", lOwner})
                            .ToLong();
    EXPECT_EQ(ListedSymbols(lOwner, lId), Sorted({aSymbols[0], aSymbols[1]}));
    const std::shared_ptr<Recordset> rLists = ListsOf(lOwner);
    ASSERT_EQ(rLists->RecordCount(), 1);
    EXPECT_EQ(rLists->Value("Name"), Variant("Mine's 100% ; --"));

    // Added items: only the new ones count.
    EXPECT_EQ(Call(kListWriter, "AddWatchListItems", {lId, Items({aSymbols[1], aSymbols[2]}), 0}),
              Variant(1));
    EXPECT_EQ(ListedSymbols(lOwner, lId).size(), 3u);
    // Removed items: only those in the list count.
    EXPECT_EQ(
        Call(kListWriter, "DeleteWatchListItems", {lId, Items({aSymbols[0], "nosuch"}), lOwner}),
        Variant(1));
    EXPECT_EQ(ListedSymbols(lOwner, lId), Sorted({aSymbols[1], aSymbols[2]}));
}

TEST_F(WatchLists, ListsOfItemsMatchingOrNotMatchingAnother) {
    const int32_t lOwner = NewOwner();
    const std::vector<std::string> aSymbols = Symbols(4);
    const int32_t lOther = NewList(lOwner, {aSymbols[0], aSymbols[1]});
    const Variant vItems = Items({aSymbols[1], aSymbols[2], aSymbols[3]});
    const auto NewFrom = [&](const char* p_sMethod) {
        return Call(kListWriter, p_sMethod, {0, lOther, vItems, 0, p_sMethod, "", lOwner}).ToLong();
    };
    EXPECT_EQ(ListedSymbols(lOwner, NewFrom("NewWatchListMatchingItems")),
              (std::vector<std::string>{aSymbols[1]}));
    EXPECT_EQ(ListedSymbols(lOwner, NewFrom("NewWatchListNonMatchingItems")),
              Sorted({aSymbols[2], aSymbols[3]}));
}

TEST_F(WatchLists, FoldersHoldListsOfTheirOwner) {
    const int32_t lOwner = NewOwner();
    const int32_t lFolder =
        Call(kListWriter, "NewWatchListFolder", {0, 0, "Ideas", lOwner}).ToLong();
    std::vector<Variant> aArgs{lFolder, Items(Symbols(1)), 0, "Inside", "", lOwner};
    // Given a list as its folder, a new list goes beside it.
    aArgs[0] = Call(kListWriter, "NewWatchListAndItems", aArgs);
    aArgs[3] = "Beside";
    Call(kListWriter, "NewWatchListAndItems", aArgs);
    EXPECT_EQ(aArgs[0], Variant(lFolder));
    const std::shared_ptr<Recordset> rLists = ListsOf(lOwner);
    for (rLists->MoveFirst(); !rLists->IsEOF(); rLists->MoveNext()) {
        EXPECT_EQ(rLists->Value("parentid"),
                  Variant(rLists->Value("IsFolder").ToBool() ? 0 : lFolder));
    }
}

TEST_F(WatchLists, IndustryListsTakeCodes) {
    const int32_t lOwner = NewOwner();
    const std::vector<std::string> aCodes =
        Strings("SELECT ind_code FROM industries ORDER BY ind_code LIMIT 2");
    // A number, a number in text, and a code no industry has.
    const Variant vItems = VariantArray::Vector(
        {Variant(std::stoi(aCodes[0])), Variant(" " + aCodes[1] + ".0 "), Variant(999999)});
    const int32_t lId =
        Call(kListWriter, "NewWatchListAndItems", {0, vItems, 1, "Groups", "", lOwner}).ToLong();
    const std::vector<Variant> aArgs =
        Run(IndustryViewerCall{.m_lOwnerId = lOwner, .m_lWatchListId = lId});
    EXPECT_EQ(RowsAt(aArgs, facade_protocol::industry_viewer::kRows)->RecordCount(), 2);
    // A stock list never lists an industry list.
    EXPECT_TRUE(ListedSymbols(lOwner, lId).empty());
}

TEST_F(WatchLists, AnotherOwnersListsAndBadRequestsAreRefused) {
    const int32_t lOwner = NewOwner();
    const int32_t lList = NewList(lOwner, Symbols(2));
    const int32_t lFolder =
        Call(kListWriter, "NewWatchListFolder", {0, 0, "Folder", lOwner}).ToLong();
    const Variant vItems = Items(Symbols(1, 5));
    std::vector<std::string> aMany(kMaxWatchListItems + 1, "X");
    Call(kListWriter, "NewWatchListAndItems", {0, vItems, 0, "Taken", "", lOwner});
    const int32_t lStranger = NewOwner();
    struct Case {
        int32_t m_lLoggedIn;
        const char* m_sMethod;
        std::vector<Variant> m_aArgs;
        const char* m_sSays;
    };
    const Case aCases[] = {
        {lStranger, "NewWatchListAndItems", {lFolder, vItems, 0, "x", "", lStranger}, "not found"},
        {lOwner, "NewWatchListAndItems", {0, vItems, 0, "  ", "", lOwner}, "name"},
        {lOwner, "NewWatchListAndItems", {0, vItems, 2, "x", "", lOwner}, "type 2"},
        {lOwner, "NewWatchListAndItems", {0, vItems, 0, "x", "", 0}, "owner 0"},
        {lOwner, "AddWatchListItems", {lList, vItems, 1}, "type"},
        {lOwner, "AddWatchListItems", {lFolder, vItems, 0}, "not found"},
        {lStranger, "DeleteWatchListItems", {lList, vItems, lStranger}, "not found"},
        {lOwner,
         "NewWatchListAndItems",
         {0, vItems, 0, std::string(10000, 'n'), "", lOwner},
         "at most 100 characters"},
        {lOwner,
         "NewWatchListAndItems",
         {0, Items(aMany), 0, "Many", "", lOwner},
         "at most 5,000 items; 5,001 were chosen"},
        {lOwner, "NewWatchListAndItems", {0, vItems, 0, " TAKEN ", "", lOwner}, "already"},
    };
    for (const Case& oCase : aCases) {
        LogIn(oCase.m_lLoggedIn);
        const AutomationError oError = CallError(kListWriter, oCase.m_sMethod, oCase.m_aArgs);
        EXPECT_NE(oError.Description().find(oCase.m_sSays), std::string::npos)
            << oCase.m_sMethod << ": " << oError.Description();
    }
    EXPECT_EQ(ListedSymbols(lOwner, lList).size(), 2u);
    EXPECT_EQ(ListsOf(lOwner)->RecordCount(), 3);
    LogIn(lStranger);
    EXPECT_EQ(ListsOf(lStranger)->RecordCount(), 0);
}

using Portfolios = ComponentTest;

// Holdings start with the trade fields; trades come on request, and nothing for another owner.
TEST_F(Portfolios, HoldingsAndTradesOfTheOwnersPortfolio) {
    const auto lPortfolio = static_cast<int32_t>(
        Count("SELECT min(portfolio_id) FROM portfolios WHERE owner_id = ?1", kDemoOwnerId));
    // The viewer's call: portfolio, owner, a variant, False, an object, layout, True, catalogue.
    const auto HoldingsArgs = [&](int32_t p_lOwnerId, Variant p_vDate = Variant(),
                                  bool p_bWithTrades = false) {
        return std::vector<Variant>{lPortfolio,         p_lOwnerId, p_vDate, p_bWithTrades,
                                    Variant::Nothing(), Variant(),  true,    Variant::Nothing()};
    };
    std::vector<Variant> aArgs = HoldingsArgs(kDemoOwnerId);
    const std::shared_ptr<Recordset> rHoldings =
        RecordsetOf(Call(kPortfolios, "GetCurrentHoldings", aArgs));
    std::vector<std::string> aFields = FieldNames(*rHoldings);
    aFields.resize(9);
    EXPECT_EQ(aFields, (std::vector<std::string>{"Trade_ID", "Symbol", "BuyDate", "Commission",
                                                 "InitialPrice", "Shares", "Short", "InitialReq",
                                                 "MaintenancePercent"}));
    EXPECT_EQ(rHoldings->RecordCount(),
              Count("SELECT count(*) FROM trades WHERE portfolio_id = ?1", lPortfolio));
    EXPECT_EQ(LayoutIdOf(aArgs[5]), 14);
    EXPECT_TRUE(aArgs[4].IsNothing()) << "no trades asked for";

    aArgs = HoldingsArgs(kDemoOwnerId, Variant::Date(LastDay() + 3.5), true);
    Call(kPortfolios, "GetCurrentHoldings", aArgs);
    ASSERT_TRUE(RecordsetOf(aArgs[4]));
    EXPECT_GE(RecordsetOf(aArgs[4])->Fields().IndexOf("TotalGain"), 0);
    EXPECT_EQ(aArgs[2].ToDate(), LastDay());
    EXPECT_EQ(RecordsetOf(Call(kPortfolios, "GetPortfolios", {kDemoOwnerId}))->Value("id"),
              Variant(lPortfolio));
    const std::shared_ptr<Recordset> rNone =
        RecordsetOf(Call(kPortfolios, "GetCurrentHoldings", HoldingsArgs(NewOwner())));
    EXPECT_EQ(rNone->RecordCount(), 0);
    EXPECT_EQ(RecordsetOf(Call(kPortfolios, "GetPortfolios", {NewOwner()}))->RecordCount(), 0);
}

}  // namespace
}  // namespace qv::facade
