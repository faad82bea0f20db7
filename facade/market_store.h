// The market database: one SQLite file holding sectors, industry groups, stocks, daily bars with
// their derived metrics, industry and sector aggregates, the field catalogue, layouts, watch lists,
// portfolios, owners and logins.
//
// Opening checks that the file is ours before anything is written to it: a file that is not an
// SQLite database, an SQLite database of another application, a damaged file or one written by a
// newer schema gives a FacadeError naming the file and leaves the file untouched. A missing
// file (or an empty one) is created with the current schema; an older schema is upgraded by the
// migrations in one transaction. The file runs in WAL mode with a busy timeout, so one process
// may write while others read, and a second writer waits for the first; a file another program
// holds locked for longer is reported busy, never damaged.
//
// A file the program may not write, or one in a folder it may not write, opens read-only even
// when writing was asked for: IsReadOnly() tells, and every write transaction is refused with a
// FacadeError saying that the database is read-only.
//
//     MarketStore store("/home/me/.local/share/qorvant/market.db", MarketStore::Access::ReadWrite);
//     MarketSummary summary = store.Summary();
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "facade/sqlite_database.h"

namespace qv::facade {

// Where the market in a database came from.
struct MarketOrigin {
    enum class Kind { None, Sample, Imported };
    Kind m_eKind = Kind::None;  // None while the database holds no market
    // The sample's options, or the folders and files imported; empty when the database kept no
    // record (one written before it did).
    std::string m_sSource;
    int32_t m_lImportDate = 0;  // day serial of the latest import; 0 when not recorded
};

MarketOrigin ReadMarketOrigin(SqlDatabase& p_oDatabase);
// Replaces the record, in the caller's transaction.
void RecordMarketOrigin(SqlDatabase& p_oDatabase, const MarketOrigin& p_oOrigin);
// "Generated sample market (…)" or "Imported from <source> on <date>", for people.
std::string MarketOriginText(const MarketOrigin& p_oOrigin);

// What `qorvant-market info` shows: the size of the market, the dates it covers and where it
// came from.
struct MarketSummary {
    int64_t m_llSectors = 0;
    int64_t m_llIndustries = 0;
    int64_t m_llStocks = 0;
    int64_t m_llStockDays = 0;
    int64_t m_llTradingDays = 0;
    int32_t m_lFirstDate = 0;  // day serial; 0 when there are no bars
    int32_t m_lLastDate = 0;
    int64_t m_llOwners = 0;  // owner 0, the system, not counted
    int64_t m_llLayouts = 0;
    int64_t m_llWatchLists = 0;
    int64_t m_llPortfolios = 0;
    int32_t m_lSchemaVersion = 0;
    MarketOrigin m_oOrigin;
};

// Where the market database lives unless a caller names a file: $QV_DATABASE when set, else
// market.db in the folder of the library ($QV_LIBRARY_DIR, $XDG_DATA_HOME/qorvant or
// ~/.local/share/qorvant).
std::string DefaultMarketDatabasePath();

class MarketStore {
  public:
    enum class Access {
        ReadOnly,  // never writes; an older schema is an error rather than an upgrade
        // Creates the file (and its folder) when missing, upgrades an older schema; read-only
        // when the file or its folder cannot be written.
        ReadWrite,
    };

    MarketStore(std::string p_sPath, Access p_eAccess, int p_lBusyTimeoutMs = kBusyTimeoutMs);
    // Adopts a database that is open already, its schema made current by whoever opened it.
    explicit MarketStore(std::unique_ptr<SqlDatabase> p_oDatabase);

    SqlDatabase& Database() { return *m_oDatabase; }
    // What messages name the database by: the file's path for the embedded store.
    const std::string& Name() const { return m_oDatabase->Name(); }
    // True when nothing can be saved: layouts, watch lists, portfolios and logins stay as they
    // are, and a write transaction fails with a message saying why.
    bool IsReadOnly() const { return m_oDatabase->IsReadOnly(); }
    // True when this open created the schema, that is the file held no market database before.
    bool WasCreated() const { return m_bCreated; }
    // Throws a FacadeError naming the file when the embedded database's file was deleted or
    // replaced while open; a database that is not a file has nothing to check.
    void CheckFileInPlace() const;
    bool HasMarketData();
    MarketSummary Summary();

  private:
    bool m_bCreated = false;
    std::unique_ptr<SqlDatabase> m_oDatabase;
    const SqliteDatabase* m_oFile = nullptr;  // the same database when it is an embedded file
};

}  // namespace qv::facade
