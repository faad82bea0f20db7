// The viewer control's quick test: a back-test of the rows a person picks, opened as the
// quick-test page of the primary grid.
//
// Several rows selected are tested at once. Otherwise the print options form asks, in its
// quick-test mode, which rows: the selected one, all of them, or a number from the current row
// ("Test Top", the number remembered for next time). A choice that selected rows for the test
// leaves the row selected before selected alone again afterwards.
//
// A list without rows has nothing to test: the command then does nothing, where selecting the
// current row of no rows would only report a failure.
#include "control/viewer_quick_test.h"

#include "control/forms/frm_print.h"
#include "control/viewer.h"
#include "grid/grid.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"

namespace qv {

namespace {

constexpr const char* kReport = " - Quick Test Report";

bool HasQuickTest(ViewerType p_eType) {
    return p_eType != vt_StockHistory && p_eType != vt_IndustryHistory &&
           p_eType != vt_SectorHistory && p_eType != vt_Portfolio && p_eType != vt_BuyFromSearch;
}

}  // namespace

std::string QuickTestTitle(ViewerType p_eType, const std::string& p_sTypeCaption,
                           int32_t p_lWatchListId, const std::string& p_sWatchListName,
                           const std::string& p_sSearchName) {
    const bool watchList = p_lWatchListId >= 1;
    switch (p_eType) {
        case vt_Stocks:
            return watchList ? "Stock WatchList (" + p_sWatchListName + ")" + kReport
                             : p_sTypeCaption + kReport;
        case vt_Industries:
            return watchList ? "Industry WatchList (" + p_sWatchListName + ")" + kReport
                             : p_sTypeCaption + kReport;
        case vt_Sectors:
            return std::string("Sector Viewer") + kReport;
        case vt_FinderResults:
            return "(" + p_sSearchName + ")" + kReport;
        default:
            return std::string();
    }
}

void Viewer::ShowQuickTest() {
    ErrorScope scope("Viewer:ShowQuickTest");
    try {
        const std::shared_ptr<ViewerFunctionality> strategy = m_oStrategy;
        const std::shared_ptr<Grid> grid = m_oPriGrid;
        const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
        if (!strategy || !grid || !HasQuickTest(ViewerType()) || !rows ||
            rows->RecordCount() == 0) {
            return;
        }
        const std::shared_ptr<ViewerElements> elements = Elements();
        const std::string title =
            QuickTestTitle(ViewerType(), ViewerTypeCaption(), elements->WatchListId(),
                           elements->WatchListName(), elements->SearchName());
        const std::shared_ptr<GridSelBookmarks> selection = m_olePriGrid->SelBookmarks();
        if (selection->Count() == 0) {
            SelectTop(1);
        }
        grid->SetCurrentDate(elements->StartDate());
        std::string quickTest;
        if (selection->Count() > 1) {
            if (!grid->GetSelKeys().empty()) {
                grid->ShowQuikTest(quickTest, "");
            }
            return;
        }

        const std::weak_ptr<bool> alive = m_oAlive;
        // The choice is about the rows shown: a query the host runs meanwhile ends the command.
        const auto rowsStillShown = [&] {
            return !alive.expired() && m_olePriGrid->DataSource() == rows;
        };
        frmPrint form;
        form.SetUpQuickTest();
        PlatformContext::Current().Dialogs().ShowModal(form);
        if (!rowsStillShown() || form.Cancelled()) {
            return;
        }
        const Variant selected = selection->Count() > 0 ? selection->Item(0) : rows->Bookmark();
        DoEvents();
        if (!rowsStillShown()) {
            return;
        }
        PointerReset reset;
        SetMousePointer(vbHourglass);
        DoEvents();
        if (!rowsStillShown()) {
            return;
        }
        const int16_t choice = form.PrintSelection();
        if (choice == psAllRows) {
            rows->MoveFirst();
            SelectTop(rows->RecordCount());
        } else if (choice == psTopRows) {
            SelectTop(form.NumToPrint());
        }
        if (!grid->GetSelKeys().empty()) {
            grid->ShowQuikTest(quickTest, title);
        }
        if (choice == psSelectedRows || !rowsStillShown()) {
            return;
        }
        rows->SetBookmark(selected);
        selection->Clear();
        selection->Add(selected);
    } catch (...) {
        scope.Capture();
    }
}

void Viewer::PrimaryQuickTest() {
    ShowQuickTest();
}

}  // namespace qv
