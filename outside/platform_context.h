// The platform context: every service the system takes from its surroundings, in one place.
//
// A process installs its context once (the desktop shell with its windowed services); a process
// that installs none gets a headless context on first use. A test installs its own context for
// a scope (ScopedTestPlatform in scripted_services.h) and the previous one returns when the
// scope ends. Scopes nest and must end in the reverse order of their start. Everything runs on
// one thread, so there is no locking.
//
//     PlatformContext context;                 // headless services
//     context.SetMessages(std::make_unique<QtMessageBox>());
//     ScopedPlatform installed(context);
//     ...
//     if (MsgBox("Are you sure?", vbYesNo, vbExclamation, "Delete Warning") != vbYes) { ... }
#pragma once

#include "outside/clock.h"
#include "outside/component_factory.h"
#include "outside/dialog_runner.h"
#include "outside/error_reporter.h"
#include "outside/library_folder.h"
#include "outside/message_box.h"
#include "outside/message_loop.h"
#include "outside/mouse_pointer.h"
#include "outside/popup_menu.h"
#include "outside/printer.h"
#include "outside/process_launcher.h"
#include "outside/running_indicator.h"
#include "outside/settings_store.h"
#include "outside/text_measurer.h"

#include <memory>
#include <string>
#include <string_view>

namespace qv {

class PlatformContext {
  public:
    // Headless services (headless_services.h), the library folder of the environment, the
    // user's settings file and a component registry that knows only the headless date selector.
    PlatformContext();
    ~PlatformContext();
    PlatformContext(const PlatformContext&) = delete;
    PlatformContext& operator=(const PlatformContext&) = delete;

    // The installed context, or the process's headless one.
    static PlatformContext& Current();

    MessageBox& Messages() { return *m_messages; }
    MousePointer& Pointer() { return *m_pointer; }
    MessageLoop& Loop() { return *m_loop; }
    DialogRunner& Dialogs() { return *m_dialogs; }
    RunningIndicator& Indicator() { return *m_indicator; }
    Printer& Printers() { return *m_printer; }
    Clock& Time() { return *m_clock; }
    TextMeasurer& Measurer() { return *m_measurer; }
    SettingsStore& Settings() { return *m_settings; }
    const LibraryFolder& Library() const { return m_library; }
    ComponentFactory& Components() { return m_components; }
    ErrorReporter& Reporter() { return m_reporter; }
    // The context menus of the grids, and the programs a command starts.
    PopupMenuPresenter& Menus() { return *m_menus; }
    ProcessLauncher& Launcher() { return *m_launcher; }

    // Each replacement must be a service, not null.
    void SetMessages(std::unique_ptr<MessageBox> p_oService);
    void SetPointer(std::unique_ptr<MousePointer> p_oService);
    void SetLoop(std::unique_ptr<MessageLoop> p_oService);
    void SetDialogs(std::unique_ptr<DialogRunner> p_oService);
    void SetIndicator(std::unique_ptr<RunningIndicator> p_oService);
    void SetPrinter(std::unique_ptr<Printer> p_oService);
    void SetClock(std::unique_ptr<Clock> p_oService);
    void SetMeasurer(std::unique_ptr<TextMeasurer> p_oService);
    void SetSettings(std::unique_ptr<SettingsStore> p_oService);
    void SetLibrary(LibraryFolder p_library) { m_library = std::move(p_library); }
    void SetMenus(std::unique_ptr<PopupMenuPresenter> p_oService);
    void SetLauncher(std::unique_ptr<ProcessLauncher> p_oService);

  private:
    friend class ScopedPlatform;
    static PlatformContext* s_pInstalled;

    // Declared first: the settings store reports to it and the reporter logs into the folder.
    LibraryFolder m_library;
    ErrorReporter m_reporter;
    ComponentFactory m_components;
    std::unique_ptr<MessageBox> m_messages;
    std::unique_ptr<MousePointer> m_pointer;
    std::unique_ptr<MessageLoop> m_loop;
    std::unique_ptr<DialogRunner> m_dialogs;
    std::unique_ptr<RunningIndicator> m_indicator;
    std::unique_ptr<Printer> m_printer;
    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<TextMeasurer> m_measurer;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<PopupMenuPresenter> m_menus;
    std::unique_ptr<ProcessLauncher> m_launcher;
};

// Installs a context for the lifetime of the scope.
class ScopedPlatform {
  public:
    explicit ScopedPlatform(PlatformContext& p_oContext);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

  private:
    PlatformContext* m_pPrevious;
};

// The runtime's statements, on the current context.
MsgBoxResult MsgBox(std::string_view p_sText, MsgBoxButtons p_eButtons = vbOKOnly,
                    MsgBoxIcon p_eIcon = vbNoIcon, std::string_view p_sTitle = "");
void DoEvents();
void SetMousePointer(MousePointerShape p_eShape);
// Puts the default pointer back however the scope that showed another one ends.
struct PointerReset {
    PointerReset() = default;
    PointerReset(const PointerReset&) = delete;
    PointerReset& operator=(const PointerReset&) = delete;
    ~PointerReset() { SetMousePointer(vbDefault); }
};
std::string GetSetting(std::string_view p_sApplication, std::string_view p_sSection,
                       std::string_view p_sKey, std::string_view p_sDefault = "");
void SaveSetting(std::string_view p_sApplication, std::string_view p_sSection,
                 std::string_view p_sKey, std::string_view p_sValue);

}  // namespace qv
