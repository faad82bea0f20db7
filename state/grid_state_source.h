// What a Grid reads its viewer state through. The strategy that owns the state implements it and
// hands itself to Grid::Initialize; the Grid sits below the strategies and knows them only as
// this.
#pragma once

#include <memory>

namespace qv {

class ViewerElements;

class GridStateSource {
  public:
    virtual ~GridStateSource() = default;
    // The viewer state; never null.
    virtual std::shared_ptr<qv::ViewerElements> ViewerElements() const = 0;
};

}  // namespace qv
