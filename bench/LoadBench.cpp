#include "LoadBench.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <fstream>
#include <string>
#include <vector>

int BenchRuns() {
    const char* text = std::getenv("BENCH_RUNS");
    if (!text || !*text) return 5;
    char* end = nullptr;
    const long runs = std::strtol(text, &end, 10);
    if (*end != '\0' || runs < 1 || runs > 1000) {
        throw std::invalid_argument(std::string("BENCH_RUNS must be a count from 1 to 1000, not ") +
                                    text);
    }
    return static_cast<int>(runs);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2;
}

std::uint64_t PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            std::uint64_t kilobytes = 0;
            status >> kilobytes;  // followed by "kB"
            return kilobytes * 1024;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

std::optional<BenchFile> BenchArguments(int argc, char** argv, const std::string& defaultLabel,
                                        int& status) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s FILE [LABEL]\n", argv[0]);
        status = 2;
        return std::nullopt;
    }
    BenchFile file{argv[1], argc == 3 ? argv[2] : defaultLabel, 0};
    std::error_code error;
    file.bytes = std::filesystem::file_size(file.path, error);
    if (error) {
        std::fprintf(stderr, "%s: cannot read %s: %s\n", argv[0], file.path.c_str(),
                     error.message().c_str());
        status = 1;
        return std::nullopt;
    }
    return file;
}

int RunLoadBench(int argc, char** argv, const std::string& defaultLabel,
                 const std::function<LoadCounts(const std::string& path)>& load) {
    int status = 0;
    const std::optional<BenchFile> file = BenchArguments(argc, argv, defaultLabel, status);
    if (!file) return status;
    const std::string& path = file->path;
    const std::string& label = file->label;
    const std::uintmax_t bytes = file->bytes;
    const int runs = BenchRuns();
    std::vector<double> seconds;
    LoadCounts counts;
    try {
        load(path);  // warms the page cache; not timed
        for (int run = 0; run < runs; ++run) {
            // What the last load freed goes back to the system, so that every load finds
            // its memory as a fresh process would, whatever the allocator kept.
            malloc_trim(0);
            const auto start = std::chrono::steady_clock::now();
            counts = load(path);
            const auto stop = std::chrono::steady_clock::now();
            seconds.push_back(std::chrono::duration<double>(stop - start).count());
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
        return 1;
    }
    std::sort(seconds.begin(), seconds.end());
    const double best = seconds.front();
    const double median = seconds.size() % 2 == 1
                              ? seconds[seconds.size() / 2]
                              : (seconds[seconds.size() / 2 - 1] + seconds[seconds.size() / 2]) / 2;
    const double worst = seconds.back();
    const double megabytes = static_cast<double>(bytes) / 1e6;
    std::printf(
        "RESULT loader=%s file=%s bytes=%ju runs=%d t_min=%.6f t_med=%.6f t_max=%.6f "
        "MBps_best=%.1f MBps_med=%.1f MBps_worst=%.1f v=%ju vt=%ju vn=%ju f=%ju\n",
        label.c_str(), std::filesystem::path(path).filename().c_str(), bytes, runs, best, median,
        worst, megabytes / best, megabytes / median, megabytes / worst,
        static_cast<std::uintmax_t>(counts.v), static_cast<std::uintmax_t>(counts.vt),
        static_cast<std::uintmax_t>(counts.vn), static_cast<std::uintmax_t>(counts.f));
    return 0;
}
