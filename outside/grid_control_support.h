// Checks shared by the grid control's objects, so that their errors read alike.
#pragma once

#include "outside/variant.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace qv {

// Error 9 naming p_sWhat unless 0 <= p_lIndex < p_lCount.
void RequireGridIndex(int32_t p_lIndex, int32_t p_lCount, std::string_view p_sWhat);

// Error 5 naming p_sWhat and the value refused.
[[noreturn]] void RaiseInvalidGridValue(std::string_view p_sWhat, int32_t p_lValue);

// An object Variant; takes any object of the grid (a shared_ptr of a derived class).
inline Variant ObjectVariant(std::shared_ptr<DispatchObject> p_oObject) {
    return Variant(std::move(p_oObject));
}

}  // namespace qv
