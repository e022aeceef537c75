// The viewer's start, its failures to start, and the ways it ends: each run as a user
// would run it, in a fresh folder, on a private X server.

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "ViewerE2eTest.h"
#include "app/GlutShell.h"
#include "support/SceneFolders.h"

namespace {

// A black frame; a few edge pixels may round differently on another processor.
constexpr ImageComparison::Tolerance kPictureTolerance{8, 0.001};

constexpr std::string_view kNoWindowPrefix = "The window could not be opened: ";

class ViewerLifecycleTest : public ViewerE2eTest {};

TEST_F(ViewerLifecycleTest, StartsOnAnEmptySceneAndClosesWhenTheWindowManagerAsks) {
    StartServer();
    WriteScene(kEmptyScene);
    StartViewer(kSceneViewer);
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);

    // The empty scene: a black 500 by 500 frame.
    EXPECT_TRUE(WaitForReferencePicture(*window, "empty-scene", kPictureTolerance));

    x->Close(*window);
    ExpectCleanEnd(EmptySceneMainLoopLog());
    EXPECT_FALSE(x->IsOnScreen(*window));
}

TEST_F(ViewerLifecycleTest, AGeometryWithOnlyAPlaceKeepsTheWindowSize) {
    StartServer();
    WriteScene(kEmptyScene);
    StartViewer(kSceneViewer, {"-geometry", "+0+0"});
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitForReferencePicture(*window, "empty-scene", kPictureTolerance));
    x->Close(*window);
    ExpectCleanEnd(EmptySceneMainLoopLog());
}

TEST_F(ViewerLifecycleTest, AGeometryWithASizeGivesTheWindowThatSize) {
    StartServer();
    WriteScene(kEmptyScene);
    StartViewer(kSceneViewer, {"-geometry", "=320x240+0+0"});
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    const auto picture = Grab(*window);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), 320);
    EXPECT_EQ(picture->Height(), 240);
    x->Close(*window);
    ExpectCleanEnd(EmptySceneMainLoopLog());
}

TEST_F(ViewerLifecycleTest, ALoadWithErrorsIsOneLineOnStandardErrorAndNothingOnStandardOutput) {
    WriteEffectFiles(folder.Path());
    WriteScene(SceneXml(R"(<R file="models/gone.r" effect="NULL" pos="0,0,0" scale="1,1,1"/>
<OBJ file="models/gone.obj" effect="NULL" pos="0,0,0" scale="1,1,1"/>
)"));
    StartServer();
    StartViewer(kSceneViewer);
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    x->Close(*window);
    EXPECT_EQ(WaitForViewerExit(), ExitStatus::Code(kExitOk));

    const auto log = ReadLog();
    ASSERT_TRUE(log) << "unreadable log " << LogPath();
    EXPECT_EQ(std::count_if(log->entries.begin(), log->entries.end(),
                            [](const LogEntry& e) { return e.kind == LogEntry::Kind::Error; }),
              2)
        << ::testing::PrintToString(log->entries);
    EXPECT_EQ(ViewerErrors(),
              "sceneviewer: 2 errors loading the scene; see " + LogPath().string() + "\n");
    EXPECT_EQ(ViewerOutput(), "");
}

TEST_F(ViewerLifecycleTest, ReplacesTheLogOfAnEarlierRun) {
    // Longer than the new log, so a log written over it without truncating would keep a
    // tail of it.
    {
        std::ofstream earlier(LogPath());
        earlier << "<html><body>\n";
        for (int i = 0; i < 2000; ++i) earlier << "earlier run, line " << i << "\n";
        earlier << "</body></html>\n";
    }

    StartServer();
    WriteScene(kEmptyScene);
    StartViewer(kSceneViewer);
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    x->Close(*window);
    EXPECT_EQ(WaitForViewerExit(), ExitStatus::Code(kExitOk));

    const std::string page = ReadFile(LogPath());
    EXPECT_EQ(page.find("earlier run"), std::string::npos);
    const auto log = ParseLog(page);
    ASSERT_TRUE(log) << "unreadable log " << LogPath();
    EXPECT_EQ(WithTimesMasked(log->entries), EmptySceneMainLoopLog());
    EXPECT_TRUE(log->closed);
}

TEST_F(ViewerLifecycleTest, ExitsWithAnErrorWhenTheDriverLacksOpenGl2) {
    StartServer();
    StartViewer(kSceneViewer, {}, {{"MESA_GL_VERSION_OVERRIDE", "1.5"}});

    const ExitStatus status = WaitForViewerExit();
    EXPECT_EQ(status, ExitStatus::Code(kExitNoOpenGL2));
    EXPECT_NE(status.value, 0);
    const auto log = ReadLog();
    ASSERT_TRUE(log) << "unreadable log " << LogPath();
    ASSERT_EQ(log->entries.size(), 3u) << ::testing::PrintToString(log->entries);
    EXPECT_EQ(log->entries[0], Title("Main"));
    EXPECT_EQ(log->entries[1].kind, LogEntry::Kind::Error);
    EXPECT_TRUE(log->entries[1].text.starts_with("The OpenGL driver reports version 1.5"))
        << log->entries[1];
    EXPECT_EQ(log->entries[2], Error("OpenGL 2.0 is not supported. Now exit."));
    EXPECT_TRUE(log->closed);
}

TEST_F(ViewerLifecycleTest, AnExceptionInAFrameIsLoggedAndEndsTheViewerAfterReleasingGl) {
    StartServer();
    StartViewer(kViewerProbe, {"--scene=throwing"});

    // The scene's thrower fails on its fourth frame; nobody closes the window.
    std::vector<LogEntry> expected = kProbeMainLoopReached;
    expected.push_back(Error("main"));
    expected.push_back(kProbeReleasedGl);
    ExpectCleanEnd(expected);
}

// Entries of `killed` that are not the first entries of `full`; empty when the killed
// run's log is a beginning of the full one.
std::string DivergenceFrom(const std::vector<LogEntry>& full, const std::vector<LogEntry>& killed) {
    if (killed.size() > full.size()) return "the killed run logged more than a full run";
    for (std::size_t i = 0; i < killed.size(); ++i) {
        if (!(killed[i] == full[i])) {
            return "entry " + std::to_string(i) + " is " + ::testing::PrintToString(killed[i]) +
                   ", a full run's is " + ::testing::PrintToString(full[i]);
        }
    }
    return "";
}

TEST_F(ViewerLifecycleTest, AViewerKilledMidRunLeavesEveryFinishedEntryAndNoPartOfAnother) {
    std::filesystem::copy(DEMO_DIR, folder.Path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    StartServer();

    // A full run of the demo, for the entries a killed run must begin with.
    StartViewer(kSceneViewer);
    auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    x->Close(*window);
    ASSERT_EQ(WaitForViewerExit(), ExitStatus::Code(kExitOk));
    const auto full = ReadLog();
    ASSERT_TRUE(full && full->closed) << "unreadable log " << LogPath();
    const std::vector<LogEntry> fullEntries = WithTimesMasked(full->entries);
    const auto mainLoop = std::find(fullEntries.begin(), fullEntries.end(), Title("Main Loop"));
    ASSERT_NE(mainLoop, fullEntries.end());

    // Killed while the scene loads: whatever moment the kill hits, the log holds whole
    // entries, the same as a full run's up to there. (Each run starts without the last
    // one's log, so that no wait is fooled by it.)
    std::filesystem::remove(LogPath());
    StartViewer(kSceneViewer);
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    while (ReadFile(LogPath().string()).find("Scene initialization") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    viewer->Signal(SIGKILL);
    EXPECT_EQ(WaitForViewerExit(), (ExitStatus{ExitStatus::Kind::Signalled, SIGKILL}));
    const auto early = ReadLog();
    ASSERT_TRUE(early) << "a log cut inside an entry: " << LogPath();
    EXPECT_FALSE(early->closed);
    EXPECT_GE(early->entries.size(), 3u);
    EXPECT_EQ(DivergenceFrom(fullEntries, WithTimesMasked(early->entries)), "");

    // Killed in the main loop: everything up to it is there.
    std::filesystem::remove(LogPath());
    StartViewer(kSceneViewer);
    window = WaitForMainLoop();
    ASSERT_TRUE(window);
    viewer->Signal(SIGKILL);
    EXPECT_EQ(WaitForViewerExit(), (ExitStatus{ExitStatus::Kind::Signalled, SIGKILL}));
    const auto late = ReadLog();
    ASSERT_TRUE(late) << "a log cut inside an entry: " << LogPath();
    EXPECT_FALSE(late->closed);
    EXPECT_EQ(WithTimesMasked(late->entries),
              std::vector<LogEntry>(fullEntries.begin(), mainLoop + 1));
}

// A display name with no server behind it.
std::string UnusedDisplay() {
    for (int number = 9000;; ++number) {
        struct stat info;
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
        if (stat(socket.c_str(), &info) != 0 && stat(lock.c_str(), &info) != 0) {
            return ":" + std::to_string(number);
        }
    }
}

enum class NoWindowCase { DisplayUnset, DisplayWithoutServer, ServerWithoutGlx };

class ViewerWithoutWindowTest : public ViewerE2eTest,
                                public ::testing::WithParamInterface<NoWindowCase> {};

TEST_P(ViewerWithoutWindowTest, LogsWhyTheWindowCouldNotOpenAndExits) {
    switch (GetParam()) {
        case NoWindowCase::DisplayUnset: StartViewer(kSceneViewer); break;
        case NoWindowCase::DisplayWithoutServer:
            StartViewer(kSceneViewer, {}, {{"DISPLAY", UnusedDisplay()}});
            break;
        case NoWindowCase::ServerWithoutGlx:
            StartServer({"-extension", "GLX"});
            StartViewer(kSceneViewer);
            break;
    }

    EXPECT_EQ(WaitForViewerExit(), ExitStatus::Code(kExitNoWindow));
    const auto log = ReadLog();
    ASSERT_TRUE(log) << "unreadable log " << LogPath();
    ASSERT_EQ(log->entries.size(), 2u) << ::testing::PrintToString(log->entries);
    EXPECT_EQ(log->entries[0], Title("Main"));
    EXPECT_EQ(log->entries[1].kind, LogEntry::Kind::Error);
    // The prefix, then GLUT's own reason.
    EXPECT_TRUE(log->entries[1].text.starts_with(kNoWindowPrefix)) << log->entries[1];
    EXPECT_GT(log->entries[1].text.size(), kNoWindowPrefix.size()) << log->entries[1];
    EXPECT_TRUE(log->closed);
}

INSTANTIATE_TEST_SUITE_P(, ViewerWithoutWindowTest,
                         ::testing::Values(NoWindowCase::DisplayUnset,
                                           NoWindowCase::DisplayWithoutServer,
                                           NoWindowCase::ServerWithoutGlx),
                         [](const auto& info) {
                             switch (info.param) {
                                 case NoWindowCase::DisplayUnset: return "DisplayUnset";
                                 case NoWindowCase::DisplayWithoutServer:
                                     return "DisplayWithoutServer";
                                 case NoWindowCase::ServerWithoutGlx: return "ServerWithoutGlx";
                             }
                             return "";
                         });

class ViewerStopSignalTest : public ViewerE2eTest, public ::testing::WithParamInterface<int> {};

TEST_P(ViewerStopSignalTest, LeavesTheMainLoopAndClosesTheLog) {
    StartServer();
    WriteScene(kEmptyScene);
    StartViewer(kSceneViewer);
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);

    viewer->Signal(GetParam());
    ExpectCleanEnd(EmptySceneMainLoopLog());
}

TEST_P(ViewerStopSignalTest, ReleasesGlWhileTheContextIsCurrent) {
    StartServer();
    StartViewer(kViewerProbe, {"--scene=marker"});
    ASSERT_TRUE(WaitForMainLoop());

    viewer->Signal(GetParam());
    std::vector<LogEntry> expected = kProbeMainLoopReached;
    expected.push_back(kProbeReleasedGl);
    ExpectCleanEnd(expected);
}

INSTANTIATE_TEST_SUITE_P(, ViewerStopSignalTest, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) {
                             return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGINT");
                         });

}  // namespace
