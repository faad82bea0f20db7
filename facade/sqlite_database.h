// The SQLite engine of the facade's query layer (sql_database.h): one connection to one file.
// Every failure is a FacadeError whose text names the database file, so a message reaching a user
// or a log says which file is at fault, and says what a user can do about it: a database another
// program holds locked is "busy", one whose content does not read is "damaged", and one this
// program may not write is "read-only". The facade's input files (the importer's CSV files) fail
// the same way.
//
// A connection remembers which file it opened; a write transaction does not start, and does not
// commit, when the file at the path is no longer that one (deleted or replaced while open): the
// work would be lost with a file nobody can open again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "facade/sql_database.h"
#include "outside/automation_error.h"

struct sqlite3;

namespace qv::facade {

// The number a facade failure carries across the automation boundary: the generic provider
// failure (E_FAIL) that the recordset library reports for errors of its data source.
constexpr int32_t kFacadeErrorNumber = static_cast<int32_t>(0x80004005u);

// A failure of the facade, naming the file at fault: "<path>: <what went wrong>".
class FacadeError : public AutomationError {
  public:
    FacadeError(std::string p_sPath, int p_lSqliteCode, const std::string& p_sMessage);

    const std::string& Path() const { return m_sPath; }
    // The text after the path.
    const std::string& Message() const { return m_sMessage; }
    // The SQLite result code behind the failure, or 0 when the failure is the facade's own.
    int SqliteCode() const { return m_lSqliteCode; }
    // Another connection held the lock this one needed for longer than the busy timeout.
    bool IsBusy() const;
    // The file is not a database, or its content is inconsistent.
    bool IsDamaged() const;

  private:
    std::string m_sPath;
    std::string m_sMessage;
    int m_lSqliteCode;
};

// How long a connection waits for another program's lock before it reports the database busy.
constexpr int kBusyTimeoutMs = 10000;

// A test hook, compiled in and costing one comparison per call: the p_llCall-th SQLite call from
// now on (1 is the next) fails with p_eFault, the way a failing disk or a competing program would
// make it fail. Calls are counted over every connection: preparing a statement, each step, each
// run of SQL text (BEGIN, COMMIT, ROLLBACK, ...). The fault fires once.
enum class SqliteFault { IoError, DiskFull, Busy };
void InjectSqliteFault(int64_t p_llCall, SqliteFault p_eFault);
void ClearSqliteFault();
// True while an injected fault is still waiting for its call.
bool SqliteFaultPending();

class SqliteDatabase : public SqlDatabase {
  public:
    enum class OpenMode {
        ReadOnly,
        // Read-only, and SQLite may take it that no program changes the file while it is open:
        // the way to read a WAL database in a folder where its shared-memory file cannot be
        // created. A change to the file is caught by CheckFileInPlace.
        ReadOnlyImmutable,
        ReadWrite,  // the file must exist
        Create,     // read-write, created when missing
    };

    // Opens p_sPath with extended result codes and the given busy timeout, so that a second
    // process holding the write lock makes this one wait instead of failing at once.
    SqliteDatabase(std::string p_sPath, OpenMode p_eMode, int p_lBusyTimeoutMs = kBusyTimeoutMs);
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    SqlDialect Dialect() const override { return SqlDialect::Sqlite; }
    // The file's path.
    const std::string& Name() const override { return m_sPath; }
    // How long a statement waits for another connection's lock before failing as locked.
    void SetBusyTimeout(int p_lMilliseconds);

    void Execute(std::string_view p_sSql) override;
    SqlStatement Prepare(std::string_view p_sSql) override;
    int64_t ChangedRows() const override;
    bool InTransaction() const override;
    // Opened read-only, or a file the program may not write.
    bool IsReadOnly() const override;

    // BEGIN IMMEDIATE, so that the write lock is taken up front and a competing writer waits
    // (busy timeout) rather than failing halfway. Refused on a read-only database, with a
    // message saying so, and on a file deleted or replaced while open.
    void BeginWrite() override;
    // BEGIN (deferred): the snapshot is taken at the first read.
    void BeginRead() override;
    // Refused on a file deleted or replaced while open.
    void CommitTransaction() override;
    void RollbackTransaction() override;

    // Throws a FacadeError naming the file when the file at Name() is no longer the one this
    // connection opened: deleted, replaced by another file, or (opened immutable) changed.
    void CheckFileInPlace() const;

    // Throws the FacadeError for SQLite result code p_lCode, naming the file and the action.
    [[noreturn]] void Fail(int p_lCode, std::string_view p_sAction) const;

  private:
    // What tells one file from another at the same path, and (for an immutable open) what
    // tells a changed file from the one that was opened.
    struct FileIdentity {
        uint64_t m_llDevice = 0;
        uint64_t m_llInode = 0;
        int64_t m_llSize = 0;
        int64_t m_llModified = 0;  // nanoseconds

        bool SameFile(const FileIdentity& p_oOther) const {
            return m_llDevice == p_oOther.m_llDevice && m_llInode == p_oOther.m_llInode;
        }
        bool SameContent(const FileIdentity& p_oOther) const {
            return m_llSize == p_oOther.m_llSize && m_llModified == p_oOther.m_llModified;
        }
    };

    // The file at p_sPath now; p_lErrno says why not when there is none.
    static std::optional<FileIdentity> Identify(const std::string& p_sPath, int& p_lErrno);

    std::string m_sPath;
    sqlite3* m_oHandle = nullptr;
    bool m_bImmutable = false;
    std::optional<FileIdentity> m_oIdentity;
};

}  // namespace qv::facade
