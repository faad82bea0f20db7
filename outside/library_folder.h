// "The folder of the control library": where the page-setup file, the export folder, the log
// and the data of the embedded facade live. An installed library's folder is read-only on
// Linux, so it is a per-user data folder: $QV_LIBRARY_DIR when set (tests use it), else
// $XDG_DATA_HOME/qorvant, else ~/.local/share/qorvant.
#pragma once

#include <filesystem>

namespace qv {

class LibraryFolder {
  public:
    explicit LibraryFolder(std::filesystem::path p_path) : m_path(std::move(p_path)) {}
    static LibraryFolder FromEnvironment();

    // The folder, created when missing; error 75 (Path/File access error) when it cannot be.
    std::filesystem::path Path() const;
    // The folder without creating it.
    const std::filesystem::path& Location() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

// $XDG_CONFIG_HOME, else ~/.config: the base of the per-user settings file.
std::filesystem::path UserConfigFolder();

}  // namespace qv
