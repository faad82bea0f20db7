// FinderViewer: the strategy of the finder results, the rows of a stock screen that the host has
// run and handed in through FinderResults, of the kind FinderResultsType. It only makes sure a
// layout is in force (the owner's default one when none is), builds the columns for the kind of
// rows and shows the host's rows.
//
// Without a layout in force and without a default one on the server, Initialize reports error
// 911 "No layout specified" as "FinderViewer:Initialize" and leaves the grids as they were.
#pragma once

#include "strategies/viewer_functionality.h"

namespace qv {

struct LayoutDescription;

class FinderViewer : public ViewerFunctionality {
  public:
    void Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) override;
    void SynchronizeColumns(Grid& p_oPriGrid, Grid& p_oSecGrid, bool p_bFromCustomize) override;
    // "GetCustomFieldList" with OwnerId and FinderResultsType.
    void ReFillParams() override;

  private:
    void ApplyLayout(Grid& p_oPriGrid, const LayoutDescription& p_layout);
    void AssignSplits(Grid& p_oPriGrid);
};

}  // namespace qv
