#include "facade/facade_component.h"

#include <exception>
#include <string>

#include "facade/facade_arguments.h"
#include "facade/facade_backend.h"
#include "facade/market_store.h"
#include "outside/automation_error.h"
#include "outside/text_util.h"

namespace qv::facade {

namespace {

bool NamesTheCall(const std::string& p_sDescription, std::string_view p_sName) {
    return p_sDescription.size() > p_sName.size() && p_sDescription[p_sName.size()] == ':' &&
           EqualsIgnoreCase(std::string_view(p_sDescription).substr(0, p_sName.size()), p_sName);
}

}  // namespace

Variant FacadeComponent::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                std::span<Variant> p_args) {
    try {
        // A stat per call: a database deleted or replaced under the open connection is named as
        // such, not left to show stale lists or to lose what is saved next.
        Backend().Store().CheckFileInPlace();
        return Table().Invoke(*this, p_sName, p_eKind, p_args);
    } catch (const AutomationError& error) {
        // A storage failure names the file but not the call; a host that sees "database is
        // locked" should also see which of its calls it broke.
        if (NamesTheCall(error.Description(), p_sName)) {
            throw;
        }
        throw AutomationError(error.Number(), error.Source(),
                              std::string(p_sName) + ": " + error.Description());
    } catch (const std::exception& error) {
        RaiseFacadeError(p_sName, error.what());
    }
}

int32_t FacadeComponent::Owner(const FacadeArguments& p_oArgs,
                               const facade_protocol::Argument& p_oOwner, OwnerAccess p_eAccess) {
    return Backend().AuthoriseOwner(p_oArgs.Method(), p_oArgs.Long(p_oOwner), p_eAccess);
}

int32_t FacadeComponent::OptionalOwner(const FacadeArguments& p_oArgs,
                                       const facade_protocol::Argument& p_oOwner,
                                       OwnerAccess p_eAccess) {
    if (!p_oArgs.IsGiven(p_oOwner)) {
        return Backend().AuthoriseOwner(p_oArgs.Method(), std::nullopt, p_eAccess);
    }
    return Owner(p_oArgs, p_oOwner, p_eAccess);
}

}  // namespace qv::facade
