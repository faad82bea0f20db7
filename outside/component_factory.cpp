#include "outside/component_factory.h"

#include "outside/automation_error.h"
#include "outside/dispatch.h"
#include "outside/platform_context.h"

#include <utility>

namespace qv {

void ComponentFactory::Register(std::string_view p_sProgId, Creator p_fnCreator) {
    const auto found = m_creators.find(p_sProgId);
    if (found != m_creators.end()) {
        found->second = std::move(p_fnCreator);
        return;
    }
    m_creators.emplace(std::string(p_sProgId), std::move(p_fnCreator));
}

bool ComponentFactory::Unregister(std::string_view p_sProgId) {
    const auto found = m_creators.find(p_sProgId);
    if (found == m_creators.end()) {
        return false;
    }
    m_creators.erase(found);
    return true;
}

bool ComponentFactory::IsRegistered(std::string_view p_sProgId) const {
    return m_creators.find(p_sProgId) != m_creators.end();
}

std::shared_ptr<DispatchObject> ComponentFactory::CreateObject(std::string_view p_sProgId) const {
    const auto found = m_creators.find(p_sProgId);
    if (found == m_creators.end() || !found->second) {
        RaiseRuntimeError(errors::kCannotCreateObject, std::string(p_sProgId));
    }
    // A copy, because a creator may change the registry while it runs.
    const Creator creator = found->second;
    std::shared_ptr<DispatchObject> object = creator();
    if (!object) {
        RaiseRuntimeError(errors::kCannotCreateObject, std::string(p_sProgId));
    }
    return object;
}

std::shared_ptr<DispatchObject> CreateObject(std::string_view p_sProgId) {
    return PlatformContext::Current().Components().CreateObject(p_sProgId);
}

}  // namespace qv
