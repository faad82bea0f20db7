// What every viewer strategy does for the control, and the small base object that holds the
// viewer state.
//
// ViewerFunctionality is both things at once. As an interface its seven virtual members are the
// slots the control calls, in slot order; each implementation catches its own failures, so none
// of them throws. As a concrete object it owns the ViewerElements of one viewer; its Initialize,
// FilterSecondaryGrid, PopulateGridColumns, SynchronizeColumns and Search do nothing and its
// ReFillParams is the shared refresh of the field catalogue.
//
// A strategy derives from ViewerFunctionality: its base-class part is the base object, so the
// state it hands out is the one the base created, and it delegates to the base by calling
// ViewerFunctionality::ReFillParams(). Where a strategy hands "its base object" to a Grid, it
// hands itself as the Grid's GridStateSource; Grid reads only ViewerElements, which is the same
// object either way.
//
// The grids are the control's two Grid wrappers, primary first, passed by reference because the
// strategy works on them during the call and keeps no reference to them afterwards.
//
//     class SectorHistory : public ViewerFunctionality {
//     public:
//         void Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid) override;
//     };
//     auto strategy = std::make_shared<SectorHistory>();
//     strategy->ViewerElements()->SetOwnerId(7);
#pragma once

#include "state/grid_state_source.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qv {

class Grid;
class ViewerElements;

class ViewerFunctionality : public GridStateSource {
  public:
    // The base object with a new ViewerElements.
    ViewerFunctionality();
    virtual ~ViewerFunctionality();
    ViewerFunctionality(const ViewerFunctionality&) = delete;
    ViewerFunctionality& operator=(const ViewerFunctionality&) = delete;

    // The query of the viewer type: fills the state and both grids.
    virtual void Initialize(Grid& p_oPriGrid, Grid& p_oSecGrid);
    // Makes the secondary grid show what belongs to the primary grid's current row.
    virtual void FilterSecondaryGrid(Grid& p_oPriGrid, Grid& p_oSecGrid);
    // Called before Initialize when the primary columns are empty or a reformat is asked for.
    virtual void PopulateGridColumns(Grid& p_oPriGrid, Grid& p_oSecGrid);
    // Puts every grid column back into its split and order after a column move or a field
    // customization (p_bFromCustomize).
    virtual void SynchronizeColumns(Grid& p_oPriGrid, Grid& p_oSecGrid, bool p_bFromCustomize);
    // The viewer state; never null.
    std::shared_ptr<qv::ViewerElements> ViewerElements() const override;
    // The server search; p_bNoRecords is set when nothing was found and left as the caller set
    // it by a strategy without a search.
    virtual void Search(const std::string& p_sSearch, int16_t p_iSearchOpt1, int16_t p_iSearchOpt2,
                        bool& p_bNoRecords, Grid& p_oPriGrid, Grid& p_oSecGrid);
    // Refreshes ParameterList from the facade's "GetCustomFieldList" with OwnerId and the result
    // type (0, 1 or 2 for the histories by their kind, else ResultType). Failures are reported
    // as "Viewer:ReFillParams" and leave ParameterList as it was.
    virtual void ReFillParams();

  private:
    std::shared_ptr<qv::ViewerElements> m_oViewerElements;
};

}  // namespace qv
