// The host framework's navigator: the object the control master hands page addresses to
// ("Navigate" with the address and True), and through which the control's own "Navigate" reaches
// the window. What an address opens is the window's (PageRouter).
//
//     auto navigator = std::make_shared<HostNavigator>();
//     navigator->SetOnNavigate([&](const std::string& address) { Open(address); });
#pragma once

#include "outside/dispatch.h"

#include <functional>
#include <string>

namespace qv {

class HostNavigator : public DispatchObject {
  public:
    using NavigateFn = std::function<void(const std::string& p_sAddress)>;

    void SetOnNavigate(NavigateFn p_fnNavigate) { m_fnNavigate = std::move(p_fnNavigate); }
    // An empty address does nothing.
    void Navigate(const std::string& p_sAddress);

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    std::string_view DispatchClassName() const override { return "HostNavigator"; }

  private:
    NavigateFn m_fnNavigate;
};

}  // namespace qv
