// The viewer control's layouts: opening, saving, deleting and restoring the layout of its grids.
#include "control/viewer.h"

namespace qv {

void Viewer::RestoreDefaultLayout(bool) {
    ReportNotAvailable("Viewer:RestoreDefaultLayout", "Restoring the default layout");
}

void Viewer::SaveLayout(bool) {
    ReportNotAvailable("Viewer:SaveLayout", "Saving a layout");
}

void Viewer::DeleteLayout() {
    ReportNotAvailable("Viewer:DeleteLayout", "Deleting a layout");
}

void Viewer::LoadLayoutFromMenu(const std::string&) {
    ReportNotAvailable("Viewer: LoadLayout", "Opening a layout");
}

}  // namespace qv
