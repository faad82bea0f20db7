// What the fuzz targets share: a broken property stops the run, so the fuzzer keeps the input;
// bad input must fail with an automation error and nothing else.
#pragma once

#include <cstdlib>
#include <functional>

#include "outside/automation_error.h"

inline void Check(bool p_bHolds) {
    if (!p_bHolds) {
        std::abort();
    }
}

// True when the action ran, false when it raised an automation error.
inline bool Accepts(const std::function<void()>& p_fAction) {
    try {
        p_fAction();
    } catch (const qv::AutomationError&) {
        return false;
    }
    return true;
}
