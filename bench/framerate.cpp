// framerate [VIEWER [DEMO-DIR]]
//
// How fast the viewer draws, and at what cost, when it is left alone on the demo scene.
// Copies DEMO-DIR into a fresh temporary folder, starts a private Xvfb server and VIEWER
// there with libswapcount.so preloaded (it counts the buffer swaps, that is the frames),
// waits for "Main Loop" in Log.htm, lets it settle for half a second, then over
// FRAMES_SECONDS (default 5) counts the frames and the CPU time of all the viewer's
// threads, and of the X server, and prints
//   FRAMES seconds=S frames=N fps=X cpu_share=X xvfb_cpu_share=X
// where a share of 1 is one core busy for the whole interval. Then it ends the viewer
// with SIGTERM, as Ctrl+C does.
//
// VIEWER and DEMO-DIR default as for firstframe. Exit status: 0 measured, 1 the run failed
// (no Xvfb, the viewer ended, no frames counted), 2 wrong arguments.

#include <signal.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "ViewerRun.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr auto kSettle = std::chrono::milliseconds(500);
constexpr auto kExitTimeout = std::chrono::seconds(5);

// The interval from FRAMES_SECONDS, 5 if it is not set.
double MeasureSeconds() {
    const char* text = std::getenv("FRAMES_SECONDS");
    if (!text) return 5.0;
    const double seconds = std::atof(text);
    if (seconds < 0.1 || seconds > 600.0) {
        throw std::invalid_argument("FRAMES_SECONDS must be from 0.1 to 600");
    }
    return seconds;
}

// The frames counted so far by libswapcount.so.
std::uint64_t Frames(const fs::path& counterFile) {
    std::uint64_t count = 0;
    std::ifstream(counterFile, std::ios::binary).read(reinterpret_cast<char*>(&count), sizeof count);
    return count;
}

// One sample of the counters.
struct Sample {
    Clock::time_point time;
    std::uint64_t frames;
    double viewerCpu;
    double serverCpu;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 3 || (argc > 1 && std::string(argv[1]).starts_with("-"))) {
        std::fprintf(stderr, "usage: framerate [VIEWER [DEMO-DIR]]\n");
        return 2;
    }
    try {
        const double seconds = MeasureSeconds();
        const auto [viewer, source] =
            FindViewerAndSource(argc > 1 ? argv[1] : nullptr, argc > 2 ? argv[2] : nullptr);
        const fs::path demo = argc > 2 ? fs::path(argv[2]) : source / "examples" / "demo";
        const fs::path library =
            fs::canonical("/proc/self/exe").parent_path() / "libswapcount.so";
        if (!fs::exists(library)) throw std::runtime_error(library.string() + " is missing");

        PrivateXvfb server;
        TemporaryFolder folder("framerate");
        fs::copy(demo, folder.path, fs::copy_options::recursive);
        fs::remove(folder.path / "Log.htm");
        const fs::path counter = folder.path / "swaps";
        ViewerProcess process(viewer, folder.path,
                              {"LD_PRELOAD=" + library.string(), "SWAPCOUNT_FILE=" + counter.string()});

        const auto deadline = Clock::now() + kStartTimeout;
        while (FileText(folder.path / "Log.htm").find("Main Loop") == std::string::npos) {
            if (!process.Running()) throw std::runtime_error("the viewer ended before its main loop");
            if (Clock::now() > deadline) throw std::runtime_error("no \"Main Loop\" in Log.htm in time");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::this_thread::sleep_for(kSettle);

        const auto sample = [&] {
            return Sample{Clock::now(), Frames(counter), CpuSeconds(process.Pid()),
                          CpuSeconds(server.Pid())};
        };
        const Sample first = sample();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const Sample last = sample();
        if (!process.Running()) throw std::runtime_error("the viewer ended while it was measured");

        const double elapsed = std::chrono::duration<double>(last.time - first.time).count();
        const std::uint64_t frames = last.frames - first.frames;
        if (frames == 0) throw std::runtime_error("no frames counted: did libswapcount.so load?");
        std::printf("FRAMES seconds=%.2f frames=%llu fps=%.1f cpu_share=%.2f xvfb_cpu_share=%.2f\n",
                    elapsed, static_cast<unsigned long long>(frames), frames / elapsed,
                    (last.viewerCpu - first.viewerCpu) / elapsed,
                    (last.serverCpu - first.serverCpu) / elapsed);

        kill(process.Pid(), SIGTERM);
        if (!process.WaitForExit(kExitTimeout)) {
            throw std::runtime_error("the viewer did not end on SIGTERM");
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "framerate: %s\n", failure.what());
        return 1;
    }
    return 0;
}
