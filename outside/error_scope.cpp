#include "outside/error_scope.h"

#include "outside/error_reporter.h"
#include "outside/platform_context.h"

#include <exception>
#include <new>

namespace qv {

namespace {

constexpr int32_t kOutOfMemory = 7;
constexpr const char* kSource = "qorvantOnlineViewer";

}  // namespace

AutomationError CurrentFailure() {
    const std::exception_ptr current = std::current_exception();
    if (!current) {
        return AutomationError(errors::kInvalidProcedureCall, kSource,
                               "No failure is being handled");
    }
    try {
        std::rethrow_exception(current);
    } catch (const AutomationError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return AutomationError(kOutOfMemory, kSource, "Out of memory");
    } catch (const std::exception& error) {
        return AutomationError(errors::kInvalidProcedureCall, kSource, error.what());
    } catch (...) {
        return AutomationError(errors::kInvalidProcedureCall, kSource, "Unknown failure");
    }
}

ErrorScope::ErrorScope(std::string_view p_sLabel) : m_sLabel(p_sLabel) {}

ErrorScope::~ErrorScope() {
    try {
        PlatformContext::Current().Reporter().Report(m_sLabel, m_error ? &*m_error : nullptr);
    } catch (...) {
        // The reporter never throws; only building the default context could, and a procedure's
        // exit must not fail because of it.
    }
}

void ErrorScope::Capture() {
    m_error = CurrentFailure();
}

int32_t ErrorScope::Number() const {
    return m_error ? m_error->Number() : 0;
}

std::string ErrorScope::Description() const {
    return m_error ? m_error->Description() : "";
}

}  // namespace qv
