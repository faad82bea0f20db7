#include "facade/csv_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "facade/sqlite_database.h"

namespace qv::facade {
namespace {

struct ParsedRecord {
    int64_t m_llLine;
    std::vector<std::string> m_aFields;

    bool operator==(const ParsedRecord&) const = default;
};

std::vector<ParsedRecord> ReadAll(const std::string& p_sText, bool& p_bUnterminated) {
    StringSource oSource(p_sText);
    CsvReader oReader(oSource);
    std::vector<ParsedRecord> aRecords;
    std::vector<std::string_view> aFields;
    while (oReader.ReadRecord(aFields)) {
        aRecords.push_back({oReader.RecordLine(), {aFields.begin(), aFields.end()}});
        p_bUnterminated = oReader.Unterminated();
    }
    return aRecords;
}

// Longer than the reader's buffer, so that a record spans a refill.
const std::string kLong(40000, 'x');

TEST(Csv, ReadsFieldsAndLines) {
    const std::tuple<std::string, std::vector<ParsedRecord>, bool> aCases[] = {
        {"a,b,c\n1,2,3\n", {{1, {"a", "b", "c"}}, {2, {"1", "2", "3"}}}, false},
        {"AAPL,Apple Inc.,\"Technology Hardware, Storage\"\n",
         {{1, {"AAPL", "Apple Inc.", "Technology Hardware, Storage"}}},
         false},
        {"\"say \"\"hi\"\"\",x\n", {{1, {"say \"hi\"", "x"}}}, false},
        {"a,b\r\nc,d", {{1, {"a", "b"}}, {2, {"c", "d"}}}, false},
        {"\"two\nlines\",x\nnext,y\n", {{1, {"two\nlines", "x"}}, {3, {"next", "y"}}}, false},
        {"\xEF\xBB\xBFSymbol,Name\n\n\nA,B\n", {{1, {"Symbol", "Name"}}, {4, {"A", "B"}}}, false},
        {",,\n", {{1, {"", "", ""}}}, false},
        {"\"ab\"cd,e\n", {{1, {"abcd", "e"}}}, false},  // text after a closing quote is kept
        {"a,\"never closed\nmore", {{1, {"a", "never closed\nmore"}}}, true},
        {"a," + kLong + ",b\n\"" + kLong + "\"\n", {{1, {"a", kLong, "b"}}, {2, {kLong}}}, false}};
    for (const auto& [sText, aExpected, bExpectUnterminated] : aCases) {
        SCOPED_TRACE(sText.substr(0, 40));
        bool bUnterminated = false;
        EXPECT_EQ(ReadAll(sText, bUnterminated), aExpected);
        EXPECT_EQ(bUnterminated, bExpectUnterminated);
    }
}

// p_sStart, then p_cFill to 16 MiB.
struct Stream : ByteSource {
    Stream(std::string p_sStart, char p_cFill) : m_sStart(std::move(p_sStart)), m_cFill(p_cFill) {}

    size_t Read(char* p_sBuffer, size_t p_lSize) override {
        if (m_lServed >= kLength) {
            return 0;
        }
        std::memset(p_sBuffer, m_cFill, p_lSize);
        if (m_lServed < m_sStart.size()) {
            m_sStart.copy(p_sBuffer, p_lSize, m_lServed);
        }
        m_lServed += p_lSize;
        return p_lSize;
    }

    static constexpr size_t kLength = size_t{16} << 20;
    std::string m_sStart;
    char m_cFill;
    size_t m_lServed = 0;
};

// A regression: input without line ends (/dev/zero grew the importer past 2 GB) was read without
// bound. Generated streams stand in for such files; each is long enough that a reader without
// the cap returns a record rather than failing.
TEST(CsvReader, InputThatIsNotCsvStopsWithinTheRecordCap) {
    const std::tuple<std::string, char, const char*> aCases[] = {
        {"", 'x', "line 1 is longer than 65536 bytes"},
        {"", '\0', "line 1 holds a NUL byte"},
        {"", ',', "line 1 is longer than 65536 bytes"},
        {"a,b\nc,\"", 'q', "line 2 opens a quoted field that runs past 65536 bytes"},
        {"\"", '"', "line 1 opens a quoted field that runs past 65536 bytes"},
    };
    for (const auto& [sStart, cFill, sSays] : aCases) {
        Stream oSource(sStart, cFill);
        CsvReader oReader(oSource, "stream");
        std::vector<std::string_view> aFields;
        try {
            while (oReader.ReadRecord(aFields)) {
            }
            ADD_FAILURE() << "read to the end: " << sSays;
        } catch (const FacadeError& oError) {
            EXPECT_EQ(oError.Description().find(std::string("stream: ") + sSays + ": not CSV text"),
                      0u)
                << oError.Description();
        }
        EXPECT_LT(oSource.m_lServed, 4 * kMaxRecordBytes) << sSays;
    }
}

// A regression: a source whose first read ended inside the byte-order mark left the mark in the
// first field name, so the header was not recognised.
TEST(CsvReader, SkipsAByteOrderMarkSplitAcrossReads) {
    struct ByteAtATime : StringSource {
        using StringSource::StringSource;
        size_t Read(char* p_sBuffer, size_t p_lSize) override {
            return StringSource::Read(p_sBuffer, std::min<size_t>(p_lSize, 1));
        }
    } oSource("\xEF\xBB\xBFSymbol,Name\n");
    CsvReader oReader(oSource);
    std::vector<std::string_view> aFields;
    ASSERT_TRUE(oReader.ReadRecord(aFields));
    EXPECT_EQ(std::vector<std::string>(aFields.begin(), aFields.end()),
              (std::vector<std::string>{"Symbol", "Name"}));
}

}  // namespace
}  // namespace qv::facade
