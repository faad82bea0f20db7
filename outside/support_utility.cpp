#include "outside/support_utility.h"

#include "outside/component_factory.h"
#include "outside/file_util.h"
#include "outside/platform_context.h"
#include "outside/vb_date.h"

#include <cstdio>

namespace qv {

namespace {

constexpr std::string_view kRemoteServerSection = "Settings";
constexpr std::string_view kRemoteServerKey = "RemoteServer";

}  // namespace

std::string SupportUtility::GetSetting(std::string_view p_sApplication, std::string_view p_sSection,
                                       std::string_view p_sKey, std::string_view p_sDefault) const {
    return PlatformContext::Current().Settings().GetSetting(p_sApplication, p_sSection, p_sKey,
                                                            p_sDefault);
}

void SupportUtility::SaveSetting(std::string_view p_sApplication, std::string_view p_sSection,
                                 std::string_view p_sKey, std::string_view p_sValue) const {
    PlatformContext::Current().Settings().SaveSetting(p_sApplication, p_sSection, p_sKey, p_sValue);
}

std::string SupportUtility::RemoteServer() const {
    return GetSetting("", kRemoteServerSection, kRemoteServerKey, "");
}

void SupportUtility::SaveRemoteServer(std::string_view p_sServer) const {
    SaveSetting("", kRemoteServerSection, kRemoteServerKey, p_sServer);
}

std::shared_ptr<DispatchObject> SupportUtility::CreateObject(std::string_view p_sProgId) const {
    return PlatformContext::Current().Components().CreateObject(p_sProgId);
}

std::vector<uint8_t> SupportUtility::ReadPageSetup(const std::filesystem::path& p_folder) const {
    const FileContents contents = ReadFileLimited(p_folder / kPageSetupFile, kMaxPageSetupBytes);
    if (contents.Status != ReadStatus::Ok) {
        return {};
    }
    return std::vector<uint8_t>(contents.Bytes.begin(), contents.Bytes.end());
}

void SupportUtility::WritePageSetup(const std::filesystem::path& p_folder,
                                    std::span<const uint8_t> p_block) const {
    const std::string bytes(p_block.begin(), p_block.end());
    WriteFileAtomically(p_folder / kPageSetupFile, bytes);
}

std::string SupportUtility::DateText(double p_dSerial) const {
    const DateParts parts = SplitDate(p_dSerial);
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", parts.Month, parts.Day, parts.Year);
    return text;
}

}  // namespace qv
