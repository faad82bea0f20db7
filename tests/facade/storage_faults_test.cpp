// The storage layer under failing SQLite calls. Each operation that writes runs again and again
// with its first, second, third, ... SQLite call made to fail, until it runs to its end without
// meeting the fault. Every failed run must reach the caller as an error carrying the cause, and
// leave the database intact and as it was: the same rows in every table, no transaction left
// open, and a clean integrity check.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "facade/component_test_support.h"
#include "facade/facade_test_files.h"
#include "facade/market_importer.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"

namespace qv::facade {
namespace {

using Operation = const char*;

struct FaultKind {
    SqliteFault m_eFault;
    const char* m_sName;
    const char* m_sSaid;  // what the error reaching the caller says of the cause
};

constexpr FaultKind kFaultKinds[] = {
    {SqliteFault::IoError, "IoError", "disk I/O error"},
    {SqliteFault::DiskFull, "DiskFull", "database or disk is full"},
    {SqliteFault::Busy, "Busy", "the database is busy: another program holds it locked"},
};

constexpr int32_t kOwnerId = 5;

// An import of a constituents file and a prices file (Symbol, Date, Close), without headers.
std::vector<ImportInput> Files(const std::string& p_sConstituents, const std::string& p_sPrices) {
    std::vector<ImportInput> aInputs;
    aInputs.push_back({"constituents.csv", std::make_unique<StringSource>(
                                               "Symbol,Name,Sector,Industry\n" + p_sConstituents)});
    aInputs.push_back(
        {"prices.csv", std::make_unique<StringSource>("Symbol,Date,Close\n" + p_sPrices)});
    return aInputs;
}

class StorageFaults : public ::testing::TestWithParam<std::tuple<Operation, FaultKind>> {
  protected:
    StorageFaults()
        : m_oStore(std::make_shared<MarketStore>(m_oFolder.File("market.db"),
                                                 MarketStore::Access::ReadWrite)) {
        const auto oBackend = std::make_shared<FacadeBackend>(m_oStore);
        RegisterFacadeComponents(m_oPlatform.Components(), oBackend);
        oBackend->Login(kOwnerId, "");
        std::vector<Variant> aGet{0, 3};
        m_vColumns =
            CallMethod(*CreateObject(prog_id::kViewerReader), "GetLayout", aGet).Array().At(2);
        // What is committed before the faults, and must outlast every one of them.
        MarketImporter(*m_oStore).Import(
            Files("AAA,Alpha,Energy,Oil\nBBB,Beta,Energy,Pipelines\n",
                  "AAA,2021-01-04,10\nAAA,2021-01-05,11\nBBB,2021-01-04,20\nBBB,2021-01-05,21\n"),
            {});
        EXPECT_TRUE(Run("SaveLayout"));
        EXPECT_TRUE(Run("WatchListChange"));
    }

    // Runs the operation (an import when not named otherwise); true when it reports success. The
    // import brings a new stock in a new sector and a new day for every stock.
    bool Run(Operation p_sOperation) {
        std::vector<Variant> aLayout = testing::SaveLayoutArgs(kOwnerId, m_vColumns);
        static int32_t s_lLists = 0;
        std::vector<Variant> aList{
            0, testing::Items({"AAA"}), 0, "Mine " + std::to_string(++s_lLists), "", kOwnerId};
        if (p_sOperation == std::string("SaveLayout")) {
            return CallMethod(*CreateObject(prog_id::kViewerWriter), "SaveLayout", aLayout) ==
                   Variant(true);
        }
        if (p_sOperation == std::string("WatchListChange")) {
            return CallMethod(*CreateObject(prog_id::kWatchListWriter), "NewWatchListAndItems",
                              aList)
                       .ToLong() > 0;
        }
        MarketImporter(*m_oStore).Import(
            Files("CCC,Gamma,Utilities,Water\n",
                  "AAA,2021-01-06,12\nBBB,2021-01-06,20\nCCC,2021-01-05,5\nCCC,2021-01-06,6\n"),
            {});
        return true;
    }

    // Every table's rows, sorted.
    std::vector<std::string> Digest() {
        std::vector<std::string> aRows;
        SqlStatement oTables =
            Database().Prepare("SELECT name FROM sqlite_schema WHERE type = 'table'");
        while (oTables.Step()) {
            const std::string sTable = oTables.ColumnText(0);
            SqlStatement oRows = Database().Prepare("SELECT * FROM \"" + sTable + "\"");
            while (oRows.Step()) {
                std::string sRow = sTable;
                for (int i = 0; i < oRows.ColumnCount(); ++i) {
                    sRow += oRows.ColumnIsNull(i) ? ",NULL" : ",'" + oRows.ColumnText(i) + "'";
                }
                aRows.push_back(std::move(sRow));
            }
        }
        std::sort(aRows.begin(), aRows.end());
        return aRows;
    }

    SqlDatabase& Database() { return m_oStore->Database(); }

    testing::ScratchFolder m_oFolder;
    ScopedTestPlatform m_oPlatform;
    std::shared_ptr<MarketStore> m_oStore;
    Variant m_vColumns;  // the columns of a system layout, read before any fault
};

TEST_P(StorageFaults, EveryFailedCallIsReportedAndLeavesTheDatabaseAsItWas) {
    const auto& [sOperation, oKind] = GetParam();
    const std::vector<std::string> sBefore = Digest();
    constexpr int64_t kEnoughCalls = 10000;
    for (int64_t llCall = 1;; ++llCall) {
        ASSERT_LT(llCall, kEnoughCalls) << "the operation never ran to its end";
        InjectSqliteFault(llCall, oKind.m_eFault);
        bool bSucceeded = false;
        std::string sError;
        try {
            bSucceeded = Run(sOperation);
        } catch (const AutomationError& oError) {
            sError = oError.Description();
        }
        const bool bFaultMet = !SqliteFaultPending();
        ClearSqliteFault();
        if (!bFaultMet) {
            EXPECT_TRUE(bSucceeded) << sError;
            EXPECT_NE(Digest(), sBefore) << "the operation ran to its end but changed nothing";
            break;
        }
        ASSERT_FALSE(sError.empty()) << "call " << llCall << " failed, yet the operation reported "
                                     << (bSucceeded ? "success" : "nothing");
        EXPECT_NE(sError.find(m_oStore->Name()), std::string::npos) << sError;
        EXPECT_NE(sError.find(oKind.m_sSaid), std::string::npos) << sError;
        ASSERT_FALSE(Database().InTransaction()) << "call " << llCall << " left a transaction open";
        ASSERT_EQ(Database().QueryInt64("SELECT count(*) FROM pragma_integrity_check "
                                        "WHERE integrity_check <> 'ok'"),
                  0)
            << "after call " << llCall;
        ASSERT_EQ(Digest(), sBefore) << "the operation failed at call " << llCall;
    }
}

INSTANTIATE_TEST_SUITE_P(Storage, StorageFaults,
                         ::testing::Combine(::testing::Values("Import", "SaveLayout",
                                                              "WatchListChange"),
                                            ::testing::ValuesIn(kFaultKinds)),
                         [](const auto& p_oInfo) {
                             return std::string(std::get<0>(p_oInfo.param)) +
                                    std::get<1>(p_oInfo.param).m_sName;
                         });

}  // namespace
}  // namespace qv::facade
