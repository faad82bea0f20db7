// Small helpers any test program may use (header only): the error an action raises, a whole
// file as text, an environment variable set for a scope.
#pragma once

#include "outside/automation_error.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
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

// Sets an environment variable for a scope and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* p_sName, const char* p_sValue) : m_sName(p_sName) {
        if (const char* old = std::getenv(p_sName)) {
            m_old = old;
        }
        Put(p_sValue);
    }
    ~ScopedEnvironment() { Put(m_old ? m_old->c_str() : nullptr); }

  private:
    void Put(const char* p_sValue) const {
        p_sValue != nullptr ? ::setenv(m_sName.c_str(), p_sValue, 1) : ::unsetenv(m_sName.c_str());
    }

    std::string m_sName;
    std::optional<std::string> m_old;
};

}  // namespace qv
