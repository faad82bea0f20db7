#include "facade/read_snapshot.h"

#include "facade/sqlite_database.h"

namespace qv::facade {

ReadSnapshot::ReadSnapshot(SqlDatabase& p_oDatabase)
    : m_oDatabase(p_oDatabase), m_bOwn(!p_oDatabase.InTransaction()) {
    if (m_bOwn) {
        m_oDatabase.BeginRead();
    }
}

ReadSnapshot::~ReadSnapshot() {
    if (!m_bOwn || !m_oDatabase.InTransaction()) {
        return;
    }
    // Nothing was written, so a read transaction that cannot commit is rolled back instead.
    try {
        m_oDatabase.CommitTransaction();
    } catch (const FacadeError&) {
        try {
            m_oDatabase.RollbackTransaction();
        } catch (const FacadeError&) {
            // The engine has ended the transaction itself.
        }
    }
}

}  // namespace qv::facade
