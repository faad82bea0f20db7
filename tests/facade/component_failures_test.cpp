// What a late-bound caller gets back when its call cannot be served: arguments of the wrong kind
// or number, a database locked by another process or opened read-only. Each is an automation
// error whose text starts with the call's name; no other exception crosses the dispatch boundary
// and nothing is half-written.
#include "facade/facade_component.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "facade/component_test_support.h"
#include "facade/facade_arguments.h"
#include "facade/facade_components.h"
#include "facade/facade_test_files.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/automation_error.h"
#include "outside/text_util.h"

namespace qv::facade {
namespace {

using testing::CallCase;
using testing::ComponentTest;

class ComponentFailures : public ComponentTest {
  protected:
    static bool NamesTheCall(const AutomationError& p_oError, std::string_view p_sMethod) {
        const std::string& sText = p_oError.Description();
        return sText.size() > p_sMethod.size() + 2 &&
               EqualsIgnoreCase(sText.substr(0, p_sMethod.size()), p_sMethod) &&
               sText[p_sMethod.size()] == ':';
    }
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
        aArgs = oBase.m_aArgs;
        aArgs.emplace_back();
        aArgs.emplace_back();
        const AutomationError oCount = CallError(oBase.m_sProgId, oBase.m_sMethod, aArgs);
        EXPECT_EQ(oCount.Number(), errors::kWrongArgumentCount) << oBase.m_sMethod;
    }
}

TEST_F(ComponentFailures, AWrongValueSaysWhichArgumentAndWritesNothing) {
    const int32_t lOwnerId = NewOwner();
    const Variant vColumns = Call(prog_id::kViewerReader, "GetLayout", {0, 3}).Array().At(2);
    std::vector<Variant> aBadOwner = testing::StockViewerCall{}.Args();
    aBadOwner[0] = "abc";
    VariantArray aNested = VariantArray::Table(2, 2);
    aNested.At(1, 1) = VariantArray::Vector({Variant("A")});
    struct Case {
        std::string_view m_sProgId;
        const char* m_sMethod;
        std::vector<Variant> m_aArgs;
        const char* m_sSays;
    };
    const std::vector<Case> aCases = {
        {prog_id::kViewerReader, "StockViewer", aBadOwner, "argument 1 (OwnerId)"},
        {prog_id::kViewerWriter,
         "SaveLayout",
         {lOwnerId, -1, "Mine", "", 2, 6, 0, -1, 0, vColumns, Variant::Null(), -1},
         "argument 11 (DataType)"},
        {prog_id::kViewerWriter,
         "SaveLayout",
         {lOwnerId, -1, "Mine", "", 2, 6, 0, -1, 0, Variant("columns"), 0, -1},
         "column table"},
        {prog_id::kWatchListWriter,
         "NewWatchListAndItems",
         {0, Variant(aNested), 0, "New", "", lOwnerId},
         "argument 2 (Items)"},
        {prog_id::kWatchListWriter,
         "NewWatchListFolder",
         {Variant(1e12), 0, "Folder", lOwnerId},
         "argument 1 (FolderId)"},
        {prog_id::kViewerReader,
         "HistoryStockEX",
         {Variant::Date(0), Variant("not a day"), "A", Variant(), Variant::Nothing(), 0, -1, false},
         "argument 2 (EndDate)"},
    };
    for (const Case& oCase : aCases) {
        const AutomationError oError = CallError(oCase.m_sProgId, oCase.m_sMethod, oCase.m_aArgs);
        EXPECT_NE(oError.Description().find(oCase.m_sSays), std::string::npos)
            << oError.Description();
    }
    EXPECT_EQ(CallError(prog_id::kViewerReader, "NoSuchMethod", {}).Number(),
              errors::kMemberNotSupported);
    EXPECT_EQ(Count("SELECT count(*) FROM layouts WHERE owner_id = ?1", lOwnerId), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM watch_lists WHERE owner_id = ?1", lOwnerId), 0);
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

// A regression: a code of "1e300" was cast to an integer unchecked (undefined behaviour) by an
// industry search and by a new industry watch list, and so was a Date holding NaN.
TEST_F(ComponentFailures, ACodeNoIntegerHoldsIsAnOverflowAndOtherTextATypeMismatch) {
    using namespace prog_id;
    const int32_t lOwnerId = NewOwner();
    const Variant vNothing = Variant::Nothing();
    const auto Search = [&](const Variant& p_vText) {
        return std::vector<Variant>{0,         4,         Variant::Date(0), -1,       p_vText,   0,
                                    Variant(), Variant(), vNothing,         vNothing, Variant(), 0,
                                    0,         0};
    };
    const auto Items = [](const Variant& p_vItem) { return VariantArray::Vector({p_vItem}); };
    const int32_t lList =
        Call(kWatchListWriter, "NewWatchListAndItems", {0, Items(1), 1, "Groups", "", lOwnerId})
            .ToLong();
    struct Case {
        std::string_view m_sProgId;
        const char* m_sMethod;
        std::vector<Variant> m_aArgs;
        int32_t m_lNumber;
        const char* m_sSays;
    };
    const std::vector<Case> aCases = {
        {kViewerReader, "SearchIndustries", Search("1e300"), errors::kOverflow,
         "SearchIndustries: argument 5 (SearchText): Overflow: '1e300'"},
        {kViewerReader, "SearchIndustries", Search("1, -1e19"), errors::kOverflow,
         "argument 5 (SearchText)"},
        {kWatchListWriter,
         "NewWatchListAndItems",
         {0, Items("1e300"), 1, "New", "", lOwnerId},
         errors::kOverflow,
         "NewWatchListAndItems: argument 2 (Items): Overflow"},
        {kWatchListWriter,
         "NewWatchListAndItems",
         {0, Items(1e300), 1, "New", "", lOwnerId},
         errors::kOverflow,
         "argument 2 (Items)"},
        {kWatchListWriter,
         "NewWatchListAndItems",
         {0, Items("nan"), 1, "New", "", lOwnerId},
         errors::kTypeMismatch,
         "argument 2 (Items): Type mismatch: 'nan' is not a number"},
        {kWatchListWriter,
         "AddWatchListItems",
         {lList, Items("9223372036854775808"), 1},
         errors::kOverflow,
         "AddWatchListItems: argument 2 (Items)"},
        {kViewerReader,
         "HistoryStockEX",
         {Variant::Date(std::nan("")), Variant::Date(0), "A", Variant(), vNothing, 0, -1, false},
         errors::kOverflow,
         "HistoryStockEX: argument 1 (StartDate): Overflow"},
    };
    for (const Case& oCase : aCases) {
        const AutomationError oError = CallError(oCase.m_sProgId, oCase.m_sMethod, oCase.m_aArgs);
        EXPECT_EQ(oError.Number(), oCase.m_lNumber) << oError.Description();
        EXPECT_NE(oError.Description().find(oCase.m_sSays), std::string::npos)
            << oError.Description();
    }
    EXPECT_EQ(Count("SELECT count(*) FROM watch_lists WHERE owner_id = ?1", lOwnerId), 1);
    // To an industry search "nan" and "inf" are the starts of names, not numbers.
    for (const char* sText : {"nan", "inf"}) {
        std::vector<Variant> aArgs = Search(sText);
        EXPECT_NO_THROW(Call(kViewerReader, "SearchIndustries", aArgs)) << sText;
    }
}

TEST_F(ComponentFailures, ALockedDatabaseFailsTheWritesByNameAndStillServesReads) {
    const int32_t lOwnerId = NewOwner();
    const Variant vColumns = Call(prog_id::kViewerReader, "GetLayout", {0, 3}).Array().At(2);
    SqliteDatabase oOtherProcess(Backend().Store().Path(), SqliteDatabase::OpenMode::ReadWrite, 0);
    oOtherProcess.Execute("BEGIN IMMEDIATE");
    Database().SetBusyTimeout(20);
    const std::vector<CallCase> aWrites = {
        {prog_id::kViewerWriter,
         "SaveLayout",
         {lOwnerId, -1, "Mine", "", 2, 6, 0, -1, 0, vColumns, 0, -1}},
        {prog_id::kWatchListWriter,
         "NewWatchListAndItems",
         {0, Variant("A"), 0, "New", "", lOwnerId}},
        {prog_id::kWatchListWriter, "NewWatchListFolder", {0, 0, "Folder", lOwnerId}},
        {prog_id::kViewerReader, "Login", {lOwnerId, "Name"}},
    };
    for (const CallCase& oWrite : aWrites) {
        const AutomationError oError =
            CallError(oWrite.m_sProgId, oWrite.m_sMethod, oWrite.m_aArgs);
        EXPECT_TRUE(NamesTheCall(oError, oWrite.m_sMethod)) << oError.Description();
        EXPECT_NE(oError.Description().find(Backend().Store().Path() +
                                            ": the database is busy: another program holds it "
                                            "locked"),
                  std::string::npos)
            << oError.Description();
    }
    std::vector<Variant> aArgs = testing::SectorViewerCall{}.Args();
    Call(prog_id::kViewerReader, "SectorViewer", aArgs);
    EXPECT_GT(RecordsetOf(aArgs[facade_protocol::sector_viewer::kRows.Position])->RecordCount(), 0);

    oOtherProcess.Execute("ROLLBACK");
    Database().SetBusyTimeout(10000);
    EXPECT_EQ(Count("SELECT count(*) FROM layouts WHERE owner_id = ?1", lOwnerId), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM watch_lists WHERE owner_id = ?1", lOwnerId), 0);
}

TEST_F(ComponentFailures, AReadOnlyDatabaseServesReadsAndRefusesWritesNamingTheFile) {
    const Variant vColumns = Call(prog_id::kViewerReader, "GetLayout", {0, 3}).Array().At(2);
    const auto Demo = [](const std::string& p_sSql) {
        return static_cast<int32_t>(Database().QueryInt64(p_sSql + " AND owner_id = 1"));
    };
    const int32_t lLayout = Demo("SELECT min(layout_id) FROM layouts WHERE 1");
    const int32_t lList =
        Demo("SELECT min(watch_list_id) FROM watch_lists WHERE is_folder = 0 AND list_type = 0");
    const std::string sSymbol = [] {
        SqliteStatement oQuery = Database().Prepare("SELECT min(symbol) FROM stocks");
        return oQuery.Step() ? oQuery.ColumnText(0) : std::string();
    }();
    testing::ScratchFolder oFolder;
    const std::string sCopy = oFolder.File("read-only.db");
    Database().Execute("VACUUM INTO '" + sCopy + "'");
    RegisterFacadeComponents(m_oPlatform.Components(),
                             std::make_shared<MarketStore>(sCopy, MarketStore::Access::ReadOnly));
    Call(prog_id::kViewerReader, "Login", {kDemoOwnerId, ""});

    std::vector<Variant> aArgs = testing::SectorViewerCall{}.Args();
    Call(prog_id::kViewerReader, "SectorViewer", aArgs);
    EXPECT_GT(RecordsetOf(aArgs[facade_protocol::sector_viewer::kRows.Position])->RecordCount(), 0);
    EXPECT_GT(RecordsetOf(Call(prog_id::kWatchListReader, "GetWatchLists", {kDemoOwnerId, 0}))
                  ->RecordCount(),
              0);
    const std::vector<CallCase> aWrites = {
        {prog_id::kViewerWriter,
         "SaveLayout",
         {kDemoOwnerId, -1, "Mine", "", 2, 6, 0, -1, 0, vColumns, 0, -1}},
        {prog_id::kViewerWriter, "DeleteLayout", {kDemoOwnerId, lLayout, 0, Variant()}},
        {prog_id::kWatchListWriter,
         "NewWatchListAndItems",
         {0, VariantArray::Vector({Variant(sSymbol)}), 0, "New", "", kDemoOwnerId}},
        {prog_id::kWatchListWriter,
         "AddWatchListItems",
         {lList, VariantArray::Vector({Variant(sSymbol)}), 0}},
        {prog_id::kWatchListWriter, "NewWatchListFolder", {0, 0, "Folder", kDemoOwnerId}},
    };
    for (const CallCase& oWrite : aWrites) {
        const AutomationError oError =
            CallError(oWrite.m_sProgId, oWrite.m_sMethod, oWrite.m_aArgs);
        EXPECT_EQ(oError.Description(),
                  oWrite.m_sMethod + ": " + sCopy +
                      ": the database is read-only: layouts and watch lists cannot be saved");
    }
}

// A login that cannot be recorded still gives a session, held in memory. It is current although
// the file records another login of the owner, a second login supersedes it, and so does a login
// another process records.
TEST_F(ComponentFailures, ALoginOnAReadOnlyDatabaseGivesASessionInMemory) {
    Backend().Login(kDemoOwnerId, "");
    testing::ScratchFolder oFolder;
    const std::string sCopy = oFolder.File("read-only.db");
    Database().Execute("VACUUM INTO '" + sCopy + "'");
    RegisterFacadeComponents(m_oPlatform.Components(),
                             std::make_shared<MarketStore>(sCopy, MarketStore::Access::ReadOnly));
    const auto HasNewerLogin = [&](const std::string& p_sTimeCode) {
        testing::StockViewerCall oCall;
        oCall.m_lOwnerId = kDemoOwnerId;
        oCall.m_sTimeCode = p_sTimeCode;
        std::vector<Variant> aArgs = oCall.Args();
        Call(prog_id::kViewerReader, "StockViewer", aArgs);
        return aArgs[facade_protocol::stock_viewer::kLoginConflict.Position] == Variant(true);
    };
    const std::string sFirst =
        Call(prog_id::kViewerReader, "Login", {kDemoOwnerId, "demo"}).ToString();
    EXPECT_FALSE(HasNewerLogin(sFirst));
    const std::string sSecond =
        Call(prog_id::kViewerReader, "Login", {kDemoOwnerId, "demo"}).ToString();
    EXPECT_TRUE(HasNewerLogin(sFirst));
    EXPECT_FALSE(HasNewerLogin(sSecond));

    SqliteDatabase oOtherProcess(sCopy, SqliteDatabase::OpenMode::ReadWrite);
    oOtherProcess.Execute("UPDATE logins SET time_code = 'elsewhere' WHERE owner_id = 1");
    EXPECT_TRUE(HasNewerLogin(sSecond));
}

// Regression: a facade whose database file was deleted or replaced went on as if nothing had
// happened, showing what the deleted file held and saving into it.
TEST_F(ComponentFailures, ACallOnADeletedOrReplacedDatabaseFailsNamingTheFile) {
    for (const testing::FileSwap& oSwap : testing::FileSwaps()) {
        testing::ScratchFolder oFolder;
        const std::string sCopy = oFolder.File("market.db");
        Database().Execute("VACUUM INTO '" + sCopy + "'");
        RegisterFacadeComponents(
            m_oPlatform.Components(),
            std::make_shared<MarketStore>(sCopy, MarketStore::Access::ReadWrite));
        oSwap.m_fSwap(sCopy);
        const AutomationError oError =
            CallError(prog_id::kViewerReader, "SectorViewer", testing::SectorViewerCall{}.Args());
        EXPECT_EQ(oError.Description(), "SectorViewer: " + sCopy + ": the database file " +
                                            oSwap.m_sSaid + " while this program had it open");
    }
}

}  // namespace
}  // namespace qv::facade
