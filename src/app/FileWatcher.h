#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/Problem.h"

// Tells when any of a set of files has changed on disk and the changes have settled. It
// watches the folders that hold the files rather than the files themselves, so a save that
// writes a temporary file and renames it over the old one, a deletion and a re-creation are
// all seen; other files in those folders are ignored. A file whose folder does not exist
// yet is watched through its nearest existing ancestor, where the creation of the missing
// folder counts as a change of the file.
//
// Nothing blocks: Poll reads whatever the system has queued, TakeSettled hands out the
// changed files once no event has come for the settle time, so one save is one change and
// a burst of saves is one too.
class FileWatcher {
public:
    using Clock = std::chrono::steady_clock;

    explicit FileWatcher(Clock::duration settle = std::chrono::milliseconds(150));
    ~FileWatcher();

    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;

    // Watches exactly `files` from now on (paths as a scene names them, relative to the
    // working folder or absolute), keeping the changes already seen. A problem (the
    // system's limit of watches reached, say) means nothing is watched any more.
    std::optional<Problem> Watch(const std::vector<std::string>& files);

    // Reads the queued events without waiting; `now` is when they count as seen.
    void Poll(Clock::time_point now = Clock::now());

    // The files that changed, each once in the order first seen, if the last event is at
    // least the settle time before `now`; they are then forgotten. Empty otherwise.
    std::vector<std::string> TakeSettled(Clock::time_point now = Clock::now());

    // Whether files are being watched: false after a failure to start or to watch.
    bool Active() const { return descriptor >= 0; }

private:
    // What one watched folder stands for: each name in it that matters, with the files
    // (as given) that a change of that name changes.
    using Names = std::map<std::string, std::vector<std::string>>;

    void Stop();
    void Changed(const std::string& file, Clock::time_point now);

    Clock::duration settle;
    int descriptor = -1;
    std::optional<Problem> startFailure;
    std::map<int, Names> watches;
    std::vector<std::string> pending;
    Clock::time_point lastEvent{};
};
