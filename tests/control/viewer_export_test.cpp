// The control's export on the generated market: every list kind reads back as its grid shows it,
// the grid exported is the one the host's command names, and an empty list says so.
#include "control/viewer.h"

#include "grid/grid.h"
#include "outside/export_selector.h"
#include "outside/recordset.h"
#include "outside/text_util.h"
#include "strategies/viewer_functionality.h"
#include "support/test_helpers.h"
#include "viewer_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace qv::testing {
namespace {

// The lines of the file written, without their ends (the grid's export tests check those).
std::vector<std::string> Lines(const std::filesystem::path& p_path) {
    std::string text = ReadFile(p_path);
    std::erase(text, '\r');
    return SplitText(text, '\n');
}

class ViewerExportTest : public ViewerTest {
  protected:
    // Accepts the columns as offered, noting their fields, and chooses the file.
    void Answer() {
        m_fields.clear();
        m_oPlatform.Dialogs().QueueScriptFor<ExportColumnsDialog>(
            [this](ExportColumnsDialog& dialog) {
                for (const ExportColumn& column : dialog.Columns()) {
                    if (column.Ticked) {
                        m_fields.push_back(column.ColumnName);
                    }
                }
                dialog.Accept();
            });
        m_oPlatform.Dialogs().QueueScriptFor<SaveFileDialog>(
            [this](SaveFileDialog& dialog) { dialog.Choose(m_path.string()); });
    }
    Variant Export(int32_t p_lType) {
        std::array<Variant, 1> type{Variant(p_lType)};
        return CallMethod(*m_oViewer, "Export", type);
    }
    // The grid's text of p_sField in the row at view position p_lRow.
    static std::string CellText(GridControl& p_oGrid, const std::string& p_sField, int32_t p_lRow) {
        const auto& columns = *p_oGrid.Columns();
        for (int32_t i = 0; i < columns.Count(); ++i) {
            if (EqualsIgnoreCase(columns.Item(i)->DataField(), p_sField)) {
                return p_oGrid.CellText(
                    i, GridControl::BookmarkOfRowId(p_oGrid.DataSource()->ViewRowId(p_lRow)));
            }
        }
        return "no column for " + p_sField;
    }

    std::filesystem::path m_path = m_oPlatform.LibraryPath() / "list.csv";
    std::vector<std::string> m_fields;
};

TEST_F(ViewerExportTest, EachListReadsBackAsItsGridShowsIt) {
    for (ViewerType type : {vt_Stocks, vt_Industries, vt_Sectors, vt_StockHistory,
                            vt_IndustryHistory, vt_FinderResults, vt_Portfolio}) {
        SCOPED_TRACE(static_cast<int>(type));
        ASSERT_TRUE(Show(type));
        Answer();
        EXPECT_FALSE(Export(6).ToBool());
        GridControl& grid = *m_oViewer->olePriGrid();
        std::vector<std::string> lines = Lines(m_path);
        ASSERT_EQ(lines.back(), "");
        lines.pop_back();
        ASSERT_EQ(static_cast<int32_t>(lines.size()), grid.RowCount());
        ASSERT_FALSE(m_fields.empty());
        for (int32_t row = 0; row < grid.RowCount(); ++row) {
            const std::vector<std::string> values = SplitText(lines[static_cast<size_t>(row)], ',');
            ASSERT_EQ(values.size(), m_fields.size()) << lines[static_cast<size_t>(row)];
            for (size_t i = 0; i < values.size(); ++i) {
                std::string shown = CellText(grid, m_fields[i], row);
                std::erase(shown, ',');
                EXPECT_EQ(values[i], shown) << m_fields[i] << " in row " << row;
            }
        }
    }
}

// The host's export command (1 on the primary grid) writes its selected row only; with the list
// cleared there is nothing to export.
TEST_F(ViewerExportTest, TheHostsCommandExportsTheSelectedRowsAndAnEmptyListSaysSo) {
    ASSERT_TRUE(Show(vt_Stocks));
    Answer();
    m_oViewer->HandleExMenuClick(1);
    const std::vector<std::string> lines = Lines(m_path);
    ASSERT_EQ(lines.size(), 2u);
    const auto symbol = std::find(m_fields.begin(), m_fields.end(), "Symbol");
    ASSERT_NE(symbol, m_fields.end());
    EXPECT_EQ(SplitText(lines[0], ',').at(static_cast<size_t>(symbol - m_fields.begin())),
              PrimaryValue("Symbol").ToString());

    m_oViewer->ClearViewer();
    Export(7);
    ASSERT_FALSE(m_oPlatform.Messages().Shown().empty());
    const ShownMessage& said = m_oPlatform.Messages().Shown().back();
    EXPECT_EQ(said.Text, "No data to export.");
    EXPECT_EQ(said.Title, "Export");
    EXPECT_EQ(said.Icon, vbInformation);
}

}  // namespace
}  // namespace qv::testing
