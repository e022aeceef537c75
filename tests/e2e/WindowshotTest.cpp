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
}

}  // namespace
