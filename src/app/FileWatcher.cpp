#include "app/FileWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

namespace fs = std::filesystem;

namespace {

// Everything that can make a file read differently: written, replaced by a rename,
// deleted, created, touched. Reads are not among them, so loading a scene or writing the
// log into the same folder raises nothing that matters.
constexpr std::uint32_t kMask = IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                IN_ONLYDIR;

std::string Reason(int error) {
    switch (error) {
        case ENOSPC: return "the system's limit of inotify watches is reached";
        case EMFILE: return "the limit of inotify instances or of open files is reached";
        default: return std::strerror(error);
    }
}

Problem CannotWatch(const std::string& what, int error) {
    return Problem::Text("The scene's files cannot be watched for changes: " + what + " (" +
                         Reason(error) + "). The viewer goes on without reloading them.");
}

// The folder to watch for `file` and the name in it whose changes count: the file's own
// folder and name, or, while that folder is missing, its nearest existing ancestor and the
// first missing folder's name.
std::pair<fs::path, std::string> WatchPoint(const std::string& file) {
    fs::path path = fs::path(file).lexically_normal();
    fs::path folder = path.parent_path();
    std::string name = path.filename().string();
    std::error_code error;
    while (!folder.empty() && !fs::is_directory(folder, error)) {
        name = folder.filename().string();
        const fs::path parent = folder.parent_path();
        if (parent == folder) break;
        folder = parent;
    }
    if (folder.empty()) folder = ".";
    return {folder, name};
}

}  // namespace

FileWatcher::FileWatcher(Clock::duration settle) : settle(settle) {
    descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor < 0) startFailure = CannotWatch("inotify could not be started", errno);
}

FileWatcher::~FileWatcher() { Stop(); }

void FileWatcher::Stop() {
    if (descriptor >= 0) ::close(descriptor);
    descriptor = -1;
    watches.clear();
}

std::optional<Problem> FileWatcher::Watch(const std::vector<std::string>& files) {
    if (startFailure) return startFailure;
    if (descriptor < 0) return std::nullopt;
    // Events already queued belong to the old set of watches: take them first.
    Poll();

    std::map<fs::path, Names> wanted;
    for (const std::string& file : files) {
        auto [folder, name] = WatchPoint(file);
        if (name.empty() || name == "." || name == "..") continue;
        wanted[folder][name].push_back(file);
    }

    // The new watches go on before the old ones come off, so no change falls between.
    // Adding a folder that is watched already gives its old descriptor back.
    std::map<int, Names> added;
    for (const auto& [folder, names] : wanted) {
        const int watch = inotify_add_watch(descriptor, folder.c_str(), kMask);
        if (watch < 0) {
            const Problem problem = CannotWatch("the folder " + folder.string() +
                                                " could not be watched", errno);
            Stop();
            return problem;
        }
        Names& merged = added[watch];
        for (const auto& [name, named] : names) {
            auto& into = merged[name];
            into.insert(into.end(), named.begin(), named.end());
        }
    }
    for (const auto& [watch, names] : watches) {
        if (!added.contains(watch)) inotify_rm_watch(descriptor, watch);
    }
    watches = std::move(added);
    return std::nullopt;
}

void FileWatcher::Poll(Clock::time_point now) {
    if (descriptor < 0) return;
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got <= 0) return;  // EAGAIN: nothing more queued
        std::size_t at = 0;
        const auto size = static_cast<std::size_t>(got);
        while (at + sizeof(inotify_event) <= size) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const std::size_t next = at + sizeof(inotify_event) + event->len;
            if (next > size) break;
            at = next;
            if (event->mask & IN_Q_OVERFLOW) {
                // Events were lost: anything may have changed.
                for (const auto& [watch, names] : watches) {
                    for (const auto& [name, named] : names) {
                        for (const std::string& file : named) Changed(file, now);
                    }
                }
                continue;
            }
            const auto found = watches.find(event->wd);
            if (found == watches.end()) continue;  // a watch given up already
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
                for (const auto& [name, named] : found->second) {
                    for (const std::string& file : named) Changed(file, now);
                }
                continue;
            }
            if (event->len == 0) continue;
            const std::string name(event->name, strnlen(event->name, event->len));
            const auto files = found->second.find(name);
            if (files == found->second.end()) continue;
            for (const std::string& file : files->second) Changed(file, now);
        }
    }
}

void FileWatcher::Changed(const std::string& file, Clock::time_point now) {
    lastEvent = now;
    // A handful of files at most: a search is cheaper than keeping a set beside the list.
    if (std::find(pending.begin(), pending.end(), file) == pending.end()) pending.push_back(file);
}

std::vector<std::string> FileWatcher::TakeSettled(Clock::time_point now) {
    if (pending.empty() || now - lastEvent < settle) return {};
    return std::exchange(pending, {});
}
