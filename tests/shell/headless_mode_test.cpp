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

// The default request with one setting changed.
ViewerRequest With(int32_t ViewerRequest::*p_field, int32_t p_lValue) {
    ViewerRequest request;
    request.*p_field = p_lValue;
    return request;
}

std::vector<std::string> Lines(const std::string& p_sText, const std::string& p_sEnd) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = p_sText.find(p_sEnd); end != std::string::npos;
         end = p_sText.find(p_sEnd, start)) {
        lines.push_back(p_sText.substr(start, end - start));
        start = end + p_sEnd.size();
    }
    EXPECT_EQ(start, p_sText.size()) << "the text ends in a partial line";
    return lines;
}

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

TEST_F(HeadlessTest, PrintShowsTheCaptionThenBothGridsTheFrozenSplitFirst) {
    ViewerHost host(SharedMarket());
    ASSERT_TRUE(host.Show(ViewerRequest{}));
    const std::string text = PrintedList(host);
    EXPECT_EQ(text.rfind(host.Caption() + "\n", 0), 0u);
    const auto lines = Lines(text, "\n");
    const auto header = std::find_if(lines.begin(), lines.end(), [](const std::string& p_sLine) {
        return p_sLine.find("Symbol") != std::string::npos &&
               p_sLine.find(" | ") != std::string::npos;
    });
    ASSERT_NE(header, lines.end());
    EXPECT_LT(header->find("Symbol"), header->find(" | "));
    EXPECT_LT(header->find(" | "), header->find("Rec"));
    const auto whole = [](GridControl& p_oGrid) {
        return p_oGrid.RenderText(0, p_oGrid.RowCount());
    };
    const std::string primary = whole(*host.Control().olePriGrid());
    EXPECT_NE(text.find(primary), std::string::npos);
    EXPECT_NE(text.find(whole(*host.Control().oleSecGrid()), text.find(primary) + primary.size()),
              std::string::npos);

    // A list of one grid prints that grid last.
    ASSERT_TRUE(host.Show(With(&ViewerRequest::m_lViewerType, vt_Sectors)));
    EXPECT_TRUE(PrintedList(host).ends_with(whole(*host.Control().olePriGrid())));
}

TEST_F(HeadlessTest, CsvHasEveryRowTheShownColumnsAndFormattedTexts) {
    ViewerHost host(SharedMarket());
    ASSERT_TRUE(host.Show(With(&ViewerRequest::m_lMaxRows, 0)));
    GridControl& grid = *host.Control().olePriGrid();
    // Scrolled and with a current row: the export is the same.
    grid.Splits()->Item(1)->SetLeftCol(grid.Splits()->Item(1)->ShownColumns().back()->ColIndex());
    const std::string csv = ListCsv(grid);
    const auto lines = Lines(csv, "\r\n");
    ASSERT_EQ(static_cast<int32_t>(lines.size()), grid.RowCount() + 1);
    const auto frozen = grid.Splits()->Item(0)->ShownColumns();
    ASSERT_FALSE(frozen.empty());
    EXPECT_EQ(lines[0].rfind(frozen.front()->Caption() + ",", 0), 0u);
    EXPECT_NE(lines[0].find(",Rec,"), std::string::npos);
    const auto rows = grid.DataSource();
    rows->MoveFirst();
    EXPECT_NE(lines[1].find("," + rows->Value("Symbol").ToString() + ","), std::string::npos);
}

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

// Each of these once showed an empty list, or the latest day's, as if it were the answer; the
// command-line script tries the other names and days, the Sunday, the long history and the
// finder's fields through the program itself.
TEST_F(HeadlessTest, UnknownNamesAndDaysOutsideTheDataWereShownAsAnEmptyOrLatestList) {
    struct Refused {
        ViewerRequest Request;
        const char* Message;
    };
    const Refused cases[] = {
        {{.m_lViewerType = vt_StockHistory, .m_sSymbol = "NOSUCH"}, "symbol NOSUCH"},
        {With(&ViewerRequest::m_lPortfolioId, 999), "no portfolio 999"},
        {{.m_lViewerType = vt_SectorHistory, .m_lSectorCode = 99, .m_sSymbol = ""},
         "sector with the code 99"},
        {With(&ViewerRequest::m_lDate, kMarketLastDay + 1), "ends on 2026-11-30"}};
    ViewerHost host(SharedMarket());
    ASSERT_TRUE(host.Show(ViewerRequest{}));
    for (const Refused& refused : cases) {
        try {
            host.Show(refused.Request);
            ADD_FAILURE() << refused.Message << ": shown";
        } catch (const RequestError& error) {
            EXPECT_NE(std::string(error.what()).find(refused.Message), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(host.Request().m_lViewerType, vt_Stocks) << refused.Message;
    }
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
