#include "outside/settings_file.h"

#include "outside/automation_error.h"
#include "outside/text_util.h"

#include <algorithm>

namespace qv {

namespace {

constexpr std::string_view kHeaderComment =
    "# Qorvant viewer settings, written by the program. In names and values \"\\\\\" is a "
    "backslash and \"\\xHH\" a byte.\n";

bool IsNameSpecial(char p_c) {
    return p_c == '\\' || p_c == '/' || p_c == '=' || p_c == '[' || p_c == ']' || p_c == '#' ||
           p_c == ';';
}

int HexValue(char p_c) {
    if (p_c >= '0' && p_c <= '9') {
        return p_c - '0';
    }
    if (p_c >= 'A' && p_c <= 'F') {
        return p_c - 'A' + 10;
    }
    if (p_c >= 'a' && p_c <= 'f') {
        return p_c - 'a' + 10;
    }
    return -1;
}

void AppendHexEscape(std::string& p_sOut, unsigned char p_c) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    p_sOut += "\\x";
    p_sOut += kDigits[p_c >> 4];
    p_sOut += kDigits[p_c & 0x0f];
}

bool Unescape(std::string_view p_sRaw, std::string& p_sOut) {
    p_sOut.clear();
    for (size_t i = 0; i < p_sRaw.size(); ++i) {
        if (p_sRaw[i] != '\\') {
            p_sOut += p_sRaw[i];
            continue;
        }
        if (i + 1 < p_sRaw.size() && p_sRaw[i + 1] == '\\') {
            p_sOut += '\\';
            i += 1;
            continue;
        }
        if (i + 3 >= p_sRaw.size() || p_sRaw[i + 1] != 'x') {
            return false;
        }
        const int high = HexValue(p_sRaw[i + 2]);
        const int low = HexValue(p_sRaw[i + 3]);
        if (high < 0 || low < 0) {
            return false;
        }
        p_sOut += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return true;
}

// Escapes what the reader would misread, including bytes that are not UTF-8 (an escape can
// carry any byte, and a value read back must write out to a readable file).
std::string Escape(std::string_view p_sText, bool p_bName) {
    std::string out;
    out.reserve(p_sText.size());
    for (size_t i = 0; i < p_sText.size();) {
        const char c = p_sText[i];
        const size_t length = Utf8SequenceLength(p_sText, i);
        const bool atEdge = i == 0 || i + 1 == p_sText.size();
        if (length > 1) {
            out.append(p_sText.substr(i, length));
            i += length;
            continue;
        }
        if (c == '\\') {
            out += "\\\\";
        } else if (length == 0 || IsControlByte(static_cast<unsigned char>(c)) ||
                   (atEdge && IsBlank(c)) || (p_bName && IsNameSpecial(c))) {
            AppendHexEscape(out, static_cast<unsigned char>(c));
        } else {
            out += c;
        }
        ++i;
    }
    return out;
}

// The text's bytes are plain: UTF-8 without control characters, other than tabs and line ends.
bool CheckBytes(std::string_view p_sText, std::string& p_sError) {
    for (size_t i = 0; i < p_sText.size();) {
        const auto c = static_cast<unsigned char>(p_sText[i]);
        const bool lineEnd =
            c == '\n' || (c == '\r' && (i + 1 == p_sText.size() || p_sText[i + 1] == '\n'));
        if (IsControlByte(c) && c != '\t' && !lineEnd) {
            p_sError = "control character at byte " + std::to_string(i);
            return false;
        }
        const size_t length = Utf8SequenceLength(p_sText, i);
        if (length == 0) {
            p_sError = "text that is not UTF-8 at byte " + std::to_string(i);
            return false;
        }
        i += length;
    }
    return true;
}

void SetEntry(SettingsSection& p_section, std::string_view p_sKey, std::string_view p_sValue) {
    for (SettingsEntry& entry : p_section.Entries) {
        if (EqualsIgnoreCase(entry.Key, p_sKey)) {
            entry.Value = p_sValue;
            return;
        }
    }
    p_section.Entries.push_back({std::string(p_sKey), std::string(p_sValue)});
}

std::string LineError(size_t p_uLine, std::string_view p_sWhat) {
    return "line " + std::to_string(p_uLine) + ": " + std::string(p_sWhat);
}

}  // namespace

bool SettingsFile::Parse(std::string_view p_sText, std::string& p_sError) {
    m_sections.clear();
    if (!CheckBytes(p_sText, p_sError)) {
        return false;
    }
    SettingsSection* section = nullptr;
    size_t lineNumber = 0;
    std::string application;
    std::string name;
    std::string value;
    while (!p_sText.empty()) {
        ++lineNumber;
        const size_t end = std::min(p_sText.find('\n'), p_sText.size());
        std::string_view line = p_sText.substr(0, end);
        p_sText.remove_prefix(std::min(end + 1, p_sText.size()));
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = TrimBlanks(line);
        if (line.empty() || line.front() == '#' || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            const size_t slash = line.find('/');
            if (line.back() != ']' || line.size() < 2 || slash == std::string_view::npos ||
                !Unescape(TrimBlanks(line.substr(1, slash - 1)), application) ||
                !Unescape(TrimBlanks(line.substr(slash + 1, line.size() - slash - 2)), name)) {
                m_sections.clear();
                p_sError = LineError(lineNumber, "not a section header");
                return false;
            }
            section = &SectionFor(application, name);
            continue;
        }
        const size_t equals = line.find('=');
        if (section == nullptr || equals == std::string_view::npos || equals == 0 ||
            !Unescape(TrimBlanks(line.substr(0, equals)), name) ||
            !Unescape(TrimBlanks(line.substr(equals + 1)), value) || name.empty()) {
            m_sections.clear();
            p_sError = LineError(lineNumber, section == nullptr ? "entry outside a section"
                                                                : "not a key=value entry");
            return false;
        }
        SetEntry(*section, name, value);
    }
    return true;
}

std::string SettingsFile::Serialize() const {
    std::string text(kHeaderComment);
    for (const SettingsSection& section : m_sections) {
        text +=
            "\n[" + Escape(section.Application, true) + "/" + Escape(section.Name, true) + "]\n";
        for (const SettingsEntry& entry : section.Entries) {
            text += Escape(entry.Key, true) + "=" + Escape(entry.Value, false) + "\n";
        }
    }
    return text;
}

const std::string* SettingsFile::Find(std::string_view p_sApplication, std::string_view p_sSection,
                                      std::string_view p_sKey) const {
    for (const SettingsSection& section : m_sections) {
        if (!EqualsIgnoreCase(section.Application, p_sApplication) ||
            !EqualsIgnoreCase(section.Name, p_sSection)) {
            continue;
        }
        for (const SettingsEntry& entry : section.Entries) {
            if (EqualsIgnoreCase(entry.Key, p_sKey)) {
                return &entry.Value;
            }
        }
    }
    return nullptr;
}

void SettingsFile::Set(std::string_view p_sApplication, std::string_view p_sSection,
                       std::string_view p_sKey, std::string_view p_sValue) {
    if (p_sKey.empty()) {
        RaiseRuntimeError(errors::kInvalidProcedureCall, "a setting needs a key");
    }
    SetEntry(SectionFor(p_sApplication, p_sSection), p_sKey, p_sValue);
}

SettingsSection& SettingsFile::SectionFor(std::string_view p_sApplication,
                                          std::string_view p_sSection) {
    for (SettingsSection& section : m_sections) {
        if (EqualsIgnoreCase(section.Application, p_sApplication) &&
            EqualsIgnoreCase(section.Name, p_sSection)) {
            return section;
        }
    }
    m_sections.push_back({std::string(p_sApplication), std::string(p_sSection), {}});
    return m_sections.back();
}

}  // namespace qv
