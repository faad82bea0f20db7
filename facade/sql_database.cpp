#include "facade/sql_database.h"

#include <cmath>
#include <utility>

#include "facade/sqlite_database.h"

namespace qv::facade {

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

SqlTransaction::SqlTransaction(SqlDatabase& p_oDatabase)
    : m_oDatabase(p_oDatabase), m_bSavepoint(p_oDatabase.InTransaction()) {
    if (m_bSavepoint) {
        m_oDatabase.Execute("SAVEPOINT facade_work");
        return;
    }
    m_oDatabase.BeginWrite();
}

SqlTransaction::~SqlTransaction() {
    if (!m_bOpen) {
        return;
    }
    try {
        if (m_bSavepoint) {
            m_oDatabase.Execute("ROLLBACK TO facade_work; RELEASE facade_work");
            return;
        }
        m_oDatabase.RollbackTransaction();
    } catch (const FacadeError&) {
        // The engine has already rolled back when the failure that brought us here was fatal.
    }
}

void SqlTransaction::Commit() {
    if (m_bSavepoint) {
        m_oDatabase.Execute("RELEASE facade_work");
    } else {
        m_oDatabase.CommitTransaction();
    }
    m_bOpen = false;
}

}  // namespace qv::facade
