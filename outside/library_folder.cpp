#include "outside/library_folder.h"

#include "outside/file_util.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace qv {

namespace {

// An environment variable holding an absolute path; the XDG rules ignore relative ones.
std::filesystem::path AbsoluteFromEnvironment(const char* p_sName) {
    const char* value = std::getenv(p_sName);
    if (value == nullptr || *value == '\0') {
        return {};
    }
    std::filesystem::path path(value);
    return path.is_absolute() ? path : std::filesystem::path();
}

std::filesystem::path UserFolder(const char* p_sXdgVariable, const char* p_sUnderHome) {
    std::filesystem::path base = AbsoluteFromEnvironment(p_sXdgVariable);
    if (!base.empty()) {
        return base;
    }
    std::filesystem::path home = AbsoluteFromEnvironment("HOME");
    if (!home.empty()) {
        return home / p_sUnderHome;
    }
    std::error_code error;
    return std::filesystem::temp_directory_path(error);
}

}  // namespace

LibraryFolder LibraryFolder::FromEnvironment() {
    const char* overridden = std::getenv("QV_LIBRARY_DIR");
    if (overridden != nullptr && *overridden != '\0') {
        std::error_code error;
        std::filesystem::path path = std::filesystem::absolute(overridden, error);
        return LibraryFolder(error ? std::filesystem::path(overridden) : path);
    }
    return LibraryFolder(UserFolder("XDG_DATA_HOME", ".local/share") / "qorvant");
}

std::filesystem::path LibraryFolder::Path() const {
    std::error_code error;
    std::filesystem::create_directories(m_path, error);
    if (error) {
        RaisePathFileAccess(m_path, error.message());
    }
    if (!std::filesystem::is_directory(m_path, error)) {
        RaisePathFileAccess(m_path, "not a folder");
    }
    return m_path;
}

std::filesystem::path UserConfigFolder() {
    return UserFolder("XDG_CONFIG_HOME", ".config");
}

}  // namespace qv
