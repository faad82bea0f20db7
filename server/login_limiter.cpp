#include "server/login_limiter.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "outside/text_util.h"

namespace qv::server {

LoginLimiter::LoginLimiter(Clock p_fnClock, LoginLimits p_oLimits)
    : m_fnClock(std::move(p_fnClock)), m_oLimits(p_oLimits) {}

std::string LoginLimiter::AddressKey(const std::string& p_sAddress) {
    return "address " + p_sAddress;
}

std::string LoginLimiter::NameKey(const std::string& p_sName) {
    return "name " + ToLowerAscii(p_sName);
}

std::deque<LoginLimiter::TimePoint>* LoginLimiter::Recent(const std::string& p_sKey,
                                                          TimePoint p_oNow) {
    const auto found = m_failures.find(p_sKey);
    if (found == m_failures.end()) {
        return nullptr;
    }
    std::deque<TimePoint>& times = found->second;
    while (!times.empty() && times.front() + m_oLimits.m_oWindow <= p_oNow) {
        times.pop_front();
    }
    if (times.empty()) {
        m_failures.erase(found);
        return nullptr;
    }
    return &times;
}

std::optional<std::chrono::seconds> LoginLimiter::WaitFor(const std::string& p_sKey,
                                                          TimePoint p_oNow) {
    const std::deque<TimePoint>* times = Recent(p_sKey, p_oNow);
    if (times == nullptr || static_cast<int>(times->size()) < m_oLimits.m_lMaxFailures) {
        return std::nullopt;
    }
    // A key holds at most the limit of failures: the refusal lasts until the oldest leaves.
    const TimePoint until = times->front() + m_oLimits.m_oWindow;
    const auto wait = std::chrono::ceil<std::chrono::seconds>(until - p_oNow);
    return std::max(wait, std::chrono::seconds{1});
}

std::optional<std::chrono::seconds> LoginLimiter::RetryAfter(const std::string& p_sAddress,
                                                             const std::string& p_sName) {
    const TimePoint now = m_fnClock();
    std::lock_guard<std::mutex> lock(m_oMutex);
    const std::optional<std::chrono::seconds> byAddress = WaitFor(AddressKey(p_sAddress), now);
    const std::optional<std::chrono::seconds> byName = WaitFor(NameKey(p_sName), now);
    if (!byAddress) {
        return byName;
    }
    return byName ? std::max(*byAddress, *byName) : byAddress;
}

void LoginLimiter::RecordFailure(const std::string& p_sAddress, const std::string& p_sName) {
    const TimePoint now = m_fnClock();
    std::lock_guard<std::mutex> lock(m_oMutex);
    for (const std::string& key : {AddressKey(p_sAddress), NameKey(p_sName)}) {
        std::deque<TimePoint>& times = m_failures[key];
        times.push_back(now);
        while (static_cast<int>(times.size()) > m_oLimits.m_lMaxFailures) {
            times.pop_front();
        }
    }
    if (m_failures.size() >= m_llSweepAt) {
        Sweep(now);
    }
}

void LoginLimiter::Sweep(TimePoint p_oNow) {
    std::vector<std::string> keys;
    keys.reserve(m_failures.size());
    for (const auto& entry : m_failures) {
        keys.push_back(entry.first);
    }
    for (const std::string& key : keys) {
        Recent(key, p_oNow);
    }
    m_llSweepAt = std::max(kFirstSweep, 2 * m_failures.size());
}

void LoginLimiter::RecordSuccess(const std::string& p_sName) {
    std::lock_guard<std::mutex> lock(m_oMutex);
    m_failures.erase(NameKey(p_sName));
}

}  // namespace qv::server
