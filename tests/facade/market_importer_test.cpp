#include "facade/market_importer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "facade/facade_test_files.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/scripted_services.h"
#include "outside/vb_date.h"

namespace qv::facade {
namespace {

using testing::ScratchFolder;
using testing::WriteGzip;
using testing::WriteText;

const std::string kConstituents =
    "Symbol,Name,Sector,Industry\n"
    "AAA,\"Alpha, Inc.\",Energy,Oil Refining\n"
    "BBB,Beta Corp,Energy,Pipelines\n"
    "CCC,Gamma Co,Utilities,\"Water, Gas & Power\"\n";

// Three trading days; BBB's middle day is bad in several ways across the cases below.
std::string Prices(const std::string& p_sBadRows = "") {
    return "Symbol,Date,Open,High,Low,Close,AdjClose,Volume\n"
           "AAA,2021-01-04,10,11,9,10,10,1000\n"
           "AAA,2021-01-05,10,12,10,11,11,2000\n"
           "AAA,2021-01-06,11,12,10,12.1,12.1,1500\n"
           "BBB,2021-01-04,20,21,19,20,20,500\n" +
           p_sBadRows +
           "BBB,2021-01-06,20,21,19,19,19,700\n"
           "CCC,2021-01-04,5,5,5,5,5,100\n"
           "ccc,2021-01-05,5,6,5,6,6,100\n";
}

std::string DayNumber(const std::string& p_sDay) {
    int32_t lDay = 0;
    EXPECT_TRUE(ParseDayText(p_sDay, lDay)) << p_sDay;
    return std::to_string(lDay);
}

class Importer : public ::testing::Test {
  protected:
    Importer() : m_oStore(m_oFolder.File("market.db"), MarketStore::Access::ReadWrite) {}

    ImportReport ImportFiles(const std::string& p_sPrices, bool p_bGzip = false) {
        WriteText(m_oFolder.File("constituents.csv"), kConstituents);
        const std::string sPrices = m_oFolder.File(p_bGzip ? "prices.csv.gz" : "prices.csv");
        (p_bGzip ? WriteGzip : WriteText)(sPrices, p_sPrices);
        return MarketImporter(m_oStore).ImportPaths({m_oFolder.File("constituents.csv"), sPrices},
                                                    {});
    }

    int64_t Count(const char* p_sSql) { return m_oStore.Database().QueryInt64(p_sSql); }

    // The error of an import that must fail, having written nothing.
    FacadeError Failure(const std::vector<std::string>& p_aPaths) {
        try {
            MarketImporter(m_oStore).ImportPaths(p_aPaths, {});
            ADD_FAILURE() << "the import succeeded";
        } catch (const FacadeError& oError) {
            EXPECT_EQ(Count("SELECT count(*) FROM stocks"), 0);
            EXPECT_EQ(Count("SELECT count(*) FROM stock_days"), 0);
            return oError;
        }
        return FacadeError("", 0, "");
    }

    // The first row of a query, its columns between spaces.
    std::string Row(const std::string& p_sSql) {
        SqlStatement oQuery = m_oStore.Database().Prepare(p_sSql);
        EXPECT_TRUE(oQuery.Step()) << p_sSql;
        std::string sRow;
        for (int lColumn = 0; lColumn < oQuery.ColumnCount(); ++lColumn) {
            sRow += (lColumn == 0 ? "" : " ") + oQuery.ColumnText(lColumn);
        }
        return sRow;
    }

    // The names of a table with their codes, in code order.
    std::string Codes(const std::string& p_sTable, const std::string& p_sCode) {
        return Row("SELECT group_concat(name || '=' || " + p_sCode +
                   ", ', ') FROM (SELECT * FROM " + p_sTable + " ORDER BY " + p_sCode + ")");
    }

    ScratchFolder m_oFolder;
    MarketStore m_oStore;
};

TEST_F(Importer, ReadsQuotedNamesAndGzipPricesAndAggregatesGroupsPerDay) {
    const ImportReport oReport = ImportFiles(Prices("BBB,2021-01-05,20,21,19,21,21,600\n"), true);
    EXPECT_EQ(oReport.m_llRowsSkipped, 0);
    EXPECT_EQ(oReport.m_llPriceRowsImported, 8);
    EXPECT_EQ(oReport.m_llStocksAdded, 3);
    // AAA on 2021-01-05: 10 -> 11 is +10 %.
    EXPECT_EQ(Row("SELECT (SELECT company_name FROM stocks WHERE symbol = 'AAA'), "
                  "(SELECT count(*) FROM stock_days), (SELECT count(*) FROM trading_days), "
                  "(SELECT round(pct_change, 9) FROM stock_days JOIN stocks USING (stock_id) "
                  "WHERE symbol = 'AAA' AND trade_date = " +
                  DayNumber("2021-01-05") + ")"),
              "Alpha, Inc. 8 3 10.0");
    EXPECT_EQ(Codes("industries", "ind_code"), "Oil Refining=1, Pipelines=2, Water, Gas & Power=3");
    // AAA +10 %, BBB +5 %: the equal-weight index of Energy rises by 7.5 % from 100.
    EXPECT_EQ(
        Row("SELECT member_count, advancing, round(avg_pct_change, 9), round(index_value, 9), "
            "total_volume FROM group_days WHERE group_kind = 2 AND group_code = 1 AND "
            "trade_date = " +
            DayNumber("2021-01-05")),
        "2 2 7.5 107.5 2600");
}

TEST_F(Importer, AssignsCodesInNameOrderAndKeepsThemOnReimport) {
    ImportFiles(Prices());
    EXPECT_EQ(Codes("sectors", "sector_code"), "Energy=1, Utilities=2");
    // A new sector that sorts first gets the next code; the old codes stay.
    WriteText(m_oFolder.File("more.csv"),
              "Symbol,Name,Sector,Industry\nAAB,Aardvark,Consumer Staples,Beverages\n");
    const ImportReport oReport =
        MarketImporter(m_oStore).ImportPaths({m_oFolder.File("more.csv")}, {});
    EXPECT_EQ(oReport.m_llSectorsAdded, 1);
    EXPECT_EQ(Codes("sectors", "sector_code"), "Energy=1, Utilities=2, Consumer Staples=3");
    EXPECT_EQ(Count("SELECT stock_id FROM stocks WHERE symbol = 'AAB'"), 4);
    EXPECT_EQ(Count("SELECT count(*) FROM stock_days"), 7);
}

TEST_F(Importer, AReimportMergesNewDaysAndReplacesChangedOnes) {
    ImportFiles(Prices());
    WriteText(m_oFolder.File("later.csv"),
              "Symbol,Date,Close\nAAA,2021-01-06,13.2\nAAA,2021-01-07,13.2\n");
    MarketImporter(m_oStore).ImportPaths({m_oFolder.File("later.csv")}, {});
    EXPECT_EQ(
        Row("SELECT count(*), max(close), (SELECT count(*) FROM trading_days) FROM stock_days "
            "JOIN stocks USING (stock_id) WHERE symbol = 'AAA'"),
        "4 13.2 4");
    // Within one file, the later of two rows for one day wins.
    ImportFiles(Prices("BBB,2021-01-06,20,21,19,18,18,700\n"));
    EXPECT_EQ(Row("SELECT close FROM stock_days JOIN stocks USING (stock_id) WHERE symbol = 'BBB' "
                  "ORDER BY trade_date DESC LIMIT 1"),
              "19.0");
}

// The bad row is line 6 of the price file; it is skipped, the rest is imported. The message
// quotes a short excerpt of the bad field, whatever its length.
TEST_F(Importer, BadRowsAreSkippedAndReportedWithTheirLine) {
    const std::pair<std::string, const char*> aCases[] = {
        {"BBB,2021-01-05\n", "fields"},
        {"BBB,2021-13-05,1,1,1,1,1,1\n", "date"},
        {"BBB,1850-01-05,1,1,1,1,1,1\n", "date"},
        {"BBB,2021-01-05,1,1,1,abc,1,1\n", "Close"},
        {"BBB,2021-01-05,1,1,1,0,1,1\n", "Close"},
        {"BBB,2021-01-05,1,1,1,1,1,-5\n", "Volume"},
        {"ZZZ,2021-01-05,1,1,1,1,1,1\n", "unknown symbol"},
        {" ,2021-01-05,1,1,1,1,1,1\n", "symbol"},
        {"BBB,2021-01-06,20,21,19,18,18,700\n", "again"},
        // Regressions: these were stored as garbage (1e16 came out as -9.22e14).
        {"BBB,2021-01-05,1,1,1,1e300,1,1\n", "Close"},
        {"BBB,2021-01-05,1,1,1,1e16,1,1\n", "Close"},
        {"BBB,2021-01-05,1,1,1,nan,1,1\n", "Close"},
        {"BBB,2021-01-05,1,inf,1,1,1,1\n", "High"},
        {"BBB,2021-01-05,1,1,1,0.00001,1,1\n", "Close"},
        {"BBB,2021-01-05,1,1,1,1,1,1e300\n", "Volume"},
        {"BBB,2021-01-05,1,1,1,1,1,9007199254740993\n", "Volume"},
        {"BBB,2021-01-05,1,1,1," + std::string(60000, '7') + "x,1,1\n", "(60001 bytes)"}};
    for (const auto& [sRow, sSays] : aCases) {
        SCOPED_TRACE(sRow.substr(0, 50));
        const ImportReport oReport = ImportFiles(Prices(sRow));
        EXPECT_EQ(oReport.m_llRowsSkipped, 1);
        ASSERT_EQ(oReport.m_aProblems.size(), 1u);
        const auto& oProblem = oReport.m_aProblems[0];
        EXPECT_EQ(oProblem.m_llLine, 6);
        EXPECT_NE(oProblem.m_sFile.find("prices.csv"), std::string::npos);
        EXPECT_NE(oProblem.m_sMessage.find(sSays), std::string::npos) << oProblem.m_sMessage;
        EXPECT_LT(oProblem.m_sMessage.size(), 200u);
        EXPECT_EQ(Count("SELECT count(*) FROM stock_days"), 7);
    }
}

// A regression: names that were not UTF-8 or held control characters were imported raw, and
// went on into lists, exports and logs as they came.
TEST_F(Importer, NamesThatAreNotUtf8OrHoldControlCharactersAreSkippedAndReported) {
    const std::pair<std::string, const char*> aCases[] = {
        {"DDD,Delta\x07,Energy,Pipelines\n", "the name 'Delta\\x07' holds a control character"},
        {"DDD,Delta,Energ\xE9,Pipelines\n", "the sector 'Energ\\xE9' holds a byte that is not"},
        {"D\033D,Delta,Energy,Pipelines\n", "the symbol"},
        {"DDD,\"Delta\nTwo\",Energy,Pipelines\n", "control character (\\x0A)"},
    };
    for (const auto& [sRow, sSays] : aCases) {
        WriteText(m_oFolder.File("constituents.csv"), kConstituents + sRow);
        const ImportReport oReport =
            MarketImporter(m_oStore).ImportPaths({m_oFolder.File("constituents.csv")}, {});
        EXPECT_EQ(oReport.m_llRowsSkipped, 1);
        ASSERT_EQ(oReport.m_aProblems.size(), 1u);
        EXPECT_EQ(oReport.m_aProblems[0].m_llLine, 5);
        EXPECT_NE(oReport.m_aProblems[0].m_sMessage.find(sSays), std::string::npos)
            << oReport.m_aProblems[0].m_sMessage;
        EXPECT_EQ(Count("SELECT count(*) FROM stocks"), 3);
    }
}

// (Lines too long and NUL bytes are the CSV reader's to find.)
TEST_F(Importer, AFileThatCannotBeReadAsPricesFailsTheImportNamingIt) {
    std::string sDays = "Symbol,Date,Close\n";
    for (int32_t lDay = 0; lDay < 4000; ++lDay) {
        sDays += "AAA," + IsoDateText(40000 + lDay) + "," + std::to_string(10 + lDay % 7) + "\n";
    }
    WriteGzip(m_oFolder.File("prices.csv.gz"), sDays);
    const std::string sGzip = testing::ReadBytes(m_oFolder.File("prices.csv.gz"));
    std::string sFlipped = sGzip;
    sFlipped[sFlipped.size() / 2] = static_cast<char>(sFlipped[sFlipped.size() / 2] ^ 0x55);
    struct Case {
        const char* m_sName;
        std::optional<std::string> m_sText;  // none: the file is missing
        const char* m_sFile = "prices.csv";
    };
    const Case aCases[] = {
        {"unknown header", "Ticker,When,Last\nAAA,2021-01-04,10\n"},
        {"missing", std::nullopt},
        {"cut gzip", sGzip.substr(0, sGzip.size() * 3 / 5), "prices.csv.gz"},
        {"damaged gzip", sFlipped, "prices.csv.gz"},
    };
    WriteText(m_oFolder.File("constituents.csv"), kConstituents);
    for (const Case& oCase : aCases) {
        SCOPED_TRACE(oCase.m_sName);
        const std::string sPrices = m_oFolder.File(oCase.m_sFile);
        std::filesystem::remove(sPrices);
        if (oCase.m_sText) {
            WriteText(sPrices, *oCase.m_sText);
        }
        EXPECT_EQ(Failure({m_oFolder.File("constituents.csv"), sPrices}).Path(), sPrices);
    }
}

// A regression: the total volume of a group's day was summed in 64 bits unchecked, which
// overflowed (undefined behaviour) for a large group of heavily traded stocks.
TEST_F(Importer, AGroupsTotalVolumeBeyond64BitsFailsTheImport) {
    std::string sConstituents = "Symbol,Name,Sector,Industry\n";
    std::string sPrices = "Symbol,Date,Close,Volume\n";
    for (int i = 0; i < 1100; ++i) {
        const std::string sSymbol = "S" + std::to_string(i);
        sConstituents += sSymbol + ",Stock " + sSymbol + ",Energy,Pipelines\n";
        sPrices += sSymbol + ",2021-01-04,10,9000000000000000\n";
    }
    WriteText(m_oFolder.File("constituents.csv"), sConstituents);
    WriteText(m_oFolder.File("prices.csv"), sPrices);
    const FacadeError oError =
        Failure({m_oFolder.File("constituents.csv"), m_oFolder.File("prices.csv")});
    EXPECT_NE(oError.Description().find("total volume of industry group 1 on 2021-01-04"),
              std::string::npos)
        << oError.Description();
}

// An import into a generated sample replaces its market and keeps what the owners made.
class ImportOverSample : public Importer {
  protected:
    ImportOverSample() {
        GenerateSampleMarket(m_oStore, {.m_lStocks = 12, .m_lIndustries = 3, .m_lTradingDays = 10},
                             {});
        m_sOwned = Row(kOwnedRows);
        m_sSample = Row(kMarketRows);
        std::filesystem::create_directory(m_oFolder.File("data"));
        WriteText(m_oFolder.File("data/constituents.csv"), kConstituents);
        WriteText(m_oFolder.File("data/prices.csv"), Prices());
    }

    ImportReport ImportFolder(const ProgressFn& p_fProgress = {}) {
        return MarketImporter(m_oStore).ImportPaths({m_oFolder.File("data/")}, p_fProgress);
    }

    static constexpr const char* kOwnedRows =
        "SELECT (SELECT count(*) FROM owners), (SELECT count(*) FROM layouts), (SELECT count(*) "
        "FROM default_layouts), (SELECT count(*) FROM watch_lists), (SELECT count(*) FROM "
        "portfolios)";
    static constexpr const char* kMarketRows =
        "SELECT (SELECT count(*) FROM stocks), (SELECT count(*) FROM stock_days), (SELECT "
        "count(*) FROM group_days), (SELECT count(*) FROM fundamentals), (SELECT count(*) FROM "
        "watch_list_items), (SELECT count(*) FROM trades), (SELECT count(*) FROM trading_days)";
    ScopedTestPlatform m_oPlatform;
    std::string m_sOwned;
    std::string m_sSample;
};

TEST_F(ImportOverSample, ReplacesTheSampleAndKeepsTheOwnersListsAndPortfoliosEmptied) {
    EXPECT_TRUE(ImportFolder().m_bReplacedSample);
    EXPECT_EQ(Row(kMarketRows), "3 7 12 0 0 0 3");
    EXPECT_EQ(Row(kOwnedRows), m_sOwned);
    EXPECT_EQ(MarketOriginText(ReadMarketOrigin(m_oStore.Database())),
              "Imported from " + m_oFolder.File("data") + " on 2026-12-04");
}

// A cancel while the sample goes, one at the last report before the commit, and an import
// without constituents, which has nothing to replace the sample with.
TEST_F(ImportOverSample, AnImportThatStopsLeavesTheSampleWhole) {
    struct Cancel {};
    for (const char* sStage : {"Replacing the generated sample market", "Writing daily bars", ""}) {
        SCOPED_TRACE(sStage);
        if (*sStage == '\0') {
            std::filesystem::remove(m_oFolder.File("data/constituents.csv"));
        }
        EXPECT_ANY_THROW(
            ImportFolder([&](const std::string& p_sStage, int64_t p_llDone, int64_t p_llTotal) {
                if (p_sStage == sStage && p_llDone == p_llTotal) {
                    throw Cancel{};
                }
            }));
        EXPECT_EQ(Row(kMarketRows), m_sSample);
        EXPECT_EQ(Row(kOwnedRows), m_sOwned);
        EXPECT_EQ(ReadMarketOrigin(m_oStore.Database()).m_eKind, MarketOrigin::Kind::Sample);
    }
}

// Regression: deleting or replacing the database file during an import ended in "Imported" and
// the data was gone with the old file.
TEST(ImporterFileSwaps, AnImportIntoADeletedOrReplacedFileFailsNamingIt) {
    for (const testing::FileSwap& oSwap : testing::FileSwaps()) {
        ScratchFolder oFolder;
        const std::string sPath = oFolder.File("market.db");
        MarketStore oStore(sPath, MarketStore::Access::ReadWrite);
        std::vector<ImportInput> aInputs;
        aInputs.push_back({"constituents.csv", std::make_unique<StringSource>(kConstituents)});
        aInputs.push_back({"prices.csv", std::make_unique<StringSource>(Prices())});
        bool bSwapped = false;
        const ProgressFn fSwapOnce = [&](const std::string&, int64_t, int64_t) {
            if (!std::exchange(bSwapped, true)) {
                oSwap.m_fSwap(sPath);
            }
        };
        try {
            MarketImporter(oStore).Import(std::move(aInputs), fSwapOnce);
            ADD_FAILURE() << oSwap.m_sName << ": the import reported success";
        } catch (const FacadeError& oError) {
            EXPECT_EQ(oError.Path(), sPath);
            EXPECT_NE(oError.Message().find(oSwap.m_sSaid), std::string::npos)
                << oError.Description();
        }
        EXPECT_TRUE(bSwapped);
    }
}

}  // namespace
}  // namespace qv::facade
