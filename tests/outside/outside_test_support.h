// Helpers shared by the tests of the outside floor.
#pragma once

#include "outside/automation_error.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace qv {

// The automation error an action raises, for tests that check its number and text.
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

inline std::string ReadFile(const std::filesystem::path& p_path) {
    std::ifstream stream(p_path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

}  // namespace qv
