#include "facade/sql_database.h"

#include <atomic>
#include <cmath>
#include <utility>

namespace qv::facade {

namespace {

// Savepoint names only need to differ from those still open on the same connection; a number
// drawn once per scope from the whole process is simplest and never repeats.
std::string NextSavepointName() {
    static std::atomic<int64_t> s_llCount{0};
    return "qv_" + std::to_string(++s_llCount);
}

}  // namespace

SqlStatement::SqlStatement(std::unique_ptr<SqlCursor> p_oCursor)
    : m_oCursor(std::move(p_oCursor)) {}

void SqlStatement::BindOptionalDouble(int p_lIndex, std::optional<double> p_dValue) {
    if (p_dValue && std::isfinite(*p_dValue)) {
        BindDouble(p_lIndex, *p_dValue);
        return;
    }
    BindNull(p_lIndex);
}

void SqlStatement::Run() {
    while (Step()) {
    }
    Reset();
}

std::optional<double> SqlStatement::ColumnOptionalDouble(int p_lIndex) const {
    if (ColumnIsNull(p_lIndex)) {
        return std::nullopt;
    }
    return ColumnDouble(p_lIndex);
}

int64_t SqlDatabase::QueryInt64(std::string_view p_sSql, int64_t p_llDefault) {
    SqlStatement query = Prepare(p_sSql);
    if (!query.Step() || query.ColumnIsNull(0)) {
        return p_llDefault;
    }
    return query.ColumnInt64(0);
}

// A read-only database takes BeginWrite even inside a read transaction, so that the write is
// refused with the engine's reason instead of failing later at its first statement.
SqlTransaction::SqlTransaction(SqlDatabase& p_oDatabase)
    : m_oDatabase(p_oDatabase),
      m_bSavepoint(p_oDatabase.InTransaction() && !p_oDatabase.IsReadOnly()) {
    if (!m_bSavepoint) {
        m_oDatabase.BeginWrite();
        return;
    }
    m_sSavepoint = NextSavepointName();
    m_oDatabase.Execute("SAVEPOINT " + m_sSavepoint);
}

SqlTransaction::~SqlTransaction() {
    if (!m_bOpen) {
        return;
    }
    try {
        if (!m_bSavepoint) {
            m_oDatabase.RollbackTransaction();
            return;
        }
        m_oDatabase.Execute("ROLLBACK TO " + m_sSavepoint);
        m_oDatabase.Execute("RELEASE " + m_sSavepoint);
    } catch (const std::exception&) {
        // The engine has already ended the transaction when the failure that brought us here
        // was fatal to it.
    }
}

void SqlTransaction::Commit() {
    if (m_bSavepoint) {
        m_oDatabase.Execute("RELEASE " + m_sSavepoint);
    } else {
        m_oDatabase.CommitTransaction();
    }
    m_bOpen = false;
}

}  // namespace qv::facade
