// A streaming reader of comma-separated text as data providers write it: fields may be quoted
// with double quotes, a quoted field may hold commas, line breaks and doubled quotes (""), lines
// end with LF or CR LF, a UTF-8 byte-order mark at the start is skipped, blank lines are skipped.
// Input comes from a ByteSource, so a gzip-compressed file streams through zlib without being
// unpacked first.
//
// Input that is plainly not CSV text stops the reading with a FacadeError naming the input and the
// line: a record longer than kMaxRecordBytes (a file without line ends, such as /dev/zero, or a
// quote left open) or a NUL byte (a binary file, or text in UTF-16). So memory stays bounded
// whatever the input, and no field is longer than the cap either.
//
//     GzipFileSource source("prices.csv.gz");     // plain files are read as they are
//     CsvReader reader(source);
//     std::vector<std::string_view> fields;
//     while (reader.ReadRecord(fields)) {
//         ... fields[0] ... reader.RecordLine() ...
//     }
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::facade {

// The longest record read, separators and line ends included; a price row is about 60 bytes.
constexpr size_t kMaxRecordBytes = size_t{64} << 10;

// A number of a CSV field: a plain decimal ("68.07", "-3") or anything std::from_chars reads
// ("1.5e6"), surrounding white space allowed; nothing for other text, thousands separators
// included, and for values that are not finite.
std::optional<double> ReadCsvNumber(std::string_view p_sText);

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Fills up to p_lSize bytes; 0 at the end of the input.
    virtual size_t Read(char* p_sBuffer, size_t p_lSize) = 0;
};

// A file, gzip-compressed or not (zlib tells them apart). Failures are FacadeErrors naming it.
class GzipFileSource : public ByteSource {
  public:
    explicit GzipFileSource(std::string p_sPath);
    ~GzipFileSource() override;
    GzipFileSource(const GzipFileSource&) = delete;
    GzipFileSource& operator=(const GzipFileSource&) = delete;

    size_t Read(char* p_sBuffer, size_t p_lSize) override;

  private:
    std::string m_sPath;
    void* m_oFile;  // gzFile
};

class StringSource : public ByteSource {
  public:
    explicit StringSource(std::string p_sText) : m_sText(std::move(p_sText)) {}
    size_t Read(char* p_sBuffer, size_t p_lSize) override;

  private:
    std::string m_sText;
    size_t m_lPosition = 0;
};

class CsvReader {
  public:
    // p_sName names the input in errors.
    explicit CsvReader(ByteSource& p_oSource, std::string p_sName = "the CSV text");

    // Reads the next record into p_aFields; false at the end of the input. The fields stay valid
    // until the next call. Input that is not CSV text is a FacadeError (see above).
    bool ReadRecord(std::vector<std::string_view>& p_aFields);

    // The 1-based line on which the last record began.
    int64_t RecordLine() const { return m_llRecordLine; }
    // True when the last record ended inside a quoted field (the input ended first).
    bool Unterminated() const { return m_bUnterminated; }

  private:
    int Next();  // the next byte, or -1 at the end
    int Peek();
    void Refill();
    void SkipByteOrderMark();
    bool ReadSimpleRecord(std::vector<std::string_view>& p_aFields);
    void ReadQuoted();
    void ReadPlain();
    // Stops at a record over the cap; p_bQuoted when the cap was passed inside quotes.
    void CheckRecordSize(bool p_bQuoted) const;
    [[noreturn]] void NotCsv(const std::string& p_sWhat, const char* p_sLikely) const;

    ByteSource& m_oSource;
    std::string m_sName;
    std::string m_sBuffer;
    size_t m_lPosition = 0;
    size_t m_lFilled = 0;
    bool m_bAtEnd = false;
    bool m_bStarted = false;
    int64_t m_llLine = 1;
    int64_t m_llRecordLine = 0;
    bool m_bUnterminated = false;
    std::string m_sRecord;
    std::vector<size_t> m_aFieldEnds;
};

}  // namespace qv::facade
