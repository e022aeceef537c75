#include "support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

std::ostream& operator<<(std::ostream& out, const ExitStatus& status) {
    switch (status.kind) {
        case ExitStatus::Kind::Exited: return out << "exit status " << status.value;
        case ExitStatus::Kind::Signalled:
            return out << "killed by signal " << status.value << " (" << strsignal(status.value)
                       << ")";
        case ExitStatus::Kind::TimedOut: return out << "still running at the time limit (killed)";
    }
    return out;
}

namespace {

std::vector<std::string> ChildEnvironment(const EnvironmentChanges& changes) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (!changes.contains(name)) result.push_back(text);
    }
    for (const auto& [name, value] : changes) {
        if (value) result.push_back(name + "=" + *value);
    }
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Between fork and exec only async-signal-safe calls are allowed; a failure is sent to
// the parent through `errorPipe` as an errno value.
[[noreturn]] void FailInChild(int errorPipe) {
    const int error = errno;
    [[maybe_unused]] const auto written = write(errorPipe, &error, sizeof error);
    _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const ChildOptions& options) {
    if (options.argv.empty()) throw std::invalid_argument("no program to start");
    std::vector<std::string> arguments = options.argv;
    std::vector<std::string> environment = ChildEnvironment(options.environment);
    std::vector<char*> argv = Pointers(arguments);
    std::vector<char*> envp = Pointers(environment);
    const std::string workingDirectory = options.workingDirectory.string();
    const std::string output =
        options.outputFile.empty() ? "/dev/null" : options.outputFile.string();

    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    const int outputFd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (outputFd < 0) {
        close(errorPipe[0]);
        close(errorPipe[1]);
        throw std::runtime_error("cannot create " + output);
    }
    int errorFd = outputFd;
    if (!options.errorFile.empty()) {
        errorFd = open(options.errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (errorFd < 0) {
            close(errorPipe[0]);
            close(errorPipe[1]);
            close(outputFd);
            throw std::runtime_error("cannot create " + options.errorFile.string());
        }
    }
    const pid_t parent = getpid();

    pid = fork();
    if (pid == 0) {
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) _exit(127);
        if (dup2(outputFd, STDOUT_FILENO) < 0 || dup2(errorFd, STDERR_FILENO) < 0) {
            FailInChild(errorPipe[1]);
        }
        const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (input < 0 || dup2(input, STDIN_FILENO) < 0) FailInChild(errorPipe[1]);
        if (options.inheritedFd >= 0 && fcntl(options.inheritedFd, F_SETFD, 0) != 0) {
            FailInChild(errorPipe[1]);
        }
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) {
            FailInChild(errorPipe[1]);
        }
        // Signals ignored or blocked here would stay so in the child.
        signal(SIGTERM, SIG_DFL);
        signal(SIGINT, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execve(argv[0], argv.data(), envp.data());
        FailInChild(errorPipe[1]);
    }
    const int forkError = errno;
    close(outputFd);
    if (errorFd != outputFd) close(errorFd);
    close(errorPipe[1]);
    if (pid < 0) {
        close(errorPipe[0]);
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(forkError));
    }

    int childError = 0;
    ssize_t got;
    do {
        got = read(errorPipe[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    close(errorPipe[0]);
    if (got > 0) {
        waitpid(pid, nullptr, 0);
        pid = -1;
        throw std::runtime_error("cannot start " + options.argv[0] + ": " +
                                 std::strerror(childError));
    }
}

ChildProcess::~ChildProcess() {
    if (pid > 0 && !status) {
        kill(pid, SIGKILL);
        Reap(0);
    }
}

bool ChildProcess::Reap(int options) {
    int raw = 0;
    pid_t result;
    do {
        result = waitpid(pid, &raw, options);
    } while (result < 0 && errno == EINTR);
    if (result != pid) return false;
    if (WIFEXITED(raw)) {
        status = ExitStatus{ExitStatus::Kind::Exited, WEXITSTATUS(raw)};
    } else {
        status = ExitStatus{ExitStatus::Kind::Signalled, WTERMSIG(raw)};
    }
    return true;
}

bool ChildProcess::Running() {
    if (status) return false;
    return !Reap(WNOHANG);
}

void ChildProcess::Signal(int signalNumber) {
    if (Running()) kill(pid, signalNumber);
}

ExitStatus ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            Reap(0);
            status = ExitStatus{ExitStatus::Kind::TimedOut, 0};
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return *status;
}
