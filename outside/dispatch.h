// Late binding: calling a member of an object by name or by dispatch id with Variant arguments.
//
// Every object that travels in a Variant derives from DispatchObject. Callers pass the arguments
// in declaration order; a member whose parameter is by reference writes the new value back into
// the caller's Variant. Names compare without regard to case. An unknown member is error 438
// naming it, a wrong number of arguments error 450.
//
// Implementations usually build a DispatchTable (dispatch_table.h) once and forward to it, so
// that each Invoke is one line:
//
//     Variant Recorder::Invoke(std::string_view p_sName, InvokeKind p_eKind,
//                              std::span<Variant> p_args) {
//         return Table().Invoke(*this, p_sName, p_eKind, p_args);
//     }
//
// A caller that needs a by-reference result keeps the arguments in its own array:
//
//     std::array<Variant, 2> args{Variant(ownerId), Variant()};
//     CallMethod(*facade, "GetDefaultLayoutID", args);   // args[1] now holds the answer
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
inline Variant MissingArgument() {
    return Variant::Missing();
}

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

// The errors every implementation raises, so that their texts agree: 438 naming the member
// ("Recordset.Frobnicate", "Grid control member 75") and 450 naming it likewise.
[[noreturn]] void RaiseMemberNotFound(const DispatchObject& p_oTarget, std::string_view p_sName);
[[noreturn]] void RaiseMemberNotFound(const DispatchObject& p_oTarget, int32_t p_lDispId);
[[noreturn]] void RaiseWrongArgumentCount(const DispatchObject& p_oTarget,
                                          std::string_view p_sName);
[[noreturn]] void RaiseWrongArgumentCount(const DispatchObject& p_oTarget, int32_t p_lDispId);

// Convenience wrappers for callers.
Variant CallMethod(DispatchObject& p_oTarget, std::string_view p_sName,
                   std::span<Variant> p_args = {});
Variant GetProperty(DispatchObject& p_oTarget, std::string_view p_sName);
void LetProperty(DispatchObject& p_oTarget, std::string_view p_sName, Variant p_vValue);
void SetProperty(DispatchObject& p_oTarget, std::string_view p_sName, Variant p_vValue);

Variant CallMethodById(DispatchObject& p_oTarget, int32_t p_lDispId,
                       std::span<Variant> p_args = {});
Variant GetPropertyById(DispatchObject& p_oTarget, int32_t p_lDispId);
void LetPropertyById(DispatchObject& p_oTarget, int32_t p_lDispId, Variant p_vValue);

}  // namespace qv
