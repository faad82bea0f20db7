// Reads arbitrary bytes as a settings file. Whatever the reader accepts must write back to a text
// it reads to the same content; nothing may crash.
#include "fuzz_check.h"
#include "outside/settings_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* p_data, size_t p_size) {
    if (p_size > qv::SettingsFile::kMaxBytes) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(p_data), p_size);
    qv::SettingsFile settings;
    std::string error;
    if (!settings.Parse(text, error)) {
        Check(!error.empty() && settings.Sections().empty());
        return 0;
    }
    qv::SettingsFile again;
    Check(again.Parse(settings.Serialize(), error) && again == settings);
    return 0;
}
