// The viewer control's printing, its quick test and its graphs of several rows.
#include "control/viewer.h"

namespace qv {

void Viewer::PrintSelected(bool) {
    ReportNotAvailable("Viewer:PrintSelected", "Printing");
}

void Viewer::ShowQuickTest() {
    ReportNotAvailable("Viewer:ShowQuickTest", "The quick test");
}

void Viewer::PrimaryQuickTest() {
    ReportNotAvailable("Viewer:m_oPriGrid_QuickTest", "The quick test");
}

void Viewer::PrimaryMultipleGraphSelect(int16_t&, bool& p_bCancel) {
    ReportNotAvailable("Viewer:m_oPriGrid_MultipleGraphSelect", "Graphing rows");
    p_bCancel = true;
}

}  // namespace qv
