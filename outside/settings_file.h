// The text form of the per-user settings file:
//
//     # Qorvant viewer settings
//     [Olmaris60/QuickTestDates]
//     Top=10
//     [/Settings]
//     RemoteServer=HTTP://MARKETS.EXAMPLE.COM
//
// A header "[application/section]" opens each section; "key=value" lines follow it. Blank lines
// and lines starting with "#" or ";" are comments, and blanks around names and values are not
// part of them. Any text survives a round trip because the writer escapes what the syntax would
// misread: "\\" is a backslash and "\xHH" a byte, used for control characters and for blanks at
// either end, and in names also for "/", "=", "[", "]", "#" and ";".
//
// The reader is strict, because a file it half understands would silently lose settings: a
// control character, text that is not UTF-8, a line that is neither header, entry nor comment,
// an entry before the first header, an empty key or a bad escape makes the whole text invalid.
// Names compare without regard to case; a repeated key keeps its last value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

struct SettingsEntry {
    std::string Key;
    std::string Value;
    bool operator==(const SettingsEntry&) const = default;
};

struct SettingsSection {
    std::string Application;
    std::string Name;
    std::vector<SettingsEntry> Entries;
    bool operator==(const SettingsSection&) const = default;
};

class SettingsFile {
  public:
    // Larger files are not settings files this program wrote.
    static constexpr uintmax_t kMaxBytes = 1 << 20;

    // Replaces the content with p_sText; false with the first fault in p_sError (and no content)
    // when the text is not a valid settings text.
    bool Parse(std::string_view p_sText, std::string& p_sError);
    std::string Serialize() const;

    // The value, or null when there is none.
    const std::string* Find(std::string_view p_sApplication, std::string_view p_sSection,
                            std::string_view p_sKey) const;
    void Set(std::string_view p_sApplication, std::string_view p_sSection, std::string_view p_sKey,
             std::string_view p_sValue);

    const std::vector<SettingsSection>& Sections() const { return m_sections; }
    bool operator==(const SettingsFile&) const = default;

  private:
    SettingsSection& SectionFor(std::string_view p_sApplication, std::string_view p_sSection);

    std::vector<SettingsSection> m_sections;
};

}  // namespace qv
