// The viewer's start, its failures to start, and the ways it ends: each run as a user
// would run it, in a fresh folder, on a private X server.

#include <signal.h>
#include <sys/stat.h>

#include <fstream>

#include "ViewerE2eTest.h"
#include "app/GlutShell.h"

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
