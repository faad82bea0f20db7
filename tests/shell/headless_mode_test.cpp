// The headless modes: the command line, the printed list and the export, run as functions on the
// test market.
#include "shell/headless_mode.h"

#include "control/viewer.h"
#include "grid/grid.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "shell/list_output.h"
#include "shell/market_session.h"
#include "shell/shell_market.h"
#include "shell/shell_options.h"
#include "shell/viewer_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <tuple>

namespace qv::test {
namespace {

// Each mode and option value is followed through the program by the command-line script.
TEST(ShellOptionsTest, ReadsModesAndTheListToShow) {
    EXPECT_EQ(ParseShellOptions({}).m_eMode, ShellMode::Window);
    EXPECT_EQ(ParseShellOptions({"--print", "--help"}).m_eMode, ShellMode::Help);
    EXPECT_TRUE(ParseShellOptions({"--type", "6"}).m_bListChosen);
    EXPECT_FALSE(ParseShellOptions({"--size", "1280x800"}).m_bListChosen);
    EXPECT_EQ(ParseShellOptions({"--page", "news.aspx?symbol=QA"}).m_sPageAddress,
              "news.aspx?symbol=QA");
    const ShellOptions chart =
        ParseShellOptions({"--advanced", "--chart-sector", "3", "--png", "s.png"});
    EXPECT_EQ(chart.m_eMode, ShellMode::ChartPng);
    EXPECT_EQ(chart.m_sPageAddress, "pagecontroller.aspx?pagetype=12&sectorcode=3&iwp=0");
    EXPECT_TRUE(chart.m_bAdvancedChart);
    const ShellOptions named = ParseShellOptions({"--screen", "rated buy", "--print"});
    EXPECT_EQ(std::tuple(named.m_oRequest.m_lViewerType, named.m_oRequest.m_sScreenName,
                         named.m_bListChosen),
              std::tuple(int32_t{vt_FinderResults}, std::string("rated buy"), true));
    EXPECT_EQ(ParseShellOptions({"--delete-screen", "Leaders"}).m_eMode, ShellMode::DeleteScreen);
    const ViewerRequest criteria =
        ParseShellOptions({"--screen-rows", "sectors", "--screen-criteria", "RSRank > 80"})
            .m_oRequest;
    EXPECT_EQ(
        std::tuple(criteria.m_lViewerType, criteria.m_sScreenCriteria, criteria.m_lScreenRows),
        std::tuple(int32_t{vt_FinderResults}, std::string("RSRank > 80"), int32_t{2}));
}

TEST(ShellOptionsTest, TakesAPortfolioByIdOrByName) {
    struct Case {
        const char* m_sValue;
        int32_t m_lId;
        const char* m_sName;
    };
    for (const Case& c : {Case{"7", 7, ""}, Case{" Growth ", 0, "Growth"},
                          Case{"12abc", 0, "12abc"}, Case{"my picks", 0, "my picks"}}) {
        const ViewerRequest request = ParseShellOptions({"--portfolio", c.m_sValue}).m_oRequest;
        EXPECT_EQ(std::tuple(request.m_lPortfolioId, request.m_sPortfolioName),
                  std::tuple(c.m_lId, std::string(c.m_sName)))
            << c.m_sValue;
    }
}

TEST(ShellOptionsTest, RefusesWhatItCannotFollow) {
    for (const char* line : {"--frobnicate",
                             "--export",
                             "--type bonds",
                             "--type 16",
                             "--date yesterday",
                             "--rows -1",
                             "--rows 12x",
                             "--industry 0",
                             "--portfolio 0",
                             "--portfolio -2",
                             "--portfolio",
                             "--print --export a.csv",
                             "--screenshot a.png --print",
                             "--size 1280x",
                             "--size x800",
                             "--size 100x100",
                             "--page",
                             "--chart",
                             "--png a.png --print",
                             "--screen",
                             "--screen-criteria",
                             "--screen-rows bonds",
                             "--save-screen Leaders",
                             "--screens --print",
                             "--server",
                             "--user"}) {
        std::istringstream words(line);
        const std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
        EXPECT_THROW(ParseShellOptions(args), UsageError) << line;
    }
}

// A headless mode asks no one for a password: a server without the name to log in with (or
// without QV_PASSWORD) is refused before anything is read.
TEST(HeadlessServer, AServerNeedsTheNameAndThePasswordGiven) {
    ShellOptions options = ParseShellOptions({"--print", "--server", "http://127.0.0.1:1"});
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunHeadless(options, out, err), 1);
    EXPECT_EQ(err.str(),
              "qorvant-viewer: --server needs --user NAME and the password in "
              "QV_PASSWORD\n");
    EXPECT_TRUE(out.str().empty());
}

class HeadlessTest : public testing::Test {
  protected:
    MarketPlatform m_oPlatform;
    ViewerHost m_host{SharedMarket()};
};

// Columns without any value are named, the rows' place kept.
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

// An unknown sector once showed an empty list as if it were the answer; the command-line script
// tries the other names and days through the program itself.
TEST_F(HeadlessTest, AnUnknownSectorWasShownAsAnEmptyList) {
    ASSERT_TRUE(m_host.Show(ViewerRequest{}));
    EXPECT_THAT(
        [&] {
            m_host.Show({.m_lViewerType = vt_SectorHistory, .m_lSectorCode = 99, .m_sSymbol = ""});
        },
        testing::ThrowsMessage<RequestError>(testing::HasSubstr("no sector with the code 99")));
    EXPECT_EQ(m_host.Request().m_lViewerType, vt_Stocks);
}

TEST_F(HeadlessTest, APortfolioIsFoundByNameInAnyLetterCase) {
    const NamedCode first = SharedMarket().Portfolios().front();
    ViewerRequest request;
    request.m_lViewerType = vt_Portfolio;
    request.m_sPortfolioName = first.m_sName;
    std::transform(request.m_sPortfolioName.begin(), request.m_sPortfolioName.end(),
                   request.m_sPortfolioName.begin(),
                   [](unsigned char p_c) { return static_cast<char>(std::toupper(p_c)); });
    ASSERT_TRUE(m_host.Show(request));
    EXPECT_EQ(m_host.Request().m_lPortfolioId, first.m_lCode);
    request.m_sPortfolioName = "Nope";
    EXPECT_THAT([&] { m_host.Show(request); },
                testing::ThrowsMessage<RequestError>(testing::HasSubstr(
                    "no portfolio named 'Nope'; the portfolios are: " + first.m_sName)));
}

}  // namespace
}  // namespace qv::test
