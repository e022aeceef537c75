// The screenshot tool the demo script uses where there is no display.

#include "ViewerE2eTest.h"

namespace {

class WindowshotTest : public ViewerE2eTest {
protected:
    ExitStatus RunWindowshot(const std::vector<std::string>& arguments) {
        ChildOptions options;
        options.argv = {WINDOWSHOT_PATH};
        options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
        options.workingDirectory = folder.Path();
        options.outputFile = folder.Path() / "windowshot-output.txt";
        options.environment["DISPLAY"] = server->Display();
        ChildProcess windowshot(options);
        return windowshot.WaitForExit(kExitTimeout);
    }
};

TEST_F(WindowshotTest, SavesThePictureOfTheNamedWindow) {
    StartServer();
    StartViewer(kViewerProbe, {"--scene=marker"});
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitForReferencePicture(*window, "marker-start", {24, 0.0005}));

    const auto shot = folder.Path() / "shot.png";
    EXPECT_EQ(RunWindowshot({kViewerProbe, shot.string(), "5"}), ExitStatus::Code(0));

    const auto saved = RgbImage::LoadPng(shot.string());
    const auto reference =
        RgbImage::LoadPng((std::filesystem::path(E2E_REFERENCE_DIR) / "marker-start.png").string());
    ASSERT_TRUE(saved) << "no picture in " << shot;
    ASSERT_TRUE(reference);
    const ImageComparison comparison(*saved, *reference, {24, 0.0005});
    EXPECT_TRUE(comparison.Matches()) << comparison.Describe();
}

TEST_F(WindowshotTest, FailsWhenNoSuchWindowAppearsInTime) {
    StartServer();
    const auto shot = folder.Path() / "shot.png";

    EXPECT_EQ(RunWindowshot({"no such window", shot.string(), "0.2"}), ExitStatus::Code(1));
    EXPECT_FALSE(std::filesystem::exists(shot));
    EXPECT_EQ(RunWindowshot({"only a name"}), ExitStatus::Code(2));
    EXPECT_EQ(RunWindowshot({"--close", "no such window", "0.2"}), ExitStatus::Code(1));
}

// Scripts without a window manager (scripts/memcheck) end the viewer this way: the viewer
// must take it as a user's close and end cleanly, its GL objects released, its log closed.
TEST_F(WindowshotTest, ClosesTheNamedWindowAsAWindowManagerWould) {
    StartServer();
    StartViewer(kViewerProbe, {"--scene=marker"});
    ASSERT_TRUE(WaitForMainLoop());

    EXPECT_EQ(RunWindowshot({"--close", kViewerProbe, "5"}), ExitStatus::Code(0));
    std::vector<LogEntry> expected = kProbeMainLoopReached;
    expected.push_back(kProbeReleasedGl);
    ExpectCleanEnd(expected);
}

}  // namespace
