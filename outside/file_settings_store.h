// The per-user settings store kept in a text file (settings_file.h), by default
// $XDG_CONFIG_HOME/qorvant/settings.ini (~/.config when unset).
//
// Every read looks at the file and every save rewrites it atomically, so two running viewers see
// each other's settings and a crash mid-save leaves the old file whole. A damaged file (not a
// settings text, or larger than any this program writes) is reported to the error reporter, set
// aside beside itself as "settings.ini.damaged-<UTC time>" for the user to inspect, and replaced
// by an empty one; reads then answer their defaults. Nothing here ever ends the program.
#pragma once

#include "outside/settings_file.h"
#include "outside/settings_store.h"

#include <filesystem>

namespace qv {

class ErrorReporter;

class FileSettingsStore : public SettingsStore {
  public:
    // p_oReporter hears of damaged and unreadable files; it must outlive the store.
    FileSettingsStore(std::filesystem::path p_path, ErrorReporter& p_oReporter);
    static std::filesystem::path DefaultPath();

    std::string GetSetting(std::string_view p_sApplication, std::string_view p_sSection,
                           std::string_view p_sKey, std::string_view p_sDefault) override;
    void SaveSetting(std::string_view p_sApplication, std::string_view p_sSection,
                     std::string_view p_sKey, std::string_view p_sValue) override;

    const std::filesystem::path& FilePath() const { return m_path; }

  private:
    SettingsFile Load();
    void SetAside(const std::string& p_sReason);

    std::filesystem::path m_path;
    ErrorReporter& m_oReporter;
};

}  // namespace qv
