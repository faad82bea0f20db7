#include "server/login_limiter.h"

#include <gtest/gtest.h>

#include <set>

#include "server/password_hash.h"

namespace qv::server {
namespace {

using std::chrono::seconds;

class LoginLimiterTest : public ::testing::Test {
  protected:
    void Fail(const std::string& p_sAddress, const std::string& p_sName, int p_lTimes = 1) {
        for (int time = 0; time < p_lTimes; ++time) {
            m_oLimiter.RecordFailure(p_sAddress, p_sName);
        }
    }

    std::chrono::steady_clock::time_point m_oNow{};
    LoginLimiter m_oLimiter{[this] { return m_oNow; }};
};

TEST_F(LoginLimiterTest, FiveFailuresFromAnAddressRefuseItUntilTheFirstLeavesTheWindow) {
    Fail("10.0.0.1", "ada", 4);
    EXPECT_FALSE(m_oLimiter.RetryAfter("10.0.0.1", "bob"));
    m_oNow += seconds{30};
    Fail("10.0.0.1", "bob");
    EXPECT_EQ(m_oLimiter.RetryAfter("10.0.0.1", "carol"), seconds{30});
    EXPECT_FALSE(m_oLimiter.RetryAfter("10.0.0.2", "carol"));
    m_oNow += seconds{29};
    EXPECT_EQ(m_oLimiter.RetryAfter("10.0.0.1", "carol"), seconds{1});
    m_oNow += seconds{1};
    EXPECT_FALSE(m_oLimiter.RetryAfter("10.0.0.1", "carol"));
}

TEST_F(LoginLimiterTest, FailuresForANameCountFromEveryAddressAndALoginForgivesThem) {
    for (const char* address : {"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.5"}) {
        Fail(address, "Ada");
    }
    EXPECT_EQ(m_oLimiter.RetryAfter("10.0.0.6", "aDA"), seconds{60});
    m_oLimiter.RecordSuccess("ada");
    EXPECT_FALSE(m_oLimiter.RetryAfter("10.0.0.6", "ada"));
}

TEST(PasswordHash, VerifiesOnlyTheHashedPasswordAndTokensDiffer) {
    const std::string hash = HashPassword("correct horse");
    EXPECT_TRUE(VerifyPassword(hash, "correct horse"));
    EXPECT_FALSE(VerifyPassword(hash, "Correct horse"));
    EXPECT_FALSE(VerifyPassword("not a hash", "correct horse"));
    EXPECT_NE(HashPassword("correct horse"), hash);
    std::set<std::string> tokens{NewSessionToken(), NewSessionToken()};
    EXPECT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens.begin()->find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(tokens.begin()->size(), 64u);
}

}  // namespace
}  // namespace qv::server
