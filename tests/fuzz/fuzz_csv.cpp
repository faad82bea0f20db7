// Feeds arbitrary bytes to the CSV reader of the market importer. The first byte picks how many
// bytes the source hands out per read (1 to 16), the rest is the text. Reading the text in those
// pieces must give the same records, record lines and open-quote flags as reading it whole, and
// stop at the same record with the same error when the text is not CSV (a NUL byte, a record over
// the cap); and the records read without error, written back as CSV (every field quoted), must
// read back as the same fields. Anything else is a finding.
#include "facade/csv_reader.h"
#include "facade/sqlite_database.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using namespace qv::facade;

// A source that hands out at most a few bytes per read, as a pipe or a slow disk may.
struct PieceSource : ByteSource {
    PieceSource(std::string_view p_sText, size_t p_lPiece) : m_sText(p_sText), m_lPiece(p_lPiece) {}

    size_t Read(char* p_sBuffer, size_t p_lSize) override {
        const size_t lCount = m_sText.copy(p_sBuffer, std::min(p_lSize, m_lPiece));
        m_sText.remove_prefix(lCount);
        return lCount;
    }

    std::string_view m_sText;
    size_t m_lPiece;
};

// What a reader made of a text: each record's fields, line and open-quote flag, and the error
// that stopped it (empty when the text read to its end).
using Record = std::tuple<std::vector<std::string>, int64_t, bool>;
struct Reading {
    std::vector<Record> m_aRecords;
    std::string m_sError;

    bool operator==(const Reading&) const = default;
};

Reading ReadAll(ByteSource& p_oSource) {
    CsvReader oReader(p_oSource);
    Reading oReading;
    std::vector<std::string_view> aFields;
    try {
        while (oReader.ReadRecord(aFields)) {
            oReading.m_aRecords.emplace_back(
                std::vector<std::string>(aFields.begin(), aFields.end()), oReader.RecordLine(),
                oReader.Unterminated());
        }
    } catch (const FacadeError& oError) {
        oReading.m_sError = oError.Description();
    }
    return oReading;
}

std::string Quoted(const std::vector<Record>& p_aRecords) {
    std::ostringstream oText;
    for (const Record& oRecord : p_aRecords) {
        const char* sSeparator = "";
        for (const std::string& sField : std::get<0>(oRecord)) {
            oText << std::exchange(sSeparator, ",") << std::quoted(sField, '"', '"');
        }
        oText << '\n';
    }
    return oText.str();
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
    const Reading oAgain = ReadAll(oQuoted);
    Check(oAgain.m_sError.empty() && oAgain.m_aRecords.size() == aRecords.size());
    for (size_t i = 0; i < aRecords.size(); ++i) {
        Check(std::get<0>(oAgain.m_aRecords[i]) == std::get<0>(aRecords[i]) &&
              !std::get<2>(oAgain.m_aRecords[i]));
    }
    return 0;
}
