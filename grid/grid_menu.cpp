// The Grid's row context menu: which items each kind of rows offers, and what each item does.
//
// Choices made where the menu's description leaves them open:
//   - The advanced graph edition ("Tavrenex" graphs under each graph item) counts as available
//     when the shared services find it among the user's programs (ProgramsMask,
//     SharedServices::kAdvancedGraphProgram); the options-analysis submenu likewise needs
//     SharedServices::kOptionsProgram, and then appears only when the owner has trades.
//   - Several rows are graphed together in every list but the histories, whose rows are the days
//     of one stock, industry or sector.
//   - Stock rows offer several industry and sector graphs besides several stock graphs unless the
//     stock viewer lists the stocks of one industry or one sector (list scope 1 or 2); without the
//     advanced edition the three share the submenu "View Multiple Graphs", and a list of one group
//     gets the single item "View Multiple Stock Graphs".
//   - The watch-list menus: an industry grid of a watch list offers only "View WatchList Average
//     Graph"; a sector grid of a watch list offers the same, enabled when its row has a "Price"
//     (an average without prices has nothing to graph).
//   - An item whose address needs a value the row lacks (no such field, or Null) is disabled, so
//     that no incomplete address is raised.
#include "grid/grid.h"

#include "grid/grid_current_row.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "outside/shared_services.h"
#include "outside/vb_format.h"
#include "state/viewer_elements.h"

#include <functional>
#include <initializer_list>
#include <optional>

namespace qv {

namespace {

using Part = std::optional<std::string>;

// Builds one menu: the items of a kind of rows, their addresses from the current row.
class MenuBuilder {
  public:
    MenuBuilder(PopupMenu& p_oMenu, const GridCurrentRow& p_row, const ViewerElements& p_elements,
                int32_t p_lListScope, const std::string& p_sReportTitle)
        : m_oMenu(p_oMenu),
          m_row(p_row),
          m_elements(p_elements),
          m_eViewerType(p_elements.ViewerType()),
          m_lListScope(p_lListScope),
          m_bAdvanced(SharedServices().AdvancedGraphs(p_elements.ProgramsMask())),
          m_date(p_sReportTitle.find("History") != std::string::npos
                     ? m_row.Text("Trading_Date")
                     : Part(AddressDate(p_elements.StartDate()))) {}

    int32_t Item(std::string_view p_sCaption, int32_t p_lId, std::string_view p_sTag = "",
                 int32_t p_lParent = 0, bool p_bEnabled = true) {
        return m_oMenu.Add(p_sCaption, "", p_lId, p_lParent, p_bEnabled, p_sTag);
    }
    int32_t Header(std::string_view p_sCaption, int32_t p_lParent = 0) {
        return Item(p_sCaption, 0, "", p_lParent);
    }
    void Separator() { Item("-", 0); }

    // An item with id 1 whose tag is the page address the parts make; disabled when a part is
    // missing.
    void Page(std::string_view p_sCaption, std::initializer_list<Part> p_parts,
              bool p_bEnabled = true) {
        std::string address;
        bool complete = true;
        for (const Part& part : p_parts) {
            complete = complete && part.has_value();
            address += part.value_or("");
        }
        Item(p_sCaption, 1, complete ? address : "", 0, p_bEnabled && complete);
    }

    // A graph item: flat with its navigate type, or with the advanced edition a submenu of the
    // standard and the advanced graph.
    void Graph(std::string_view p_sCaption, int32_t p_lStandard, int32_t p_lAdvanced,
               int32_t p_lParent = 0) {
        if (!m_bAdvanced) {
            Item(p_sCaption, 1, std::to_string(p_lStandard), p_lParent);
            return;
        }
        const int32_t header = Header(p_sCaption, p_lParent);
        Item("Standard", 1, std::to_string(p_lStandard), header);
        Item("Tavrenex", 1, std::to_string(p_lAdvanced), header);
    }

    void StockRows();
    void IndustryRows();
    void SectorRows();
    void PortfolioRows();
    // p_bSelectedRows: whether "Selected Rows" can export anything.
    void CommonTail(bool p_bSecondaryGrid, bool p_bSelectedRows);
    bool OffersOptions() const {
        return SharedServices().HasOptionsProduct(m_elements.ProgramsMask());
    }

    // Adds the options-analysis submenu (the Grid's, as it asks the facade for the trades).
    std::function<void()> AddOptions;
    std::string QuickTestTag;

  private:
    Part Row(std::string_view p_sField) const { return m_row.Text(p_sField); }
    bool Is(ViewerType p_eType) const { return m_eViewerType == p_eType; }
    bool SeveralGraphs() const {
        return m_eViewerType != vt_StockHistory && m_eViewerType != vt_IndustryHistory &&
               m_eViewerType != vt_SectorHistory;
    }
    void StockDetails();
    void GroupDetails();
    void ListsOfGroup(bool p_bIndustry, bool p_bSector, bool p_bScoped);
    void StockGraphs();
    void SeveralStockGraphs();
    void QuickTest();

    PopupMenu& m_oMenu;
    const GridCurrentRow& m_row;
    const ViewerElements& m_elements;
    ViewerType m_eViewerType;
    int32_t m_lListScope;
    bool m_bAdvanced;
    Part m_date;
};

void MenuBuilder::StockDetails() {
    const Part symbol = Row("symbol");
    Page("View Stock Details",
         {"pagecontroller.aspx?pagetype=37&symbol=", symbol, "&date=", m_date});
    Item("View Stock News", 26, symbol.value_or(""), 0, symbol.has_value());
}

void MenuBuilder::GroupDetails() {
    Page("View Industry Details",
         {"pagecontroller.aspx?pagetype=49&indcode=", Row("indcode"), "&date=", m_date});
    Page("View Sector Details",
         {"pagecontroller.aspx?pagetype=52&sectorcode=", Row("sectorcode"), "&Date=", m_date});
}

// The lists of the row's industry group and sector; p_bScoped disables the list the grid shows.
void MenuBuilder::ListsOfGroup(bool p_bIndustry, bool p_bSector, bool p_bScoped) {
    const Part industry = Row("indcode");
    const Part sector = Row("sectorcode");
    if (p_bIndustry) {
        Page("View Stocks in Industry Group",
             {"pagecontroller.aspx?PageType=4&indcode=", industry, "&date=", m_date},
             !(p_bScoped && m_lListScope == 1));
    }
    Page("View Industries in Business Sector",
         {"pagecontroller.aspx?pagetype=6&sectorcode=", sector, "&date=", m_date},
         !(p_bScoped && m_lListScope == 3));
    if (p_bSector) {
        Page("View Stocks In Business Sector",
             {"pagecontroller.aspx?pagetype=5&sectorcode=", sector, "&date=", m_date},
             !(p_bScoped && m_lListScope == 2));
    }
}

void MenuBuilder::StockGraphs() {
    Graph("View Stock Graph", 3, 9);
    Graph("View Industry Graph", 4, 10);
    Graph("View Business Sector Graph", 5, 11);
}

void MenuBuilder::SeveralStockGraphs() {
    if (!SeveralGraphs()) {
        return;
    }
    const bool oneGroup = m_eViewerType == vt_Stocks && (m_lListScope == 1 || m_lListScope == 2);
    if (!m_bAdvanced && oneGroup) {
        Item("View Multiple Stock Graphs", 19);
        return;
    }
    const int32_t several = Header("View Multiple Graphs");
    if (!m_bAdvanced) {
        Item("View Multiple Stock Graphs", 19, "", several);
        Item("Industry", 20, "", several);
        Item("Sector", 21, "", several);
        return;
    }
    Graph("View Multiple Stock Graphs", 6, 12, several);
    if (!oneGroup) {
        Graph("Industry", 7, 13, several);
        Graph("Sector", 8, 14, several);
    }
}

void MenuBuilder::QuickTest() {
    Item("Quick Test", 22, QuickTestTag, 0, true);
}

void MenuBuilder::StockRows() {
    const Part symbol = Row("symbol");
    StockDetails();
    Page("View Stock Analysis",
         {"pagecontroller.aspx?pagetype=40&date=", m_date, "&symbol=", symbol});
    GroupDetails();
    Separator();
    if (!Is(vt_StockHistory)) {
        Page("View Historical Data", {"pagecontroller.aspx?pagetype=7&symbol=", symbol});
    }
    ListsOfGroup(true, true, true);
    Separator();
    Page("Calculate Option Price",
         {"pagecontroller.aspx?pagetype=26&symbol=", symbol, "&date=", m_date});
    if (OffersOptions()) {
        AddOptions();
    }
    Separator();
    QuickTest();
    Item("Upcoming Dividend Dates", 27);
    Separator();
    StockGraphs();
    SeveralStockGraphs();
    if (!Is(vt_StockHistory) && m_eViewerType != vt_FinderResults) {
        Separator();
        Item("Find Stock", 12);
    }
    if (!Is(vt_StockHistory)) {
        Item("Add to WatchList", 9);
    }
}

void MenuBuilder::IndustryRows() {
    GroupDetails();
    if (!Is(vt_IndustryHistory)) {
        Page("View Historical Data", {"pagecontroller.aspx?pagetype=8&indcode=", Row("indcode")});
    }
    Separator();
    ListsOfGroup(true, false, true);
    Graph("View Industry Graph", 3, 9);
    Graph("View Business Sector Graph", 4, 10);
    if (SeveralGraphs()) {
        if (m_bAdvanced) {
            Graph("View Multiple Industry Graphs", 7, 13);
        } else {
            Item("View Multiple Industry Graphs", 20);
        }
    }
    if (!Is(vt_IndustryHistory)) {
        Separator();
        QuickTest();
    }
    if (m_eViewerType == vt_Industries) {
        Item("Find Industry", 12);
    }
}

void MenuBuilder::SectorRows() {
    Page("View Sector Details",
         {"pagecontroller.aspx?pagetype=52&sectorcode=", Row("sectorcode"), "&Date=", m_date});
    Separator();
    if (!Is(vt_SectorHistory)) {
        Page("View Historical Data",
             {"pagecontroller.aspx?pagetype=9&sectorcode=", Row("sectorcode")});
    }
    Separator();
    ListsOfGroup(false, true, true);
    Graph("View Business Sector Graph", 3, 9);
    if (!Is(vt_SectorHistory)) {
        if (m_bAdvanced) {
            Graph("View Multiple Sector Graphs", 8, 14);
        } else {
            Item("View Multiple Sector Graphs", 21);
        }
    }
    if (m_eViewerType == vt_Sectors) {
        Separator();
        QuickTest();
        Separator();
        Item("Find Sector", 12);
    }
}

void MenuBuilder::PortfolioRows() {
    const Part symbol = Row("symbol");
    StockDetails();
    Item("View Investment Details", 1, "InvestmentDetails");
    GroupDetails();
    Page("View Historical Data", {"pagecontroller.aspx?pagetype=7&symbol=", symbol});
    Page("View Stocks in Industry Group",
         {"pagecontroller.aspx?pagetype=4&indcode=", Row("indcode")});
    ListsOfGroup(false, true, false);
    Page("Calculate Option Price", {"pagecontroller.aspx?pagetype=26&symbol=", symbol,
                                    "&date=", Part(AddressDate(m_elements.EndDate()))});
    if (OffersOptions()) {
        AddOptions();
    }
    Item("Upcoming Dividend Dates", 27);
    StockGraphs();
    SeveralStockGraphs();
    Item("Add to WatchList", 9);
}

void MenuBuilder::CommonTail(bool p_bSecondaryGrid, bool p_bSelectedRows) {
    if (!p_bSecondaryGrid) {
        if (m_oMenu.Count() > 0) {
            Separator();
        }
        Item("Customize Layout", 3);
    }
    Separator();
    Item("Page Setup", 10);
    Item("Print Selected Item(s)", 5);
    Item("Print All", 4);
    const int32_t exportMenu = Header("Export");
    Item("All Rows", 6, "", exportMenu);
    Item("Selected Rows", 7, "", exportMenu, p_bSelectedRows);
}

// Runs p_fnRow on each row p_rRows shows, from the first; a group without trades shows none.
void ForEachRow(Recordset& p_rRows, const std::function<void()>& p_fnRow) {
    if (p_rRows.RecordCount() == 0) {
        return;
    }
    for (p_rRows.MoveFirst(); !p_rRows.IsEOF(); p_rRows.MoveNext()) {
        p_fnRow();
    }
}

// The grids that follow another grid's row: the industry and sector grids of the stock viewer
// and the sector grid of the industry viewer.
bool IsSecondaryGrid(ViewerType p_eViewerType, int32_t p_lDataType) {
    return (p_eViewerType == vt_Stocks && (p_lDataType == 1 || p_lDataType == 2)) ||
           (p_eViewerType == vt_Industries && p_lDataType == 2);
}

}  // namespace

bool Grid::BuildMenu() {
    m_oPopupMenu.Clear();
    ErrorScope scope("Grid:MouseUp");
    try {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        if (!m_oGrid || !elements) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "the grid has no control or state");
        }
        if (m_oGrid->RowCount() > 0 && m_oGrid->SelBookmarks()->Count() == 0 &&
            m_oGrid->Row() >= 0) {
            m_oGrid->SelBookmarks()->Add(m_oGrid->Bookmark());
        }
        const GridCurrentRow row(m_oGrid.get());
        MenuBuilder menu(m_oPopupMenu, row, *elements, m_lListScope, m_sReportTitle);
        menu.AddOptions = [this] { AddMarluneMenuItems(0); };
        if (m_lViewerDataType == 0 || m_lViewerDataType == 5) {
            menu.QuickTestTag = "QuickTest.asp?symbols=" + GetSelectedItems("Stock_ID");
        }
        const bool watchList = elements->WatchListId() != 0;
        switch (m_lViewerDataType) {
            case 0:
            case 5:
                menu.StockRows();
                break;
            case 1:
                if (watchList) {
                    menu.Item("View WatchList Average Graph", 1, "3");
                    return true;
                }
                menu.IndustryRows();
                break;
            case 2:
                if (watchList) {
                    menu.Item("View WatchList Average Graph", 1, "3", 0,
                              row.Text("Price").has_value());
                    return true;
                }
                menu.SectorRows();
                break;
            case 3:
                menu.PortfolioRows();
                break;
            default:
                break;
        }
        menu.CommonTail(IsSecondaryGrid(elements->ViewerType(), m_lViewerDataType),
                        m_lViewerDataType == 3 || m_oGrid->SelBookmarks()->Count() > 0);
        return true;
    } catch (...) {
        scope.Capture();
        return false;
    }
}

void Grid::AddMarluneMenuItems(int32_t p_lParent) {
    Reported("Grid:AddMarluneMenuItems", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
        const std::shared_ptr<Recordset> trades =
            SharedServices().OptionsTrades(elements->OwnerId());
        if (trades->RecordCount() == 0) {
            return;
        }
        const int32_t top = m_oPopupMenu.Add("Marlune", "", 0, p_lParent, true, "");
        const std::shared_ptr<Recordset> groups = trades->Clone();
        groups->SetFilter(Variant("Tradeid = -1"));
        ForEachRow(*groups, [&] {
            const int32_t group =
                m_oPopupMenu.Add(groups->Value("Name").ToString(), "", 0, top, true, "");
            const std::shared_ptr<Recordset> members = trades->Clone();
            members->SetFilter(
                Variant("Tradeid > 0 AND Group_id = " + groups->Value("Group_ID").ToString()));
            ForEachRow(*members, [&] {
                m_oPopupMenu.Add(members->Value("Name").ToString(), "", 25, group, true,
                                 members->Value("tradeID").ToString());
            });
        });
    });
}

void Grid::MouseUp(int16_t p_iButton, int16_t, int32_t p_lX, int32_t p_lY) {
    if (p_iButton != gmbRight || !BuildMenu() || m_bExternalClick) {
        return;
    }
    const std::weak_ptr<bool> alive = m_oAlive;
    const int32_t chosen = m_oPopupMenu.Show({m_oGrid.get(), p_lX, p_lY});
    if (!alive.expired() && chosen > 0) {
        m_oPopupMenu_Click(chosen);
    }
}

void Grid::HandleExMenuClick(int32_t p_lItemId) {
    m_bExternalClick = true;
    if (BuildMenu()) {
        for (int32_t index = 1; index <= m_oPopupMenu.Count(); ++index) {
            if (m_oPopupMenu.ItemId(index) == p_lItemId) {
                const std::weak_ptr<bool> alive = m_oAlive;
                m_oPopupMenu_Click(index);
                if (alive.expired()) {
                    return;
                }
                break;
            }
        }
    }
    m_oPopupMenu.Clear();
    m_bExternalClick = false;
}

void Grid::m_oPopupMenu_Click(int32_t p_lIndex) {
    const int32_t id = m_oPopupMenu.ItemId(p_lIndex);
    const std::string tag = m_oPopupMenu.ItemTag(p_lIndex);
    const std::shared_ptr<qv::ViewerElements> elements = ViewerElements();
    const int32_t watchListId = elements ? elements->WatchListId() : 0;
    switch (id) {
        case 1:
            if (IsNumeric(Variant(tag))) {
                RaiseNavigate(Variant(tag).ToLong(), watchListId);
            } else {
                m_sinks.Raise([&](GridEvents& sink) { sink.Navigate(tag); });
            }
            return;
        case 3:
        case 12:
        case 13:
        case 15:
        case 16:
        case 17:
        case 18:
        case 23:
            m_sinks.Raise([&](GridEvents& sink) { sink.GridMenuClick(id, tag); });
            return;
        case 4:
        case 5:
            if (m_oGrid) {
                PrintRows(*m_oGrid, id == 4 ? gprAllRows : gprSelectedRows);
            }
            return;
        case 10:
            ShowPageSetup();
            return;
        case 6:
        case 7:
            Export(id);
            return;
        case 9:
            m_sinks.Raise([](GridEvents& sink) { sink.AddToWatchList(); });
            return;
        case 19:
        case 20:
        case 21:
            RaiseNavigate(id - 13, watchListId);
            return;
        case 22:
            m_sinks.Raise([](GridEvents& sink) { sink.QuickTest(); });
            return;
        case 25:
            if (elements) {
                HandleMarluneClick(elements->ViewerType() == vt_Portfolio
                                       ? elements->PortFolioUpdatedDate()
                                       : elements->StartDate(),
                                   tag);
            }
            return;
        case 26:
            LinkToNews(tag);
            return;
        case 27:
            LinkToDividendViewer();
            return;
        default:
            return;
    }
}

}  // namespace qv
