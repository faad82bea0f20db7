// Small file operations the platform layer shares: whole-file reads with a size limit, atomic
// replacement, and timestamps for file names and log lines.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

enum class ReadStatus {
    Ok,
    Missing,
    TooLarge,
    Unreadable,
};

struct FileContents {
    ReadStatus Status = ReadStatus::Missing;
    std::string Bytes;
};

// The whole file, unless it is missing, unreadable or larger than p_uMaxBytes.
FileContents ReadFileLimited(const std::filesystem::path& p_path, uintmax_t p_uMaxBytes);

// Replaces p_path with p_sBytes so that a reader sees either the old or the new file, never a
// part: the bytes go to a temporary file beside it, are flushed to disk and renamed over it.
// Creates the folder when missing. A failure leaves no temporary file behind and is error 75
// (Path/File access error) naming the path.
void WriteFileAtomically(const std::filesystem::path& p_path, std::string_view p_sBytes);

// Error 75 (Path/File access error) naming p_path and why it failed.
[[noreturn]] void RaisePathFileAccess(const std::filesystem::path& p_path,
                                      const std::string& p_sWhy);

// The current UTC time in the strftime format p_sFormat ("%Y%m%dT%H%M%SZ").
std::string UtcTimestamp(const char* p_sFormat);

}  // namespace qv
