// The query layer the facade's stores and queries are written against, so that one set of SQL
// serves the embedded SQLite file and the facade server's PostgreSQL database.
//
// The SQL the stores write is the part of the language both engines share: parameters as ?1, ?2
// (or ?), RETURNING for a new row's id, INSERT ... ON CONFLICT for an upsert, CAST(... AS REAL)
// for floating point, COLLATE NOCASE for names compared without regard to case. An engine
// translates what it spells differently (PostgreSQL's $1, double precision, its own "nocase"
// collation) when it prepares a statement; where the two cannot share a statement, the store
// keeps both spellings side by side and picks one by Dialect().
//
//     SqlStatement find = db.Prepare("SELECT stock_id FROM stocks WHERE symbol = ?1");
//     find.BindText(1, p_sSymbol);
//     if (find.Step()) id = find.ColumnInt64(0);
//
//     SqlTransaction work(db);   // the write lock up front; a savepoint inside a transaction
//     ...
//     work.Commit();             // a scope left without Commit rolls back
//
// Every failure is a FacadeError (sqlite_database.h) naming the database: the file's path, or a
// PostgreSQL database's address without its password.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qv::facade {

enum class SqlDialect { Sqlite, Postgres };

// The kind of a result value, as the engine holds it.
enum class SqlValueKind { Null, Integer, Real, Text };

// One prepared statement of an engine. Parameter and column indexes as in SqlStatement.
class SqlCursor {
  public:
    virtual ~SqlCursor() = default;

    virtual void BindInt64(int p_lIndex, int64_t p_llValue) = 0;
    virtual void BindDouble(int p_lIndex, double p_dValue) = 0;
    virtual void BindText(int p_lIndex, std::string_view p_sValue) = 0;
    virtual void BindNull(int p_lIndex) = 0;
    virtual bool Step() = 0;
    virtual void Reset() = 0;
    virtual int ColumnCount() const = 0;
    virtual SqlValueKind ColumnKind(int p_lIndex) const = 0;
    virtual int64_t ColumnInt64(int p_lIndex) const = 0;
    virtual double ColumnDouble(int p_lIndex) const = 0;
    virtual std::string ColumnText(int p_lIndex) const = 0;
};

class SqlStatement {
  public:
    explicit SqlStatement(std::unique_ptr<SqlCursor> p_oCursor);
    SqlStatement(SqlStatement&&) noexcept = default;
    SqlStatement& operator=(SqlStatement&&) = delete;

    // Parameter indexes are 1-based.
    void BindInt64(int p_lIndex, int64_t p_llValue) { m_oCursor->BindInt64(p_lIndex, p_llValue); }
    void BindDouble(int p_lIndex, double p_dValue) { m_oCursor->BindDouble(p_lIndex, p_dValue); }
    void BindText(int p_lIndex, std::string_view p_sValue) {
        m_oCursor->BindText(p_lIndex, p_sValue);
    }
    void BindNull(int p_lIndex) { m_oCursor->BindNull(p_lIndex); }
    // NULL when the value is absent or not finite (NaN marks a missing metric).
    void BindOptionalDouble(int p_lIndex, std::optional<double> p_dValue);

    // Advances to the next row: true when a row is available, false when the statement is done.
    bool Step() { return m_oCursor->Step(); }
    // Runs a statement that returns no rows, then resets it for the next set of bindings.
    void Run();
    // Makes the statement ready to run again; bindings are kept.
    void Reset() { m_oCursor->Reset(); }

    // Column indexes are 0-based. A NULL reads as 0, 0.0 or "".
    int ColumnCount() const { return m_oCursor->ColumnCount(); }
    SqlValueKind ColumnKind(int p_lIndex) const { return m_oCursor->ColumnKind(p_lIndex); }
    bool ColumnIsNull(int p_lIndex) const { return ColumnKind(p_lIndex) == SqlValueKind::Null; }
    int64_t ColumnInt64(int p_lIndex) const { return m_oCursor->ColumnInt64(p_lIndex); }
    double ColumnDouble(int p_lIndex) const { return m_oCursor->ColumnDouble(p_lIndex); }
    std::string ColumnText(int p_lIndex) const { return m_oCursor->ColumnText(p_lIndex); }
    std::optional<double> ColumnOptionalDouble(int p_lIndex) const;

  private:
    std::unique_ptr<SqlCursor> m_oCursor;
};

class SqlDatabase {
  public:
    virtual ~SqlDatabase() = default;

    virtual SqlDialect Dialect() const = 0;
    // What a message names the database by: a file's path, or an address without its password.
    virtual const std::string& Name() const = 0;

    // Runs SQL text of the facade's own (one or more statements, no parameters).
    virtual void Execute(std::string_view p_sSql) = 0;
    virtual SqlStatement Prepare(std::string_view p_sSql) = 0;
    // A single integer result of the facade's own SQL; p_llDefault when the statement yields no
    // row or NULL.
    int64_t QueryInt64(std::string_view p_sSql, int64_t p_llDefault = 0);

    // Rows changed by the last INSERT, UPDATE or DELETE.
    virtual int64_t ChangedRows() const = 0;
    virtual bool InTransaction() const = 0;
    // True when nothing can be written through this connection.
    virtual bool IsReadOnly() const = 0;

    // The transaction scopes' work: a write transaction takes the write lock up front (refused,
    // saying why, on a read-only database); a read transaction sees one state of the database
    // until it ends. Inside an open transaction the scopes use savepoints instead
    // (sql_database.cpp).
    virtual void BeginWrite() = 0;
    virtual void BeginRead() = 0;
    virtual void CommitTransaction() = 0;
    virtual void RollbackTransaction() = 0;
};

// A write transaction, or a savepoint inside one already open; rolls back unless committed.
class SqlTransaction {
  public:
    explicit SqlTransaction(SqlDatabase& p_oDatabase);
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;

    void Commit();

  private:
    SqlDatabase& m_oDatabase;
    bool m_bSavepoint;
    std::string m_sSavepoint;
    bool m_bOpen = true;
};

}  // namespace qv::facade
