// The master's members by name, for a framework that binds late: the host and the event
// information come as object arguments, and by-reference arguments go back as the member left
// them.
#include "host/control_master.h"

#include "host/host_calls.h"
#include "outside/dispatch_table.h"
#include "outside/error_scope.h"

namespace qv {

namespace {

using Builder = DispatchTable::Builder<CControlMaster>;

// The object a member is given; a call without one fails like the member, under its label, and
// the member does not run.
std::shared_ptr<DispatchObject> ObjectArgument(const Variant& p_vValue, std::string_view p_sLabel) {
    try {
        return host_calls::ObjectOf(p_vValue);
    } catch (...) {
        ErrorScope scope(p_sLabel);
        scope.Capture();
        return nullptr;
    }
}

// A member that takes only the host.
template <class Member>
Builder::MethodFn WithHost(std::string_view p_sLabel, Member p_fnMember) {
    return [p_sLabel, p_fnMember](CControlMaster& self, DispatchArgs args) {
        if (const auto host = ObjectArgument(args[0], p_sLabel)) {
            (self.*p_fnMember)(*host);
        }
        return Variant();
    };
}

void AddInitialization(Builder& p_builder) {
    p_builder
        .Method("InitHelperObjects", 0, 0,
                [](CControlMaster& self, DispatchArgs) {
                    self.InitHelperObjects();
                    return Variant();
                })
        .Method(
            "InitMainControl", 2, 2,
            [](CControlMaster& self, DispatchArgs args) {
                if (const auto host = ObjectArgument(args[1], "CControlMaster:InitMainControl")) {
                    self.InitMainControl(args[0], *host);
                }
                return Variant();
            })
        .Method("Initialize", 2, 2,
                [](CControlMaster& self, DispatchArgs args) {
                    self.Initialize(args[0], args[1]);
                    return Variant();
                })
        // The framework passes further arguments that stay as they are.
        .Method("HelperControlInfo", 1, 8,
                [](CControlMaster& self, DispatchArgs args) {
                    std::string className = args[0].ToString();
                    self.HelperControlInfo(className);
                    args[0] = Variant(className);
                    return Variant();
                })
        .Method("SupportControlInfo", 1, 1,
                [](CControlMaster& self, DispatchArgs args) {
                    std::string descriptor;
                    self.SupportControlInfo(descriptor);
                    if (!descriptor.empty()) {
                        args[0] = Variant(descriptor);
                    }
                    return Variant();
                })
        .Method("KillMe", 0, 0,
                [](CControlMaster& self, DispatchArgs) {
                    self.KillMe();
                    return Variant();
                })
        .Method("InitSupportObjects", 0, 0,
                [](CControlMaster& self, DispatchArgs) {
                    self.InitSupportObjects();
                    return Variant();
                })
        .Method("FinalizeInit", 1, 1,
                WithHost("CControlMaster:FinalizeInit", &CControlMaster::FinalizeInit));
}

void AddNavigation(Builder& p_builder) {
    p_builder
        .Method("RaiseNavigateEvent", 2, 2,
                [](CControlMaster& self, DispatchArgs args) {
                    self.RaiseNavigateEvent(args[0].ToString(), args[1]);
                    return Variant();
                })
        .Method("NavigateEvent", 1, 1,
                [](CControlMaster& self, DispatchArgs args) {
                    self.NavigateEvent(args[0].ToString());
                    return Variant();
                })
        .Method("RaiseNavigateEventWin32", 1, 1,
                [](CControlMaster& self, DispatchArgs args) {
                    self.RaiseNavigateEventWin32(args[0]);
                    return Variant();
                })
        .Method("NavigateCaption", 0, 0,
                [](CControlMaster& self, DispatchArgs) { return Variant(self.NavigateCaption()); });
}

void AddCommands(Builder& p_builder) {
    p_builder
        .Method("HandleEvents", 2, 2,
                [](CControlMaster& self, DispatchArgs args) {
                    const auto event = ObjectArgument(args[0], "CControlMaster:HandleEvents");
                    const auto host =
                        event ? ObjectArgument(args[1], "CControlMaster:HandleEvents") : nullptr;
                    if (host) {
                        self.HandleEvents(*event, *host);
                    }
                    return Variant();
                })
        .Method("KeyReleased", 3, 3,
                [](CControlMaster& self, DispatchArgs args) {
                    const auto host = ObjectArgument(args[2], "CControlMaster:KeyReleased");
                    if (!host) {
                        return Variant();
                    }
                    int16_t keyCode = args[0].ToInt();
                    int16_t shift = args[1].ToInt();
                    self.KeyReleased(keyCode, shift, *host);
                    args[0] = Variant(keyCode);
                    args[1] = Variant(shift);
                    return Variant();
                })
        .Method("HandleToolBarClick", 2, 2,
                [](CControlMaster& self, DispatchArgs args) {
                    if (const auto host =
                            ObjectArgument(args[1], "CControlMaster:HandleToolBarClick")) {
                        self.HandleToolBarClick(args[0].ToString(), *host);
                    }
                    return Variant();
                })
        .Method("CloseSupport", 1, 1,
                WithHost("CControlMaster:CloseSupport", &CControlMaster::CloseSupport))
        .Method(
            "CustomFieldsChanged", 1, 1,
            WithHost("CControlMaster:CustomFieldsChanged", &CControlMaster::CustomFieldsChanged))
        // Neither needs the host: the one does nothing, the other always answers True.
        .Method("ControlShown", 1, 1, [](CControlMaster&, DispatchArgs) { return Variant(); })
        .Method("ExportData", 2, 2,
                [](CControlMaster& self, DispatchArgs args) {
                    if (const auto host = ObjectArgument(args[1], "CControlMaster:ExportData")) {
                        self.ExportData(args[0].ToInt(), *host);
                    }
                    return Variant();
                })
        .Method("CanExportData", 1, 1, [](CControlMaster&, DispatchArgs) { return Variant(true); });
}

}  // namespace

Variant CControlMaster::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                               std::span<Variant> p_args) {
    static const DispatchTable table = [] {
        Builder builder;
        AddInitialization(builder);
        AddNavigation(builder);
        AddCommands(builder);
        return builder.Build();
    }();
    return table.Invoke(*this, p_sName, p_eKind, p_args);
}

}  // namespace qv
