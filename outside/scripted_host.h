// Scripted doubles of a host framework and of the controls it holds, for driving the control
// master (or anything else that calls controls by name) without a window.
//
// RecordingObject plays every role: the main control, the helper strip, a side panel, the
// navigator, a facade component. It writes every call it receives into a CallLog shared by the
// roles, so one log shows the order of calls across all of them. A let stores its value, which a
// later get answers; Answer scripts a value or a method's result beforehand, OnCall a function
// that may also write by-reference arguments back, and Fail makes a member raise an error.
//
// ScriptedHost is the framework: a RecordingObject in the role "host" that holds a recording main
// control ("main"), a helper strip ("helper"), named support controls (each in the role of its
// name) and a navigator ("navigator"). It answers "maincontrolref", "HelperControlRef" and
// "SupportControlRef"(name), whose "object" is the panel, without recording them: they are how a
// caller finds the controls, not what it does. A name the host does not hold fails as a host
// that lacks the control does.
//
//     ScriptedHost host;
//     host.Main().Answer("RecordCount", Variant(int32_t{12}));
//     host.AddSupportControl("ctlWatchListSupport").Answer("CurrentWatchListID", Variant(4));
//     master.FinalizeInit(host);
//     EXPECT_EQ(host.Log()->Lines()[0], "main.MaxRows = 250");
//
// A line of the log reads "main.UpdateViewer()", "main.RecordCount" (a get),
// "main.MaxRows = 250" (a let), "set main.ParameterList = host" (a set); texts are quoted, dates
// written #12/4/2026#, objects by their role.
#pragma once

#include "outside/automation_error.h"
#include "outside/dispatch.h"
#include "outside/text_util.h"
#include "outside/variant.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv {

struct RecordedCall {
    std::string Target;  // the role of the object called
    std::string Member;  // as the caller spelt it
    InvokeKind Kind = InvokeKind::Method;
    std::vector<Variant> Arguments;  // as given, before the callee wrote any back

    // The call as one line of the log (header comment).
    std::string Text() const;
};

class CallLog {
  public:
    void Add(RecordedCall p_call) { m_calls.push_back(std::move(p_call)); }
    const std::vector<RecordedCall>& Calls() const { return m_calls; }
    // Every call as a line, in call order; LinesOf only those made on one role.
    std::vector<std::string> Lines() const;
    std::vector<std::string> LinesOf(std::string_view p_sTarget) const;
    void Clear() { m_calls.clear(); }

  private:
    std::vector<RecordedCall> m_calls;
};

class RecordingObject : public DispatchObject {
  public:
    // Runs on a method call or get of its member; what it returns is the answer.
    using Script = std::function<Variant(std::span<Variant> p_args)>;

    // Without a log the object answers but records nothing.
    RecordingObject(std::string p_sRole, std::shared_ptr<CallLog> p_oLog);

    const std::string& Role() const { return m_sRole; }
    const std::shared_ptr<CallLog>& Log() const { return m_oLog; }

    // The value a get of p_sMember answers and a method call of it returns, until a let changes
    // it. Members never answered nor let answer Empty.
    void Answer(std::string_view p_sMember, Variant p_vValue);
    void OnCall(std::string_view p_sMember, Script p_fnScript);
    // Every later call of p_sMember, of any kind, raises p_error (after it is recorded).
    void Fail(std::string_view p_sMember, AutomationError p_error);
    // What a get would answer now.
    Variant Value(std::string_view p_sMember) const;

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;
    std::string_view DispatchClassName() const override { return m_sRole; }

  private:
    template <class T>
    using ByName = std::unordered_map<std::string, T, IgnoreCaseHash, IgnoreCaseEqual>;

    std::string m_sRole;
    std::shared_ptr<CallLog> m_oLog;
    ByName<Variant> m_values;
    ByName<Script> m_scripts;
    ByName<AutomationError> m_failures;
};

class ScriptedHost : public RecordingObject {
  public:
    ScriptedHost();

    // The recording main control; "maincontrolref" answers it unless SetMainControl gave another.
    RecordingObject& Main() { return *m_oRecordingMain; }
    const std::shared_ptr<RecordingObject>& MainObject() const { return m_oRecordingMain; }
    void SetMainControl(std::shared_ptr<DispatchObject> p_oMain) { m_oMain = std::move(p_oMain); }
    RecordingObject& Helper() { return *m_oHelper; }
    // "HelperControlRef" answers Nothing from now on, as a host without a helper strip does.
    void RemoveHelper() { m_oHelper.reset(); }
    // A panel the host holds under p_sName (compared without regard to case).
    RecordingObject& AddSupportControl(const std::string& p_sName);
    RecordingObject& SupportControl(std::string_view p_sName);
    // The framework's navigation interface, for the master's Initialize.
    const std::shared_ptr<RecordingObject>& Navigator() const { return m_oNavigator; }

    Variant Invoke(std::string_view p_sName, InvokeKind p_eKind,
                   std::span<Variant> p_args) override;

  private:
    std::optional<Variant> Reference(std::string_view p_sName, std::span<Variant> p_args) const;
    const std::shared_ptr<RecordingObject>& Panel(std::string_view p_sName) const;

    std::shared_ptr<RecordingObject> m_oRecordingMain;
    std::shared_ptr<DispatchObject> m_oMain;
    std::shared_ptr<RecordingObject> m_oHelper;
    std::shared_ptr<RecordingObject> m_oNavigator;
    std::unordered_map<std::string, std::shared_ptr<RecordingObject>, IgnoreCaseHash,
                       IgnoreCaseEqual>
        m_supportControls;
};

}  // namespace qv
