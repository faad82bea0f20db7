// The importer and the facade components on the real market data of $QV_MARKET_DATA, called
// through dispatch as the viewer calls them and checked against values computed here from the CSV
// files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "facade/component_test_support.h"
#include "facade/csv_reader.h"
#include "facade/facade_components.h"
#include "facade/facade_test_files.h"
#include "facade/market_importer.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/text_util.h"
#include "outside/vb_date.h"

namespace qv::facade {
namespace {

namespace fs = std::filesystem;
using testing::Column;
using testing::Texts;

struct CsvBar {
    std::string m_sDate;
    double m_dAdjClose;
};

class RealMarketComponents : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const char* sFolder = std::getenv("QV_MARKET_DATA");
        if (sFolder == nullptr || !fs::exists(fs::path(sFolder) / "prices.csv.gz")) {
            return;
        }
        s_oFolder = std::make_unique<testing::ScratchFolder>();
        auto oStore = std::make_shared<MarketStore>(s_oFolder->File("real.db"),
                                                    MarketStore::Access::ReadWrite);
        s_oReport = MarketImporter(*oStore).ImportPaths({sFolder}, {});
        s_oStore = oStore;
        s_oBackend = std::make_shared<FacadeBackend>(oStore);
        s_oBackend->Login(kDemoOwnerId, "");
        ReadCsv(sFolder);
    }

    static void TearDownTestSuite() {
        s_oBackend.reset();
        s_oStore.reset();
        s_oFolder.reset();
    }

    void SetUp() override {
        if (!s_oStore) {
            GTEST_SKIP() << "QV_MARKET_DATA does not name the market data folder";
        }
        RegisterFacadeComponents(m_oPlatform.Components(), s_oBackend);
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
            s_aIndustryOf[std::string(aFields[0])] = std::string(aFields[3]);
        }
    }

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

    static bool Traded(const std::string& p_sSymbol, const std::string& p_sDate) {
        for (const CsvBar& oBar : s_aBars.at(p_sSymbol)) {
            if (oBar.m_sDate == p_sDate) {
                return true;
            }
        }
        return false;
    }

    static int32_t Day(const std::string& p_sDate) {
        int32_t lDay = 0;
        EXPECT_TRUE(ParseDayText(p_sDate, lDay));
        return lDay;
    }

    Variant Call(std::string_view p_sMethod, std::vector<Variant>& p_aArgs) {
        return CallMethod(*CreateObject(prog_id::kViewerReader), p_sMethod, p_aArgs);
    }

    ScopedTestPlatform m_oPlatform;
    static inline std::unique_ptr<testing::ScratchFolder> s_oFolder;
    static inline std::shared_ptr<MarketStore> s_oStore;
    static inline std::shared_ptr<FacadeBackend> s_oBackend;
    static inline ImportReport s_oReport;
    static inline std::map<std::string, std::vector<CsvBar>> s_aBars;
    static inline std::map<std::string, std::string> s_aSectorOf;
    static inline std::map<std::string, std::string> s_aIndustryOf;
};

TEST_F(RealMarketComponents, TheImportTakesEveryRowWithoutProblems) {
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

TEST_F(RealMarketComponents, RankingsSpreadOverOneToNinetyNine) {
    SqliteStatement oQuery = s_oStore->Database().Prepare(
        "SELECT min(rs_rank), max(rs_rank), count(rs_rank) FROM stock_days WHERE trade_date = ?1");
    oQuery.BindInt64(1, Day("2021-04-21"));
    ASSERT_TRUE(oQuery.Step());
    EXPECT_EQ(oQuery.ColumnInt64(0), 1);
    EXPECT_EQ(oQuery.ColumnInt64(1), 99);
    EXPECT_GT(oQuery.ColumnInt64(2), 450);
}

TEST_F(RealMarketComponents, ASymbolSearchGivesThePercentChangeOfTheFile) {
    for (const auto& [sSymbol, sDate] : {std::pair<std::string, std::string>{"AAPL", "2020-08-31"},
                                         {"MSFT", "2019-06-03"},
                                         {"brk-b", "2021-01-04"}}) {
        std::vector<Variant> aArgs{0,
                                   3,
                                   Variant::Date(Day(sDate)),
                                   -1,
                                   sSymbol,
                                   int16_t{0},
                                   int16_t{0},
                                   Variant(),
                                   Variant(),
                                   Variant::Nothing(),
                                   Variant::Nothing(),
                                   Variant(),
                                   0,
                                   0,
                                   0};
        Call("SearchStocks", aArgs);
        const std::shared_ptr<Recordset> rFound = RecordsetOf(aArgs[9]);
        ASSERT_EQ(rFound->RecordCount(), 1) << sSymbol;
        EXPECT_NEAR(rFound->Value("PctChange").ToDouble(), *CsvChange(ToUpperAscii(sSymbol), sDate),
                    1e-9);
        EXPECT_EQ(aArgs[11], Variant(Day(sDate)));
    }
}

TEST_F(RealMarketComponents, SectorsHaveTheMembersAndEqualWeightReturnOfTheFile) {
    const std::string sDate = "2020-03-16";
    std::map<std::string, std::pair<int, std::vector<double>>> aExpected;
    for (const auto& [sSymbol, aBars] : s_aBars) {
        if (!Traded(sSymbol, sDate)) {
            continue;
        }
        auto& oSector = aExpected[s_aSectorOf.at(sSymbol)];
        ++oSector.first;
        if (const std::optional<double> dChange = CsvChange(sSymbol, sDate)) {
            oSector.second.push_back(*dChange);
        }
    }
    testing::SectorViewerCall oCall;
    oCall.m_vStartDate = Variant::Date(Day(sDate));
    std::vector<Variant> aArgs = oCall.Args();
    Call("SectorViewer", aArgs);
    const std::shared_ptr<Recordset> rSectors =
        RecordsetOf(aArgs[facade_protocol::sector_viewer::kRows.Position]);
    ASSERT_EQ(rSectors->RecordCount(), 11);
    for (rSectors->MoveFirst(); !rSectors->IsEOF(); rSectors->MoveNext()) {
        const auto& [lMembers, aChanges] = aExpected.at(rSectors->Value("SectorName").ToString());
        EXPECT_EQ(rSectors->Value("Members").ToLong(), lMembers);
        double dSum = 0;
        for (const double dChange : aChanges) {
            dSum += dChange;
        }
        EXPECT_NEAR(rSectors->Value("PctChange").ToDouble(), dSum / aChanges.size(), 1e-9);
    }
}

TEST_F(RealMarketComponents, AWeekendTakesTheFridayAndASectorListsItsStocks) {
    const std::string sFriday = "2020-03-13";
    std::vector<Variant> aNames{"", Variant("03/14/2020")};
    const std::shared_ptr<Recordset> rSectorNames = RecordsetOf(Call("SearchSectorName", aNames));
    std::map<std::string, int32_t> aCodes;
    for (rSectorNames->MoveFirst(); !rSectorNames->IsEOF(); rSectorNames->MoveNext()) {
        aCodes[rSectorNames->Value("SectorName").ToString()] =
            rSectorNames->Value("SectorCode").ToLong();
    }
    const std::string sSector = "Energy";
    ASSERT_TRUE(aCodes.contains(sSector));
    std::set<std::string> aExpected;
    for (const auto& [sSymbol, sName] : s_aSectorOf) {
        if (sName == sSector && Traded(sSymbol, sFriday)) {
            aExpected.insert(sSymbol);
        }
    }
    testing::StockViewerCall oCall;
    oCall.m_vStartDate = Variant::Date(Day("2020-03-14"));
    oCall.m_lSectorCode = aCodes.at(sSector);
    oCall.m_iListScope = 2;
    oCall.m_bReturnAll = true;
    std::vector<Variant> aArgs = oCall.Args();
    Call("StockViewer", aArgs);
    using namespace facade_protocol::stock_viewer;
    EXPECT_EQ(aArgs[kStartTimeId.Position], Variant(Day(sFriday)));
    const std::vector<std::string> aSymbols = Texts(*RecordsetOf(aArgs[kRows.Position]), "Symbol");
    EXPECT_EQ(std::set<std::string>(aSymbols.begin(), aSymbols.end()), aExpected);
    const std::shared_ptr<Recordset> rSector = RecordsetOf(aArgs[kSecondaryRows.Position]);
    ASSERT_EQ(rSector->RecordCount(), 1);
    EXPECT_EQ(rSector->Value("SectorName"), Variant(sSector));
}

TEST_F(RealMarketComponents, AStockHistoryFollowsTheFile) {
    std::vector<Variant> aArgs{Variant::Date(Day("2020-08-24")),
                               Variant::Date(Day("2020-09-04")),
                               Variant("AAPL"),
                               Variant(),
                               Variant::Nothing(),
                               0,
                               -1,
                               false};
    const std::shared_ptr<Recordset> rDays = RecordsetOf(Call("HistoryStockEX", aArgs));
    std::vector<std::string> aExpected;
    for (const CsvBar& oBar : s_aBars.at("AAPL")) {
        if (oBar.m_sDate >= "2020-08-24" && oBar.m_sDate <= "2020-09-04") {
            aExpected.insert(aExpected.begin(), oBar.m_sDate);
        }
    }
    ASSERT_EQ(rDays->RecordCount(), static_cast<int32_t>(aExpected.size()));
    size_t i = 0;
    for (rDays->MoveFirst(); !rDays->IsEOF(); rDays->MoveNext(), ++i) {
        const int32_t lDay = static_cast<int32_t>(rDays->Value("Trading_Date").ToDate());
        EXPECT_EQ(IsoDateText(lDay), aExpected[i]);
        EXPECT_NEAR(rDays->Value("PctChange").ToDouble(), *CsvChange("AAPL", aExpected[i]), 1e-9);
    }
}

TEST_F(RealMarketComponents, AnIndustryHasTheMembersOfTheFile) {
    const std::string sDate = "2021-04-21";
    std::vector<Variant> aNames{Variant("Semiconductors"), int16_t{0}, 0, Variant("04/21/2021")};
    const std::shared_ptr<Recordset> rIndustry = RecordsetOf(Call("SearchIndustryName", aNames));
    ASSERT_GE(rIndustry->RecordCount(), 1);
    rIndustry->SetFilter("IndName = 'Semiconductors'");
    ASSERT_EQ(rIndustry->RecordCount(), 1);
    int64_t llMembers = 0;
    for (const auto& [sSymbol, sIndustry] : s_aIndustryOf) {
        llMembers += sIndustry == "Semiconductors" && Traded(sSymbol, sDate) ? 1 : 0;
    }
    std::vector<Variant> aArgs{0,
                               4,
                               Variant::Date(Day(sDate)),
                               -1,
                               rIndustry->Value("IndCode").ToString(),
                               int16_t{0},
                               Variant(),
                               Variant(),
                               Variant::Nothing(),
                               Variant::Nothing(),
                               Variant(),
                               0,
                               0,
                               0};
    Call("SearchIndustries", aArgs);
    const std::shared_ptr<Recordset> rFound = RecordsetOf(aArgs[8]);
    ASSERT_EQ(rFound->RecordCount(), 1);
    EXPECT_EQ(rFound->Value("Members").ToLong(), llMembers);
}

}  // namespace
}  // namespace qv::facade
