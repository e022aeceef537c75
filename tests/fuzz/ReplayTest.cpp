// Runs every kept input of each fuzz target, its seed corpus and the inputs that once made
// it fail, through the target's body: a fault found by fuzzing stays a test in every
// build, the sanitized ones included.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "FuzzTargets.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define FUZZ_REPLAY_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define FUZZ_REPLAY_SANITIZED 1
#endif
#ifdef FUZZ_REPLAY_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

namespace fs = std::filesystem;

struct Target {
    const char* name;
    int (*body)(const std::uint8_t*, std::size_t);
};

void PrintTo(const Target& target, std::ostream* out) { *out << target.name; }

// A broken invariant, thrown instead of aborting so the test can name the input.
class CheckFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The input being run, for the last words of a crash: a sanitizer report or a signal
// says where in the code, this says which file.
char current[4096];

void SayCurrent() {
    static const char prefix[] = "fuzz replay: the input was ";
    if (::write(STDERR_FILENO, prefix, sizeof prefix - 1) < 0) return;
    if (::write(STDERR_FILENO, current, std::strlen(current)) < 0) return;
    if (::write(STDERR_FILENO, "\n", 1) < 0) return;
}

#ifndef FUZZ_REPLAY_SANITIZED
void OnFatalSignal(int signal) {
    SayCurrent();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
#endif

// Installed once, before the first input runs.
void WatchForCrashes() {
    static const bool installed = [] {
#ifdef FUZZ_REPLAY_SANITIZED
        // The sanitizers handle the signals themselves and call this before exiting.
        __sanitizer_set_death_callback(SayCurrent);
#else
        for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
            std::signal(signal, OnFatalSignal);
        }
#endif
        return true;
    }();
    (void)installed;
}

// The files of the target's folder under `kind` (corpus or regressions), sorted; the
// folder's notes and hidden files are not inputs.
std::vector<fs::path> Inputs(const char* kind, const char* target) {
    std::vector<fs::path> files;
    const fs::path folder = fs::path(FUZZ_DATA_DIR) / kind / target;
    if (!fs::is_directory(folder)) return files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name.starts_with(".") || name == "README.md") continue;
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The whole file in a block of exactly its size, so that a read past its end is caught
// by the address sanitizer as it would be under the fuzzer.
std::unique_ptr<std::uint8_t[]> Load(const fs::path& path, std::size_t& size) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    size = bytes.size();
    auto data = std::make_unique<std::uint8_t[]>(size);
    std::copy(bytes.begin(), bytes.end(), data.get());
    return data;
}

class FuzzReplay : public ::testing::TestWithParam<Target> {
protected:
    void SetUp() override {
        WatchForCrashes();
        SetFuzzFailureHandler([](const std::string& what) { throw CheckFailure(what); });
    }
    void TearDown() override { SetFuzzFailureHandler(nullptr); }
};

TEST_P(FuzzReplay, EveryKeptInputPasses) {
    const Target& target = GetParam();
    const std::vector<fs::path> corpus = Inputs("corpus", target.name);
    // An empty corpus would make this pass without running anything.
    EXPECT_FALSE(corpus.empty()) << "no seed corpus in " << FUZZ_DATA_DIR << "/corpus/"
                                 << target.name;
    std::vector<fs::path> all = corpus;
    const std::vector<fs::path> regressions = Inputs("regressions", target.name);
    all.insert(all.end(), regressions.begin(), regressions.end());

    for (const fs::path& path : all) {
        std::snprintf(current, sizeof current, "%s", path.c_str());
        std::size_t size = 0;
        const std::unique_ptr<std::uint8_t[]> data = Load(path, size);
        try {
            target.body(data.get(), size);
        } catch (const CheckFailure& failure) {
            ADD_FAILURE() << path.string() << ": " << failure.what();
        } catch (const std::exception& failure) {
            ADD_FAILURE() << path.string() << ": the body let out " << failure.what();
        }
    }
    current[0] = '\0';
}

INSTANTIATE_TEST_SUITE_P(, FuzzReplay,
                         ::testing::Values(Target{"fuzz_obj", FuzzObj}, Target{"fuzz_r", FuzzR},
                                           Target{"fuzz_ra", FuzzRA},
                                           Target{"fuzz_values", FuzzValues},
                                           Target{"fuzz_scene", FuzzScene}),
                         [](const ::testing::TestParamInfo<Target>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
