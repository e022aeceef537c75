#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/FileWatcher.h"
#include "app/FramePacer.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Files = std::vector<std::string>;
using Clock = FileWatcher::Clock;

void Write(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

// The watcher is given absolute paths, as a scene in another working folder would give
// relative ones; the events are queued by the time each file operation returns, so the
// test controls time through the instants it passes.
class FileWatcherTest : public ::testing::Test {
protected:
    std::string In(const std::string& name) const { return (folder.Path() / name).string(); }

    // What has settled once everything so far is read at t0 and 200 ms have passed.
    Files Settled() {
        watcher.Poll(t0);
        return watcher.TakeSettled(t0 + 200ms);
    }

    TempFolder folder;
    FileWatcher watcher;
    Clock::time_point t0 = Clock::now();
};

TEST_F(FileWatcherTest, EveryKindOfSaveIsSeenAndOtherFilesInTheFolderAreNot) {
    Write(In("a.frag"), "one");
    Write(In("b.png"), "one");
    ASSERT_TRUE(watcher.Active());
    ASSERT_EQ(watcher.Watch({In("a.frag"), In("b.png")}), std::nullopt);

    Write(In("Log.htm"), "the log is written all the time");
    Write(In("screenshot-001.png"), "not named");
    EXPECT_EQ(Settled(), Files{});

    Write(In("a.frag"), "written in place");
    EXPECT_EQ(Settled(), Files{In("a.frag")});

    Write(In("a.frag.tmp"), "saved by rename");
    fs::rename(In("a.frag.tmp"), In("a.frag"));
    EXPECT_EQ(Settled(), Files{In("a.frag")});

    fs::remove(In("b.png"));
    EXPECT_EQ(Settled(), Files{In("b.png")});
    Write(In("b.png"), "created again");
    EXPECT_EQ(Settled(), Files{In("b.png")});

    // Reading a watched file is not a change.
    std::string text;
    std::ifstream(In("a.frag")) >> text;
    EXPECT_EQ(Settled(), Files{});
}

TEST_F(FileWatcherTest, ABurstOfSavesSettlesOnceAfterTheLastEvent) {
    Write(In("a"), "");
    Write(In("b"), "");
    ASSERT_EQ(watcher.Watch({In("b"), In("a")}), std::nullopt);

    Write(In("a"), "1");
    watcher.Poll(t0);
    Write(In("b"), "1");
    Write(In("a"), "2");
    watcher.Poll(t0 + 100ms);
    EXPECT_EQ(watcher.TakeSettled(t0 + 200ms), Files{}) << "only 100 ms after the last event";
    // Each file once, in the order first seen.
    EXPECT_EQ(watcher.TakeSettled(t0 + 250ms), (Files{In("a"), In("b")}));
    EXPECT_EQ(watcher.TakeSettled(t0 + 500ms), Files{}) << "handed out once";
}

TEST_F(FileWatcherTest, AFileWhoseFolderIsMissingIsSeenWhenTheFolderAppears) {
    const std::string model = In("models/parts/wheel.obj");
    ASSERT_EQ(watcher.Watch({model}), std::nullopt);
    Write(In("models"), "a file where the folder should be");
    EXPECT_EQ(Settled(), Files{model});
    fs::remove(In("models"));
    EXPECT_EQ(Settled(), Files{model});

    fs::create_directories(In("models/parts"));
    EXPECT_EQ(Settled(), Files{model});
    // Watching again once it is there sees the file itself.
    ASSERT_EQ(watcher.Watch({model}), std::nullopt);
    Write(model, "v 0 0 0");
    EXPECT_EQ(Settled(), Files{model});
}

TEST_F(FileWatcherTest, AWatchedFolderRemovedOrRenamedChangesItsFiles) {
    fs::create_directories(In("textures"));
    Write(In("textures/t.png"), "");
    ASSERT_EQ(watcher.Watch({In("textures/t.png")}), std::nullopt);
    fs::rename(In("textures"), In("old"));
    EXPECT_EQ(Settled(), Files{In("textures/t.png")});
}

TEST_F(FileWatcherTest, WatchingAnotherSetForgetsTheOldFilesButNotChangesSeenBefore) {
    Write(In("old"), "");
    Write(In("new"), "");
    ASSERT_EQ(watcher.Watch({In("old")}), std::nullopt);
    Write(In("old"), "changed while loading");
    ASSERT_EQ(watcher.Watch({In("new")}), std::nullopt);
    Write(In("old"), "no longer named");
    EXPECT_EQ(Settled(), Files{In("old")}) << "the change before the new set is kept";
    Write(In("new"), "changed");
    EXPECT_EQ(Settled(), Files{In("new")});
}

TEST(FileWatcherLimits, AWatcherThatCannotStartSaysWhyAndWatchesNothing) {
    // Every descriptor from the next free one on is over the limit, as when the process has
    // run out of them; the system's limit of inotify instances fails the same way.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    const int next = ::dup(0);
    ASSERT_GE(next, 0);
    ::close(next);
    rlimit lowered = saved;
    lowered.rlim_cur = static_cast<rlim_t>(next);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
    FileWatcher watcher;
    setrlimit(RLIMIT_NOFILE, &saved);

    EXPECT_FALSE(watcher.Active());
    const auto problem = watcher.Watch({"Scene.xml"});
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->text,
              "The scene's files cannot be watched for changes: inotify could not be started (the "
              "limit of inotify instances or of open files is reached). The viewer goes on "
              "without reloading them.");
    watcher.Poll();
    EXPECT_EQ(watcher.TakeSettled(Clock::now() + 1s), Files{});
}

TEST(FramePacerTest, FramesAreDueOnePeriodApartAndALateOneStartsAfresh) {
    const auto t0 = FramePacer::Clock::now();
    FramePacer pacer(10ms);
    EXPECT_EQ(pacer.Book(t0), t0);
    // Asked for early: each waits for its turn.
    EXPECT_EQ(pacer.Book(t0 + 1ms), t0 + 10ms);
    EXPECT_EQ(pacer.Book(t0 + 12ms), t0 + 20ms);
    // Slightly late frames keep the schedule, so the rate holds on average.
    EXPECT_EQ(pacer.Book(t0 + 25ms), t0 + 30ms);
    EXPECT_EQ(pacer.Book(t0 + 45ms), t0 + 40ms);
    // A long stall (a reload) does not leave a backlog of frames to rush through.
    EXPECT_EQ(pacer.Book(t0 + 300ms), t0 + 300ms);
    EXPECT_EQ(pacer.Book(t0 + 301ms), t0 + 310ms);
}

}  // namespace
