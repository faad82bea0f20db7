// Printing each list kind to PDF as the headless --print-pdf does, read back with poppler's
// pdfinfo and pdftotext; and pictures of the Print Options dialog.
#include "control/forms/frm_print.h"
#include "control/viewer.h"
#include "grid/grid.h"
#include "outside/automation_error.h"
#include "outside/grid_control.h"
#include "outside/grid_print_table.h"
#include "outside/headless_services.h"
#include "outside/platform_context.h"
#include "shell/page_painter.h"
#include "shell/print_options_dialog.h"
#include "shell/shell_market.h"
#include "shell/viewer_host.h"
#include "shell/window_print.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

namespace qv::test {
namespace {

std::string Output(const std::string& p_sCommand) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(p_sCommand.c_str(), "r"), pclose);
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        out += buffer;
    }
    return out;
}

bool PopplerPresent() {
    return std::system(
               "command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0;
}

// The cells of one printed row that the PDF text holds.
int FoundCells(const PrintTable& p_table, size_t p_lRow, const std::string& p_sText) {
    int found = 0;
    const size_t columns = p_table.Columns.size();
    for (size_t c = 0; c < columns; ++c) {
        const std::string& cell = p_table.Cells[p_lRow * columns + c];
        found += cell.size() >= 3 && p_sText.find(cell) != std::string::npos ? 1 : 0;
    }
    return found;
}

class PrintPdfTest : public testing::Test {
  protected:
    std::filesystem::path TempPdf(int32_t p_lKind) const {
        return std::filesystem::temp_directory_path() /
               (std::to_string(std::random_device()()) + "-" + std::to_string(p_lKind) + ".pdf");
    }

    MarketPlatform m_oPlatform;
    ViewerHost m_host{SharedMarket()};
};

TEST_F(PrintPdfTest, EachListKindPrintsToAPdfWithItsHeaderAndItsFirstAndLastRows) {
    if (!PopplerPresent()) {
        GTEST_SKIP() << "pdftotext and pdfinfo (poppler-utils) are not installed";
    }
    for (int32_t kind = vt_Stocks; kind <= vt_Portfolio; ++kind) {
        SCOPED_TRACE(kind);
        ViewerRequest request;
        request.m_lViewerType = kind;
        ASSERT_TRUE(m_host.Show(request));
        const std::filesystem::path path = TempPdf(kind);
        PrintListToPdf(m_host, path);
        const GridControl& grid = *m_host.Control().olePriGrid();
        const auto& job =
            *dynamic_cast<HeadlessPrinter&>(PlatformContext::Current().Printers()).LastJob();
        const PrintTable table = GridPrintTable(grid, gprAllRows);

        const std::string info = Output("pdfinfo '" + path.string() + "'");
        const size_t pages = info.find("Pages:");
        ASSERT_NE(pages, std::string::npos) << info;
        EXPECT_EQ(std::stoul(info.substr(pages + 6)), job.Pages.size());
        const std::string text = Output("pdftotext '" + path.string() + "' -");
        const std::string header = grid.PrintInfo()->PageHeader();
        EXPECT_FALSE(header.empty());
        EXPECT_NE(text.find(header), std::string::npos) << header << "\n" << text.substr(0, 300);
        const std::string count = std::to_string(job.Pages.size());
        EXPECT_NE(text.find("Page " + count + " of " + count), std::string::npos);
        ASSERT_GT(table.RowCount(), 0u);
        EXPECT_GE(FoundCells(table, 0, text), 2);
        EXPECT_GE(FoundCells(table, table.RowCount() - 1, text), 2);
        std::filesystem::remove(path);
    }
}

TEST_F(PrintPdfTest, APdfIntoAFolderThatIsNotThereNamesThePathAndLeavesNothing) {
    ASSERT_TRUE(m_host.Show(ViewerRequest{}));
    const std::filesystem::path path = "/nonexistent-folder/list.pdf";
    try {
        PrintListToPdf(m_host, path);
        FAIL() << "no error";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.Number(), 75);
        EXPECT_NE(error.Description().find(path.string()), std::string::npos);
    }
}

// A picture of the dialog in both modes, to look at.
TEST_F(PrintPdfTest, PrintOptionsDialogIsPicturedInBothModes) {
    frmPrint print;
    PrintOptionsDialog options(print);
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Print Options"));
    options.grab().save(QStringLiteral("print_options.png"));
    frmPrint quick;
    quick.SetUpQuickTest();
    PrintOptionsDialog quickOptions(quick);
    EXPECT_EQ(quickOptions.findChild<QWidget*>(QStringLiteral("pageSetup")), nullptr);
    EXPECT_EQ(quickOptions.findChild<QWidget*>(QStringLiteral("selectColumns")), nullptr);
    quickOptions.grab().save(QStringLiteral("print_options_quick_test.png"));
}

TEST(PageSetupViewTest, OKHandsThePageBackAsItWasShown) {
    PageSetup a4;
    a4.PaperName = "A4";
    a4.PaperWidth = 11906;
    a4.PaperHeight = 16838;
    a4.Orientation = vbPRORLandscape;
    a4.LeftMargin = 1440;
    PageSetupDialog logic(a4);
    PageSetupView view(logic);
    view.done(QDialog::Accepted);
    ASSERT_FALSE(logic.Cancelled());
    EXPECT_EQ(logic.Setup().Orientation, vbPRORLandscape);
    EXPECT_NEAR(logic.Setup().PaperWidth, a4.PaperWidth, 20);
    EXPECT_NEAR(logic.Setup().LeftMargin, a4.LeftMargin, 20);
}

}  // namespace
}  // namespace qv::test
