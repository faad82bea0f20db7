#include "outside/dispatch.h"

#include "outside/automation_error.h"

#include <string>

namespace qv {

namespace {

std::string MemberText(const DispatchObject& p_oTarget, std::string_view p_sName) {
    return std::string(p_oTarget.DispatchClassName()) + "." + std::string(p_sName);
}

std::string MemberText(const DispatchObject& p_oTarget, int32_t p_lDispId) {
    return std::string(p_oTarget.DispatchClassName()) + " member " + std::to_string(p_lDispId);
}

}  // namespace

Variant DispatchObject::Invoke(std::string_view p_sName, InvokeKind, std::span<Variant>) {
    RaiseMemberNotFound(*this, p_sName);
}

Variant DispatchObject::InvokeById(int32_t p_lDispId, InvokeKind, std::span<Variant>) {
    RaiseMemberNotFound(*this, p_lDispId);
}

void RaiseMemberNotFound(const DispatchObject& p_oTarget, std::string_view p_sName) {
    RaiseRuntimeError(errors::kMemberNotSupported, MemberText(p_oTarget, p_sName));
}

void RaiseMemberNotFound(const DispatchObject& p_oTarget, int32_t p_lDispId) {
    RaiseRuntimeError(errors::kMemberNotSupported, MemberText(p_oTarget, p_lDispId));
}

void RaiseWrongArgumentCount(const DispatchObject& p_oTarget, std::string_view p_sName) {
    RaiseRuntimeError(errors::kWrongArgumentCount, MemberText(p_oTarget, p_sName));
}

void RaiseWrongArgumentCount(const DispatchObject& p_oTarget, int32_t p_lDispId) {
    RaiseRuntimeError(errors::kWrongArgumentCount, MemberText(p_oTarget, p_lDispId));
}

Variant CallMethod(DispatchObject& p_oTarget, std::string_view p_sName, std::span<Variant> p_args) {
    return p_oTarget.Invoke(p_sName, InvokeKind::Method, p_args);
}

Variant GetProperty(DispatchObject& p_oTarget, std::string_view p_sName) {
    return p_oTarget.Invoke(p_sName, InvokeKind::PropertyGet, {});
}

void LetProperty(DispatchObject& p_oTarget, std::string_view p_sName, Variant p_vValue) {
    p_oTarget.Invoke(p_sName, InvokeKind::PropertyLet, std::span<Variant>(&p_vValue, 1));
}

void SetProperty(DispatchObject& p_oTarget, std::string_view p_sName, Variant p_vValue) {
    p_oTarget.Invoke(p_sName, InvokeKind::PropertySet, std::span<Variant>(&p_vValue, 1));
}

Variant CallMethodById(DispatchObject& p_oTarget, int32_t p_lDispId, std::span<Variant> p_args) {
    return p_oTarget.InvokeById(p_lDispId, InvokeKind::Method, p_args);
}

Variant GetPropertyById(DispatchObject& p_oTarget, int32_t p_lDispId) {
    return p_oTarget.InvokeById(p_lDispId, InvokeKind::PropertyGet, {});
}

void LetPropertyById(DispatchObject& p_oTarget, int32_t p_lDispId, Variant p_vValue) {
    p_oTarget.InvokeById(p_lDispId, InvokeKind::PropertyLet, std::span<Variant>(&p_vValue, 1));
}

}  // namespace qv
