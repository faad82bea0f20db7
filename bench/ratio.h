// Runs the Google Benchmark cases of one program and closes with one line per declared ratio:
//
//     RATIO <name> <measured> <bound>
//
// where <measured> is the time of one case divided by that of its baseline case, both
// measured in the same run: the real (or manual) time of a case that asks for it, the CPU time of
// its thread otherwise. A case given repetitions is measured by the median of its runs. Usage, at
// the end of a benchmark program:
//
//     int main(int argc, char** argv) {
//         return qv::bench::RunWithRatios(argc, argv, {{"recordset.filter.10k",
//                                                      "BM_Filter/10000", "BM_FilterLoop/10000",
//                                                      3}});
//     }
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::bench {

struct RatioSpec {
    std::string name;
    std::string measured;  // benchmark name as Google Benchmark reports it
    std::string baseline;
    double bound;
};

// Prints a RATIO line for a figure measured outside Google Benchmark (memory, for example).
void PrintRatio(const std::string& name, double measured, double bound);

// Runs all registered benchmarks, then prints the declared ratios. Returns 0, or 1 when a case of
// a ratio did not run (a misspelt name must not pass silently) or a ratio is above its bound.
int RunWithRatios(int argc, char** argv, const std::vector<RatioSpec>& entries);

// The CPU time of the calling thread, in seconds: for cases that time a part of each iteration
// themselves, untouched by other processes on a shared machine.
double ThreadSeconds();

// p_sPrefix followed by p_lNumber, for generated rows ("S" + std::to_string(i) gives a false
// -Wrestrict warning with GCC 12 at -O2).
std::string Numbered(const char* p_sPrefix, int32_t p_lNumber);

}  // namespace qv::bench
