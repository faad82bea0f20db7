#include "outside/platform_context.h"

#include "outside/afm_text_measurer.h"
#include "outside/date_selector.h"
#include "outside/file_settings_store.h"
#include "outside/headless_services.h"

#include <iostream>

namespace qv {

PlatformContext* PlatformContext::s_pInstalled = nullptr;

PlatformContext::PlatformContext()
    : m_library(LibraryFolder::FromEnvironment()),
      m_reporter([this] { return m_library.Path() / "qorvant-viewer.log"; }),
      m_messages(std::make_unique<HeadlessMessageBox>(std::cerr)),
      m_pointer(std::make_unique<HeadlessMousePointer>()),
      m_loop(std::make_unique<HeadlessMessageLoop>()),
      m_dialogs(std::make_unique<HeadlessDialogRunner>()),
      m_indicator(std::make_unique<HeadlessRunningIndicator>()),
      m_printer(std::make_unique<HeadlessPrinter>()),
      m_clock(std::make_unique<SystemClock>()),
      m_measurer(std::make_unique<AfmTextMeasurer>()),
      m_settings(std::make_unique<FileSettingsStore>(FileSettingsStore::DefaultPath(), m_reporter)),
      m_menus(std::make_unique<HeadlessPopupMenuPresenter>()),
      m_launcher(std::make_unique<SpawnProcessLauncher>()) {
    RegisterHeadlessDateSelector(m_components);
}

PlatformContext::~PlatformContext() = default;

PlatformContext& PlatformContext::Current() {
    if (s_pInstalled != nullptr) {
        return *s_pInstalled;
    }
    static PlatformContext headless;
    return headless;
}

void PlatformContext::SetMessages(std::unique_ptr<MessageBox> p_oService) {
    m_messages = std::move(p_oService);
}

void PlatformContext::SetPointer(std::unique_ptr<MousePointer> p_oService) {
    m_pointer = std::move(p_oService);
}

void PlatformContext::SetLoop(std::unique_ptr<MessageLoop> p_oService) {
    m_loop = std::move(p_oService);
}

void PlatformContext::SetDialogs(std::unique_ptr<DialogRunner> p_oService) {
    m_dialogs = std::move(p_oService);
}

void PlatformContext::SetIndicator(std::unique_ptr<RunningIndicator> p_oService) {
    m_indicator = std::move(p_oService);
}

void PlatformContext::SetPrinter(std::unique_ptr<Printer> p_oService) {
    m_printer = std::move(p_oService);
}

void PlatformContext::SetClock(std::unique_ptr<Clock> p_oService) {
    m_clock = std::move(p_oService);
}

void PlatformContext::SetMeasurer(std::unique_ptr<TextMeasurer> p_oService) {
    m_measurer = std::move(p_oService);
}

void PlatformContext::SetSettings(std::unique_ptr<SettingsStore> p_oService) {
    m_settings = std::move(p_oService);
}

void PlatformContext::SetMenus(std::unique_ptr<PopupMenuPresenter> p_oService) {
    m_menus = std::move(p_oService);
}

void PlatformContext::SetLauncher(std::unique_ptr<ProcessLauncher> p_oService) {
    m_launcher = std::move(p_oService);
}

ScopedPlatform::ScopedPlatform(PlatformContext& p_oContext)
    : m_pPrevious(PlatformContext::s_pInstalled) {
    PlatformContext::s_pInstalled = &p_oContext;
}

ScopedPlatform::~ScopedPlatform() {
    PlatformContext::s_pInstalled = m_pPrevious;
}

MsgBoxResult MsgBox(std::string_view p_sText, MsgBoxButtons p_eButtons, MsgBoxIcon p_eIcon,
                    std::string_view p_sTitle) {
    return PlatformContext::Current().Messages().Show(p_sText, p_eButtons, p_eIcon, p_sTitle);
}

void DoEvents() {
    PlatformContext::Current().Loop().DoEvents();
}

void SetMousePointer(MousePointerShape p_eShape) {
    PlatformContext::Current().Pointer().SetPointer(p_eShape);
}

std::string GetSetting(std::string_view p_sApplication, std::string_view p_sSection,
                       std::string_view p_sKey, std::string_view p_sDefault) {
    return PlatformContext::Current().Settings().GetSetting(p_sApplication, p_sSection, p_sKey,
                                                            p_sDefault);
}

void SaveSetting(std::string_view p_sApplication, std::string_view p_sSection,
                 std::string_view p_sKey, std::string_view p_sValue) {
    PlatformContext::Current().Settings().SaveSetting(p_sApplication, p_sSection, p_sKey, p_sValue);
}

}  // namespace qv
