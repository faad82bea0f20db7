#include "server/pg_database.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>

#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace qv::server {

namespace {

using facade::FacadeError;
using facade::SqlValueKind;

// PostgreSQL's fixed type oids (pg_type.dat), for the types a facade query can yield.
constexpr Oid kBoolOid = 16;
constexpr Oid kInt8Oid = 20;
constexpr Oid kInt2Oid = 21;
constexpr Oid kInt4Oid = 23;
constexpr Oid kFloat4Oid = 700;
constexpr Oid kFloat8Oid = 701;
constexpr Oid kNumericOid = 1700;
constexpr Oid kNameOid = 19;
constexpr Oid kTextOid = 25;
constexpr Oid kBpcharOid = 1042;
constexpr Oid kVarcharOid = 1043;

// A statement whose columns are all of these types gets its rows in PostgreSQL's binary form,
// which it writes without formatting numbers and the cursor reads without parsing them.
bool HasBinaryForm(Oid p_lType) {
    switch (p_lType) {
        case kBoolOid:
        case kInt2Oid:
        case kInt4Oid:
        case kInt8Oid:
        case kFloat4Oid:
        case kFloat8Oid:
        case kNumericOid:
        case kNameOid:
        case kTextOid:
        case kBpcharOid:
        case kVarcharOid:
            return true;
        default:
            return false;
    }
}

// The advisory lock a write transaction holds ("QVWR").
constexpr int64_t kWriteLockKey = 0x51565752;

// How long a connection attempt may take unless the address says otherwise.
constexpr const char* kConnectTimeoutSeconds = "10";

bool IsWordChar(char p_cChar) {
    return std::isalnum(static_cast<unsigned char>(p_cChar)) != 0 || p_cChar == '_';
}

bool IsDigit(char p_cChar) {
    return p_cChar >= '0' && p_cChar <= '9';
}

// The end of a quoted stretch starting at p_lStart (its quote doubled inside to escape it).
size_t QuotedEnd(std::string_view p_sSql, size_t p_lStart) {
    const char quote = p_sSql[p_lStart];
    size_t at = p_lStart + 1;
    while (at < p_sSql.size()) {
        if (p_sSql[at] != quote) {
            ++at;
            continue;
        }
        if (at + 1 < p_sSql.size() && p_sSql[at + 1] == quote) {
            at += 2;
            continue;
        }
        return at + 1;
    }
    return p_sSql.size();
}

// The end of a comment starting at p_lStart, or npos when none starts there.
size_t CommentEnd(std::string_view p_sSql, size_t p_lStart) {
    const std::string_view rest = p_sSql.substr(p_lStart);
    if (rest.starts_with("--")) {
        const size_t end = p_sSql.find('\n', p_lStart);
        return end == std::string_view::npos ? p_sSql.size() : end;
    }
    if (rest.starts_with("/*")) {
        const size_t end = p_sSql.find("*/", p_lStart + 2);
        return end == std::string_view::npos ? p_sSql.size() : end + 2;
    }
    return std::string_view::npos;
}

// SQLite's REAL is a double, its INTEGER 64 bits wide; PostgreSQL's are narrower.
std::string_view CastType(std::string_view p_sType) {
    if (EqualsIgnoreCase(p_sType, "REAL")) {
        return "DOUBLE PRECISION";
    }
    if (EqualsIgnoreCase(p_sType, "INTEGER")) {
        return "BIGINT";
    }
    return p_sType;
}

// The translation's state: the text so far and what it has seen of the parameters and words.
class Translator {
  public:
    explicit Translator(std::string_view p_sSql) : m_sSql(p_sSql) {}

    PgSql Translate() {
        while (m_lAt < m_sSql.size()) {
            Next();
        }
        return {std::move(m_sOut), m_lHighest};
    }

  private:
    void Next() {
        const char current = m_sSql[m_lAt];
        if (current == '\'' || current == '"') {
            Copy(QuotedEnd(m_sSql, m_lAt));
            m_sPreviousWord = {};
            return;
        }
        if (const size_t end = CommentEnd(m_sSql, m_lAt); end != std::string_view::npos) {
            Copy(end);
            return;
        }
        if (current == '?') {
            Parameter();
            return;
        }
        if (IsWordChar(current)) {
            Word();
            return;
        }
        if (std::isspace(static_cast<unsigned char>(current)) == 0) {
            m_sPreviousWord = {};
        }
        Copy(m_lAt + 1);
    }

    void Copy(size_t p_lEnd) {
        m_sOut.append(m_sSql.substr(m_lAt, p_lEnd - m_lAt));
        m_lAt = p_lEnd;
    }

    // ?N keeps its number; a bare ? takes the one after the highest so far, as SQLite numbers it.
    void Parameter() {
        size_t end = m_lAt + 1;
        while (end < m_sSql.size() && IsDigit(m_sSql[end])) {
            ++end;
        }
        int number = m_lHighest + 1;
        if (end > m_lAt + 1) {
            std::from_chars(m_sSql.data() + m_lAt + 1, m_sSql.data() + end, number);
        }
        m_lHighest = std::max(m_lHighest, number);
        m_sOut += '$';
        m_sOut += std::to_string(number);
        m_lAt = end;
        m_sPreviousWord = {};
    }

    void Word() {
        size_t end = m_lAt;
        while (end < m_sSql.size() && IsWordChar(m_sSql[end])) {
            ++end;
        }
        const std::string_view word = m_sSql.substr(m_lAt, end - m_lAt);
        m_sOut.append(EqualsIgnoreCase(m_sPreviousWord, "AS") ? CastType(word) : word);
        m_sPreviousWord = word;
        m_lAt = end;
    }

    std::string_view m_sSql;
    size_t m_lAt = 0;
    std::string m_sOut;
    int m_lHighest = 0;
    std::string_view m_sPreviousWord;
};

// The user part of an address without ":password".
std::string UserWithoutPassword(std::string_view p_sUser) {
    return std::string(p_sUser.substr(0, p_sUser.find(':')));
}

// A list of settings (an address's parameters split by '&', or a keyword/value connection string
// split by ' ') without its password=... setting.
std::string WithoutPassword(std::string_view p_sSettings, char p_cSeparator) {
    std::string kept;
    for (const std::string_view setting : SplitText(p_sSettings, p_cSeparator)) {
        if (setting.starts_with("password=") || setting.empty()) {
            continue;
        }
        if (!kept.empty()) {
            kept += p_cSeparator;
        }
        kept.append(setting);
    }
    return kept;
}

// libpq's message on one line, without the line breaks and indents it formats it with.
std::string OneLine(std::string_view p_sMessage) {
    std::string line;
    for (const char c : TrimWhitespace(p_sMessage)) {
        if (std::isspace(static_cast<unsigned char>(c)) == 0) {
            line += c;
        } else if (!line.empty() && line.back() != ' ') {
            line += ' ';
        }
    }
    return line;
}

// Doubles go as text that reads back as the same double; PostgreSQL spells the non-finite ones.
std::string DoubleText(double p_dValue) {
    if (std::isnan(p_dValue)) {
        return "NaN";
    }
    if (std::isinf(p_dValue)) {
        return p_dValue > 0 ? "Infinity" : "-Infinity";
    }
    char text[32];
    std::snprintf(text, sizeof(text), "%.17g", p_dValue);
    return text;
}

uint64_t BigEndian(std::string_view p_sBytes) {
    uint64_t value = 0;
    for (const char byte : p_sBytes) {
        value = (value << 8) | static_cast<unsigned char>(byte);
    }
    return value;
}

// A binary int2, int4 or int8.
int64_t BinaryInteger(std::string_view p_sBytes) {
    const uint64_t raw = BigEndian(p_sBytes);
    if (p_sBytes.empty() || p_sBytes.size() >= 8) {
        return static_cast<int64_t>(raw);
    }
    const uint64_t sign = uint64_t{1} << (8 * p_sBytes.size() - 1);
    return static_cast<int64_t>((raw ^ sign) - sign);
}

// A binary float4 or float8.
double BinaryFloat(std::string_view p_sBytes) {
    if (p_sBytes.size() == 4) {
        return std::bit_cast<float>(static_cast<uint32_t>(BigEndian(p_sBytes)));
    }
    return std::bit_cast<double>(BigEndian(p_sBytes));
}

// A binary numeric as PostgreSQL's text form writes it. The binary form is four 16-bit words (the
// count of base-10000 digits, the weight of the first, the sign, the count of decimals shown)
// and then the digits.
std::string NumericText(std::string_view p_sBytes) {
    const auto word = [&](size_t p_lAt) {
        return static_cast<uint16_t>(BigEndian(p_sBytes.substr(2 * p_lAt, 2)));
    };
    if (p_sBytes.size() < 8) {
        return "NaN";
    }
    const int count = word(0);
    const int weight = static_cast<int16_t>(word(1));
    const uint16_t sign = word(2);
    const size_t decimals = word(3);
    if (sign == 0xD000 || sign == 0xF000) {
        return sign == 0xD000 ? "Infinity" : "-Infinity";
    }
    if (sign == 0xC000 || p_sBytes.size() < 8 + 2 * static_cast<size_t>(count)) {
        return "NaN";
    }
    const auto digit = [&](int p_lIndex) {
        return p_lIndex >= 0 && p_lIndex < count ? word(4 + static_cast<size_t>(p_lIndex)) : 0;
    };
    // A base-10000 digit as four decimal ones.
    const auto append = [&](std::string& p_sText, int p_lIndex) {
        const int value = digit(p_lIndex);
        p_sText += static_cast<char>('0' + value / 1000);
        p_sText += static_cast<char>('0' + value / 100 % 10);
        p_sText += static_cast<char>('0' + value / 10 % 10);
        p_sText += static_cast<char>('0' + value % 10);
    };
    std::string text = sign == 0x4000 ? "-" : "";
    if (weight < 0) {
        text += '0';
    } else {
        std::string first;
        append(first, 0);
        const size_t lead = std::min(first.find_first_not_of('0'), size_t{3});
        text += first.substr(lead);
    }
    for (int i = 1; i <= weight; ++i) {
        append(text, i);
    }
    if (decimals == 0) {
        return text;
    }
    text += '.';
    const size_t point = text.size();
    for (int i = weight + 1; text.size() - point < decimals; ++i) {
        append(text, i);
    }
    text.resize(point + decimals);
    return text;
}

// The decimals a binary numeric shows; 0 for one too short to be a numeric.
size_t NumericDecimals(std::string_view p_sBytes) {
    return p_sBytes.size() < 8 ? 0 : static_cast<size_t>(BigEndian(p_sBytes.substr(6, 2)));
}

// A double as PostgreSQL's text form writes it: the shortest that reads back the same.
std::string FloatText(double p_dValue) {
    if (std::isnan(p_dValue) || std::isinf(p_dValue)) {
        return std::isnan(p_dValue) ? "NaN" : (p_dValue > 0 ? "Infinity" : "-Infinity");
    }
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof(text), p_dValue);
    return std::string(text, end);
}

// A numeric that holds a whole number of int64's range reads as an integer, as SQLite's sum of
// integers would; any other as a double.
SqlValueKind NumericKind(std::string_view p_sText) {
    int64_t whole = 0;
    const auto [end, error] =
        std::from_chars(p_sText.data(), p_sText.data() + p_sText.size(), whole);
    const bool integral = error == std::errc() && end == p_sText.data() + p_sText.size();
    return integral ? SqlValueKind::Integer : SqlValueKind::Real;
}

double ParseDouble(std::string_view p_sText) {
    double value = 0;
    std::from_chars(p_sText.data(), p_sText.data() + p_sText.size(), value);
    return value;
}

// A double as an integer the way SQLite converts one: toward zero, clamped to the range.
int64_t DoubleToInt64(double p_dValue) {
    if (std::isnan(p_dValue)) {
        return 0;
    }
    if (p_dValue >= 9223372036854775807.0) {
        return std::numeric_limits<int64_t>::max();
    }
    if (p_dValue <= -9223372036854775808.0) {
        return std::numeric_limits<int64_t>::min();
    }
    return static_cast<int64_t>(p_dValue);
}

// One prepared statement's bindings and the rows of its latest run.
class PgCursor : public facade::SqlCursor {
  public:
    PgCursor(PgDatabase& p_oDatabase, PgSql p_oSql)
        : m_oDatabase(p_oDatabase),
          m_sText(std::move(p_oSql.m_sText)),
          m_aParameters(static_cast<size_t>(p_oSql.m_lParameterCount)) {}

    void BindInt64(int p_lIndex, int64_t p_llValue) override {
        Parameter(p_lIndex) = {std::to_string(p_llValue), kInt8Oid};
    }
    void BindDouble(int p_lIndex, double p_dValue) override {
        Parameter(p_lIndex) = {DoubleText(p_dValue), kFloat8Oid};
    }
    void BindText(int p_lIndex, std::string_view p_sValue) override {
        Parameter(p_lIndex) = {std::string(p_sValue), 0};
    }
    void BindNull(int p_lIndex) override { Parameter(p_lIndex) = {}; }

    bool Step() override {
        if (!m_oResult) {
            m_oResult = m_oDatabase.RunPrepared(m_sText, m_aParameters);
            m_lRow = -1;
            Describe();
        }
        if (m_lRow < m_lRows) {
            ++m_lRow;
        }
        return m_lRow < m_lRows;
    }

    void Reset() override {
        m_oResult.reset();
        m_lRow = -1;
        Describe();
    }

    int ColumnCount() const override {
        if (m_oResult) {
            return PQnfields(m_oResult.get());
        }
        return PQnfields(m_oDatabase.DescribePrepared(m_sText, m_aParameters).get());
    }

    SqlValueKind ColumnKind(int p_lIndex) const override {
        if (!OnColumn(p_lIndex) || PQgetisnull(m_oResult.get(), m_lRow, p_lIndex) != 0) {
            return SqlValueKind::Null;
        }
        switch (m_aTypes[static_cast<size_t>(p_lIndex)]) {
            case kBoolOid:
            case kInt2Oid:
            case kInt4Oid:
            case kInt8Oid:
                return SqlValueKind::Integer;
            case kFloat4Oid:
            case kFloat8Oid:
                return SqlValueKind::Real;
            case kNumericOid:
                // A numeric showing decimals is never a whole number.
                if (Binary(p_lIndex) && NumericDecimals(Text(p_lIndex)) > 0) {
                    return SqlValueKind::Real;
                }
                return NumericKind(TextForm(p_lIndex));
            default:
                return SqlValueKind::Text;
        }
    }

    int64_t ColumnInt64(int p_lIndex) const override {
        if (Binary(p_lIndex)) {
            switch (m_aTypes[static_cast<size_t>(p_lIndex)]) {
                case kInt2Oid:
                case kInt4Oid:
                case kInt8Oid:
                    return BinaryInteger(Text(p_lIndex));
                case kFloat4Oid:
                case kFloat8Oid:
                    return DoubleToInt64(BinaryFloat(Text(p_lIndex)));
                default:
                    break;
            }
        }
        const std::string form = TextForm(p_lIndex);
        const std::string_view text = form;
        if (OnColumn(p_lIndex) && m_aTypes[static_cast<size_t>(p_lIndex)] == kBoolOid) {
            return text == "t" ? 1 : 0;
        }
        int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size()) {
            return value;
        }
        return DoubleToInt64(ParseDouble(text));
    }

    double ColumnDouble(int p_lIndex) const override {
        if (Binary(p_lIndex) && OnColumn(p_lIndex) &&
            !PQgetisnull(m_oResult.get(), m_lRow, p_lIndex)) {
            const Oid type = m_aTypes[static_cast<size_t>(p_lIndex)];
            if (type == kFloat4Oid || type == kFloat8Oid) {
                return BinaryFloat(Text(p_lIndex));
            }
        }
        if (ColumnKind(p_lIndex) == SqlValueKind::Integer) {
            return static_cast<double>(ColumnInt64(p_lIndex));
        }
        return ParseDouble(TextForm(p_lIndex));
    }

    std::string ColumnText(int p_lIndex) const override { return TextForm(p_lIndex); }

  private:
    PgParameter& Parameter(int p_lIndex) {
        if (p_lIndex < 1 || static_cast<size_t>(p_lIndex) > m_aParameters.size()) {
            throw FacadeError(m_oDatabase.Name(), 0,
                              "cannot bind parameter " + std::to_string(p_lIndex) +
                                  ": the statement has " + std::to_string(m_aParameters.size()));
        }
        return m_aParameters[static_cast<size_t>(p_lIndex - 1)];
    }

    bool OnColumn(int p_lIndex) const {
        return m_lRow >= 0 && m_lRow < m_lRows && p_lIndex >= 0 &&
               static_cast<size_t>(p_lIndex) < m_aTypes.size();
    }

    bool Binary(int p_lIndex) const {
        return p_lIndex >= 0 && static_cast<size_t>(p_lIndex) < m_aBinary.size() &&
               m_aBinary[static_cast<size_t>(p_lIndex)];
    }

    // The value in PostgreSQL's text form, whichever form it came in; "" for NULL or off the row.
    std::string TextForm(int p_lIndex) const {
        const std::string_view bytes = Text(p_lIndex);
        if (!Binary(p_lIndex) || !OnColumn(p_lIndex) ||
            PQgetisnull(m_oResult.get(), m_lRow, p_lIndex) != 0) {
            return std::string(bytes);
        }
        switch (m_aTypes[static_cast<size_t>(p_lIndex)]) {
            case kBoolOid:
                return bytes == std::string_view("\1", 1) ? "t" : "f";
            case kInt2Oid:
            case kInt4Oid:
            case kInt8Oid:
                return std::to_string(BinaryInteger(bytes));
            case kFloat4Oid:
            case kFloat8Oid:
                return FloatText(BinaryFloat(bytes));
            case kNumericOid:
                return NumericText(bytes);
            default:
                return std::string(bytes);
        }
    }

    // The value's bytes as PostgreSQL sent them; "" for NULL or off the row.
    std::string_view Text(int p_lIndex) const {
        if (!OnColumn(p_lIndex)) {
            return {};
        }
        return {PQgetvalue(m_oResult.get(), m_lRow, p_lIndex),
                static_cast<size_t>(PQgetlength(m_oResult.get(), m_lRow, p_lIndex))};
    }

    PgDatabase& m_oDatabase;
    std::string m_sText;
    std::vector<PgParameter> m_aParameters;
    // The latest run's row count and each column's type and form, read once from the result
    // instead of at every value.
    void Describe() {
        m_lRows = m_oResult ? PQntuples(m_oResult.get()) : 0;
        const int columns = m_oResult ? PQnfields(m_oResult.get()) : 0;
        m_aTypes.clear();
        m_aBinary.clear();
        for (int column = 0; column < columns; ++column) {
            m_aTypes.push_back(PQftype(m_oResult.get(), column));
            m_aBinary.push_back(PQfformat(m_oResult.get(), column) == 1);
        }
    }

    PgResult m_oResult;
    int m_lRow = -1;
    int m_lRows = 0;
    std::vector<Oid> m_aTypes;
    std::vector<bool> m_aBinary;
};

void IgnoreNotice(void*, const char*) {}

bool Succeeded(const pg_result* p_oResult) {
    const ExecStatusType status = PQresultStatus(p_oResult);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

}  // namespace

PgSql TranslateSql(std::string_view p_sSql) {
    return Translator(p_sSql).Translate();
}

std::string UrlWithoutPassword(std::string_view p_sUrl) {
    const size_t scheme = p_sUrl.find("://");
    if (scheme == std::string_view::npos) {
        return WithoutPassword(p_sUrl, ' ');
    }
    const size_t authority = scheme + 3;
    const size_t query = p_sUrl.find('?', authority);
    const size_t path = std::min(p_sUrl.find('/', authority), query);
    const std::string_view host = p_sUrl.substr(authority, path - authority);
    const size_t at = host.rfind('@');
    std::string address(p_sUrl.substr(0, authority));
    if (at != std::string_view::npos) {
        address += UserWithoutPassword(host.substr(0, at)) + "@";
    }
    address.append(host.substr(at == std::string_view::npos ? 0 : at + 1));
    if (path < query) {
        address.append(p_sUrl.substr(path, query - path));
    }
    if (query == std::string_view::npos) {
        return address;
    }
    const std::string parameters = WithoutPassword(p_sUrl.substr(query + 1), '&');
    return parameters.empty() ? address : address + "?" + parameters;
}

void PgResultDeleter::operator()(pg_result* p_oResult) const {
    PQclear(p_oResult);
}

PgDatabase::PgDatabase(const std::string& p_sUrl, int p_lBusyTimeoutMs)
    : m_sName(UrlWithoutPassword(p_sUrl)), m_lBusyTimeoutMs(p_lBusyTimeoutMs) {
    // The address is expanded after the default timeout, so a timeout it names wins.
    const char* keywords[] = {"connect_timeout", "dbname", nullptr};
    const char* values[] = {kConnectTimeoutSeconds, p_sUrl.c_str(), nullptr};
    m_oConnection = PQconnectdbParams(keywords, values, 1);
    if (m_oConnection == nullptr) {
        throw FacadeError(m_sName, 0, "cannot connect to the database: out of memory");
    }
    if (PQstatus(m_oConnection) != CONNECTION_OK) {
        const std::string message = OneLine(PQerrorMessage(m_oConnection));
        PQfinish(m_oConnection);
        throw FacadeError(m_sName, 0, "cannot connect to the database: " + message);
    }
    // Notices (an IF NOT EXISTS that found the object) are for people at a console.
    PQsetNoticeProcessor(m_oConnection, IgnoreNotice, nullptr);
}

PgDatabase::~PgDatabase() {
    PQfinish(m_oConnection);
}

void PgDatabase::Fail(std::string_view p_sWhat, const pg_result* p_oResult) const {
    const char* primary =
        p_oResult != nullptr ? PQresultErrorField(p_oResult, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const std::string message =
        OneLine(primary != nullptr ? primary : PQerrorMessage(m_oConnection));
    throw FacadeError(m_sName, 0, std::string(p_sWhat) + ": " + message);
}

// A connection the database ended while it sat idle (a restart, pg_terminate_backend) has its
// last words and the end of the stream waiting on the socket: read now, they let the statement
// run on a new connection instead of failing on the old one. Outside a transaction only, where
// nothing of the work is lost with the connection; no query is outstanding, so nothing else can
// be waiting but an occasional notice.
bool PgDatabase::EndedWhileIdle() {
    if (m_bInTransaction) {
        return false;
    }
    pollfd socket{PQsocket(m_oConnection), POLLIN, 0};
    while (poll(&socket, 1, 0) > 0 && PQconsumeInput(m_oConnection) == 1) {
    }
    return PQstatus(m_oConnection) != CONNECTION_OK;
}

void PgDatabase::EnsureConnected() {
    if (PQstatus(m_oConnection) == CONNECTION_OK && !EndedWhileIdle()) {
        return;
    }
    if (m_bInTransaction) {
        throw FacadeError(m_sName, 0,
                          "the connection to the database was lost during a transaction, whose "
                          "work is undone: " +
                              OneLine(PQerrorMessage(m_oConnection)));
    }
    m_aPrepared.clear();
    PQreset(m_oConnection);
    if (PQstatus(m_oConnection) != CONNECTION_OK) {
        throw FacadeError(
            m_sName, 0,
            "cannot connect to the database again: " + OneLine(PQerrorMessage(m_oConnection)));
    }
}

void PgDatabase::NoteResult(const pg_result* p_oResult) {
    const PGTransactionStatusType status = PQtransactionStatus(m_oConnection);
    if (status != PQTRANS_UNKNOWN) {
        m_bInTransaction = status != PQTRANS_IDLE;
    }
    if (p_oResult == nullptr || !Succeeded(p_oResult)) {
        return;
    }
    const std::string_view command = PQcmdStatus(const_cast<pg_result*>(p_oResult));
    if (command.starts_with("INSERT") || command.starts_with("UPDATE") ||
        command.starts_with("DELETE") || command.starts_with("MERGE")) {
        m_llChangedRows = std::atoll(PQcmdTuples(const_cast<pg_result*>(p_oResult)));
    }
}

PgResult PgDatabase::Run(const std::string& p_sText, std::string_view p_sWhat) {
    EnsureConnected();
    PgResult result(PQexec(m_oConnection, p_sText.c_str()));
    NoteResult(result.get());
    if (!result || !Succeeded(result.get())) {
        Fail(p_sWhat, result.get());
    }
    return result;
}

void PgDatabase::Execute(std::string_view p_sSql) {
    Run(TranslateSql(p_sSql).m_sText, "cannot run the statements");
}

const PgDatabase::PreparedStatement& PgDatabase::Prepared(
    const std::string& p_sText, const std::vector<PgParameter>& p_aParameters) {
    std::vector<Oid> types;
    std::string key = p_sText;
    for (const PgParameter& parameter : p_aParameters) {
        types.push_back(parameter.m_lType);
        key += ' ' + std::to_string(parameter.m_lType);
    }
    if (const auto known = m_aPrepared.find(key); known != m_aPrepared.end()) {
        return known->second;
    }
    PreparedStatement statement{"qv" + std::to_string(m_aPrepared.size() + 1), true};
    PgResult result(PQprepare(m_oConnection, statement.m_sName.c_str(), p_sText.c_str(),
                              static_cast<int>(types.size()), types.data()));
    NoteResult(nullptr);
    if (!result || !Succeeded(result.get())) {
        Fail("cannot prepare a query", result.get());
    }
    const PgResult described(PQdescribePrepared(m_oConnection, statement.m_sName.c_str()));
    if (!described || !Succeeded(described.get())) {
        Fail("cannot describe a query", described.get());
    }
    for (int column = 0; column < PQnfields(described.get()); ++column) {
        statement.m_bBinary =
            statement.m_bBinary && HasBinaryForm(PQftype(described.get(), column));
    }
    return m_aPrepared.emplace(std::move(key), std::move(statement)).first->second;
}

facade::SqlStatement PgDatabase::Prepare(std::string_view p_sSql) {
    EnsureConnected();
    PgSql sql = TranslateSql(p_sSql);
    // Prepared now as SQLite would, so that a statement that does not parse fails here.
    Prepared(sql.m_sText, std::vector<PgParameter>(static_cast<size_t>(sql.m_lParameterCount)));
    return facade::SqlStatement(std::make_unique<PgCursor>(*this, std::move(sql)));
}

PgResult PgDatabase::RunPrepared(const std::string& p_sText,
                                 const std::vector<PgParameter>& p_aParameters) {
    EnsureConnected();
    const PreparedStatement& statement = Prepared(p_sText, p_aParameters);
    std::vector<const char*> values;
    values.reserve(p_aParameters.size());
    for (const PgParameter& parameter : p_aParameters) {
        values.push_back(parameter.m_sText ? parameter.m_sText->c_str() : nullptr);
    }
    PgResult result(PQexecPrepared(m_oConnection, statement.m_sName.c_str(),
                                   static_cast<int>(values.size()), values.data(), nullptr, nullptr,
                                   statement.m_bBinary ? 1 : 0));
    NoteResult(result.get());
    if (!result || !Succeeded(result.get())) {
        Fail("cannot run a query", result.get());
    }
    return result;
}

PgResult PgDatabase::DescribePrepared(const std::string& p_sText,
                                      const std::vector<PgParameter>& p_aParameters) {
    EnsureConnected();
    PgResult result(
        PQdescribePrepared(m_oConnection, Prepared(p_sText, p_aParameters).m_sName.c_str()));
    NoteResult(nullptr);
    if (!result || !Succeeded(result.get())) {
        Fail("cannot describe a query", result.get());
    }
    return result;
}

void PgDatabase::BeginWrite() {
    Run("BEGIN", "cannot begin a transaction");
    try {
        Run("SET LOCAL lock_timeout = " + std::to_string(m_lBusyTimeoutMs) +
                "; SELECT pg_advisory_xact_lock(" + std::to_string(kWriteLockKey) + ")",
            "the database is busy: another connection's write transaction holds it");
    } catch (const FacadeError&) {
        RollbackTransaction();
        throw;
    }
}

void PgDatabase::BeginRead() {
    Run("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY", "cannot begin a transaction");
}

void PgDatabase::CommitTransaction() {
    if (PQtransactionStatus(m_oConnection) == PQTRANS_INERROR) {
        RollbackTransaction();
        throw FacadeError(m_sName, 0,
                          "cannot commit: a statement of the transaction failed, so its work is "
                          "undone");
    }
    if (PQstatus(m_oConnection) != CONNECTION_OK) {
        m_bInTransaction = false;
        throw FacadeError(m_sName, 0,
                          "cannot commit: the connection to the database was lost, so the "
                          "transaction's work is undone");
    }
    Run("COMMIT", "cannot commit");
}

void PgDatabase::RollbackTransaction() {
    if (PQstatus(m_oConnection) != CONNECTION_OK) {
        // The server undid the transaction when the connection ended.
        m_bInTransaction = false;
        return;
    }
    Run("ROLLBACK", "cannot roll back");
}

}  // namespace qv::server
