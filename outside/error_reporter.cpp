#include "outside/error_reporter.h"

#include "outside/automation_error.h"
#include "outside/file_util.h"

#include <algorithm>
#include <fstream>
#include <system_error>
#include <utility>

namespace qv {

namespace {

// One report is one line: control characters in the fields would split it or shift its columns.
std::string OneLine(std::string_view p_sText) {
    std::string line(p_sText);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = ' ';
        }
    }
    return line;
}

template <class T>
void PushBounded(std::deque<T>& p_records, T p_value) {
    if (p_records.size() >= ErrorReporter::kMaxRecords) {
        p_records.pop_front();
    }
    p_records.push_back(std::move(p_value));
}

void RotateIfLarge(const std::filesystem::path& p_path) {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(p_path, error);
    if (error || size < ErrorReporter::kMaxLogBytes) {
        return;
    }
    std::filesystem::path previous = p_path;
    previous += ".1";
    std::filesystem::rename(p_path, previous, error);
}

}  // namespace

ErrorReporter::ErrorReporter(LogPathFn p_fnLogPath) : m_fnLogPath(std::move(p_fnLogPath)) {}

void ErrorReporter::Report(std::string_view p_sLabel, const AutomationError* p_pPending) noexcept {
    try {
        PushBounded(m_calls, std::string(p_sLabel));
        if (p_pPending == nullptr) {
            return;
        }
        ErrorReport report{std::string(p_sLabel), p_pPending->Number(), p_pPending->Source(),
                           p_pPending->Description()};
        AppendLogLine(report);
        PushBounded(m_reports, report);
        if (m_fnListener) {
            m_fnListener(report);
        }
    } catch (...) {
        // Out of memory while recording, or a listener that failed: the caller goes on.
    }
}

void ErrorReporter::Report(std::string_view p_sLabel, const AutomationError& p_error) noexcept {
    Report(p_sLabel, &p_error);
}

void ErrorReporter::SetListener(std::function<void(const ErrorReport&)> p_fnListener) {
    m_fnListener = std::move(p_fnListener);
}

std::optional<ErrorReport> ErrorReporter::LastReport() const {
    if (m_reports.empty()) {
        return std::nullopt;
    }
    return m_reports.back();
}

size_t ErrorReporter::CountCalls(std::string_view p_sLabel) const {
    return static_cast<size_t>(std::count(m_calls.begin(), m_calls.end(), p_sLabel));
}

size_t ErrorReporter::CountReports(std::string_view p_sLabel) const {
    return static_cast<size_t>(
        std::count_if(m_reports.begin(), m_reports.end(),
                      [p_sLabel](const ErrorReport& report) { return report.Label == p_sLabel; }));
}

void ErrorReporter::ClearRecords() {
    m_calls.clear();
    m_reports.clear();
}

void ErrorReporter::AppendLogLine(const ErrorReport& p_report) const {
    if (!m_fnLogPath) {
        return;
    }
    try {
        const std::filesystem::path path = m_fnLogPath();
        RotateIfLarge(path);
        std::ofstream log(path, std::ios::app | std::ios::binary);
        log << UtcTimestamp("%Y-%m-%dT%H:%M:%SZ") << '\t' << OneLine(p_report.Label) << '\t'
            << p_report.Number << '\t' << OneLine(p_report.Source) << '\t'
            << OneLine(p_report.Description) << '\n';
    } catch (...) {
        // No folder or no disk: the record in memory is all that is kept.
    }
}

}  // namespace qv
