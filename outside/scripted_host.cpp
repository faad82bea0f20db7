#include "outside/scripted_host.h"

namespace qv {

namespace {

std::string ValueText(const Variant& p_vValue) {
    switch (p_vValue.Type()) {
        case VarType::Empty:
            return "Empty";
        case VarType::Null:
            return "Null";
        case VarType::Error:
            return "Missing";
        case VarType::String:
            return "\"" + p_vValue.ToString() + "\"";
        case VarType::Date:
            return "#" + p_vValue.ToString() + "#";
        case VarType::Object:
            return p_vValue.IsNothing() ? "Nothing"
                                        : std::string(p_vValue.ToObject()->DispatchClassName());
        case VarType::Array:
            return "Array(" + std::to_string(p_vValue.Array().Size()) + ")";
        default:
            return p_vValue.ToString();
    }
}

std::string ArgumentsText(std::span<const Variant> p_args) {
    std::string text;
    for (const Variant& value : p_args) {
        text += (text.empty() ? "" : ", ") + ValueText(value);
    }
    return text;
}

}  // namespace

std::string RecordedCall::Text() const {
    const std::string member = Target + "." + Member;
    switch (Kind) {
        case InvokeKind::Method:
            return member + "(" + ArgumentsText(Arguments) + ")";
        case InvokeKind::PropertyGet:
            return Arguments.empty() ? member : member + "(" + ArgumentsText(Arguments) + ")";
        case InvokeKind::PropertyLet:
        case InvokeKind::PropertySet: {
            const std::span<const Variant> all(Arguments);
            const std::string indices =
                all.size() > 1 ? "(" + ArgumentsText(all.first(all.size() - 1)) + ")" : "";
            const std::string value = all.empty() ? "" : ValueText(all.back());
            const std::string prefix = Kind == InvokeKind::PropertySet ? "set " : "";
            return prefix + member + indices + " = " + value;
        }
    }
    return member;
}

std::vector<std::string> CallLog::Lines() const {
    std::vector<std::string> lines;
    for (const RecordedCall& call : m_calls) {
        lines.push_back(call.Text());
    }
    return lines;
}

std::vector<std::string> CallLog::LinesOf(std::string_view p_sTarget) const {
    std::vector<std::string> lines;
    for (const RecordedCall& call : m_calls) {
        if (call.Target == p_sTarget) {
            lines.push_back(call.Text());
        }
    }
    return lines;
}

RecordingObject::RecordingObject(std::string p_sRole, std::shared_ptr<CallLog> p_oLog)
    : m_sRole(std::move(p_sRole)), m_oLog(std::move(p_oLog)) {}

void RecordingObject::Answer(std::string_view p_sMember, Variant p_vValue) {
    m_values.insert_or_assign(std::string(p_sMember), std::move(p_vValue));
}

void RecordingObject::OnCall(std::string_view p_sMember, Script p_fnScript) {
    m_scripts.insert_or_assign(std::string(p_sMember), std::move(p_fnScript));
}

void RecordingObject::Fail(std::string_view p_sMember, AutomationError p_error) {
    m_failures.insert_or_assign(std::string(p_sMember), std::move(p_error));
}

Variant RecordingObject::Value(std::string_view p_sMember) const {
    const auto found = m_values.find(std::string(p_sMember));
    return found == m_values.end() ? Variant() : found->second;
}

Variant RecordingObject::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                                std::span<Variant> p_args) {
    if (m_oLog) {
        m_oLog->Add({m_sRole, std::string(p_sName), p_eKind, {p_args.begin(), p_args.end()}});
    }
    if (const auto failure = m_failures.find(std::string(p_sName)); failure != m_failures.end()) {
        throw failure->second;
    }
    if (p_eKind == InvokeKind::PropertyLet || p_eKind == InvokeKind::PropertySet) {
        if (!p_args.empty()) {
            Answer(p_sName, p_args.back());
        }
        return Variant();
    }
    if (const auto script = m_scripts.find(std::string(p_sName)); script != m_scripts.end()) {
        // A copy: the script may replace itself.
        const Script run = script->second;
        return run(p_args);
    }
    return Value(p_sName);
}

ScriptedHost::ScriptedHost()
    : RecordingObject("host", std::make_shared<CallLog>()),
      m_oRecordingMain(std::make_shared<RecordingObject>("main", Log())),
      m_oMain(m_oRecordingMain),
      m_oHelper(std::make_shared<RecordingObject>("helper", Log())),
      m_oNavigator(std::make_shared<RecordingObject>("navigator", Log())) {}

RecordingObject& ScriptedHost::AddSupportControl(const std::string& p_sName) {
    auto panel = std::make_shared<RecordingObject>(p_sName, Log());
    m_supportControls.insert_or_assign(p_sName, panel);
    return *panel;
}

RecordingObject& ScriptedHost::SupportControl(std::string_view p_sName) {
    return *Panel(p_sName);
}

const std::shared_ptr<RecordingObject>& ScriptedHost::Panel(std::string_view p_sName) const {
    const auto found = m_supportControls.find(std::string(p_sName));
    if (found == m_supportControls.end()) {
        RaiseRuntimeError(errors::kInvalidProcedureCall,
                          "the host has no support control " + std::string(p_sName));
    }
    return found->second;
}

std::optional<Variant> ScriptedHost::Reference(std::string_view p_sName,
                                               std::span<Variant> p_args) const {
    const IgnoreCaseEqual same;
    if (same(p_sName, "maincontrolref")) {
        return Variant(m_oMain);
    }
    if (same(p_sName, "HelperControlRef")) {
        return m_oHelper ? Variant(std::shared_ptr<DispatchObject>(m_oHelper)) : Variant::Nothing();
    }
    if (!same(p_sName, "SupportControlRef")) {
        return std::nullopt;
    }
    if (p_args.size() != 1) {
        RaiseWrongArgumentCount(*this, p_sName);
    }
    const std::shared_ptr<RecordingObject>& panel = Panel(p_args[0].ToString());
    auto reference = std::make_shared<RecordingObject>(panel->Role() + " reference", nullptr);
    reference->Answer("object", Variant(std::shared_ptr<DispatchObject>(panel)));
    return Variant(std::shared_ptr<DispatchObject>(reference));
}

Variant ScriptedHost::Invoke(std::string_view p_sName, InvokeKind p_eKind,
                             std::span<Variant> p_args) {
    if (p_eKind == InvokeKind::Method || p_eKind == InvokeKind::PropertyGet) {
        if (std::optional<Variant> reference = Reference(p_sName, p_args)) {
            return *std::move(reference);
        }
    }
    return RecordingObject::Invoke(p_sName, p_eKind, p_args);
}

}  // namespace qv
