// The viewer control's printing, its quick test and its graphs of several rows.
//
// Printing runs in print-layout mode: the owner's default print layout, when there is one, is
// shown for the print and may be customised from the print form; the layout in use before comes
// back afterwards, whether the person printed or cancelled. The page setup of "pagesetup.dat" is
// loaded before every print, not only when the form's "Page Setup" is pressed, so that a page
// setup saved in an earlier run is the one printed on.
#include "control/viewer.h"

#include "control/forms/frm_graph_num.h"
#include "control/forms/frm_print.h"
#include "control/viewer_events.h"
#include "grid/grid.h"
#include "outside/error_scope.h"
#include "outside/facade_protocol.h"
#include "outside/grid_control.h"
#include "outside/platform_context.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/strategy_support.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

// The grid control's print settings and their members, by dispatch id.
constexpr int32_t kDefaultPrintInfo = 181;
constexpr int32_t kPageHeader = 2;
constexpr int32_t kPrintSwitch = 10;
constexpr int32_t kPrintData = 19;
// A print the person stopped at the printer's own dialog.
constexpr int32_t kPrintCancelled = 6269;

constexpr const char* kNoPrinter =
    "No printer installed. Please install a printer to use this feature";
constexpr const char* kNoPrinterTitle = "Olmaris Lumetra 6.0";

class PrintFormSink : public frmPrintEvents {
  public:
    explicit PrintFormSink(Viewer& p_oViewer) : m_oViewer(p_oViewer) {}
    void SelectColumns() override { m_oViewer.frm_SelectColumns(); }
    void ShowPageSetup() override { m_oViewer.frm_ShowPageSetup(); }

  private:
    Viewer& m_oViewer;
};

// Turns print-layout mode off however the print ends.
class PrintLayoutModeScope {
  public:
    explicit PrintLayoutModeScope(Viewer& p_oViewer) : m_oViewer(p_oViewer) {
        m_oViewer.SetPrintLayoutMode(true);
    }
    ~PrintLayoutModeScope() { m_oViewer.SetPrintLayoutMode(false); }
    PrintLayoutModeScope(const PrintLayoutModeScope&) = delete;
    PrintLayoutModeScope& operator=(const PrintLayoutModeScope&) = delete;

  private:
    Viewer& m_oViewer;
};

}  // namespace

bool Viewer::PrintControl() {
    ErrorScope scope("Viewer: PrintControl");
    try {
        if (!m_oStrategy) {
            return false;
        }
        const std::shared_ptr<Grid> priGrid = m_oPriGrid;
        priGrid->PrintFromPage(m_olePriGrid);
        return true;
    } catch (...) {
        scope.Capture();
        if (scope.Number() == kPrintCancelled) {
            scope.Clear();
        }
        return false;
    }
}

std::string Viewer::PrintReportTitle() const {
    const std::shared_ptr<ViewerElements> elements = Elements();
    const std::string date = Variant::Date(elements->StartDate()).ToString();
    const bool watchList = elements->WatchListId() >= 1;
    switch (elements->ViewerType()) {
        case vt_Stocks:
            return watchList ? "Olmaris Lumetra (WatchList Report) - " + elements->WatchListName() +
                                   " - " + date
                             : "Olmaris Lumetra (Stock Report) - " + date;
        case vt_Industries:
            return watchList ? "Olmaris Lumetra (Industry WatchList Report) - " +
                                   elements->WatchListName() + " - " + date
                             : "Olmaris Lumetra (Industry Report) - " + date;
        case vt_Sectors:
            return "Olmaris Lumetra (Sector Report) - " + date;
        case vt_StockHistory:
            return "Olmaris Lumetra (Stock History Report) For - " + elements->Symbol();
        case vt_IndustryHistory:
            return "Olmaris Lumetra (Industry History Report) For - " + ViewerOtherCaption();
        case vt_SectorHistory:
            return "Olmaris Lumetra (Sector History Report) For - " + ViewerOtherCaption();
        case vt_FinderResults:
            return "Olmaris Lumetra (Search Report) - " + elements->SearchName();
        case vt_Portfolio:
            return "Olmaris Lumetra (Portfolio Report) - " + elements->PortfolioName();
        default:
            return "";
    }
}

int32_t Viewer::DefaultPrintLayoutId() {
    const std::shared_ptr<ViewerElements> elements = Elements();
    int32_t resultType = -1;
    if (elements->ViewerType() == vt_FinderResults) {
        resultType = elements->FinderResultsType();
    } else if (elements->ViewerType() == vt_Industries && elements->FinderResultsType() == 1) {
        resultType = 1;
    }
    namespace call = facade_protocol::get_default_layout_id;
    std::array<Variant, call::kCount> args{Variant(OwnerId()),
                                           Variant(static_cast<int32_t>(elements->PrintType())),
                                           Variant(resultType)};
    return CallMethod(*strategy_support::CreateFacade(), call::kMethod, args).ToLong();
}

void Viewer::RestorePrePrintLayout(const Variant& p_vLayout,
                                   const std::shared_ptr<Recordset>& p_rFinder) {
    const std::shared_ptr<ViewerElements> elements = Elements();
    SetLayoutInfo(p_vLayout);
    m_oPriGrid->SetGridColumns(elements->GridColumns(gtPrimary));
    elements->SetFinderResults(p_rFinder);
    if (!RaiseEvent([](ViewerEvents& sink) { sink.LayoutCustomized(); })) {
        return;
    }
    UpdateViewer(false, false);
}

void Viewer::PrintChosenRows(int16_t p_iSelection, int32_t p_lCount, const std::string& p_sTitle) {
    int32_t rows = 0;
    switch (p_iSelection) {
        case psAllRows:
            rows = gprAllRows;
            break;
        case psSelectedRows:
            rows = gprSelectedRows;
            break;
        case psTopRows:
            SelectTop(p_lCount);
            rows = gprSelectedRows;
            break;
        default:
            return;
    }
    const std::shared_ptr<GridControl> grid = m_olePriGrid;
    m_oPriGrid->LoadPageSetup(*grid);
    const std::shared_ptr<DispatchObject> settings =
        GetPropertyById(*grid, kDefaultPrintInfo).ToObject();
    LetPropertyById(*settings, kPageHeader, Variant(p_sTitle));
    LetPropertyById(*settings, kPrintSwitch, Variant(true));
    std::array<Variant, 1> args{Variant(static_cast<int16_t>(rows))};
    try {
        CallMethodById(*settings, kPrintData, args);
    } catch (...) {
        LetPropertyById(*settings, kPageHeader, Variant(""));
        throw;
    }
    LetPropertyById(*settings, kPageHeader, Variant(""));
}

void Viewer::PrintSelected(bool) {
    ErrorScope scope("Viewer:PrintSelected");
    try {
        if (!m_oStrategy) {
            return;
        }
        const std::weak_ptr<bool> alive = m_oAlive;
        const std::shared_ptr<ViewerElements> elements = Elements();
        const Variant savedLayout = LayoutInfo();
        const std::shared_ptr<Recordset> savedFinder = elements->FinderResults();
        const bool searchChoseRows = m_bSearchSelected;
        PrintLayoutModeScope mode(*this);
        bool printLayoutLoaded = false;
        if (!searchChoseRows) {
            const int32_t layoutId = DefaultPrintLayoutId();
            if (layoutId > 0) {
                LoadLayout(layoutId, true);
                printLayoutLoaded = true;
                if (!RaiseEvent([](ViewerEvents& sink) { sink.LayoutCustomized(); })) {
                    return;
                }
            }
        }

        frmPrint form;
        PrintFormSink sink(*this);
        form.SetEvents(&sink);
        if (searchChoseRows) {
            form.HideColumnSelect();
        } else {
            form.SetUpSelectColums();
        }
        PlatformContext::Current().Dialogs().ShowModal(form);
        if (alive.expired()) {
            return;
        }
        if (!form.Cancelled()) {
            if (!PlatformContext::Current().Printers().Installed()) {
                MsgBox(kNoPrinter, vbOKOnly, vbInformation, kNoPrinterTitle);
            } else {
                PrintChosenRows(form.PrintSelection(), form.NumToPrint(), PrintReportTitle());
            }
        }
        if (printLayoutLoaded) {
            RestorePrePrintLayout(savedLayout, savedFinder);
        }
    } catch (...) {
        scope.Capture();
        if (scope.Number() == kPrintCancelled) {
            scope.Clear();
        }
    }
}

void Viewer::frm_SelectColumns() {
    bool save = true;
    Customize(nullptr, save);
}

void Viewer::frm_ShowPageSetup() {
    Reported("frm_ShowPageSetup", [&] {
        const std::shared_ptr<GridControl> grid = m_olePriGrid;
        const std::shared_ptr<Grid> priGrid = m_oPriGrid;
        priGrid->LoadPageSetup(*grid);
        grid->PrintInfo()->PageSetup();
        if (!grid->PrintInfo()->PageSetupCancelled()) {
            priGrid->SavePageSetup(*grid);
        }
    });
}

void Viewer::PrimaryMultipleGraphSelect(int16_t& p_iCount, bool& p_bCancel) {
    ErrorScope scope("Viewer: MultipleGraphSelect");
    try {
        frmGraphNum form;
        form.Init(p_iCount);
        PlatformContext::Current().Dialogs().ShowModal(form);
        p_bCancel = form.Cancelled();
        if (!p_bCancel) {
            p_iCount = static_cast<int16_t>(
                std::clamp<int32_t>(form.Number(), frmGraphNum::kMinimum, frmGraphNum::kMaximum));
        }
    } catch (...) {
        scope.Capture();
        p_bCancel = true;
    }
}

}  // namespace qv
