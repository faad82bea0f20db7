#include "support/error_number.h"

#include "outside/automation_error.h"

namespace qv {

int32_t ErrorNumberOf(const std::function<void()>& p_action) {
    try {
        p_action();
    } catch (const AutomationError& error) {
        return error.Number();
    }
    return 0;
}

}  // namespace qv
