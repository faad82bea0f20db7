// The automation error an action raises, for tests that check its number and text.
#pragma once

#include "outside/automation_error.h"

#include <functional>
#include <string>

namespace qv {

struct Failure {
    int32_t Number = 0;  // 0: the action raised nothing
    std::string Description;
};

inline Failure FailureOf(const std::function<void()>& p_action) {
    try {
        p_action();
    } catch (const AutomationError& error) {
        return {error.Number(), error.Description()};
    }
    return {};
}

}  // namespace qv
