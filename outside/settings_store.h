// The per-user settings store, read and written as the runtime's GetSetting and SaveSetting do:
// a value is found by application name, section and key, compared without regard to case; an
// application name may be empty. Values are text.
#pragma once

#include <string>
#include <string_view>

namespace qv {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored value, or p_sDefault when there is none. Never fails: an unreadable store reads
    // as empty.
    virtual std::string GetSetting(std::string_view p_sApplication, std::string_view p_sSection,
                                   std::string_view p_sKey, std::string_view p_sDefault) = 0;
    // Stores the value; a store that cannot be written is error 75 (Path/File access error).
    virtual void SaveSetting(std::string_view p_sApplication, std::string_view p_sSection,
                             std::string_view p_sKey, std::string_view p_sValue) = 0;
};

}  // namespace qv
