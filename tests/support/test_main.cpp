// The main of every test program. Points the per-user folders at the build tree, so that no test
// writes to the real settings or library folder, and names the real market data beside the
// checkout unless the caller named another folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

void SetDefault(const char* p_sName, const std::string& p_sValue) {
    if (std::getenv(p_sName) == nullptr) {
        setenv(p_sName, p_sValue.c_str(), 0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    SetDefault("QV_MARKET_DATA", QV_SOURCE_DIR "/../shared/data/market");
    SetDefault("QV_LIBRARY_DIR", QV_BINARY_DIR "/test-library");
    SetDefault("XDG_CONFIG_HOME", QV_BINARY_DIR "/test-config");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
