#include "outside/scripted_services.h"

#include "outside/afm_text_measurer.h"
#include "outside/file_util.h"
#include "outside/headless_services.h"
#include "outside/platform_context.h"
#include "outside/vb_date.h"

#include <random>
#include <system_error>

namespace qv {

namespace {

// Clears a flag when the scope ends, also when the hook throws.
class FlagGuard {
  public:
    explicit FlagGuard(bool& p_bFlag) : m_bFlag(p_bFlag) { m_bFlag = true; }
    ~FlagGuard() { m_bFlag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

  private:
    bool& m_bFlag;
};

std::filesystem::path CreateTemporaryFolder() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = base / ("qv-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate, error)) {
            return candidate;
        }
    }
    RaisePathFileAccess(base, "cannot create a temporary folder");
}

}  // namespace

MsgBoxResult ScriptedMessageBox::Show(std::string_view p_sText, MsgBoxButtons p_eButtons,
                                      MsgBoxIcon p_eIcon, std::string_view p_sTitle) {
    MsgBoxResult answer = DefaultAnswer(p_eButtons);
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    }
    m_shown.push_back({std::string(p_sText), p_eButtons, p_eIcon, std::string(p_sTitle), answer});
    return answer;
}

void ScriptedDialogRunner::ShowModal(ModalDialog& p_oDialog) {
    m_shown.push_back(p_oDialog.DialogCaption());
    if (m_scripts.empty()) {
        p_oDialog.DismissDialog();
        return;
    }
    Script script = std::move(m_scripts.front());
    m_scripts.pop_front();
    script(p_oDialog);
}

void ScriptedMessageLoop::DoEvents() {
    ++m_iYields;
    if (m_fnHook && !m_bInHook) {
        FlagGuard inHook(m_bInHook);
        // A copy: the hook may replace itself.
        const std::function<void()> hook = m_fnHook;
        hook();
    }
    while (!m_posted.empty()) {
        std::function<void()> event = std::move(m_posted.front());
        m_posted.pop_front();
        event();
    }
}

MousePointerShape RecordingMousePointer::Pointer() const {
    return m_history.empty() ? vbDefault : m_history.back();
}

void RecordingRunningIndicator::SetStatus(std::string_view p_sCaption, bool p_bVisible) {
    m_current = {std::string(p_sCaption), p_bVisible};
    m_history.push_back(m_current);
}

std::string MemorySettingsStore::GetSetting(std::string_view p_sApplication,
                                            std::string_view p_sSection, std::string_view p_sKey,
                                            std::string_view p_sDefault) {
    const std::string* value = m_data.Find(p_sApplication, p_sSection, p_sKey);
    return value ? *value : std::string(p_sDefault);
}

void MemorySettingsStore::SaveSetting(std::string_view p_sApplication, std::string_view p_sSection,
                                      std::string_view p_sKey, std::string_view p_sValue) {
    m_data.Set(p_sApplication, p_sSection, p_sKey, p_sValue);
}

ScopedTestPlatform::ScopedTestPlatform()
    : m_libraryPath(CreateTemporaryFolder()), m_context(std::make_unique<PlatformContext>()) {
    m_context->SetLibrary(LibraryFolder(m_libraryPath));

    auto messages = std::make_unique<ScriptedMessageBox>();
    auto dialogs = std::make_unique<ScriptedDialogRunner>();
    auto loop = std::make_unique<ScriptedMessageLoop>();
    auto clock = std::make_unique<FixedClock>(DateSerial(2026, 12, 4) + TimeSerial(16, 0, 0));
    auto pointer = std::make_unique<RecordingMousePointer>();
    auto indicator = std::make_unique<RecordingRunningIndicator>();
    auto settings = std::make_unique<MemorySettingsStore>();
    auto printer = std::make_unique<HeadlessPrinter>();
    m_messages = messages.get();
    m_dialogs = dialogs.get();
    m_loop = loop.get();
    m_clock = clock.get();
    m_pointer = pointer.get();
    m_indicator = indicator.get();
    m_settings = settings.get();
    m_printer = printer.get();
    m_context->SetMessages(std::move(messages));
    m_context->SetDialogs(std::move(dialogs));
    m_context->SetLoop(std::move(loop));
    m_context->SetClock(std::move(clock));
    m_context->SetPointer(std::move(pointer));
    m_context->SetIndicator(std::move(indicator));
    m_context->SetSettings(std::move(settings));
    m_context->SetPrinter(std::move(printer));
    m_context->SetMeasurer(std::make_unique<AfmTextMeasurer>());
    auto menus = std::make_unique<ScriptedPopupMenuPresenter>();
    auto launcher = std::make_unique<ScriptedProcessLauncher>();
    m_menus = menus.get();
    m_launcher = launcher.get();
    m_context->SetMenus(std::move(menus));
    m_context->SetLauncher(std::move(launcher));

    m_installed = std::make_unique<ScopedPlatform>(*m_context);
}

ScopedTestPlatform::~ScopedTestPlatform() {
    m_installed.reset();
    m_context.reset();
    std::error_code error;
    std::filesystem::remove_all(m_libraryPath, error);
}

ComponentFactory& ScopedTestPlatform::Components() {
    return m_context->Components();
}

ErrorReporter& ScopedTestPlatform::Reporter() {
    return m_context->Reporter();
}

}  // namespace qv
