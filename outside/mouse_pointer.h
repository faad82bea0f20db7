// The mouse pointer shown over the control, with the runtime's pointer numbers.
#pragma once

#include <cstdint>

namespace qv {

enum MousePointerShape : int32_t {
    vbDefault = 0,
    vbArrow = 1,
    vbHourglass = 11,
    vbCustom = 99,  // the control's own mouse icon
};

class MousePointer {
  public:
    virtual ~MousePointer() = default;
    virtual void SetPointer(MousePointerShape p_eShape) = 0;
    virtual MousePointerShape Pointer() const = 0;
};

}  // namespace qv
