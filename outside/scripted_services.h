// Test doubles of the platform services, and a scope that installs them all.
//
// Message boxes and dialogs answer from queues and record what was shown; a yield runs a hook and
// the events posted to it, so a test can make host or grid events arrive in the middle of work
// that yields; the clock stands still; the pointer and the running indicator record every
// change; settings live in memory; the library folder is a fresh temporary folder.
//
//     ScopedTestPlatform platform;
//     platform.Messages().QueueAnswer(vbNo);
//     platform.Loop().Post([&] { viewer.UpdateViewer(); });   // re-entry at the next yield
//     ...
//     EXPECT_EQ(platform.Messages().Shown().at(0).Title, "Delete Warning");
#pragma once

#include "outside/clock.h"
#include "outside/dialog_runner.h"
#include "outside/message_box.h"
#include "outside/message_loop.h"
#include "outside/mouse_pointer.h"
#include "outside/popup_menu.h"
#include "outside/process_launcher.h"
#include "outside/running_indicator.h"
#include "outside/settings_file.h"
#include "outside/settings_store.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

class ComponentFactory;
class ErrorReporter;
class HeadlessPrinter;
class PlatformContext;
class ScopedPlatform;

struct ShownMessage {
    std::string Text;
    MsgBoxButtons Buttons = vbOKOnly;
    MsgBoxIcon Icon = vbNoIcon;
    std::string Title;
    MsgBoxResult Answer = vbOK;
};

class ScriptedMessageBox : public MessageBox {
  public:
    void QueueAnswer(MsgBoxResult p_eAnswer) { m_answers.push_back(p_eAnswer); }
    // The next queued answer, or the default button's once the queue is empty.
    MsgBoxResult Show(std::string_view p_sText, MsgBoxButtons p_eButtons, MsgBoxIcon p_eIcon,
                      std::string_view p_sTitle) override;

    const std::vector<ShownMessage>& Shown() const { return m_shown; }
    size_t PendingAnswers() const { return m_answers.size(); }

  private:
    std::deque<MsgBoxResult> m_answers;
    std::vector<ShownMessage> m_shown;
};

class ScriptedDialogRunner : public DialogRunner {
  public:
    using Script = std::function<void(ModalDialog&)>;

    // The next dialog shown runs p_fnScript, which acts as the user: it sets fields and presses
    // buttons on the dialog. A dialog shown with no script left is dismissed.
    void QueueScript(Script p_fnScript) { m_scripts.push_back(std::move(p_fnScript)); }
    // A script for a dialog of class T; a dialog of another class is dismissed instead.
    template <class T>
    void QueueScriptFor(std::function<void(T&)> p_fnScript) {
        QueueScript([fn = std::move(p_fnScript)](ModalDialog& dialog) {
            if (auto* typed = dynamic_cast<T*>(&dialog)) {
                fn(*typed);
                return;
            }
            dialog.DismissDialog();
        });
    }

    void ShowModal(ModalDialog& p_oDialog) override;

    // The captions of the dialogs shown, in order.
    const std::vector<std::string>& Shown() const { return m_shown; }
    size_t PendingScripts() const { return m_scripts.size(); }

  private:
    std::deque<Script> m_scripts;
    std::vector<std::string> m_shown;
};

class ScriptedMessageLoop : public MessageLoop {
  public:
    // Runs at every yield. A yield made while the hook runs does not run it again, as a real loop
    // does not deliver the event it is delivering twice.
    void OnYield(std::function<void()> p_fnHook) { m_fnHook = std::move(p_fnHook); }
    // Runs once, at the next yield, after the hook; events posted meanwhile run in the same yield.
    void Post(std::function<void()> p_fnEvent) { m_posted.push_back(std::move(p_fnEvent)); }

    void DoEvents() override;
    int YieldCount() const { return m_iYields; }

  private:
    std::function<void()> m_fnHook;
    std::deque<std::function<void()>> m_posted;
    int m_iYields = 0;
    bool m_bInHook = false;
};

class FixedClock : public Clock {
  public:
    explicit FixedClock(double p_dNow) : m_dNow(p_dNow) {}
    double Now() const override { return m_dNow; }
    void Set(double p_dNow) { m_dNow = p_dNow; }
    void AdvanceSeconds(double p_dSeconds) { m_dNow += p_dSeconds / 86400.0; }

  private:
    double m_dNow;
};

class RecordingMousePointer : public MousePointer {
  public:
    void SetPointer(MousePointerShape p_eShape) override { m_history.push_back(p_eShape); }
    MousePointerShape Pointer() const override;
    // Every shape set, in order.
    const std::vector<MousePointerShape>& History() const { return m_history; }

  private:
    std::vector<MousePointerShape> m_history;
};

struct IndicatorStatus {
    std::string Caption;
    bool Visible = false;
    bool operator==(const IndicatorStatus&) const = default;
};

class RecordingRunningIndicator : public RunningIndicator {
  public:
    void SetStatus(std::string_view p_sCaption, bool p_bVisible) override;
    bool Visible() const override { return m_current.Visible; }
    std::string Caption() const override { return m_current.Caption; }
    const std::vector<IndicatorStatus>& History() const { return m_history; }

  private:
    IndicatorStatus m_current;
    std::vector<IndicatorStatus> m_history;
};

class MemorySettingsStore : public SettingsStore {
  public:
    std::string GetSetting(std::string_view p_sApplication, std::string_view p_sSection,
                           std::string_view p_sKey, std::string_view p_sDefault) override;
    void SaveSetting(std::string_view p_sApplication, std::string_view p_sSection,
                     std::string_view p_sKey, std::string_view p_sValue) override;
    const SettingsFile& Data() const { return m_data; }

  private:
    SettingsFile m_data;
};

// Installs a context of doubles for its lifetime: the services above, a headless Letter
// printer, the headless text measurer, an empty component registry, its own error reporter and
// a temporary library folder that is removed at the end. The clock stands at 2026-12-04 16:00.
class ScopedTestPlatform {
  public:
    ScopedTestPlatform();
    ~ScopedTestPlatform();
    ScopedTestPlatform(const ScopedTestPlatform&) = delete;
    ScopedTestPlatform& operator=(const ScopedTestPlatform&) = delete;

    PlatformContext& Context() { return *m_context; }
    ScriptedMessageBox& Messages() { return *m_messages; }
    ScriptedDialogRunner& Dialogs() { return *m_dialogs; }
    ScriptedMessageLoop& Loop() { return *m_loop; }
    FixedClock& Time() { return *m_clock; }
    RecordingMousePointer& Pointer() { return *m_pointer; }
    RecordingRunningIndicator& Indicator() { return *m_indicator; }
    MemorySettingsStore& Settings() { return *m_settings; }
    HeadlessPrinter& Printers() { return *m_printer; }
    ComponentFactory& Components();
    ErrorReporter& Reporter();
    const std::filesystem::path& LibraryPath() const { return m_libraryPath; }
    ScriptedPopupMenuPresenter& Menus() { return *m_menus; }
    ScriptedProcessLauncher& Launcher() { return *m_launcher; }

  private:
    std::filesystem::path m_libraryPath;
    std::unique_ptr<PlatformContext> m_context;
    std::unique_ptr<ScopedPlatform> m_installed;
    ScriptedMessageBox* m_messages = nullptr;
    ScriptedDialogRunner* m_dialogs = nullptr;
    ScriptedMessageLoop* m_loop = nullptr;
    FixedClock* m_clock = nullptr;
    RecordingMousePointer* m_pointer = nullptr;
    RecordingRunningIndicator* m_indicator = nullptr;
    MemorySettingsStore* m_settings = nullptr;
    HeadlessPrinter* m_printer = nullptr;
    ScriptedPopupMenuPresenter* m_menus = nullptr;
    ScriptedProcessLauncher* m_launcher = nullptr;
};

}  // namespace qv
