// firstframe [VIEWER [DEMO-DIR [REFERENCE]]]
//
// How long the viewer takes from being started to its window first showing the demo
// scene. Each run copies DEMO-DIR into a fresh temporary folder, starts VIEWER there on
// $DISPLAY (an Xvfb server with 24-bit colour, say), and from then on looks for its window
// and grabs its pixels, pausing 5 ms between looks, until they match the REFERENCE picture
// within the end-to-end tests' tolerance; then it closes the window as a window manager
// does. One run first warms the caches (files, Mesa's shader cache) and is not counted;
// then BENCH_RUNS runs (default 5) are timed, each printed on stderr, and the summary is
//   FIRSTFRAME runs=N ms_min=X ms_med=X ms_max=X
// The time of a run is taken when the grab that matched was started, so it is late by at
// most one pause plus the time one grab takes.
//
// VIEWER defaults to the sceneviewer beside this program's folder (build/bench/..);
// DEMO-DIR to examples/demo and REFERENCE to tests/e2e/reference/demo.png in the source
// folder recorded in that build folder's CMakeCache.txt (or, without one, two folders
// above DEMO-DIR). Exit status: 0 measured, 1 a run failed (no display, the viewer ended or
// never showed the scene), 2 wrong arguments.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ImageComparison.h"
#include "LoadBench.h"
#include "RgbImage.h"
#include "ViewerRun.h"
#include "XWindowDriver.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr auto kPollInterval = std::chrono::milliseconds(5);
constexpr auto kRunTimeout = std::chrono::seconds(10);
constexpr auto kExitTimeout = std::chrono::seconds(5);
// As the end-to-end test of the demo scene.
constexpr ImageComparison::Tolerance kDemoTolerance{8, 0.002};

// One start of the viewer on a fresh copy of the demo: milliseconds until its window
// shows the reference picture. Throws std::runtime_error when it does not.
double TimeFirstFrame(XWindowDriver& x, FastGrabber& grabber, const fs::path& viewer,
                      const fs::path& demo, const RgbImage& reference) {
    TemporaryFolder folder("firstframe");
    fs::copy(demo, folder.path, fs::copy_options::recursive);
    fs::remove(folder.path / "Log.htm");

    const auto start = Clock::now();
    ViewerProcess process(viewer, folder.path);
    std::optional<WindowId> window;
    std::optional<double> milliseconds;
    std::string last = "no window titled " + viewer.string() + " appeared";
    while (!milliseconds) {
        std::this_thread::sleep_for(kPollInterval);
        const auto now = Clock::now();
        if (!process.Running()) throw std::runtime_error("the viewer ended before its first frame");
        if (now - start > kRunTimeout) {
            throw std::runtime_error("the viewer did not show the demo in time: " + last);
        }
        if (!window) window = x.FindWindow(viewer.string(), std::chrono::milliseconds(0));
        if (!window) continue;
        try {
            const ImageComparison comparison(grabber.Grab(*window), reference, kDemoTolerance);
            if (comparison.Matches()) {
                milliseconds = std::chrono::duration<double, std::milli>(now - start).count();
            } else {
                last = comparison.Describe();
            }
        } catch (const std::runtime_error& failure) {
            last = failure.what();  // not viewable yet
        }
    }

    x.Close(*window);
    if (!process.WaitForExit(kExitTimeout)) {
        throw std::runtime_error("the viewer did not end after its window was closed");
    }
    return *milliseconds;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 4 || (argc > 1 && std::string(argv[1]).starts_with("-"))) {
        std::fprintf(stderr, "usage: firstframe [VIEWER [DEMO-DIR [REFERENCE]]]\n");
        return 2;
    }
    try {
        const fs::path here = fs::canonical("/proc/self/exe").parent_path();
        const fs::path viewer =
            fs::absolute(argc > 1 ? fs::path(argv[1]) : here.parent_path() / "sceneviewer");
        std::optional<fs::path> source = SourceFolderOf(viewer.parent_path());
        if (!source && argc > 2) source = fs::canonical(argv[2]).parent_path().parent_path();
        if (!source) {
            std::fprintf(stderr, "firstframe: no CMakeCache.txt beside %s; name DEMO-DIR\n",
                         viewer.c_str());
            return 2;
        }
        const fs::path demo = argc > 2 ? fs::path(argv[2]) : *source / "examples" / "demo";
        const fs::path referencePath =
            argc > 3 ? fs::path(argv[3]) : *source / "tests" / "e2e" / "reference" / "demo.png";
        const auto reference = RgbImage::LoadPng(referencePath.string());
        if (!reference) throw std::runtime_error("cannot read " + referencePath.string());
        const int runs = BenchRuns();

        XWindowDriver x("");
        FastGrabber grabber(x);
        std::fprintf(stderr, "firstframe: warm-up %.1f ms\n",
                     TimeFirstFrame(x, grabber, viewer, demo, *reference));
        std::vector<double> times;
        for (int run = 1; run <= runs; ++run) {
            times.push_back(TimeFirstFrame(x, grabber, viewer, demo, *reference));
            std::fprintf(stderr, "firstframe: run %d %.1f ms\n", run, times.back());
        }
        std::sort(times.begin(), times.end());
        const std::size_t middle = times.size() / 2;
        const double median =
            times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
        std::printf("FIRSTFRAME runs=%d ms_min=%.1f ms_med=%.1f ms_max=%.1f\n", runs, times.front(),
                    median, times.back());
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "firstframe: %s\n", failure.what());
        return 1;
    }
    return 0;
}
