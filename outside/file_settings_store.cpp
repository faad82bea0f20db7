#include "outside/file_settings_store.h"

#include "outside/automation_error.h"
#include "outside/error_reporter.h"
#include "outside/file_util.h"
#include "outside/library_folder.h"

#include <system_error>
#include <utility>

namespace qv {

namespace {

constexpr int32_t kInvalidFileFormat = 321;
constexpr int32_t kPathFileAccessError = 75;
constexpr const char* kLabel = "SettingsStore:Load";
constexpr const char* kSource = "qorvantOnlineViewer";

// A name beside p_path that is not taken yet: two damaged files in one second keep both.
std::filesystem::path AsideName(const std::filesystem::path& p_path) {
    const std::string base =
        p_path.filename().string() + ".damaged-" + UtcTimestamp("%Y%m%dT%H%M%SZ");
    std::filesystem::path aside = p_path.parent_path() / base;
    std::error_code error;
    for (int suffix = 1; std::filesystem::exists(aside, error); ++suffix) {
        aside = p_path.parent_path() / (base + "-" + std::to_string(suffix));
    }
    return aside;
}

}  // namespace

FileSettingsStore::FileSettingsStore(std::filesystem::path p_path, ErrorReporter& p_oReporter)
    : m_path(std::move(p_path)), m_oReporter(p_oReporter) {}

std::filesystem::path FileSettingsStore::DefaultPath() {
    return UserConfigFolder() / "qorvant" / "settings.ini";
}

std::string FileSettingsStore::GetSetting(std::string_view p_sApplication,
                                          std::string_view p_sSection, std::string_view p_sKey,
                                          std::string_view p_sDefault) {
    const SettingsFile settings = Load();
    const std::string* value = settings.Find(p_sApplication, p_sSection, p_sKey);
    return value ? *value : std::string(p_sDefault);
}

void FileSettingsStore::SaveSetting(std::string_view p_sApplication, std::string_view p_sSection,
                                    std::string_view p_sKey, std::string_view p_sValue) {
    SettingsFile settings = Load();
    settings.Set(p_sApplication, p_sSection, p_sKey, p_sValue);
    WriteFileAtomically(m_path, settings.Serialize());
}

SettingsFile FileSettingsStore::Load() {
    SettingsFile settings;
    const FileContents contents = ReadFileLimited(m_path, SettingsFile::kMaxBytes);
    switch (contents.Status) {
        case ReadStatus::Missing:
            return settings;
        case ReadStatus::Unreadable:
            m_oReporter.Report(
                kLabel,
                AutomationError(kPathFileAccessError, kSource,
                                "Path/File access error: " + m_path.string() + " (cannot read)"));
            return settings;
        case ReadStatus::TooLarge:
            SetAside("larger than a settings file");
            return settings;
        case ReadStatus::Ok:
            break;
    }
    std::string fault;
    if (!settings.Parse(contents.Bytes, fault)) {
        SetAside(fault);
    }
    return settings;
}

void FileSettingsStore::SetAside(const std::string& p_sReason) {
    const std::filesystem::path aside = AsideName(m_path);
    std::error_code error;
    std::filesystem::rename(m_path, aside, error);
    std::string description = "Invalid file format: " + m_path.string() + " (" + p_sReason + ")";
    if (error) {
        description += "; it could not be set aside: " + error.message();
        m_oReporter.Report(kLabel, AutomationError(kInvalidFileFormat, kSource, description));
        return;
    }
    description += "; set aside as " + aside.filename().string();
    m_oReporter.Report(kLabel, AutomationError(kInvalidFileFormat, kSource, description));
    try {
        WriteFileAtomically(m_path, SettingsFile().Serialize());
    } catch (const AutomationError& failure) {
        m_oReporter.Report(kLabel, failure);
    }
}

}  // namespace qv
