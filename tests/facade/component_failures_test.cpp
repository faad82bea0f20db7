// What a late-bound caller gets back when its call cannot be served: arguments of the wrong kind
// or number, a database locked by another process or opened read-only. Each is an automation
// error whose text starts with the call's name; no other exception crosses the dispatch boundary
// and nothing is half-written.
#include "facade/facade_component.h"

#include <gtest/gtest.h>

#include <cmath>

#include "facade/component_test_support.h"
#include "facade/facade_arguments.h"
#include "facade/facade_test_files.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace qv::facade {
namespace {

using namespace testing;

class ComponentFailures : public ComponentTest {
  protected:
    static bool NamesTheCall(const AutomationError& p_oError, std::string_view p_sMethod) {
        const std::string& sText = p_oError.Description();
        return sText.size() > p_sMethod.size() + 2 &&
               EqualsIgnoreCase(sText.substr(0, p_sMethod.size()), p_sMethod) &&
               sText[p_sMethod.size()] == ':';
    }

    // Serves the components from a new copy of the market; returns the copy's path.
    std::string UseCopy(MarketStore::Access p_eAccess) {
        const std::string sCopy = m_oFolder.File("copy" + std::to_string(++m_lCopies) + ".db");
        Database().Execute("VACUUM INTO '" + sCopy + "'");
        RegisterFacadeComponents(m_oPlatform.Components(),
                                 std::make_shared<MarketStore>(sCopy, p_eAccess));
        return sCopy;
    }

    int32_t First(const std::string& p_sSql) { return static_cast<int32_t>(Count(p_sSql)); }

    testing::ScratchFolder m_oFolder;
    int m_lCopies = 0;
};

TEST_F(ComponentFailures, EveryCallAnswersAValueOfAWrongKindWithANamedAutomationError) {
    const int32_t lOwnerId = NewOwner();
    VariantArray aTable = VariantArray::Table(2, 2);
    aTable.At(0, 0) = VariantArray::Vector({Variant(1)});
    const std::vector<Variant> aOddValues = {Variant("x'%"), Variant::Null(), Variant(aTable),
                                             Variant(1e300)};
    for (const CallCase& oBase : EveryCall(lOwnerId)) {
        std::vector<Variant> aArgs = oBase.m_aArgs;
        ASSERT_NO_THROW(Call(oBase.m_sProgId, oBase.m_sMethod, aArgs)) << oBase.m_sMethod;
        for (size_t i = 0; i < oBase.m_aArgs.size(); ++i) {
            for (const Variant& vOdd : aOddValues) {
                aArgs = oBase.m_aArgs;
                aArgs[i] = vOdd;
                try {
                    Call(oBase.m_sProgId, oBase.m_sMethod, aArgs);
                } catch (const AutomationError& oError) {
                    EXPECT_TRUE(NamesTheCall(oError, oBase.m_sMethod))
                        << oBase.m_sMethod << " argument " << i + 1 << ": " << oError.Description();
                }
            }
        }
    }
}

// Among these, regressions: a code of "1e300" was cast to an integer unchecked (undefined
// behaviour) by an industry search and by a new industry watch list, and so was a Date holding
// NaN.
TEST_F(ComponentFailures, AWrongValueSaysWhichArgumentAndWritesNothing) {
    using namespace prog_id;
    const int32_t lOwner = NewOwner();
    const Variant vColumns = StockColumns();
    std::vector<Variant> aBadOwner = testing::StockViewerCall{}.Args();
    aBadOwner[0] = "abc";
    VariantArray aNested = VariantArray::Table(2, 2);
    aNested.At(1, 1) = VariantArray::Vector({Variant("A")});
    const auto Items = [](const Variant& p_vItem) { return VariantArray::Vector({p_vItem}); };
    const auto Search = [](const char* p_sText) { return SearchIndustriesArgs(0, p_sText); };
    const int32_t lList = NewList(lOwner, {"1"}, 1);
    const double dNan = std::nan("");
    std::vector<Variant> aBadEnd = HistoryArgs(0, 0, "A");
    aBadEnd[1] = "not a day";
    VariantArray aScreen = VariantArray::Table(3, 1);
    aScreen.At(0, 0) = "NoSuchField";
    const Variant vToday = Variant::Date(0);
    struct Case {
        std::string_view m_sProgId;
        const char* m_sMethod;
        std::vector<Variant> m_aArgs;
        int32_t m_lNumber;  // 0: any
        const char* m_sSays;
    };
    const auto New = [&](const Variant& p_vItems, int32_t p_lType) {
        return std::vector<Variant>{0, p_vItems, p_lType, "New", "", lOwner};
    };
    const std::string_view kLists = kWatchListWriter;
    const Case aCases[] = {
        {kViewerReader, "StockViewer", aBadOwner, 0, "argument 1 (OwnerId)"},
        {kViewerWriter, "SaveLayout", SaveLayoutArgs(lOwner, vColumns, Variant::Null()), 0,
         "argument 11 (DataType)"},
        {kViewerWriter, "SaveLayout", SaveLayoutArgs(lOwner, "columns"), 0, "column table"},
        {kLists, "NewWatchListAndItems", New(aNested, 0), 0, "argument 2 (Items)"},
        {kLists, "NewWatchListFolder", {1e12, 0, "Folder", lOwner}, 0, "argument 1 (FolderId)"},
        {kViewerReader, "HistoryStockEX", aBadEnd, 0, "argument 2 (EndDate)"},
        {kViewerReader, "RunScreen", {0, int16_t{0}, aScreen, vToday}, 0, "NoSuchField"},
        {kViewerReader, "RunScreen", {0, int16_t{4}, Variant(), vToday}, kFacadeErrorNumber, ""},
        {kViewerReader,
         "RunScreen",
         {0, int16_t{0}, "Pirce > 10", vToday},
         kFacadeErrorNumber,
         "RunScreen: argument 3 (Criteria): unknown field 'Pirce' at position 1 in 'Pirce > 10'"},
        {kViewerReader, "SearchIndustries", Search("1e300"), errors::kOverflow,
         "SearchIndustries: argument 5 (SearchText): Overflow: '1e300'"},
        {kViewerReader, "SearchIndustries", Search("1, -1e19"), errors::kOverflow,
         "argument 5 (SearchText)"},
        {kLists, "NewWatchListAndItems", New(Items("1e300"), 1), errors::kOverflow,
         "NewWatchListAndItems: argument 2 (Items): Overflow"},
        {kLists, "NewWatchListAndItems", New(Items(1e300), 1), errors::kOverflow,
         "argument 2 (Items)"},
        {kLists, "NewWatchListAndItems", New(Items("nan"), 1), errors::kTypeMismatch,
         "argument 2 (Items): Type mismatch: 'nan' is not a number"},
        {kLists,
         "AddWatchListItems",
         {lList, Items("9223372036854775808"), 1},
         errors::kOverflow,
         "AddWatchListItems: argument 2 (Items)"},
        {kViewerReader, "HistoryStockEX", HistoryArgs(dNan, 0, "A"), errors::kOverflow,
         "HistoryStockEX: argument 1 (StartDate): Overflow"},
        {kScreens,
         "SaveScreen",
         {lOwner, 0, "New", 0, "Pirce > 10"},
         kFacadeErrorNumber,
         "SaveScreen: argument 5 (Criteria): unknown field 'Pirce' at position 1 in 'Pirce > 10'"},
        {kScreens,
         "SaveScreen",
         {lOwner, 0, "New", int16_t{3}, "Price > 10"},
         kFacadeErrorNumber,
         "argument 4 (ResultType)"},
        {kScreens,
         "CheckScreen",
         {lOwner, 0, "Price > 10", dNan, Variant()},
         errors::kOverflow,
         "CheckScreen: argument 4 (Date): Overflow"},
    };
    for (const Case& oCase : aCases) {
        const AutomationError oError = CallError(oCase.m_sProgId, oCase.m_sMethod, oCase.m_aArgs);
        EXPECT_TRUE(oCase.m_lNumber == 0 || oError.Number() == oCase.m_lNumber)
            << oError.Description();
        EXPECT_NE(oError.Description().find(oCase.m_sSays), std::string::npos)
            << oError.Description();
    }
    EXPECT_EQ(Count("SELECT count(*) FROM layouts WHERE owner_id = ?1", lOwner), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM watch_lists WHERE owner_id = ?1", lOwner), 1);
    EXPECT_EQ(Count("SELECT count(*) FROM screens WHERE owner_id = ?1", lOwner), 0);
    // To an industry search "nan" and "inf" are the starts of names, not numbers.
    for (const char* sText : {"nan", "inf"}) {
        EXPECT_NO_THROW(Call(kViewerReader, "SearchIndustries", Search(sText))) << sText;
    }
}

// (A database another program holds locked fails the writes with the cause the storage fault
// test injects.)
TEST_F(ComponentFailures, AReadOnlyDatabaseServesReadsAndRefusesWritesNamingTheFile) {
    const int32_t lLayout = First("SELECT min(layout_id) FROM layouts WHERE owner_id = 1");
    const Variant vItems = Items(Symbols(3));
    const std::vector<CallCase> aWrites = {
        {prog_id::kViewerWriter, "SaveLayout", SaveLayoutArgs(kDemoOwnerId, StockColumns())},
        {prog_id::kViewerWriter, "DeleteLayout", {kDemoOwnerId, lLayout, 0, Variant()}},
        {prog_id::kWatchListWriter, "NewWatchListAndItems", {0, vItems, 0, "N", "", kDemoOwnerId}},
        {prog_id::kScreens, "SaveScreen", {kDemoOwnerId, 0, "N", 0, "Price > 10"}},
    };
    const std::string sCopy = UseCopy(MarketStore::Access::ReadOnly);
    Call(prog_id::kViewerReader, "Login", {kDemoOwnerId, ""});
    for (const CallCase& oWrite : aWrites) {
        EXPECT_EQ(
            CallError(oWrite.m_sProgId, oWrite.m_sMethod, oWrite.m_aArgs).Description(),
            oWrite.m_sMethod + ": " + sCopy +
                ": the database is read-only: layouts, watch lists and screens cannot be saved");
    }
    EXPECT_GT(RowsAt(Run(SectorViewerCall{}), facade_protocol::sector_viewer::kRows)->RecordCount(),
              0);
}

// A login that cannot be recorded still gives a session, held in memory. It is current although
// the file records another login of the owner, a second login supersedes it (a list call with the
// old time code flags the conflict), and so does a login another process records.
TEST_F(ComponentFailures, ALoginOnAReadOnlyDatabaseGivesASessionInMemory) {
    LogIn(kDemoOwnerId);
    const std::string sCopy = UseCopy(MarketStore::Access::ReadOnly);
    const auto HasNewerLogin = [&](const std::string& p_sTimeCode) {
        const std::vector<Variant> aArgs =
            Run(testing::StockViewerCall{.m_lOwnerId = kDemoOwnerId, .m_sTimeCode = p_sTimeCode});
        return aArgs[facade_protocol::stock_viewer::kLoginConflict.Position] == Variant(true);
    };
    const auto Login = [&] {
        return Call(prog_id::kViewerReader, "Login", {kDemoOwnerId, "demo"}).ToString();
    };
    const std::string sFirst = Login();
    EXPECT_FALSE(HasNewerLogin(sFirst));
    const std::string sSecond = Login();
    EXPECT_TRUE(HasNewerLogin(sFirst));
    EXPECT_FALSE(HasNewerLogin(sSecond));
    EXPECT_FALSE(HasNewerLogin("")) << "a caller that does not track logins";

    SqliteDatabase oOtherProcess(sCopy, SqliteDatabase::OpenMode::ReadWrite);
    oOtherProcess.Execute("UPDATE logins SET time_code = 'elsewhere' WHERE owner_id = 1");
    EXPECT_TRUE(HasNewerLogin(sSecond));
}

// Regression: a facade whose database file was deleted or replaced went on as if nothing had
// happened, showing what the deleted file held and saving into it.
TEST_F(ComponentFailures, ACallOnADeletedOrReplacedDatabaseFailsNamingTheFile) {
    for (const testing::FileSwap& oSwap : testing::FileSwaps()) {
        const std::string sCopy = UseCopy(MarketStore::Access::ReadWrite);
        oSwap.m_fSwap(sCopy);
        const AutomationError oError =
            CallError(prog_id::kViewerReader, "SectorViewer", testing::SectorViewerCall{}.Args());
        EXPECT_EQ(oError.Description(), "SectorViewer: " + sCopy + ": the database file " +
                                            oSwap.m_sSaid + " while this program had it open");
    }
}

// A component that reads an argument as another type than the protocol gives it is at fault,
// whatever the caller sent.
TEST(FacadeArgumentTypes, AReadOfAnotherTypeIsAnInternalErrorNamingTheCallAndArgument) {
    namespace history = facade_protocol::history;
    std::vector<Variant> aArgs(history::kCount, Variant(1));
    const FacadeArguments oArgs(history::kStockMethod, aArgs);
    try {
        oArgs.Long(history::kSymbol);
        ADD_FAILURE() << "read";
    } catch (const AutomationError& oError) {
        EXPECT_EQ(oError.Description(),
                  "HistoryStockEX: internal error: argument 3 (Symbol) is a Text, read as a Long");
    }
}

}  // namespace
}  // namespace qv::facade
