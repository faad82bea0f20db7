// The header source (grid_view.h) of a viewer control's grid: the sort of the viewer's rows for
// its primary grid, and the long names of the fields from the field catalogue for both grids.
// It reads the viewer's state afresh at every call, so it follows a new list, sort or strategy.
//
//     view.SetHeaderSource(ViewerHeaderSource(viewer, true));
#pragma once

#include "shell/grid_view.h"

#include <memory>

namespace qv {

class Viewer;

GridHeaderSource ViewerHeaderSource(std::weak_ptr<Viewer> p_oViewer, bool p_bPrimary);

}  // namespace qv
