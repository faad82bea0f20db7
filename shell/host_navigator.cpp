#include "shell/host_navigator.h"

#include "outside/dispatch_table.h"

namespace qv {

void HostNavigator::Navigate(const std::string& p_sAddress) {
    if (!p_sAddress.empty() && m_fnNavigate) {
        m_fnNavigate(p_sAddress);
    }
}

Variant HostNavigator::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                              std::span<Variant> p_args) {
    static const DispatchTable table = DispatchTable::Builder<HostNavigator>()
                                           .Method("Navigate", 1, 2,
                                                   [](HostNavigator& self, DispatchArgs args) {
                                                       self.Navigate(args[0].ToString());
                                                       return Variant();
                                                   })
                                           .Build();
    return table.Invoke(*this, p_sName, p_eKind, p_args);
}

}  // namespace qv
