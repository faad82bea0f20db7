// A facade component served by a facade server: the object CreateObject hands out for a facade
// ProgID when the viewer works against a server. Every method call goes to the server through
// the connection the proxies share, under its session; the by-reference results come back into
// the caller's arguments, so a caller cannot tell it from the embedded component.
//
// Facade components have methods only: a property get reaches the method of that name, as it
// does on the embedded components, and a property assignment is error 438.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "outside/dispatch.h"

namespace qv::facade {

class RemoteConnection;

class RemoteComponent : public DispatchObject {
  public:
    RemoteComponent(std::string_view p_sProgId, std::shared_ptr<RemoteConnection> p_oConnection);

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    // The ProgID's class part ("ViewerFNtr"), as the embedded components name themselves.
    std::string_view DispatchClassName() const override;

  private:
    std::string m_sProgId;
    std::shared_ptr<RemoteConnection> m_oConnection;
};

}  // namespace qv::facade
