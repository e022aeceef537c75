// The viewer as a user meets it after installing: the installed program, started in a copy
// of the installed demo folder, draws the demo exactly as the build's viewer does.

#include "ViewerE2eTest.h"

namespace {

constexpr ImageComparison::Tolerance kDemoTolerance{8, 0.002};

}  // namespace

TEST_F(ViewerE2eTest, TheInstalledViewerDrawsACopyOfTheInstalledDemo) {
    const std::filesystem::path prefix = folder.Path() / "prefix";
    ChildOptions installation;
    installation.argv = {CMAKE_PATH, "--install", BUILD_DIR, "--prefix", prefix};
    installation.outputFile = folder.Path() / "install-output.txt";
    ChildProcess install(installation);
    ASSERT_EQ(install.WaitForExit(std::chrono::seconds(30)), ExitStatus::Code(0));

    std::filesystem::copy(prefix / "share/doc/sceneviewer/demo", folder.Path(),
                          std::filesystem::copy_options::recursive);
    StartServer();
    StartViewer(prefix / "bin/sceneviewer");
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);
    EXPECT_TRUE(WaitForReferencePicture(*window, "demo", kDemoTolerance));

    x->Close(*window);
    EXPECT_EQ(WaitForViewerExit(), ExitStatus::Code(0));
    const auto log = ReadLog();
    ASSERT_TRUE(log);
    for (const LogEntry& entry : log->entries) {
        EXPECT_NE(entry.kind, LogEntry::Kind::Error) << entry.text;
    }
}
