// The viewer control's search and find: the Find dialog, the finds in the rows shown, the name
// lists from the server and the server search that replaces the list.
//
// What a person types reaches the data facade only as an argument of a call, and reaches the
// recordset's criteria only quoted: a quote in it is doubled and a LIKE wildcard matches itself.
#include "control/viewer.h"

#include "control/forms/frm_search.h"
#include "control/viewer_events.h"
#include "grid/grid.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/grid_control.h"
#include "outside/numeric_text.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "outside/recordset_criteria.h"
#include "outside/support_utility.h"
#include "outside/text_util.h"
#include "state/viewer_elements.h"
#include "strategies/strategy_support.h"
#include "strategies/viewer_functionality.h"

#include <array>
#include <set>

namespace qv {

namespace {

std::string Trimmed(std::string_view p_sText) {
    return std::string(TrimSpaces(p_sText));
}

// The key a find or a list filter compares, by the kind of rows shown.
struct ListKey {
    const char* Field;
    bool Code;  // a number: industry or sector code
    const char* NotFound;
};

ListKey KeyOf(qv::ViewerType p_eType, int32_t p_lFinderType) {
    constexpr ListKey kSymbol{"Symbol", false, "Symbol not found."};
    constexpr ListKey kIndustry{"IndCode", true, "Industry not found."};
    constexpr ListKey kSector{"SectorCode", true, "Sector not found."};
    switch (p_eType) {
        case vt_Industries:
            return kIndustry;
        case vt_Sectors:
            return kSector;
        case vt_FinderResults:
            return p_lFinderType == 1 ? kIndustry : p_lFinderType == 2 ? kSector : kSymbol;
        default:
            return kSymbol;
    }
}

// A code as criteria text; nothing for a text that is not a whole number, which no row holds.
std::optional<std::string> CodeText(std::string_view p_sText) {
    const std::optional<double> number = ParseNumericText(p_sText);
    const std::optional<int64_t> whole = number ? RoundToWholeNumber(*number) : std::nullopt;
    if (!whole || static_cast<double>(*whole) != *number) {
        return std::nullopt;
    }
    return std::to_string(*whole);
}

std::optional<std::string> KeyCriteria(const ListKey& p_key, std::string_view p_sValue) {
    if (!p_key.Code) {
        return std::string(p_key.Field) + " = " + CriteriaText(p_sValue);
    }
    const std::optional<std::string> code = CodeText(p_sValue);
    return code ? std::optional(std::string(p_key.Field) + " = " + *code) : std::nullopt;
}

// A code as the name searches take it, 16-bit (error 6 beyond that range).
Variant Integer16(int32_t p_lCode) {
    return Variant(Variant(p_lCode).ToInt());
}

bool HasRecords(const std::shared_ptr<Recordset>& p_rRows) {
    return p_rRows && p_rRows->RecordCount() > 0;
}

void Inform(const std::string& p_sText, const char* p_sTitle) {
    MsgBox(p_sText, vbOKOnly, vbInformation, p_sTitle);
}

}  // namespace

class Viewer::SearchFormSink : public frmSearchEvents {
  public:
    explicit SearchFormSink(Viewer& p_oViewer) : m_oViewer(p_oViewer) {}
    void FindNext(const std::string& p_sText) override { m_oViewer.m_frmsearch_FindNext(p_sText); }
    void GetLists(const std::string& p_sText) override { m_oViewer.m_frmsearch_GetLists(p_sText); }
    void SearchChanged() override { m_oViewer.m_frmsearch_SearchChanged(); }
    void ResetSearch() override { m_oViewer.m_frmsearch_ResetSearch(); }

  private:
    Viewer& m_oViewer;
};

// --- The dialog ----------------------------------------------------------------------------------

void Viewer::SearchStocks(const std::string& /*p_sSymbol*/) {
    Reported("Viewer:SearchStocks", [&] {
        const qv::ViewerType type = ViewerType();
        if (type == vt_StockHistory || type == vt_IndustryHistory || type == vt_SectorHistory ||
            type == vt_Portfolio || type == vt_BuyFromSearch || m_olePriGrid->RowCount() == 0) {
            return;
        }
        const std::shared_ptr<ViewerElements> elements = Elements();
        if (!m_oSearchSink) {
            m_oSearchSink = std::make_shared<SearchFormSink>(*this);
        }
        // Held here too: a handler inside the dialog may replace the control's reference.
        const auto form = std::make_shared<frmSearch>();
        m_frmsearch = form;
        form->SetEvents(m_oSearchSink.get());
        form->SetIsFinder(type == vt_FinderResults);
        if (elements->FinderResults()) {
            const int32_t finderType = elements->FinderResultsType();
            form->Init(static_cast<int16_t>(finderType == 5 ? 0 : finderType), true);
        } else {
            form->Init(static_cast<int16_t>(type), elements->ReturnAll());
        }
        const std::weak_ptr<bool> alive = m_oAlive;
        PlatformContext::Current().Dialogs().ShowModal(*form);
        if (alive.expired()) {
            return;
        }
        form->SetEvents(nullptr);
        m_frmsearch.reset();
        // A runner that returned with the dialog still open closed it as its close box does.
        if (form->Cancelled() || !form->Closed()) {
            return;
        }
        if (form->OneCompanySelected() && elements->ReturnAll()) {
            FindInList(form->SearchString());
        } else {
            SearchServer(form->SearchString());
        }
    });
}

void Viewer::FindInList(const std::string& p_sText) {
    const qv::ViewerType type = ViewerType();
    const int32_t finderType = type == vt_FinderResults ? FinderResultsType() : -1;
    if (type == vt_Stocks || finderType == 0 || finderType == 5) {
        FindSymbolInList(p_sText);
    } else if (type == vt_Industries || finderType == 1) {
        FindIndustryInList(p_sText);
    } else if (type == vt_Sectors || finderType == 2) {
        FindSectorInList(p_sText);
    }
}

void Viewer::SearchServer(const std::string& p_sText) {
    ChangeRunningStatus("Running . . .", true);
    try {
        SearchRows(p_sText);
    } catch (...) {
        ChangeRunningStatus("", false);
        throw;
    }
    ChangeRunningStatus("", false);
}

bool Viewer::SearchRows(const std::string& p_sText) {
    // Held here: the host may release them while the control yields.
    const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy;
    const std::shared_ptr<Grid> priGrid = m_oPriGrid;
    const std::shared_ptr<Grid> secGrid = m_oSecGrid;
    if (!strategy || !priGrid || !secGrid) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the control's list was released");
    }
    bool noRecords = false;
    if (ViewerType() != vt_FinderResults) {
        strategy->Search(p_sText, 0, 0, noRecords, *priGrid, *secGrid);
    } else if (const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource()) {
        rows->SetFilter(Variant(BuildListFilter(p_sText)));
    }
    const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
    if (!HasRecords(rows)) {
        return false;
    }
    rows->MoveFirst();
    SelectCurrentRowOnly(*rows);
    return !noRecords;
}

// --- The dialog's events -------------------------------------------------------------------------

void Viewer::m_frmsearch_SearchChanged() {
    m_rsFind.reset();
}

void Viewer::m_frmsearch_ResetSearch() {
    m_rsFind.reset();
}

void Viewer::m_frmsearch_FindNext(const std::string& p_sText) {
    Reported("Viewer:m_frmsearch_FindNext", [&] {
        const std::shared_ptr<frmSearch> form = m_frmsearch;
        if (!form || m_olePriGrid->RowCount() < 1) {
            return;
        }
        // Only this find may close the dialog, not one made earlier.
        m_bSymbolFound = false;
        const int16_t searchType = form->SearchType();
        if (p_sText.find(',') == std::string::npos) {
            switch (searchType) {
                case 0:
                    FindSymbolInList(p_sText);
                    if (m_bSymbolFound) {
                        break;
                    }
                    if (!ReturnAll()) {
                        const std::string question =
                            "The symbol " + p_sText + " was not found in the top " +
                            std::to_string(m_olePriGrid->RowCount()) +
                            " stocks. Would you like to search the entire list?";
                        if (MsgBox(question, vbYesNo, vbInformation, "Find") == vbYes) {
                            Searchdatabase(form->SearchString());
                        }
                    } else {
                        Inform("Symbol not found.", "Find");
                    }
                    break;
                case 1:
                    FindCompanyInList(p_sText);
                    break;
                case 2:
                    FindIndustryInList(p_sText);
                    break;
                case 3:
                    FindSectorInList(p_sText);
                    break;
                default:
                    break;
            }
        } else if (searchType == 0 && form->SearchLoc() == 1) {
            FilterToList(p_sText);
        } else if (searchType == 0) {
            Searchdatabase(form->SearchString());
        }
        if (m_bSymbolFound) {
            form->SetCancelled(true);
            form->Unload();
            SelectTop(1);
            m_bSearchSelected = true;
            m_bSearchFound = true;
        }
    });
}

void Viewer::m_frmsearch_GetLists(const std::string& p_sText) {
    Reported("Viewer:m_frmsearch_GetLists", [&] {
        const std::shared_ptr<frmSearch> form = m_frmsearch;
        if (!form) {
            return;
        }
        const std::shared_ptr<ViewerElements> elements = Elements();
        const std::string day = SupportUtility().DateText(elements->StartDate());
        const auto fromFacade = [&](std::string_view p_sMethod, std::span<Variant> p_args) {
            const Variant rows = CallMethod(*strategy_support::CreateFacade(), p_sMethod, p_args);
            form->FillList(RecordsetOf(rows));
        };
        switch (ViewerType()) {
            case vt_Stocks:
                if (elements->ReturnAll()) {
                    FillListFromGrid(*form);
                } else {
                    namespace call = facade_protocol::search_company_name;
                    std::array<Variant, call::kMinCount> args{
                        Variant(p_sText), Integer16(elements->IndCode()),
                        Integer16(elements->SectorCode()), Variant(elements->WatchListId()),
                        Variant(day)};
                    fromFacade(call::kMethod, args);
                }
                break;
            case vt_Industries:
                if (elements->ReturnAll() && elements->WatchListId() <= 0) {
                    FillListFromGrid(*form);
                } else {
                    namespace call = facade_protocol::search_industry_name;
                    std::array<Variant, call::kMinCount> args{Variant(p_sText), Variant(int16_t{0}),
                                                              Variant(elements->WatchListId()),
                                                              Variant(day)};
                    fromFacade(call::kMethod, args);
                }
                break;
            case vt_Sectors:
                if (elements->ReturnAll()) {
                    FillListFromGrid(*form);
                } else {
                    namespace call = facade_protocol::search_sector_name;
                    std::array<Variant, call::kCount> args{Variant(p_sText), Variant(day)};
                    fromFacade(call::kMethod, args);
                }
                break;
            case vt_FinderResults:
                FillListFromGrid(*form);
                break;
            default:
                break;
        }
        m_bSearchSelected = true;
    });
}

void Viewer::FillListFromGrid(frmSearch& p_oForm) {
    const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
    p_oForm.FillList(rows);
    if (rows) {
        rows->SetFilter(Variant(""));
        if (rows->RecordCount() > 0) {
            rows->MoveFirst();
        }
    }
}

// --- Finds in the rows shown ---------------------------------------------------------------------

bool Viewer::TakeFindRows() {
    const std::shared_ptr<Recordset> bound = m_olePriGrid->DataSource();
    // A search on the server binds other rows; a find goes on only through the rows it began in.
    if (m_rsFind && m_rsFind == bound) {
        return true;
    }
    m_rsFind = bound;
    if (HasRecords(m_rsFind)) {
        m_rsFind->MoveFirst();
    }
    return false;
}

void Viewer::SelectCurrentRowOnly(const Recordset& p_rRows) {
    ClearSelection(*m_olePriGrid);
    m_olePriGrid->SelBookmarks()->Add(p_rRows.Bookmark());
}

// The grid scrolls to its first selected row, so that the selection stays in sight.
void Viewer::ShowFirstSelectedRow() {
    const auto selection = m_olePriGrid->SelBookmarks();
    const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
    if (selection->Count() == 0 || !rows) {
        return;
    }
    const double first = selection->Item(0).ToDouble();
    for (int32_t position = 0; position < rows->ViewCount(); ++position) {
        if (GridControl::BookmarkOfRowId(rows->ViewRowId(position)).ToDouble() == first) {
            m_olePriGrid->SetTopRow(position);
            return;
        }
    }
}

void Viewer::FindSymbolInList(const std::string& p_sText) {
    TakeFindRows();
    const std::shared_ptr<Recordset> rows = m_rsFind;
    if (!rows) {
        m_bSymbolFound = false;
        return;
    }
    rows->Find("Symbol = " + CriteriaText(Trimmed(p_sText)));
    m_bSymbolFound = !rows->IsEOF();
    if (m_bSymbolFound) {
        SelectCurrentRowOnly(*rows);
        return;
    }
    if (rows->RecordCount() > 0) {
        rows->MoveFirst();
    }
    ShowFirstSelectedRow();
}

void Viewer::FindCompanyInList(const std::string& p_sText) {
    FindNameInList("CompanyName", "Company not found.", p_sText, true);
}

void Viewer::FindIndustryInList(const std::string& p_sText) {
    FindNameInList("IndName", "Industry not found.", p_sText, false);
}

void Viewer::FindSectorInList(const std::string& p_sText) {
    FindNameInList("SectorName", "Sector not found.", p_sText, false);
}

void Viewer::FindNameInList(const char* p_sField, const char* p_sNotFound,
                            const std::string& p_sText, bool p_bCompany) {
    const bool wasSet = TakeFindRows();
    const std::shared_ptr<Recordset> rows = m_rsFind;
    if (!rows) {
        return;
    }
    // A repeated find goes on from the row after the last one found.
    if (wasSet && !rows->IsEOF()) {
        rows->MoveNext();
    }
    const int32_t position = rows->AbsolutePosition();
    rows->Find(std::string(p_sField) + " Like " +
               CriteriaText(LikeLiteral(Trimmed(p_sText)) + "%"));
    if (!rows->IsEOF()) {
        SelectCurrentRowOnly(*rows);
        return;
    }
    Inform(p_sNotFound, "Search");
    if (rows->RecordCount() == 0) {
        return;
    }
    rows->MoveFirst();
    if (!p_bCompany) {
        ShowFirstSelectedRow();
    } else if (position - 5 > 0) {
        // Back near where the search began.
        rows->Move(position - 5);
    }
}

void Viewer::FilterToList(const std::string& p_sText) {
    const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
    if (!rows) {
        return;
    }
    rows->SetFilter(Variant(BuildListFilter(p_sText)));
    if (rows->RecordCount() == 0) {
        rows->SetFilter(Variant(""));
        Inform("No records found.", "Find");
    }
}

std::string Viewer::BuildListFilter(const std::string& p_sText) {
    const qv::ViewerType type = ViewerType();
    const ListKey key = KeyOf(type, type == vt_FinderResults ? FinderResultsType() : -1);
    std::string filter;
    for (const std::string& element : SplitText(p_sText, ',')) {
        const std::string value = Trimmed(element);
        if (value.empty()) {
            continue;
        }
        if (const std::optional<std::string> criteria = KeyCriteria(key, value)) {
            filter += *criteria + " or ";
        }
    }
    if (filter.empty()) {
        Inform("Please enter a valid search.", "Find");
        return std::string();
    }
    return filter.substr(0, filter.size() - 4);
}

bool Viewer::FindSingleStock(std::string& p_sSymbol) {
    const auto selection = m_olePriGrid->SelBookmarks();
    while (selection->Count() > 0) {
        selection->Remove(selection->Count() - 1);
    }
    const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
    if (!rows) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the primary grid has no rows");
    }
    const qv::ViewerType type = ViewerType();
    const ListKey key = KeyOf(type, type == vt_FinderResults ? FinderResultsType() : -1);
    const std::optional<std::string> criteria = KeyCriteria(key, p_sSymbol);
    if (criteria && rows->RecordCount() > 0) {
        rows->MoveFirst();
        rows->Find(*criteria);
        if (!rows->IsEOF()) {
            selection->Add(rows->Bookmark());
            return true;
        }
    }
    Inform(key.NotFound, "Search");
    if (rows->RecordCount() > 0) {
        rows->MoveFirst();
    }
    return false;
}

// --- The server search
// -----------------------------------------------------------------------------

void Viewer::Searchdatabase(const std::string& p_sText) {
    Reported("Viewer:Searchdatabase", [&] {
        const std::weak_ptr<bool> alive = m_oAlive;
        ChangeRunningStatus("Running . . .", true);
        DoEvents();
        if (alive.expired()) {
            return;
        }
        try {
            const bool found = SearchRows(p_sText);
            const int32_t scope = m_oPriGrid->ListScope();
            ChangeRunningStatus("Updating . . .", true);
            DoEvents();
            if (alive.expired() || !RaiseEvent([](ViewerEvents& sink) { sink.ChangeSort(); })) {
                return;
            }
            if (!found) {
                ReportNoRecords(p_sText, scope);
            } else if (ViewerType() == vt_Stocks) {
                ReportSymbolsNotFound(p_sText, m_olePriGrid->DataSource(), scope);
            }
        } catch (...) {
            if (!alive.expired()) {
                ChangeRunningStatus("", false);
            }
            throw;
        }
        ChangeRunningStatus("", false);
    });
}

void Viewer::ReportNoRecords(const std::string& p_sText, int32_t p_lScope) {
    const bool watchList = WatchListId() != 0;
    std::string text;
    switch (ViewerType()) {
        case vt_Stocks:
            if (watchList) {
                text = "No stock found for " + p_sText + " in the current watchlist.";
            } else if (p_lScope == 1) {
                text = "No stock(s) found for " + p_sText + " in the current industry group.";
            } else if (p_lScope == 2) {
                text = "No stock(s) found for " + p_sText + " in the current business sector.";
            } else {
                text = "No stock(s) found for " + p_sText + ".";
            }
            break;
        case vt_Industries:
            if (watchList) {
                text = "No industry found for " + p_sText + " in the current watchlist.";
            } else if (p_lScope == 3) {
                text = "No industry found for " + p_sText + " in the current business sector.";
            } else {
                text = "No industry found for " + p_sText + ".";
            }
            break;
        case vt_Sectors:
            text = "No sector found for " + p_sText + ".";
            break;
        default:
            return;
    }
    Inform(text, "No Records Found");
}

void Viewer::ReportSymbolsNotFound(const std::string& p_sSymbols,
                                   const std::shared_ptr<Recordset>& p_rFound, int32_t p_lScope) {
    if (!HasRecords(p_rFound)) {
        return;
    }
    // Read by row, so that the grid's current row stays where it is.
    const int32_t field = p_rFound->Fields().Item("Symbol").Index();
    std::set<std::string> found;
    for (int32_t position = 0; position < p_rFound->ViewCount(); ++position) {
        const Variant value = p_rFound->ValueAt(p_rFound->ViewRowId(position), field);
        if (!value.IsNull()) {
            found.insert(ToUpperAscii(value.ToString()));
        }
    }
    std::string missing;
    for (const std::string& element : SplitText(p_sSymbols, ',')) {
        const std::string symbol = Trimmed(element);
        if (!symbol.empty() && found.count(ToUpperAscii(symbol)) == 0) {
            missing += missing.empty() ? symbol : "," + symbol;
        }
    }
    if (missing.empty()) {
        return;
    }
    std::string where;
    if (WatchListId() != 0) {
        where = " could not be located in the current watchlist.";
    } else if (p_lScope == 1) {
        where = " could not be located in the current industry group.";
    } else if (p_lScope == 2) {
        where = " could not be located in the current business sector.";
    } else {
        where = " could not be located. Please use the company search to locate these stocks.";
    }
    Inform("The symbol(s) " + missing + where, "Symbols Not Found");
}

}  // namespace qv
