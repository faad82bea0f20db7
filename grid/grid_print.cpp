// Printing a grid: its page header, its page setup kept in "pagesetup.dat" between runs, and the
// print of all rows or the selected ones.
//
// Choices made where the description leaves them open:
//   - The grid kind that picks a page header is the list scope the grid was initialised with: 1
//     and 2 are the stocks of one industry or sector, 3 the industry groups of one sector, and N
//     is then the name of that group in the grid's current row.
//   - A "pagesetup.dat" that cannot be used (unreadable, empty, corrupt or from another program)
//     is said once per library folder in a run, with its path; the print goes on with the page
//     setup the grid has, and the next page setup saved replaces the file.
#include "grid/grid.h"

#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/grid_control_print.h"
#include "outside/platform_context.h"
#include "outside/support_utility.h"
#include "outside/text_util.h"
#include "outside/vb_format.h"
#include "state/viewer_elements.h"

#include <array>
#include <filesystem>
#include <optional>
#include <set>
#include <system_error>

namespace qv {

namespace {

constexpr const char* kPricingAsOf = " - Pricing as of ";

std::string PricingDate(const ViewerElements& p_elements) {
    return Format(Variant::Date(p_elements.StartDate()), "mm/dd/yy");
}

// The header of the list, or nothing when the list has none.
std::optional<std::string> PageHeaderOf(const ViewerElements& p_elements, int32_t p_lGridKind,
                                        const std::string& p_sGroupName) {
    const std::string date = kPricingAsOf + PricingDate(p_elements);
    const bool watchList = p_elements.WatchListId() != 0;
    const std::string watchListName(TrimSpaces(p_elements.WatchListName()));
    switch (p_elements.ViewerType()) {
        case vt_Stocks:
            switch (p_lGridKind) {
                case 0:
                    return watchList ? "Stock WatchList " + watchListName + date
                                     : "Stock Viewer" + date;
                case 1:
                    return "Stocks In Industry ( " + p_sGroupName + " ) " + date;
                case 2:
                    return "Stocks In Business Sector ( " + p_sGroupName + " )" + date;
                default:
                    return std::nullopt;
            }
        case vt_Industries:
            if (watchList) {
                return "Industry WatchList " + watchListName + date;
            }
            if (p_lGridKind == 3) {
                return "Industries In Business Sector ( " + p_sGroupName + " )" + date;
            }
            return "Industry Viewer" + date;
        case vt_Sectors:
            return "Business Sector Viewer" + date;
        case vt_StockHistory:
            return "Stock History For " + p_elements.Symbol() + date;
        case vt_IndustryHistory:
            return "Industry History For " + p_sGroupName + date;
        case vt_SectorHistory:
            return "Business Sector History For " + p_sGroupName + date;
        case vt_FinderResults:
            return "Tandrel Tool Results For " + p_elements.SearchName();
        case vt_Portfolio:
            return "Portfolio Holdings For " + p_elements.PortfolioName();
        default:
            return std::nullopt;
    }
}

// Says once per library folder in a run that its page setup file could not be used.
void TellPageSetupUnusable(const std::filesystem::path& p_file) {
    static std::set<std::string> told;
    if (!told.insert(p_file.parent_path().string()).second) {
        return;
    }
    MsgBox("The page setup in " + p_file.string() +
               " could not be read. The default page setup is used until you save a new one.",
           vbOKOnly, vbExclamation, "Page Setup");
}

// The text of the column bound to p_sField in the current row; "" without such a column or row.
std::string GroupName(const GridControl& p_oGrid, const char* p_sField) {
    const int32_t column = p_oGrid.Columns()->IndexOfField(p_sField);
    const Variant bookmark = p_oGrid.Bookmark();
    if (column < 0 || bookmark.IsNull()) {
        return "";
    }
    return p_oGrid.CellText(column, bookmark);
}

}  // namespace

void Grid::SetPageHeader(GridControl& p_oGrid) {
    const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
    if (!elements) {
        return;
    }
    const char* nameField =
        m_lListScope == 2 || m_lListScope == 3 || elements->ViewerType() == vt_SectorHistory
            ? "SectorName"
            : "indname";
    const std::optional<std::string> header =
        PageHeaderOf(*elements, m_lListScope, GroupName(p_oGrid, nameField));
    if (header) {
        p_oGrid.PrintInfo()->SetPageHeader(*header);
    }
}

void Grid::LoadPageSetup(GridControl& p_oGrid) {
    const SupportUtility utility;
    const std::filesystem::path folder = PlatformContext::Current().Library().Path();
    const std::filesystem::path file = folder / SupportUtility::kPageSetupFile;
    std::vector<uint8_t> block = utility.ReadPageSetup(folder);
    if (block.empty()) {
        std::error_code ignored;
        if (!std::filesystem::exists(file, ignored)) {
            return;
        }
        std::filesystem::remove(file, ignored);
        TellPageSetupUnusable(file);
        block = utility.ReadPageSetup(folder);
        if (block.empty()) {
            return;
        }
    }
    try {
        p_oGrid.PrintInfo()->SetPageSettings(ByteBlockVariant(block));
    } catch (const AutomationError&) {
        TellPageSetupUnusable(file);
    }
}

void Grid::SavePageSetup(GridControl& p_oGrid) {
    const std::vector<uint8_t> block = ByteBlockBytes(p_oGrid.PrintInfo()->PageSettings());
    SupportUtility().WritePageSetup(PlatformContext::Current().Library().Path(), block);
}

void Grid::PrintRows(GridControl& p_oGrid, int32_t p_lRows, bool p_bAskPageSetup) {
    Reported("Grid: PrintData", [&] {
        LoadPageSetup(p_oGrid);
        const std::shared_ptr<GridPrintInfo> settings = p_oGrid.PrintInfo();
        if (p_bAskPageSetup) {
            settings->PageSetup();
            if (settings->PageSetupCancelled()) {
                return;
            }
        }
        std::array<Variant, 1> on{Variant(true)};
        settings->InvokeById(10, InvokeKind::PropertyLet, on);
        SetPageHeader(p_oGrid);
        settings->PrintData(p_lRows);
        if (p_bAskPageSetup) {
            SavePageSetup(p_oGrid);
        }
    });
}

void Grid::PrintFromPage(const std::shared_ptr<GridControl>& p_oGrid) {
    if (p_oGrid) {
        PrintRows(*p_oGrid, gprAllRows);
    }
}

void Grid::ShowPageSetup() {
    Reported("Grid: PageSetup", [&] {
        if (!m_oGrid) {
            return;
        }
        LoadPageSetup(*m_oGrid);
        m_oGrid->PrintInfo()->PageSetup();
        if (!m_oGrid->PrintInfo()->PageSetupCancelled()) {
            SavePageSetup(*m_oGrid);
        }
    });
}

}  // namespace qv
