// The storage layer under failing SQLite calls. Each operation that writes runs again and again
// with its first, second, third, ... SQLite call made to fail, until it runs to its end without
// meeting the fault. Every failed run must reach the caller as an error carrying the cause, and
// leave the database intact and as it was: the same rows in every table, no transaction left
// open, and a clean integrity check.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/facade_test_files.h"
#include "facade/market_importer.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"
#include "outside/automation_error.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/scripted_services.h"
#include "outside/variant.h"

namespace qv::facade {
namespace {

enum class Operation { Import, SaveLayout, WatchListChange };

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

// An import of a constituents file and a prices file, each given without its header line.
std::vector<ImportInput> Files(const std::string& p_sConstituents, const std::string& p_sPrices) {
    std::vector<ImportInput> aInputs;
    aInputs.push_back({"constituents.csv", std::make_unique<StringSource>(
                                               "Symbol,Name,Sector,Industry\n" + p_sConstituents)});
    aInputs.push_back(
        {"prices.csv", std::make_unique<StringSource>(
                           "Symbol,Date,Open,High,Low,Close,AdjClose,Volume\n" + p_sPrices)});
    return aInputs;
}

std::vector<ImportInput> FirstFiles() {
    return Files("AAA,Alpha,Energy,Oil\nBBB,Beta,Energy,Pipelines\n",
                 "AAA,2021-01-04,10,11,9,10,10,1000\nAAA,2021-01-05,10,12,10,11,11,2000\n"
                 "BBB,2021-01-04,20,21,19,20,20,500\nBBB,2021-01-05,20,21,19,21,21,700\n");
}

// A new stock in a new sector and a new day for every stock.
std::vector<ImportInput> SecondFiles() {
    return Files("CCC,Gamma,Utilities,Water\n",
                 "AAA,2021-01-06,11,12,10,12,12,1500\nBBB,2021-01-06,21,22,20,20,20,900\n"
                 "CCC,2021-01-05,5,5,5,5,5,100\nCCC,2021-01-06,5,6,5,6,6,100\n");
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
        m_vColumns = Call(prog_id::kViewerReader, "GetLayout", aGet).Array().At(2);
        // What is committed before the faults, and must outlast every one of them.
        MarketImporter(*m_oStore).Import(FirstFiles(), {});
        EXPECT_TRUE(Run(Operation::SaveLayout));
        EXPECT_TRUE(Run(Operation::WatchListChange));
    }

    SqliteDatabase& Database() { return m_oStore->Database(); }

    // Runs the operation; true when it reports success.
    bool Run(Operation p_eOperation) {
        switch (p_eOperation) {
            case Operation::Import:
                MarketImporter(*m_oStore).Import(SecondFiles(), {});
                return true;
            case Operation::SaveLayout: {
                std::vector<Variant> aArgs{kOwnerId, -1, "Mine", "",         2, 6,
                                           0,        -1, 0,      m_vColumns, 0, -1};
                return Call(prog_id::kViewerWriter, "SaveLayout", aArgs) == Variant(true);
            }
            case Operation::WatchListChange: {
                std::vector<Variant> aArgs{
                    0,       VariantArray::Vector({Variant("AAA"), Variant("BBB")}), 0, "Mine", "",
                    kOwnerId};
                return Call(prog_id::kWatchListWriter, "NewWatchListAndItems", aArgs).ToLong() > 0;
            }
        }
        return false;
    }

    Variant Call(std::string_view p_sProgId, std::string_view p_sMethod,
                 std::vector<Variant>& p_aArgs) {
        return CallMethod(*CreateObject(p_sProgId), p_sMethod, p_aArgs);
    }

    // Every table's rows, each table as one hash of its sorted rows.
    std::map<std::string, size_t> Digest() {
        std::map<std::string, size_t> aDigest;
        SqliteStatement oTables =
            Database().Prepare("SELECT name FROM sqlite_schema WHERE type = 'table'");
        while (oTables.Step()) {
            const std::string sTable = oTables.ColumnText(0);
            SqliteStatement oRows = Database().Prepare("SELECT * FROM \"" + sTable + "\"");
            std::vector<std::string> aRows;
            while (oRows.Step()) {
                std::string sRow;
                for (int i = 0; i < oRows.ColumnCount(); ++i) {
                    sRow += oRows.ColumnIsNull(i) ? "NULL" : "'" + oRows.ColumnText(i) + "'";
                    sRow += ',';
                }
                aRows.push_back(std::move(sRow));
            }
            std::sort(aRows.begin(), aRows.end());
            std::string sAll;
            for (const std::string& sRow : aRows) {
                sAll += sRow + '\n';
            }
            aDigest[sTable] = std::hash<std::string>{}(sAll);
        }
        return aDigest;
    }

    std::string IntegrityCheck() {
        SqliteStatement oCheck = Database().Prepare("PRAGMA integrity_check");
        return oCheck.Step() ? oCheck.ColumnText(0) : std::string();
    }

    testing::ScratchFolder m_oFolder;
    ScopedTestPlatform m_oPlatform;
    std::shared_ptr<MarketStore> m_oStore;
    Variant m_vColumns;  // the columns of a system layout, read before any fault
};

TEST_P(StorageFaults, EveryFailedCallIsReportedAndLeavesTheDatabaseAsItWas) {
    const auto& [eOperation, oKind] = GetParam();
    const std::map<std::string, size_t> aBefore = Digest();
    constexpr int64_t kEnoughCalls = 10000;
    for (int64_t llCall = 1;; ++llCall) {
        ASSERT_LT(llCall, kEnoughCalls) << "the operation never ran to its end";
        InjectSqliteFault(llCall, oKind.m_eFault);
        bool bSucceeded = false;
        std::string sError;
        try {
            bSucceeded = Run(eOperation);
        } catch (const AutomationError& oError) {
            sError = oError.Description();
        }
        const bool bFaultMet = !SqliteFaultPending();
        ClearSqliteFault();
        if (!bFaultMet) {
            EXPECT_TRUE(bSucceeded) << sError;
            EXPECT_NE(Digest(), aBefore) << "the operation ran to its end but changed nothing";
            break;
        }
        ASSERT_FALSE(sError.empty()) << "call " << llCall << " failed, yet the operation reported "
                                     << (bSucceeded ? "success" : "nothing");
        EXPECT_NE(sError.find(m_oStore->Path()), std::string::npos) << sError;
        EXPECT_NE(sError.find(oKind.m_sSaid), std::string::npos) << sError;
        ASSERT_FALSE(Database().InTransaction()) << "call " << llCall << " left a transaction open";
        ASSERT_EQ(IntegrityCheck(), "ok") << "after call " << llCall;
        ASSERT_EQ(Digest(), aBefore)
            << "the operation failed at call " << llCall << " but changed the database";
    }
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<Operation, FaultKind>>& p_oInfo) {
    constexpr const char* kOperations[] = {"Import", "SaveLayout", "WatchListChange"};
    return std::string(kOperations[static_cast<int>(std::get<0>(p_oInfo.param))]) +
           std::get<1>(p_oInfo.param).m_sName;
}

INSTANTIATE_TEST_SUITE_P(Storage, StorageFaults,
                         ::testing::Combine(::testing::Values(Operation::Import,
                                                              Operation::SaveLayout,
                                                              Operation::WatchListChange),
                                            ::testing::ValuesIn(kFaultKinds)),
                         CaseName);

}  // namespace
}  // namespace qv::facade
