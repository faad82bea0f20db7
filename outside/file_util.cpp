#include "outside/file_util.h"

#include "outside/automation_error.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <random>
#include <system_error>

#include <unistd.h>

namespace qv {

namespace {

std::filesystem::path TemporaryBeside(const std::filesystem::path& p_path) {
    std::random_device random;
    return p_path.parent_path() / (p_path.filename().string() + ".tmp-" +
                                   std::to_string(::getpid()) + "-" + std::to_string(random()));
}

// Writes and flushes the bytes to the disk; the reason of a failure, or "" when it worked.
std::string WriteDurably(const std::filesystem::path& p_path, std::string_view p_sBytes) {
    std::FILE* file = std::fopen(p_path.c_str(), "wb");
    if (file == nullptr) {
        return std::strerror(errno);
    }
    std::string why;
    if (std::fwrite(p_sBytes.data(), 1, p_sBytes.size(), file) != p_sBytes.size() ||
        std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0) {
        why = std::strerror(errno);
    }
    if (std::fclose(file) != 0 && why.empty()) {
        why = std::strerror(errno);
    }
    return why;
}

}  // namespace

void RaisePathFileAccess(const std::filesystem::path& p_path, const std::string& p_sWhy) {
    constexpr int32_t kPathFileAccessError = 75;
    throw AutomationError(kPathFileAccessError, "qorvantOnlineViewer",
                          "Path/File access error: " + p_path.string() + " (" + p_sWhy + ")");
}

FileContents ReadFileLimited(const std::filesystem::path& p_path, uintmax_t p_uMaxBytes) {
    std::error_code error;
    const auto status = std::filesystem::status(p_path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return {ReadStatus::Missing, {}};
    }
    if (error || !std::filesystem::is_regular_file(status)) {
        return {ReadStatus::Unreadable, {}};
    }
    const uintmax_t size = std::filesystem::file_size(p_path, error);
    if (error) {
        return {ReadStatus::Unreadable, {}};
    }
    if (size > p_uMaxBytes) {
        return {ReadStatus::TooLarge, {}};
    }
    std::ifstream stream(p_path, std::ios::binary);
    if (!stream) {
        return {ReadStatus::Unreadable, {}};
    }
    std::string bytes;
    bytes.resize(static_cast<size_t>(size));
    stream.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<size_t>(stream.gcount()));
    // The file may have grown since its size was taken.
    if (stream.peek() != std::ifstream::traits_type::eof()) {
        return {ReadStatus::TooLarge, {}};
    }
    return {ReadStatus::Ok, std::move(bytes)};
}

void WriteFileAtomically(const std::filesystem::path& p_path, std::string_view p_sBytes,
                         MissingFolder p_eMissing) {
    std::error_code error;
    if (p_path.has_parent_path()) {
        const std::filesystem::path folder = p_path.parent_path();
        if (p_eMissing == MissingFolder::Create) {
            std::filesystem::create_directories(folder, error);
            if (error) {
                RaisePathFileAccess(p_path, error.message());
            }
        } else if (!std::filesystem::is_directory(folder, error)) {
            RaisePathFileAccess(p_path, "there is no folder " + folder.string());
        }
    }
    const std::filesystem::path temporary = TemporaryBeside(p_path);
    const std::string why = WriteDurably(temporary, p_sBytes);
    if (!why.empty()) {
        std::filesystem::remove(temporary, error);
        RaisePathFileAccess(p_path, "cannot write: " + why);
    }
    std::filesystem::rename(temporary, p_path, error);
    if (error) {
        const std::string renameWhy = error.message();
        std::filesystem::remove(temporary, error);
        RaisePathFileAccess(p_path, renameWhy);
    }
}

std::string UtcTimestamp(const char* p_sFormat) {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
    if (::gmtime_r(&now, &parts) == nullptr) {
        return "unknown-time";
    }
    char text[64];
    const size_t length = std::strftime(text, sizeof text, p_sFormat, &parts);
    return std::string(text, length);
}

}  // namespace qv
