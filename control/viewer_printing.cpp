// The viewer control's printing, its quick test and its graphs of several rows.
#include "control/viewer.h"

#include "control/forms/frm_graph_num.h"
#include "outside/error_scope.h"
#include "outside/platform_context.h"

#include <algorithm>

namespace qv {

void Viewer::PrintSelected(bool) {
    ReportNotAvailable("Viewer:PrintSelected", "Printing");
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
