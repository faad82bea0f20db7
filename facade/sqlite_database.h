// A thin owning layer over the SQLite C API: one connection (SqliteDatabase), one prepared
// statement (SqliteStatement) and one transaction scope (SqliteTransaction). Every failure is a
// FacadeError whose text names the database file, so a message reaching a user or a log says
// which file is at fault, and says what a user can do about it: a database another program holds
// locked is "busy", one whose content does not read is "damaged", and one this program may not
// write is "read-only". The facade's input files (the importer's CSV files) fail the same way.
//
// A connection remembers which file it opened; a write transaction does not start, and does not
// commit, when the file at the path is no longer that one (deleted or replaced while open): the
// work would be lost with a file nobody can open again.
//
// Values from callers are always bound, never pasted into SQL text:
//
//     SqliteStatement find = db.Prepare("SELECT stock_id FROM stocks WHERE symbol = ?1");
//     find.BindText(1, p_sSymbol);
//     if (find.Step()) id = find.ColumnInt64(0);
//
//     SqliteTransaction work(db);   // BEGIN IMMEDIATE
//     ...
//     work.Commit();                // a scope left without Commit rolls back
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "outside/automation_error.h"

struct sqlite3;
struct sqlite3_stmt;

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

class SqliteStatement;

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

class SqliteDatabase {
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
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    const std::string& Path() const { return m_sPath; }
    // How long a statement waits for another connection's lock before failing as locked.
    void SetBusyTimeout(int p_lMilliseconds);

    // Runs SQL text of the facade's own (one or more statements, no parameters).
    void Execute(std::string_view p_sSql);
    SqliteStatement Prepare(std::string_view p_sSql);

    // A single integer result of the facade's own SQL (a count, a pragma); p_llDefault when the
    // statement yields no row or NULL.
    int64_t QueryInt64(std::string_view p_sSql, int64_t p_llDefault = 0);

    int64_t LastInsertRowId() const;
    int64_t ChangedRows() const;
    bool InTransaction() const;
    // True when nothing can be written through this connection (opened read-only, or a file the
    // program may not write).
    bool IsReadOnly() const;

    // Throws a FacadeError naming the file when the file at Path() is no longer the one this
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

class SqliteStatement {
  public:
    SqliteStatement(SqliteDatabase& p_oDatabase, sqlite3_stmt* p_oStatement);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& p_oOther) noexcept;
    SqliteStatement& operator=(SqliteStatement&&) = delete;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameter indexes are 1-based, as in SQLite.
    void BindInt64(int p_lIndex, int64_t p_llValue);
    void BindDouble(int p_lIndex, double p_dValue);
    void BindText(int p_lIndex, std::string_view p_sValue);
    void BindNull(int p_lIndex);
    // NULL when the value is absent or not finite (NaN marks a missing metric).
    void BindOptionalDouble(int p_lIndex, std::optional<double> p_dValue);

    // Advances to the next row: true when a row is available, false when the statement is done.
    bool Step();
    // Runs a statement that returns no rows, then resets it for the next set of bindings.
    void Run();
    // Makes the statement ready to run again; bindings are kept.
    void Reset();

    int ColumnCount() const;
    bool ColumnIsNull(int p_lIndex) const;
    // The SQLite storage class of the current row's value: SQLITE_INTEGER, SQLITE_FLOAT, ...
    int ColumnType(int p_lIndex) const;
    int64_t ColumnInt64(int p_lIndex) const;
    double ColumnDouble(int p_lIndex) const;
    std::string ColumnText(int p_lIndex) const;
    std::optional<double> ColumnOptionalDouble(int p_lIndex) const;

  private:
    SqliteDatabase* m_oDatabase;
    sqlite3_stmt* m_oStatement;
};

// BEGIN IMMEDIATE on construction, so that the write lock is taken up front and a competing
// writer waits (busy timeout) rather than failing halfway; ROLLBACK on destruction unless
// committed. Inside a transaction already open it becomes a savepoint, so store operations that
// guard themselves can also run as part of a larger unit of work. On a read-only database it
// refuses to start, with a message saying so; it neither starts nor commits on a file that was
// deleted or replaced while open.
class SqliteTransaction {
  public:
    explicit SqliteTransaction(SqliteDatabase& p_oDatabase);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void Commit();

  private:
    SqliteDatabase& m_oDatabase;
    bool m_bSavepoint;
    bool m_bOpen = true;
};

}  // namespace qv::facade
