// The importer against a bare bulk insert, and the time to generate the default sample market.
//
//   facade_import         MarketImporter over the real data of $QV_MARKET_DATA (default
//                         ../shared/data/market): reading the gzip CSV, codes, bars, derived
//                         metrics, rankings and group aggregates, in one transaction
//   facade_bare_insert    the same price rows, parsed beforehand, inserted with one prepared
//                         statement in one transaction into a table of the same columns
//
// Both write a new database file with the same settings (WAL, synchronous NORMAL). Without the
// data folder the ratio is skipped with a message. The generation of the default market
// (3000 stocks, three years) runs once and prints its time against the one-minute budget.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/ratio.h"
#include "facade/csv_reader.h"
#include "facade/market_importer.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "outside/vb_date.h"

namespace {

namespace fs = std::filesystem;
using namespace qv::facade;

struct PriceRow {
    int64_t m_llStockId;
    int32_t m_lDate;
    double m_aPrices[5];
    int64_t m_llVolume;
};

fs::path DataFolder() {
    const char* sFolder = std::getenv("QV_MARKET_DATA");
    return sFolder != nullptr && *sFolder != '\0' ? fs::path(sFolder)
                                                  : fs::path("../shared/data/market");
}

fs::path ScratchFile(const char* p_sName) {
    static const fs::path oFolder = [] {
        std::string sTemplate = (fs::temp_directory_path() / "qv-bench-XXXXXX").string();
        return fs::path(mkdtemp(sTemplate.data()));
    }();
    return oFolder / p_sName;
}

void RemoveDatabase(const fs::path& p_oPath) {
    for (const char* sSuffix : {"", "-wal", "-shm"}) {
        fs::remove(p_oPath.string() + sSuffix);
    }
}

std::vector<PriceRow> ParsePrices(const fs::path& p_oFile) {
    GzipFileSource oSource(p_oFile.string());
    CsvReader oReader(oSource);
    std::vector<std::string_view> aFields;
    oReader.ReadRecord(aFields);
    std::unordered_map<std::string, int64_t> aIds;
    std::vector<PriceRow> aRows;
    while (oReader.ReadRecord(aFields)) {
        PriceRow oRow{};
        const auto [it, bNew] = aIds.emplace(std::string(aFields[0]), aIds.size() + 1);
        oRow.m_llStockId = it->second;
        qv::ParseDayText(aFields[1], oRow.m_lDate);
        for (size_t i = 0; i < 5; ++i) {
            oRow.m_aPrices[i] = std::stod(std::string(aFields[2 + i]));
        }
        oRow.m_llVolume = std::stoll(std::string(aFields[7]));
        aRows.push_back(oRow);
    }
    return aRows;
}

void BareInsert(benchmark::State& p_oState, const std::vector<PriceRow>& p_aRows) {
    const fs::path oPath = ScratchFile("bare.db");
    for (auto _ : p_oState) {
        p_oState.PauseTiming();
        RemoveDatabase(oPath);
        {
            SqliteDatabase oDatabase(oPath.string(), SqliteDatabase::OpenMode::Create);
            oDatabase.Execute("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
            oDatabase.Execute(
                "CREATE TABLE prices (stock_id INTEGER NOT NULL, trade_date INTEGER NOT NULL, "
                "open REAL, high REAL, low REAL, close REAL NOT NULL, adj_close REAL NOT NULL, "
                "volume INTEGER NOT NULL)");
            p_oState.ResumeTiming();
            SqlTransaction oWork(oDatabase);
            SqlStatement oInsert =
                oDatabase.Prepare("INSERT INTO prices VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
            for (const PriceRow& oRow : p_aRows) {
                oInsert.BindInt64(1, oRow.m_llStockId);
                oInsert.BindInt64(2, oRow.m_lDate);
                for (int i = 0; i < 5; ++i) {
                    oInsert.BindDouble(3 + i, oRow.m_aPrices[i]);
                }
                oInsert.BindInt64(8, oRow.m_llVolume);
                oInsert.Run();
            }
            oWork.Commit();
        }
    }
}

void Import(benchmark::State& p_oState, const fs::path& p_oFolder) {
    const fs::path oPath = ScratchFile("import.db");
    for (auto _ : p_oState) {
        p_oState.PauseTiming();
        RemoveDatabase(oPath);
        {
            MarketStore oStore(oPath.string(), MarketStore::Access::ReadWrite);
            p_oState.ResumeTiming();
            const ImportReport oReport =
                MarketImporter(oStore).ImportPaths({p_oFolder.string()}, {});
            benchmark::DoNotOptimize(oReport.m_llPriceRowsImported);
        }
    }
}

void PrintGenerationTime() {
    const fs::path oPath = ScratchFile("sample.db");
    RemoveDatabase(oPath);
    const auto oStart = std::chrono::steady_clock::now();
    {
        MarketStore oStore(oPath.string(), MarketStore::Access::ReadWrite);
        GenerateSampleMarket(oStore, SampleMarketOptions{}, {});
    }
    const double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - oStart).count();
    std::printf("Generated the default sample market (3000 stocks, 756 trading days) in %.1f s\n",
                dSeconds);
    qv::bench::PrintRatio("facade.generate.minutes", dSeconds / 60.0, 1);
    RemoveDatabase(oPath);
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path oFolder = DataFolder();
    const fs::path oPrices = oFolder / "prices.csv.gz";
    std::vector<qv::bench::RatioSpec> aRatios;
    std::vector<PriceRow> aRows;
    if (fs::exists(oPrices) && fs::exists(oFolder / "constituents.csv")) {
        aRows = ParsePrices(oPrices);
        benchmark::RegisterBenchmark("facade_bare_insert", BareInsert, aRows)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        benchmark::RegisterBenchmark("facade_import", Import, oFolder)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
        aRatios.push_back(
            {"facade.import", "facade_import/iterations:3", "facade_bare_insert/iterations:3", 3});
    } else {
        std::printf("facade.import skipped: no market data in %s (set QV_MARKET_DATA)\n",
                    oFolder.string().c_str());
    }
    const int lStatus = qv::bench::RunWithRatios(argc, argv, aRatios);
    PrintGenerationTime();
    fs::remove_all(ScratchFile("").parent_path());
    return lStatus;
}
