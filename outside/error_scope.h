// The failure handling of a procedure that catches its own failures.
//
// An ErrorScope at the top of the procedure calls the shared error reporter of the current
// platform context with its literal label when the procedure leaves, whichever way it leaves;
// the reporter acts only when a failure was captured. The procedure catches, captures and
// returns its failure value; the captured error stays readable for a message box after it:
//
//     bool Viewer::UpdateViewer() {
//         ErrorScope scope("Viewer:UpdateViewer");
//         try {
//             ...
//             return true;
//         } catch (...) {
//             scope.Capture();
//             return false;
//         }
//     }
//
// Where nothing else happens around the body, Reported says the same in one line:
//
//     return Reported("Viewer:SaveLayout", false, [&] { return DoSaveLayout(); });
//
// Capture turns any exception into an automation error: AutomationError as it is, out of memory
// as error 7, any other std::exception as error 5 with its text.
#pragma once

#include "outside/automation_error.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The exception being handled as an automation error; call only inside a catch block.
AutomationError CurrentFailure();

class ErrorScope {
  public:
    explicit ErrorScope(std::string_view p_sLabel);
    ~ErrorScope();
    ErrorScope(const ErrorScope&) = delete;
    ErrorScope& operator=(const ErrorScope&) = delete;

    // Makes the exception being handled the pending failure; call only inside a catch block.
    void Capture();
    // Forgets the pending failure, as a procedure that ignores a particular error does.
    void Clear() { m_error.reset(); }

    bool Failed() const { return m_error.has_value(); }
    const std::optional<AutomationError>& Error() const { return m_error; }
    // 0 and "" while nothing is pending.
    int32_t Number() const;
    std::string Description() const;

  private:
    std::string m_sLabel;
    std::optional<AutomationError> m_error;
};

// Runs p_fn under an ErrorScope labelled p_sLabel: its result, or p_fallback after a failure.
template <class T, class Fn>
T Reported(std::string_view p_sLabel, T p_fallback, Fn&& p_fn) {
    ErrorScope scope(p_sLabel);
    try {
        return p_fn();
    } catch (...) {
        scope.Capture();
        return p_fallback;
    }
}

// Runs p_fn under an ErrorScope labelled p_sLabel; a failure ends it.
template <class Fn>
void Reported(std::string_view p_sLabel, Fn&& p_fn) {
    ErrorScope scope(p_sLabel);
    try {
        p_fn();
    } catch (...) {
        scope.Capture();
    }
}

}  // namespace qv
