// Feeds arbitrary bytes to the CSV reader of the market importer. The first byte picks how many
// bytes the source hands out per read (1 to 16), the rest is the text. Reading the text in those
// pieces must give the same records, record lines and open-quote flags as reading it whole, and
// stop at the same record with the same error when the text is not CSV (a NUL byte, a record over
// the cap); and the records read without error, written back as CSV (every field quoted), must
// read back as the same fields. Anything else is a finding.
#include "facade/csv_reader.h"
#include "facade/sqlite_database.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

using qv::facade::ByteSource;
using qv::facade::CsvReader;
using qv::facade::StringSource;

// A source that hands out at most a few bytes per read, as a pipe or a slow disk may.
class PieceSource : public ByteSource {
  public:
    PieceSource(std::string p_sText, size_t p_lPiece)
        : m_sText(std::move(p_sText)), m_lPiece(p_lPiece) {}

    size_t Read(char* p_sBuffer, size_t p_lSize) override {
        const size_t lCount = std::min({p_lSize, m_lPiece, m_sText.size() - m_lPosition});
        std::memcpy(p_sBuffer, m_sText.data() + m_lPosition, lCount);
        m_lPosition += lCount;
        return lCount;
    }

  private:
    std::string m_sText;
    size_t m_lPiece;
    size_t m_lPosition = 0;
};

struct Record {
    std::vector<std::string> m_aFields;
    int64_t m_llLine = 0;
    bool m_bUnterminated = false;

    bool operator==(const Record&) const = default;
};

struct Reading {
    std::vector<Record> m_aRecords;
    std::string m_sError;  // empty when the text read to its end

    bool operator==(const Reading&) const = default;
};

Reading ReadAll(ByteSource& p_oSource) {
    CsvReader oReader(p_oSource);
    Reading oReading;
    std::vector<std::string_view> aFields;
    try {
        while (oReader.ReadRecord(aFields)) {
            oReading.m_aRecords.push_back({std::vector<std::string>(aFields.begin(), aFields.end()),
                                           oReader.RecordLine(), oReader.Unterminated()});
        }
    } catch (const qv::facade::FacadeError& oError) {
        oReading.m_sError = oError.Description();
    }
    return oReading;
}

std::string Quoted(const std::vector<Record>& p_aRecords) {
    std::string sText;
    for (const Record& oRecord : p_aRecords) {
        for (size_t i = 0; i < oRecord.m_aFields.size(); ++i) {
            sText += i == 0 ? "\"" : ",\"";
            for (const char cChar : oRecord.m_aFields[i]) {
                sText += cChar == '"' ? std::string("\"\"") : std::string(1, cChar);
            }
            sText += '"';
        }
        sText += '\n';
    }
    return sText;
}

void Check(bool p_bHolds) {
    if (!p_bHolds) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_data, size_t p_size) {
    if (p_size == 0) {
        return 0;
    }
    const size_t lPiece = 1 + p_data[0] % 16;
    const std::string sText(reinterpret_cast<const char*>(p_data) + 1, p_size - 1);

    StringSource oWhole(sText);
    const Reading oReading = ReadAll(oWhole);
    PieceSource oPieces(sText, lPiece);
    Check(ReadAll(oPieces) == oReading);

    // The cap counts what a record holds, not its quotes, so quoting keeps every record within it.
    const std::vector<Record>& aRecords = oReading.m_aRecords;
    StringSource oQuoted(Quoted(aRecords));
    const Reading oAgainReading = ReadAll(oQuoted);
    Check(oAgainReading.m_sError.empty());
    const std::vector<Record>& aAgain = oAgainReading.m_aRecords;
    Check(aAgain.size() == aRecords.size());
    for (size_t i = 0; i < aAgain.size(); ++i) {
        Check(aAgain[i].m_aFields == aRecords[i].m_aFields);
        Check(!aAgain[i].m_bUnterminated);
    }
    return 0;
}
