#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What one load of a model file found, printed with its timings so that loaders can be
// set side by side. R and RA files give their vertices as `v` and triangles as `f`.
struct LoadCounts {
    std::uint64_t v = 0;
    std::uint64_t vt = 0;
    std::uint64_t vn = 0;
    std::uint64_t f = 0;
};

// The number of timed runs: the environment's BENCH_RUNS, 5 if it is not set. Throws
// std::invalid_argument for anything but a count from 1 to 1000.
int BenchRuns();

// The median of `values`, which must not be empty.
double Median(std::vector<double> values);

// The `FILE [LABEL]` arguments of a benchmark, and the file's size.
struct BenchFile {
    std::string path;
    std::string label;
    std::uintmax_t bytes = 0;
};

// Reads them; on a usage error (status 2) or a file whose size cannot be read (status 1)
// says what is wrong on stderr, sets `status` and returns nothing.
std::optional<BenchFile> BenchArguments(int argc, char** argv, const std::string& defaultLabel,
                                        int& status);

// The main of a loader benchmark: `PROGRAM FILE [LABEL]`. Loads FILE once to warm the page
// cache, then BENCH_RUNS times (default 5), each load starting from nothing: what the last
// one freed is first given back to the system, so every load meets fresh memory. Prints
//   RESULT loader=LABEL file=NAME bytes=B runs=N t_min=S t_med=S t_max=S MBps_best=X
//   MBps_med=X MBps_worst=X v=N vt=N vn=N f=N
// on one line. A load that throws is reported on stderr with status 1.
int RunLoadBench(int argc, char** argv, const std::string& defaultLabel,
                 const std::function<LoadCounts(const std::string& path)>& load);

// The process's peak resident memory so far (VmHWM in /proc/self/status), in bytes; 0 where
// the system does not say.
std::uint64_t PeakResidentBytes();
