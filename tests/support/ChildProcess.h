#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// How a child process ended.
struct ExitStatus {
    enum class Kind { Exited, Signalled, TimedOut };
    Kind kind = Kind::Exited;
    int value = 0;  // the exit code, or the signal number

    static ExitStatus Code(int code) { return {Kind::Exited, code}; }
    bool operator==(const ExitStatus&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ExitStatus& status);

// Changes to the environment a child inherits: a value sets the variable, nothing
// removes it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

struct ChildOptions {
    std::vector<std::string> argv;           // argv[0] is also the program's path
    std::filesystem::path workingDirectory;  // empty: this process's
    EnvironmentChanges environment;
    std::filesystem::path outputFile;  // stdout, and stderr too unless errorFile is set;
                                       // empty: /dev/null
    std::filesystem::path errorFile;   // stderr apart from stdout
    int inheritedFd = -1;              // a descriptor left open in the child
};

// A started program. The child gets SIGTERM if this process dies first, so a crashed
// test leaves no servers or viewers behind.
class ChildProcess {
public:
    // Starts the program; throws std::runtime_error if it cannot be run.
    explicit ChildProcess(const ChildOptions& options);
    // Kills a child still running, and reaps it.
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid; }

    // False once the child has ended (it is reaped then).
    bool Running();

    void Signal(int signalNumber);

    // Waits for the child to end. When `timeout` passes first, kills it and reports
    // Kind::TimedOut.
    ExitStatus WaitForExit(std::chrono::milliseconds timeout);

private:
    bool Reap(int options);

    pid_t pid = -1;
    std::optional<ExitStatus> status;
};
