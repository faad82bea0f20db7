// The control's print command on the generated market: the default print layout for the print
// and the layout in use back afterwards, the row choices of the print form, and a platform
// without a printer.
#include "control/forms/frm_print.h"
#include "outside/headless_services.h"
#include "outside/layout_description.h"
#include "outside/recordset.h"
#include "viewer_test_support.h"

#include <algorithm>

namespace qv::testing {
namespace {

class ViewerPrintingTest : public ViewerTest {
  protected:
    LayoutHeader Header() const { return layout_codec::Parse(m_oViewer->LayoutInfo()).Header; }
};

// Cancelled, or chosen without a printer (which the person is told): nothing is printed and the
// layout in use before the default print layout is back.
TEST_F(ViewerPrintingTest, CancellingOrNoPrinterPutsThePreviousLayoutBack) {
    ASSERT_TRUE(Show(vt_Stocks, NewOwner()));
    const LayoutHeader before = Header();
    const std::string columns = PrimaryText(0);
    m_oPlatform.Dialogs().QueueScriptFor<frmPrint>([&](frmPrint& p_oForm) {
        EXPECT_NE(Header().Id, before.Id);  // the print layout is shown while the form is open
        EXPECT_TRUE(m_oViewer->PrintLayoutMode());
        EXPECT_TRUE(p_oForm.ColumnSelectVisible());
        p_oForm.Cancel();
    });
    m_oViewer->PrintSelected(false);
    EXPECT_EQ(CallsTo("GetDefaultLayoutID"), 1u);
    EXPECT_EQ(PrimaryText(0), columns);
    EXPECT_EQ(m_oHost.Count("LayoutCustomized"), 2u);
    m_oPlatform.Printers().SetDefaultPrinter(std::nullopt);
    m_oPlatform.Dialogs().QueueScriptFor<frmPrint>([](frmPrint& p_oForm) {
        p_oForm.ChooseOption(psAllRows);
        p_oForm.OK();
    });
    m_oViewer->PrintSelected(false);
    ASSERT_EQ(m_oPlatform.Messages().Shown().size(), 1u);
    const ShownMessage& shown = m_oPlatform.Messages().Shown()[0];
    EXPECT_EQ(shown.Text, "No printer installed. Please install a printer to use this feature");
    EXPECT_EQ(shown.Title, "Olmaris Lumetra 6.0");
    EXPECT_EQ(shown.Icon, vbInformation);
    EXPECT_TRUE(m_oViewer->olePriGrid()->PrintInfo()->PrintRequests().empty());
    EXPECT_EQ(m_oPlatform.Printers().JobCount(), 0);
    EXPECT_EQ(Header().Id, before.Id);
    EXPECT_FALSE(m_oViewer->PrintLayoutMode());
}

TEST_F(ViewerPrintingTest, PrintTopTenPrintsTenRowsFromTheCurrentRowUnderTheReportTitle) {
    ASSERT_TRUE(Show(vt_Stocks, NewOwner()));
    const std::shared_ptr<GridControl> grid = m_oViewer->olePriGrid();
    std::vector<std::string> symbols;
    const std::shared_ptr<Recordset> rows = grid->DataSource()->Clone();
    rows->MoveFirst();
    for (int32_t row = 0; row < 16; ++row, rows->MoveNext()) {
        symbols.push_back(rows->Value("Symbol").ToString());
    }
    // The person is on row 5 of the print layout's rows when the form opens.
    m_oPlatform.Dialogs().QueueScriptFor<frmPrint>([&](frmPrint& p_oForm) {
        grid->SetCurrentRow(5);
        p_oForm.ChooseOption(psTopRows);
        p_oForm.SetSpinner(10);
        p_oForm.OK();
    });
    m_oViewer->PrintSelected(false);
    ASSERT_EQ(m_oPlatform.Printers().JobCount(), 1);
    std::vector<std::string> printed;
    for (const PrintedPage& page : m_oPlatform.Printers().LastJob()->Pages) {
        for (const PrintText& text : page.Texts) {
            printed.push_back(text.Text);
        }
    }
    const auto printedSymbol = [&](const std::string& p_sSymbol) {
        return std::find(printed.begin(), printed.end(), p_sSymbol) != printed.end();
    };
    EXPECT_FALSE(printedSymbol(symbols[4]));
    for (int32_t row = 5; row < 15; ++row) {
        EXPECT_TRUE(printedSymbol(symbols[row])) << symbols[row];
    }
    EXPECT_FALSE(printedSymbol(symbols[15]));
    EXPECT_EQ(printed.front(), m_oViewer->PrintReportTitle());
    EXPECT_EQ(printed.front().rfind("Olmaris Lumetra (Stock Report) - ", 0), 0u);
    EXPECT_EQ(grid->PrintInfo()->PageHeader(), "");
}

}  // namespace
}  // namespace qv::testing
