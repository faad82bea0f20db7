// The Grid's export: what each choice of the person writes and says, the file it replaces or
// leaves alone, and the folder it proposes.
#include "grid/grid.h"

#include "columns/recordset_utilities.h"
#include "grid/grid_test_support.h"
#include "outside/column_selector.h"
#include "outside/error_reporter.h"
#include "outside/export_selector.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qv {
namespace {

namespace fs = std::filesystem;

// The export columns of the stock rows: "IndName" belongs to the industry rows (table mask 2),
// which this grid does not show, and "%Prc", "Rec" and the system and hidden columns are not
// export columns.
const std::string kAllRows =
    "IBM,Intl Business Machines,140.50\r\n"
    "MSFT,Microsoft,310.00\r\n"
    "ACME,Acme,1234.57\r\n";

class GridExportTest : public testing::GridFixture, public ::testing::Test {
  protected:
    GridExportTest() {
        Load(testing::StockLayoutEntries());
        m_grid->SetDataSource(m_rows);
        m_grid->SetColumnSelector(std::make_shared<DialogColumnSelector>());
        m_path = m_platform.LibraryPath() / "out" / "stocks.csv";
        fs::create_directories(m_path.parent_path());
    }

    // The person's answers: the columns as p_fnColumns leaves them, then the file p_path. No
    // function, or no path, leaves that dialog unscripted, which is a cancel.
    void Answer(std::function<void(ExportColumnsDialog&)> p_fnColumns,
                std::optional<std::string> p_path) {
        if (p_fnColumns) {
            m_platform.Dialogs().QueueScriptFor<ExportColumnsDialog>(
                [fn = std::move(p_fnColumns)](ExportColumnsDialog& dialog) {
                    fn(dialog);
                    dialog.Accept();
                });
        }
        if (p_path) {
            m_platform.Dialogs().QueueScriptFor<SaveFileDialog>(
                [this, path = *p_path](SaveFileDialog& dialog) {
                    m_proposed.push_back(dialog.ProposedPath());
                    dialog.Choose(path);
                });
        }
    }

    fs::path m_path;
    std::vector<std::string> m_proposed;
};

const auto kAsOffered = [](ExportColumnsDialog&) {};

TEST_F(GridExportTest, EachChoiceWritesAndSaysWhatItShould) {
    struct Case {
        const char* Name;
        int32_t Type;
        std::vector<double> Selected;  // bookmarks: row ids plus one
        std::function<void(ExportColumnsDialog&)> Columns;
        bool ChooseFile, NoRows;
        std::optional<std::string> Written;
        std::vector<std::string> Said;
    };
    const auto moved = [](ExportColumnsDialog& dialog) {
        dialog.SetTicked(1, false);
        dialog.Move(2, 0);
    };
    const auto none = [](ExportColumnsDialog& dialog) { dialog.TickAll(false); };
    const std::string done = "Data exported to file " + m_path.string() + " successfully.";
    const std::nullopt_t no = std::nullopt;
    const std::string pleaseSelect = "Please select the rows that you wish to export.";
    const std::string picked = "ACME,Acme,1234.57\r\nIBM,Intl Business Machines,140.50\r\n";
    const std::string reordered = "140.50,IBM\r\n310.00,MSFT\r\n1234.57,ACME\r\n";
    const Case cases[] = {
        {"all rows, commas of #,##0.00 gone", 6, {}, kAsOffered, true, false, kAllRows, {done}},
        {"selected rows in the order selected", 7, {3, 1}, kAsOffered, true, false, picked, {done}},
        {"columns unticked and moved", 6, {}, moved, true, false, reordered, {done}},
        {"type 7, nothing selected", 7, {}, kAsOffered, false, false, no, {pleaseSelect}},
        {"cancelled file choice", 6, {}, kAsOffered, false, false, no, {}},
        {"cancelled column choice", 6, {}, nullptr, false, false, no, {}},
        {"type 5", 5, {}, nullptr, false, false, no, {}},
        {"no rows", 6, {}, kAsOffered, false, true, no, {"There is no data to export."}},
        {"no column ticked", 6, {}, none, true, false, no, {"There are no columns to export."}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Name);
        m_rows = testing::StockRows();
        if (test.NoRows) {
            m_rows = RecordsetUtilities::CopyRecordsetStructure(m_rows);
            m_rows->Open();
        }
        m_grid->SetDataSource(m_rows);
        m_control->SelBookmarks()->Clear();
        for (const double bookmark : test.Selected) {
            Select({bookmark});
        }
        fs::remove(m_path);
        const size_t messages = m_platform.Messages().Shown().size();
        const size_t dialogs = m_platform.Dialogs().Shown().size();
        Answer(test.Columns, test.ChooseFile ? std::optional(m_path.string()) : std::nullopt);
        m_grid->Export(test.Type);

        EXPECT_EQ(m_platform.Dialogs().PendingScripts(), 0u);
        EXPECT_EQ(m_platform.Dialogs().Shown().size() == dialogs, test.Type == 5);
        EXPECT_EQ(fs::exists(m_path), test.Written.has_value());
        if (test.Written) {
            EXPECT_EQ(ReadFile(m_path), *test.Written);
        }
        std::vector<std::string> said;
        for (size_t i = messages; i < m_platform.Messages().Shown().size(); ++i) {
            said.push_back(m_platform.Messages().Shown()[i].Text);
        }
        EXPECT_EQ(said, test.Said);
    }
    EXPECT_EQ(m_platform.Reporter().Reports().size(), 0u);
}

// The hourglass shows while the rows are written; the current row stays where it was.
TEST_F(GridExportTest, AnEarlierFileIsReplacedAndItsPathKeptForTheNextExport) {
    std::ofstream(m_path) << "an earlier export, longer than the new one will be ............"
                          << std::string(300, 'x');
    m_rows->SetAbsolutePosition(2);
    Answer(kAsOffered, m_path.string());
    m_grid->Export(6);
    EXPECT_EQ(ReadFile(m_path), kAllRows);
    EXPECT_EQ(m_platform.Pointer().History(),
              (std::vector<MousePointerShape>{vbHourglass, vbDefault}));
    EXPECT_EQ(m_platform.Settings().GetSetting("Olmaris60", "ExportDir", "Dir", ""),
              m_path.string());
    EXPECT_EQ(m_rows->AbsolutePosition(), 2);
}

// The setting names the last file; once it is gone, the library's Export folder is proposed, made
// again when it was removed.
TEST_F(GridExportTest, TheProposedPathIsTheLastFileWhileItExists) {
    const fs::path folder = m_platform.LibraryPath() / "Export";
    std::ofstream(m_path) << "x";
    const std::pair<std::string, std::string> cases[] = {
        {"", folder.string()},
        {m_path.string(), m_path.string()},
        {(m_path.parent_path() / "gone.csv").string(), folder.string()},
        {folder.string(), folder.string()},
    };
    for (const auto& [setting, proposed] : cases) {
        fs::remove_all(folder);
        if (!setting.empty()) {
            m_platform.Settings().SaveSetting("Olmaris60", "ExportDir", "Dir", setting);
        }
        m_proposed.clear();
        Answer(kAsOffered, "");
        m_grid->Export(6);
        ASSERT_EQ(m_proposed.size(), 1u) << setting;
        EXPECT_EQ(m_proposed[0], proposed) << setting;
        EXPECT_EQ(fs::is_directory(folder), proposed == folder.string()) << setting;
    }
}

// The disk fills up: a file may grow to 64 bytes, and a write past that fails (instead of the
// signal that would end the process).
class FullDisk {
  public:
    FullDisk() {
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        m_pPreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit full = m_limit;
        full.rlim_cur = 64;
        ::setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &m_limit);
        std::signal(SIGXFSZ, m_pPreviousHandler);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

  private:
    rlimit m_limit{};
    void (*m_pPreviousHandler)(int) = nullptr;
};

// A folder that is not there or may not be written, a full disk: the box names the file, an
// earlier file is as it was and nothing is left beside it.
TEST_F(GridExportTest, AFailedWriteNamesTheFileAndLeavesTheEarlierOne) {
    std::ofstream(m_path) << "earlier";
    const fs::path missing = m_path.parent_path() / "typo" / "stocks.csv";
    const fs::path folder = m_path.parent_path();
    enum class Fault { MissingFolder, ReadOnlyFolder, FullDisk };
    for (const Fault fault : {Fault::MissingFolder, Fault::ReadOnlyFolder, Fault::FullDisk}) {
        if (fault == Fault::ReadOnlyFolder && ::geteuid() == 0) {
            continue;  // root writes into a read-only folder
        }
        const fs::path target = fault == Fault::MissingFolder ? missing : m_path;
        SCOPED_TRACE(static_cast<int>(fault));
        Answer(kAsOffered, target.string());
        if (fault == Fault::FullDisk) {
            const FullDisk full;
            m_grid->Export(6);
        } else {
            fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
            m_grid->Export(6);
            fs::permissions(folder, fs::perms::owner_all);
        }
        const ShownMessage& box = m_platform.Messages().Shown().back();
        EXPECT_EQ(box.Title, "Export Failed");
        EXPECT_EQ(box.Icon, vbExclamation);
        EXPECT_EQ(box.Text.rfind("There was an internal error.  Export failed.", 0), 0u);
        EXPECT_NE(box.Text.find(target.string()), std::string::npos) << box.Text;
        EXPECT_EQ(ReadFile(m_path), "earlier");
        EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(folder), {}),
                  std::vector<fs::path>{m_path});
        EXPECT_FALSE(fs::exists(missing.parent_path()));
    }
    EXPECT_EQ(m_platform.Settings().GetSetting("Olmaris60", "ExportDir", "Dir", ""), "");
}

}  // namespace
}  // namespace qv
