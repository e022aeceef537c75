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

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ImageComparison.h"
#include "RgbImage.h"
#include "LoadBench.h"
#include "XWindowDriver.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr auto kPollInterval = std::chrono::milliseconds(5);
constexpr auto kRunTimeout = std::chrono::seconds(10);
constexpr auto kExitTimeout = std::chrono::seconds(5);
// As the end-to-end test of the demo scene.
constexpr ImageComparison::Tolerance kDemoTolerance{8, 0.002};

// The source folder that the build folder `buildDir` was configured from, or nothing.
std::optional<fs::path> SourceFolderOf(const fs::path& buildDir) {
    std::ifstream cache(buildDir / "CMakeCache.txt");
    const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
    for (std::string line; std::getline(cache, line);) {
        if (line.starts_with(key)) return fs::path(line.substr(key.size()));
    }
    return std::nullopt;
}

// A fresh folder under the temporary folder, removed with its content at the end.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "firstframe-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    fs::path path;
};

// The viewer process of one run; killed and reaped if it is still there at the end.
class ViewerProcess {
public:
    // Starts `viewer` (which is also its argv[0], so its window title) in `folder`, its
    // output going to folder/viewer-output.txt.
    ViewerProcess(const fs::path& viewer, const fs::path& folder) {
        const std::string program = viewer.string();
        const std::string output = (folder / "viewer-output.txt").string();
        pid = fork();
        if (pid < 0) throw std::runtime_error("fork failed");
        if (pid == 0) {
            const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd >= 0) {
                dup2(fd, STDOUT_FILENO);
                dup2(fd, STDERR_FILENO);
            }
            if (chdir(folder.c_str()) != 0) _exit(127);
            char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
            execv(program.c_str(), argv);
            _exit(127);
        }
    }
    ~ViewerProcess() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    bool Running() {
        if (pid <= 0) return false;
        if (waitpid(pid, nullptr, WNOHANG) == 0) return true;
        pid = -1;
        return false;
    }

    // Waits up to `timeout` for the process to end; false if it is still running.
    bool WaitForExit(std::chrono::seconds timeout) {
        const auto deadline = Clock::now() + timeout;
        while (Running()) {
            if (Clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

private:
    pid_t pid = -1;
};

// Pictures of a window read straight from the server's 32-bit true-colour pixels, a few
// milliseconds each, where XWindowDriver::Grab, pixel by pixel, takes five to fifteen: the
// grab time bounds how finely the first frame can be timed. Other pixel formats go
// through the driver.
class FastGrabber {
public:
    explicit FastGrabber(XWindowDriver& driver) : driver(driver), display(XOpenDisplay(nullptr)) {
        if (!display) throw std::runtime_error("cannot open the X display");
    }
    ~FastGrabber() { XCloseDisplay(display); }
    FastGrabber(const FastGrabber&) = delete;
    FastGrabber& operator=(const FastGrabber&) = delete;

    // The window's picture. Throws std::runtime_error if it cannot be read (not viewable
    // yet, or gone).
    RgbImage Grab(WindowId window) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, window, &attributes) ||
            attributes.map_state != IsViewable) {
            throw std::runtime_error("the window is not viewable");
        }
        const std::unique_ptr<XImage, int (*)(XImage*)> image(
            XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                      static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap),
            [](XImage* i) { return XDestroyImage(i); });
        if (!image) throw std::runtime_error("XGetImage failed");
        if (image->bits_per_pixel != 32 || image->byte_order != LSBFirst ||
            image->red_mask != 0xff0000 || image->green_mask != 0xff00 ||
            image->blue_mask != 0xff) {
            return driver.Grab(window);
        }
        RgbImage picture(image->width, image->height);
        for (int y = 0; y < image->height; ++y) {
            const auto* row = reinterpret_cast<const std::uint8_t*>(image->data) +
                              static_cast<std::ptrdiff_t>(y) * image->bytes_per_line;
            for (int x = 0; x < image->width; ++x) {
                std::uint8_t* rgb = picture.At(x, y);
                rgb[0] = row[x * 4 + 2];
                rgb[1] = row[x * 4 + 1];
                rgb[2] = row[x * 4];
            }
        }
        return picture;
    }

private:
    XWindowDriver& driver;
    Display* display;
};

// One start of the viewer on a fresh copy of the demo: milliseconds until its window
// shows the reference picture. Throws std::runtime_error when it does not.
double TimeFirstFrame(XWindowDriver& x, FastGrabber& grabber, const fs::path& viewer,
                      const fs::path& demo, const RgbImage& reference) {
    TemporaryFolder folder;
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
