#include "outside/grid_control_support.h"

#include "outside/automation_error.h"

#include <string>

namespace qv {

void RequireGridIndex(int32_t p_lIndex, int32_t p_lCount, std::string_view p_sWhat) {
    if (p_lIndex >= 0 && p_lIndex < p_lCount) {
        return;
    }
    RaiseRuntimeError(
        errors::kSubscriptOutOfRange,
        std::string(p_sWhat) + " " + std::to_string(p_lIndex) + " of " + std::to_string(p_lCount));
}

void RaiseInvalidGridValue(std::string_view p_sWhat, int32_t p_lValue) {
    RaiseRuntimeError(errors::kInvalidProcedureCall,
                      std::string(p_sWhat) + " " + std::to_string(p_lValue));
}

}  // namespace qv
