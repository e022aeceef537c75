// The bundled demo scene, as a user first meets it: it loads without a single error, shows
// every object, and its box moves when space is pressed.

#include "ViewerE2eTest.h"

namespace {

constexpr ImageComparison::Tolerance kDemoTolerance{8, 0.002};

}  // namespace

TEST_F(ViewerE2eTest, TheDemoSceneLoadsCleanlyShowsEveryObjectAndAnimatesOnSpace) {
    std::filesystem::copy(DEMO_DIR, folder.Path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(LogPath());
    StartServer();
    StartViewer(kSceneViewer);
    const auto window = WaitForMainLoop();
    ASSERT_TRUE(window);

    // Torus, sphere, the animated box at its first key and the plain box.
    EXPECT_TRUE(WaitForReferencePicture(*window, "demo", kDemoTolerance));
    EXPECT_TRUE(RenderAgrees(*window, kDemoTolerance));

    const auto still = WaitForStablePicture(*window);
    ASSERT_TRUE(still);
    x->PressKey(*window, "space");
    x->Sync();
    EXPECT_TRUE(WaitForChange(*window, *still)) << "the box did not move after space";

    x->Close(*window);
    const auto log = ReadLog();
    ASSERT_TRUE(log);
    for (const LogEntry& entry : log->entries) {
        EXPECT_NE(entry.kind, LogEntry::Kind::Error) << entry.text;
    }
}
