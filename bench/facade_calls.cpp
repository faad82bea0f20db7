// The facade's list calls through dispatch against hand-written SQL that reads the same rows and
// columns, on the real market of $QV_MARKET_DATA (default ../shared/data/market) and on a
// generated market of 5,000 stocks:
//
//   facade_<call>_<market>   the call as the viewer makes it: a component created by ProgID,
//                            the arguments in the caller's order, the layout in force sent along,
//                            a login time code checked, every by-reference result written back
//                            (the rows and the rows below them as recordsets, the field catalogue)
//   sql_<call>_<market>      prepared statements over the same row sources: the layout's fields by
//                            the catalogue's expressions, the same rows, order and limit, every
//                            value of every row read. One statement per set of rows the call
//                            returns: the stock and industry lists also return the rows of the
//                            grid below them, which have other fields than the list's.
//
// Calls: "StockViewer" (500 rows by the stock layout's sort, the industry groups below),
// "IndustryViewer" (the sectors below), "SectorViewer" and "HistoryStockEX" (a stock's whole
// history). Times are the CPU time of the benchmark's thread, so that other processes on a shared
// machine do not enter the ratios. The real market is skipped with a message when its folder is
// missing.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/ratio.h"
#include "facade/facade_backend.h"
#include "facade/facade_components.h"
#include "facade/field_catalogue.h"
#include "facade/layout_access.h"
#include "facade/market_importer.h"
#include "facade/market_schema.h"
#include "facade/market_store.h"
#include "facade/sample_market.h"
#include "facade/sqlite_database.h"
#include "facade/system_layouts.h"
#include "outside/component_factory.h"
#include "outside/dispatch.h"
#include "outside/layout_description.h"
#include "outside/recordset.h"

namespace {

namespace fs = std::filesystem;
using namespace qv;
using namespace qv::facade;

constexpr int32_t kOwnerId = 1;
constexpr int32_t kMaxRows = 500;
const std::vector<std::string> kIndustryKeys{"IndCode", "IndName", "SectorCode"};
const std::vector<std::string> kSectorKeys{"SectorCode", "SectorName"};

fs::path DataFolder() {
    const char* sFolder = std::getenv("QV_MARKET_DATA");
    return sFolder != nullptr && *sFolder != '\0' ? fs::path(sFolder)
                                                  : fs::path("../shared/data/market");
}

fs::path ScratchFolder() {
    static const fs::path oFolder = [] {
        std::string sTemplate = (fs::temp_directory_path() / "qv-bench-XXXXXX").string();
        return fs::path(mkdtemp(sTemplate.data()));
    }();
    return oFolder;
}

// A statement of the baseline with what it binds: ?1 the day, or for a history ?1 the symbol
// and ?2, ?3 the first and last day.
struct Statement {
    std::string m_sSql;
    bool m_bHistory = false;
};

// A call as the viewer makes it and the statements that read the same rows.
struct CallCase {
    std::string m_sMethod;
    std::vector<Variant> m_aArgs;
    size_t m_lRowsArg = 0;  // where the rows come back; the result for a history
    std::vector<Statement> m_aBaseline;
};

// One market with the components registered on it.
struct Market {
    std::string m_sName;
    std::shared_ptr<MarketStore> m_oStore;
    ComponentFactory m_oComponents;
    std::string m_sTimeCode;
    int32_t m_lFirstDay = 0;
    int32_t m_lLastDay = 0;
    std::string m_sSymbol;
    std::vector<std::pair<std::string, CallCase>> m_aCalls;
};

LayoutRecord SystemLayout(Market& p_oMarket, int32_t p_lLayoutId) {
    return *LayoutAccess(p_oMarket.m_oStore->Database()).Readable(kOwnerId, p_lLayoutId);
}

std::vector<std::string> WithFields(std::vector<std::string> p_aFields,
                                    const std::vector<std::string>& p_aKeys) {
    p_aFields.insert(p_aFields.end(), p_aKeys.begin(), p_aKeys.end());
    return p_aFields;
}

// "SELECT" and the catalogue's expressions of the fields for the kind of rows, each field once.
std::string SelectList(const std::vector<std::string>& p_aFields, RowKind p_eRows) {
    std::vector<std::string> aNames;
    std::string sSelect;
    for (const std::string& sField : p_aFields) {
        const FieldDefinition* oField = FindFieldByName(sField);
        const std::string sName = oField != nullptr ? oField->m_sColumnName : sField;
        if (std::find(aNames.begin(), aNames.end(), sName) != aNames.end()) {
            continue;
        }
        aNames.push_back(sName);
        const char* sSql = oField != nullptr ? oField->SqlFor(p_eRows) : nullptr;
        sSelect += (sSelect.empty() ? "SELECT " : ", ") + std::string(sSql ? sSql : "NULL");
    }
    return sSelect;
}

std::string GroupsOfDay(int64_t p_llKind, const char* p_sCode) {
    return " JOIN group_days g ON g.group_key = (" + std::to_string(p_llKind * kGroupKindStride) +
           " + " + p_sCode + ") * " + std::to_string(kDayKeyStride) + " + ?1";
}

const std::string& IndustriesOfDay() {
    static const std::string sFrom =
        " FROM industries i JOIN sectors c ON c.sector_code = i.sector_code" +
        GroupsOfDay(kIndustryGroupKind, "i.ind_code");
    return sFrom;
}

const std::string& SectorsOfDay() {
    static const std::string sFrom =
        " FROM sectors c" + GroupsOfDay(kSectorGroupKind, "c.sector_code");
    return sFrom;
}

std::string StockSource(const char* p_sDays) {
    return " FROM stocks s JOIN industries i ON i.ind_code = s.ind_code"
           " JOIN sectors c ON c.sector_code = i.sector_code JOIN stock_days d ON " +
           std::string(p_sDays) + " LEFT JOIN fundamentals f ON f.stock_id = s.stock_id";
}

// The fields of the grid below a list as the viewer sends them: a select list of the stock
// viewer ("Field as [Field]") or the grid's pertinent columns (plain names).
Variant FieldList(const LayoutRecord& p_oLayout, int32_t p_lTableBit, bool p_bSelectList) {
    const std::vector<std::string> aFields = FetchedFields(p_oLayout, p_lTableBit);
    VariantArray aList = VariantArray::Vector(0, static_cast<int32_t>(aFields.size()) - 1);
    for (size_t i = 0; i < aFields.size(); ++i) {
        aList.At(static_cast<int32_t>(i)) =
            p_bSelectList ? aFields[i] + " as [" + aFields[i] + "]" : aFields[i];
    }
    return aList;
}

CallCase StockViewerCase(Market& p_oMarket) {
    const LayoutRecord oLayout = SystemLayout(p_oMarket, system_layout::kStockList);
    const std::string sStride = std::to_string(kDayKeyStride);
    return {"StockViewer",
            {kOwnerId,
             system_layout::kStockList,
             Variant::Date(p_oMarket.m_lLastDay),
             kMaxRows,
             false,
             Variant("A"),
             layout_codec::ToVariant(oLayout),
             FieldList(oLayout, 1, true),
             Variant::Nothing(),
             Variant::Nothing(),
             Variant(),
             0,
             0,
             0,
             Variant(),
             Variant::Nothing(),
             0,
             int16_t{0},
             p_oMarket.m_sTimeCode,
             Variant()},
            8,
            {{SelectList(WithFields(FetchedFields(oLayout), {"Symbol", "IndCode", "SectorCode"}),
                         RowKind::Stock) +
              StockSource(("d.day_key = s.stock_id * " + sStride + " + ?1").c_str()) +
              " ORDER BY d.rs_rank DESC, s.symbol ASC LIMIT " + std::to_string(kMaxRows)},
             {SelectList(WithFields(FetchedFields(oLayout, 1), kIndustryKeys), RowKind::Industry) +
              IndustriesOfDay() + " ORDER BY i.name"}}};
}

CallCase IndustryViewerCase(Market& p_oMarket) {
    const LayoutRecord oLayout = SystemLayout(p_oMarket, system_layout::kIndustryList);
    return {"IndustryViewer",
            {kOwnerId, Variant::Date(p_oMarket.m_lLastDay), kMaxRows, false, Variant("A"),
             layout_codec::ToVariant(oLayout), FieldList(oLayout, 2, false), Variant::Nothing(),
             Variant::Nothing(), Variant(), 0, 0, 0, Variant::Nothing(), Variant(),
             p_oMarket.m_sTimeCode, Variant()},
            7,
            {{SelectList(WithFields(FetchedFields(oLayout), kIndustryKeys), RowKind::Industry) +
              IndustriesOfDay() + " ORDER BY g.avg_rank DESC, i.name ASC LIMIT " +
              std::to_string(kMaxRows)},
             {SelectList(WithFields(FetchedFields(oLayout, 2), kSectorKeys), RowKind::Sector) +
              SectorsOfDay() + " ORDER BY c.name"}}};
}

CallCase SectorViewerCase(Market& p_oMarket) {
    const LayoutRecord oLayout = SystemLayout(p_oMarket, system_layout::kSectorList);
    return {"SectorViewer",
            {kOwnerId, Variant::Date(p_oMarket.m_lLastDay), kMaxRows, false, Variant("A"),
             layout_codec::ToVariant(oLayout), Variant::Nothing(), Variant(), Variant::Nothing(),
             p_oMarket.m_sTimeCode, Variant()},
            6,
            {{SelectList(WithFields(FetchedFields(oLayout), kSectorKeys), RowKind::Sector) +
              SectorsOfDay() + " ORDER BY g.avg_pct_change DESC, c.name ASC LIMIT " +
              std::to_string(kMaxRows)}}};
}

CallCase HistoryCase(Market& p_oMarket) {
    const LayoutRecord oLayout = SystemLayout(p_oMarket, system_layout::kStockHistory);
    const std::string sStride = std::to_string(kDayKeyStride);
    return {"HistoryStockEX",
            {Variant::Date(p_oMarket.m_lFirstDay), Variant::Date(p_oMarket.m_lLastDay),
             p_oMarket.m_sSymbol, layout_codec::ToVariant(oLayout), Variant::Nothing(), kOwnerId,
             kMaxRows, true},
            SIZE_MAX,
            {{SelectList(WithFields(FetchedFields(oLayout), {"Trading_Date"}), RowKind::Stock) +
                  StockSource(("d.day_key BETWEEN s.stock_id * " + sStride +
                               " + ?2 AND s.stock_id * " + sStride + " + ?3")
                                  .c_str()) +
                  " WHERE s.symbol = ?1 ORDER BY d.trade_date DESC",
              true}}};
}

std::unique_ptr<Market> OpenMarket(std::string p_sName, std::shared_ptr<MarketStore> p_oStore) {
    auto oMarket = std::make_unique<Market>();
    oMarket->m_sName = std::move(p_sName);
    oMarket->m_oStore = std::move(p_oStore);
    auto oBackend = std::make_shared<FacadeBackend>(oMarket->m_oStore);
    RegisterFacadeComponents(oMarket->m_oComponents, oBackend);
    oMarket->m_sTimeCode = oBackend->Login(kOwnerId, "bench");
    SqlDatabase& oDatabase = oMarket->m_oStore->Database();
    oMarket->m_lFirstDay =
        static_cast<int32_t>(oDatabase.QueryInt64("SELECT min(trade_date) FROM trading_days"));
    oMarket->m_lLastDay =
        static_cast<int32_t>(oDatabase.QueryInt64("SELECT max(trade_date) FROM trading_days"));
    SqlStatement oSymbol = oDatabase.Prepare("SELECT symbol FROM stocks ORDER BY stock_id");
    oSymbol.Step();
    oMarket->m_sSymbol = oSymbol.ColumnText(0);
    oMarket->m_aCalls = {{"stockviewer", StockViewerCase(*oMarket)},
                         {"industryviewer", IndustryViewerCase(*oMarket)},
                         {"sectorviewer", SectorViewerCase(*oMarket)},
                         {"history", HistoryCase(*oMarket)}};
    return oMarket;
}

std::unique_ptr<Market> RealMarket() {
    const fs::path oFolder = DataFolder();
    if (!fs::exists(oFolder / "prices.csv.gz")) {
        std::printf("real market skipped: no market data in %s (set QV_MARKET_DATA)\n",
                    oFolder.string().c_str());
        return nullptr;
    }
    auto oStore = std::make_shared<MarketStore>((ScratchFolder() / "real.db").string(),
                                                MarketStore::Access::ReadWrite);
    MarketImporter(*oStore).ImportPaths({oFolder.string()}, {});
    return OpenMarket("real", oStore);
}

std::unique_ptr<Market> GeneratedMarket() {
    auto oStore = std::make_shared<MarketStore>((ScratchFolder() / "gen5000.db").string(),
                                                MarketStore::Access::ReadWrite);
    SampleMarketOptions oOptions;
    oOptions.m_lStocks = 5000;
    oOptions.m_lIndustries = 150;
    oOptions.m_lTradingDays = 260;
    GenerateSampleMarket(*oStore, oOptions, {});
    return OpenMarket("gen5000", oStore);
}

void FacadeCall(benchmark::State& p_oState, Market* p_oMarket, const CallCase* p_oCase) {
    for (auto _ : p_oState) {
        std::vector<Variant> aArgs = p_oCase->m_aArgs;
        const double dStart = bench::ThreadSeconds();
        const Variant vResult =
            CallMethod(*p_oMarket->m_oComponents.CreateObject(prog_id::kViewerReader),
                       p_oCase->m_sMethod, aArgs);
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
        const Variant& vRows =
            p_oCase->m_lRowsArg < aArgs.size() ? aArgs[p_oCase->m_lRowsArg] : vResult;
        const auto rRows = vRows.ToObjectAs<Recordset>();
        if (!rRows || rRows->RecordCount() == 0) {
            p_oState.SkipWithError("the call listed no rows");
        }
    }
}

// Steps every row and reads every value by its storage class.
int64_t ReadAll(SqlStatement& p_oQuery) {
    int64_t llValues = 0;
    const int lColumns = p_oQuery.ColumnCount();
    while (p_oQuery.Step()) {
        for (int i = 0; i < lColumns; ++i) {
            switch (p_oQuery.ColumnKind(i)) {
                case SqlValueKind::Integer:
                    benchmark::DoNotOptimize(p_oQuery.ColumnInt64(i));
                    break;
                case SqlValueKind::Real:
                    benchmark::DoNotOptimize(p_oQuery.ColumnDouble(i));
                    break;
                case SqlValueKind::Text: {
                    std::string sText = p_oQuery.ColumnText(i);
                    benchmark::DoNotOptimize(sText);
                    break;
                }
                default:
                    break;
            }
            ++llValues;
        }
    }
    return llValues;
}

void SqlCall(benchmark::State& p_oState, Market* p_oMarket, const CallCase* p_oCase) {
    SqlDatabase& oDatabase = p_oMarket->m_oStore->Database();
    for (auto _ : p_oState) {
        const double dStart = bench::ThreadSeconds();
        for (const Statement& oStatement : p_oCase->m_aBaseline) {
            SqlStatement oQuery = oDatabase.Prepare(oStatement.m_sSql);
            if (oStatement.m_bHistory) {
                oQuery.BindText(1, p_oMarket->m_sSymbol);
                oQuery.BindInt64(2, p_oMarket->m_lFirstDay);
                oQuery.BindInt64(3, p_oMarket->m_lLastDay);
            } else {
                oQuery.BindInt64(1, p_oMarket->m_lLastDay);
            }
            benchmark::DoNotOptimize(ReadAll(oQuery));
        }
        p_oState.SetIterationTime(bench::ThreadSeconds() - dStart);
    }
}

void Register(Market* p_oMarket, std::vector<qv::bench::RatioSpec>& p_aRatios) {
    for (const auto& [sCall, oCase] : p_oMarket->m_aCalls) {
        const std::string sFacade = "facade_" + sCall + "_" + p_oMarket->m_sName;
        const std::string sSql = "sql_" + sCall + "_" + p_oMarket->m_sName;
        benchmark::RegisterBenchmark(sFacade.c_str(), FacadeCall, p_oMarket, &oCase)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(sSql.c_str(), SqlCall, p_oMarket, &oCase)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        p_aRatios.push_back({"facade." + sCall + "." + p_oMarket->m_sName, sFacade + "/manual_time",
                             sSql + "/manual_time", 2});
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<qv::bench::RatioSpec> aRatios;
    const std::unique_ptr<Market> oReal = RealMarket();
    if (oReal) {
        Register(oReal.get(), aRatios);
    }
    const std::unique_ptr<Market> oGenerated = GeneratedMarket();
    Register(oGenerated.get(), aRatios);
    const int lStatus = qv::bench::RunWithRatios(argc, argv, aRatios);
    fs::remove_all(ScratchFolder());
    return lStatus;
}
