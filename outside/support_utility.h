// The utility object of the support library: per-user settings, components by ProgID, the
// page-setup file and the date text of name searches, all on the current platform context.
//
// The page setup is the grid control's print settings as an opaque block of bytes, kept in
// "pagesetup.dat" in the folder the caller names (the library folder). Reading a missing,
// unreadable or implausibly large file gives an empty block, which callers take as "no page
// setup"; writing replaces the file atomically.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class DispatchObject;

class SupportUtility {
  public:
    static constexpr std::string_view kPageSetupFile = "pagesetup.dat";
    static constexpr uintmax_t kMaxPageSetupBytes = 1 << 20;

    std::string GetSetting(std::string_view p_sApplication, std::string_view p_sSection,
                           std::string_view p_sKey, std::string_view p_sDefault = "") const;
    void SaveSetting(std::string_view p_sApplication, std::string_view p_sSection,
                     std::string_view p_sKey, std::string_view p_sValue) const;

    // The per-user setting naming the server of the facade components (application part empty),
    // "" when none was saved.
    std::string RemoteServer() const;
    void SaveRemoteServer(std::string_view p_sServer) const;

    std::shared_ptr<DispatchObject> CreateObject(std::string_view p_sProgId) const;

    std::vector<uint8_t> ReadPageSetup(const std::filesystem::path& p_folder) const;
    void WritePageSetup(const std::filesystem::path& p_folder,
                        std::span<const uint8_t> p_block) const;

    // A date as the facade's name searches take it: "mm/dd/yyyy" ("12/04/2026").
    std::string DateText(double p_dSerial) const;
};

}  // namespace qv
