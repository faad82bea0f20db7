// Progress of long facade work (imports, generation, rebuilding the derived data), reported as a
// stage name with a count of units done out of a total. The total is 0 when it is not known yet.
// Callers that do not watch pass an empty function.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qv::facade {

using ProgressFn =
    std::function<void(const std::string& p_sStage, int64_t p_llDone, int64_t p_llTotal)>;

inline void ReportProgress(const ProgressFn& p_fProgress, const std::string& p_sStage,
                           int64_t p_llDone, int64_t p_llTotal) {
    if (p_fProgress) {
        p_fProgress(p_sStage, p_llDone, p_llTotal);
    }
}

}  // namespace qv::facade
