// The host framework's navigator: the object the control master hands page addresses to
// ("Navigate" with the address and True), and the reading of the addresses the window opens
// itself.
//
// A history address ("pagecontroller.aspx?pagetype=7&symbol=", 8 with "&indcode=", 9 with
// "&sectorcode=") names the history the window shows; every other page is the host's to show.
//
//     auto navigator = std::make_shared<HostNavigator>();
//     navigator->SetOnNavigate([&](const std::string& address) { Open(address); });
#pragma once

#include "outside/dispatch.h"
#include "shell/viewer_request.h"

#include <functional>
#include <optional>
#include <string>

namespace qv {

// The history an address names: its viewer type and subject; nothing for any other address or
// one without a subject. A list of several keys names the history of the first.
std::optional<ViewerRequest> HistoryOfAddress(const std::string& p_sAddress);

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
