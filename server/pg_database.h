// The facade's query layer on a PostgreSQL database: one libpq connection, used by one thread at
// a time (the server keeps one per facade backend of its pool).
//
// The facade's SQL is SQLite's spelling of what the two engines share, translated as it is
// prepared: ?N and ? become $N; a cast AS REAL becomes AS DOUBLE PRECISION and AS INTEGER becomes
// AS BIGINT (SQLite's integers being 64 bits). A statement is prepared on the connection once,
// under a name of its own, and kept for the connection's life, so a request that runs the same
// queries again pays for the planning only the first time.
// Parameters go as text (a double printed so that it reads back the same), results come back as
// text and are read by their column's type.
//
// Write transactions take turns, as they do on SQLite: the stores count on it where they choose
// an id as the highest plus one, or check that a name is free before they take it.
//
// A connection that broke (the database restarted, the server was ended) is opened again by the
// next statement outside a transaction; inside a transaction the loss is reported, since the
// work done in it is gone.
//
//     PgDatabase db("postgresql:///qorvant?host=/run/qorvant&port=5432");
//     SqlStatement find = db.Prepare("SELECT stock_id FROM stocks WHERE symbol = ?1");
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "facade/sql_database.h"
#include "facade/sqlite_database.h"

struct pg_conn;
struct pg_result;

namespace qv::server {

// A statement of the facade's SQL as PostgreSQL reads it.
struct PgSql {
    std::string m_sText;
    int m_lParameterCount = 0;  // the highest parameter number used
};

// Parameters and casts are rewritten outside string literals, quoted names and comments;
// everything else stays as written.
PgSql TranslateSql(std::string_view p_sSql);

// A database address as a message may show it: the password left out, whether it was given in
// the address's user part or as a parameter.
std::string UrlWithoutPassword(std::string_view p_sUrl);

// A bound value as text and the type PostgreSQL is told it has. Integers go as 64 bits and
// doubles as double precision, as SQLite holds them: left to PostgreSQL, ?1 * 4194304 would be
// worked out in 32 bits and overflow. A text or a NULL takes the type its place in the statement
// asks for (oid 0).
struct PgParameter {
    std::optional<std::string> m_sText;
    unsigned int m_lType = 0;
};

struct PgResultDeleter {
    void operator()(pg_result* p_oResult) const;
};
using PgResult = std::unique_ptr<pg_result, PgResultDeleter>;

class PgDatabase : public facade::SqlDatabase {
  public:
    // Connects at once; a database that cannot be reached gives a FacadeError naming it. A write
    // transaction waits up to p_lBusyTimeoutMs for another's to end, then fails as busy.
    explicit PgDatabase(const std::string& p_sUrl, int p_lBusyTimeoutMs = facade::kBusyTimeoutMs);
    ~PgDatabase() override;
    PgDatabase(const PgDatabase&) = delete;
    PgDatabase& operator=(const PgDatabase&) = delete;

    facade::SqlDialect Dialect() const override { return facade::SqlDialect::Postgres; }
    const std::string& Name() const override { return m_sName; }

    void Execute(std::string_view p_sSql) override;
    facade::SqlStatement Prepare(std::string_view p_sSql) override;

    int64_t ChangedRows() const override { return m_llChangedRows; }
    bool InTransaction() const override { return m_bInTransaction; }
    bool IsReadOnly() const override { return false; }

    void BeginWrite() override;
    void BeginRead() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;

    // Runs a statement prepared on this connection (preparing it again after a reconnection);
    // the cursors' work.
    PgResult RunPrepared(const std::string& p_sText, const std::vector<PgParameter>& p_aParameters);
    // The result columns of a statement, before it runs.
    PgResult DescribePrepared(const std::string& p_sText,
                              const std::vector<PgParameter>& p_aParameters);

  private:
    [[noreturn]] void Fail(std::string_view p_sWhat, const pg_result* p_oResult) const;
    // Opens the connection again when it broke, unless a transaction was open on it.
    void EnsureConnected();
    bool EndedWhileIdle();
    struct PreparedStatement {
        std::string m_sName;
        // Whether its rows come in the binary form (every column of a type that has one).
        bool m_bBinary = false;
    };
    // A translated statement, with its parameters of the given types, as prepared on this
    // connection.
    const PreparedStatement& Prepared(const std::string& p_sText,
                                      const std::vector<PgParameter>& p_aParameters);
    PgResult Run(const std::string& p_sText, std::string_view p_sWhat);
    void NoteResult(const pg_result* p_oResult);

    std::string m_sName;
    pg_conn* m_oConnection = nullptr;
    std::map<std::string, PreparedStatement, std::less<>> m_aPrepared;
    int64_t m_llChangedRows = 0;
    bool m_bInTransaction = false;
    int m_lBusyTimeoutMs;
};

}  // namespace qv::server
