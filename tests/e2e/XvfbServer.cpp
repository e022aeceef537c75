#include "XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr auto kStopTimeout = std::chrono::seconds(3);

// Closes a descriptor on scope exit.
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) close(fd);
    }
};

}  // namespace

XvfbServer::XvfbServer(const std::filesystem::path& logFile,
                       const std::vector<std::string>& extraArguments) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    Fd reader{pipeFds[0]};
    Fd writer{pipeFds[1]};

    ChildOptions options;
    options.argv = {XVFB_PATH,   "-displayfd", std::to_string(writer.fd),
                    "-screen",   "0",          "1024x768x24",
                    "-nolisten", "tcp"};
    options.argv.insert(options.argv.end(), extraArguments.begin(), extraArguments.end());
    options.outputFile = logFile;
    options.inheritedFd = writer.fd;
    // The server must not pick up a display or authority meant for someone else.
    options.environment["DISPLAY"] = std::nullopt;
    server = std::make_unique<ChildProcess>(options);
    close(writer.fd);
    writer.fd = -1;

    // The server writes the number once it is ready for clients.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (number.empty() || number.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) throw std::runtime_error("Xvfb did not report its display in time");
        pollfd waitFor{reader.fd, POLLIN, 0};
        const int ready = poll(&waitFor, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        char buffer[32];
        const ssize_t got = read(reader.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            throw std::runtime_error("Xvfb ended without reporting a display; see " +
                                     logFile.string());
        }
        number.append(buffer, static_cast<std::size_t>(got));
    }
    number.pop_back();
    display = ":" + number;
}

XvfbServer::~XvfbServer() {
    server->Signal(SIGTERM);
    server->WaitForExit(kStopTimeout);
}
