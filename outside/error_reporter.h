// The shared error reporter every procedure with a handler calls on its way out.
//
// Each procedure reports on every exit with its literal label ("Viewer:UpdateViewer",
// "Viewer: ClearResults"); the reporter acts only when a failure is pending: it records the
// report (label, number, source, description) for tests and appends one line to its log file.
// Every call, acting or not, is remembered by label so that tests can check that a procedure
// reported. The records keep the most recent calls only, so a long session does not grow
// without bound, and the log file is rotated once it grows large. The reporter never throws: a
// log that cannot be written is skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

class AutomationError;

struct ErrorReport {
    std::string Label;
    int32_t Number = 0;
    std::string Source;
    std::string Description;
};

class ErrorReporter {
  public:
    using LogPathFn = std::function<std::filesystem::path()>;

    static constexpr size_t kMaxRecords = 10000;
    static constexpr uintmax_t kMaxLogBytes = 1 << 20;

    // A reporter without a log file.
    ErrorReporter() = default;
    // p_fnLogPath names the log file at each report; it may throw (no folder), which skips the log.
    explicit ErrorReporter(LogPathFn p_fnLogPath);

    // The call on every exit of a procedure: p_pPending is the failure pending, or null.
    void Report(std::string_view p_sLabel, const AutomationError* p_pPending) noexcept;
    // Reports a failure outside a procedure scope (a damaged settings file).
    void Report(std::string_view p_sLabel, const AutomationError& p_error) noexcept;
    // Hears each failure once it is recorded, so that a window can show it to the person; null
    // for none. What the listener throws is dropped: reporting never fails.
    void SetListener(std::function<void(const ErrorReport&)> p_fnListener);

    // The labels of every call, oldest first.
    const std::deque<std::string>& Calls() const { return m_calls; }
    // The failures reported, oldest first.
    const std::deque<ErrorReport>& Reports() const { return m_reports; }
    std::optional<ErrorReport> LastReport() const;
    size_t CountCalls(std::string_view p_sLabel) const;
    size_t CountReports(std::string_view p_sLabel) const;
    void ClearRecords();

  private:
    void AppendLogLine(const ErrorReport& p_report) const;

    LogPathFn m_fnLogPath;
    std::function<void(const ErrorReport&)> m_fnListener;
    std::deque<std::string> m_calls;
    std::deque<ErrorReport> m_reports;
};

}  // namespace qv
