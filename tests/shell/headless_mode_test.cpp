// The headless modes: the command line, the printed list and the CSV export, run as functions on
// the test market.
#include "shell/headless_mode.h"

#include "control/viewer.h"
#include "outside/error_reporter.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/list_output.h"
#include "shell/market_session.h"
#include "shell/shell_market.h"
#include "shell/shell_options.h"
#include "shell/viewer_host.h"

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
    EXPECT_EQ(sized.m_lWidth, 1280);
    EXPECT_EQ(sized.m_lHeight, 800);
    EXPECT_TRUE(options.m_bListChosen);
    EXPECT_FALSE(sized.m_bListChosen);
}

TEST(ShellOptionsTest, RefusesWhatItCannotFollow) {
    const std::vector<std::vector<std::string>> bad = {{"--frobnicate"},
                                                       {"--export"},
                                                       {"--type", "bonds"},
                                                       {"--type", "16"},
                                                       {"--date", "yesterday"},
                                                       {"--rows", "-1"},
                                                       {"--rows", "12x"},
                                                       {"--industry", "0"},
                                                       {"--print", "--export", "a.csv"},
                                                       {"--size", "1280"},
                                                       {"--size", "1280x"},
                                                       {"--screenshot", "a.png", "--print"},
                                                       {"--size", "x800"},
                                                       {"--size", "100x100"},
                                                       {"--size", "1280x800x2"}};
    for (const auto& args : bad) {
        EXPECT_THROW(ParseShellOptions(args), UsageError) << args.front() << " " << args.back();
    }
}

class HeadlessTest : public testing::Test {
  protected:
    std::filesystem::path TempFile(const std::string& p_sName) {
        std::random_device device;
        return std::filesystem::temp_directory_path() / (std::to_string(device()) + "-" + p_sName);
    }

    MarketPlatform m_oPlatform;
};

TEST_F(HeadlessTest, ExportReplacesTheFileAndReportsAFolderItCannotWrite) {
    ViewerHost host(SharedMarket());
    ASSERT_TRUE(host.Show(ViewerRequest{}));
    const auto path = TempFile("stocks.csv");
    {
        std::ofstream old(path);
        old << "old contents that are longer than nothing";
    }
    ExportCsv(*host.Control().olePriGrid(), path);
    std::ifstream in(path, std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    EXPECT_EQ(contents.str(), ListCsv(*host.Control().olePriGrid()));
    std::filesystem::remove(path);

    EXPECT_ANY_THROW(ExportCsv(*host.Control().olePriGrid(), "/proc/no-such/x.csv"));
}

// An unknown sector once showed an empty list as if it were the answer; the command-line script
// tries the other names and days through the program itself.
TEST_F(HeadlessTest, AnUnknownSectorWasShownAsAnEmptyList) {
    ViewerHost host(SharedMarket());
    ASSERT_TRUE(host.Show(ViewerRequest{}));
    try {
        host.Show({.m_lViewerType = vt_SectorHistory, .m_lSectorCode = 99, .m_sSymbol = ""});
        ADD_FAILURE() << "shown";
    } catch (const RequestError& error) {
        EXPECT_NE(std::string(error.what()).find("sector with the code 99"), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(host.Request().m_lViewerType, vt_Stocks);
}

TEST_F(HeadlessTest, ColumnsWithoutAnyValueAreNamed) {
    ViewerHost host(SharedMarket());
    ASSERT_TRUE(host.Show(ViewerRequest{}));
    GridControl& grid = *host.Control().olePriGrid();
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

TEST(CsvQuotingTest, CellsWithCommasQuotesAndBreaksAreQuoted) {
    ScopedTestPlatform platform;
    auto rows = std::make_shared<Recordset>();
    rows->Fields().Append("Name", adVarChar, 50);
    rows->Open();
    for (std::string cell : {std::string("plain"), std::string("a,b"), std::string("say \"hi\""),
                             std::string("two\nlines"), std::string("nul\0\x1b[2Jcaf\xe9", 12)}) {
        rows->AddNew({Variant(cell)});
    }
    GridControl grid;
    grid.SetDataSource(rows);
    grid.RetrieveFields();
    const auto lines = ListCsv(grid);
    EXPECT_NE(lines.find("\r\nplain"), std::string::npos);
    EXPECT_NE(lines.find("\r\n\"a,b\""), std::string::npos);
    EXPECT_NE(lines.find("\r\n\"say \"\"hi\"\"\""), std::string::npos);
    EXPECT_NE(lines.find("\r\n\"two\nlines\""), std::string::npos);
    // A regression: control characters and bytes that are not UTF-8 were written raw.
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_NE(lines.find("\r\nnul" + replacement + replacement + "[2Jcaf" + replacement + "\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace qv::test
