#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

// A private virtual X server for one test. The server picks a free display number itself
// (-displayfd) and reports it through a pipe, so any number of servers can start at once
// without racing for lock files. Stopped on destruction.
class XvfbServer {
public:
    // Starts `Xvfb -displayfd FD -screen 0 1024x768x24 -nolisten tcp extraArguments...`,
    // its output going to `logFile`, and waits until it accepts connections. Throws
    // std::runtime_error if it does not come up within a few seconds.
    explicit XvfbServer(const std::filesystem::path& logFile,
                        const std::vector<std::string>& extraArguments = {});
    ~XvfbServer();

    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // The display name, ":N".
    const std::string& Display() const { return display; }

private:
    std::unique_ptr<ChildProcess> server;
    std::string display;
};
