#include "bench/ratio.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <time.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>

namespace qv::bench {
namespace {

// A case that asks for real or manual time is measured by it; any other by the CPU time of its
// thread, so that other processes on a shared machine do not enter the ratios.
double TimeOf(const benchmark::BenchmarkReporter::Run& p_run) {
    const std::string name = p_run.run_name.str();
    const auto EndsWith = [&](std::string_view p_sEnd) {
        return name.size() >= p_sEnd.size() &&
               name.compare(name.size() - p_sEnd.size(), p_sEnd.size(), p_sEnd) == 0;
    };
    if (EndsWith("/manual_time") || EndsWith("/real_time")) {
        return p_run.GetAdjustedRealTime();
    }
    return p_run.GetAdjustedCPUTime();
}

// Keeps the console output and remembers each case's time.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& p_runs) override {
        for (const Run& run : p_runs) {
            if (run.error_occurred) {
                continue;
            }
            // A case run several times is taken by its median run, which a moment of another
            // process's work on a shared machine does not move.
            if (run.run_type == Run::RT_Iteration ||
                (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")) {
                m_times[run.run_name.str()] = TimeOf(run);
            }
        }
        ConsoleReporter::ReportRuns(p_runs);
    }

    const std::map<std::string, double>& Times() const { return m_times; }

  private:
    std::map<std::string, double> m_times;
};

}  // namespace

void PrintRatio(const std::string& name, double measured, double bound) {
    std::printf("RATIO %s %.3g %g\n", name.c_str(), measured, bound);
    std::fflush(stdout);
}

int RunWithRatios(int argc, char** argv, const std::vector<RatioSpec>& entries) {
    // glibc moves its mmap and trim thresholds as blocks are freed, so whether a case's memory
    // goes back to the system between iterations (and is faulted in again) depends on what ran
    // before it. Fixed thresholds give a case and its baseline the same allocator to run on.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    int status = 0;
    for (const RatioSpec& entry : entries) {
        auto measured = reporter.Times().find(entry.measured);
        auto baseline = reporter.Times().find(entry.baseline);
        if (measured == reporter.Times().end() || baseline == reporter.Times().end() ||
            baseline->second <= 0) {
            std::printf("RATIO %s missing %g\n", entry.name.c_str(), entry.bound);
            status = 1;
            continue;
        }
        const double ratio = measured->second / baseline->second;
        PrintRatio(entry.name, ratio, entry.bound);
        if (ratio > entry.bound) {
            std::printf("RATIO %s is above its bound\n", entry.name.c_str());
            status = 1;
        }
    }
    return status;
}

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

std::string Numbered(const char* p_sPrefix, int32_t p_lNumber) {
    std::string text(p_sPrefix);
    text += std::to_string(p_lNumber);
    return text;
}

}  // namespace qv::bench
