// Late binding: calling a member of an object by name or by dispatch id with Variant arguments.
//
// Every object that travels in a Variant derives from DispatchObject. Callers pass the arguments
// in declaration order; a member whose parameter is by reference writes the new value back into
// the caller's Variant. Names compare without regard to case. An unknown member is error 438
// naming it, a wrong number of arguments error 450.
//
// Implementations usually build a DispatchTable once and forward to it:
//
//     const DispatchTable& Table() {
//         static const DispatchTable table = DispatchTable::Builder<Recorder>()
//             .Method("Add", 1, 1, [](Recorder& self, Args a) { self.Add(a[0].ToLong()); return Variant(); })
//             .Property("Count", [](Recorder& self) { return Variant(self.Count()); })
//             .Build();
//         return table;
//     }
#pragma once

#include "outside/variant.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace qv {

enum class InvokeKind {
    Method,
    PropertyGet,
    PropertyLet,  // the new value is the last argument
    PropertySet,  // object assignment; the new value is the last argument
};

// Marks a missing optional argument for callers that build argument lists.
inline Variant MissingArgument() { return Variant::Missing(); }

class DispatchObject {
public:
    virtual ~DispatchObject() = default;

    // Calls the member p_sName. The default knows no member (error 438).
    virtual Variant Invoke(std::string_view p_sName, InvokeKind p_eKind, std::span<Variant> p_args);
    // Calls the member with dispatch id p_lDispId. The default knows no member (error 438).
    virtual Variant InvokeById(int32_t p_lDispId, InvokeKind p_eKind, std::span<Variant> p_args);

    // The class name used in error texts ("Recordset", "Viewer").
    virtual std::string_view DispatchClassName() const { return "Object"; }
};

// Convenience wrappers for callers.
Variant CallMethod(DispatchObject& p_oTarget, std::string_view p_sName, std::span<Variant> p_args);
Variant GetProperty(DispatchObject& p_oTarget, std::string_view p_sName);
void LetProperty(DispatchObject& p_oTarget, std::string_view p_sName, Variant p_vValue);

}  // namespace qv
