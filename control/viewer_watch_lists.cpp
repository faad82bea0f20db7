// The viewer control's watch lists: selecting rows to add and passing on deletions.
#include "control/viewer.h"

#include "control/viewer_events.h"
#include "outside/automation_error.h"
#include "outside/error_scope.h"
#include "outside/grid_control.h"
#include "outside/recordset.h"
#include "state/viewer_elements.h"
#include "strategies/viewer_functionality.h"

namespace qv {

void Viewer::SelectTop(int32_t p_lCount) {
    Reported("Viewer:SelectTop", [&] {
        const auto selection = m_olePriGrid->SelBookmarks();
        while (selection->Count() > 0) {
            selection->Remove(0);
        }
        const std::shared_ptr<Recordset> rows = m_olePriGrid->DataSource();
        if (!rows) {
            RaiseRuntimeError(errors::kObjectVariableNotSet, "the primary grid has no rows");
        }
        for (int32_t i = 0; i < p_lCount; ++i) {
            if (rows->IsEOF() && rows->RecordCount() > 0) {
                rows->MoveLast();
            }
            if (rows->IsBOF()) {
                rows->MoveFirst();
            }
            selection->Add(rows->Bookmark());
            if (i + 1 < p_lCount) {
                rows->MoveNext();
            }
        }
    });
}

void Viewer::PrimaryDelete(const std::string& p_sKeys) {
    if (m_oStrategy && m_oStrategy->ViewerElements()->WatchListId() != 0) {
        RaiseEvent([&](ViewerEvents& sink) { sink.Delete(p_sKeys); });
    }
}

void Viewer::PrimaryAddToWatchList() {
    ReportNotAvailable("Viewer: AddToWatchList", "Adding to a watch list");
}

}  // namespace qv
