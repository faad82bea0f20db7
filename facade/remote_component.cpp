#include "facade/remote_component.h"

#include <utility>

#include "facade/facade_components.h"
#include "facade/remote_connection.h"
#include "outside/component_factory.h"

namespace qv::facade {

RemoteComponent::RemoteComponent(std::string_view p_sProgId,
                                 std::shared_ptr<RemoteConnection> p_oConnection)
    : m_sProgId(p_sProgId), m_oConnection(std::move(p_oConnection)) {}

Variant RemoteComponent::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                std::span<Variant> p_args) {
    if (p_eKind != InvokeKind::Method && p_eKind != InvokeKind::PropertyGet) {
        RaiseMemberNotFound(*this, p_sName);
    }
    return m_oConnection->Call(m_sProgId, p_sName, p_args);
}

std::string_view RemoteComponent::DispatchClassName() const {
    const std::string_view progId = m_sProgId;
    return progId.substr(progId.rfind('.') + 1);
}

void RegisterRemoteComponents(ComponentFactory& p_oFactory,
                              std::shared_ptr<RemoteConnection> p_oConnection) {
    for (const std::string_view progId : kFacadeProgIds) {
        p_oFactory.Register(progId, [progId, p_oConnection] {
            return std::make_shared<RemoteComponent>(progId, p_oConnection);
        });
    }
}

}  // namespace qv::facade
