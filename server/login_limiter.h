// Failed logins counted per client address and per name: after LoginLimits::m_lMaxFailures of
// either within the window, further logins from that address or for that name are refused until the
// oldest of those failures leaves the window.
//
// The counts live in this process only: behind a load balancer each server process limits the
// share of the attempts that reaches it, so the limit a client meets is at most the processes
// times m_lMaxFailures per window.
//
//     if (const auto wait = limiter.RetryAfter(address, name)) { ...429, Retry-After: *wait... }
//     verified ? limiter.RecordSuccess(name) : limiter.RecordFailure(address, name);
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace qv::server {

struct LoginLimits {
    int m_lMaxFailures = 5;
    std::chrono::seconds m_oWindow{60};
};

class LoginLimiter {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit LoginLimiter(Clock p_fnClock = std::chrono::steady_clock::now,
                          LoginLimits p_oLimits = {});

    // The whole seconds to wait before trying again; none while logins are allowed.
    std::optional<std::chrono::seconds> RetryAfter(const std::string& p_sAddress,
                                                   const std::string& p_sName);
    void RecordFailure(const std::string& p_sAddress, const std::string& p_sName);
    // A name logged in: its own failures are forgiven, its address's are not.
    void RecordSuccess(const std::string& p_sName);

  private:
    using TimePoint = std::chrono::steady_clock::time_point;

    // The key of an address and of a name, so that a name cannot pose as an address.
    static std::string AddressKey(const std::string& p_sAddress);
    static std::string NameKey(const std::string& p_sName);
    // The failures of p_sKey still within the window; forgets the key when none are.
    std::deque<TimePoint>* Recent(const std::string& p_sKey, TimePoint p_oNow);
    std::optional<std::chrono::seconds> WaitFor(const std::string& p_sKey, TimePoint p_oNow);

    // Forgets every key whose failures have all left the window, so that addresses and names that
    // never come back do not pile up.
    void Sweep(TimePoint p_oNow);

    static constexpr size_t kFirstSweep = 4096;

    Clock m_fnClock;
    LoginLimits m_oLimits;
    std::mutex m_oMutex;
    std::unordered_map<std::string, std::deque<TimePoint>> m_failures;
    size_t m_llSweepAt = kFirstSweep;
};

}  // namespace qv::server
