// The Grid's page addresses: the navigate types, a row's double click, the news and dividend
// pages, and the options-analysis program.
#include "grid/grid.h"

#include "grid/grid_current_row.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/shared_services.h"
#include "outside/text_util.h"
#include "outside/vb_format.h"
#include "state/viewer_elements.h"

#include <algorithm>
#include <filesystem>

namespace qv {

namespace {

// The rows a several-graph question starts from.
constexpr int16_t kDefaultGraphCount = 15;
constexpr size_t kMaxDividendStocks = 25;
constexpr size_t kMaxAnalyzedStocks = 10;
constexpr const char* kMarluneKey = "SOFTWARE\\Olmaris, Inc.\\MarluneOnline";

// The key fields and page prefixes of a kind of rows.
struct NavigationPages {
    const char* Keys[3] = {nullptr, nullptr, nullptr};
    const char* Detail = nullptr;
    const char* Graph[3] = {nullptr, nullptr, nullptr};
    const char* Advanced[3] = {nullptr, nullptr, nullptr};
    const char* Analysis = nullptr;
};

NavigationPages PagesOf(int32_t p_lDataType) {
    switch (p_lDataType) {
        case 0:
        case 3:
        case 5:
            return {{"symbol", "indcode", "sectorcode"},
                    "pagecontroller.aspx?pagetype=7&symbol=",
                    {"pagecontroller.aspx?pagetype=10&iwp=0&symbol=",
                     "pagecontroller.aspx?pagetype=11&iwp=0&indcode=",
                     "pagecontroller.aspx?pagetype=12&iwp=0&sectorcode="},
                    {"pagecontroller.aspx?pagetype=10&iwp=1&symbol=",
                     "pagecontroller.aspx?pagetype=11&iwp=1&indcode=",
                     "pagecontroller.aspx?pagetype=12&iwp=1&sectorcode="},
                    "pagecontroller.aspx?pagetype=40&symbol="};
        case 1:
            return {{"indcode", "sectorcode", nullptr},
                    "pagecontroller.aspx?pagetype=8&indcode=",
                    {"pagecontroller.aspx?pagetype=11&iwp=0&indcode=",
                     "pagecontroller.aspx?pagetype=12&iwp=0&sectorcode=", nullptr},
                    {"pagecontroller.aspx?pagetype=11&iwp=1&indcode=",
                     "pagecontroller.aspx?pagetype=12&iwp=1&sectorcode=", nullptr},
                    nullptr};
        case 2:
            return {{"sectorcode", nullptr, nullptr},
                    "pagecontroller.aspx?pagetype=9&sectorcode=",
                    {"pagecontroller.aspx?pagetype=12&iwp=0&sectorcode=", nullptr, nullptr},
                    {"pagecontroller.aspx?pagetype=12&iwp=1&sectorcode=", nullptr, nullptr},
                    nullptr};
        default:
            return {};
    }
}

struct NavigationTarget {
    const char* Field = nullptr;
    const char* Prefix = nullptr;
};

// The field and prefix of a navigate type; none for type 1, unknown types and, where the rows
// have no such page (an industry's analysis page), none either: an address is raised only whole.
NavigationTarget TargetOf(int32_t p_lDataType, int32_t p_lNavigateType) {
    const NavigationPages pages = PagesOf(p_lDataType);
    switch (p_lNavigateType) {
        case 0:
            return {pages.Keys[0], pages.Detail};
        case 2:
            return {pages.Keys[0], pages.Analysis};
        case 3:
        case 4:
        case 5:
            return {pages.Keys[p_lNavigateType - 3], pages.Graph[p_lNavigateType - 3]};
        case 6:
            return {"symbol", "pagecontroller.aspx?pagetype=10&iwp=0&symbol="};
        case 7:
            return {"indcode", "pagecontroller.aspx?pagetype=11&iwp=0&indcode="};
        case 8:
            return {"Sectorcode", "pagecontroller.aspx?pagetype=12&iwp=0&sectorcode="};
        case 9:
        case 10:
        case 11:
            return {pages.Keys[p_lNavigateType - 9], pages.Advanced[p_lNavigateType - 9]};
        case 12:
            return {"symbol", "pagecontroller.aspx?pagetype=10&iwp=1&symbol="};
        case 13:
            return {"indcode", "pagecontroller.aspx?pagetype=11&iwp=1&indcode="};
        case 14:
            return {"Sectorcode", "pagecontroller.aspx?pagetype=12&iwp=1&sectorcode="};
        default:
            return {};
    }
}

bool GraphsSeveral(int32_t p_lNavigateType) {
    return (p_lNavigateType >= 6 && p_lNavigateType <= 8) ||
           (p_lNavigateType >= 12 && p_lNavigateType <= 14);
}

std::string JoinFirst(const std::vector<std::string>& p_values, size_t p_lCount) {
    std::string joined;
    for (size_t i = 0; i < std::min(p_lCount, p_values.size()); ++i) {
        joined += (i > 0 ? "," : "") + p_values[i];
    }
    return joined;
}

bool IsNumericCode(const std::string& p_sCode) {
    return !p_sCode.empty() && IsNumeric(Variant(p_sCode));
}

std::shared_ptr<ViewerElements> RequireElements(const std::shared_ptr<ViewerElements>& p_elements) {
    if (!p_elements) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the grid has no viewer state");
    }
    return p_elements;
}

}  // namespace

void Grid::RaiseNavigate(int32_t p_lNavigateType, int32_t p_lWatchListId) {
    Reported("Grid: RaiseNavigate", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = RequireElements(ViewerElements());
        if (GraphsSeveral(p_lNavigateType) && m_oGrid && m_oGrid->RowCount() >= 2 &&
            m_oGrid->SelBookmarks()->Count() < 2) {
            int16_t count = kDefaultGraphCount;
            bool cancel = false;
            if (!m_sinks.Raise(
                    [&](GridEvents& sink) { sink.MultipleGraphSelect(count, cancel); })) {
                return;
            }
            if (cancel) {
                return;
            }
            SelectFromCurrent(count);
        }
        if (m_lViewerDataType == 1 && elements->ViewerType() == vt_Stocks && p_lWatchListId > 0) {
            if (p_lNavigateType != 3) {
                return;
            }
            const std::string address =
                "pagecontroller.aspx?pagetype=17&wlid=" + std::to_string(p_lWatchListId) +
                "&timeID=" + std::to_string(elements->StartTimeId());
            m_sinks.Raise([&](GridEvents& sink) { sink.Navigate(address); });
            return;
        }
        const NavigationTarget target = TargetOf(m_lViewerDataType, p_lNavigateType);
        if (target.Field == nullptr || target.Prefix == nullptr) {
            return;
        }
        const std::string values = GetSelectedItems(target.Field);
        if (values.empty()) {
            return;
        }
        const std::string address = target.Prefix + values;
        m_sinks.Raise([&](GridEvents& sink) { sink.Navigate(address); });
    });
}

void Grid::SelectFromCurrent(int16_t p_iCount) {
    if (m_oGrid->Row() < 0) {
        return;
    }
    const std::shared_ptr<Recordset> rows = m_oGrid->DataSource()->Clone();
    rows->SetBookmark(m_oGrid->Bookmark());
    GridSelBookmarks& selection = *m_oGrid->SelBookmarks();
    for (int16_t added = 0; added < p_iCount && !rows->IsEOF(); ++added) {
        selection.Add(rows->Bookmark());
        rows->MoveNext();
    }
}

void Grid::RaiseDoubleClick() {
    Reported("Grid: RaiseDoubleClick", [&] {
        if (!m_oGrid || m_oGrid->RowCount() == 0) {
            return;
        }
        const std::shared_ptr<qv::ViewerElements> elements = RequireElements(ViewerElements());
        const GridCurrentRow row(m_oGrid.get());
        const std::string date = AddressDate(elements->StartDate());
        const bool history = m_sReportTitle.find("History") != std::string::npos;
        const auto industryList = [&] {
            return "pagecontroller.aspx?PageType=4&indcode=" + row.Required("indcode") +
                   "&startdate=" + date;
        };
        std::string address;
        switch (m_lViewerDataType) {
            case 0:
            case 5:
                if (m_lListScope != 0) {
                    address = "pagecontroller.aspx?pagetype=7&symbol=" + row.Required("symbol");
                } else if (history) {
                    address = "pagecontroller.aspx?pagetype=37&symbol=" + row.Required("Symbol") +
                              "&date=" + row.Required("Trading_Date");
                } else {
                    address = industryList();
                }
                break;
            case 1:
                if (elements->WatchListId() != 0) {
                    if (IsNumericCode(row.Text("indcode").value_or(""))) {
                        address = industryList();
                    }
                } else if (m_lListScope == 3) {
                    address = industryList();
                } else if (m_lListScope != 0) {
                    return;
                } else if (history) {
                    address = "pagecontroller.aspx?pagetype=49&indcode=" + row.Required("IndCode") +
                              "&date=" + row.Required("Trading_Date");
                } else {
                    address = industryList();
                }
                break;
            case 2:
                if (elements->WatchListId() != 0 || m_lListScope == 3) {
                    return;
                }
                if (history) {
                    address =
                        "pagecontroller.aspx?pagetype=52&sectorcode=" + row.Required("SectorCode") +
                        "&date=" + row.Required("Trading_Date");
                } else {
                    address =
                        "pagecontroller.aspx?pagetype=6&sectorcode=" + row.Required("sectorcode") +
                        "&date=" + date;
                }
                break;
            default:
                return;
        }
        if (address.empty()) {
            return;
        }
        m_sinks.Raise([&](GridEvents& sink) { sink.DblClick(address); });
    });
}

void Grid::LinkToNews(const std::string& p_sSymbol) {
    Reported("Grid:LinkTONews", [&] {
        const std::string address =
            ReplaceAll(SharedServices().GetValue("NewsURL"), "***SYMBOL***", p_sSymbol);
        m_sinks.Raise([&](GridEvents& sink) { sink.Navigate(address); });
    });
}

void Grid::LinkToDividendViewer() {
    Reported("QorvantOnlineViewer.LinkToDividendViewer", [&] {
        if (!m_oGrid || m_oGrid->RowCount() == 0) {
            return;
        }
        const std::vector<std::string> ids = SelectedValues("Stock_Id");
        const std::weak_ptr<bool> alive = m_oAlive;
        if (ids.size() > kMaxDividendStocks) {
            MsgBox(
                "You can only view upcoming dividend dates on a maximum of 25 stocks at a time. "
                "We will show the dividend information for the top 25 stocks.",
                vbOKOnly, vbInformation, "Upcoming Dividend Dates");
        }
        const std::string joined = JoinFirst(ids, kMaxDividendStocks);
        // A message box runs the event loop, which may have released the grid.
        if (alive.expired() || joined.empty()) {
            return;
        }
        const std::string address =
            ReplaceAll(SharedServices().GetValue("DividendUrl"), "***StockIds***", joined);
        m_sinks.Raise([&](GridEvents& sink) { sink.Navigate(address); });
    });
}

void Grid::HandleMarluneClick(double p_dDate, const std::string& p_sTradeId) {
    Reported("QorvantOnlineViewer:HandleMarluneClick", [&] {
        std::string folder;
        try {
            folder = SharedServices().MachineValue(kMarluneKey, "InstallDir");
        } catch (const AutomationError&) {
            // Whatever the registry reader says, the program counts as not installed.
        }
        const std::weak_ptr<bool> alive = m_oAlive;
        if (folder.empty()) {
            const MsgBoxResult answer = MsgBox(
                "Olmaris Marlune requires the installation of software in order to provide its "
                "rich functionality.\n\nClick OK and you will be redirected to the Olmaris "
                "Marlune installation page.\n\nOnce the installation has completed, click on the "
                "Marlune menu item in the the toolbar to use the Marlune.",
                vbOKCancel, vbNoIcon, "Olmaris Marlune");
            if (answer == vbOK && !alive.expired()) {
                m_sinks.Raise(
                    [](GridEvents& sink) { sink.Navigate("marluneinstall\\install.htm"); });
            }
            return;
        }
        const std::vector<std::string> symbols = SelectedValues("Symbol");
        if (symbols.size() > kMaxAnalyzedStocks) {
            MsgBox(
                "You can only analyze a maximum of 10 stocks at a time. The top stocks ten will "
                "be analyzed.",
                vbOKOnly, vbInformation, "Analyze Stock");
        }
        if (alive.expired()) {
            return;
        }
        ShowMarlune(folder, JoinFirst(symbols, kMaxAnalyzedStocks), AddressDate(p_dDate),
                    p_sTradeId);
    });
}

std::vector<std::string> Grid::MarluneArguments(int32_t p_lOwnerId, const std::string& p_sTimeCode,
                                                const std::string& p_sSymbols,
                                                const std::string& p_sDate,
                                                const std::string& p_sTradeId) {
    return {"/w",
            "/id=" + std::to_string(p_lOwnerId),
            "/TC=" + p_sTimeCode,
            "Symbol=" + p_sSymbols,
            "Date=" + p_sDate,
            "TradeId=" + p_sTradeId};
}

void Grid::ShowMarlune(const std::string& p_sFolder, const std::string& p_sSymbols,
                       const std::string& p_sDate, const std::string& p_sTradeId) {
    Reported("QorvantonlineViewer:ShowMarlune", [&] {
        const std::shared_ptr<qv::ViewerElements> elements = RequireElements(ViewerElements());
        PlatformContext::Current().Launcher().Start(
            std::filesystem::path(p_sFolder) / kMarluneProgram,
            MarluneArguments(elements->OwnerId(), elements->TimeCode(), p_sSymbols, p_sDate,
                             p_sTradeId));
    });
}

}  // namespace qv
