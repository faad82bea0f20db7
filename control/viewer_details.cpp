// The detail requests the viewer control passes to its host.
#include "control/viewer.h"

#include "control/viewer_events.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"

namespace qv {

namespace {

double CurrentTradingDate(const GridControl& p_oGrid) {
    const auto& rows = p_oGrid.DataSource();
    if (!rows) {
        RaiseRuntimeError(errors::kObjectVariableNotSet, "the primary grid has no rows");
    }
    return rows->Fields().Item("Trading_Date").Value().ToDate();
}

}  // namespace

void Viewer::ShowDetails() {
    Reported("QorvantNGViewer:ShowDetails", [&] {
        if (StartDate() == 0) {
            return;
        }
        int16_t type = 1;
        double date = StartDate();
        switch (ViewerType()) {
            case vt_StockHistory:
            case vt_IndustryHistory:
            case vt_SectorHistory:
                date = CurrentTradingDate(*m_olePriGrid);
                break;
            case vt_Portfolio:
                date = 0;
                break;
            default:
                break;
        }
        RaiseEvent([&](ViewerEvents& sink) { sink.ShowInfo(type, date); });
    });
}

void Viewer::ShowStockA() {
    Reported("Viewer:ShowStockA", [&] {
        if (StartDate() == 0) {
            return;
        }
        int16_t type = 1;
        double date = StartDate();
        switch (ViewerType()) {
            case vt_Stocks:
            case vt_FinderResults:
                break;
            case vt_StockHistory:
                date = CurrentTradingDate(*m_olePriGrid);
                break;
            case vt_Portfolio:
                date = 0;
                break;
            default:
                return;
        }
        RaiseEvent([&](ViewerEvents& sink) { sink.ShowStockA(type, date); });
    });
}

}  // namespace qv
