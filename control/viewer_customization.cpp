// The viewer control's field customization: choosing the fields its grids show.
#include "control/viewer.h"

namespace qv {

void Viewer::Customize() {
    ReportNotAvailable("Viewer:Customize", "Choosing the fields");
}

}  // namespace qv
