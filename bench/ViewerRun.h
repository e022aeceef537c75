#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "RgbImage.h"
#include "XWindowDriver.h"

struct _XDisplay;

// Pieces shared by the benchmarks that run the real viewer: a scratch folder, the viewer
// process, a private X server, fast window grabs and a look at a process's /proc entries.

// The source folder that the build folder `buildDir` was configured from, or nothing.
std::optional<std::filesystem::path> SourceFolderOf(const std::filesystem::path& buildDir);

// A fresh folder under the temporary folder, named PREFIX-XXXXXX, removed with its content
// at the end.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& prefix);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::filesystem::path path;
};

// A private Xvfb server (24-bit colour) that picks a free display itself (-displayfd), so
// runs in parallel never race for one. While it lives, DISPLAY names it in this process's
// environment, for the programs started from here and for XWindowDriver(""). Stopped on
// destruction.
class PrivateXvfb {
public:
    // Throws std::runtime_error if the server does not come up within a few seconds.
    PrivateXvfb();
    ~PrivateXvfb();
    PrivateXvfb(const PrivateXvfb&) = delete;
    PrivateXvfb& operator=(const PrivateXvfb&) = delete;

    pid_t Pid() const { return pid; }

private:
    pid_t pid = -1;
};

// The viewer process of one run; killed and reaped if it is still there at the end.
class ViewerProcess {
public:
    // Starts `viewer` (which is also its argv[0], so its window title) in `folder` with
    // `environment` ("NAME=VALUE") added to this process's, its output going to
    // folder/viewer-output.txt.
    ViewerProcess(const std::filesystem::path& viewer, const std::filesystem::path& folder,
                  const std::vector<std::string>& environment = {});
    ~ViewerProcess();
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    pid_t Pid() const { return pid; }
    bool Running();

    // Waits up to `timeout` for the process to end; false if it is still running.
    bool WaitForExit(std::chrono::seconds timeout);

private:
    pid_t pid = -1;
};

// Pictures of a window read straight from the server's 32-bit true-colour pixels, a few
// milliseconds each, where XWindowDriver::Grab, pixel by pixel, takes five to fifteen: the
// grab time bounds how finely a change on the screen can be timed. Other pixel formats go
// through the driver.
class FastGrabber {
public:
    explicit FastGrabber(XWindowDriver& driver);
    ~FastGrabber();
    FastGrabber(const FastGrabber&) = delete;
    FastGrabber& operator=(const FastGrabber&) = delete;

    // The window's picture. Throws std::runtime_error if it cannot be read (not viewable
    // yet, or gone).
    RgbImage Grab(WindowId window);

private:
    XWindowDriver& driver;
    _XDisplay* display;
};

// The whole text of a file; empty if it cannot be read.
std::string FileText(const std::filesystem::path& path);

// The CPU time, user and system, of all threads of process `pid` so far, in seconds
// (/proc/PID/stat). Throws std::runtime_error if the process is gone.
double CpuSeconds(pid_t pid);

// Where a benchmark's viewer and source folder are: VIEWER as given, else the sceneviewer
// beside this program's folder (build/bench/..); the source folder recorded in that build
// folder's CMakeCache.txt, else two folders above `demoArgument` (examples/demo) when it
// is given. Throws std::runtime_error when neither tells the source folder.
struct ViewerAndSource {
    std::filesystem::path viewer;
    std::filesystem::path source;
};
ViewerAndSource FindViewerAndSource(const char* viewerArgument, const char* demoArgument);
