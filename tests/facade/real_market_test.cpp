// The importer on the real market data of $QV_MARKET_DATA, checked against values computed here
// straight from the CSV files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "facade/csv_reader.h"
#include "facade/day_serial.h"
#include "facade/facade_test_files.h"
#include "facade/market_importer.h"
#include "facade/market_queries.h"
#include "facade/market_store.h"
#include "facade/sqlite_database.h"

namespace qv::facade {
namespace {

namespace fs = std::filesystem;

struct CsvBar {
    std::string m_sDate;
    double m_dAdjClose;
};

// The real market, imported once for the suite, and the CSV read the plain way.
class RealMarket : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const char* sFolder = std::getenv("QV_MARKET_DATA");
        if (sFolder == nullptr || !fs::exists(fs::path(sFolder) / "prices.csv.gz")) {
            return;
        }
        s_oFolder = std::make_unique<testing::ScratchFolder>();
        s_oStore = std::make_unique<MarketStore>(s_oFolder->File("real.db"),
                                                 MarketStore::Access::ReadWrite);
        s_oReport = MarketImporter(*s_oStore).ImportPaths({sFolder}, {});
        ReadCsv(sFolder);
    }

    static void TearDownTestSuite() {
        s_oStore.reset();
        s_oFolder.reset();
    }

    void SetUp() override {
        if (!s_oStore) {
            GTEST_SKIP() << "QV_MARKET_DATA does not name the market data folder";
        }
    }

    static void ReadCsv(const fs::path& p_oFolder) {
        std::vector<std::string_view> aFields;
        GzipFileSource oPrices((p_oFolder / "prices.csv.gz").string());
        CsvReader oPriceReader(oPrices);
        oPriceReader.ReadRecord(aFields);
        while (oPriceReader.ReadRecord(aFields)) {
            s_aBars[std::string(aFields[0])].push_back(
                {std::string(aFields[1]), std::stod(std::string(aFields[6]))});
        }
        GzipFileSource oConstituents((p_oFolder / "constituents.csv").string());
        CsvReader oReader(oConstituents);
        oReader.ReadRecord(aFields);
        while (oReader.ReadRecord(aFields)) {
            s_aSectorOf[std::string(aFields[0])] = std::string(aFields[2]);
        }
    }

    // The percent change of a stock on a day, from the adjusted closes of the CSV.
    static std::optional<double> CsvChange(const std::string& p_sSymbol,
                                           const std::string& p_sDate) {
        const std::vector<CsvBar>& aBars = s_aBars.at(p_sSymbol);
        for (size_t i = 1; i < aBars.size(); ++i) {
            if (aBars[i].m_sDate == p_sDate) {
                return (aBars[i].m_dAdjClose / aBars[i - 1].m_dAdjClose - 1.0) * 100.0;
            }
        }
        return std::nullopt;
    }

    static int32_t Day(const std::string& p_sDate) {
        int32_t lDay = 0;
        EXPECT_TRUE(ParseDayText(p_sDate, lDay));
        return lDay;
    }

    static inline std::unique_ptr<testing::ScratchFolder> s_oFolder;
    static inline std::unique_ptr<MarketStore> s_oStore;
    static inline ImportReport s_oReport;
    static inline std::map<std::string, std::vector<CsvBar>> s_aBars;
    static inline std::map<std::string, std::string> s_aSectorOf;
};

TEST_F(RealMarket, ImportsEveryRowWithoutProblems) {
    EXPECT_EQ(s_oReport.m_llPriceRowsRead, 346584);
    EXPECT_EQ(s_oReport.m_llPriceRowsImported, 346584);
    EXPECT_EQ(s_oReport.m_llRowsSkipped, 0);
    const MarketSummary oSummary = s_oStore->Summary();
    EXPECT_EQ(oSummary.m_llStocks, 463);
    EXPECT_EQ(oSummary.m_llSectors, 11);
    EXPECT_EQ(oSummary.m_llIndustries, 123);
    EXPECT_EQ(IsoDateText(oSummary.m_lFirstDate), "2018-04-23");
    EXPECT_EQ(IsoDateText(oSummary.m_lLastDate), "2021-04-21");
}

TEST_F(RealMarket, PercentChangesMatchTheFile) {
    MarketQueries oQueries(s_oStore->Database());
    // Apple's 4-for-1 split on 2020-08-31 must not show as a crash.
    for (const auto& [sSymbol, sDate] : {std::pair<std::string, std::string>{"AAPL", "2020-08-31"},
                                         {"AAPL", "2020-03-16"},
                                         {"MSFT", "2019-06-03"},
                                         {"BRK-B", "2021-01-04"}}) {
        ListRequest oRequest;
        oRequest.m_aFields = {"Symbol", "PctChange"};
        oRequest.m_aKeys = {sSymbol};
        oRequest.m_lDate = Day(sDate);
        const ListResult oResult = oQueries.Stocks(oRequest);
        ASSERT_EQ(oResult.m_oTable.m_aRows.size(), 1u) << sSymbol;
        const std::optional<double> dExpected = CsvChange(sSymbol, sDate);
        ASSERT_TRUE(dExpected) << sSymbol << " " << sDate;
        EXPECT_NEAR(std::get<double>(oResult.m_oTable.Value(0, "PctChange")), *dExpected, 1e-9)
            << sSymbol << " " << sDate;
    }
}

TEST_F(RealMarket, SectorMembersAndEqualWeightReturnMatchTheFile) {
    const std::string sDate = "2020-03-16";
    struct Expected {
        int64_t m_llMembers = 0;
        int64_t m_llChanges = 0;
        double m_dSum = 0;
    };
    std::map<std::string, Expected> aExpected;
    for (const auto& [sSymbol, aBars] : s_aBars) {
        const bool bTraded = std::any_of(aBars.begin(), aBars.end(),
                                         [&](const CsvBar& oBar) { return oBar.m_sDate == sDate; });
        if (!bTraded) {
            continue;
        }
        Expected& oSector = aExpected[s_aSectorOf.at(sSymbol)];
        ++oSector.m_llMembers;
        if (const std::optional<double> dChange = CsvChange(sSymbol, sDate)) {
            ++oSector.m_llChanges;
            oSector.m_dSum += *dChange;
        }
    }
    MarketQueries oQueries(s_oStore->Database());
    ListRequest oRequest;
    oRequest.m_aFields = {"SectorName", "Members", "PctChange", "IndexValue", "PriceChange"};
    oRequest.m_lDate = Day(sDate);
    const ListResult oResult = oQueries.Sectors(oRequest);
    ASSERT_EQ(oResult.m_oTable.m_aRows.size(), 11u);
    for (size_t i = 0; i < oResult.m_oTable.m_aRows.size(); ++i) {
        const std::string sSector = std::get<std::string>(oResult.m_oTable.Value(i, "SectorName"));
        const Expected& oExpected = aExpected.at(sSector);
        EXPECT_EQ(std::get<int64_t>(oResult.m_oTable.Value(i, "Members")), oExpected.m_llMembers)
            << sSector;
        const double dAverage = oExpected.m_dSum / static_cast<double>(oExpected.m_llChanges);
        EXPECT_NEAR(std::get<double>(oResult.m_oTable.Value(i, "PctChange")), dAverage, 1e-9);
        // The index moved by exactly the average return of the members.
        const double dIndex = std::get<double>(oResult.m_oTable.Value(i, "IndexValue"));
        const double dChange = std::get<double>(oResult.m_oTable.Value(i, "PriceChange"));
        EXPECT_NEAR(dChange / (dIndex - dChange) * 100.0, dAverage, 1e-9) << sSector;
    }
}

TEST_F(RealMarket, RankingsSpreadOverOneToNinetyNineEachDay) {
    SqliteStatement oQuery = s_oStore->Database().Prepare(
        "SELECT min(rs_rank), max(rs_rank), count(rs_rank) FROM stock_days WHERE trade_date = ?1");
    oQuery.BindInt64(1, Day("2021-04-21"));
    ASSERT_TRUE(oQuery.Step());
    EXPECT_EQ(oQuery.ColumnInt64(0), 1);
    EXPECT_EQ(oQuery.ColumnInt64(1), 99);
    EXPECT_GT(oQuery.ColumnInt64(2), 450);
}

}  // namespace
}  // namespace qv::facade
