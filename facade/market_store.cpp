#include "facade/market_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <thread>

#include "facade/market_schema.h"
#include "outside/library_folder.h"
#include "outside/vb_date.h"

namespace qv::facade {

namespace {

namespace fs = std::filesystem;

constexpr std::array<char, 16> kSqliteHeader = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f',
                                                'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};

enum class FileState {
    Missing,
    Empty,  // no bytes, or an SQLite file without any schema: free to take
    Ours,   // our application id and a schema we can read
};

[[noreturn]] void Refuse(const std::string& p_sPath, const std::string& p_sWhy,
                         int p_lSqliteCode = 0) {
    throw FacadeError(p_sPath, p_lSqliteCode, p_sWhy + "; the file was left unchanged");
}

bool HasSqliteHeader(const std::string& p_sPath) {
    std::ifstream file(p_sPath, std::ios::binary);
    std::array<char, 16> header{};
    file.read(header.data(), header.size());
    return file.gcount() == static_cast<std::streamsize>(header.size()) && header == kSqliteHeader;
}

// Looks at an existing file through a read-only connection, so that nothing is written to a file
// that turns out not to be ours. Another program holding the file locked is told apart from a
// file that does not read: the one wants a moment's patience, the other a backup.
FileState InspectExistingFile(const std::string& p_sPath, SqliteDatabase::OpenMode p_eReadMode,
                              int p_lBusyTimeoutMs) {
    std::error_code sizeError;
    const auto size = fs::file_size(p_sPath, sizeError);
    if (sizeError) {
        Refuse(p_sPath, "cannot read the file: " + sizeError.message());
    }
    if (size == 0) {
        return FileState::Empty;
    }
    if (!HasSqliteHeader(p_sPath)) {
        Refuse(p_sPath, "not a market database (not an SQLite database file)");
    }
    try {
        SqliteDatabase probe(p_sPath, p_eReadMode, p_lBusyTimeoutMs);
        const int64_t applicationId = probe.QueryInt64("PRAGMA application_id");
        const int64_t objects = probe.QueryInt64("SELECT count(*) FROM sqlite_schema");
        if (applicationId == 0 && objects == 0) {
            return FileState::Empty;
        }
        if (applicationId != kMarketApplicationId) {
            Refuse(p_sPath, "an SQLite database of another application, not a market database");
        }
        const int version = SchemaVersion(probe);
        if (version > LatestSchemaVersion()) {
            Refuse(p_sPath, "written by a newer version of the program (schema " +
                                std::to_string(version) + ", this program knows up to " +
                                std::to_string(LatestSchemaVersion()) + ")");
        }
        return FileState::Ours;
    } catch (const FacadeError& error) {
        if (error.SqliteCode() == 0 || error.IsBusy()) {
            throw;
        }
        if (error.IsDamaged()) {
            Refuse(p_sPath, error.Message(), error.SqliteCode());
        }
        Refuse(p_sPath, "cannot read the database: " + error.Message(), error.SqliteCode());
    }
}

fs::path FolderOf(const std::string& p_sPath) {
    const fs::path folder = fs::path(p_sPath).parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

// Whether this process may write the file or folder, by its effective ids, as the open would.
bool MayWrite(const fs::path& p_oPath) {
    return faccessat(AT_FDCWD, p_oPath.c_str(), W_OK, AT_EACCESS) == 0;
}

// How a database this process may not write is read. In WAL mode a reader needs the -wal and
// -shm files beside the database; a folder that cannot be written cannot take them, so there the
// file is read immutable, which needs neither. Committed work still in a -wal file would be
// missed that way, so with a -wal file present the ordinary read-only open is the only one.
SqliteDatabase::OpenMode ReadMode(const std::string& p_sPath) {
    std::error_code error;
    if (MayWrite(FolderOf(p_sPath)) || fs::exists(p_sPath + "-wal", error)) {
        return SqliteDatabase::OpenMode::ReadOnly;
    }
    return SqliteDatabase::OpenMode::ReadOnlyImmutable;
}

void CreateFolderFor(const std::string& p_sPath) {
    const fs::path folder = fs::path(p_sPath).parent_path();
    if (folder.empty()) {
        return;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        throw FacadeError(p_sPath, 0, "cannot create the folder: " + error.message());
    }
}

// A file that this process may not write, or that lies in a folder it may not write (where the
// -wal file of a write could not go), is opened read-only even when writing was asked for: the
// lists can still be read, and whatever would write is refused with a message saying why.
SqliteDatabase::OpenMode PrepareOpen(const std::string& p_sPath, MarketStore::Access p_eAccess,
                                     int p_lBusyTimeoutMs, bool& p_bNeedsSchema) {
    std::error_code error;
    if (!fs::exists(p_sPath, error)) {
        p_bNeedsSchema = true;
        if (p_eAccess == MarketStore::Access::ReadOnly) {
            throw FacadeError(p_sPath, 0, "no market database at this path");
        }
        CreateFolderFor(p_sPath);
        return SqliteDatabase::OpenMode::Create;
    }
    const bool writable = p_eAccess == MarketStore::Access::ReadWrite && MayWrite(p_sPath) &&
                          MayWrite(FolderOf(p_sPath));
    const SqliteDatabase::OpenMode readMode = ReadMode(p_sPath);
    const FileState state = InspectExistingFile(p_sPath, readMode, p_lBusyTimeoutMs);
    p_bNeedsSchema = state != FileState::Ours;
    if (writable) {
        return SqliteDatabase::OpenMode::ReadWrite;
    }
    if (state != FileState::Ours) {
        throw FacadeError(p_sPath, 0,
                          p_eAccess == MarketStore::Access::ReadOnly
                              ? "no market database at this path"
                              : "no market database at this path, and the file is read-only");
    }
    return readMode;
}

// Switching to WAL needs the file to itself. While another program creates or upgrades the
// file, the switch is refused at once rather than waited for (SQLite does not wait where waiting
// could deadlock), so it is tried again until the busy timeout has passed.
void SwitchToWal(SqlDatabase& p_oDatabase, int p_lBusyTimeoutMs) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(p_lBusyTimeoutMs);
    for (;;) {
        try {
            p_oDatabase.Execute("PRAGMA journal_mode = WAL");
            return;
        } catch (const FacadeError& error) {
            if (!error.IsBusy() || std::chrono::steady_clock::now() >= deadline) {
                throw;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::unique_ptr<SqliteDatabase> OpenChecked(const std::string& p_sPath,
                                            MarketStore::Access p_eAccess, int p_lBusyTimeoutMs,
                                            bool& p_bNeedsSchema) {
    const SqliteDatabase::OpenMode mode =
        PrepareOpen(p_sPath, p_eAccess, p_lBusyTimeoutMs, p_bNeedsSchema);
    return std::make_unique<SqliteDatabase>(p_sPath, mode, p_lBusyTimeoutMs);
}

}  // namespace

std::string DefaultMarketDatabasePath() {
    const char* override = std::getenv("QV_DATABASE");
    if (override != nullptr && *override != '\0') {
        return override;
    }
    return (LibraryFolder::FromEnvironment().Location() / "market.db").string();
}

MarketStore::MarketStore(std::string p_sPath, Access p_eAccess, int p_lBusyTimeoutMs)
    : m_oDatabase(OpenChecked(p_sPath, p_eAccess, p_lBusyTimeoutMs, m_bCreated)),
      m_oFile(static_cast<const SqliteDatabase*>(m_oDatabase.get())) {
    m_oDatabase->Execute("PRAGMA foreign_keys = ON");
    // The lists read the same bar pages call after call: mapped, they are read in place rather
    // than copied out of the system's cache into each connection's small page cache.
    m_oDatabase->Execute("PRAGMA mmap_size = 1073741824");
    if (IsReadOnly()) {
        if (SchemaVersion(*m_oDatabase) < LatestSchemaVersion()) {
            throw FacadeError(Name(), 0,
                              p_eAccess == Access::ReadOnly
                                  ? "the database has an older schema; open it for writing once "
                                    "to upgrade it"
                                  : "the database has an older schema and is read-only, so it "
                                    "cannot be upgraded");
        }
        return;
    }
    if (m_bCreated) {
        // Before WAL and the first table: the bar tables are read and written in long runs.
        m_oDatabase->Execute("PRAGMA page_size = 16384");
    }
    SwitchToWal(*m_oDatabase, p_lBusyTimeoutMs);
    m_oDatabase->Execute("PRAGMA synchronous = NORMAL");
    MigrateSchema(*m_oDatabase);
}

MarketStore::MarketStore(std::unique_ptr<SqlDatabase> p_oDatabase)
    : m_oDatabase(std::move(p_oDatabase)) {}

void MarketStore::CheckFileInPlace() const {
    if (m_oFile != nullptr) {
        m_oFile->CheckFileInPlace();
    }
}

bool MarketStore::HasMarketData() {
    return m_oDatabase->QueryInt64("SELECT 1 FROM trading_days LIMIT 1") != 0;
}

MarketSummary MarketStore::Summary() {
    MarketSummary summary;
    summary.m_llSectors = m_oDatabase->QueryInt64("SELECT count(*) FROM sectors");
    summary.m_llIndustries = m_oDatabase->QueryInt64("SELECT count(*) FROM industries");
    summary.m_llStocks = m_oDatabase->QueryInt64("SELECT count(*) FROM stocks");
    summary.m_llStockDays = m_oDatabase->QueryInt64("SELECT count(*) FROM stock_days");
    summary.m_llTradingDays = m_oDatabase->QueryInt64("SELECT count(*) FROM trading_days");
    summary.m_lFirstDate =
        static_cast<int32_t>(m_oDatabase->QueryInt64("SELECT min(trade_date) FROM trading_days"));
    summary.m_lLastDate =
        static_cast<int32_t>(m_oDatabase->QueryInt64("SELECT max(trade_date) FROM trading_days"));
    summary.m_llOwners = m_oDatabase->QueryInt64("SELECT count(*) FROM owners WHERE owner_id <> 0");
    summary.m_llLayouts = m_oDatabase->QueryInt64("SELECT count(*) FROM layouts");
    summary.m_llWatchLists =
        m_oDatabase->QueryInt64("SELECT count(*) FROM watch_lists WHERE is_folder = 0");
    summary.m_llPortfolios = m_oDatabase->QueryInt64("SELECT count(*) FROM portfolios");
    summary.m_lSchemaVersion = SchemaVersion(*m_oDatabase);
    summary.m_oOrigin = ReadMarketOrigin(*m_oDatabase);
    return summary;
}

MarketOrigin ReadMarketOrigin(SqlDatabase& p_oDatabase) {
    MarketOrigin origin;
    SqlStatement read = p_oDatabase.Prepare("SELECT key, value FROM market_origin");
    while (read.Step()) {
        const std::string key = read.ColumnText(0);
        const std::string value = read.ColumnText(1);
        if (key == "origin") {
            origin.m_eKind =
                value == "sample" ? MarketOrigin::Kind::Sample : MarketOrigin::Kind::Imported;
        } else if (key == "source") {
            origin.m_sSource = value;
        } else if (key == "imported_on") {
            origin.m_lImportDate = static_cast<int32_t>(read.ColumnInt64(1));
        }
    }
    return origin;
}

void RecordMarketOrigin(SqlDatabase& p_oDatabase, const MarketOrigin& p_oOrigin) {
    p_oDatabase.Execute("DELETE FROM market_origin");
    if (p_oOrigin.m_eKind == MarketOrigin::Kind::None) {
        return;
    }
    SqlStatement insert =
        p_oDatabase.Prepare("INSERT INTO market_origin (key, value) VALUES (?1, ?2)");
    const auto Put = [&insert](const char* p_sKey, const std::string& p_sValue) {
        insert.BindText(1, p_sKey);
        insert.BindText(2, p_sValue);
        insert.Run();
    };
    Put("origin", p_oOrigin.m_eKind == MarketOrigin::Kind::Sample ? "sample" : "imported");
    if (!p_oOrigin.m_sSource.empty()) {
        Put("source", p_oOrigin.m_sSource);
    }
    if (p_oOrigin.m_lImportDate != 0) {
        Put("imported_on", std::to_string(p_oOrigin.m_lImportDate));
    }
}

std::string MarketOriginText(const MarketOrigin& p_oOrigin) {
    switch (p_oOrigin.m_eKind) {
        case MarketOrigin::Kind::None:
            return "No market data yet";
        case MarketOrigin::Kind::Sample:
            return p_oOrigin.m_sSource.empty()
                       ? "Generated sample market"
                       : "Generated sample market (" + p_oOrigin.m_sSource + ")";
        case MarketOrigin::Kind::Imported:
            break;
    }
    std::string text = "Imported";
    if (!p_oOrigin.m_sSource.empty()) {
        text += " from " + p_oOrigin.m_sSource;
    }
    if (p_oOrigin.m_lImportDate != 0) {
        text += " on " + IsoDateText(p_oOrigin.m_lImportDate);
    }
    return text == "Imported" ? "Imported market data" : text;
}

}  // namespace qv::facade
