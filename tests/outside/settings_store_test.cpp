#include "outside/file_settings_store.h"

#include "outside/error_reporter.h"
#include "outside/scripted_services.h"
#include "outside/settings_file.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace qv {
namespace {

class SettingsStoreTest : public ::testing::Test {
  protected:
    std::filesystem::path File() const {
        return m_platform.LibraryPath() / "config" / "settings.ini";
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(File().parent_path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    void WriteRaw(const std::string& p_sBytes) const {
        std::filesystem::create_directories(File().parent_path());
        std::ofstream(File(), std::ios::binary) << p_sBytes;
    }

    ScopedTestPlatform m_platform;
    ErrorReporter m_reporter;
};

TEST_F(SettingsStoreTest, ValuesSurviveAcrossInstancesAndIgnoreCase) {
    FileSettingsStore first(File(), m_reporter);
    // Reading a missing file gives the default and does not create the file.
    EXPECT_EQ(first.GetSetting("Olmaris60", "QuickTestDates", "Top", "10"), "10");
    EXPECT_FALSE(std::filesystem::exists(File()));
    first.SaveSetting("Olmaris60", "QuickTestDates", "Top", "25");
    first.SaveSetting("", "Settings", "RemoteServer", "HTTP://A");
    first.SaveSetting("OLMARIS60", "quicktestdates", "TOP", "30");
    FileSettingsStore second(File(), m_reporter);
    EXPECT_EQ(second.GetSetting("olmaris60", "QUICKTESTDATES", "top", "10"), "30");
    EXPECT_EQ(second.GetSetting("", "Settings", "RemoteServer", ""), "HTTP://A");
    EXPECT_EQ(second.GetSetting("Olmaris60", "ExportDir", "Missing", "fallback"), "fallback");
    EXPECT_TRUE(m_reporter.Calls().empty());
}

TEST_F(SettingsStoreTest, AwkwardTextSurvivesTheRoundTripAndNoTemporaryFileStays) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Url", "HTTP://MARKETS.EXAMPLE.COM/olmaris/"},
        {"Blanks", "  padded  "},
        {"Lines", "first\nsecond\r\nthird"},
        {"Escapes", "C:\\Export\\x41 = [not a section]"},
        {"Unicode", "Zürich — 東京"},
        {"Empty", ""},
        {" key/with=odd[chars]#; ", "value"},
    };
    FileSettingsStore store(File(), m_reporter);
    for (const auto& [key, value] : cases) {
        store.SaveSetting("App/Name", "[Section]", key, value);
    }
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"settings.ini"}));
    FileSettingsStore reader(File(), m_reporter);
    for (const auto& [key, value] : cases) {
        EXPECT_EQ(reader.GetSetting("App/Name", "[Section]", key, "missing"), value) << key;
    }
    EXPECT_TRUE(m_reporter.Reports().empty());
}

TEST_F(SettingsStoreTest, HandEditedFileWithCommentsAndBlanksReads) {
    WriteRaw(
        "; edited by hand\r\n\r\n  [ Olmaris60 / QuickTestDates ]  \r\n# the quick test\r\n"
        "  Top =  12  \r\n\t[/Settings]\nRemoteServer=HTTP://B\n");
    FileSettingsStore store(File(), m_reporter);
    EXPECT_EQ(store.GetSetting("Olmaris60", "QuickTestDates", "Top", "10"), "12");
    EXPECT_EQ(store.GetSetting("", "Settings", "RemoteServer", ""), "HTTP://B");
    EXPECT_TRUE(m_reporter.Reports().empty());
}

TEST_F(SettingsStoreTest, DamagedFileIsReportedSetAsideAndReplaced) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"bad syntax", "[Olmaris60/QuickTestDates]\nTop=10\nthis line means nothing\n"},
        {"binary garbage", std::string("\x7f"
                                       "ELF\x02\0\0",
                                       7)},
        {"not UTF-8", "[App/Section]\nKey=caf\xe9\n"},
        {"entry before a section", "Top=10\n"},
        {"bad escape", "[App/Section]\nKey=\\q\n"},
        {"header without a slash", "[Olmaris60]\nTop=10\n"},
        {"too large", "[App/Section]\nKey=" + std::string(SettingsFile::kMaxBytes, 'x') + "\n"},
    };
    for (const auto& [what, bytes] : cases) {
        std::filesystem::remove_all(File().parent_path());
        m_reporter.ClearRecords();
        WriteRaw(bytes);
        FileSettingsStore store(File(), m_reporter);
        EXPECT_EQ(store.GetSetting("Olmaris60", "QuickTestDates", "Top", "10"), "10") << what;
        ASSERT_EQ(m_reporter.Reports().size(), 1u) << what;
        EXPECT_EQ(m_reporter.Reports()[0].Label, "SettingsStore:Load");
        EXPECT_EQ(m_reporter.Reports()[0].Number, 321) << what;
        const std::vector<std::string> names = FolderEntries();
        ASSERT_EQ(names.size(), 2u) << what;
        EXPECT_EQ(names[1].rfind("settings.ini.damaged-", 0), 0u) << names[1];
        EXPECT_EQ(ReadFile(File().parent_path() / names[1]), bytes) << what;
        store.SaveSetting("Olmaris60", "QuickTestDates", "Top", "15");
        EXPECT_EQ(store.GetSetting("Olmaris60", "QuickTestDates", "Top", "10"), "15") << what;
    }
}

TEST_F(SettingsStoreTest, SecondDamageInTheSameSecondKeepsBothCopies) {
    FileSettingsStore store(File(), m_reporter);
    WriteRaw("junk one\n");
    store.GetSetting("A", "B", "C", "");
    WriteRaw("junk two\n");
    store.GetSetting("A", "B", "C", "");
    EXPECT_EQ(FolderEntries().size(), 3u);
    EXPECT_EQ(m_reporter.Reports().size(), 2u);
}

TEST_F(SettingsStoreTest, UnwritableStoreIsError75AndEmptyKeyError5) {
    WriteRaw("");
    // A file where the settings folder should be.
    FileSettingsStore blocked(File() / "settings.ini", m_reporter);
    EXPECT_EQ(FailureOf([&] { blocked.SaveSetting("A", "B", "C", "D"); }).Number, 75);
    EXPECT_EQ(blocked.GetSetting("A", "B", "C", "default"), "default");

    FileSettingsStore store(File(), m_reporter);
    EXPECT_EQ(FailureOf([&] { store.SaveSetting("A", "B", "", "D"); }).Number, 5);
}

TEST(SettingsFileTest, SerializedTextParsesBackToTheSameContent) {
    SettingsFile original;
    original.Set("", "", "k", "v");
    original.Set("A\\B", "S\tT", "=", "\x01\x7f");
    original.Set("App", "Section", "#key", " ;value; ");
    // Bytes that are not UTF-8 can only arrive through escapes; they must leave through them.
    original.Set("App", "caf\xe9", "\x82", "caf\xe9 \xc3");
    SettingsFile parsed;
    std::string error;
    ASSERT_TRUE(parsed.Parse(original.Serialize(), error)) << error;
    EXPECT_EQ(parsed, original);
}

}  // namespace
}  // namespace qv
