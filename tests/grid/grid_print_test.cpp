// The Grid's print commands: the page header of each kind of list, and the page setup kept in
// "pagesetup.dat" between prints.
#include "grid_test_support.h"

#include "outside/file_util.h"
#include "outside/headless_services.h"
#include "outside/page_setup.h"
#include "outside/support_utility.h"
#include "outside/vb_date.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qv::testing {
namespace {

class GridPrintTest : public ::testing::Test, protected GridFixture {
  protected:
    GridPrintTest() {
        std::vector<LayoutColumn> entries = StockLayoutEntries();
        entries[3].TableMask = 3;  // the industry's name shown in the stock list
        Load(entries);
        m_grid->SetDataSource(m_rows);  // the current row is IBM, of the industry "Computers"
        Elements().SetStartDate(DateSerial(2026, 12, 4));
    }

    std::filesystem::path PageSetupFile() const {
        return m_platform.LibraryPath() / SupportUtility::kPageSetupFile;
    }

    std::string FileBytes() const { return ReadFileLimited(PageSetupFile(), 1 << 20).Bytes; }

    // The page setup dialog answered OK on a landscape page.
    void AnswerLandscape() {
        m_platform.Dialogs().QueueScriptFor<PageSetupDialog>([](PageSetupDialog& p_oDialog) {
            PageSetup page = p_oDialog.Setup();
            page.Orientation = vbPRORLandscape;
            p_oDialog.Accept(page);
        });
    }

    const PrintJob& LastJob() { return *m_platform.Printers().LastJob(); }
};

TEST_F(GridPrintTest, EachKindOfListPrintsItsPageHeader) {
    struct Case {
        ViewerType Type;
        int32_t GridKind;
        int32_t WatchListId;
        std::string Expected;  // "" leaves the header as it was
    };
    const std::string date = " - Pricing as of 12/04/26";
    const Case cases[] = {
        {vt_Stocks, 0, 0, "Stock Viewer" + date},
        {vt_Stocks, 0, 4, "Stock WatchList My Picks" + date},
        {vt_Stocks, 1, 0, "Stocks In Industry ( Computers ) " + date},
        {vt_Stocks, 2, 0, "Stocks In Business Sector (  )" + date},  // no sector column
        {vt_Stocks, 5, 0, ""},
        {vt_Industries, 0, 4, "Industry WatchList My Picks" + date},
        {vt_Industries, 0, 0, "Industry Viewer" + date},
        {vt_Industries, 3, 0, "Industries In Business Sector (  )" + date},
        {vt_Sectors, 0, 0, "Business Sector Viewer" + date},
        {vt_StockHistory, 0, 0, "Stock History For IBM" + date},
        {vt_IndustryHistory, 0, 0, "Industry History For Computers" + date},
        {vt_FinderResults, 0, 0, "Tandrel Tool Results For Rated Buy"},
        {vt_Portfolio, 0, 0, "Portfolio Holdings For Retirement"},
        {vt_BuyFromSearch, 0, 0, ""},
    };
    Elements().SetWatchListName("  My Picks ");
    Elements().SetSymbol("IBM");
    Elements().SetSearchName("Rated Buy");
    Elements().SetPortfolioName("Retirement");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.Type) + "/" + std::to_string(c.GridKind));
        Elements().SetViewerType(c.Type);
        Elements().SetWatchListId(c.WatchListId);
        m_grid->Initialize("", "Main Grid", 0, "Report", m_strategy.get(), true, false, c.GridKind);
        m_grid->SetDataSource(m_rows);
        m_control->PrintInfo()->SetPageHeader("as it was");
        m_grid->SetPageHeader(*m_control);
        EXPECT_EQ(m_control->PrintInfo()->PageHeader(),
                  c.Expected.empty() ? "as it was" : c.Expected);
    }
}

TEST_F(GridPrintTest, PageSetupIsWrittenOnOKAndLeftAsItWasOnCancel) {
    ASSERT_FALSE(std::filesystem::exists(PageSetupFile()));
    PageSetup wide;
    wide.LeftMargin = 2000;
    m_control->PrintInfo()->SetPage(wide);
    m_grid->PrintRows(*m_control, gprAllRows, false);  // no file: the grid's page stays
    EXPECT_EQ(LastJob().Page, wide);
    EXPECT_FALSE(std::filesystem::exists(PageSetupFile()));

    AnswerLandscape();
    m_grid->PrintRows(*m_control, gprAllRows);
    EXPECT_EQ(LastJob().Page.Orientation, vbPRORLandscape);
    const std::string saved = FileBytes();
    EXPECT_EQ(DecodePageSetup(std::vector<uint8_t>(saved.begin(), saved.end()))->Orientation,
              vbPRORLandscape);

    m_control->PrintInfo()->SetPage(PageSetup());
    const int32_t jobs = m_platform.Printers().JobCount();
    m_grid->PrintRows(*m_control, gprAllRows);  // no script: the dialog is cancelled
    EXPECT_EQ(m_platform.Printers().JobCount(), jobs);
    EXPECT_EQ(FileBytes(), saved);
    EXPECT_EQ(m_control->PrintInfo()->Page().Orientation, vbPRORLandscape);  // loaded from the file
}

TEST_F(GridPrintTest, ACorruptPageSetupFilePrintsOnTheDefaultPageSaysSoOnceAndIsReplacedOnSave) {
    std::ofstream(PageSetupFile(), std::ios::binary) << "not a page setup at all";
    m_grid->PrintRows(*m_control, gprAllRows, false);
    m_grid->PrintRows(*m_control, gprSelectedRows, false);
    EXPECT_EQ(m_platform.Printers().JobCount(), 2);
    EXPECT_EQ(LastJob().Page, PageSetup());
    ASSERT_EQ(m_platform.Messages().Shown().size(), 1u);
    EXPECT_EQ(m_platform.Messages().Shown()[0].Title, "Page Setup");
    EXPECT_NE(m_platform.Messages().Shown()[0].Text.find(PageSetupFile().string()),
              std::string::npos);

    AnswerLandscape();
    m_grid->PrintRows(*m_control, gprAllRows);
    const std::string saved = FileBytes();
    EXPECT_TRUE(DecodePageSetup(std::vector<uint8_t>(saved.begin(), saved.end())).has_value());
}

// The print engine's own tests show an empty table printed as "No rows".
TEST_F(GridPrintTest, SelectedRowsPrintInListOrderAndNoneSelectedPrintsTheEmptyPage) {
    std::vector<std::string> printed;
    for (const int32_t selected : {0, 2}) {
        for (int32_t row = 2; row >= 0 && row < selected * 2; row -= 2) {
            m_control->SelBookmarks()->Add(GridControl::BookmarkOfRowId(row));
        }
        m_grid->PrintRows(*m_control, gprSelectedRows, false);
        printed.clear();
        for (const PrintText& text : LastJob().Pages.at(0).Texts) {
            printed.push_back(text.Text);
        }
        EXPECT_EQ(std::count(printed.begin(), printed.end(), "No rows"), selected == 0);
    }
    const auto ibm = std::find(printed.begin(), printed.end(), "IBM");
    const auto acme = std::find(printed.begin(), printed.end(), "ACME");
    EXPECT_TRUE(ibm < acme && acme != printed.end());
    EXPECT_EQ(std::find(printed.begin(), printed.end(), "MSFT"), printed.end());
}

}  // namespace
}  // namespace qv::testing
