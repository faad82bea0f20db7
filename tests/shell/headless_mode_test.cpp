// The headless modes: the command line, the printed list and the CSV export, run as functions on
// the test market.
#include "shell/headless_mode.h"

#include "control/viewer.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/list_output.h"
#include "shell/market_session.h"
#include "shell/shell_market.h"
#include "shell/shell_options.h"
#include "shell/viewer_host.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace qv::test {
namespace {

TEST(ShellOptionsTest, ReadsModesAndTheListToShow) {
    const ShellOptions options = ParseShellOptions(
        {"--export", "out.csv", "--type", "industry-history", "--date", "2026-11-02", "--industry",
         "7", "--rows", "0", "--db", "x.db", "--symbol", "ABC", "--watch-list", "3"});
    EXPECT_EQ(options.m_eMode, ShellMode::Export);
    EXPECT_EQ(options.m_sExportPath + " " + options.m_sDatabase, "out.csv x.db");
    const ViewerRequest& request = options.m_oRequest;
    EXPECT_EQ((std::array{request.m_lViewerType, request.m_lDate, request.m_lIndCode,
                          request.m_lMaxRows, request.m_lWatchListId}),
              (std::array<int32_t, 5>{vt_IndustryHistory, 46328, 7, 0, 3}));
    EXPECT_EQ(request.m_sSymbol, "ABC");

    EXPECT_EQ(ParseShellOptions({}).m_eMode, ShellMode::Window);
    EXPECT_EQ(ParseShellOptions({"--print", "--help"}).m_eMode, ShellMode::Help);
    EXPECT_EQ(ParseShellOptions({"--type", "6"}).m_oRequest.m_lViewerType, vt_FinderResults);
    EXPECT_EQ(ParseShellOptions({"--screenshot", "a.png"}).m_sScreenshotPath, "a.png");
    const ShellOptions sized = ParseShellOptions({"--size", "1280x800"});
    EXPECT_EQ(std::pair(sized.m_lWidth, sized.m_lHeight), std::pair(1280, 800));
    EXPECT_TRUE(options.m_bListChosen);
    EXPECT_FALSE(sized.m_bListChosen);
}

TEST(ShellOptionsTest, RefusesWhatItCannotFollow) {
    for (const char* line :
         {"--frobnicate", "--export", "--type bonds", "--type 16", "--date yesterday", "--rows -1",
          "--rows 12x", "--industry 0", "--print --export a.csv", "--screenshot a.png --print",
          "--size 1280x", "--size x800", "--size 100x100"}) {
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            args.push_back(word);
        }
        EXPECT_THROW(ParseShellOptions(args), UsageError) << line;
    }
}

class HeadlessTest : public testing::Test {
  protected:
    MarketPlatform m_oPlatform;
    ViewerHost m_host{SharedMarket()};
};

TEST_F(HeadlessTest, ExportReplacesTheFileAndReportsAFolderItCannotWrite) {
    ASSERT_TRUE(m_host.Show(ViewerRequest{}));
    const auto path = std::filesystem::temp_directory_path() /
                      (std::to_string(std::random_device()()) + "-stocks.csv");
    std::ofstream(path) << "old contents that are longer than nothing";
    ExportCsv(*m_host.Control().olePriGrid(), path);
    const std::string contents = ReadFile(path);
    std::filesystem::remove(path);
    EXPECT_EQ(contents, ListCsv(*m_host.Control().olePriGrid()));
    EXPECT_ANY_THROW(ExportCsv(*m_host.Control().olePriGrid(), "/proc/no-such/x.csv"));
}

// An unknown sector once showed an empty list as if it were the answer; the command-line script
// tries the other names and days through the program itself.
TEST_F(HeadlessTest, AnUnknownSectorWasShownAsAnEmptyList) {
    ASSERT_TRUE(m_host.Show(ViewerRequest{}));
    try {
        m_host.Show({.m_lViewerType = vt_SectorHistory, .m_lSectorCode = 99, .m_sSymbol = ""});
        ADD_FAILURE() << "shown";
    } catch (const RequestError& error) {
        EXPECT_NE(std::string(error.what()).find("no sector with the code 99"), std::string::npos);
    }
    EXPECT_EQ(m_host.Request().m_lViewerType, vt_Stocks);
}

TEST_F(HeadlessTest, ColumnsWithoutAnyValueAreNamed) {
    ASSERT_TRUE(m_host.Show(ViewerRequest{}));
    GridControl& grid = *m_host.Control().olePriGrid();
    const auto rows = grid.DataSource();
    rows->MoveFirst();
    const std::string first = rows->Value("Symbol").ToString();
    for (; !rows->IsEOF(); rows->MoveNext()) {
        rows->SetValue("MA50", Variant::Null());
    }
    rows->MoveFirst();
    const auto empty = EmptyColumns(grid);
    EXPECT_NE(std::find(empty.begin(), empty.end(), "50 Day MA"), empty.end());
    EXPECT_EQ(std::find(empty.begin(), empty.end(), "Symbol"), empty.end());
    EXPECT_EQ(rows->Value("Symbol").ToString(), first);
}

// A regression: control characters and bytes that are not UTF-8 were written raw.
TEST(CsvQuotingTest, CellsWithCommasQuotesAndBreaksAreQuoted) {
    ScopedTestPlatform platform;
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Name", adVarChar, 50);
    rows->Open();
    using namespace std::string_literals;
    for (std::string cell : {"a,b"s, "say \"hi\""s, "two\nlines"s, "nul\0\x1b[2Jcaf\xe9"s}) {
        rows->AddNew({Variant(cell)});
    }
    GridControl grid;
    grid.SetDataSource(rows);
    grid.RetrieveFields();
    const std::string bad = "\xEF\xBF\xBD";
    EXPECT_EQ(ListCsv(grid), "Name\r\n\"a,b\"\r\n\"say \"\"hi\"\"\"\r\n\"two\nlines\"\r\nnul" +
                                 bad + bad + "[2Jcaf" + bad + "\r\n");
}

}  // namespace
}  // namespace qv::test
