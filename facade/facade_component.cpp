#include "facade/facade_component.h"

#include <exception>
#include <string>

#include "facade/facade_arguments.h"
#include "outside/automation_error.h"

namespace qv::facade {

Variant FacadeComponent::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                std::span<Variant> p_args) {
    try {
        return Table().Invoke(*this, p_sName, p_eKind, p_args);
    } catch (const AutomationError&) {
        throw;
    } catch (const std::exception& oError) {
        RaiseFacadeError(p_sName, oError.what());
    }
}

}  // namespace qv::facade
