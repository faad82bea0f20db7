// Imports real market data: constituents files ("Symbol,Name,Sector,Industry") and daily price
// files ("Symbol,Date,Open,High,Low,Close,AdjClose,Volume"), plain or gzip-compressed. Columns are
// found by their header names in any order; a price file needs Symbol, Date and Close, and
// AdjClose defaults to Close, Volume to 0, Open/High/Low to none.
//
// Everything happens in one transaction: the reference data, the bars, and the derived metrics,
// which are rebuilt over all bars (those already stored and the new ones) because a stock's
// relative-strength ranking depends on every other stock of the day. Readers see the old data
// until the import commits.
//
// Symbols are stored in capitals and compared without regard to case. Prices are kept to four
// decimals (ten-thousandths of a dollar), which holds every price of the usual sources exactly.
//
// A database whose market is the generated sample (MarketOrigin) has it replaced: in the same
// transaction, before the new stocks are stored, the sample's market goes (stocks, bars,
// fundamentals, groups and their days, trading days) with the watch-list items and trades that
// name its stocks and groups; owners, logins, layouts, watch lists and portfolios stay. Real
// data never mixes with invented companies, and an import that fails or is cancelled leaves the
// sample whole. Such an import needs constituents, since it brings every stock the market will
// hold. Into a database of imported data an import adds and updates.
//
// Codes are stable: a sector, industry or stock already in the database keeps its code; new ones
// get the next codes in the order of their sorted names, so importing the same files into a new
// database always gives the same codes.
//
// Bad rows are skipped and reported with file and line (a wrong field count, a date or number
// that does not read, "nan" and "inf" included, a price or volume beyond what the store holds
// (market_schema.h: a price from 0.0001 to 9e11, a volume from 0 to 9e15), a name that is not
// UTF-8 or holds a control character, an unknown symbol, the same symbol and day twice: the later
// row wins). Messages quote a short excerpt of the offending field (text_util.h). A file whose
// header lacks a required column, or that is not CSV text (csv_reader.h), is rejected as a whole:
// the import fails with a FacadeError naming it and nothing is written.
//
//     MarketStore store(path, MarketStore::Access::ReadWrite);
//     ImportReport report = MarketImporter(store).ImportPaths({"../shared/data/market"}, {});
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "facade/csv_reader.h"
#include "facade/progress.h"

namespace qv::facade {

class MarketStore;

struct ImportProblem {
    std::string m_sFile;
    int64_t m_llLine = 0;
    std::string m_sMessage;
};

struct ImportReport {
    int64_t m_llSectorsAdded = 0;
    int64_t m_llIndustriesAdded = 0;
    int64_t m_llStocksAdded = 0;
    int64_t m_llStocksUpdated = 0;
    int64_t m_llPriceRowsRead = 0;
    int64_t m_llPriceRowsImported = 0;
    int64_t m_llRowsSkipped = 0;
    // True when the import replaced the generated sample market.
    bool m_bReplacedSample = false;
    // The first problems found (at most kMaxListedProblems); m_llRowsSkipped counts them all.
    std::vector<ImportProblem> m_aProblems;
};

constexpr size_t kMaxListedProblems = 200;

// One input: a name for messages and the bytes.
struct ImportInput {
    std::string m_sName;
    std::unique_ptr<ByteSource> m_oSource;
};

class MarketImporter {
  public:
    explicit MarketImporter(MarketStore& p_oStore) : m_oStore(p_oStore) {}

    // Files, or folders whose *.csv and *.csv.gz files are taken in name order.
    ImportReport ImportPaths(const std::vector<std::string>& p_aPaths,
                             const ProgressFn& p_fProgress);
    // Inputs in any order: each is recognised by its header, constituents are read first.
    // p_sSource is what the market is recorded as imported from; the inputs' names when empty.
    ImportReport Import(std::vector<ImportInput> p_aInputs, const ProgressFn& p_fProgress,
                        std::string p_sSource = {});

  private:
    MarketStore& m_oStore;
};

}  // namespace qv::facade
