#include "ViewerRun.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::optional<fs::path> SourceFolderOf(const fs::path& buildDir) {
    std::ifstream cache(buildDir / "CMakeCache.txt");
    const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
    for (std::string line; std::getline(cache, line);) {
        if (line.starts_with(key)) return fs::path(line.substr(key.size()));
    }
    return std::nullopt;
}

TemporaryFolder::TemporaryFolder(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

PrivateXvfb::PrivateXvfb() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        // The write end stays open across exec for the server to report its display on.
        fcntl(fds[1], F_SETFD, 0);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);

    // The server writes the number once it accepts clients.
    std::string number;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (number.empty() || number.back() != '\n') {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd waitFor{fds[0], POLLIN, 0};
        const int ready = left.count() > 0 ? poll(&waitFor, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR) continue;
        char buffer[32];
        const ssize_t got = ready > 0 ? read(fds[0], buffer, sizeof buffer) : 0;
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            close(fds[0]);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            throw std::runtime_error("Xvfb did not report a display (is it installed?)");
        }
        number.append(buffer, static_cast<std::size_t>(got));
    }
    close(fds[0]);
    number.pop_back();
    setenv("DISPLAY", (":" + number).c_str(), 1);
}

PrivateXvfb::~PrivateXvfb() {
    unsetenv("DISPLAY");
    kill(pid, SIGTERM);
    for (int i = 0; i < 300 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (kill(pid, SIGKILL) == 0) waitpid(pid, nullptr, 0);
}

ViewerProcess::ViewerProcess(const fs::path& viewer, const fs::path& folder,
                             const std::vector<std::string>& environment) {
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
        for (const std::string& variable : environment) putenv(const_cast<char*>(variable.c_str()));
        if (chdir(folder.c_str()) != 0) _exit(127);
        char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
        execv(program.c_str(), argv);
        _exit(127);
    }
}

ViewerProcess::~ViewerProcess() {
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

bool ViewerProcess::Running() {
    if (pid <= 0) return false;
    if (waitpid(pid, nullptr, WNOHANG) == 0) return true;
    pid = -1;
    return false;
}

bool ViewerProcess::WaitForExit(std::chrono::seconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (Running()) {
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

FastGrabber::FastGrabber(XWindowDriver& driver) : driver(driver), display(XOpenDisplay(nullptr)) {
    if (!display) throw std::runtime_error("cannot open the X display");
}

FastGrabber::~FastGrabber() { XCloseDisplay(display); }

RgbImage FastGrabber::Grab(WindowId window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) {
        throw std::runtime_error("the window is not viewable");
    }
    const std::unique_ptr<XImage, int (*)(XImage*)> image(
        XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap),
        [](XImage* i) { return XDestroyImage(i); });
    if (!image) throw std::runtime_error("XGetImage failed");
    if (image->bits_per_pixel != 32 || image->byte_order != LSBFirst ||
        image->red_mask != 0xff0000 || image->green_mask != 0xff00 || image->blue_mask != 0xff) {
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

std::string FileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

double CpuSeconds(pid_t pid) {
    // The fields after the command's closing parenthesis start at the third, the state;
    // utime and stime are the 14th and 15th, in clock ticks, summed over all threads.
    const std::string stat = FileText("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t end = stat.rfind(')');
    if (end == std::string::npos) throw std::runtime_error("the process has ended");
    std::istringstream fields(stat.substr(end + 1));
    std::string field;
    for (int i = 3; i < 14; ++i) fields >> field;
    unsigned long long utime = 0, stime = 0;
    if (!(fields >> utime >> stime)) throw std::runtime_error("cannot read /proc/PID/stat");
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

ViewerAndSource FindViewerAndSource(const char* viewerArgument, const char* demoArgument) {
    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    const fs::path viewer =
        fs::absolute(viewerArgument ? fs::path(viewerArgument) : here.parent_path() / "sceneviewer");
    std::optional<fs::path> source = SourceFolderOf(viewer.parent_path());
    if (!source && demoArgument) source = fs::canonical(demoArgument).parent_path().parent_path();
    if (!source) {
        throw std::runtime_error("no CMakeCache.txt beside " + viewer.string() + "; name DEMO-DIR");
    }
    return {viewer, *source};
}
