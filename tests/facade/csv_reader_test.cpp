#include "facade/csv_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace qv::facade {
namespace {

struct ParsedRecord {
    int64_t m_llLine;
    std::vector<std::string> m_aFields;

    bool operator==(const ParsedRecord&) const = default;
};

std::vector<ParsedRecord> ReadAll(const std::string& p_sText, bool* p_bUnterminated = nullptr) {
    StringSource oSource(p_sText);
    CsvReader oReader(oSource);
    std::vector<ParsedRecord> aRecords;
    std::vector<std::string_view> aFields;
    while (oReader.ReadRecord(aFields)) {
        aRecords.push_back({oReader.RecordLine(), {aFields.begin(), aFields.end()}});
        if (p_bUnterminated != nullptr) {
            *p_bUnterminated = oReader.Unterminated();
        }
    }
    return aRecords;
}

struct CsvCase {
    const char* m_sName;
    std::string m_sText;
    std::vector<ParsedRecord> m_aExpected;
};

class CsvReaderCases : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvReaderCases, ReadsFieldsAndLines) {
    EXPECT_EQ(ReadAll(GetParam().m_sText), GetParam().m_aExpected);
}

INSTANTIATE_TEST_SUITE_P(
    Csv, CsvReaderCases,
    ::testing::Values(
        CsvCase{"plain", "a,b,c\n1,2,3\n", {{1, {"a", "b", "c"}}, {2, {"1", "2", "3"}}}},
        CsvCase{
            "quoted_comma",
            "AAPL,Apple Inc.,Information Technology,\"Technology Hardware, Storage\"\n",
            {{1,
              {"AAPL", "Apple Inc.", "Information Technology", "Technology Hardware, Storage"}}}},
        CsvCase{"doubled_quote", "\"say \"\"hi\"\"\",x\n", {{1, {"say \"hi\"", "x"}}}},
        CsvCase{"crlf_and_no_final_newline", "a,b\r\nc,d", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        CsvCase{"newline_inside_quotes_counts_lines",
                "\"two\nlines\",x\nnext,y\n",
                {{1, {"two\nlines", "x"}}, {3, {"next", "y"}}}},
        CsvCase{"byte_order_mark_and_blank_lines",
                "\xEF\xBB\xBFSymbol,Name\n\n\nA,B\n",
                {{1, {"Symbol", "Name"}}, {4, {"A", "B"}}}},
        CsvCase{"empty_fields", ",,\n", {{1, {"", "", ""}}}},
        CsvCase{"text_after_closing_quote_is_kept", "\"ab\"cd,e\n", {{1, {"abcd", "e"}}}}),
    [](const ::testing::TestParamInfo<CsvCase>& p_oInfo) { return p_oInfo.param.m_sName; });

TEST(CsvReader, ReportsAQuoteLeftOpenAtTheEnd) {
    bool bUnterminated = false;
    const auto aRecords = ReadAll("a,\"never closed\nmore", &bUnterminated);
    ASSERT_EQ(aRecords.size(), 1u);
    EXPECT_TRUE(bUnterminated);
    EXPECT_EQ(aRecords[0].m_aFields[1], "never closed\nmore");
}

TEST(CsvReader, RecordsLongerThanTheBufferStayWhole) {
    const std::string sLong(200000, 'x');
    const auto aRecords = ReadAll("a," + sLong + ",b\n\"" + sLong + "\"\n");
    ASSERT_EQ(aRecords.size(), 2u);
    EXPECT_EQ(aRecords[0].m_aFields[1], sLong);
    EXPECT_EQ(aRecords[0].m_aFields[2], "b");
    EXPECT_EQ(aRecords[1].m_aFields[0], sLong);
}

// A regression: a source whose first read ended inside the byte-order mark left the mark in the
// first field name, so the header was not recognised.
TEST(CsvReader, SkipsAByteOrderMarkSplitAcrossReads) {
    class ByteAtATime : public ByteSource {
      public:
        size_t Read(char* p_sBuffer, size_t p_lSize) override {
            return m_oText.Read(p_sBuffer, std::min<size_t>(p_lSize, 1));
        }

      private:
        StringSource m_oText{"\xEF\xBB\xBFSymbol,Name\n"};
    };
    ByteAtATime oSource;
    CsvReader oReader(oSource);
    std::vector<std::string_view> aFields;
    ASSERT_TRUE(oReader.ReadRecord(aFields));
    EXPECT_EQ(std::vector<std::string>(aFields.begin(), aFields.end()),
              (std::vector<std::string>{"Symbol", "Name"}));
}

}  // namespace
}  // namespace qv::facade
