#include "facade/market_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "facade/facade_test_files.h"
#include "facade/market_schema.h"
#include "facade/screen_criteria.h"
#include "facade/screen_store.h"
#include "facade/sqlite_database.h"
#include "support/test_helpers.h"

namespace qv::facade {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteText;

// Opened for reading only, a missing file is an error and is not created.
TEST(MarketStore, CreatesTheCurrentSchemaInWalModeWithItsFolderOrInAnEmptyFile) {
    ScratchFolder oFolder;
    EXPECT_THROW(MarketStore(oFolder.File("missing.db"), MarketStore::Access::ReadOnly),
                 FacadeError);
    EXPECT_FALSE(std::filesystem::exists(oFolder.File("missing.db")));
    const std::string sEmpty = oFolder.File("empty.db");
    WriteText(sEmpty, "");
    for (const std::string& sPath : {oFolder.File("nested/folder/market.db"), sEmpty}) {
        MarketStore oStore(sPath, MarketStore::Access::ReadWrite);
        SqlDatabase& oDatabase = oStore.Database();
        EXPECT_TRUE(oStore.WasCreated()) << sPath;
        EXPECT_EQ(SchemaVersion(oDatabase), LatestSchemaVersion());
        EXPECT_EQ(oDatabase.QueryInt64("PRAGMA application_id"), kMarketApplicationId);
        EXPECT_EQ(oDatabase.QueryInt64("SELECT journal_mode = 'wal' FROM pragma_journal_mode"), 1);
        EXPECT_GT(oDatabase.QueryInt64("SELECT count(*) FROM field_catalogue"), 0);
        EXPECT_GT(oDatabase.QueryInt64("SELECT count(*) FROM layouts WHERE owner_id = 0"), 0);
        EXPECT_FALSE(oStore.HasMarketData());
    }
}

TEST(MarketStore, UpgradesAnOlderSchemaKeepingItsRowsAndRebuildingItsDailyData) {
    ScratchFolder oFolder;
    const std::string sPath = oFolder.File("market.db");
    {
        SqliteDatabase oOld(sPath, SqliteDatabase::OpenMode::Create);
        MigrateSchema(oOld, 1);
        // Bars of a 2:1 split, their derived data written before the latest basis.
        oOld.Execute(
            "INSERT INTO sectors (sector_code, name) VALUES (7, 'Energy');"
            "INSERT INTO industries VALUES (1, 'Oil', 7); INSERT INTO stocks VALUES (1, 'X', 'X', "
            "1);"
            "INSERT INTO stock_bars (day_key, close, adj_close, volume) VALUES "
            "(4194304 + 44000, 2000000, 1000000, 500), (4194304 + 44001, 1000000, 1000000, 1000)");
    }
    EXPECT_THROW(MarketStore(sPath, MarketStore::Access::ReadOnly), FacadeError);
    MarketStore oStore(sPath, MarketStore::Access::ReadWrite);
    EXPECT_FALSE(oStore.WasCreated());
    EXPECT_EQ(SchemaVersion(oStore.Database()), LatestSchemaVersion());
    EXPECT_EQ(oStore.Database().QueryInt64("SELECT sector_code FROM sectors WHERE name = 'Energy'"),
              7);
    EXPECT_GT(oStore.Database().QueryInt64("SELECT count(*) FROM field_catalogue"), 0);
    EXPECT_EQ(oStore.Database().QueryInt64(
                  "SELECT count(*) FROM stock_days WHERE close = 100 AND volume = 1000"),
              2);
    EXPECT_EQ(oStore.Database().QueryInt64("SELECT sum(close) FROM stock_days_traded"), 300);
}

// Before its origin was recorded, only the generator wrote fundamentals: an older market is the
// sample when every stock has them, so no real stock is taken for the sample's and removed.
TEST(MarketStore, AnUpgradeTellsASampleFromImportedDataByTheirFundamentals) {
    const std::string sStocks =
        "INSERT INTO sectors VALUES (1, 'S'); INSERT INTO industries VALUES (1, 'I', 1); "
        "INSERT INTO stocks VALUES (1, 'X', 'X', 1), (2, 'Y', 'Y', 1); INSERT INTO fundamentals "
        "(stock_id) VALUES ";
    const std::pair<std::string, const char*> aCases[] = {
        {"", "No market data yet"},
        {sStocks + "(1)", "Imported market data"},
        {sStocks + "(1), (2)", "Generated sample market"}};
    for (const auto& [sOldRows, sOrigin] : aCases) {
        ScratchFolder oFolder;
        {
            SqliteDatabase oOld(oFolder.File("market.db"), SqliteDatabase::OpenMode::Create);
            MigrateSchema(oOld, 5);
            oOld.Execute(sOldRows);
        }
        MarketStore oStore(oFolder.File("market.db"), MarketStore::Access::ReadWrite);
        EXPECT_EQ(MarketOriginText(oStore.Summary().m_oOrigin), sOrigin);
    }
}

// The market file of an earlier version gets the shipped screens, each of which the language
// reads for its kind of rows, and keeps what its owners saved.
TEST(MarketStore, AnUpgradeAddsTheShippedScreensAndKeepsTheOwnersData) {
    ScratchFolder oFolder;
    {
        SqliteDatabase oOld(oFolder.File("market.db"), SqliteDatabase::OpenMode::Create);
        MigrateSchema(oOld, 7);
        oOld.Execute(
            "INSERT INTO owners (owner_id, name) VALUES (5, 'ada');"
            "INSERT INTO watch_lists (owner_id, list_type, name) VALUES (5, 0, 'Mine')");
    }
    MarketStore oStore(oFolder.File("market.db"), MarketStore::Access::ReadWrite);
    EXPECT_EQ(oStore.Database().QueryInt64("SELECT count(*) FROM watch_lists WHERE owner_id = 5"),
              1);
    const std::vector<ScreenRecord> aShipped = ScreenStore(oStore.Database()).Screens(0);
    EXPECT_EQ(aShipped.size(), 6u);
    const RowKind aKinds[] = {RowKind::Stock, RowKind::Industry, RowKind::Sector};
    for (const ScreenRecord& oScreen : aShipped) {
        EXPECT_NO_THROW(CompileScreenCriteria(oScreen.m_sCriteria, aKinds[oScreen.m_lResultType]))
            << oScreen.m_sName;
    }
}

// Portfolios of one owner whose names differ only in letter case, which an earlier version let
// through, keep their trades; the later ones take their id in brackets so the names can be unique.
TEST(MarketStore, AnUpgradeKeepsTradesOpenAndSeparatesPortfolioNamesOfOneOwner) {
    ScratchFolder oFolder;
    {
        SqliteDatabase oOld(oFolder.File("market.db"), SqliteDatabase::OpenMode::Create);
        MigrateSchema(oOld, 8);
        oOld.Execute(
            "INSERT INTO sectors VALUES (1, 'Tech'); INSERT INTO industries VALUES (1, 'Chips', 1);"
            "INSERT INTO stocks VALUES (1, 'X', 'X', 1);"
            "INSERT INTO owners (owner_id, name) VALUES (5, 'ada'), (6, 'bob');"
            "INSERT INTO portfolios (portfolio_id, owner_id, name) VALUES (1, 5, 'Main'),"
            " (2, 5, 'MAIN'), (3, 6, 'main');"
            "INSERT INTO trades (portfolio_id, stock_id, buy_date, shares, initial_price)"
            " VALUES (2, 1, 44000, 10, 5)");
    }
    MarketStore oStore(oFolder.File("market.db"), MarketStore::Access::ReadWrite);
    SqlDatabase& oDatabase = oStore.Database();
    EXPECT_EQ(
        oDatabase.QueryInt64("SELECT count(*) FROM portfolios WHERE name IN ('Main', "
                             "'MAIN (2)') AND owner_id = 5 OR name = 'main' AND owner_id = 6"),
        3);
    EXPECT_EQ(oDatabase.QueryInt64("SELECT count(*) FROM trades WHERE portfolio_id = 2 AND "
                                   "version = 1 AND sell_date IS NULL AND sell_price IS NULL"),
              1);
    EXPECT_THROW(oDatabase.Execute("INSERT INTO portfolios (owner_id, name) VALUES (6, 'MaIn')"),
                 FacadeError);
}

// Files that are not ours must be refused with their name, and left exactly as they were.
TEST(MarketStore, ForeignFilesAreRefusedByNameAndLeftUntouched) {
    using Make = std::function<void(const std::string&)>;
    const auto Ours = [](const std::string& p_sPath, const char* p_sSql) {
        SqliteDatabase oDatabase(p_sPath, SqliteDatabase::OpenMode::Create);
        MigrateSchema(oDatabase);
        oDatabase.Execute(p_sSql);
    };
    const std::pair<const char*, Make> aFiles[] = {
        {"text", [](const std::string& p_sPath) { WriteText(p_sPath, "Symbol,Name\nA,B\n"); }},
        {"other application",
         [](const std::string& p_sPath) {
             SqliteDatabase(p_sPath, SqliteDatabase::OpenMode::Create)
                 .Execute("CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('keep me')");
         }},
        {"newer schema",
         [&](const std::string& p_sPath) {
             Ours(p_sPath, "UPDATE schema_version SET version = 999");
         }},
        {"damaged",
         [&](const std::string& p_sPath) {
             Ours(p_sPath, "");
             std::string sBytes = ReadBytes(p_sPath);
             for (size_t i = 100; i < sBytes.size(); i += 7) {
                 sBytes[i] = static_cast<char>(sBytes[i] ^ 0x5A);
             }
             WriteText(p_sPath, sBytes);
         }},
    };
    for (const auto& [sName, fMake] : aFiles) {
        SCOPED_TRACE(sName);
        ScratchFolder oFolder;
        const std::string sPath = oFolder.File("foreign.db");
        fMake(sPath);
        const std::string sBefore = ReadBytes(sPath);
        const auto oModified = std::filesystem::last_write_time(sPath);
        for (const auto eAccess : {MarketStore::Access::ReadWrite, MarketStore::Access::ReadOnly}) {
            try {
                MarketStore oStore(sPath, eAccess);
                ADD_FAILURE() << "opened it";
            } catch (const FacadeError& oError) {
                EXPECT_EQ(oError.Path(), sPath);
                EXPECT_NE(oError.Description().find(sPath), std::string::npos)
                    << oError.Description();
            }
        }
        EXPECT_EQ(ReadBytes(sPath), sBefore);
        EXPECT_EQ(std::filesystem::last_write_time(sPath), oModified);
        EXPECT_FALSE(std::filesystem::exists(sPath + "-wal") ||
                     std::filesystem::exists(sPath + "-journal"));
    }
}

// Two processes write the same file at once; the busy timeout makes the second wait for the
// first, so every row of both arrives.
TEST(MarketStore, TwoProcessesShareOneFile) {
    ScratchFolder oFolder;
    const std::string sPath = oFolder.File("two.db");
    const auto WriteSectors = [&](int p_lFirst) {
        MarketStore oStore(sPath, MarketStore::Access::ReadWrite);
        for (int i = p_lFirst; i < p_lFirst + 50; ++i) {
            oStore.Database().Execute("INSERT INTO sectors VALUES (" + std::to_string(i) + ", 's" +
                                      std::to_string(i) + "')");
        }
    };
    const pid_t lChild = fork();
    ASSERT_GE(lChild, 0);
    if (lChild == 0) {
        try {
            WriteSectors(1000);
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    WriteSectors(1);
    int lStatus = 0;
    waitpid(lChild, &lStatus, 0);
    ASSERT_TRUE(WIFEXITED(lStatus));
    EXPECT_EQ(WEXITSTATUS(lStatus), 0);
    MarketStore oStore(sPath, MarketStore::Access::ReadOnly);
    EXPECT_EQ(oStore.Database().QueryInt64("SELECT count(*) FROM sectors"), 100);
}

// Regression: another program holding the database exclusively made the open report the file
// "damaged".
TEST(MarketStore, ADatabaseHeldExclusivelyIsBusyNotDamaged) {
    ScratchFolder oFolder;
    const std::string sPath = oFolder.File("held.db");
    { MarketStore oCreate(sPath, MarketStore::Access::ReadWrite); }
    {
        SqliteDatabase oHolder(sPath, SqliteDatabase::OpenMode::ReadWrite);
        oHolder.Execute("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; DELETE FROM sectors");
        for (const auto eAccess : {MarketStore::Access::ReadWrite, MarketStore::Access::ReadOnly}) {
            try {
                MarketStore oStore(sPath, eAccess, 20);
                ADD_FAILURE() << "opened a database another connection holds exclusively";
            } catch (const FacadeError& oError) {
                EXPECT_TRUE(oError.IsBusy()) << oError.Description();
                EXPECT_NE(oError.Description().find(sPath + ": the database is busy: another "
                                                            "program holds it locked"),
                          std::string::npos)
                    << oError.Description();
                EXPECT_EQ(oError.Description().find("damaged"), std::string::npos);
            }
        }
    }
    EXPECT_NO_THROW(MarketStore(sPath, MarketStore::Access::ReadWrite, 20));
}

// The variables are put back afterwards: the test main points the library folder at the build
// tree, and the tests after this one must not write to the real one.
TEST(MarketStore, DefaultPathFollowsTheEnvironment) {
    ScopedEnvironment oLibrary("QV_LIBRARY_DIR", "/tmp/qv-library");
    {
        ScopedEnvironment oDatabase("QV_DATABASE", "/tmp/explicit.db");
        EXPECT_EQ(DefaultMarketDatabasePath(), "/tmp/explicit.db");
    }
    ScopedEnvironment oNoDatabase("QV_DATABASE", nullptr);
    EXPECT_EQ(DefaultMarketDatabasePath(), "/tmp/qv-library/market.db");
}

}  // namespace
}  // namespace qv::facade
