#include "facade/csv_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "facade/sqlite_database.h"

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
    const int lRead = gzread(AsGzFile(m_oFile), p_sBuffer, static_cast<unsigned>(p_lSize));
    int lCode = Z_OK;
    const char* sMessage = gzerror(AsGzFile(m_oFile), &lCode);
    if (lRead < 0) {
        throw FacadeError(m_sPath, 0, std::string("cannot read the file: ") + sMessage);
    }
    // zlib hands out what it could unpack of a cut-off file and then reports a plain end, with the
    // cut noted only as Z_BUF_ERROR: a price file that lost its tail must not pass as complete.
    if (lRead == 0 && lCode == Z_BUF_ERROR) {
        throw FacadeError(m_sPath, 0,
                          "the compressed file is cut off (" + std::string(sMessage) + ")");
    }
    return static_cast<size_t>(lRead);
}

size_t StringSource::Read(char* p_sBuffer, size_t p_lSize) {
    const size_t lCount = std::min(p_lSize, m_sText.size() - m_lPosition);
    std::memcpy(p_sBuffer, m_sText.data() + m_lPosition, lCount);
    m_lPosition += lCount;
    return lCount;
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
    const std::string sLimit = std::to_string(kMaxRecordBytes) + " bytes";
    if (p_bQuoted) {
        NotCsv("opens a quoted field that runs past " + sLimit, "a quote left open");
    }
    NotCsv("is longer than " + sLimit, "a binary file, or one without line ends");
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
    const int lByte = Peek();
    if (lByte >= 0) {
        ++m_lPosition;
    }
    return lByte;
}

void CsvReader::ReadQuoted() {
    Next();  // the opening quote
    for (;;) {
        const int lByte = Next();
        if (lByte < 0) {
            m_bUnterminated = true;
            return;
        }
        if (lByte == '"') {
            if (Peek() != '"') {
                break;
            }
            Next();
        } else if (lByte == '\n') {
            ++m_llLine;
        } else if (lByte == 0) {
            NotCsv("holds a NUL byte", "a binary file, or text in UTF-16");
        }
        m_sRecord.push_back(static_cast<char>(lByte));
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
        const char* sStart = m_sBuffer.data() + m_lPosition;
        const char* sEnd = m_sBuffer.data() + m_lFilled;
        const char* sStop = sStart;
        while (sStop < sEnd && *sStop != ',' && *sStop != '\n' && *sStop != '\r') {
            ++sStop;
        }
        if (std::memchr(sStart, '\0', static_cast<size_t>(sStop - sStart)) != nullptr) {
            NotCsv("holds a NUL byte", "a binary file, or text in UTF-16");
        }
        m_sRecord.append(sStart, sStop);
        m_lPosition += static_cast<size_t>(sStop - sStart);
        CheckRecordSize(false);
        if (sStop == sEnd) {
            continue;
        }
        if (*sStop != '\r') {
            return;
        }
        ++m_lPosition;
    }
}

// Most records are one line without quotes, wholly inside the buffer: their fields are cut out of
// the buffer in place. Anything else (quotes, a stray CR, a record across a refill) takes the
// general path.
bool CsvReader::ReadSimpleRecord(std::vector<std::string_view>& p_aFields) {
    const char* sStart = m_sBuffer.data() + m_lPosition;
    const auto* sNewline =
        static_cast<const char*>(std::memchr(sStart, '\n', m_lFilled - m_lPosition));
    if (sNewline == nullptr ||
        std::memchr(sStart, '"', static_cast<size_t>(sNewline - sStart)) != nullptr) {
        return false;
    }
    const char* sEnd = sNewline > sStart && sNewline[-1] == '\r' ? sNewline - 1 : sNewline;
    // A stray CR goes the general way, and so does a NUL byte, which is reported there.
    if (std::memchr(sStart, '\r', static_cast<size_t>(sEnd - sStart)) != nullptr ||
        std::memchr(sStart, '\0', static_cast<size_t>(sEnd - sStart)) != nullptr) {
        return false;
    }
    for (const char* sField = sStart;;) {
        const auto* sComma =
            static_cast<const char*>(std::memchr(sField, ',', static_cast<size_t>(sEnd - sField)));
        const char* sFieldEnd = sComma != nullptr ? sComma : sEnd;
        p_aFields.emplace_back(sField, static_cast<size_t>(sFieldEnd - sField));
        if (sComma == nullptr) {
            break;
        }
        sField = sComma + 1;
    }
    m_lPosition = static_cast<size_t>(sNewline - m_sBuffer.data()) + 1;
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
        const size_t lRead =
            m_oSource.Read(m_sBuffer.data() + m_lFilled, m_sBuffer.size() - m_lFilled);
        if (lRead == 0) {
            break;
        }
        m_lFilled += lRead;
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
        const int lSeparator = Next();
        if (lSeparator != ',') {
            if (lSeparator == '\n') {
                ++m_llLine;
            }
            break;
        }
    }
    size_t lStart = 0;
    for (const size_t lEnd : m_aFieldEnds) {
        p_aFields.emplace_back(m_sRecord.data() + lStart, lEnd - lStart);
        lStart = lEnd;
    }
    return true;
}

}  // namespace qv::facade
