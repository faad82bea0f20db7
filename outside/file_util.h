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

// What WriteFileAtomically does about a folder that is not there: a file of our own (settings)
// makes its folder; a file a person named fails, since a mistyped folder is an error, never a
// new folder.
enum class MissingFolder { Create, Fail };

// Replaces p_path with p_sBytes so that a reader sees either the old or the new file, never a
// part: the bytes go to a temporary file beside it, are flushed to disk and renamed over it. A
// failure (no folder, a folder that may not be written, a full disk) leaves no temporary file
// behind and any earlier file as it was, and is error 75 (Path/File access error) naming the path
// and the reason.
void WriteFileAtomically(const std::filesystem::path& p_path, std::string_view p_sBytes,
                         MissingFolder p_eMissing = MissingFolder::Create);

// Error 75 (Path/File access error) naming p_path and why it failed.
[[noreturn]] void RaisePathFileAccess(const std::filesystem::path& p_path,
                                      const std::string& p_sWhy);

// The current UTC time in the strftime format p_sFormat ("%Y%m%dT%H%M%SZ").
std::string UtcTimestamp(const char* p_sFormat);

}  // namespace qv
