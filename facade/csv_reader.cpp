#include "facade/csv_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "facade/sqlite_database.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr unsigned kZlibBufferSize = 1 << 18;

gzFile AsGzFile(void* p_oFile) {
    return static_cast<gzFile>(p_oFile);
}

}  // namespace

GzipFileSource::GzipFileSource(std::string p_sPath)
    : m_sPath(std::move(p_sPath)), m_oFile(gzopen(m_sPath.c_str(), "rb")) {
    if (m_oFile == nullptr) {
        throw FacadeError(m_sPath, 0, std::string("cannot open the file: ") + std::strerror(errno));
    }
    gzbuffer(AsGzFile(m_oFile), kZlibBufferSize);
}

GzipFileSource::~GzipFileSource() {
    gzclose(AsGzFile(m_oFile));
}

size_t GzipFileSource::Read(char* p_sBuffer, size_t p_lSize) {
    const int read = gzread(AsGzFile(m_oFile), p_sBuffer, static_cast<unsigned>(p_lSize));
    int code = Z_OK;
    const char* message = gzerror(AsGzFile(m_oFile), &code);
    if (read < 0) {
        throw FacadeError(m_sPath, 0, std::string("cannot read the file: ") + message);
    }
    // zlib hands out what it could unpack of a cut-off file and then reports a plain end, with the
    // cut noted only as Z_BUF_ERROR: a price file that lost its tail must not pass as complete.
    if (read == 0 && code == Z_BUF_ERROR) {
        throw FacadeError(m_sPath, 0,
                          "the compressed file is cut off (" + std::string(message) + ")");
    }
    return static_cast<size_t>(read);
}

size_t StringSource::Read(char* p_sBuffer, size_t p_lSize) {
    const size_t count = std::min(p_lSize, m_sText.size() - m_lPosition);
    std::memcpy(p_sBuffer, m_sText.data() + m_lPosition, count);
    m_lPosition += count;
    return count;
}

CsvReader::CsvReader(ByteSource& p_oSource, std::string p_sName)
    : m_oSource(p_oSource), m_sName(std::move(p_sName)), m_sBuffer(kBufferSize, '\0') {}

void CsvReader::NotCsv(const std::string& p_sWhat, const char* p_sLikely) const {
    throw FacadeError(m_sName, 0,
                      "line " + std::to_string(m_llRecordLine) + " " + p_sWhat +
                          ": not CSV text (" + p_sLikely + "?)");
}

// The field text plus one separator per field stands for the record's length: without the
// separators a line of nothing but commas would grow without bound.
void CsvReader::CheckRecordSize(bool p_bQuoted) const {
    if (m_sRecord.size() + m_aFieldEnds.size() <= kMaxRecordBytes) {
        return;
    }
    const std::string limit = std::to_string(kMaxRecordBytes) + " bytes";
    if (p_bQuoted) {
        NotCsv("opens a quoted field that runs past " + limit, "a quote left open");
    }
    NotCsv("is longer than " + limit, "a binary file, or one without line ends");
}

void CsvReader::Refill() {
    m_lFilled = m_oSource.Read(m_sBuffer.data(), m_sBuffer.size());
    m_lPosition = 0;
    m_bAtEnd = m_lFilled == 0;
}

int CsvReader::Peek() {
    if (m_lPosition == m_lFilled && !m_bAtEnd) {
        Refill();
    }
    return m_lPosition < m_lFilled ? static_cast<unsigned char>(m_sBuffer[m_lPosition]) : -1;
}

int CsvReader::Next() {
    const int byte = Peek();
    if (byte >= 0) {
        ++m_lPosition;
    }
    return byte;
}

void CsvReader::ReadQuoted() {
    Next();  // the opening quote
    for (;;) {
        const int byte = Next();
        if (byte < 0) {
            m_bUnterminated = true;
            return;
        }
        if (byte == '"') {
            if (Peek() != '"') {
                break;
            }
            Next();
        } else if (byte == '\n') {
            ++m_llLine;
        } else if (byte == 0) {
            NotCsv("holds a NUL byte", "a binary file, or text in UTF-16");
        }
        m_sRecord.push_back(static_cast<char>(byte));
        CheckRecordSize(true);
    }
    // Text between the closing quote and the next separator is kept, as spreadsheets do.
    ReadPlain();
}

// Copies up to the next separator or line end a buffer at a time: this loop carries every byte of
// a large price file.
void CsvReader::ReadPlain() {
    for (;;) {
        if (Peek() < 0) {
            return;
        }
        const char* start = m_sBuffer.data() + m_lPosition;
        const char* end = m_sBuffer.data() + m_lFilled;
        const char* stop = start;
        while (stop < end && *stop != ',' && *stop != '\n' && *stop != '\r') {
            ++stop;
        }
        if (std::memchr(start, '\0', static_cast<size_t>(stop - start)) != nullptr) {
            NotCsv("holds a NUL byte", "a binary file, or text in UTF-16");
        }
        m_sRecord.append(start, stop);
        m_lPosition += static_cast<size_t>(stop - start);
        CheckRecordSize(false);
        if (stop == end) {
            continue;
        }
        if (*stop != '\r') {
            return;
        }
        ++m_lPosition;
    }
}

// Most records are one line without quotes, wholly inside the buffer: their fields are cut out of
// the buffer in place. Anything else (quotes, a stray CR, a record across a refill) takes the
// general path.
bool CsvReader::ReadSimpleRecord(std::vector<std::string_view>& p_aFields) {
    const char* start = m_sBuffer.data() + m_lPosition;
    const auto* newline =
        static_cast<const char*>(std::memchr(start, '\n', m_lFilled - m_lPosition));
    if (newline == nullptr ||
        std::memchr(start, '"', static_cast<size_t>(newline - start)) != nullptr) {
        return false;
    }
    const char* end = newline > start && newline[-1] == '\r' ? newline - 1 : newline;
    // A stray CR goes the general way, and so does a NUL byte, which is reported there.
    if (std::memchr(start, '\r', static_cast<size_t>(end - start)) != nullptr ||
        std::memchr(start, '\0', static_cast<size_t>(end - start)) != nullptr) {
        return false;
    }
    for (const char* field = start;;) {
        const auto* comma =
            static_cast<const char*>(std::memchr(field, ',', static_cast<size_t>(end - field)));
        const char* fieldEnd = comma != nullptr ? comma : end;
        p_aFields.emplace_back(field, static_cast<size_t>(fieldEnd - field));
        if (comma == nullptr) {
            break;
        }
        field = comma + 1;
    }
    m_lPosition = static_cast<size_t>(newline - m_sBuffer.data()) + 1;
    ++m_llLine;
    return true;
}

// A source may hand out fewer bytes than asked for, so the first read can end inside the mark.
void CsvReader::SkipByteOrderMark() {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (Peek() != 0xEF) {
        return;
    }
    while (m_lFilled < kMark.size()) {
        const size_t read =
            m_oSource.Read(m_sBuffer.data() + m_lFilled, m_sBuffer.size() - m_lFilled);
        if (read == 0) {
            break;
        }
        m_lFilled += read;
    }
    if (std::string_view(m_sBuffer.data(), m_lFilled).starts_with(kMark)) {
        m_lPosition = kMark.size();
    }
}

bool CsvReader::ReadRecord(std::vector<std::string_view>& p_aFields) {
    if (!m_bStarted) {
        m_bStarted = true;
        SkipByteOrderMark();
    }
    while (Peek() == '\n' || Peek() == '\r') {
        if (Next() == '\n') {
            ++m_llLine;
        }
    }
    p_aFields.clear();
    if (Peek() < 0) {
        return false;
    }
    m_llRecordLine = m_llLine;
    m_bUnterminated = false;
    if (ReadSimpleRecord(p_aFields)) {
        return true;
    }
    m_sRecord.clear();
    m_aFieldEnds.clear();
    for (;;) {
        if (Peek() == '"') {
            ReadQuoted();
        } else {
            ReadPlain();
        }
        m_aFieldEnds.push_back(m_sRecord.size());
        CheckRecordSize(false);
        const int separator = Next();
        if (separator != ',') {
            if (separator == '\n') {
                ++m_llLine;
            }
            break;
        }
    }
    size_t start = 0;
    for (const size_t end : m_aFieldEnds) {
        p_aFields.emplace_back(m_sRecord.data() + start, end - start);
        start = end;
    }
    return true;
}

namespace {

// Plain decimals such as "68.07" or "-3" are read digit by digit: with at most 15 digits the
// digits form an exact integer, and one division by an exact power of ten rounds once, giving the
// same double as a full conversion at a fraction of the cost. A price file has millions of them.
std::optional<double> ReadPlainDecimal(std::string_view p_sText) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = !p_sText.empty() && p_sText.front() == '-';
    uint64_t digits = 0;
    int count = 0;
    int fraction = -1;
    for (size_t i = negative ? 1 : 0; i < p_sText.size(); ++i) {
        const char ch = p_sText[i];
        if (ch == '.' && fraction < 0) {
            fraction = 0;
            continue;
        }
        if (ch < '0' || ch > '9' || ++count > 15) {
            return std::nullopt;
        }
        digits = digits * 10 + static_cast<uint64_t>(ch - '0');
        fraction += fraction >= 0 ? 1 : 0;
    }
    if (count == 0) {
        return std::nullopt;
    }
    const double value = static_cast<double>(digits) / kPowersOfTen[std::max(fraction, 0)];
    return negative ? -value : value;
}

}  // namespace

std::optional<double> ReadCsvNumber(std::string_view p_sText) {
    p_sText = TrimWhitespace(p_sText);
    if (const std::optional<double> plain = ReadPlainDecimal(p_sText)) {
        return plain;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(p_sText.data(), p_sText.data() + p_sText.size(), value);
    if (error != std::errc() || end != p_sText.data() + p_sText.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace qv::facade
