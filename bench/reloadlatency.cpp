// reloadlatency [VIEWER [DEMO-DIR [REFERENCE]]]
//
// How soon an edit of a shader shows in the viewer's window. Copies DEMO-DIR into a fresh
// temporary folder, starts a private Xvfb server and VIEWER there, and waits until the
// window shows the REFERENCE picture. Then RELOAD_CHANGES times (default 20) it writes
// shaders/paint.frag, alternately a variant that swaps red and blue in what the shader
// paints and the original, each made outside the scene folder and renamed into place, and
// times from the rename until a grab of the window (one every 2 ms) first differs from the
// picture before. Each change then waits for the picture to settle, which must be the
// reference again after the original, and the same picture after every variant. Prints
// each time on stderr and
//   RELOAD_LATENCY changes=N median_ms=X max_ms=X
// A time is late by at most one pause plus the time one grab takes.
//
// VIEWER, DEMO-DIR and REFERENCE default as for firstframe. Exit status: 0 measured, 1 the
// run failed (no Xvfb, the viewer ended, a change did not show within RELOAD_TIMEOUT_MS,
// default 5000), 2 wrong arguments.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

constexpr auto kPollInterval = std::chrono::milliseconds(2);
constexpr auto kSettlePause = std::chrono::milliseconds(50);
constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr auto kExitTimeout = std::chrono::seconds(5);
// As the end-to-end test of the demo scene.
constexpr ImageComparison::Tolerance kDemoTolerance{8, 0.002};

// A count from the environment variable `name`, `fallback` if it is not set.
int EnvironmentCount(const char* name, int fallback, int most) {
    const char* text = std::getenv(name);
    if (!text) return fallback;
    const int value = std::atoi(text);
    if (value < 1 || value > most) {
        throw std::invalid_argument(std::string(name) + " must be from 1 to " + std::to_string(most));
    }
    return value;
}

// The shader with a last statement that swaps red and blue: a change every object drawn
// with it shows.
std::string SwappedColours(const std::string& shader) {
    const std::size_t end = shader.rfind('}');
    if (end == std::string::npos) throw std::runtime_error("paint.frag has no closing brace");
    return shader.substr(0, end) + "    gl_FragColor.rgb = gl_FragColor.bgr;\n" + shader.substr(end);
}

// Watches one window of the running viewer.
class Window {
public:
    Window(FastGrabber& grabber, WindowId id, ViewerProcess& process)
        : grabber(grabber), id(id), process(process) {}

    // The first picture grabbed within `timeout` for which `done` holds, and when that grab
    // started. Throws std::runtime_error with `what` and the last reason when none does.
    template <typename Done>
    std::pair<RgbImage, Clock::time_point> WaitFor(Done done, std::chrono::milliseconds timeout,
                                                   const std::string& what) {
        const auto deadline = Clock::now() + timeout;
        std::string last = "no picture";
        for (;;) {
            if (!process.Running()) throw std::runtime_error("the viewer ended: " + what);
            const auto started = Clock::now();
            if (started > deadline) throw std::runtime_error(what + " (" + last + ")");
            try {
                RgbImage picture = grabber.Grab(id);
                if (done(picture, last)) return {std::move(picture), started};
            } catch (const std::runtime_error& failure) {
                last = failure.what();  // not viewable (yet)
            }
            std::this_thread::sleep_for(kPollInterval);
        }
    }

    // The picture once two grabs kSettlePause apart are the same.
    RgbImage Settled(std::chrono::milliseconds timeout, const std::string& what) {
        std::optional<RgbImage> previous;
        return WaitFor(
                   [&](const RgbImage& picture, std::string& last) {
                       const bool same = previous && picture == *previous;
                       previous = picture;
                       last = "the picture keeps changing";
                       if (!same) std::this_thread::sleep_for(kSettlePause);
                       return same;
                   },
                   timeout, what)
            .first;
    }

private:
    FastGrabber& grabber;
    WindowId id;
    ViewerProcess& process;
};

// Throws unless `picture` matches `expected` within the demo's tolerance.
void Expect(const RgbImage& picture, const RgbImage& expected, const std::string& what) {
    const ImageComparison comparison(picture, expected, kDemoTolerance);
    if (!comparison.Matches()) throw std::runtime_error(what + ": " + comparison.Describe());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 4 || (argc > 1 && std::string(argv[1]).starts_with("-"))) {
        std::fprintf(stderr, "usage: reloadlatency [VIEWER [DEMO-DIR [REFERENCE]]]\n");
        return 2;
    }
    try {
        const int changes = EnvironmentCount("RELOAD_CHANGES", 20, 1000);
        const std::chrono::milliseconds timeout(EnvironmentCount("RELOAD_TIMEOUT_MS", 5000, 600000));
        const auto [viewer, source] =
            FindViewerAndSource(argc > 1 ? argv[1] : nullptr, argc > 2 ? argv[2] : nullptr);
        const fs::path demo = argc > 2 ? fs::path(argv[2]) : source / "examples" / "demo";
        const fs::path referencePath =
            argc > 3 ? fs::path(argv[3]) : source / "tests" / "e2e" / "reference" / "demo.png";
        const auto reference = RgbImage::LoadPng(referencePath.string());
        if (!reference) throw std::runtime_error("cannot read " + referencePath.string());

        PrivateXvfb server;
        XWindowDriver x("");
        FastGrabber grabber(x);
        TemporaryFolder folder("reloadlatency");
        TemporaryFolder staging("reloadlatency-new");
        fs::copy(demo, folder.path, fs::copy_options::recursive);
        fs::remove(folder.path / "Log.htm");
        const fs::path shader = folder.path / "shaders" / "paint.frag";
        const std::string original = FileText(shader);
        const std::string variant = SwappedColours(original);

        ViewerProcess process(viewer, folder.path);
        const auto id = x.FindWindow(viewer.string(), kStartTimeout);
        if (!id) throw std::runtime_error("no window titled " + viewer.string() + " appeared");
        Window window(grabber, *id, process);
        RgbImage before = window.WaitFor(
            [&](const RgbImage& picture, std::string& last) {
                const ImageComparison comparison(picture, *reference, kDemoTolerance);
                last = comparison.Describe();
                return comparison.Matches();
            },
            kStartTimeout, "the window did not show the demo").first;

        std::optional<RgbImage> variantPicture;
        std::vector<double> times;
        for (int change = 1; change <= changes; ++change) {
            const bool toVariant = change % 2 == 1;
            const fs::path next = staging.path / "paint.frag";
            std::ofstream(next, std::ios::binary) << (toVariant ? variant : original);
            fs::rename(next, shader);
            const auto written = Clock::now();

            const std::string label = "change " + std::to_string(change);
            const auto changed = window.WaitFor(
                [&](const RgbImage& picture, std::string& last) {
                    last = "the picture stayed as before";
                    return !ImageComparison(picture, before, kDemoTolerance).Matches();
                },
                timeout,
                label + ": the window did not change within " + std::to_string(timeout.count()) +
                    " ms of renaming the new shaders/paint.frag into place: no reload?");
            times.push_back(std::chrono::duration<double, std::milli>(changed.second - written).count());
            std::fprintf(stderr, "reloadlatency: %s %.1f ms\n", label.c_str(), times.back());

            before = window.Settled(timeout, label + ": the picture did not settle");
            if (!toVariant) {
                Expect(before, *reference, label + ": the original shader did not bring the demo back");
            } else if (variantPicture) {
                Expect(before, *variantPicture, label + ": the variant showed otherwise than before");
            } else {
                variantPicture = before;
            }
        }

        x.Close(*id);
        if (!process.WaitForExit(kExitTimeout)) {
            throw std::runtime_error("the viewer did not end after its window was closed");
        }
        std::printf("RELOAD_LATENCY changes=%d median_ms=%.1f max_ms=%.1f\n", changes,
                    Median(times), *std::max_element(times.begin(), times.end()));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "reloadlatency: %s\n", failure.what());
        return 1;
    }
    return 0;
}
