#include "facade/sqlite_database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>

namespace qv::facade {

namespace {

constexpr const char* kErrorSource = "QorvantOnlineFacade";
constexpr const char* kReadOnlyRefusal =
    "the database is read-only: layouts, watch lists and screens cannot be saved";

struct FaultPlan {
    int64_t m_llCallsLeft = 0;  // 0: no fault planned
    int m_lCode = SQLITE_OK;
};

FaultPlan s_oFaultPlan;

// SQLITE_OK, or the planned fault when this is the call a test asked to fail.
int InjectedFault() {
    if (s_oFaultPlan.m_llCallsLeft == 0) {
        return SQLITE_OK;
    }
    return --s_oFaultPlan.m_llCallsLeft == 0 ? s_oFaultPlan.m_lCode : SQLITE_OK;
}

int FaultCode(SqliteFault p_eFault) {
    switch (p_eFault) {
        case SqliteFault::IoError:
            return SQLITE_IOERR_WRITE;
        case SqliteFault::DiskFull:
            return SQLITE_FULL;
        case SqliteFault::Busy:
            return SQLITE_BUSY;
    }
    return SQLITE_IOERR;
}

// The message of a failed SQLite call, led by what it means for the database as a whole when
// that is something a user can act on.
std::string Explained(int p_lCode, const std::string& p_sDetail) {
    switch (p_lCode & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "the database is busy: another program holds it locked (" + p_sDetail + ")";
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return "the database is damaged: " + p_sDetail;
        case SQLITE_READONLY:
            return std::string(kReadOnlyRefusal) + " (" + p_sDetail + ")";
        default:
            return p_sDetail;
    }
}

// The URI that opens p_sPath immutable, with the characters URIs give a meaning ('%', '?', '#')
// escaped.
std::string ImmutableUri(const std::string& p_sPath) {
    std::string uri = "file://";
    for (const char ch : std::filesystem::absolute(p_sPath).string()) {
        if (ch == '%' || ch == '?' || ch == '#') {
            constexpr const char* kHex = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(ch);
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0xF];
        } else {
            uri += ch;
        }
    }
    return uri + "?immutable=1";
}

int OpenFlags(SqliteDatabase::OpenMode p_eMode) {
    switch (p_eMode) {
        case SqliteDatabase::OpenMode::ReadOnly:
            return SQLITE_OPEN_READONLY;
        case SqliteDatabase::OpenMode::ReadOnlyImmutable:
            return SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        case SqliteDatabase::OpenMode::ReadWrite:
            return SQLITE_OPEN_READWRITE;
        case SqliteDatabase::OpenMode::Create:
            return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    }
    return SQLITE_OPEN_READONLY;
}

// One prepared statement; SQLite's own failures name the file through its connection.
class SqliteCursor : public SqlCursor {
  public:
    SqliteCursor(const SqliteDatabase& p_oDatabase, sqlite3_stmt* p_oStatement)
        : m_oDatabase(p_oDatabase), m_oStatement(p_oStatement) {}
    ~SqliteCursor() override { sqlite3_finalize(m_oStatement); }
    SqliteCursor(const SqliteCursor&) = delete;
    SqliteCursor& operator=(const SqliteCursor&) = delete;

    void BindInt64(int p_lIndex, int64_t p_llValue) override {
        Check(sqlite3_bind_int64(m_oStatement, p_lIndex, p_llValue));
    }
    void BindDouble(int p_lIndex, double p_dValue) override {
        Check(sqlite3_bind_double(m_oStatement, p_lIndex, p_dValue));
    }
    void BindText(int p_lIndex, std::string_view p_sValue) override {
        Check(sqlite3_bind_text64(m_oStatement, p_lIndex, p_sValue.data(), p_sValue.size(),
                                  SQLITE_TRANSIENT, SQLITE_UTF8));
    }
    void BindNull(int p_lIndex) override { Check(sqlite3_bind_null(m_oStatement, p_lIndex)); }

    bool Step() override {
        int code = InjectedFault();
        if (code == SQLITE_OK) {
            code = sqlite3_step(m_oStatement);
        }
        if (code == SQLITE_ROW) {
            return true;
        }
        if (code == SQLITE_DONE) {
            return false;
        }
        sqlite3_reset(m_oStatement);
        m_oDatabase.Fail(code, "query failed");
    }
    void Reset() override { sqlite3_reset(m_oStatement); }

    int ColumnCount() const override { return sqlite3_column_count(m_oStatement); }
    SqlValueKind ColumnKind(int p_lIndex) const override {
        switch (sqlite3_column_type(m_oStatement, p_lIndex)) {
            case SQLITE_INTEGER:
                return SqlValueKind::Integer;
            case SQLITE_FLOAT:
                return SqlValueKind::Real;
            case SQLITE_NULL:
                return SqlValueKind::Null;
            default:
                return SqlValueKind::Text;
        }
    }
    int64_t ColumnInt64(int p_lIndex) const override {
        return sqlite3_column_int64(m_oStatement, p_lIndex);
    }
    double ColumnDouble(int p_lIndex) const override {
        return sqlite3_column_double(m_oStatement, p_lIndex);
    }
    std::string ColumnText(int p_lIndex) const override {
        const auto* text = sqlite3_column_text(m_oStatement, p_lIndex);
        if (text == nullptr) {
            return {};
        }
        const int bytes = sqlite3_column_bytes(m_oStatement, p_lIndex);
        return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(bytes));
    }

  private:
    void Check(int p_lCode) const {
        if (p_lCode != SQLITE_OK) {
            m_oDatabase.Fail(p_lCode, "cannot bind a value");
        }
    }

    const SqliteDatabase& m_oDatabase;
    sqlite3_stmt* m_oStatement;
};

}  // namespace

std::optional<SqliteDatabase::FileIdentity> SqliteDatabase::Identify(const std::string& p_sPath,
                                                                     int& p_lErrno) {
    struct stat fileStatus {};
    if (stat(p_sPath.c_str(), &fileStatus) != 0) {
        p_lErrno = errno;
        return std::nullopt;
    }
    return SqliteDatabase::FileIdentity{
        static_cast<uint64_t>(fileStatus.st_dev), static_cast<uint64_t>(fileStatus.st_ino),
        static_cast<int64_t>(fileStatus.st_size),
        static_cast<int64_t>(fileStatus.st_mtim.tv_sec) * 1000000000 + fileStatus.st_mtim.tv_nsec};
}

void InjectSqliteFault(int64_t p_llCall, SqliteFault p_eFault) {
    s_oFaultPlan = {p_llCall, FaultCode(p_eFault)};
}

void ClearSqliteFault() {
    s_oFaultPlan = {};
}

bool SqliteFaultPending() {
    return s_oFaultPlan.m_llCallsLeft > 0;
}

FacadeError::FacadeError(std::string p_sPath, int p_lSqliteCode, const std::string& p_sMessage)
    : AutomationError(kFacadeErrorNumber, kErrorSource, p_sPath + ": " + p_sMessage),
      m_sPath(std::move(p_sPath)),
      m_sMessage(p_sMessage),
      m_lSqliteCode(p_lSqliteCode) {}

bool FacadeError::IsBusy() const {
    const int primary = m_lSqliteCode & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

bool FacadeError::IsDamaged() const {
    const int primary = m_lSqliteCode & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

SqliteDatabase::SqliteDatabase(std::string p_sPath, OpenMode p_eMode, int p_lBusyTimeoutMs)
    : m_sPath(std::move(p_sPath)), m_bImmutable(p_eMode == OpenMode::ReadOnlyImmutable) {
    const int flags = OpenFlags(p_eMode) | SQLITE_OPEN_NOMUTEX;
    const std::string name = m_bImmutable ? ImmutableUri(m_sPath) : m_sPath;
    const int code = sqlite3_open_v2(name.c_str(), &m_oHandle, flags, nullptr);
    if (code != SQLITE_OK) {
        std::string message = m_oHandle != nullptr ? sqlite3_errmsg(m_oHandle) : "out of memory";
        sqlite3_close(m_oHandle);
        m_oHandle = nullptr;
        throw FacadeError(m_sPath, code, "cannot open the database: " + message);
    }
    sqlite3_extended_result_codes(m_oHandle, 1);
    SetBusyTimeout(p_lBusyTimeoutMs);
    int osError = 0;
    m_oIdentity = Identify(m_sPath, osError);
}

SqliteDatabase::~SqliteDatabase() {
    sqlite3_close_v2(m_oHandle);
}

void SqliteDatabase::SetBusyTimeout(int p_lMilliseconds) {
    sqlite3_busy_timeout(m_oHandle, p_lMilliseconds);
}

void SqliteDatabase::Execute(std::string_view p_sSql) {
    const std::string sql(p_sSql);
    char* error = nullptr;
    int code = InjectedFault();
    if (code == SQLITE_OK) {
        code = sqlite3_exec(m_oHandle, sql.c_str(), nullptr, nullptr, &error);
    }
    if (code == SQLITE_OK) {
        return;
    }
    std::string message = error != nullptr ? error : sqlite3_errstr(code);
    sqlite3_free(error);
    throw FacadeError(m_sPath, code, Explained(code, message));
}

SqlStatement SqliteDatabase::Prepare(std::string_view p_sSql) {
    sqlite3_stmt* statement = nullptr;
    int code = InjectedFault();
    if (code == SQLITE_OK) {
        code = sqlite3_prepare_v2(m_oHandle, p_sSql.data(), static_cast<int>(p_sSql.size()),
                                  &statement, nullptr);
    }
    if (code != SQLITE_OK) {
        Fail(code, "cannot prepare a query");
    }
    return SqlStatement(std::make_unique<SqliteCursor>(*this, statement));
}

int64_t SqliteDatabase::ChangedRows() const {
    return sqlite3_changes64(m_oHandle);
}

bool SqliteDatabase::InTransaction() const {
    return sqlite3_get_autocommit(m_oHandle) == 0;
}

bool SqliteDatabase::IsReadOnly() const {
    return sqlite3_db_readonly(m_oHandle, "main") == 1;
}

void SqliteDatabase::CheckFileInPlace() const {
    if (!m_oIdentity) {
        return;
    }
    int osError = 0;
    const std::optional<FileIdentity> now = Identify(m_sPath, osError);
    if (!now && (osError == ENOENT || osError == ENOTDIR)) {
        throw FacadeError(m_sPath, 0,
                          "the database file was deleted while this program had it open");
    }
    if (!now) {
        throw FacadeError(
            m_sPath, 0, std::string("cannot look at the database file: ") + std::strerror(osError));
    }
    if (!now->SameFile(*m_oIdentity)) {
        throw FacadeError(m_sPath, 0,
                          "the database file was replaced by another file while this program had "
                          "it open");
    }
    if (m_bImmutable && !now->SameContent(*m_oIdentity)) {
        throw FacadeError(m_sPath, 0,
                          "the database file was changed by another program while this one read "
                          "it read-only; open it again");
    }
}

void SqliteDatabase::Fail(int p_lCode, std::string_view p_sAction) const {
    // An injected fault leaves the connection's own error untouched: its text would not fit.
    const bool connectionError =
        m_oHandle != nullptr && sqlite3_extended_errcode(m_oHandle) == p_lCode;
    std::string detail(p_sAction);
    detail += ": ";
    detail += connectionError ? sqlite3_errmsg(m_oHandle) : sqlite3_errstr(p_lCode);
    throw FacadeError(m_sPath, p_lCode, Explained(p_lCode, detail));
}

void SqliteDatabase::BeginWrite() {
    if (IsReadOnly()) {
        throw FacadeError(m_sPath, SQLITE_READONLY, kReadOnlyRefusal);
    }
    CheckFileInPlace();
    Execute("BEGIN IMMEDIATE");
}

void SqliteDatabase::BeginRead() {
    Execute("BEGIN");
}

void SqliteDatabase::CommitTransaction() {
    // Committed into a file that was deleted or replaced meanwhile, the work would be lost
    // unseen; the caller must hear of it instead.
    CheckFileInPlace();
    Execute("COMMIT");
}

void SqliteDatabase::RollbackTransaction() {
    Execute("ROLLBACK");
}

}  // namespace qv::facade
